#include "controls/TransBtn.h"
#include <algorithm>
#include "toolkit/WideText.h"

namespace {
// Draws n nested one-pixel frames, top and left edges in top, bottom and right edges in
// bottom (which also takes the top-right and bottom-left corners), then shrinks r by n.
void Edges(HDC dc, TRect& r, TColor top, TColor bottom, int n)
{
    HBRUSH t = CreateSolidBrush(ColorToRGB(top)), b = CreateSolidBrush(ColorToRGB(bottom));
    for (int i = 0; i < n && r.Width() > 0 && r.Height() > 0; ++i) {
        RECT edge;
        SetRect(&edge, r.Left, r.Top, r.Right, r.Top + 1), FillRect(dc, &edge, t);
        SetRect(&edge, r.Left, r.Top, r.Left + 1, r.Bottom), FillRect(dc, &edge, t);
        SetRect(&edge, r.Right - 1, r.Top, r.Right, r.Bottom), FillRect(dc, &edge, b);
        SetRect(&edge, r.Left, r.Bottom - 1, r.Right, r.Bottom), FillRect(dc, &edge, b);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
    DeleteObject(t);
    DeleteObject(b);
}

uint32_t Rgb(TColor c)     // a colour as a 0x00RRGGBB pixel
{
    const COLORREF v = ColorToRGB(c);
    return uint32_t(GetRValue(v)) << 16 | uint32_t(GetGValue(v)) << 8 | GetBValue(v);
}

TColor ColorOf(uint32_t pixel) { return TColor((pixel >> 16 & 255) | (pixel & 0xFF00) | (pixel & 255) << 16); }
}

TTransparentButton::TTransparentButton(TComponent* owner)
    : TGraphicControl(owner), FImages(new TImageList(this, 40, 40, true))
{
    SetBounds(0, 0, 40, 40);
}

TTransparentButton::~TTransparentButton() = default;

void TTransparentButton::SetBorderWidth(unsigned v) { if (v != FBorderWidth) { FBorderWidth = v; Invalidate(); } }
void TTransparentButton::SetFrameStyle(TFrameStyle v) { if (v != FFrameStyle) { FFrameStyle = v; Invalidate(); } }
void TTransparentButton::SetSpacing(int v) { if (v != FSpacing) { FSpacing = v; Invalidate(); } }
void TTransparentButton::SetTextAlign(TTextAlign v) { if (v != FTextAlign) { FTextAlign = v; Invalidate(); } }
void TTransparentButton::SetWordWrap(bool v) { if (v != FWordWrap) { FWordWrap = v; Invalidate(); } }

void TTransparentButton::SetNumGlyphs(int v)
{
    v = std::clamp(v, 1, 4);
    if (v == FNumGlyphs) return;
    FNumGlyphs = v;
    // The cells are cut anew at the new width.
    PrepareGlyph();
}

void TTransparentButton::SetDown(bool v)
{
    if (v == FDown) return;
    FDown = v;
    FTracking = FPressedLook = v;
    Repaint();
}

void TTransparentButton::SetTransparent(bool v)
{
    if (v == FTransparent) return;
    FTransparent = v;
    PrepareGlyph();             // again, with or without masks
}

void TTransparentButton::SetGlyph(TBitmap& bmp)
{
    FGlyph.SetSize(bmp.Width(), bmp.Height());
    if (bmp.Width() > 0 && bmp.Height() > 0)
        BitBlt(FGlyph.Canvas().Handle(), 0, 0, bmp.Width(), bmp.Height(), bmp.Canvas().Handle(), 0, 0, SRCCOPY);
    PrepareGlyph();
}

bool TTransparentButton::LoadGlyph(const char* resourceName)
{
    TBitmap bmp;
    if (!bmp.LoadFromResourceName(GetModuleHandleA(nullptr), resourceName)) return false;
    SetGlyph(bmp);
    return true;
}

void TTransparentButton::AddImage(TBitmap& cell)
{
    GdiFlush();
    // The transparent colour is the image's bottom-left pixel.
    if (FTransparent) FImages->AddMasked(cell, ColorOf(cell.Bits()[(cell.Height() - 1) * cell.Width()]));
    else FImages->Add(cell);
}

// Cuts the glyph into its images and makes the grey and the disabled image from the first:
// the list holds the cells, then the grey image, then the disabled one.
void TTransparentButton::PrepareGlyph()
{
    Invalidate();
    const int w = FGlyph.Width(), h = FGlyph.Height();
    if (h <= 0) return;
    FNumGlyphs = AutoGlyphCount(w, h, FNumGlyphs);
    if (w <= 0) return;
    const int cw = GlyphCellWidth(w, FNumGlyphs);
    const int cells = std::max(1, std::min(FNumGlyphs, w / cw));
    FImages->SetSize(cw, h, FTransparent);
    TBitmap cell(cw, h);
    std::vector<uint32_t> first;
    for (int i = 0; i < cells; ++i) {
        BitBlt(cell.Canvas().Handle(), 0, 0, cw, h, FGlyph.Canvas().Handle(), i * cw, 0, SRCCOPY);
        GdiFlush();
        if (i == 0) first.assign(cell.Bits(), cell.Bits() + cw * h);
        AddImage(cell);
    }
    std::vector<uint32_t> grey = first;
    MakeGreyImage(grey);
    std::copy(grey.begin(), grey.end(), cell.Bits());
    AddImage(cell);
    const auto disabled = MakeDisabledImage(first, cw, h, Rgb(clBtnFace), Rgb(clBtnHighlight), Rgb(clBtnShadow));
    std::copy(disabled.begin(), disabled.end(), cell.Bits());
    AddImage(cell);
    Invalidate();
}

void TTransparentButton::Paint()
{
    HDC dc = Canvas.Handle();
    const int W = Width(), H = Height(), bw = int(FBorderWidth);
    TRect r = Rect(0, 0, W, H);
    auto fill = [&](const TRect& rect, TColor c) {
        HBRUSH b = CreateSolidBrush(ColorToRGB(c));
        RECT rc = {rect.Left, rect.Top, rect.Right, rect.Bottom};
        FillRect(dc, &rc, b);
        DeleteObject(b);
    };
    // The base.
    switch (FFrameStyle) {
    case fsRegular: {
        TRect b = Rect(1, 1, W, H);
        if (!FTransparent) fill(b, clBtnFace);
        Edges(dc, b, clBlack, clBlack, bw);
        break;
    }
    case fsIndent: {
        TRect b = Rect(0, 0, W - 1, H - 1);
        if (!FTransparent) fill(b, clBtnFace);
        Edges(dc, b, clBtnShadow, clBtnShadow, bw);
        TRect etch = Rect(1, 1, W, H);
        Edges(dc, etch, clBtnHighlight, clBtnHighlight, bw);
        break;
    }
    default:
        if (!FTransparent) fill(r, clBtnFace);
    }
    // The frame.
    if (FPressedLook && FFrameStyle != fsNone) {
        switch (FFrameStyle) {
        case fsRegular: case fsIndent:
            if (ShowPressed) {
                Edges(dc, r, clBlack, clBtnHighlight, bw);
                Edges(dc, r, clBtnShadow, clBtnFace, bw);
            }
            break;
        case fsExplorer:
            if (FMouseInside || FDown) {
                if (ShowPressed) Edges(dc, r, clBtnShadow, clBtnHighlight, bw);
                else Edges(dc, r, clBtnHighlight, clBtnShadow, bw);
            }
            break;
        case fsLight: if (ShowPressed) Edges(dc, r, clBtnShadow, clBtnHighlight, 1); break;
        case fsDark: if (ShowPressed) Edges(dc, r, cl3DDkShadow, clBtnFace, 1); break;
        case fsMono: if (ShowPressed) Edges(dc, r, cl3DDkShadow, clBtnHighlight, 1); break;
        default: break;
        }
    } else if (!FPressedLook) {
        switch (FFrameStyle) {
        case fsRegular:
            Edges(dc, r, clBtnHighlight, clBlack, bw);
            Edges(dc, r, clBtnFace, clBtnShadow, bw);
            break;
        case fsIndent: Edges(dc, r, clBtnShadow, clBtnHighlight, bw); break;
        case fsExplorer: if (FMouseInside) Edges(dc, r, clBtnHighlight, clBtnShadow, bw); break;
        case fsLight: Edges(dc, r, clBtnHighlight, clBtnShadow, 1); break;
        case fsDark: Edges(dc, r, clBtnFace, cl3DDkShadow, 1); break;
        case fsMono: Edges(dc, r, clBtnHighlight, cl3DDkShadow, 1); break;
        default: break;
        }
    }
    // Glyph and caption.
    const int cw = FGlyph.Width() > 0 ? GlyphCellWidth(FGlyph.Width(), FNumGlyphs) : 0, gh = FGlyph.Height();
    const TGlyphPoint g = GlyphOrigin(FTextAlign, W, H, cw, gh, FSpacing);
    if (cw > 0 && gh > 0) DrawGlyph(g.X, g.Y);
    if (!Caption().empty()) DrawCaption(g.Y, g.Y + gh);
}

void TTransparentButton::DrawGlyph(int x, int y)
{
    const int count = FImages->Count();
    if (count < 3) return;
    int image = ShownImage(FNumGlyphs, Enabled(), FPressedLook,
                           FFrameStyle == fsExplorer && AutoGray && !FMouseInside);
    if (image == GreyImage) image = count - 2;
    else if (image == DisabledImage) image = count - 1;
    else if (image >= count - 2) image = 0;        // a strip with fewer cells than its count
    if (FPressedLook && ShowPressed) ++x, ++y;
    FImages->DrawOn(Canvas.Handle(), x, y, image);
}

void TTransparentButton::DrawCaption(int glyphTop, int glyphBottom)
{
    HDC dc = Canvas.Handle();
    HGDIOBJ oldFont = SelectObject(dc, Font.Handle());
    const UINT wrap = FWordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    RECT m = {0, 0, Width(), Height()};
    DrawTextOf(dc, Caption(), &m, wrap | DT_CALCRECT);
    const int tw = m.right - m.left, th = m.bottom - m.top;
    TGlyphPoint t = CaptionOrigin(FTextAlign, Width(), Height(), tw, th, glyphTop, glyphBottom, FSpacing);
    if (FPressedLook && ShowPressed) ++t.X, ++t.Y;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    auto draw = [&](int dx, int dy, TColor c) {
        RECT rc = {t.X + dx, t.Y + dy, t.X + dx + tw, t.Y + dy + th};
        SetTextColor(dc, ColorToRGB(c));
        DrawTextOf(dc, Caption(), &rc, wrap | DT_CENTER | DT_NOCLIP);
    };
    if (Enabled()) draw(0, 0, Font.Color());
    else draw(1, 1, clBtnHighlight), draw(0, 0, clBtnShadow);    // engraved
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

void TTransparentButton::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (!Enabled() || FHeld) return;           // a second button while one is held does nothing
    FHeld = true;
    FHeldButton = b;
    FClicked = b == mbLeft;                    // a double click is a press like any other
    OnMouseDown(this, b, s & ~static_cast<TShiftState>(ssDouble), x, y);
    if (Movable) FGrabX = x, FGrabY = y;
    if (x >= 0 && y >= 0 && x < Width() && y < Height()) {
        FTracking = FPressedLook = true;
        Repaint();
    }
    if (PopUpMenu) {
        const TPoint p = ClientToScreen({0, Height()});
        PopUpMenu->Popup(p.X, p.Y);
        // The clicks that closed the menu are not the button's.
        MSG m;
        while (PeekMessageA(&m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {}
        Release(b, s, x, y);
    }
}

void TTransparentButton::MouseMove(TShiftState s, int x, int y)
{
    OnMouseMove(this, s, x, y);
    if (!FTracking || !FHeld) return;
    if (Movable) {
        SetTop(Top() + y - FGrabY);
        SetLeft(Left() + x - FGrabX);
    }
    const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    if (inside != FPressedLook) {
        FPressedLook = inside;
        Repaint();
    }
}

void TTransparentButton::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (!Enabled()) return;
    // The click comes first: a left press on the button released inside it.
    if (b == mbLeft && FClicked && FHeld && x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
    Release(b, s, x, y);
}

void TTransparentButton::Release(TMouseButton b, TShiftState s, int x, int y)
{
    if (!FHeld) return;
    FHeld = false;
    FClicked = false;
    if (FDown) return;                        // a latched button stays drawn pressed
    OnMouseUp(this, b, s, x, y);
    FTracking = FPressedLook = false;
    Repaint();
}

void TTransparentButton::MouseEnter()
{
    if (!Enabled()) return;
    FMouseInside = true;
    OnMouseEnter(this);
    if (FFrameStyle == fsExplorer) Repaint();
}

void TTransparentButton::MouseLeave()
{
    if (!Enabled()) return;
    FMouseInside = false;
    OnMouseExit(this);
    if (FFrameStyle == fsExplorer) Repaint();
}

void TTransparentButton::SetEnabled(bool e)
{
    // Asked on every click of a line (the defaults button): a repaint of a see-through button
    // costs as much as the rest of the click together.
    if (e == Enabled()) return;
    if (!e) FPressedLook = FTracking = FHeld = FMouseInside = false;
    TGraphicControl::SetEnabled(e);
    Repaint();
}

void TTransparentButton::Notification(TComponent* component, bool removing)
{
    if (removing && component == PopUpMenu) PopUpMenu = nullptr;
}

bool TTransparentButton::DialogChar(char key)
{
    if (!Enabled()) return false;
    const std::string& c = Caption();
    auto upper = [](char ch) { return ch >= 'a' && ch <= 'z' ? char(ch - 'a' + 'A') : ch; };
    for (size_t i = 0; i + 1 < c.size(); ++i) {
        if (c[i] != '&') continue;
        if (c[i + 1] == '&') { ++i; continue; }         // "&&" is an ampersand, not a mark
        if (upper(c[i + 1]) != upper(key)) return false;
        Click();
        return true;
    }
    return false;
}
