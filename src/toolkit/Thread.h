// A worker thread. Execute runs on the new thread; Synchronize runs a function on the
// user-interface thread and waits until it has returned. Workers never touch windows.
#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include "toolkit/Classes.h"

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
public:
    explicit TThread(bool createSuspended);
    ~TThread() override;                      // terminates and waits, then closes the handle
    void Resume();
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    DWORD WaitFor();                          // pumps sent messages meanwhile (no deadlock with Synchronize)
    void SetPriority(TThreadPriority p);
    HANDLE Handle() const { return FHandle; }
    DWORD ThreadID() const { return FThreadID; }
    bool Finished() const { return FFinished; }
    // Set before the thread runs: the thread object frees itself when Execute has returned,
    // and nobody else may free it or wait for it.
    bool FreeOnTerminate = false;

    // Must be called once on the user-interface thread before any Synchronize; the first
    // thread started from it then makes what Synchronize needs, so threads that synchronise
    // are started from the user-interface thread.
    static void InitSynchronize();
    // Runs fn on the user-interface thread; from that thread itself, runs it directly.
    static void Synchronize(const std::function<void()>& fn);
protected:
    virtual void Execute() = 0;
    DWORD ReturnValue = 0;
private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    HANDLE FHandle = nullptr;
    DWORD FThreadID = 0;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
};
