#include "controls/WPListBox.h"
#include "app/AllTools.h"

LRESULT TWPListBox::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    switch (msg) {
    case WM_ERASEBKGND: {
        TCanvas canvas;
        canvas.SetHandle(reinterpret_cast<HDC>(w));
        if (BackIL) {
            TileImageList(canvas, 0, ScrollOffset(), 0, *BackIL);
        } else {
            RECT clip;
            GetClipBox(canvas.Handle(), &clip);
            FillRect(canvas.Handle(), &clip, ColorBrush());
        }
        canvas.SetHandle(nullptr);
        return 1;
    }
    case WM_PAINT: {
        LRESULT r = TListBox::WndProc(msg, w, l);
        if (BackIL && Count() == 0 && FHandle) {
            // An empty list shows the wallpaper from its top-left corner.
            HDC dc = w ? reinterpret_cast<HDC>(w) : GetDC(FHandle);
            TCanvas canvas;
            canvas.SetHandle(dc);
            TileImageList(canvas, 0, 0, 0, *BackIL);
            canvas.SetHandle(nullptr);
            if (!w) ReleaseDC(FHandle, dc);
        }
        return r;
    }
    }
    return TListBox::WndProc(msg, w, l);
}

void TWPListBox::DrawItemBackground(int index, TRect r, TOwnerDrawState state)
{
    if (!BackIL) {
        TListBox::DrawItemBackground(index, r, state);    // highlight or list colour
        return;
    }
    // The line shows exactly the part of the wallpaper that lies behind it.
    HDC dc = Canvas.Handle();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    TileImageList(Canvas, 0, ScrollOffset(), (state & odSelected) ? 1 : 0, *BackIL);
    RestoreDC(dc, saved);
}
