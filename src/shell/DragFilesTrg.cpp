#include "shell/DragFilesTrg.h"
#include <shellapi.h>
#include "toolkit/Forms.h"
#include "toolkit/LateBound.h"
#include "toolkit/WideText.h"

namespace {
// The shell's drop functions, loaded with the first drop like the rest of shell32.
struct TShellDrop {
    using QueryFileFn = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
    using QueryPointFn = BOOL(WINAPI*)(HDROP, POINT*);
    using FinishFn = void(WINAPI*)(HDROP);
    QueryFileFn QueryFile = LateBound<QueryFileFn>("shell32.dll", "DragQueryFileW");
    QueryPointFn QueryPoint = LateBound<QueryPointFn>("shell32.dll", "DragQueryPoint");
    FinishFn Finish = LateBound<FinishFn>("shell32.dll", "DragFinish");
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
    FEnabled = false;
    SetTarget(nullptr);
}

// The target's window says whether it takes drops (the shell shows its refusal cursor if not):
// its WS_EX_ACCEPTFILES style, which is what the shell's DragAcceptFiles sets. Set here, it
// spares the program loading the shell library while its window comes up.
void TDragFilesTrg::Accept() const
{
    if (!FTarget || !FTarget->HandleAllocated()) return;
    const HWND h = FTarget->Handle();
    const LONG_PTR style = GetWindowLongPtrA(h, GWL_EXSTYLE);
    const LONG_PTR wanted = FEnabled ? style | WS_EX_ACCEPTFILES : style & ~LONG_PTR(WS_EX_ACCEPTFILES);
    if (wanted != style) SetWindowLongPtrA(h, GWL_EXSTYLE, wanted);
}

void TDragFilesTrg::SetEnabled(bool on)
{
    FEnabled = on;
    Accept();
}

void TDragFilesTrg::SetTarget(TWinControl* target)
{
    if (target == FTarget) return;
    if (FTarget) {
        const bool was = FEnabled;
        FEnabled = false;
        Accept();
        FEnabled = was;
        FTarget->MessageHook = nullptr;
        FTarget->RemoveFreeNotification(this);
    }
    FTarget = target;
    if (!FTarget) return;
    // The target may belong to another owner and go first: it says so (Notification).
    FTarget->FreeNotification(this);
    FTarget->MessageHook = [this](UINT msg, WPARAM w, LPARAM, LRESULT& result) {
        if (msg == WM_CREATE) Accept();         // the target's window, made now or made anew
        if (msg != WM_DROPFILES) return false;
        HandleDrop(reinterpret_cast<HDROP>(w));
        result = 0;
        return true;
    };
    Accept();
}

void TDragFilesTrg::Notification(TComponent* component, bool removing)
{
    if (removing && component == FTarget) FTarget = nullptr;
}

void TDragFilesTrg::HandleDrop(HDROP drop)
{
    // The drop handle is released however the handler ends.
    struct TFinish {
        HDROP Drop;
        ~TFinish() { if (Shell().Finish) Shell().Finish(Drop); }
    } finish{drop};
    // The system may deliver a drop to a window that no longer takes them.
    if (!FEnabled || !FTarget || !FTarget->Showing() || !Shell().QueryFile || !Shell().QueryPoint) return;
    DroppedFiles.Clear();
    POINT p = {};
    Shell().QueryPoint(drop, &p);
    DropPoint = {p.x, p.y};
    const UINT count = Shell().QueryFile(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Each path whole, however long: a path cut short can name another file. Read wide,
        // so that a name survives whatever code page the dropping program used.
        const UINT length = Shell().QueryFile(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        const UINT got = Shell().QueryFile(drop, i, path.data(), length + 1);
        path.resize(got);
        DroppedFiles.Add(NarrowText(path));
    }
    OnDrop(this);
}
