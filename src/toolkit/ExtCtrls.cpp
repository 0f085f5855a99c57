#include "toolkit/ExtCtrls.h"
#include <map>
#include "toolkit/Forms.h"
#include "toolkit/WideText.h"

void Frame3D(TCanvas& c, TRect& r, TColor tl, TColor br, int width)
{
    r.Bottom--; r.Right--;
    for (int i = 0; i < width; ++i) {
        c.Pen.SetColor(tl);
        c.MoveTo(r.Left, r.Bottom);
        c.LineTo(r.Left, r.Top);
        c.LineTo(r.Right, r.Top);
        c.Pen.SetColor(br);
        c.LineTo(r.Right, r.Bottom);
        c.LineTo(r.Left - 1, r.Bottom);
        r.Left++; r.Top++; r.Right--; r.Bottom--;
    }
    r.Bottom++; r.Right++;
}

// ---- TPanel --------------------------------------------------------------------------------

TPanel::TPanel(TComponent* owner) : TCustomControl(owner)
{
    FWidth = 185; FHeight = 41;
}

void TPanel::Paint()
{
    TRect r = ClientRect();
    Canvas.Brush.SetColor(FColor);
    Canvas.FillRect(r);
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        TColor tl = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor br = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        Frame3D(Canvas, r, tl, br, BevelWidth);
    };
    bevel(BevelOuter);
    if (BorderWidth > 0) { r.Left += BorderWidth; r.Top += BorderWidth; r.Right -= BorderWidth; r.Bottom -= BorderWidth; }
    bevel(BevelInner);
    if (!FText.empty()) {
        Canvas.Brush.SetStyle(bsClear);
        RECT rc = {r.Left, r.Top, r.Right, r.Bottom};
        HDC dc = Canvas.Handle();
        Canvas.TextWidth("");   // selects the font
        SetTextColor(dc, ColorToRGB(Font.Color()));
        UINT fmt = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                   (Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT);
        DrawTextOf(dc, FText, &rc, fmt);
    }
}

// ---- TBevel --------------------------------------------------------------------------------

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner)
{
    FWidth = 50; FHeight = 50;
}

void TShape::Paint()
{
    HDC dc = Canvas.Handle();
    HGDIOBJ oldBrush = SelectObject(dc, Brush.Handle()), oldPen = SelectObject(dc, Pen.Handle());
    ::Rectangle(dc, 0, 0, Width(), Height());
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

void TBevel::Paint()
{
    TColor c1 = Style == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor c2 = Style == bsLowered ? clBtnHighlight : clBtnShadow;
    TRect r = ClientRect();
    auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
        Canvas.Pen.SetColor(c);
        Canvas.MoveTo(x1, y1);
        Canvas.LineTo(x2, y2);
    };
    int w = FWidth, h = FHeight;
    switch (Shape) {
    case bsBox: Frame3D(Canvas, r, c1, c2, 1); break;
    case bsFrame: {
        TRect a = Rect(0, 0, w - 1, h - 1), b = Rect(1, 1, w, h);
        Frame3D(Canvas, b, c2, c2, 1);
        Frame3D(Canvas, a, c1, c1, 1);
        break;
    }
    case bsTopLine: line(c1, 0, 0, w, 0); line(c2, 0, 1, w, 1); break;
    case bsBottomLine: line(c1, 0, h - 2, w, h - 2); line(c2, 0, h - 1, w, h - 1); break;
    case bsLeftLine: line(c1, 0, 0, 0, h); line(c2, 1, 0, 1, h); break;
    case bsRightLine: line(c1, w - 2, 0, w - 2, h); line(c2, w - 1, 0, w - 1, h); break;
    case bsSpacer: break;
    }
}

// ---- TImage --------------------------------------------------------------------------------

TImage::TImage(TComponent* owner) : TGraphicControl(owner)
{
    FWidth = 105; FHeight = 105;
}

TImage::~TImage() { delete FPicture; }

void TImage::SetPicture(TBitmap* bmp)
{
    delete FPicture;
    FPicture = bmp;
    Invalidate();
}

void TImage::Paint()
{
    if (!FPicture || !FPicture->Handle()) return;
    int x = Center ? (FWidth - FPicture->Width()) / 2 : 0;
    int y = Center ? (FHeight - FPicture->Height()) / 2 : 0;
    HDC src = FPicture->Canvas().Handle();
    if (Transparent && TransparentColor != clNone)
        GdiTransparentBlt(Canvas.Handle(), x, y, FPicture->Width(), FPicture->Height(), src, 0, 0,
                       FPicture->Width(), FPicture->Height(), ColorToRGB(TransparentColor));
    else
        BitBlt(Canvas.Handle(), x, y, FPicture->Width(), FPicture->Height(), src, 0, 0, SRCCOPY);
}

// ---- TTimer --------------------------------------------------------------------------------

namespace {
std::map<UINT_PTR, TTimer*>& Timers()
{
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) { Update(); }

TTimer::~TTimer()
{
    FEnabled = false;
    Update();
}

void TTimer::SetEnabled(bool e)
{
    if (e == FEnabled) return;
    FEnabled = e;
    Update();
}

void TTimer::SetInterval(unsigned ms)
{
    if (ms == FInterval) return;
    FInterval = ms;
    Update();
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = Timers().find(id);
    if (it == Timers().end()) return;
    try {
        it->second->OnTimer(it->second);
    } catch (const std::exception& e) {
        if (Application) Application->HandleException(e);
    }
}

void TTimer::Update()
{
    if (FEnabled && FInterval > 0) {
        // A running timer is given its new interval in place: one call, the same number.
        const UINT_PTR id = SetTimer(nullptr, FID, FInterval, &TimerProc);
        // A system that hands out another number left the old timer running: it goes.
        if (id != FID && FID) {
            KillTimer(nullptr, FID);
            Timers().erase(FID);
        }
        FID = id;
        if (!FID) throw Exception("Not enough timers available");
        Timers()[FID] = this;
    } else if (FID) {
        KillTimer(nullptr, FID);
        Timers().erase(FID);
        FID = 0;
    }
}
