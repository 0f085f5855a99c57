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
    for (auto [x, y] : ImageListTiles(clip.left, clip.top, clip.right, clip.bottom, ox, oy, images.Width(), images.Height()))
        images.Draw(canvas, x, y, index);
}
