// The skinned window's caption strip: a title bar whose colours follow its form's activation and
// that moves the form when dragged, and buttons drawn from image lists (plain, switch, and the
// window-command buttons close, minimise, maximise, help and system menu).
#pragma once
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/ImgList.h"

using TOnPaint = TEvent<TObject*, TCanvas&>;
enum TNewCaptionStyle { CS_Normal, CS_OwnerDraw };

class TNewCaption : public TCustomControl {
public:
    // The owner must be a form: the bar follows its activation and moves it.
    explicit TNewCaption(TComponent* owner);
    ~TNewCaption() override;

    TColor ActiveColor() const { return FActiveColor; }
    void SetActiveColor(TColor c) { FActiveColor = c; ApplyColors(); }
    TColor InactiveColor() const { return FInactiveColor; }
    void SetInactiveColor(TColor c) { FInactiveColor = c; ApplyColors(); }
    TColor TextActiveColor() const { return FTextActiveColor; }
    void SetTextActiveColor(TColor c) { FTextActiveColor = c; ApplyColors(); }
    TColor TextInactiveColor() const { return FTextInactiveColor; }
    void SetTextInactiveColor(TColor c) { FTextInactiveColor = c; ApplyColors(); }
    TImageList* ImList() const { return FImList; }
    void SetImList(TImageList* il) { FImList = il; Repaint(); }
    bool EasyMove = true;
    TNewCaptionStyle Style = CS_Normal;
    int TextLeft = 20;
    TOnPaint OnPaint;
    bool OwnerActive() const { return FOwnerActive; }

    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void MouseMove(TShiftState s, int x, int y) override;
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
    void DblClick() override;
protected:
    const char* ClassName() const override { return "TNewCaption"; }
    void HandleCreated() override;
    bool EraseBackground(HDC) override { return true; }   // Paint covers the whole bar
    void Paint() override;
    void TextChanged() override;
private:
    void ApplyColors();
    void HookOwner();
    void UnhookOwner();
    static LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l);
    TForm* FOwnerForm;
    HWND FOwnerHandle = nullptr;
    WNDPROC FPrevProc = nullptr;
    bool FHooked = false;
    bool FOwnerActive = true;
    bool FStyleAdjusted = false;
    TPoint FGrab;
    TColor FActiveColor = clSystem | COLOR_ACTIVECAPTION;
    TColor FInactiveColor = clSystem | COLOR_INACTIVECAPTION;
    TColor FTextActiveColor = clSystem | COLOR_CAPTIONTEXT;
    TColor FTextInactiveColor = clSystem | COLOR_INACTIVECAPTIONTEXT;
    TImageList* FImList = nullptr;
};

enum TILBtnStyle { ILBtn_Btn, ILBtn_Switch2, ILBtn_Switch4 };

// A button whose every look is one image of a list: ImageIndex + 0 normal, + 1 pressed, and for
// a button that is down + 2 and + 3 (a two-image switch shows its pressed image while down).
// The pressed image shows only while the left button is held inside; a click counts only when
// released inside; two quick clicks are two clicks.
class TILBtn : public TCustomControl {
public:
    explicit TILBtn(TComponent* owner);
    TImageList* ImList() const { return FImList; }
    void SetImList(TImageList* il);
    bool Down() const { return FDown; }
    void SetDown(bool d) { FDown = d; Invalidate(); }
    bool Pressed() const { return FPressed; }
    void SetPressed(bool p) { if (p != FPressed) { FPressed = p; Invalidate(); } }
    int ImageIndex = 0;
    TILBtnStyle Style = ILBtn_Btn;
    // The image drawn now, relative to ImageIndex.
    int ImageOffset() const;

    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void MouseMove(TShiftState s, int x, int y) override;
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
    void Click() override;
protected:
    const char* ClassName() const override { return "TILBtn"; }
    void CreateParams(TCreateParams& p) override;
    bool EraseBackground(HDC) override { return true; }
    void Paint() override;
    bool FDeliverDblClicks = false;
private:
    TImageList* FImList = nullptr;
    bool FDown = false;
    bool FPressed = false;
};

enum TSysCommand { scNone, scSystemMenu, scMinimize, scMaximize, scHelp, scClose };

// An image-list button that carries out a window command on its form.
class TSysBtn : public TILBtn {
public:
    explicit TSysBtn(TComponent* owner);
    TSysCommand SysCommand() const { return FSysCommand; }
    void SetSysCommand(TSysCommand c);
    HMENU PopupMenu = nullptr;          // opened by a left press instead of the system menu

    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void Click() override;
    void DblClick() override;
protected:
    const char* ClassName() const override { return FDeliverDblClicks ? "TSysBtnDbl" : "TSysBtn"; }
private:
    TForm* OwnerForm() const;
    TSysCommand FSysCommand = scNone;
    HMENU FMenu = nullptr;
};

// Shows a form normal when it is maximised and maximised otherwise, without the window
// animation.
void ToggleMaximized(TForm* form);
