#include "app/pure/Layout.h"
#include <algorithm>
#include <cstdlib>
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

int KeepLeftOnScreen(int left, int width, int screenLeft, int screenRight)
{
    if (left + width < screenLeft + 5) return screenLeft + 5 - width;
    if (left > screenRight - 5) return screenRight - 5;
    return left;
}

ScreenPoint PullOntoScreen(int left, int top, int width, int height, int screenLeft, int screenTop,
                           int screenRight, int screenBottom)
{
    bool touches = left < screenRight && left + width > screenLeft && top < screenBottom && top + height > screenTop;
    if (touches) return {left, top};
    ScreenPoint p{KeepLeftOnScreen(left, width, screenLeft, screenRight),
                  KeepLeftOnScreen(top, height, screenTop, screenBottom)};
    return p;
}

ScreenPoint SnapToScreen(int left, int top, int width, int height, int screenWidth, int screenHeight)
{
    int right = left + width, bottom = top + height;
    if (std::abs(left) <= 15) left = 0;
    else if (std::abs(right - screenWidth) <= 15) left = screenWidth - width;
    if (std::abs(top) <= 15) top = 0;
    else if (std::abs(bottom - screenHeight) <= 15) top = screenHeight - height;
    left = std::max(3 - width, std::min(screenWidth - 3, left));
    top = std::max(3 - height, std::min(screenHeight - 3, top));
    return {left, top};
}

int AdjustColor(int color, int amount)
{
    auto channel = [&](int shift) {
        int v = ((color >> shift) & 0xFF) + amount;
        return (v < 0 ? 0 : v > 255 ? 255 : v) << shift;
    };
    return static_cast<int>(static_cast<unsigned>(color) & 0xFF000000u) | channel(0) | channel(8) | channel(16);
}
