#include "toolkit/Graphics.h"
#include "toolkit/WideText.h"

COLORREF ColorToRGB(TColor c)
{
    if (c < 0) return GetSysColor(c & 0xFF);
    return static_cast<COLORREF>(c) & 0xFFFFFF;
}

HFONT TFont::Handle()
{
    if (!FHandle) {
        LOGFONTA lf = {};
        lf.lfHeight = FHeight;
        lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (FStyle & fsItalic) != 0;
        lf.lfUnderline = (FStyle & fsUnderline) != 0;
        lf.lfStrikeOut = (FStyle & fsStrikeOut) != 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynA(lf.lfFaceName, FName.c_str(), LF_FACESIZE);
        FHandle = CreateFontIndirectA(&lf);
    }
    return static_cast<HFONT>(FHandle);
}

void TFont::Assign(const TFont& f)
{
    FName = f.FName; FHeight = f.FHeight; FColor = f.FColor; FStyle = f.FStyle;
    Changed();
}

HPEN TPen::Handle()
{
    if (!FHandle) {
        static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_NULL};
        FHandle = CreatePen(styles[FStyle], FWidth, ColorToRGB(FColor));
    }
    return static_cast<HPEN>(FHandle);
}

HBRUSH TBrush::Handle()
{
    if (!FHandle)
        FHandle = FStyle == bsClear ? GetStockObject(NULL_BRUSH) : CreateSolidBrush(ColorToRGB(FColor));
    return static_cast<HBRUSH>(FHandle);
}

TCanvas::TCanvas()
{
    Font.OnChange = {this, &TCanvas::ObjectChanged};
    Pen.OnChange = {this, &TCanvas::ObjectChanged};
    Brush.OnChange = {this, &TCanvas::ObjectChanged};
}

TCanvas::~TCanvas() { SetHandle(nullptr); }

void TCanvas::SetHandle(HDC dc)
{
    if (dc == FDC) return;
    Deselect();
    FDC = dc;
}

void TCanvas::Select()
{
    if (!FDC) return;
    HGDIOBJ f = SelectObject(FDC, Font.Handle());
    HGDIOBJ p = SelectObject(FDC, Pen.Handle());
    HGDIOBJ b = SelectObject(FDC, Brush.Handle());
    if (!FOldFont) { FOldFont = f; FOldPen = p; FOldBrush = b; }
    SetTextColor(FDC, ColorToRGB(Font.Color()));
    if (Brush.Style() == bsClear) SetBkMode(FDC, TRANSPARENT);
    else { SetBkMode(FDC, OPAQUE); SetBkColor(FDC, ColorToRGB(Brush.Color())); }
    FSelected = true;
}

void TCanvas::Deselect()
{
    if (FDC && FOldFont) {
        SelectObject(FDC, FOldFont);
        SelectObject(FDC, FOldPen);
        SelectObject(FDC, FOldBrush);
    }
    FOldFont = FOldPen = FOldBrush = nullptr;
    FSelected = false;
}

void TCanvas::MoveTo(int x, int y)
{
    Select();
    MoveToEx(FDC, x, y, nullptr);
    PenPos = {x, y};
}

void TCanvas::LineTo(int x, int y)
{
    Select();
    ::LineTo(FDC, x, y);
    PenPos = {x, y};
}

void TCanvas::FillRect(const TRect& r)
{
    Select();
    RECT rc = {r.Left, r.Top, r.Right, r.Bottom};
    ::FillRect(FDC, &rc, Brush.Handle());
}

void TCanvas::FrameRect(const TRect& r)
{
    Select();
    RECT rc = {r.Left, r.Top, r.Right, r.Bottom};
    ::FrameRect(FDC, &rc, Brush.Handle());
}

void TCanvas::Rectangle(int l, int t, int r, int b)
{
    Select();
    ::Rectangle(FDC, l, t, r, b);
}

void TCanvas::TextOut(int x, int y, const std::string& s)
{
    Select();
    const std::wstring w = WideText(s);
    ExtTextOutW(FDC, x, y, 0, nullptr, w.data(), static_cast<UINT>(w.size()), nullptr);
    PenPos = {x + TextWidth(s), y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& s)
{
    Select();
    RECT rc = {r.Left, r.Top, r.Right, r.Bottom};
    UINT opts = ETO_CLIPPED | (Brush.Style() != bsClear ? ETO_OPAQUE : 0);
    const std::wstring w = WideText(s);
    ExtTextOutW(FDC, x, y, opts, &rc, w.data(), static_cast<UINT>(w.size()), nullptr);
}

int TCanvas::TextWidth(const std::string& s)
{
    Select();
    SIZE sz = {};
    const std::wstring w = WideText(s);
    GetTextExtentPoint32W(FDC, w.data(), static_cast<int>(w.size()), &sz);
    return sz.cx;
}

int TCanvas::TextHeight(const std::string& s)
{
    Select();
    SIZE sz = {};
    const std::wstring w = WideText(s);
    GetTextExtentPoint32W(FDC, w.data(), static_cast<int>(w.size()), &sz);
    return sz.cy;
}

void TCanvas::Draw(int x, int y, TBitmap& bmp)
{
    BitBlt(FDC, x, y, bmp.Width(), bmp.Height(), bmp.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TCanvas::CopyRect(const TRect& d, TCanvas& src, const TRect& s)
{
    StretchBlt(FDC, d.Left, d.Top, d.Width(), d.Height(), src.Handle(), s.Left, s.Top, s.Width(), s.Height(), SRCCOPY);
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    Select();
    RECT rc = {r.Left, r.Top, r.Right, r.Bottom};
    ::DrawFocusRect(FDC, &rc);
}

TBitmap::~TBitmap() { Free(); }

void TBitmap::ReleaseDC()
{
    if (FCanvas) { delete FCanvas; FCanvas = nullptr; }
    if (FDC) { SelectObject(FDC, FOld); DeleteDC(FDC); FDC = nullptr; }
}

void TBitmap::Free()
{
    ReleaseDC();
    if (FBitmap) { DeleteObject(FBitmap); FBitmap = nullptr; }
    FBits = nullptr;
    FWidth = FHeight = 0;
}

void TBitmap::SetSize(int w, int h)
{
    if (w == FWidth && h == FHeight && FBitmap) return;
    Free();
    if (w <= 0 || h <= 0) return;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    FBitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!FBitmap) throw Exception("Out of system resources");
    FBits = static_cast<unsigned*>(bits);
    FWidth = w;
    FHeight = h;
    // A new bitmap is white, as a freshly made picture is expected to be.
    for (int i = 0; i < w * h; ++i) FBits[i] = 0xFFFFFF;
}

void TBitmap::SetHandle(HBITMAP h)
{
    Free();
    FBitmap = h;
    BITMAP bm = {};
    if (h && GetObjectA(h, sizeof bm, &bm)) { FWidth = bm.bmWidth; FHeight = bm.bmHeight; }
}

bool TBitmap::LoadFromResourceName(HINSTANCE inst, const char* name)
{
    HBITMAP h = static_cast<HBITMAP>(LoadImageA(inst, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!h) return false;
    SetHandle(h);
    return true;
}

TCanvas& TBitmap::Canvas()
{
    if (!FCanvas) {
        FDC = CreateCompatibleDC(nullptr);
        FOld = SelectObject(FDC, FBitmap);
        FCanvas = new TCanvas;
        FCanvas->SetHandle(FDC);
    }
    return *FCanvas;
}
