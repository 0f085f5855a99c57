// A flat push button that draws only its frame, glyph and caption, so that whatever its parent
// painted shows through. The explorer frame style shows no frame until the mouse is over it
// and a grey glyph until then; a disabled button shows its glyph embossed.
#pragma once
#include "controls/pure/GlyphMath.h"
#include "toolkit/Controls.h"
#include "toolkit/ImgList.h"
#include "toolkit/Menus.h"

enum TFrameStyle { fsRegular, fsIndent, fsExplorer, fsNone, fsLight, fsDark, fsMono };

class TTransparentButton : public TGraphicControl {
public:
    explicit TTransparentButton(TComponent* owner);
    ~TTransparentButton() override;

    bool AutoGray = true;
    bool ShowPressed = true;
    bool Movable = false;
    TPopupMenu* PopUpMenu = nullptr;
    TNotifyEvent OnMouseEnter, OnMouseExit;

    unsigned BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(unsigned v);
    bool Down() const { return FDown; }
    void SetDown(bool v);
    TFrameStyle FrameStyle() const { return FFrameStyle; }
    void SetFrameStyle(TFrameStyle v);
    // Copies the picture: one or more equally wide images side by side.
    void SetGlyph(TBitmap& bmp);
    // Loads the glyph from a bitmap resource of the program.
    bool LoadGlyph(const char* resourceName);
    const TBitmap& Glyph() const { return FGlyph; }
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int v);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int v);
    TTextAlign TextAlign() const { return FTextAlign; }
    void SetTextAlign(TTextAlign v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    void SetEnabled(bool e) override;

    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void MouseMove(TShiftState s, int x, int y) override;
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
    void DblClick() override {}              // two quick clicks are two clicks
    void MouseEnter() override;
    void MouseLeave() override;
    void Notification(TComponent* component, bool removing) override;
    // The caption's accelerator ("&x") clicks an enabled button.
    bool DialogChar(char key) override;

    // State as drawn, for tests and owners.
    bool PressedLook() const { return FPressedLook; }
    bool MouseInside() const { return FMouseInside; }
protected:
    void Paint() override;
    void TextChanged() override { Invalidate(); }
private:
    void PrepareGlyph();
    void AddImage(TBitmap& cell);
    void DrawGlyph(int x, int y);
    void DrawCaption(int glyphTop, int glyphBottom);
    void Release(TMouseButton b, TShiftState s, int x, int y);
    TBitmap FGlyph;
    TImageList* FImages;
    int FNumGlyphs = 1;
    unsigned FBorderWidth = 1;
    bool FDown = false, FTransparent = true, FWordWrap = false;
    TFrameStyle FFrameStyle = fsExplorer;
    int FSpacing = 2;
    TTextAlign FTextAlign = ttaCenter;
    bool FPressedLook = false, FTracking = false, FMouseInside = false, FHeld = false;
    TMouseButton FHeldButton = mbLeft;
    int FGrabX = 0, FGrabY = 0;
};
