// Drawing over GDI: colours, fonts, pens, brushes, a canvas and bitmaps.
#pragma once
#include <windows.h>
#include <string>
#include "toolkit/Classes.h"

// Colour numbers: red in the lowest byte, then green, then blue; 0x80000000 + index is a
// system colour, resolved when drawn.
using TColor = int;
constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
    clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0,
    clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000, clFuchsia = 0xFF00FF,
    clAqua = 0xFFFF00, clWhite = 0xFFFFFF;
constexpr TColor clSystem = static_cast<TColor>(0x80000000);
constexpr TColor clBtnFace = clSystem | COLOR_BTNFACE, clWindow = clSystem | COLOR_WINDOW,
    clWindowText = clSystem | COLOR_WINDOWTEXT, clHighlight = clSystem | COLOR_HIGHLIGHT,
    clHighlightText = clSystem | COLOR_HIGHLIGHTTEXT, clBtnShadow = clSystem | COLOR_BTNSHADOW,
    clBtnHighlight = clSystem | COLOR_BTNHIGHLIGHT, clBtnText = clSystem | COLOR_BTNTEXT,
    cl3DDkShadow = clSystem | COLOR_3DDKSHADOW, cl3DLight = clSystem | COLOR_3DLIGHT,
    clInfoBk = clSystem | COLOR_INFOBK, clGrayText = clSystem | COLOR_GRAYTEXT;
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;
COLORREF ColorToRGB(TColor c);

// The GDI objects a canvas selects. Each creates its handle on first use and again after a
// change; a change is reported through OnChange (the owner repaints or resets its font).
class TGraphicsObject : public TObject {
public:
    ~TGraphicsObject() override { Reset(); }
    TNotifyEvent OnChange;
protected:
    void Changed() { Reset(); OnChange(this); }
    void Reset() { if (FHandle) { DeleteObject(FHandle); FHandle = nullptr; } }
    HGDIOBJ FHandle = nullptr;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
class TFont : public TGraphicsObject {
public:
    HFONT Handle();
    void Assign(const TFont& f);
    std::string Name() const { return FName; }
    void SetName(const std::string& n) { if (n != FName) { FName = n; Changed(); } }
    int Height() const { return FHeight; }          // pixels; negative = character height
    void SetHeight(int h) { if (h != FHeight) { FHeight = h; Changed(); } }
    TColor Color() const { return FColor; }
    void SetColor(TColor c) { if (c != FColor) { FColor = c; OnChange(this); } }   // no new handle
    unsigned Style() const { return FStyle; }
    void SetStyle(unsigned s) { if (s != FStyle) { FStyle = s; Changed(); } }
private:
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    unsigned FStyle = 0;
};

enum TPenStyle { psSolid, psDash, psDot, psClear };
class TPen : public TGraphicsObject {
public:
    HPEN Handle();
    TColor Color() const { return FColor; }
    void SetColor(TColor c) { if (c != FColor) { FColor = c; Changed(); } }
    int Width() const { return FWidth; }
    void SetWidth(int w) { if (w != FWidth) { FWidth = w; Changed(); } }
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle s) { if (s != FStyle) { FStyle = s; Changed(); } }
private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
};

enum TBrushStyle { bsSolid, bsClear };
class TBrush : public TGraphicsObject {
public:
    HBRUSH Handle();
    TColor Color() const { return FColor; }
    // Giving a colour makes a clear brush solid again, also when the colour is the same one
    // (a canvas kept from one line to the next must not stay clear).
    void SetColor(TColor c) { if (c != FColor || FStyle == bsClear) { FColor = c; FStyle = bsSolid; Changed(); } }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle s) { if (s != FStyle) { FStyle = s; Changed(); } }
private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

class TBitmap;

// A canvas draws on a device context it is given (a paint, a bitmap) with its own font, pen
// and brush, selecting them as needed and restoring the context's own objects when released.
class TCanvas : public TObject {
public:
    TCanvas();
    ~TCanvas() override;
    HDC Handle() const { return FDC; }
    void SetHandle(HDC dc);               // nullptr releases the context
    TFont Font;
    TPen Pen;
    TBrush Brush;

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void Rectangle(int l, int t, int r, int b);
    void TextOut(int x, int y, const std::string& s);
    // Text clipped to r, starting at (x, y); with a solid brush the whole of r is filled first.
    void TextRect(const TRect& r, int x, int y, const std::string& s);
    int TextWidth(const std::string& s);
    int TextHeight(const std::string& s);
    void Draw(int x, int y, TBitmap& bmp);
    void CopyRect(const TRect& dest, TCanvas& src, const TRect& source);
    void DrawFocusRect(const TRect& r);
    COLORREF Pixel(int x, int y) const { return GetPixel(FDC, x, y); }
    void SetPixel(int x, int y, TColor c) { ::SetPixel(FDC, x, y, ColorToRGB(c)); }
    TPoint PenPos;
private:
    void Select();                        // puts the current font, pen and brush into the context
    void Deselect();
    void ObjectChanged(TObject*) { FSelected = false; }
    HDC FDC = nullptr;
    HGDIOBJ FOldFont = nullptr, FOldPen = nullptr, FOldBrush = nullptr;
    bool FSelected = false;
};

// A device-independent bitmap with its own memory context and canvas.
class TBitmap : public TObject {
public:
    TBitmap() = default;
    TBitmap(int w, int h) { SetSize(w, h); }
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    void SetSize(int w, int h);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    HBITMAP Handle() const { return FBitmap; }
    TCanvas& Canvas();
    // Loads a bitmap resource of the program by name; false when there is none.
    bool LoadFromResourceName(HINSTANCE inst, const char* name);
    // Takes a bitmap handle over (owned from now on).
    void SetHandle(HBITMAP h);
    // The bits, 32 bits a pixel, top-down rows (for pixel checks in tests).
    const unsigned* Bits() const { return FBits; }
    unsigned* Bits() { return FBits; }
private:
    void ReleaseDC();
    void Free();
    HBITMAP FBitmap = nullptr;
    HDC FDC = nullptr;
    HGDIOBJ FOld = nullptr;
    TCanvas* FCanvas = nullptr;
    unsigned* FBits = nullptr;
    int FWidth = 0, FHeight = 0;
};
