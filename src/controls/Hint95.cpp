#include "controls/Hint95.h"
#include <cstring>
#include <vector>
#include "toolkit/WideText.h"

TControl* HintedControl = nullptr;

namespace {
constexpr const char* UtilityClass = "THint95Utility";

struct Margins { int X, Y; };
Margins MarginsOf(THintStyle s)
{
    switch (s) {
    case hsFlat: return {6, 4};
    case hsOffice97: return {6, 6};
    default: return {8, 4};
    }
}

THint95* TheHint95 = nullptr;       // the component whose utility window hears broadcasts

int CALLBACK FindTahoma(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM found)
{
    if (lf->lfFaceName[0] == 'T' && std::strcmp(lf->lfFaceName, "Tahoma") == 0) {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
    }
    return 1;
}
}

// ---- THint95 -------------------------------------------------------------------------------

THint95::THint95(TComponent* owner) : TComponent(owner)
{
    Application->HintWindowClass = &MakeHintWindow<THintWindow95>;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (!GetClassInfoA(inst, UtilityClass, &wc)) {
        wc = {};
        wc.lpfnWndProc = &UtilityProc;
        wc.hInstance = inst;
        wc.lpszClassName = UtilityClass;
        RegisterClassA(&wc);
    }
    // A hidden top-level window: broadcasts of changed system settings reach it.
    FUtility = CreateWindowExA(WS_EX_TOOLWINDOW, UtilityClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, inst, nullptr);
    TheHint95 = this;
    // Off and on again: the application makes its hint window anew, of the class above.
    bool on = Application->ShowHint();
    Application->SetShowHint(!on);
    Application->SetShowHint(on);
    Application->OnShowHint = {this, &THint95::ShowHint};
    Application->HintPause = 500;
    Application->HintShortPause = 25;
    Application->HintHidePause = 5000;
    FFont.SetColor(clSystem | COLOR_INFOTEXT);
    ReloadFont();
}

THint95::~THint95()
{
    if (TheHint95 == this) TheHint95 = nullptr;
    if (Application) Application->OnShowHint = nullptr;
    if (FUtility) DestroyWindow(FUtility);
}

void THint95::SetHintStyle(THintStyle s)
{
    if (s == FHintStyle) return;
    FHintStyle = s;
    if (s == hsOffice97) ReloadFont();
}

void THint95::ReloadFont()
{
    NONCLIENTMETRICSA m = {};
    m.cbSize = sizeof m;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0)) return;
    const LOGFONTA& lf = m.lfStatusFont;
    std::string face = lf.lfFaceName;
    if (FHintStyle == hsOffice97 && face == "MS Sans Serif") {
        bool found = false;
        HDC dc = GetDC(nullptr);
        LOGFONTA want = {};
        want.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExA(dc, &want, &FindTahoma, reinterpret_cast<LPARAM>(&found), 0);
        ReleaseDC(nullptr, dc);
        if (found) face = "Tahoma";
    }
    FFont.SetName(face);
    FFont.SetHeight(lf.lfHeight);
    unsigned style = 0;
    if (lf.lfWeight > 500) style |= fsBold;
    if (lf.lfItalic) style |= fsItalic;
    if (lf.lfUnderline) style |= fsUnderline;
    if (lf.lfStrikeOut) style |= fsStrikeOut;
    FFont.SetStyle(style);
}

void THint95::ShowHint(std::string& text, bool& canShow, THintInfo& info)
{
    OnShowHint(text, canShow, info);
    HintedControl = info.HintControl;
}

LRESULT CALLBACK THint95::UtilityProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_SETTINGCHANGE && TheHint95) TheHint95->ReloadFont();
    return DefWindowProcA(h, m, w, l);
}

// ---- THintWindow95 -------------------------------------------------------------------------

THintWindow95::THintWindow95(TComponent* owner) : THintWindow(owner) {}

THintWindow95::~THintWindow95() = default;

void THintWindow95::CreateParams(TCreateParams& p)
{
    THintWindow::CreateParams(p);
    p.Style &= ~WS_BORDER;          // every edge is painted
}

THint95* THintWindow95::FindHint95() const
{
    TForm* main = Application ? Application->MainForm() : nullptr;
    if (!main) return nullptr;
    for (TComponent* c : main->Components())
        if (auto* h = dynamic_cast<THint95*>(c)) return h;
    return nullptr;
}

TRect THintWindow95::CalcHintRect(int maxWidth, const std::string&)
{
    // Measured at activation, with the hint font; this is only the room offered.
    return Rect(0, 0, maxWidth, 0);
}

int THintWindow95::CursorDrop(HCURSOR cursor)
{
    constexpr int Unknown = 32;
    ICONINFO ii = {};
    if (!cursor || !GetIconInfo(cursor, &ii)) return Unknown;
    int drop = Unknown;
    BITMAP bm = {};
    if (ii.hbmMask && GetObjectA(ii.hbmMask, sizeof bm, &bm) && bm.bmWidth > 0 && bm.bmHeight > 0) {
        // A colour cursor's mask is its AND mask alone; a black-and-white one's holds the AND
        // mask over the XOR mask, each half of its height.
        int w = bm.bmWidth, h = bm.bmHeight;
        int andRows = ii.hbmColor ? h : h / 2;
        std::vector<unsigned> bits(static_cast<size_t>(w) * h);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        HDC dc = GetDC(nullptr);
        int got = GetDIBits(dc, ii.hbmMask, 0, h, bits.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        auto rowHas = [&](int y, unsigned value) {
            for (int x = 0; x < w; ++x)
                if ((bits[static_cast<size_t>(y) * w + x] & 0xFFFFFF) == value) return true;
            return false;
        };
        if (got == h) {
            bool found = false;
            for (int y = andRows - 1; y >= 0 && !found; --y)
                if (rowHas(y, 0)) { drop = y - static_cast<int>(ii.yHotspot); found = true; }
            // Drawn by inversion alone (the text cursor): the lowest white row of the XOR mask.
            if (!found && !ii.hbmColor)
                for (int y = h - 1; y >= andRows && !found; --y)
                    if (rowHas(y, 0xFFFFFF)) { drop = y - static_cast<int>(ii.yHotspot) - andRows; found = true; }
        }
    }
    if (ii.hbmMask) DeleteObject(ii.hbmMask);
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
    return drop;
}

void THintWindow95::ActivateHint(TRect rect, const std::string& text)
{
    SetText(text);
    THint95* owner = FindHint95();
    Margins m = MarginsOf(owner ? owner->HintStyle() : hsWindows95);
    // The previous activation's picture goes now.
    FBitmap = std::make_unique<TBitmap>(1, 1);
    FPainted = false;
    TCanvas& canvas = FBitmap->Canvas();
    if (owner) canvas.Font.Assign(owner->HintFont());
    canvas.TextWidth("");           // selects the font
    RECT r = {rect.Left, rect.Top, rect.Right, rect.Bottom};
    DrawTextOf(canvas.Handle(), text, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    FTextWidth = r.right + 1 - r.left;
    FTextHeight = r.bottom + 1 - r.top;
    int width = r.right + m.X + 1 - r.left, height = r.bottom + m.Y + 1 - r.top;

    POINT cur;
    GetCursorPos(&cur);
    int left = cur.x, top = cur.y + CursorDrop(GetCursor());
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (left + width > sw) left = sw - width;
    if (left < 0) left = 0;
    if (top + height > sh) {
        bool aboveCursor = (owner && owner->HintStyle() == hsOffice97) || dynamic_cast<TForm*>(HintedControl);
        if (aboveCursor) {
            top = cur.y - 2 - height;
        } else if (HintedControl) {
            top = HintedControl->ClientToScreen({0, 0}).Y - height;
        }
    }
    HWND h = Handle();
    SetWindowPos(h, HWND_TOPMOST, left, top, width, height, SWP_NOACTIVATE);
    FBitmap->SetSize(width, height);
    // The hint starts out as the screen under it.
    HDC screen = GetDC(nullptr);
    BitBlt(FBitmap->Canvas().Handle(), 0, 0, width, height, screen, left, top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    SetWindowPos(h, HWND_TOPMOST, left, top, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_SHOWWINDOW);
    FVisible = true;
    HDC dc = GetDC(h);
    BitBlt(dc, 0, 0, width, height, FBitmap->Canvas().Handle(), 0, 0, SRCCOPY);
    ReleaseDC(h, dc);
    InvalidateRect(h, nullptr, FALSE);
    UpdateWindow(h);
}

void THintWindow95::PaintWindow(HDC dc)
{
    if (!FBitmap) return;
    TCanvas& canvas = FBitmap->Canvas();
    int w = FBitmap->Width(), hgt = FBitmap->Height();
    if (!FPainted) {
        FPainted = true;
        THint95* owner = FindHint95();
        if (owner && owner->OnPaintHint) {
            owner->OnPaintHint(*FBitmap);
        } else {
            canvas.Brush.SetColor(clInfoBk);
            canvas.FillRect(Rect(0, 0, w, hgt));
            THintStyle s = owner ? owner->HintStyle() : hsWindows95;
            TColor tl = s == hsFlat ? (clSystem | COLOR_WINDOWFRAME) : cl3DLight;
            TColor br = s == hsFlat ? (clSystem | COLOR_WINDOWFRAME) : cl3DDkShadow;
            canvas.Pen.SetColor(tl);
            canvas.MoveTo(0, hgt - 2);
            canvas.LineTo(0, 0);
            canvas.LineTo(w - 1, 0);
            canvas.Pen.SetColor(br);
            canvas.MoveTo(0, hgt - 1);
            canvas.LineTo(w - 1, hgt - 1);
            canvas.LineTo(w - 1, -1);
        }
        if (owner) canvas.Font.Assign(owner->HintFont());
        canvas.Brush.SetStyle(bsClear);
        canvas.TextWidth("");
        int left = (w - FTextWidth) / 2, top = (hgt - FTextHeight) / 2;
        RECT r = {left, top, w, top + FTextHeight};
        DrawTextOf(canvas.Handle(), FText, &r, DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
    }
    BitBlt(dc, 0, 0, w, hgt, canvas.Handle(), 0, 0, SRCCOPY);
}
