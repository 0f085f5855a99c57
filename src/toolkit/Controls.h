// Controls: windowless (graphic) controls painted on their parent, and windowed controls with
// their own window, one static window procedure binding each window to its object.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "toolkit/Classes.h"
#include "toolkit/Graphics.h"

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeAll = -22,
    crHourGlass = -11, crHandPoint = -21, crNo = -18, crDrag = -12;

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;

// Notifications a parent reflects back to the child control they concern.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND, CN_NOTIFY = CN_BASE + WM_NOTIFY,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM, CN_HSCROLL = CN_BASE + WM_HSCROLL, CN_VSCROLL = CN_BASE + WM_VSCROLL,
    CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC, CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
    CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT, CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;

TShiftState KeysToShiftState(WPARAM keys);     // from a mouse message's key flags
TShiftState KeyboardShiftState();               // Shift, Ctrl, Alt held now

class TWinControl;
class TForm;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* p);
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    virtual void SetBounds(int l, int t, int w, int h);
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign a);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent up to the form visible too.
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool e);
    TColor Color() const { return FColor; }
    virtual void SetColor(TColor c);
    TFont Font;
    bool ParentFont = true;
    const std::string& Caption() const { return FText; }
    void SetCaption(const std::string& s) { SetText(s); }
    const std::string& Text() const { return FText; }
    virtual void SetText(const std::string& s);
    std::string Hint;
    bool ShowHint = false;
    TCursor Cursor = crDefault;

    TNotifyEvent OnClick, OnDblClick;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    virtual void Invalidate();
    virtual void Repaint();                 // invalidates and paints at once
    void Update();                          // paints what is invalid now
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    // Position relative to the nearest windowed ancestor (the one whose window it paints on).
    TPoint ClientOriginInWindow() const;
    virtual bool IsWindowed() const { return false; }

    // Input, as the parent hands it on (coordinates in this control's client area).
    virtual void MouseDown(TMouseButton b, TShiftState s, int x, int y);
    virtual void MouseMove(TShiftState s, int x, int y);
    virtual void MouseUp(TMouseButton b, TShiftState s, int x, int y);
    virtual void Click() { OnClick(this); }
    virtual void DblClick() { OnDblClick(this); }
    // The mouse entered or left the control (hints use these).
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // An accelerator typed with Alt ("&x" in a caption): true when this control took it.
    virtual bool DialogChar(char key) { return false; }

    // For windowless controls: paint on the parent's context, already offset and clipped.
    virtual void PaintTo(HDC dc) {}
protected:
    virtual void FontChanged(TObject*) { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    virtual void BoundsChanged() {}
    void RequestAlign();
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true, FEnabled = true, FClicked = false;
    TColor FColor = clBtnFace;
    std::string FText;
    TAlign FAlign = alNone;
    friend class TWinControl;
};

// A control drawn on its parent's window: a rectangle there plus Paint.
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
    TCanvas Canvas;
    void PaintTo(HDC dc) override;
    // Paints now through a context of the parent's window, outside WM_PAINT.
    void PaintNow();
protected:
    virtual void Paint() {}
};

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0, ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    const char* SysClass = nullptr;       // a system class to subclass, or our own class
    std::string WinClassName;
    UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    void RecreateWnd();
    static TWinControl* FromHandle(HWND h);

    const std::vector<TControl*>& Controls() const { return FControls; }
    bool IsWindowed() const override { return true; }
    void SetBounds(int l, int t, int w, int h) override;
    void SetVisible(bool v) override;
    void SetEnabled(bool e) override;
    void SetColor(TColor c) override;
    void SetText(const std::string& s) override;
    void Invalidate() override;
    void Repaint() override;
    TRect ClientRect() const override;

    bool TabStop = false;
    // Made only when HandleNeeded asks, not with its parent's window: for a window that should
    // not hold up the first paint (its class's library loads with it), or one hidden at first
    // (made when first shown). Until then a shown one has a plain window with its frame and
    // colour standing in its place, shown, moved and hidden with it.
    bool CreateLate = false;
    void SetFocus();
    bool Focused() const;
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter, OnExit;

    virtual void KeyDown(WORD& key, TShiftState s) { OnKeyDown(this, key, s); }
    virtual void KeyUp(WORD& key, TShiftState s) { OnKeyUp(this, key, s); }
    virtual void KeyPress(char& key) { OnKeyPress(this, key); }
    virtual void DoEnter() { OnEnter(this); }
    virtual void DoExit() { OnExit(this); }

    // Paints the windowless children on dc (this window's client context).
    void PaintControls(HDC dc);
    // Offers an accelerator to the shown controls on this one, children's children included;
    // true when one took it.
    bool DispatchDialogChar(char key);
    // The windowless child at p (client coordinates), the last placed first.
    TControl* ControlAtPos(TPoint p) const;
    void AlignControls();
    // The window procedure of this control; the default handling of a message.
    virtual LRESULT WndProc(UINT msg, WPARAM w, LPARAM l);
    LRESULT DefaultHandler(UINT msg, WPARAM w, LPARAM l);
    // The brush of this control's colour for WM_CTLCOLOR* answers.
    HBRUSH ColorBrush();
    // A component that takes some of this control's messages before the control sees them (a
    // file drop target): true when it handled one, with the answer in result. It stays with
    // the object, so a window made anew keeps it.
    std::function<bool(UINT msg, WPARAM w, LPARAM l, LRESULT& result)> MessageHook;
protected:
    // A press goes to the system's control first and then to OnMouseDown, so that the
    // handler sees what the press did (a list's new selection).
    bool PressAfterDefault = false;
    virtual const char* ClassName() const { return "TWinControl"; }
    virtual void CreateParams(TCreateParams& p);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Called once the window exists (set its state from the object's fields).
    virtual void HandleCreated() {}
    // Erases the background with the control's colour; return false to leave it to Paint.
    virtual bool EraseBackground(HDC dc);
    // Own window classes: WM_PAINT comes here with a client context.
    virtual void PaintWindow(HDC dc);
    void FontChanged(TObject*) override;
    HWND FHandle = nullptr;
    // A key message through the form's preview and the control's key events; true when they
    // consumed it.
    bool HandleKey(UINT msg, WPARAM w, LPARAM l);
private:
    friend class TControl;
    static LRESULT CALLBACK StaticWndProc(HWND h, UINT m, WPARAM w, LPARAM l);
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    bool HandleMouse(UINT msg, WPARAM w, LPARAM l);
    void UpdateBoundsFromWindow();
    void MakeStandIn();
    static LRESULT CALLBACK StandInProc(HWND h, UINT m, WPARAM w, LPARAM l);
    std::vector<TControl*> FControls;
    HWND FStandIn = nullptr;
    WNDPROC FDefProc = nullptr;
    HBRUSH FBrush = nullptr;
    TControl* FCaptureControl = nullptr;   // windowless child holding the mouse
    TControl* FHoverControl = nullptr;
    bool FTracking = false;
    bool FInAlign = false;
};

// A windowed control of our own window class with a canvas and Paint.
class TCustomControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    TCanvas Canvas;
protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
    // Paint on dc through Canvas (with the control's font and colour), the windowless
    // children left out.
    void PaintOnCanvas(HDC dc);
};

// The form a control stands on (nullptr when it has none).
TForm* GetParentForm(const TControl* c);
