#include "toolkit/ImgList.h"

TImageList::TImageList(TComponent* owner, int width, int height, bool masked)
    : TComponent(owner), FWidth(width), FHeight(height), FMasked(masked) {}

TImageList::~TImageList()
{
    FreePatterns();
    if (FHandle && !FShared) ImageList_Destroy(FHandle);
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
    OnChange(this);
}

HBRUSH TImageList::PatternBrush(int index)
{
    if (FMasked || !FHandle || index < 0 || index >= Count()) return nullptr;
    if (FPatterns.size() <= static_cast<size_t>(index)) FPatterns.resize(index + 1);
    TPattern& p = FPatterns[index];
    if (p.Brush) return p.Brush;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    p.Bitmap = CreateCompatibleBitmap(screen, FWidth, FHeight);
    ReleaseDC(nullptr, screen);
    if (p.Bitmap) {
        HGDIOBJ old = SelectObject(dc, p.Bitmap);
        ImageList_Draw(FHandle, index, dc, 0, 0, ILD_NORMAL);
        SelectObject(dc, old);
        p.Brush = CreatePatternBrush(p.Bitmap);
    }
    DeleteDC(dc);
    return p.Brush;
}

void TImageList::Create()
{
    if (!FHandle) FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | (FMasked ? ILC_MASK : 0), 4, 4);
}

HIMAGELIST TImageList::Handle()
{
    Create();
    return FHandle;
}

void TImageList::ShareHandle(HIMAGELIST h)
{
    if (FHandle && !FShared) ImageList_Destroy(FHandle);
    FHandle = h;
    FShared = true;
    if (h) ImageList_GetIconSize(h, &FWidth, &FHeight);
    Changed();
}

void TImageList::SetSize(int width, int height, bool masked)
{
    if (FHandle && !FShared) ImageList_Destroy(FHandle);
    FHandle = nullptr;
    FShared = false;
    FWidth = width, FHeight = height, FMasked = masked;
    Changed();
}

int TImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

namespace {
// The image list reads a bitmap's bits, which a bitmap still selected into its canvas's
// context does not give (Wine adds black images): the bitmap is taken out of the context
// for the call and put back after it.
template <class F>
int WithBitmapFree(TBitmap& bmp, F add)
{
    HDC dc = bmp.Canvas().Handle();
    HBITMAP stand = CreateCompatibleBitmap(dc, 1, 1);
    HGDIOBJ previous = SelectObject(dc, stand);
    int r = add(bmp.Handle());
    SelectObject(dc, previous);
    DeleteObject(stand);
    return r;
}
}

int TImageList::Add(TBitmap& bmp)
{
    Create();
    int r = WithBitmapFree(bmp, [&](HBITMAP h) { return ImageList_Add(FHandle, h, nullptr); });
    Changed();
    return r;
}

int TImageList::AddMasked(TBitmap& bmp, TColor maskColor)
{
    Create();
    int r = WithBitmapFree(bmp, [&](HBITMAP h) { return ImageList_AddMasked(FHandle, h, ColorToRGB(maskColor)); });
    Changed();
    return r;
}

bool TImageList::ResourceLoad(const char* name, TColor maskColor)
{
    TBitmap bmp;
    if (!bmp.LoadFromResourceName(GetModuleHandleA(nullptr), name)) return false;
    if (maskColor != clNone) AddMasked(bmp, maskColor);
    else Add(bmp);
    return true;
}

void TImageList::Clear()
{
    if (FHandle) ImageList_Remove(FHandle, -1);
    Changed();
}

void TImageList::SetBkColor(TColor c)
{
    FBkColor = c;
    if (FHandle) ImageList_SetBkColor(FHandle, c == clNone ? CLR_NONE : ColorToRGB(c));
}

void TImageList::DrawOn(HDC dc, int x, int y, int index, bool enabled)
{
    if (!FHandle || index < 0 || index >= Count()) return;
    if (enabled) {
        ImageList_Draw(FHandle, index, dc, x, y, ILD_TRANSPARENT);
    } else {
        IMAGELISTDRAWPARAMS p = {};
        p.cbSize = sizeof p;
        p.himl = FHandle; p.i = index; p.hdcDst = dc; p.x = x; p.y = y;
        p.rgbBk = CLR_NONE; p.rgbFg = CLR_DEFAULT; p.fStyle = ILD_TRANSPARENT | ILD_BLEND50;
        if (!ImageList_DrawIndirect(&p)) ImageList_Draw(FHandle, index, dc, x, y, ILD_BLEND50);
    }
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
