#include "shell/TrayIcon.h"
#include <cstring>
#include "toolkit/Forms.h"
#include "toolkit/LateBound.h"

namespace {
// The shell library is loaded with the first icon, not with the program: it is big, and the
// window is on the screen before anybody asks for the icon.
BOOL WINAPI SystemNotifyIcon(DWORD message, PNOTIFYICONDATAA data)
{
    static const auto f = LateBound<TShellNotifyIconProc>("shell32.dll", "Shell_NotifyIconA");
    return f ? f(message, data) : FALSE;
}
}

TShellNotifyIconProc ShellNotifyIcon = &SystemNotifyIcon;

namespace {
// The notification-area record as the oldest shells know it: 88 bytes, a 64-byte tip.
constexpr DWORD NotifyIconDataSize = NOTIFYICONDATAA_V1_SIZE;

void CopyTip(NOTIFYICONDATAA& d, const std::string& tip)
{
    std::memset(d.szTip, 0, sizeof d.szTip);
    std::strncpy(d.szTip, tip.c_str(), 63);
    if (tip.empty()) d.uFlags &= ~NIF_TIP; else d.uFlags |= NIF_TIP;
}
}

TTrayIcon::TTrayIcon(TComponent* owner) : TComponent(owner)
{
    std::memset(&FData, 0, sizeof FData);
    FData.cbSize = NotifyIconDataSize;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    if (!GetClassInfoA(inst, TrayIconWindowClass, &wc)) {
        wc = {};
        wc.lpfnWndProc = &WindowProc;
        wc.hInstance = inst;
        wc.lpszClassName = TrayIconWindowClass;
        RegisterClassA(&wc);
    }
    // A hidden top-level window: it hears the shell's broadcasts as well as the icon's messages.
    FWindow = CreateWindowExA(WS_EX_TOOLWINDOW, TrayIconWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              inst, nullptr);
    if (FWindow) SetWindowLongPtrA(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    FTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    FIcon = Application && Application->Icon() ? CopyIcon(Application->Icon()) : nullptr;
    FData.hWnd = FWindow;
    FData.uID = 0;
    FData.uFlags = NIF_MESSAGE | NIF_ICON;
    FData.uCallbackMessage = WM_TRAYICON;
    FData.hIcon = FIcon;
    FHint = Application ? Application->Title() : std::string();
    CopyTip(FData, FHint);
    AddIcon();
    if (Application) {
        Application->OnMinimize = {this, &TTrayIcon::ApplicationMinimized};
        Application->OnRestore = {this, &TTrayIcon::ApplicationRestored};
    }
}

TTrayIcon::~TTrayIcon()
{
    if (Application) {
        Application->OnMinimize = nullptr;
        Application->OnRestore = nullptr;
    }
    if (FShown) DeleteIcon();
    if (FWindow) DestroyWindow(FWindow);
    if (FIcon) DestroyIcon(FIcon);
}

bool TTrayIcon::AddIcon()
{
    FShown = FWindow && ShellNotifyIcon(NIM_ADD, &FData);
    // Without an icon the application keeps its task-bar window: it is the way back.
    if (FShown) HideApplicationWindow();
    return FShown;
}

void TTrayIcon::HideApplicationWindow()
{
    if (Application && Application->Handle() && IsWindowVisible(Application->Handle()))
        ShowWindow(Application->Handle(), SW_HIDE);
}

void TTrayIcon::SetHint(const std::string& hint)
{
    if (hint == FHint) return;
    FHint = hint;
    CopyTip(FData, hint);
    ModifyIcon();
}

void TTrayIcon::SetIcon(HICON icon)
{
    if (icon == FIcon) return;
    HICON copy = icon ? CopyIcon(icon) : nullptr;
    if (FIcon) DestroyIcon(FIcon);
    FIcon = copy;
    FData.hIcon = copy;
    ModifyIcon();
}

void TTrayIcon::ModifyIcon()
{
    if (FShown) ShellNotifyIcon(NIM_MODIFY, &FData);
}

void TTrayIcon::DeleteIcon()
{
    ShellNotifyIcon(NIM_DELETE, &FData);
    FShown = false;
}

void TTrayIcon::DoMinimize()
{
    if (FShown) HideApplicationWindow();
    OnMinimize(this);
}

void TTrayIcon::DoRestore()
{
    if (FShown) HideApplicationWindow();
    OnRestore(this);
}

void TTrayIcon::ShowPopup()
{
    if (!PopupMenu || (Application && IsWindowVisible(Application->Handle()))) return;
    POINT pt;
    GetCursorPos(&pt);
    SetForegroundWindow(FWindow);
    TrackPopupMenu(PopupMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, FWindow, nullptr);
    PostMessageA(FWindow, WM_NULL, 0, 0);
}

LRESULT TTrayIcon::HandleMessage(UINT msg, WPARAM w, LPARAM l)
{
    if (msg == WM_QUERYENDSESSION) return 1;
    if (msg == WM_ENDSESSION) {
        if (w && FShown) DeleteIcon();
        return 0;
    }
    if (FTaskbarCreated && msg == FTaskbarCreated) {
        // A new task bar (the shell started again, or started late): the icon goes back in.
        AddIcon();
        return 0;
    }
    if (msg != WM_TRAYICON) return 0;
    TShiftState s = KeyboardShiftState();
    POINT pt;
    GetCursorPos(&pt);
    switch (static_cast<UINT>(l)) {
    case WM_MOUSEMOVE: DoMouseMove(s, pt.x, pt.y); break;
    case WM_LBUTTONDOWN:
        DoMouseDown(mbLeft, s | ssLeft, pt.x, pt.y);
        FLeftDownSeen = true;
        break;
    case WM_LBUTTONUP:
        if (FLeftDownSeen) {
            FLeftDownSeen = false;
            DoClick();
        }
        DoMouseUp(mbLeft, s | ssLeft, pt.x, pt.y);
        break;
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: DoDblClick(); break;
    case WM_RBUTTONDOWN:
        DoMouseDown(mbRight, s | ssRight, pt.x, pt.y);
        ShowPopup();
        break;
    case WM_RBUTTONUP: DoMouseUp(mbRight, s | ssRight, pt.x, pt.y); break;
    case WM_MBUTTONDOWN: DoMouseDown(mbMiddle, s | ssMiddle, pt.x, pt.y); break;
    case WM_MBUTTONUP: DoMouseUp(mbMiddle, s | ssMiddle, pt.x, pt.y); break;
    }
    return 0;
}

LRESULT CALLBACK TTrayIcon::WindowProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    auto* self = reinterpret_cast<TTrayIcon*>(GetWindowLongPtrA(h, GWLP_USERDATA));
    if (!self) return DefWindowProcA(h, m, w, l);
    if (m == WM_QUERYENDSESSION || m == WM_ENDSESSION || m == WM_TRAYICON ||
        (self->FTaskbarCreated && m == self->FTaskbarCreated)) {
        try {
            return self->HandleMessage(m, w, l);
        } catch (const std::exception& e) {
            if (Application) Application->HandleException(e);
            return 0;
        }
    }
    return DefWindowProcA(h, m, w, l);
}
