// Forms, the application object and the screen.
#pragma once
#include <windows.h>
#include <map>
#include "toolkit/Controls.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TPosition { poDesigned, poScreenCenter };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2;

using TCloseEvent = TEvent<TObject*, TCloseAction&>;

// A top-level window described in code: a derived form creates its controls in its
// constructor, in creation order, and Application->CreateForm then creates the window and
// runs OnCreate.
class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    TFormBorderStyle BorderStyle = bsSizeable;
    unsigned BorderIcons = biSystemMenu | biMinimize | biMaximize;
    bool KeyPreview = false;
    TFormStyle FormStyle = fsNormal;
    TPosition Position = poDesigned;        // poScreenCenter: centred on the screen when shown
    TWindowState WindowState() const;
    int ModalResult = mrNone;
    TControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControlField(TControl* c) { FActiveControl = c; }
    void SetClientSize(int w, int h);

    TNotifyEvent OnCreate, OnShow, OnHide, OnDestroy, OnPaint, OnActivate, OnDeactivate;
    TCloseEvent OnClose;

    // Creates the window and runs OnCreate: the end of a form's construction.
    virtual void AfterConstruction();
    void BeforeDestruction() override;
    void Show();
    void Hide();
    void Close();
    int ShowModal();
    bool Modal() const { return FModal; }
    void SetVisible(bool v) override;
protected:
    const char* ClassName() const override { return "TForm"; }
    void CreateParams(TCreateParams& p) override;
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
    void PaintWindow(HDC dc) override;
    TCanvas FCanvas;
public:
    TCanvas& Canvas() { return FCanvas; }
private:
    TControl* FActiveControl = nullptr;
    bool FModal = false;
    bool FDestroyed = false;
};

using TExceptionEvent = TEvent<TObject*, const std::exception&>;

// What a hint about to be shown concerns; an OnShowHint handler may change any of it.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos;                 // screen point of the hint's top-left corner as proposed
    int HintMaxWidth = 0;           // the widest the hint's text may be before it wraps
    TColor HintColor = clInfoBk;
    TRect CursorRect;               // the hinted control in its own coordinates
    TPoint CursorPos;               // the pointer, in the control's coordinates
    int HideTimeout = 0;            // milliseconds; 0: the application's HintHidePause
};
using TShowHintEvent = TEvent<std::string&, bool&, THintInfo&>;

// The window a hint is shown in: a top-most window that never takes the activation. The
// application makes one of its HintWindowClass; a program may put its own class there.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* owner);
    // The rectangle (at the origin) that shows text within maxWidth.
    virtual TRect CalcHintRect(int maxWidth, const std::string& text);
    // Shows text in rect (screen coordinates) without activating anything.
    virtual void ActivateHint(TRect rect, const std::string& text);
    void ReleaseHint();
    bool HintShown() const { return FHandle && IsWindowVisible(FHandle); }
protected:
    const char* ClassName() const override { return "THintWindow"; }
    void CreateParams(TCreateParams& p) override;
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
    void Paint() override;
};
using THintWindowClass = THintWindow* (*)(TComponent* owner);
template <class T>
THintWindow* MakeHintWindow(TComponent* owner) { return new T(owner); }

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    void Initialize();
    template <class T>
    T* CreateForm(T** reference = nullptr)
    {
        T* form = new T(this);
        if (reference) *reference = form;
        if (!FMainForm) FMainForm = form;
        form->AfterConstruction();
        return form;
    }
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles the messages waiting now, then returns.
    void ProcessMessages();
    // The default error box: the exception's message, and the program goes on.
    void HandleException(const std::exception& e);
    TExceptionEvent OnException;
    // A message box over the main window (when it is shown), captioned with the title.
    int MessageBox(const std::string& text, UINT flags);

    HWND Handle() const { return FHandle; }
    TForm* MainForm() const { return FMainForm; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& t);
    TColor HintColor = clInfoBk;
    // Hints: on or off (turning them on makes the hint window anew, of HintWindowClass), the
    // rest before a hint shows, before the next one shows while one is up, and until it hides.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool on);
    THintWindowClass HintWindowClass = &MakeHintWindow<THintWindow>;
    unsigned HintPause = 500, HintShortPause = 25, HintHidePause = 2500;
    TShowHintEvent OnShowHint;
    THintWindow* HintWindow() const { return FHintWindow; }
    // From the controls: the pointer is over control at screen point p (nullptr: over no
    // control of ours), or left it; a press or key hides the hint.
    void HintMouseMove(TControl* control, TPoint p);
    void HintMouseLeave(TControl* window);
    void HintControlGone(TControl* control);
    void CancelHint();
    HICON Icon() const { return FIcon; }
    HICON SmallIcon() const { return FSmallIcon; }
    void Minimize();
    void Restore();
    void BringToFront();
    TNotifyEvent OnMinimize, OnRestore;
private:
    static LRESULT CALLBACK AppWndProc(HWND h, UINT m, WPARAM w, LPARAM l);
    bool ProcessMessage(MSG& m);
    HWND FHandle = nullptr;
    TForm* FMainForm = nullptr;
    std::string FTitle;
    HICON FIcon = nullptr, FSmallIcon = nullptr;
    bool FTerminated = false;
    std::vector<HWND> FHiddenOnMinimize;
    void HintTimer(UINT_PTR id);
    void ShowHintNow();
    bool FShowHint = true;
    THintWindow* FHintWindow = nullptr;
    TControl* FHintControl = nullptr;       // under the pointer, with a hint
    TPoint FHintPoint;
    bool FHintActive = false;               // a hint is up
    bool FHintDone = false;                 // shown and hidden, or cancelled, for this control
};

class TScreen : public TComponent {
public:
    TScreen();
    // The cursor shown over every window of the program; crDefault lets each control choose.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor c);
    HCURSOR CursorHandle(TCursor c) const;
    void SetCursorHandle(TCursor c, HCURSOR h) { FCursors[c] = h; }
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
private:
    TCursor FCursor = crDefault;
    mutable std::map<TCursor, HCURSOR> FCursors;
};

extern TApplication* Application;
extern TScreen* Screen;

// The hourglass over every window of the program while a long step runs; the cursor shown
// before comes back however the step ends.
class THourglass {
public:
    THourglass()
    {
        if (!Screen) return;
        FSaved = Screen->Cursor();
        Screen->SetCursor(crHourGlass);
    }
    ~THourglass()
    {
        if (Screen) Screen->SetCursor(FSaved);
    }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
private:
    TCursor FSaved = crDefault;
};
