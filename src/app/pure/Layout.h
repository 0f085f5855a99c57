// Where the main window's panels go for a pair of collapse states.
#pragma once

struct LayoutResult {
    int WindowLeft;          // the window's new left edge
    int WindowWidth;         // 519 with both sides, 335 with one, 151 with none
    int TreeLeft, PlayerLeft, ListLeft, DragImageLeft;
    bool TreeHidden, PlayerHidden;
};

constexpr int PanelWidth = 184;

// leftCollapsed/rightCollapsed: the wanted states; wasLeftCollapsed: the state before, so that
// the list keeps its place on the screen when the left side opens or closes.
LayoutResult ComputeLayout(bool leftCollapsed, bool rightCollapsed, bool wasLeftCollapsed, bool swapPanels,
                           int windowLeft);

// ---- Keeping the window on the screen and snapping it to the screen's edges ----------------

// A new left edge for a window of this width moved to left, so that at least 5 pixels of it
// stay inside the screen span [screenLeft, screenRight); unchanged while they do.
int KeepLeftOnScreen(int left, int width, int screenLeft, int screenRight);

// A window's top-left corner for a stored position: unchanged when the window touches the screen
// rectangle, else pulled back so that 5 pixels of it show on each axis.
struct ScreenPoint { int X, Y; };
ScreenPoint PullOntoScreen(int left, int top, int width, int height, int screenLeft, int screenTop,
                           int screenRight, int screenBottom);

// Where a window proposed at (left, top) goes when snapping: an edge within 15 pixels of the
// screen's edge of the same side moves onto it; then at least 3 pixels stay on the screen.
ScreenPoint SnapToScreen(int left, int top, int width, int height, int screenWidth, int screenHeight);

// A colour number with the signed amount added to each of red, green and blue, each kept in
// 0..255; the top byte (system colour flag) unchanged.
int AdjustColor(int color, int amount);
