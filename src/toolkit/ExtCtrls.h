// Panels, bevels, pictures and the timer.
#pragma once
#include "toolkit/Controls.h"
#include "toolkit/StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised };

// Draws a 3-D frame of the given width inside r and shrinks r by it.
void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width);

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* owner);
    TBevelCut BevelInner = bvNone;
    TBevelCut BevelOuter = bvRaised;
    int BevelWidth = 1;
    int BorderWidth = 0;
    TAlignment Alignment = taCenter;
protected:
    const char* ClassName() const override { return "TPanel"; }
    void Paint() override;
    void TextChanged() override { Invalidate(); }
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape = bsBox;
    TBevelStyle Style = bsLowered;
protected:
    void Paint() override;
};

// A rectangle filled with Brush and outlined with Pen (a colour swatch, say).
class TShape : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    TBrush Brush;
    TPen Pen;
protected:
    void Paint() override;
};

// A picture on its parent (none: an empty, transparent surface that still takes the mouse).
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    TBitmap* Picture() const { return FPicture; }
    void SetPicture(TBitmap* bmp);          // takes ownership
    bool Transparent = false;
    TColor TransparentColor = clNone;
    bool Center = false;
protected:
    void Paint() override;
private:
    TBitmap* FPicture = nullptr;
};

class TPaintBox : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    TNotifyEvent OnPaint;
protected:
    void Paint() override { OnPaint(this); }
};

// A timer that calls OnTimer on the user-interface thread every Interval milliseconds while
// enabled. Changing either restarts it.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool e);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned ms);
    TNotifyEvent OnTimer;
private:
    void Update();
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
    bool FEnabled = true;
    unsigned FInterval = 1000;
    UINT_PTR FID = 0;
};
