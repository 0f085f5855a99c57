#include "controls/NewCaption.h"
#include <map>
#include "toolkit/WideText.h"
#include "toolkit/pure/SysUtils.h"

namespace {
// The bars hooked into their forms' window procedures, by form window.
std::map<HWND, TNewCaption*>& Hooks()
{
    static std::map<HWND, TNewCaption*> hooks;
    return hooks;
}

TForm* RequireForm(TComponent* owner)
{
    auto* form = dynamic_cast<TForm*>(owner);
    if (!form) throw Exception("Invalid class typecast");
    return form;
}

// Runs show with the system's minimise and maximise animation switched off.
template <class F>
void WithoutAnimation(F show)
{
    ANIMATIONINFO ai = {sizeof ai, 0};
    bool animated = SystemParametersInfoA(SPI_GETANIMATION, sizeof ai, &ai, 0) && ai.iMinAnimate;
    if (animated) { ai.iMinAnimate = 0; SystemParametersInfoA(SPI_SETANIMATION, sizeof ai, &ai, 0); }
    show();
    if (animated) { ai.iMinAnimate = 1; SystemParametersInfoA(SPI_SETANIMATION, sizeof ai, &ai, 0); }
}
}

void ToggleMaximized(TForm* form)
{
    if (!form || !form->HandleAllocated()) return;
    HWND h = form->Handle();
    bool normal = form->WindowState() == wsNormal;
    WithoutAnimation([&] { ShowWindow(h, normal ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL); });
}

// ---- TNewCaption ---------------------------------------------------------------------------

TNewCaption::TNewCaption(TComponent* owner) : TCustomControl(owner), FOwnerForm(RequireForm(owner))
{
    SetAlign(alTop);
    SetBounds(0, 0, 100, 16);
    FText = FOwnerForm->Caption();
    ApplyColors();
}

TNewCaption::~TNewCaption()
{
    UnhookOwner();
}

void TNewCaption::HandleCreated()
{
    // The form's window exists once the bar's does (it is the bar's ancestor).
    if (!FOwnerForm->HandleAllocated()) return;
    FOwnerHandle = FOwnerForm->Handle();
    if (!FStyleAdjusted) {
        FStyleAdjusted = true;
        // The bar replaces the system caption. Only a caption that is really removed gives its
        // height back: a form without one (the borderless main window) keeps its size.
        LONG style = GetWindowLongA(FOwnerHandle, GWL_STYLE);
        LONG was = style;
        switch (FOwnerForm->BorderStyle) {
        case bsSingle: case bsSizeable: style = (style & ~WS_CAPTION) | WS_BORDER; break;
        case bsDialog: style = (style & ~WS_CAPTION) | WS_DLGFRAME | DS_MODALFRAME; break;
        default: break;
        }
        if (style != was) {
            SetWindowLongA(FOwnerHandle, GWL_STYLE, style);
            SetWindowPos(FOwnerHandle, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            if ((was & WS_CAPTION) == WS_CAPTION)
                FOwnerForm->SetHeight(FOwnerForm->Height() - GetSystemMetrics(SM_CYCAPTION));
        }
    }
    HookOwner();
}

void TNewCaption::HookOwner()
{
    if (FHooked || !FOwnerHandle) return;
    Hooks()[FOwnerHandle] = this;
    FPrevProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(FOwnerHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerProc)));
    FHooked = true;
}

void TNewCaption::UnhookOwner()
{
    if (!FHooked) return;
    if (IsWindow(FOwnerHandle) &&
        GetWindowLongPtrA(FOwnerHandle, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&OwnerProc))
        SetWindowLongPtrA(FOwnerHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevProc));
    Hooks().erase(FOwnerHandle);
    FHooked = false;
}

LRESULT CALLBACK TNewCaption::OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    auto it = Hooks().find(h);
    if (it == Hooks().end()) return DefWindowProcA(h, m, w, l);
    TNewCaption* bar = it->second;
    WNDPROC prev = bar->FPrevProc;
    if (m == WM_NCACTIVATE) {
        bar->FOwnerActive = w != 0;
        bar->ApplyColors();
    } else if (m == WM_NCDESTROY) {
        // The form's window goes first: put its procedure back and forget it.
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prev));
        Hooks().erase(it);
        bar->FHooked = false;
        bar->FOwnerHandle = nullptr;
    }
    return CallWindowProcA(prev, h, m, w, l);
}

void TNewCaption::ApplyColors()
{
    SetColor(FOwnerActive ? FActiveColor : FInactiveColor);
    Font.SetColor(FOwnerActive ? FTextActiveColor : FTextInactiveColor);
    Invalidate();
}

void TNewCaption::Paint()
{
    HDC dc = Canvas.Handle();
    if (Style == CS_Normal) {
        TRect r = Rect(TextLeft, 0, Width(), Height());
        RECT tr = {r.Left, r.Top, r.Right, r.Bottom};
        const UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
        Canvas.Font.SetColor(Font.Color());
        if (FImList && FImList->Width() > 0) {
            RECT clip;
            GetClipBox(dc, &clip);
            int x = 0;
            do {
                FImList->Draw(Canvas, x, 0, FOwnerActive ? 1 : 0);
                x += FImList->Width();
            } while (x < clip.right);
            Canvas.Brush.SetStyle(bsClear);
            Canvas.TextWidth("");                   // selects the font, text colour, clear background
            DrawTextOf(dc, FText, &tr, flags | DT_VCENTER);
        } else {
            Canvas.Brush.SetColor(FColor);
            Canvas.TextWidth("");                   // selects the font, text colour, opaque background
            RECT calc = tr;
            DrawTextOf(dc, FText, &calc, flags | DT_CALCRECT);
            if (calc.right > tr.right) calc.right = tr.right;
            int th = calc.bottom - calc.top;
            int d = Height() - th;
            d = d >= 0 ? d / 2 : -((-d + 1) / 2);   // floor
            OffsetRect(&calc, 0, d);
            DrawTextOf(dc, FText, &calc, flags);
            int saved = SaveDC(dc);
            ExcludeClipRect(dc, calc.left, calc.top, calc.right, calc.bottom);
            RECT clip;
            GetClipBox(dc, &clip);
            Canvas.FillRect(Rect(clip.left, clip.top, clip.right, clip.bottom));
            RestoreDC(dc, saved);
        }
    }
    OnPaint(this, Canvas);
}

void TNewCaption::TextChanged()
{
    // Repaint now, the icon area left of the text untouched (a hidden window paints when shown).
    if (!Parent() || !HandleAllocated() || !IsWindowVisible(FHandle)) return;
    HDC dc = GetDC(FHandle);
    int saved = SaveDC(dc);
    ExcludeClipRect(dc, 0, 0, TextLeft, Height());
    PaintOnCanvas(dc);
    RestoreDC(dc, saved);
    ReleaseDC(FHandle, dc);
}

void TNewCaption::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft) SetCapture(Handle());
    if (EasyMove && b == mbLeft) FGrab = {x, y};
    TCustomControl::MouseDown(b, s, x, y);
}

void TNewCaption::MouseMove(TShiftState s, int x, int y)
{
    if (EasyMove && (s & ssLeft) && GetCapture() == FHandle && FOwnerForm->WindowState() != wsMaximized)
        FOwnerForm->SetBounds(FOwnerForm->Left() + x - FGrab.X, FOwnerForm->Top() + y - FGrab.Y,
                              FOwnerForm->Width(), FOwnerForm->Height());
    TCustomControl::MouseMove(s, x, y);
}

void TNewCaption::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft && GetCapture() == FHandle) ReleaseCapture();
    TCustomControl::MouseUp(b, s, x, y);
}

void TNewCaption::DblClick()
{
    if (FOwnerForm->BorderIcons & biMaximize) {
        ToggleMaximized(FOwnerForm);
        ReleaseCapture();
    }
    TCustomControl::DblClick();
}

// ---- TILBtn --------------------------------------------------------------------------------

TILBtn::TILBtn(TComponent* owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 16, 16);
}

void TILBtn::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.ClassStyle = FDeliverDblClicks ? CS_DBLCLKS : 0;
}

void TILBtn::SetImList(TImageList* il)
{
    FImList = il;
    if (il && il->Count() > 0) SetBounds(Left(), Top(), il->Width(), il->Height());
    Repaint();
}

int TILBtn::ImageOffset() const
{
    int offset = FPressed ? 1 : 0;
    if (FDown) offset = Style == ILBtn_Switch2 ? 1 - offset : offset + 2;
    return offset;
}

void TILBtn::Paint()
{
    if (FImList) FImList->Draw(Canvas, 0, 0, ImageIndex + ImageOffset());
}

void TILBtn::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft) {
        SetCapture(Handle());
        SetPressed(true);
    }
    TCustomControl::MouseDown(b, s, x, y);
}

void TILBtn::MouseMove(TShiftState s, int x, int y)
{
    SetPressed((s & ssLeft) && GetCapture() == FHandle && x >= 0 && x < Width() && y >= 0 && y < Height());
    TCustomControl::MouseMove(s, x, y);
}

void TILBtn::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft) {
        SetPressed(false);
        if (GetCapture() == FHandle) ReleaseCapture();
    }
    TCustomControl::MouseUp(b, s, x, y);
}

void TILBtn::Click()
{
    if (Style != ILBtn_Btn) SetDown(!FDown);
    TCustomControl::Click();
}

// ---- TSysBtn -------------------------------------------------------------------------------

TSysBtn::TSysBtn(TComponent* owner) : TILBtn(owner)
{
    RequireForm(owner);
    SetSysCommand(scSystemMenu);
}

TForm* TSysBtn::OwnerForm() const { return static_cast<TForm*>(Owner()); }

void TSysBtn::SetSysCommand(TSysCommand c)
{
    FSysCommand = c;
    bool dbl = c == scSystemMenu;
    if (dbl != FDeliverDblClicks) {
        FDeliverDblClicks = dbl;
        RecreateWnd();
    }
    if (!PopupMenu)
        FMenu = dbl && OwnerForm()->HandleAllocated() ? GetSystemMenu(OwnerForm()->Handle(), FALSE) : nullptr;
    Style = c == scMaximize ? ILBtn_Switch4 : ILBtn_Btn;
}

void TSysBtn::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    TILBtn::MouseDown(b, s, x, y);
    if (PopupMenu) FMenu = PopupMenu;
    else if (FSysCommand == scSystemMenu && !FMenu && OwnerForm()->HandleAllocated())
        FMenu = GetSystemMenu(OwnerForm()->Handle(), FALSE);
    if (!FMenu || b != mbLeft) return;
    MSG m;
    if (Parent() && Parent()->HandleAllocated() &&
        PeekMessageA(&m, Parent()->Handle(), WM_LBUTTONDBLCLK, WM_LBUTTONDBLCLK, PM_NOREMOVE))
        return;
    POINT pt = {0, Height()};
    ::ClientToScreen(FHandle, &pt);
    TrackPopupMenu(FMenu, TPM_LEFTALIGN | TPM_LEFTBUTTON, pt.x, pt.y, 0, OwnerForm()->Handle(), nullptr);
    // The click that closed the menu is not a new press of the button; draw it released.
    while (PeekMessageA(&m, FHandle, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE)) {}
    MouseUp(b, s, x, y);
}

void TSysBtn::Click()
{
    TForm* form = OwnerForm();
    switch (FSysCommand) {
    case scMinimize: if (Application) Application->Minimize(); break;
    case scMaximize: ToggleMaximized(form); break;
    case scHelp: if (form->HandleAllocated()) PostMessageA(form->Handle(), WM_SYSCOMMAND, SC_CONTEXTHELP, 0); break;
    case scClose: form->Close(); break;
    default: break;
    }
    TILBtn::Click();
}

void TSysBtn::DblClick()
{
    TILBtn::DblClick();
    if (FSysCommand == scSystemMenu) OwnerForm()->Close();
}
