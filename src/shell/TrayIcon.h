// The program's icon in the shell's notification area: it stands for the program instead of a
// task-bar button, and its mouse activity comes back as events. When the shell has no place for
// it (no notification area yet, or a refusal), the application keeps its task-bar window, and the
// icon is added again when the shell announces a new task bar.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <string>
#include "toolkit/Controls.h"

// The shell call, replaceable so that a refusing shell can be tested (Wine never refuses).
using TShellNotifyIconProc = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
extern TShellNotifyIconProc ShellNotifyIcon;

// The callback message of the icon and the class of its window (other programs and the tests
// find it by the class).
constexpr UINT WM_TRAYICON = WM_USER + 1;
constexpr const char* TrayIconWindowClass = "TTrayIconWindow";

class TTrayIcon : public TComponent {
public:
    // Adds the icon at once, with the application's icon and title as tip.
    explicit TTrayIcon(TComponent* owner);
    ~TTrayIcon() override;

    const std::string& Hint() const { return FHint; }
    virtual void SetHint(const std::string& hint);
    // The component keeps its own copy of the icon: the caller may destroy the one it passed.
    HICON Icon() const { return FIcon; }
    virtual void SetIcon(HICON icon);
    HMENU PopupMenu = nullptr;
    // The icon is in the notification area now.
    bool IconShown() const { return FShown; }
    HWND CallbackWindow() const { return FWindow; }

    TNotifyEvent OnClick, OnDblClick, OnMinimize, OnRestore;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseDown, OnMouseUp;
protected:
    virtual void ShowPopup();
    virtual void DoClick() { OnClick(this); }
    virtual void DoDblClick() { OnDblClick(this); }
    virtual void DeleteIcon();
    virtual void DoMouseMove(TShiftState s, int x, int y) { OnMouseMove(this, s, x, y); }
    virtual void DoMouseDown(TMouseButton b, TShiftState s, int x, int y) { OnMouseDown(this, b, s, x, y); }
    virtual void DoMouseUp(TMouseButton b, TShiftState s, int x, int y) { OnMouseUp(this, b, s, x, y); }
    virtual LRESULT HandleMessage(UINT msg, WPARAM w, LPARAM l);
    virtual void ModifyIcon();
    virtual void DoMinimize();
    virtual void DoRestore();
private:
    static LRESULT CALLBACK WindowProc(HWND h, UINT m, WPARAM w, LPARAM l);
    void ApplicationMinimized(TObject*) { DoMinimize(); }
    void ApplicationRestored(TObject*) { DoRestore(); }
    bool AddIcon();
    void HideApplicationWindow();
    NOTIFYICONDATAA FData;
    HICON FIcon = nullptr;
    std::string FHint;
    HWND FWindow = nullptr;
    bool FShown = false;
    bool FLeftDownSeen = false;
    UINT FTaskbarCreated = 0;
};
