#include "controls/Wall.h"
#include "controls/pure/Tiling.h"
#include <memory>

TWallpaper::TWallpaper(TComponent* owner) : TPanel(owner)
{
    ShowHint = true;
    FColor = clBlack;
}

void TWallpaper::SetWallpaper(TBitmap& picture)
{
    FWallpaper.SetSize(picture.Width(), picture.Height());
    if (picture.Width() > 0 && picture.Height() > 0)
        BitBlt(FWallpaper.Canvas().Handle(), 0, 0, picture.Width(), picture.Height(), picture.Canvas().Handle(), 0, 0,
               SRCCOPY);
    Invalidate();
}

bool TWallpaper::LoadWallpaperFromResource(const char* name)
{
    bool ok = FWallpaper.LoadFromResourceName(GetModuleHandleA(nullptr), name);
    Invalidate();
    return ok;
}

LRESULT TWallpaper::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    LRESULT r = TPanel::WndProc(msg, w, l);
    if (msg == WM_MOVE) OnMove(this);
    return r;
}

bool TWallpaper::EraseBackground(HDC)
{
    // The tiles (or the handler) cover the surface: erasing first would only flicker.
    return true;
}

void TWallpaper::PaintWindow(HDC dc)
{
    if (!NoFlicker) {
        TPanel::PaintWindow(dc);
        return;
    }
    // The windowless children go into the off-screen picture too (see Paint).
    PaintOnCanvas(dc);
}

namespace {
// A client-sized bitmap in a memory context, released however the painting ends.
struct TOffscreen {
    TOffscreen(int w, int h)
    {
        HDC desktop = GetDC(nullptr);
        Bitmap = CreateCompatibleBitmap(desktop, w, h);
        DC = Bitmap ? CreateCompatibleDC(desktop) : nullptr;
        ReleaseDC(nullptr, desktop);
        if (DC) Old = SelectObject(DC, Bitmap);
    }
    ~TOffscreen()
    {
        Canvas.SetHandle(nullptr);
        if (DC) { SelectObject(DC, Old); DeleteDC(DC); }
        if (Bitmap) DeleteObject(Bitmap);
    }
    TOffscreen(const TOffscreen&) = delete;
    TOffscreen& operator=(const TOffscreen&) = delete;
    HBITMAP Bitmap = nullptr;
    HDC DC = nullptr;
    HGDIOBJ Old = nullptr;
    TCanvas Canvas;
};
}

void TWallpaper::Paint()
{
    if (BevelOuter != bvNone || BevelInner != bvNone) TPanel::Paint();
    TRect client = ClientRect();
    HDC screenDC = Canvas.Handle();

    std::unique_ptr<TOffscreen> off;
    TCanvas* target = &Canvas;
    if (NoFlicker && client.Right > 0 && client.Bottom > 0) {
        off = std::make_unique<TOffscreen>(client.Right, client.Bottom);
        if (off->DC) {
            RECT clip;
            if (GetClipBox(screenDC, &clip) != ERROR)
                IntersectClipRect(off->DC, clip.left, clip.top, clip.right, clip.bottom);
            off->Canvas.SetHandle(off->DC);
            off->Canvas.Font.Assign(Font);
            off->Canvas.Brush.SetColor(FColor);
            target = &off->Canvas;
        } else {
            off.reset();
        }
    }

    int inset = BorderWidth + (BevelOuter != bvNone ? BevelWidth : 0) + (BevelInner != bvNone ? BevelWidth : 0);
    TRect inner = Rect(client.Left + inset, client.Top + inset, client.Right - inset, client.Bottom - inset);
    HDC dc = target->Handle();
    int saved = 0;
    if (inset > 0) {
        saved = SaveDC(dc);
        IntersectClipRect(dc, inner.Left, inner.Top, inner.Right, inner.Bottom);
    }
    if (OnPaint) {
        OnPaint(this, *target);
    } else {
        int pw = FWallpaper.Width(), ph = FWallpaper.Height();
        HDC pic = pw > 0 && ph > 0 ? FWallpaper.Canvas().Handle() : nullptr;
        if (pic)
            for (auto [x, y] : WallpaperTiles(inner.Left, inner.Top, client.Width() - 2 * inset,
                                              client.Height() - 2 * inset, pw, ph))
                BitBlt(dc, x, y, pw, ph, pic, 0, 0, SRCCOPY);
    }
    if (inset > 0) RestoreDC(dc, saved);

    if (off) {
        off->Canvas.SetHandle(nullptr);
        PaintControls(off->DC);
        BitBlt(screenDC, 0, 0, client.Right, client.Bottom, off->DC, 0, 0, SRCCOPY);
    } else if (NoFlicker) {
        PaintControls(screenDC);          // no off-screen bitmap: the children straight on
    }
}
