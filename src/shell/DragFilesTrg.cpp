#include "shell/DragFilesTrg.h"
#include <shellapi.h>
#include "toolkit/Forms.h"
#include "toolkit/LateBound.h"

namespace {
const char* const TargetProp = "SonidexDropTarget";

// The shell's drop functions, loaded on first need like the rest of shell32.
struct TShellDrop {
    using AcceptFn = void(WINAPI*)(HWND, BOOL);
    using QueryFileFn = UINT(WINAPI*)(HDROP, UINT, LPSTR, UINT);
    using QueryPointFn = BOOL(WINAPI*)(HDROP, POINT*);
    using FinishFn = void(WINAPI*)(HDROP);
    AcceptFn Accept = LateBound<AcceptFn>("shell32.dll", "DragAcceptFiles");
    QueryFileFn QueryFile = LateBound<QueryFileFn>("shell32.dll", "DragQueryFileA");
    QueryPointFn QueryPoint = LateBound<QueryPointFn>("shell32.dll", "DragQueryPoint");
    FinishFn Finish = LateBound<FinishFn>("shell32.dll", "DragFinish");
    bool Ready() const { return Accept && QueryFile && QueryPoint && Finish; }
};
const TShellDrop& Shell()
{
    static const TShellDrop shell;
    return shell;
}
}

TDragFilesTrg::TDragFilesTrg(TComponent* owner) : TComponent(owner) {}

TDragFilesTrg::~TDragFilesTrg()
{
    SetEnabled(false);
    Detach();
}

void TDragFilesTrg::SetEnabled(bool on)
{
    FEnabled = on;
    if (FWindow && Shell().Ready()) Shell().Accept(FWindow, on);
}

void TDragFilesTrg::SetTarget(TWinControl* target)
{
    if (target == FTarget) return;
    Detach();
    FTarget = target;
    if (FTarget) Attach();
}

void TDragFilesTrg::Attach()
{
    FWindow = FTarget->Handle();
    if (!FWindow || !Shell().Ready()) { FWindow = nullptr; return; }
    SetPropA(FWindow, TargetProp, this);
    FPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DropWndProc)));
    Shell().Accept(FWindow, FEnabled);
}

// Gives the control its own procedure back, unless the window is gone or another procedure
// has taken ours over since (putting the old one back would cut that one out).
void TDragFilesTrg::Detach()
{
    if (FWindow && IsWindow(FWindow)) {
        Shell().Accept(FWindow, FALSE);
        if (GetWindowLongPtrA(FWindow, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&DropWndProc))
            SetWindowLongPtrA(FWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevious));
        RemovePropA(FWindow, TargetProp);
    }
    FWindow = nullptr;
    FPrevious = nullptr;
    FTarget = nullptr;
}

void TDragFilesTrg::Notification(TComponent* component, bool removing)
{
    if (removing && component == FTarget) Detach();
}

LRESULT CALLBACK TDragFilesTrg::DropWndProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    auto* self = static_cast<TDragFilesTrg*>(GetPropA(h, TargetProp));
    if (!self) return DefWindowProcA(h, msg, w, l);
    if (msg == WM_DROPFILES) {
        try {
            return self->HandleDrop(reinterpret_cast<HDROP>(w));
        } catch (const std::exception& e) {
            if (Application) Application->HandleException(e);
            return 0;
        }
    }
    const WNDPROC previous = self->FPrevious;
    if (msg == WM_NCDESTROY) self->Detach();      // the window goes: nothing to give back later
    return CallWindowProcA(previous, h, msg, w, l);
}

LRESULT TDragFilesTrg::HandleDrop(HDROP drop)
{
    // The drop handle is released however the handler ends.
    struct TFinish {
        HDROP Drop;
        ~TFinish() { Shell().Finish(Drop); }
    } finish{drop};
    // The system may deliver a drop to a window that no longer takes them.
    if (!FEnabled || !FTarget || !FTarget->Showing()) return 0;
    DroppedFiles.Clear();
    POINT p = {};
    Shell().QueryPoint(drop, &p);
    DropPoint = {p.x, p.y};
    const UINT count = Shell().QueryFile(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Each path whole, however long: a path cut short can name another file.
        const UINT length = Shell().QueryFile(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        const UINT got = Shell().QueryFile(drop, i, path.data(), length + 1);
        path.resize(got);
        DroppedFiles.Add(path);
    }
    OnDrop(this);
    return 0;
}
