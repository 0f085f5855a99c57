// The main window's behaviour: its caption strip, dragging it by the background with the
// side-toggling double click, snapping to the screen's edges and keeping it on the screen.
#include <windowsx.h>
#include "app/Settings.h"
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "app/pure/Layout.h"

namespace {
// The span of all monitors together: a window kept on it can always be reached.
RECT VirtualScreen()
{
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (w <= 0 || h <= 0) { x = y = 0; w = GetSystemMetrics(SM_CXSCREEN); h = GetSystemMetrics(SM_CYSCREEN); }
    return {x, y, x + w, y + h};
}

constexpr TCursor LeftCursor = 5, RightCursor = 6;
}

void TSonidexForm::CreateCaptionStrip()
{
    CapBtnIL = new TImageList(this, 16, 16, true);
    CapBtnIL->Name = "CapBtnIL";
    CapBtnIL->ResourceLoad("CapBtnIL", clRed);
    MinBtnIL = new TImageList(this, 13, 16, true);
    MinBtnIL->Name = "MinBtnIL";
    MinBtnIL->ResourceLoad("MinBtnIL", clRed);

    // From right to left: close, minimise, the right and the left panel's buttons, the title.
    // Each is aligned to the right edge of what is left of the strip, so the order of making
    // is the order from the right.
    auto button = [this](auto* b, const char* name, TImageList* images, int index) {
        b->Name = name;
        b->SetImList(images);
        b->ImageIndex = index;
        b->SetAlign(alRight);
        b->SetParent(CapPanel);
        return b;
    };
    auto sysButton = [&](const char* name, TSysCommand command, int index) {
        auto* b = new TSysBtn(this);
        b->SetSysCommand(command);
        return button(b, name, CapBtnIL, index);
    };
    auto panelButton = [&](const char* name, int index, const char* hint, void (TSonidexForm::*click)(TObject*)) {
        auto* b = button(new TILBtn(this), name, MinBtnIL, index);
        b->Hint = hint;
        b->OnClick = {this, click};
        return b;
    };
    CloseBtn = sysButton("CloseBtn", scClose, 0);
    MinBtn = sysButton("MinBtn", scMinimize, 2);
    ColRightBtn = panelButton("ColRightBtn", 2, "Toggle Right Panel", &TSonidexForm::ColRightBtnClick);
    ColLeftBtn = panelButton("ColLeftBtn", 0, "Toggle Left Panel", &TSonidexForm::ColLeftBtnClick);

    NewCaption = new TNewCaption(this);
    NewCaption->Name = "NewCaption";
    NewCaption->SetActiveColor(13164776);         // RGB(232, 224, 200)
    NewCaption->SetInactiveColor(clGray);
    NewCaption->SetTextActiveColor(0x142830);     // RGB(48, 40, 20)
    NewCaption->SetTextInactiveColor(clSilver);
    NewCaption->ParentFont = false;
    NewCaption->Font.SetName("Arial");
    NewCaption->Font.SetHeight(-11);
    NewCaption->Font.SetStyle(fsBold);
    NewCaption->TextLeft = 19;
    NewCaption->SetCaption("Sonidex");
    NewCaption->SetAlign(alClient);
    NewCaption->SetParent(CapPanel);
    NewCaption->OnPaint = {this, &TSonidexForm::NewCaptionPaint};
    NewCaption->OnDblClick = {this, &TSonidexForm::NewCaptionDblClick};
}

void TSonidexForm::MakeDragSurface(TControl* surface)
{
    surface->OnMouseDown = {this, &TSonidexForm::DragMouseDown};
    surface->OnMouseMove = {this, &TSonidexForm::DragMouseMove};
    surface->OnMouseUp = {this, &TSonidexForm::DragMouseUp};
    surface->OnDblClick = {this, &TSonidexForm::DragDblClick};
}

void TSonidexForm::ColLeftBtnClick(TObject*)
{
    ApplyLayout(!AppSettings.LeftCollapsed, AppSettings.RightCollapsed);
}

void TSonidexForm::ColRightBtnClick(TObject*)
{
    ApplyLayout(AppSettings.LeftCollapsed, !AppSettings.RightCollapsed);
}

void TSonidexForm::NewCaptionPaint(TObject*, TCanvas& canvas)
{
    CapBtnIL->Draw(canvas, 1, 0, 4);
}

bool TSonidexForm::CheckSideToCollapse(int screenX)
{
    TPoint centre = WAVList->ClientToScreen({WAVList->Width() / 2, 0});
    PointerRightOfList = centre.X < screenX;
    return PointerRightOfList;
}

void TSonidexForm::DragMouseDown(TObject* sender, TMouseButton button, TShiftState, int x, int y)
{
    if (button != mbLeft) return;
    auto* surface = static_cast<TControl*>(sender);
    FDragAnchor = {x, y};
    CheckSideToCollapse(surface->ClientToScreen({x, 0}).X);
    // A windowed surface keeps the pointer while it is dragged beyond its edges.
    if (auto* w = dynamic_cast<TWinControl*>(surface)) SetCapture(w->Handle());
}

void TSonidexForm::DragMouseUp(TObject* sender, TMouseButton button, TShiftState, int, int)
{
    auto* w = dynamic_cast<TWinControl*>(static_cast<TControl*>(sender));
    if (button == mbLeft && w && w->HandleAllocated() && GetCapture() == w->Handle()) ReleaseCapture();
}

void TSonidexForm::DragMouseMove(TObject* sender, TShiftState shift, int x, int y)
{
    auto* surface = static_cast<TControl*>(sender);
    if (!(shift & ssLeft)) {
        // The arrowhead tells which side a double click here toggles.
        bool right = CheckSideToCollapse(surface->ClientToScreen({x, 0}).X);
        TCursor want = right ? RightCursor : LeftCursor;
        if (surface->Cursor != want) {
            surface->Cursor = want;
            if (auto* w = dynamic_cast<TWinControl*>(surface))
                SendMessageA(w->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(w->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            else if (surface->Parent())
                SendMessageA(surface->Parent()->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(surface->Parent()->Handle()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        }
        FDragAnchor.X = NoDrag;
        return;
    }
    if (FDragAnchor.X == NoDrag) return;
    int newLeft = KeepLeftOnScreen(Left() - FDragAnchor.X + x, Width());
    int newTop = Top() - FDragAnchor.Y + y;
    SetBounds(newLeft, newTop, Width(), Height());
    MSG m;
    while (PeekMessageA(&m, Handle(), WM_MOVE, WM_MOVE, PM_REMOVE)) {}
}

void TSonidexForm::DragDblClick(TObject*)
{
    if (PointerRightOfList) ApplyLayout(AppSettings.LeftCollapsed, !AppSettings.RightCollapsed);
    else ApplyLayout(!AppSettings.LeftCollapsed, AppSettings.RightCollapsed);
}

void TSonidexForm::NewCaptionDblClick(TObject*)
{
    POINT screen;
    GetCursorPos(&screen);
    TPoint p = NewCaption->ScreenToClient({screen.x, screen.y});
    if (p.X <= 17) {                    // the icon at the bar's left end closes the window
        Close();
        return;
    }
    if (AppSettings.LeftCollapsed && AppSettings.RightCollapsed) {
        ApplyLayout(FSavedLeftCollapsed, FSavedRightCollapsed);
    } else {
        FSavedLeftCollapsed = AppSettings.LeftCollapsed;
        FSavedRightCollapsed = AppSettings.RightCollapsed;
        ApplyLayout(true, true);
    }
    // The bar may have moved under the pointer: a drag that follows starts from here.
    p = NewCaption->ScreenToClient({screen.x, screen.y});
    PostMessageA(NewCaption->Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(p.X, p.Y));
}

void TSonidexForm::WindowPosChanging(WINDOWPOS& wp)
{
    if ((wp.flags & SWP_NOMOVE) || !SettingsForm || !AppSettings.Snap) return;
    ScreenPoint p = SnapToScreen(wp.x, wp.y, Width(), Height(), GetSystemMetrics(SM_CXSCREEN),
                                 GetSystemMetrics(SM_CYSCREEN));
    wp.x = p.X;
    wp.y = p.Y;
}

int TSonidexForm::KeepLeftOnScreen(int left, int width) const
{
    RECT screen = VirtualScreen();
    return ::KeepLeftOnScreen(left, width, screen.left, screen.right);
}

void TSonidexForm::PlaceAtStoredPosition(int x, int y)
{
    // A stored position whose window touches no monitor would open invisibly: pull it back.
    RECT r = {x, y, x + Width(), y + Height()};
    if (!MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) {
        RECT screen = VirtualScreen();
        ScreenPoint p = PullOntoScreen(x, y, Width(), Height(), screen.left, screen.top, screen.right, screen.bottom);
        x = p.X;
        y = p.Y;
    }
    SetBounds(x, y, Width(), Height());
}

void TSonidexForm::CreateTrayIcon()
{
    HWND foreground = GetForegroundWindow();
    TrayIcon = new TTrayIcon(this);
    TrayIcon->Name = "TrayIcon";
    TrayIcon->SetHint("Sonidex");
    if (HICON icon16 = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, 16, 16, 0))) {
        TrayIcon->SetIcon(icon16);
        DestroyIcon(icon16);
    }
    TrayIcon->OnClick = {this, &TSonidexForm::TrayIconClick};
    // A shell that shows its notification area in a window of its own (Wine's) may take the
    // activation with the first icon: the window the user was in keeps it.
    if (foreground == Handle() && GetForegroundWindow() != foreground) SetForegroundWindow(foreground);
}

void TSonidexForm::TrayIconClick(TObject*)
{
    Application->Restore();
    Application->BringToFront();
}

void TSonidexForm::Hint95PaintHint(TBitmap& bmp)
{
    // The hint colour with an etched double frame in a lighter and a darker shade of it.
    TCanvas& c = bmp.Canvas();
    int w = bmp.Width(), h = bmp.Height();
    TColor colour = Application->HintColor;
    c.Brush.SetColor(colour);
    c.FillRect(Rect(0, 0, w, h));
    auto lines = [&](int x0, int y0, int x1, int y1, int x2, int y2) {
        c.MoveTo(x0, y0);
        c.LineTo(x1, y1);
        c.LineTo(x2, y2);
    };
    c.Pen.SetColor(AdjustColor(colour, 160));
    lines(0, h - 2, 0, 0, w - 1, 0);
    lines(2, h - 2, w - 2, h - 2, w - 2, 1);
    c.Pen.SetColor(AdjustColor(colour, -100));
    lines(1, h - 3, 1, 1, w - 2, 1);
    lines(1, h - 1, w - 1, h - 1, w - 1, 0);
}
