#include "app/pure/Audition.h"

bool IsNavigationKey(unsigned key)
{
    // VK_PRIOR (0x21) to VK_DOWN (0x28): Page Up, Page Down, End, Home and the four arrows.
    return key >= 0x21 && key <= 0x28;
}

void TAuditionGate::KeyDown(unsigned key, bool repeat)
{
    // Another key ends the repeat of the one held before (the keyboard repeats the last key
    // pressed only); what waits still plays at rest or at the release.
    FRepeating = IsNavigationKey(key) && repeat;
    if (IsNavigationKey(key)) FKey = key;
}

bool TAuditionGate::KeyUp(unsigned key)
{
    if (key != FKey) return false;
    FKey = 0;
    FRepeating = false;
    const bool waiting = FWaiting;
    FWaiting = false;
    return waiting;
}

bool TAuditionGate::SelectionChanged()
{
    FWaiting = FRepeating;
    return !FRepeating;
}

bool TAuditionGate::Rested()
{
    const bool waiting = FWaiting;
    FWaiting = false;
    return waiting;
}
