#include "app/AllTools.h"
#include <algorithm>
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
    // Only the part of each tile inside the clip is copied: a line of a list is a thin strip
    // of a large tile.
    for (auto [x, y] : ImageListTiles(clip.left, clip.top, clip.right, clip.bottom, ox, oy, images.Width(), images.Height()))
        images.DrawPart(canvas, x, y, index,
                        Rect(std::max(0, int(clip.left) - x), std::max(0, int(clip.top) - y),
                             std::min(images.Width(), int(clip.right) - x), std::min(images.Height(), int(clip.bottom) - y)));
}
