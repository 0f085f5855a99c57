#include "app/AllTools.h"
#include "controls/pure/Tiling.h"
#include "toolkit/ImgList.h"

void SetStayOnTop(HWND window, bool on)
{
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TileImageList(TCanvas& canvas, int ox, int oy, int index, TImageList& images)
{
    RECT clip;
    if (GetClipBox(canvas.Handle(), &clip) == ERROR) return;
    // An image without transparent parts fills the clip as a brush in one call, anchored where
    // the tiles would lie.
    if (HBRUSH brush = images.PatternBrush(index)) {
        POINT anchor = {-(ox % images.Width()), -(oy % images.Height())};
        LPtoDP(canvas.Handle(), &anchor, 1);
        POINT old;
        SetBrushOrgEx(canvas.Handle(), anchor.x, anchor.y, &old);
        FillRect(canvas.Handle(), &clip, brush);
        SetBrushOrgEx(canvas.Handle(), old.x, old.y, nullptr);
        return;
    }
    for (auto [x, y] : ImageListTiles(clip.left, clip.top, clip.right, clip.bottom, ox, oy, images.Width(), images.Height()))
        images.Draw(canvas, x, y, index);
}
