#include "toolkit/Forms.h"
#include "toolkit/Thread.h"
#include "toolkit/WideText.h"

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {
// Alt and a letter: the window's form offers it to its controls' accelerators first.
bool TakenAsDialogChar(const MSG& m)
{
    if (m.message != WM_SYSCHAR) return false;
    auto* form = TWinControl::FromHandle(GetAncestor(m.hwnd, GA_ROOT));
    return form && IsWindowEnabled(form->Handle()) && form->DispatchDialogChar(static_cast<char>(m.wParam));
}

// A message taken from the queue, handled as every loop of the program handles it.
void Dispatch(const MSG& m)
{
    if (TakenAsDialogChar(m)) return;
    TranslateMessage(&m);
    DispatchMessageA(&m);
}

BOOL CALLBACK CollectEnabledWindow(HWND h, LPARAM l)
{
    if (IsWindowVisible(h) && IsWindowEnabled(h)) reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
    return TRUE;
}
}

// ---- TForm ---------------------------------------------------------------------------------

TForm::TForm(TComponent* owner) : TWinControl(owner)
{
    FVisible = false;
    FColor = clBtnFace;
    ParentFont = false;
}

TForm::~TForm()
{
    DestroyComponents();
}

void TForm::BeforeDestruction()
{
    if (!FDestroyed) {
        FDestroyed = true;
        OnDestroy(this);
    }
}

void TForm::AfterConstruction()
{
    HandleNeeded();
    OnCreate(this);
}

void TForm::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    switch (BorderStyle) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle: case bsToolWindow: p.Style |= WS_CAPTION | WS_BORDER; break;
    case bsDialog: p.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME; p.ExStyle |= WS_EX_DLGMODALFRAME; break;
    case bsSizeable: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    }
    if (BorderStyle != bsNone) {
        if (BorderIcons & biSystemMenu) p.Style |= WS_SYSMENU;
        // A dialog or a tool window of fixed size is neither minimised nor maximised: no box,
        // and the system menu and a double click on the caption offer neither.
        const bool sizes = BorderStyle == bsSingle || BorderStyle == bsSizeable;
        if (sizes && (BorderIcons & biMinimize)) p.Style |= WS_MINIMIZEBOX;
        if (sizes && (BorderIcons & biMaximize)) p.Style |= WS_MAXIMIZEBOX;
    }
    if (BorderStyle == bsToolWindow) p.ExStyle |= WS_EX_TOOLWINDOW;
    if (FormStyle == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    // Forms belong to the application's window: that one stands for the program on the task bar.
    p.WndParent = Application ? Application->Handle() : nullptr;
}

void TForm::SetClientSize(int w, int h)
{
    RECT r = {0, 0, w, h};
    if (FHandle) {
        AdjustWindowRectEx(&r, GetWindowLongA(FHandle, GWL_STYLE), FALSE, GetWindowLongA(FHandle, GWL_EXSTYLE));
    } else {
        TCreateParams p;
        CreateParams(p);
        AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    }
    SetBounds(FLeft, FTop, r.right - r.left, r.bottom - r.top);
}

TWindowState TForm::WindowState() const
{
    if (!FHandle) return wsNormal;
    if (IsIconic(FHandle)) return wsMinimized;
    if (IsZoomed(FHandle)) return wsMaximized;
    return wsNormal;
}

void TForm::SetVisible(bool v)
{
    if (v == FVisible) return;
    FVisible = v;
    if (!Handle()) return;
    if (v && Position == poScreenCenter)
        SetBounds((GetSystemMetrics(SM_CXSCREEN) - FWidth) / 2, (GetSystemMetrics(SM_CYSCREEN) - FHeight) / 2, FWidth,
                  FHeight);
    ShowWindow(FHandle, v ? SW_SHOW : SW_HIDE);
    if (v) OnShow(this); else OnHide(this);
}

void TForm::Show()
{
    SetVisible(true);
    SetForegroundWindow(FHandle);
}

void TForm::Hide() { SetVisible(false); }

void TForm::Close()
{
    if (FModal) { ModalResult = mrCancel; return; }
    TCloseAction action = (Application && Application->MainForm() == this) ? caFree : caHide;
    OnClose(this, action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) Application->Terminate();
    else if (action == caHide) Hide();
    else if (action == caMinimize) ShowWindow(FHandle, SW_MINIMIZE);
}

int TForm::ShowModal()
{
    // Every other window of the program is disabled while the dialog runs.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    for (HWND h : disabled) if (h != FHandle) EnableWindow(h, FALSE);
    FModal = true;
    ModalResult = mrNone;
    // However the dialog ends, an exception from its close handler included, the other
    // windows take input again and the dialog goes.
    struct TRestore {
        TForm* Form;
        std::vector<HWND>& Disabled;
        ~TRestore()
        {
            Form->FModal = false;
            for (HWND h : Disabled) if (h != Form->FHandle) EnableWindow(h, TRUE);
            Form->Hide();
        }
    } restore{this, disabled};
    Show();
    MSG m;
    while (ModalResult == mrNone && !Application->Terminated()) {
        if (GetMessageA(&m, nullptr, 0, 0) <= 0) { Application->Terminate(); break; }
        Dispatch(m);
        if (ModalResult != mrNone) {
            // The dialog closes: its close handler still runs, as for any close.
            TCloseAction action = caHide;
            OnClose(this, action);
            if (action == caNone) ModalResult = mrNone;
        }
    }
    return ModalResult;
}

void TForm::PaintWindow(HDC dc)
{
    FCanvas.SetHandle(dc);
    FCanvas.Font.Assign(Font);
    try {
        OnPaint(this);
    } catch (...) {
        FCanvas.SetHandle(nullptr);
        throw;
    }
    FCanvas.SetHandle(nullptr);
    PaintControls(dc);
}

LRESULT TForm::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE) OnDeactivate(this);
        else {
            OnActivate(this);
            if (auto* c = dynamic_cast<TWinControl*>(FActiveControl); c && c->HandleAllocated() && c->Showing()) {
                ::SetFocus(c->Handle());
                return 0;
            }
        }
        break;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: case WM_CHAR:
        break;   // the form's own keys go to its KeyDown / KeyPress once
    }
    return TWinControl::WndProc(msg, w, l);
}

// ---- TApplication --------------------------------------------------------------------------

TApplication::TApplication() : TComponent(nullptr)
{
    Application = this;
    Screen = new TScreen();
}

TApplication::~TApplication()
{
    FHintControl = nullptr;
    DestroyComponents();
    FHintWindow = nullptr;
    delete Screen;
    Screen = nullptr;
    if (FHandle) DestroyWindow(FHandle);
    Application = nullptr;
}

LRESULT CALLBACK TApplication::AppWndProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_SYSCOMMAND && Application) {
        if ((w & 0xFFF0) == SC_MINIMIZE) { Application->Minimize(); return 0; }
        if ((w & 0xFFF0) == SC_RESTORE) { Application->Restore(); return 0; }
    }
    if (m == WM_CLOSE && Application && Application->MainForm()) { Application->MainForm()->Close(); return 0; }
    if (m == WM_TIMER && Application) { Application->HintTimer(w); return 0; }
    return DefWindowProcA(h, m, w, l);
}

void TApplication::Initialize()
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    FIcon = LoadIconA(inst, "MAINICON");
    if (!FIcon) FIcon = LoadIcon(nullptr, IDI_APPLICATION);
    // The small icon loaded once for every class of a top-level window: a class registered
    // without one has the system make its own copy.
    FSmallIcon = static_cast<HICON>(LoadImageA(inst, "MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    WNDCLASSEXA wc = {sizeof wc};
    wc.lpfnWndProc = &AppWndProc;
    wc.hInstance = inst;
    wc.hIcon = FIcon;
    wc.hIconSm = FSmallIcon;
    wc.lpszClassName = "TApplication";
    RegisterClassExA(&wc);
    // The application's own window: it owns every form and, while shown, stands for the
    // program on the task bar. It is a zero-sized window in the middle of the screen, created
    // hidden: Restore shows it, and a program that wants a task-bar button shows it itself.
    int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
    FHandle = CreateWindowA("TApplication", FTitle.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            x, y, 0, 0, nullptr, nullptr, inst, nullptr);
    TThread::InitSynchronize();
}

void TApplication::SetTitle(const std::string& t)
{
    FTitle = t;
    if (FHandle) SetWindowTextA(FHandle, t.c_str());
}

bool TApplication::ProcessMessage(MSG& m)
{
    if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) return false;
    if (m.message == WM_QUIT) { FTerminated = true; return true; }
    Dispatch(m);
    return true;
}

void TApplication::ProcessMessages()
{
    MSG m;
    while (ProcessMessage(m)) {}
}

void TApplication::Run()
{
    if (FMainForm && !FMainForm->Visible()) FMainForm->Show();
    MSG m;
    while (!FTerminated) {
        BOOL r = GetMessageA(&m, nullptr, 0, 0);
        if (r <= 0) { FTerminated = true; break; }
        Dispatch(m);
    }
}

void TApplication::Terminate()
{
    if (!FTerminated) PostQuitMessage(0);
    FTerminated = true;
}

void TApplication::HandleException(const std::exception& e)
{
    if (OnException) { OnException(this, e); return; }
    std::string text = e.what();
    if (!text.empty() && text.back() > '.') text += '.';
    MessageBox(text, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, UINT flags)
{
    HWND owner = FMainForm && FMainForm->HandleAllocated() && IsWindowVisible(FMainForm->Handle()) ? FMainForm->Handle() : nullptr;
    return ::MessageBoxA(owner, text.c_str(), FTitle.c_str(), flags);
}

void TApplication::Minimize()
{
    if (!FHandle || IsIconic(FHandle)) return;
    FHiddenOnMinimize.clear();
    for (TComponent* c : Components())
        if (auto* f = dynamic_cast<TForm*>(c); f && f->HandleAllocated() && IsWindowVisible(f->Handle())) {
            FHiddenOnMinimize.push_back(f->Handle());
            ShowWindow(f->Handle(), SW_HIDE);
        }
    ShowWindow(FHandle, SW_MINIMIZE);
    OnMinimize(this);
}

void TApplication::Restore()
{
    if (!FHandle) return;
    if (IsIconic(FHandle)) ShowWindow(FHandle, SW_RESTORE);
    for (HWND h : FHiddenOnMinimize) if (IsWindow(h)) ShowWindow(h, SW_SHOW);
    FHiddenOnMinimize.clear();
    OnRestore(this);
}

void TApplication::BringToFront()
{
    if (FMainForm && FMainForm->HandleAllocated()) {
        HWND h = GetLastActivePopup(FMainForm->Handle());
        if (h && IsWindowVisible(h)) SetForegroundWindow(h);
    }
}

// ---- TScreen -------------------------------------------------------------------------------

TScreen::TScreen() : TComponent(nullptr)
{
    FCursors[crNone] = nullptr;
}

HCURSOR TScreen::CursorHandle(TCursor c) const
{
    auto it = FCursors.find(c);
    if (it != FCursors.end()) return it->second;
    // The system's cursors are loaded when first shown: each one loaded costs start-up time.
    static const struct { TCursor c; LPCSTR id; } standard[] = {
        {crDefault, IDC_ARROW}, {crArrow, IDC_ARROW}, {crCross, IDC_CROSS}, {crIBeam, IDC_IBEAM},
        {crHourGlass, IDC_WAIT}, {crHandPoint, IDC_HAND}, {crNo, IDC_NO}, {crSizeAll, IDC_SIZEALL}, {crDrag, IDC_ARROW}};
    for (const auto& s : standard)
        if (s.c == c) return FCursors[c] = LoadCursorA(nullptr, s.id);
    return CursorHandle(crDefault);
}

void TScreen::SetCursor(TCursor c)
{
    if (c == FCursor) return;
    FCursor = c;
    // Shown at once, also when the program is busy and reads no messages.
    POINT pt;
    GetCursorPos(&pt);
    if (c != crDefault) ::SetCursor(CursorHandle(c));
    else SetCursorPos(pt.x, pt.y);   // lets the window under the pointer choose again
}

// ---- Hints ---------------------------------------------------------------------------------

namespace {
constexpr UINT_PTR HintShowTimer = 1, HintHideTimer = 2;

// A control shows its hint when it has one and hints are on for it or for a control it stands on.
bool ShowsHint(const TControl* c)
{
    if (!c || c->Hint.empty()) return false;
    for (const TControl* p = c; p; p = p->Parent())
        if (p->ShowHint) return true;
    return false;
}

// The window a control is drawn in: its own, or its nearest windowed parent's.
const TControl* WindowOf(const TControl* c)
{
    while (c && !c->IsWindowed()) c = c->Parent();
    return c;
}
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner)
{
    FVisible = false;
    FColor = clInfoBk;
}

void THintWindow::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    p.WndParent = Application ? Application->Handle() : nullptr;
    p.ClassStyle = CS_SAVEBITS;
}

LRESULT THintWindow::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    // Never activated, and the pointer passes through to what lies under it.
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return TCustomControl::WndProc(msg, w, l);
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& text)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font.Handle());
    RECT r = {0, 0, maxWidth, 0};
    DrawTextOf(dc, text, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return Rect(0, 0, r.right + 6, r.bottom + 2);
}

void THintWindow::ActivateHint(TRect rect, const std::string& text)
{
    SetText(text);
    HWND h = Handle();
    SetWindowPos(h, HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FVisible = true;
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
}

void THintWindow::ReleaseHint()
{
    if (FHandle) ShowWindow(FHandle, SW_HIDE);
    FVisible = false;
}

void THintWindow::Paint()
{
    Canvas.Brush.SetColor(Application ? Application->HintColor : clInfoBk);
    Canvas.FillRect(ClientRect());
    Canvas.Brush.SetStyle(bsClear);
    Canvas.Font.Assign(Font);
    Canvas.Font.SetColor(clSystem | COLOR_INFOTEXT);
    RECT r = {2, 1, ClientWidth() - 2, ClientHeight()};
    Canvas.TextWidth("");                       // selects font and colours
    DrawTextOf(Canvas.Handle(), FText, &r, DT_WORDBREAK | DT_NOPREFIX | DT_LEFT);
}

void TApplication::SetShowHint(bool on)
{
    if (on == FShowHint) return;
    FShowHint = on;
    CancelHint();
    // The hint window goes; the next hint makes it anew, of the class asked for then.
    delete FHintWindow;
    FHintWindow = nullptr;
}

void TApplication::HintMouseMove(TControl* control, TPoint p)
{
    TControl* c = ShowsHint(control) ? control : nullptr;
    FHintPoint = p;
    if (c == FHintControl) {
        // Resting on the same control: the pause runs from the last move, until a hint shows.
        if (c && !FHintActive && !FHintDone && FHandle) SetTimer(FHandle, HintShowTimer, HintPause, nullptr);
        return;
    }
    FHintControl = c;
    FHintDone = false;
    bool wasShown = FHintWindow && FHintWindow->HintShown();
    if (wasShown) FHintWindow->ReleaseHint();
    if (FHandle) KillTimer(FHandle, HintHideTimer);
    if (!c || !FShowHint || !FHandle) {
        if (FHandle) KillTimer(FHandle, HintShowTimer);
        FHintActive = false;
        return;
    }
    // Moving on to a neighbour while a hint is up shows the next one almost at once.
    SetTimer(FHandle, HintShowTimer, wasShown ? HintShortPause : HintPause, nullptr);
    FHintActive = false;
}

void TApplication::HintMouseLeave(TControl* window)
{
    if (FHintControl && WindowOf(FHintControl) == window) HintMouseMove(nullptr, FHintPoint);
}

void TApplication::HintControlGone(TControl* control)
{
    if (FHintControl != control) return;
    CancelHint();
    FHintControl = nullptr;
}

void TApplication::CancelHint()
{
    if (FHandle) {
        KillTimer(FHandle, HintShowTimer);
        KillTimer(FHandle, HintHideTimer);
    }
    if (FHintWindow) FHintWindow->ReleaseHint();
    FHintActive = false;
    FHintDone = FHintControl != nullptr;     // not again until the pointer moves to another control
}

void TApplication::HintTimer(UINT_PTR id)
{
    KillTimer(FHandle, id);
    if (id == HintShowTimer) ShowHintNow();
    else if (id == HintHideTimer) CancelHint();
}

void TApplication::ShowHintNow()
{
    TControl* c = FHintControl;
    if (!c || !FShowHint || !c->Showing()) return;
    POINT pt;
    GetCursorPos(&pt);
    THintInfo info;
    info.HintControl = c;
    info.CursorPos = c->ScreenToClient({pt.x, pt.y});
    info.CursorRect = Rect(0, 0, c->Width(), c->Height());
    info.HintPos = {pt.x, pt.y + GetSystemMetrics(SM_CYCURSOR)};
    info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    info.HintColor = HintColor;
    std::string text = c->Hint;
    bool canShow = true;
    OnShowHint(text, canShow, info);
    if (!canShow || text.empty()) { FHintDone = true; return; }
    if (!FHintWindow) FHintWindow = HintWindowClass ? HintWindowClass(this) : new THintWindow(this);
    TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, text);
    r = Bounds(info.HintPos.X, info.HintPos.Y, r.Width(), r.Height());
    FHintWindow->ActivateHint(r, text);
    FHintActive = true;
    SetTimer(FHandle, HintHideTimer, info.HideTimeout > 0 ? info.HideTimeout : HintHidePause, nullptr);
}
