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
    bool ShowHint = true;
    HICON Icon() const { return FIcon; }
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
    HICON FIcon = nullptr;
    bool FTerminated = false;
    std::vector<HWND> FHiddenOnMinimize;
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
    std::map<TCursor, HCURSOR> FCursors;
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
