#include "toolkit/ImgList.h"
#include "toolkit/CommonControls.h"

namespace {
// Raster operation: the destination where the source is black, black where it is white.
constexpr DWORD DSna = 0x00220326;

// The library's functions, for the shared list and the one made for tree views.
// (Without a list nothing is looked up: that would load the library.)
void DestroyList(HIMAGELIST h)
{
    if (!h) return;
    static const auto f = CommonControl<decltype(&ImageList_Destroy)>("ImageList_Destroy");
    if (f) f(h);
}

int ListCount(HIMAGELIST h)
{
    if (!h) return 0;
    static const auto f = CommonControl<decltype(&ImageList_GetImageCount)>("ImageList_GetImageCount");
    return f ? f(h) : 0;
}

// A new monochrome bitmap of width x height holding the first width columns of the mask in dc.
HBITMAP MaskCopy(HDC mask, int width, int copied, int height)
{
    HBITMAP copy = CreateBitmap(width, height, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, copied, height, mask, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    return copy;
}

// The library reads a bitmap's bits, which a bitmap still selected into a context does not
// give (Wine adds black images): the bitmap is taken out of its context for the call and put
// back after it.
template <class F>
auto WithBitmapFree(HDC dc, F use)
{
    HBITMAP stand = CreateCompatibleBitmap(dc, 1, 1);
    auto bitmap = static_cast<HBITMAP>(SelectObject(dc, stand));
    auto r = use(bitmap);
    SelectObject(dc, bitmap);
    DeleteObject(stand);
    return r;
}
}

TImageList::TImageList(TComponent* owner, int width, int height, bool masked)
    : TComponent(owner), FWidth(width), FHeight(height), FMasked(masked) {}

TImageList::~TImageList()
{
    FreePatterns();
    FreeImages();
    if (!FShared) DestroyList(FHandle);
}

void TImageList::FreeImages()
{
    FImages.reset();
    if (FMaskDC) {
        SelectObject(FMaskDC, FMaskOld);
        DeleteDC(FMaskDC);
        FMaskDC = nullptr;
    }
    if (FMask) DeleteObject(FMask);
    FMask = nullptr;
    FCount = 0;
}

void TImageList::FreePatterns()
{
    for (TPattern& p : FPatterns) {
        if (p.Brush) DeleteObject(p.Brush);
        if (p.Bitmap) DeleteObject(p.Bitmap);
    }
    FPatterns.clear();
}

void TImageList::Changed()
{
    FreePatterns();
    if (FHandle && !FShared) FillHandle();
    OnChange(this);
}

HBRUSH TImageList::PatternBrush(int index)
{
    if (FMasked || index < 0 || index >= Count()) return nullptr;
    if (FPatterns.size() <= static_cast<size_t>(index)) FPatterns.resize(index + 1);
    TPattern& p = FPatterns[index];
    if (p.Brush) return p.Brush;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    p.Bitmap = CreateCompatibleBitmap(screen, FWidth, FHeight);
    ReleaseDC(nullptr, screen);
    if (p.Bitmap) {
        HGDIOBJ old = SelectObject(dc, p.Bitmap);
        DrawOn(dc, 0, 0, index);
        SelectObject(dc, old);
        p.Brush = CreatePatternBrush(p.Bitmap);
    }
    DeleteDC(dc);
    return p.Brush;
}

void TImageList::Grow(int n)
{
    const int width = (FCount + n) * FWidth;
    auto images = std::make_unique<TBitmap>(width, FHeight);
    if (FImages) BitBlt(images->Canvas().Handle(), 0, 0, FCount * FWidth, FHeight, FImages->Canvas().Handle(), 0, 0, SRCCOPY);
    FImages = std::move(images);
    if (!FMasked) return;
    if (!FMaskDC) {
        FMask = CreateBitmap(width, FHeight, 1, 1, nullptr);
        FMaskDC = CreateCompatibleDC(nullptr);
        FMaskOld = SelectObject(FMaskDC, FMask);
        return;
    }
    HBITMAP mask = MaskCopy(FMaskDC, width, FCount * FWidth, FHeight);
    SelectObject(FMaskDC, mask);
    DeleteObject(FMask);
    FMask = mask;
}

HIMAGELIST TImageList::Handle()
{
    if (!FHandle && !FShared) {
        static const auto create = CommonControl<decltype(&ImageList_Create)>("ImageList_Create");
        if (create) FHandle = create(FWidth, FHeight, ILC_COLOR24 | (FMasked ? ILC_MASK : 0), 4, 4);
        if (FHandle) FillHandle();
    }
    return FHandle;
}

void TImageList::FillHandle()
{
    static const auto remove = CommonControl<decltype(&ImageList_Remove)>("ImageList_Remove");
    static const auto add = CommonControl<decltype(&ImageList_Add)>("ImageList_Add");
    static const auto setBk = CommonControl<decltype(&ImageList_SetBkColor)>("ImageList_SetBkColor");
    if (!remove || !add || !setBk) return;
    remove(FHandle, -1);
    setBk(FHandle, FBkColor == clNone ? CLR_NONE : ColorToRGB(FBkColor));
    if (!FCount) return;
    // A copy exactly as wide as the images: the library cuts the whole bitmap into images.
    TBitmap images(FCount * FWidth, FHeight);
    BitBlt(images.Canvas().Handle(), 0, 0, FCount * FWidth, FHeight, FImages->Canvas().Handle(), 0, 0, SRCCOPY);
    HBITMAP mask = FMasked ? MaskCopy(FMaskDC, FCount * FWidth, FCount * FWidth, FHeight) : nullptr;
    WithBitmapFree(images.Canvas().Handle(), [&](HBITMAP h) { return add(FHandle, h, mask); });
    if (mask) DeleteObject(mask);
}

void TImageList::ShareHandle(HIMAGELIST h)
{
    if (!FShared) DestroyList(FHandle);
    FreeImages();
    FHandle = h;
    FShared = true;
    if (h) {
        static const auto size = CommonControl<decltype(&ImageList_GetIconSize)>("ImageList_GetIconSize");
        if (size) size(h, &FWidth, &FHeight);
    }
    Changed();
}

void TImageList::SetSize(int width, int height, bool masked)
{
    if (!FShared) DestroyList(FHandle);
    FreeImages();
    FHandle = nullptr;
    FShared = false;
    FWidth = width, FHeight = height, FMasked = masked;
    Changed();
}

int TImageList::Count() const { return FShared ? ListCount(FHandle) : FCount; }

int TImageList::AddImages(TBitmap& bmp, TColor maskColor)
{
    const int n = FWidth > 0 ? bmp.Width() / FWidth : 0;
    if (FShared || n <= 0 || FHeight <= 0) return -1;
    const int first = FCount, x = first * FWidth, width = n * FWidth;
    Grow(n);
    HDC source = bmp.Canvas().Handle(), images = FImages->Canvas().Handle();
    BitBlt(images, x, 0, width, FHeight, source, 0, 0, SRCCOPY);
    if (FMasked && maskColor == clNone) {
        PatBlt(FMaskDC, x, 0, width, FHeight, BLACKNESS);
    } else if (FMasked) {
        // The mask: set where the source has the mask colour (a colour-to-monochrome copy
        // sets the pixels of the source's background colour).
        COLORREF bk = ::SetBkColor(source, ColorToRGB(maskColor));
        BitBlt(FMaskDC, x, 0, width, FHeight, source, 0, 0, SRCCOPY);
        ::SetBkColor(source, bk);
        // The transparent pixels black in the pictures, as drawing lays them over a hole.
        COLORREF text = SetTextColor(images, RGB(0, 0, 0));
        bk = ::SetBkColor(images, RGB(255, 255, 255));
        BitBlt(images, x, 0, width, FHeight, FMaskDC, x, 0, DSna);
        SetTextColor(images, text);
        ::SetBkColor(images, bk);
    }
    FCount += n;
    Changed();
    return first;
}

int TImageList::Add(TBitmap& bmp) { return AddImages(bmp, clNone); }

int TImageList::AddMasked(TBitmap& bmp, TColor maskColor) { return AddImages(bmp, maskColor); }

bool TImageList::ResourceLoad(const char* name, TColor maskColor)
{
    // An empty list of plain images keeps the picture as the system loads it for the screen:
    // one conversion, no copy into a strip of its own. Others copy from a DIB section, whose
    // colours stay exact for the mask.
    const bool keep = !FCount && !FMasked && !FShared && FWidth > 0 && FHeight > 0;
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetHandle(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, keep ? 0 : LR_CREATEDIBSECTION)));
    if (!bmp->Handle()) return false;
    if (keep && bmp->Height() == FHeight && bmp->Width() >= FWidth) {
        FCount = bmp->Width() / FWidth;
        FImages = std::move(bmp);
        Changed();
    } else {
        AddImages(*bmp, maskColor);
    }
    return true;
}

void TImageList::Clear()
{
    if (FShared && FHandle) {
        static const auto remove = CommonControl<decltype(&ImageList_Remove)>("ImageList_Remove");
        if (remove) remove(FHandle, -1);
    } else {
        FCount = 0;
    }
    Changed();
}

void TImageList::SetBkColor(TColor c)
{
    FBkColor = c;
    if (!FHandle) return;
    static const auto setBk = CommonControl<decltype(&ImageList_SetBkColor)>("ImageList_SetBkColor");
    if (setBk) setBk(FHandle, c == clNone ? CLR_NONE : ColorToRGB(c));
}

void TImageList::DrawOn(HDC dc, int x, int y, int index, bool enabled)
{
    if (index < 0 || index >= Count()) return;
    if (FShared) {
        static const auto draw = CommonControl<decltype(&ImageList_Draw)>("ImageList_Draw");
        static const auto drawIndirect = CommonControl<decltype(&ImageList_DrawIndirect)>("ImageList_DrawIndirect");
        if (!draw || !drawIndirect) return;
        if (enabled) {
            draw(FHandle, index, dc, x, y, ILD_TRANSPARENT);
            return;
        }
        IMAGELISTDRAWPARAMS p = {};
        p.cbSize = sizeof p;
        p.himl = FHandle; p.i = index; p.hdcDst = dc; p.x = x; p.y = y;
        p.rgbBk = CLR_NONE; p.rgbFg = CLR_DEFAULT; p.fStyle = ILD_TRANSPARENT | ILD_BLEND50;
        if (!drawIndirect(&p)) draw(FHandle, index, dc, x, y, ILD_BLEND50);
        return;
    }
    HDC images = FImages->Canvas().Handle();
    int sx = index * FWidth;
    // Greyed: every other pixel of the picture in the selection colour, as the library blends.
    TBitmap greyed;
    if (!enabled) {
        greyed.SetSize(FWidth, FHeight);
        BitBlt(greyed.Canvas().Handle(), 0, 0, FWidth, FHeight, images, sx, 0, SRCCOPY);
        GdiFlush();
        const COLORREF c = GetSysColor(COLOR_HIGHLIGHT);
        const unsigned blend = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
        for (int row = 0; row < FHeight; ++row)
            for (int col = row & 1; col < FWidth; col += 2) greyed.Bits()[row * FWidth + col] = blend;
        images = greyed.Canvas().Handle();
        if (FMasked) {
            COLORREF text = SetTextColor(images, RGB(0, 0, 0)), bk = ::SetBkColor(images, RGB(255, 255, 255));
            BitBlt(images, 0, 0, FWidth, FHeight, FMaskDC, sx, 0, DSna);
            SetTextColor(images, text);
            ::SetBkColor(images, bk);
        }
        sx = 0;
    }
    if (!FMasked) {
        BitBlt(dc, x, y, FWidth, FHeight, images, sx, 0, SRCCOPY);
        return;
    }
    // A hole where the picture is opaque, then the picture (black where transparent) into it.
    COLORREF text = SetTextColor(dc, RGB(0, 0, 0)), bk = ::SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, FWidth, FHeight, FMaskDC, index * FWidth, 0, SRCAND);
    BitBlt(dc, x, y, FWidth, FHeight, images, sx, 0, SRCPAINT);
    SetTextColor(dc, text);
    ::SetBkColor(dc, bk);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled)
{
    DrawOn(canvas.Handle(), x, y, index, enabled);
}

void TImageList::GetBitmap(int index, TBitmap& bmp)
{
    bmp.SetSize(FWidth, FHeight);
    DrawOn(bmp.Canvas().Handle(), 0, 0, index);
}
