#include "toolkit/Controls.h"
#include <windowsx.h>
#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_map>
#include "toolkit/Forms.h"

namespace {
const char* ObjectProp = "SonidexControl";
thread_local TWinControl* CreatingControl = nullptr;

// Window to object, looked up for every message. The window property stays for anyone who
// looks at the window from outside; the lookup itself uses this table, since reading a
// property is a round trip to the window server under Wine (about 12 microseconds: a list of
// 100,000 lines sends several messages per line).
std::mutex BoundLock;
std::unordered_map<HWND, TWinControl*>& Bound()
{
    static std::unordered_map<HWND, TWinControl*> table;
    return table;
}

void Bind(HWND h, TWinControl* c)
{
    SetPropA(h, ObjectProp, c);
    std::lock_guard<std::mutex> lock(BoundLock);
    Bound()[h] = c;
}

void Unbind(HWND h)
{
    RemovePropA(h, ObjectProp);
    std::lock_guard<std::mutex> lock(BoundLock);
    Bound().erase(h);
}
}

TShiftState KeysToShiftState(WPARAM k)
{
    TShiftState s = 0;
    if (k & MK_SHIFT) s |= ssShift;
    if (k & MK_CONTROL) s |= ssCtrl;
    if (k & MK_LBUTTON) s |= ssLeft;
    if (k & MK_RBUTTON) s |= ssRight;
    if (k & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState KeyboardShiftState()
{
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TForm* GetParentForm(const TControl* c)
{
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

// ---- TControl ------------------------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    Font.OnChange = {this, &TControl::FontChanged};
}

TControl::~TControl()
{
    if (Application) Application->HintControlGone(this);
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* p)
{
    if (p == FParent) return;
    if (FParent) FParent->RemoveControl(this);
    FParent = nullptr;
    if (p) {
        if (ParentFont) { Font.Assign(p->Font); ParentFont = true; }
        p->InsertControl(this);
    }
}

void TControl::SetBounds(int l, int t, int w, int h)
{
    if (l == FLeft && t == FTop && w == FWidth && h == FHeight) return;
    if (FParent && FVisible) Invalidate();
    FLeft = l; FTop = t; FWidth = w; FHeight = h;
    if (FParent && FVisible) Invalidate();
    BoundsChanged();
    RequestAlign();
}

void TControl::SetAlign(TAlign a)
{
    if (a == FAlign) return;
    FAlign = a;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent && FAlign != alNone) FParent->AlignControls();
}

void TControl::SetVisible(bool v)
{
    if (v == FVisible) return;
    if (FVisible) Invalidate();
    FVisible = v;
    if (FVisible) Invalidate();
    RequestAlign();
}

bool TControl::Showing() const
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible()) return false;
    return true;
}

void TControl::SetEnabled(bool e)
{
    if (e == FEnabled) return;
    FEnabled = e;
    Invalidate();
}

void TControl::SetColor(TColor c)
{
    if (c == FColor) return;
    FColor = c;
    Invalidate();
}

void TControl::SetText(const std::string& s)
{
    if (s == FText) return;
    FText = s;
    TextChanged();
}

TPoint TControl::ClientOriginInWindow() const
{
    TPoint p;
    const TControl* c = this;
    while (c && !c->IsWindowed()) {
        p.X += c->FLeft; p.Y += c->FTop;
        c = c->Parent();
    }
    return p;
}

void TControl::Invalidate()
{
    if (!FParent || !FParent->HandleAllocated()) return;
    TPoint o = ClientOriginInWindow();
    RECT r = {o.X, o.Y, o.X + FWidth, o.Y + FHeight};
    InvalidateRect(FParent->Handle(), &r, TRUE);
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::Update()
{
    // Paints what is invalid now: the control's own window, or the window it is drawn on.
    if (IsWindowed()) {
        auto* w = static_cast<TWinControl*>(this);
        if (w->HandleAllocated()) UpdateWindow(w->Handle());
    } else if (FParent && FParent->HandleAllocated()) {
        UpdateWindow(FParent->Handle());
    }
}

TPoint TControl::ClientToScreen(TPoint p) const
{
    if (IsWindowed()) {
        auto* w = const_cast<TWinControl*>(static_cast<const TWinControl*>(this));
        POINT pt = {p.X, p.Y};
        ::ClientToScreen(w->Handle(), &pt);
        return {pt.x, pt.y};
    }
    TPoint o = ClientOriginInWindow();
    return FParent ? FParent->ClientToScreen({p.X + o.X, p.Y + o.Y}) : p;
}

TPoint TControl::ScreenToClient(TPoint p) const
{
    TPoint origin = ClientToScreen({0, 0});
    return {p.X - origin.X, p.Y - origin.Y};
}

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft && !(s & ssDouble)) FClicked = true;
    OnMouseDown(this, b, s, x, y);
}

void TControl::MouseMove(TShiftState s, int x, int y) { OnMouseMove(this, s, x, y); }

void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    bool click = b == mbLeft && FClicked && x >= 0 && y >= 0 && x < FWidth && y < FHeight;
    if (b == mbLeft) FClicked = false;
    if (click && !IsWindowed()) Click();
    OnMouseUp(this, b, s, x, y);
}

// ---- TGraphicControl -----------------------------------------------------------------------

void TGraphicControl::PaintTo(HDC dc)
{
    Canvas.SetHandle(dc);
    Canvas.Font.Assign(Font);
    try {
        Paint();
    } catch (...) {
        Canvas.SetHandle(nullptr);
        throw;
    }
    Canvas.SetHandle(nullptr);
}

void TGraphicControl::PaintNow()
{
    if (!FParent || !FParent->HandleAllocated() || !Showing()) return;
    HDC dc = GetDC(FParent->Handle());
    int saved = SaveDC(dc);
    TPoint o = ClientOriginInWindow();
    IntersectClipRect(dc, o.X, o.Y, o.X + FWidth, o.Y + FHeight);
    SetViewportOrgEx(dc, o.X, o.Y, nullptr);
    PaintTo(dc);
    RestoreDC(dc, saved);
    ReleaseDC(FParent->Handle(), dc);
}

// ---- TWinControl ---------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    for (TControl* c : FControls) c->FParent = nullptr;
    FControls.clear();
    if (FStandIn && IsWindow(FStandIn)) DestroyWindow(FStandIn);
    if (FHandle) {
        // From here on the window's messages reach no object: this one is going.
        Unbind(FHandle);
        if (FDefProc && FDefProc != &DefWindowProcA)
            SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefProc));
        DestroyWindow(FHandle);
        FHandle = nullptr;
    }
    if (FBrush) DeleteObject(FBrush);
}

TWinControl* TWinControl::FromHandle(HWND h)
{
    if (!h) return nullptr;
    std::lock_guard<std::mutex> lock(BoundLock);
    auto it = Bound().find(h);
    return it == Bound().end() ? nullptr : it->second;
}

void TWinControl::InsertControl(TControl* c)
{
    FControls.push_back(c);
    c->FParent = this;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        if (FHandle) w->HandleNeeded();
    } else {
        c->Invalidate();
    }
    if (c->FAlign != alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* c)
{
    if (FCaptureControl == c) FCaptureControl = nullptr;
    if (FHoverControl == c) FHoverControl = nullptr;
    auto it = std::find(FControls.begin(), FControls.end(), c);
    if (it == FControls.end()) return;
    c->Invalidate();
    FControls.erase(it);
    c->FParent = nullptr;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FHandle) w->DestroyWnd();
}

void TWinControl::CreateParams(TCreateParams& p)
{
    p.Caption = FText;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | (FVisible ? WS_VISIBLE : 0) | (FEnabled ? 0 : WS_DISABLED) |
              (TabStop ? WS_TABSTOP : 0);
    p.X = FLeft; p.Y = FTop; p.Width = FWidth; p.Height = FHeight;
    p.WndParent = FParent ? FParent->Handle() : nullptr;
    p.WinClassName = ClassName();
}

HWND TWinControl::Handle()
{
    if (!FHandle) CreateWnd();
    return FHandle;
}

void TWinControl::CreateWnd()
{
    TCreateParams p;
    CreateParams(p);
    if ((p.Style & WS_CHILD) && !p.WndParent) throw Exception("Control '" + Name + "' has no parent window");
    HINSTANCE inst = GetModuleHandleA(nullptr);
    if (p.SysClass) {
        FHandle = CreateWindowExA(p.ExStyle, p.SysClass, p.Caption.c_str(), p.Style, p.X, p.Y, p.Width, p.Height,
                                  p.WndParent, nullptr, inst, nullptr);
        if (!FHandle) throw Exception("Error creating window");
        Bind(FHandle, this);
        FDefProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc)));
    } else {
        WNDCLASSA known;
        if (!GetClassInfoA(inst, p.WinClassName.c_str(), &known)) {
            WNDCLASSEXA wc = {sizeof wc};
            wc.style = p.ClassStyle;
            wc.lpfnWndProc = &StaticWndProc;
            wc.hInstance = inst;
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            // Only a top-level window shows an icon (a child's class with one costs the
            // system a small copy of it).
            if (Application && !(p.Style & WS_CHILD)) {
                wc.hIcon = Application->Icon();
                wc.hIconSm = Application->SmallIcon();
            }
            wc.lpszClassName = p.WinClassName.c_str();
            RegisterClassExA(&wc);
        }
        FDefProc = &DefWindowProcA;
        TWinControl* previous = CreatingControl;
        CreatingControl = this;
        HWND h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                                 p.Width, p.Height, p.WndParent, nullptr, inst, nullptr);
        CreatingControl = previous;
        if (!h) throw Exception("Error creating window");
        FHandle = h;
    }
    if (FStandIn) {
        // The window takes its stand-in's place among its siblings.
        SetWindowPos(FHandle, FStandIn, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        DestroyWindow(FStandIn);
        FStandIn = nullptr;
    }
    SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), 0);
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            if (w->CreateLate) w->MakeStandIn();
            else w->HandleNeeded();
        }
    HandleCreated();
    AlignControls();
}

LRESULT CALLBACK TWinControl::StandInProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_ERASEBKGND) {
        auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        RECT r;
        GetClientRect(h, &r);
        if (control) FillRect(reinterpret_cast<HDC>(w), &r, control->ColorBrush());
        return 1;
    }
    return DefWindowProcA(h, m, w, l);
}

void TWinControl::MakeStandIn()
{
    // A hidden one needs none: it is made when it is first shown.
    if (FHandle || !FVisible) return;
    if (FStandIn && IsWindow(FStandIn)) DestroyWindow(FStandIn);
    TCreateParams p;
    CreateParams(p);
    HINSTANCE inst = GetModuleHandleA(nullptr);
    static const bool registered = [inst] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &StandInProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = "TStandIn";
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    // The frame and visibility of the window to come; nothing that takes input.
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_DISABLED | (p.Style & (WS_VISIBLE | WS_BORDER));
    FStandIn = CreateWindowExA(p.ExStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), "TStandIn", "", style, p.X, p.Y,
                               p.Width, p.Height, p.WndParent, nullptr, inst, nullptr);
    if (FStandIn) SetWindowLongPtrA(FStandIn, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TWinControl::DestroyWnd()
{
    if (FHandle) DestroyWindow(FHandle);
    FHandle = nullptr;
}

void TWinControl::RecreateWnd()
{
    if (!FHandle) return;
    DestroyWnd();
    CreateWnd();
}

void TWinControl::UpdateBoundsFromWindow()
{
    RECT r;
    GetWindowRect(FHandle, &r);
    HWND parent = GetParent(FHandle);
    if (parent && (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    bool sized = r.right - r.left != FWidth || r.bottom - r.top != FHeight;
    FLeft = r.left; FTop = r.top; FWidth = r.right - r.left; FHeight = r.bottom - r.top;
    if (sized) { BoundsChanged(); AlignControls(); }
}

void TWinControl::SetBounds(int l, int t, int w, int h)
{
    if (FHandle) {
        if (l != FLeft || t != FTop || w != FWidth || h != FHeight)
            SetWindowPos(FHandle, nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateBoundsFromWindow();
        RequestAlign();
    } else {
        TControl::SetBounds(l, t, w, h);
        AlignControls();
        if (FStandIn) SetWindowPos(FStandIn, nullptr, l, t, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TWinControl::SetVisible(bool v)
{
    if (v == FVisible) return;
    FVisible = v;
    if (FHandle) ShowWindow(FHandle, v ? SW_SHOWNA : SW_HIDE);
    else if (FStandIn) ShowWindow(FStandIn, v ? SW_SHOWNA : SW_HIDE);
    else if (v && CreateLate && FParent && FParent->HandleAllocated()) HandleNeeded();
    RequestAlign();
}

void TWinControl::SetEnabled(bool e)
{
    if (e == FEnabled) return;
    FEnabled = e;
    if (FHandle) EnableWindow(FHandle, e);
    Invalidate();
}

void TWinControl::SetColor(TColor c)
{
    if (c == FColor) return;
    FColor = c;
    if (FBrush) { DeleteObject(FBrush); FBrush = nullptr; }
    Invalidate();
    if (FStandIn) InvalidateRect(FStandIn, nullptr, TRUE);
}

HBRUSH TWinControl::ColorBrush()
{
    if (!FBrush) FBrush = CreateSolidBrush(ColorToRGB(FColor));
    return FBrush;
}

void TWinControl::SetText(const std::string& s)
{
    if (s == FText) return;
    FText = s;
    if (FHandle) SetWindowTextA(FHandle, s.c_str());
    TextChanged();
}

void TWinControl::FontChanged(TObject*)
{
    if (FHandle) SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), TRUE);
    Invalidate();
}

void TWinControl::Invalidate()
{
    if (FHandle) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Repaint()
{
    if (FHandle) RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

TRect TWinControl::ClientRect() const
{
    if (!FHandle) return TControl::ClientRect();
    RECT r;
    GetClientRect(FHandle, &r);
    return Rect(r.left, r.top, r.right, r.bottom);
}

void TWinControl::SetFocus()
{
    if (Handle()) ::SetFocus(FHandle);
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::AlignControls()
{
    if (FInAlign) return;
    FInAlign = true;
    TRect r = ClientRect();
    auto place = [&](TAlign which) {
        for (TControl* c : FControls) {
            if (c->FAlign != which || !c->FVisible) continue;
            int l = r.Left, t = r.Top, w = r.Width(), h = r.Height();
            switch (which) {
            case alTop: h = c->FHeight; r.Top += h; break;
            case alBottom: h = c->FHeight; t = r.Bottom - h; r.Bottom -= h; break;
            case alLeft: w = c->FWidth; r.Left += w; break;
            case alRight: w = c->FWidth; l = r.Right - w; r.Right -= w; break;
            default: break;
            }
            TAlign keep = c->FAlign;
            c->FAlign = alNone;          // no re-entry through RequestAlign
            c->SetBounds(l, t, w, h);
            c->FAlign = keep;
        }
    };
    place(alTop); place(alBottom); place(alLeft); place(alRight); place(alClient);
    FInAlign = false;
}

void TWinControl::PaintControls(HDC dc)
{
    for (TControl* c : FControls) {
        if (c->IsWindowed() || !c->Visible()) continue;
        RECT rc = {c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()};
        if (!RectVisible(dc, &rc)) continue;
        int saved = SaveDC(dc);
        IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
        POINT org;
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.x + c->Left(), org.y + c->Top(), nullptr);
        c->PaintTo(dc);
        RestoreDC(dc, saved);
    }
}

bool TWinControl::DispatchDialogChar(char key)
{
    for (TControl* c : FControls) {
        if (!c->Visible()) continue;
        if (c->DialogChar(key)) return true;
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->DispatchDialogChar(key)) return true;
    }
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint p) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->Visible() || !c->Enabled()) continue;
        if (p.X >= c->Left() && p.Y >= c->Top() && p.X < c->Left() + c->Width() && p.Y < c->Top() + c->Height())
            return c;
    }
    return nullptr;
}

bool TWinControl::EraseBackground(HDC dc)
{
    RECT r;
    GetClientRect(FHandle, &r);
    FillRect(dc, &r, ColorBrush());
    return true;
}

void TWinControl::PaintWindow(HDC dc) { PaintControls(dc); }

void TCustomControl::PaintWindow(HDC dc)
{
    PaintOnCanvas(dc);
    PaintControls(dc);
}

void TCustomControl::PaintOnCanvas(HDC dc)
{
    Canvas.SetHandle(dc);
    Canvas.Font.Assign(Font);
    Canvas.Brush.SetColor(FColor);
    try {
        Paint();
    } catch (...) {
        Canvas.SetHandle(nullptr);
        throw;
    }
    Canvas.SetHandle(nullptr);
}

LRESULT TWinControl::DefaultHandler(UINT msg, WPARAM w, LPARAM l)
{
    if (msg >= CN_BASE && msg < CN_BASE + 0x400) {
        // A reflected colour request nobody answered: the control's font and background colour.
        if (msg >= CN_BASE + WM_CTLCOLORMSGBOX && msg <= CN_CTLCOLORSTATIC) {
            HDC dc = reinterpret_cast<HDC>(w);
            SetTextColor(dc, ColorToRGB(Font.Color()));
            SetBkColor(dc, ColorToRGB(FColor));
            return reinterpret_cast<LRESULT>(ColorBrush());
        }
        return 0;
    }
    return CallWindowProcA(FDefProc ? FDefProc : &DefWindowProcA, FHandle, msg, w, l);
}

bool TWinControl::HandleMouse(UINT msg, WPARAM w, LPARAM l)
{
    TPoint p = {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
    TShiftState s = KeysToShiftState(w);
    TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(p);
    if (msg == WM_MOUSEMOVE && target != FHoverControl) {
        if (FHoverControl) FHoverControl->MouseLeave();
        FHoverControl = target;
        if (target) target->MouseEnter();
    }
    TControl* c = target ? target : static_cast<TControl*>(this);
    TPoint o = target ? TPoint{target->Left(), target->Top()} : TPoint{0, 0};
    int x = p.X - o.X, y = p.Y - o.Y;
    if (Application) {
        if (msg == WM_MOUSEMOVE) Application->HintMouseMove(c, ClientToScreen(p));
        else if (msg != WM_LBUTTONUP && msg != WM_RBUTTONUP && msg != WM_MBUTTONUP) Application->CancelHint();
    }
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!FTracking) {
            TRACKMOUSEEVENT t = {sizeof t, TME_LEAVE, FHandle, 0};
            FTracking = TrackMouseEvent(&t);
        }
        c->MouseMove(s, x, y);
        break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
        TMouseButton b = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) ? mbLeft
                       : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? mbRight : mbMiddle;
        bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
        if (target) {
            FCaptureControl = target;
            SetCapture(FHandle);
        }
        if (dbl && b == mbLeft) c->DblClick();
        c->MouseDown(b, s | (dbl ? static_cast<TShiftState>(ssDouble) : 0u), x, y);
        break;
    }
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
        TMouseButton b = msg == WM_LBUTTONUP ? mbLeft : msg == WM_RBUTTONUP ? mbRight : mbMiddle;
        if (target && !(w & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
            FCaptureControl = nullptr;
            if (GetCapture() == FHandle) ReleaseCapture();
        }
        bool windowedClick = !target && b == mbLeft && FClicked && x >= 0 && y >= 0 && x < FWidth && y < FHeight;
        c->MouseUp(b, s, x, y);
        if (windowedClick && FDefProc == &DefWindowProcA) Click();
        break;
    }
    }
    return target != nullptr;   // a windowless child's message is not the window's own
}

bool TWinControl::HandleKey(UINT msg, WPARAM w, LPARAM l)
{
    if (Application && (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)) Application->CancelHint();
    TForm* form = GetParentForm(this);
    bool preview = form && form != this && form->KeyPreview;
    if (msg == WM_CHAR) {
        char ch = static_cast<char>(w);
        if (preview) { form->KeyPress(ch); if (!ch) return true; }
        KeyPress(ch);
        return ch == 0;
    }
    WORD key = static_cast<WORD>(w);
    bool down = msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN;
    TShiftState s = KeyboardShiftState() | (down && (l & (1 << 30)) ? static_cast<TShiftState>(ssRepeat) : 0u);
    if (preview) {
        if (down) form->KeyDown(key, s); else form->KeyUp(key, s);
        if (!key) return true;
    }
    if (down) KeyDown(key, s); else KeyUp(key, s);
    return key == 0;
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    switch (msg) {
    case WM_COMMAND:
        if (l) if (auto* c = FromHandle(reinterpret_cast<HWND>(l))) return c->WndProc(CN_COMMAND, w, l);
        break;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(l);
        if (auto* c = FromHandle(hdr->hwndFrom); c && c != this) return c->WndProc(CN_NOTIFY, w, l);
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        if (auto* c = FromHandle(dis->hwndItem); c && c != this) return c->WndProc(CN_DRAWITEM, w, l);
        break;
    }
    case WM_HSCROLL: case WM_VSCROLL:
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
        if (l) if (auto* c = FromHandle(reinterpret_cast<HWND>(l)); c && c != this) return c->WndProc(CN_BASE + msg, w, l);
        break;
    case WM_ERASEBKGND:
        if (FDefProc == &DefWindowProcA) return EraseBackground(reinterpret_cast<HDC>(w)) ? 1 : 0;
        break;
    case WM_PAINT:
        if (FDefProc == &DefWindowProcA) {
            PAINTSTRUCT ps;
            HDC dc = w ? reinterpret_cast<HDC>(w) : BeginPaint(FHandle, &ps);
            try {
                PaintWindow(dc);
            } catch (...) {
                if (!w) EndPaint(FHandle, &ps);
                throw;
            }
            if (!w) EndPaint(FHandle, &ps);
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
        if (PressAfterDefault && FDefProc != &DefWindowProcA &&
            (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN)) {
            const LRESULT r = DefaultHandler(msg, w, l);
            HandleMouse(msg, w, l);
            return r;
        }
        if (HandleMouse(msg, w, l)) return 0;
        break;
    case WM_MOUSELEAVE:
        FTracking = false;
        if (Application) Application->HintMouseLeave(this);
        if (FHoverControl) { FHoverControl->MouseLeave(); FHoverControl = nullptr; }
        MouseLeave();
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(l) != FHandle) FCaptureControl = nullptr;
        break;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: case WM_CHAR:
        if (HandleKey(msg, w, l)) return 0;
        break;
    case WM_SETFOCUS: {
        LRESULT r = DefaultHandler(msg, w, l);
        if (TForm* f = GetParentForm(this); f && f != this) f->SetActiveControlField(this);
        DoEnter();
        return r;
    }
    case WM_KILLFOCUS: {
        LRESULT r = DefaultHandler(msg, w, l);
        DoExit();
        return r;
    }
    case WM_SETCURSOR:
        if (LOWORD(l) == HTCLIENT && Screen) {
            if (Screen->Cursor() != crDefault) { SetCursor(Screen->CursorHandle(Screen->Cursor())); return TRUE; }
            POINT pt;
            GetCursorPos(&pt);
            ::ScreenToClient(FHandle, &pt);
            TControl* c = ControlAtPos({pt.x, pt.y});
            TCursor cur = c && c->Cursor != crDefault ? c->Cursor : Cursor;
            if (cur != crDefault) { SetCursor(Screen->CursorHandle(cur)); return TRUE; }
        }
        break;
    case WM_SIZE: case WM_MOVE:
        if (FHandle) UpdateBoundsFromWindow();
        break;
    }
    return DefaultHandler(msg, w, l);
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    TWinControl* self = FromHandle(h);
    if (!self && CreatingControl) {             // messages before CreateWindow returns
        self = CreatingControl;
        self->FHandle = h;
        Bind(h, self);
    }
    if (!self) return DefWindowProcA(h, m, w, l);
    if (m == WM_NCDESTROY) {
        WNDPROC def = self->FDefProc;
        Unbind(h);
        self->FHandle = nullptr;
        return CallWindowProcA(def ? def : &DefWindowProcA, h, m, w, l);
    }
    try {
        LRESULT hooked = 0;
        if (self->MessageHook && self->MessageHook(m, w, l, hooked)) return hooked;
        return self->WndProc(m, w, l);
    } catch (const std::exception& e) {
        if (Application) Application->HandleException(e);
        return 0;
    }
}
