#include "toolkit/Thread.h"
#include "toolkit/Forms.h"

namespace {
HWND SyncWindow;
DWORD MainThreadID;
const UINT WM_SYNCHRONIZE = WM_APP + 0x3F00;

LRESULT CALLBACK SyncProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_SYNCHRONIZE) {
        auto* fn = reinterpret_cast<const std::function<void()>*>(l);
        try {
            (*fn)();
        } catch (const std::exception& e) {
            if (Application) Application->HandleException(e);
        }
        return 0;
    }
    return DefWindowProcA(h, m, w, l);
}
}

void TThread::InitSynchronize()
{
    if (!MainThreadID) MainThreadID = GetCurrentThreadId();
}

namespace {
// The window that runs what threads hand to the main thread: made with the first thread the
// main thread starts, so that a program's start does not wait for it.
void MakeSyncWindow()
{
    if (SyncWindow || !MainThreadID || GetCurrentThreadId() != MainThreadID) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SyncProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TThreadSyncWindow";
    RegisterClassA(&wc);
    SyncWindow = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}
}

void TThread::Synchronize(const std::function<void()>& fn)
{
    if (!SyncWindow || GetCurrentThreadId() == MainThreadID) { fn(); return; }
    SendMessageA(SyncWindow, WM_SYNCHRONIZE, 0, reinterpret_cast<LPARAM>(&fn));
}

TThread::TThread(bool createSuspended)
{
    MakeSyncWindow();
    FHandle = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &FThreadID);
    if (!FHandle) throw Exception("Thread creation error");
    if (!createSuspended) Resume();
}

TThread::~TThread()
{
    if (FHandle) {
        if (!FFinished) {
            Terminate();
            Resume();
            WaitFor();
        }
        CloseHandle(FHandle);
    }
}

void TThread::Resume()
{
    while (ResumeThread(FHandle) > 1) {}
}

DWORD WINAPI TThread::ThreadProc(LPVOID p)
{
    auto* self = static_cast<TThread*>(p);
    try {
        self->Execute();
    } catch (...) {
        // A worker has nobody to report to; it simply ends.
    }
    DWORD result = self->ReturnValue;
    if (self->FreeOnTerminate) {
        self->FFinished = true;
        delete self;                          // the destructor sees a finished thread: no wait
        return result;
    }
    self->FFinished = true;                   // from here on the owner may free the object
    return result;
}

DWORD TThread::WaitFor()
{
    // Sent messages (a Synchronize from this very thread) are handled while waiting.
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &FHandle, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) break;
        MSG m;
        PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);   // dispatches sent messages
    }
    DWORD code = 0;
    GetExitCodeThread(FHandle, &code);
    return code;
}

void TThread::SetPriority(TThreadPriority p)
{
    static const int map[] = {THREAD_PRIORITY_IDLE, THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_BELOW_NORMAL,
                              THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                              THREAD_PRIORITY_TIME_CRITICAL};
    SetThreadPriority(FHandle, map[p]);
}
