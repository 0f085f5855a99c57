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
