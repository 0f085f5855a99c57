#include "app/pure/Layout.h"
#include <utility>

LayoutResult ComputeLayout(bool L, bool R, bool wasL, bool swap, int windowLeft)
{
    LayoutResult r{};
    r.WindowLeft = windowLeft;
    if (L != wasL) r.WindowLeft += L ? PanelWidth : -PanelWidth;
    int shift = L ? -PanelWidth : 0;
    r.WindowWidth = 151 + (R ? 0 : PanelWidth) + (L ? 0 : PanelWidth);
    r.TreeLeft = shift + 8;
    r.PlayerLeft = shift + 329;
    r.TreeHidden = L;
    r.PlayerHidden = R;
    if (swap) {
        std::swap(r.TreeLeft, r.PlayerLeft);
        std::swap(r.TreeHidden, r.PlayerHidden);
    }
    r.ListLeft = shift + 192;
    r.DragImageLeft = shift;
    return r;
}
