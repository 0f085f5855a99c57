// An image list: equal-sized images drawn by index. Its own images are kept in two bitmaps (the
// pictures side by side, and their mask) and drawn with GDI alone, so that the skin draws
// before the common controls library is loaded; a list shared from the system's (the shell's
// small icons) is the library's and is drawn by it.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <vector>
#include "toolkit/Classes.h"
#include "toolkit/Graphics.h"

class TImageList : public TComponent {
public:
    TImageList(TComponent* owner, int width = 16, int height = 16, bool masked = true);
    ~TImageList() override;
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new image size or mask mode empties the list.
    void SetSize(int width, int height, bool masked);
    int Count() const;
    // The list as the common controls' own, for a tree view: made from the images on first
    // need and kept up to date with them.
    HIMAGELIST Handle();
    // Shares a list made elsewhere (the system's small icons): never destroyed by us.
    void ShareHandle(HIMAGELIST h);
    bool ShareImages() const { return FShared; }
    // Cuts a bitmap into images of the list's size; with a mask colour, pixels of that
    // colour are transparent.
    int Add(TBitmap& bmp);
    int AddMasked(TBitmap& bmp, TColor maskColor);
    // Loads a bitmap resource of the program and cuts it into images.
    bool ResourceLoad(const char* name, TColor maskColor = clNone);
    void Clear();
    // Draws image i at (x, y); a disabled image is drawn greyed.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);
    void DrawOn(HDC dc, int x, int y, int index, bool enabled = true);
    // Copies image i into bmp (sized to the list's images).
    void GetBitmap(int index, TBitmap& bmp);
    // A brush that paints image i repeated (none for a masked list, whose images have
    // transparent parts): kept until the images change. Anchor it with SetBrushOrgEx.
    HBRUSH PatternBrush(int index);
    bool Masked() const { return FMasked; }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor c);
    TNotifyEvent OnChange;
private:
    // Adds the images cut from bmp; pixels of maskColor are transparent (clNone: none).
    int AddImages(TBitmap& bmp, TColor maskColor);
    // Room for n more images.
    void Grow(int n);
    void FreeImages();
    // Refills the library's list from the images.
    void FillHandle();
    // Frees the pattern brushes, brings the library's list up to date and raises OnChange.
    void Changed();
    void FreePatterns();
    struct TPattern { HBITMAP Bitmap = nullptr; HBRUSH Brush = nullptr; };
    std::vector<TPattern> FPatterns;
    // The pictures side by side; in a masked list a transparent pixel is black here and set
    // in FMask, a monochrome bitmap selected into FMaskDC.
    std::unique_ptr<TBitmap> FImages;
    HBITMAP FMask = nullptr;
    HDC FMaskDC = nullptr;
    HGDIOBJ FMaskOld = nullptr;
    int FCount = 0;
    // The library's list: the shared one, or one made from ours by Handle.
    HIMAGELIST FHandle = nullptr;
    int FWidth, FHeight;
    bool FMasked;
    bool FShared = false;
    TColor FBkColor = clNone;
};
