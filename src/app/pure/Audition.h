// Auditioning with the keyboard: while a navigation key auto-repeats, the list's selection moves
// without playing each line it passes; the line it comes to rest on plays when the key is let go,
// or once the selection has stayed put for AuditionRestMs. A single press plays at once.
#pragma once

constexpr unsigned AuditionRestMs = 150;

// Up, Down, Left, Right, Page Up, Page Down, Home and End (their virtual-key codes).
bool IsNavigationKey(unsigned key);

class TAuditionGate {
public:
    // A key went down in the list; repeat: the keyboard's auto-repeat sent it.
    void KeyDown(unsigned key, bool repeat);
    // A key came up: true when a selection waits to be played (it plays now).
    bool KeyUp(unsigned key);
    // The selection changed: true to play it now; false when it waits (the rest time starts over).
    bool SelectionChanged();
    // The selection has rested: true when it waits to be played.
    bool Rested();
private:
    unsigned FKey = 0;          // the navigation key that is down
    bool FRepeating = false;    // and auto-repeats
    bool FWaiting = false;      // a selection made meanwhile has not been played
};
