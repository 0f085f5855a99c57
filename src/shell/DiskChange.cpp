#include "shell/DiskChange.h"
#include <atomic>
#include "toolkit/pure/StrUtils.h"

TNotifyFilters::TNotifyFilters(std::initializer_list<TNotifyFilterType> kinds)
{
    for (TNotifyFilterType t : kinds) FSet |= Bit(t);
}

DWORD TNotifyFilters::PlatformFilter() const
{
    static const struct { TNotifyFilterType Type; DWORD Bits; } map[] = {
        {TNotifyFilterType::FILE_NAME, FILE_NOTIFY_CHANGE_FILE_NAME},
        {TNotifyFilterType::DIR_NAME, FILE_NOTIFY_CHANGE_DIR_NAME},
        {TNotifyFilterType::ATTRIBUTES, FILE_NOTIFY_CHANGE_ATTRIBUTES},
        {TNotifyFilterType::SIZE, FILE_NOTIFY_CHANGE_SIZE},
        {TNotifyFilterType::LAST_WRITE, FILE_NOTIFY_CHANGE_LAST_WRITE},
        {TNotifyFilterType::SECURITY, FILE_NOTIFY_CHANGE_SECURITY},
    };
    DWORD bits = 0;
    for (auto& m : map)
        if (Contains(m.Type)) bits |= m.Bits;
    return bits;
}

struct TDiskWatchShared {
    TDiskWatchShared() : StopEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~TDiskWatchShared() { if (StopEvent) CloseHandle(StopEvent); }
    TDiskWatchShared(const TDiskWatchShared&) = delete;
    TDiskWatchShared& operator=(const TDiskWatchShared&) = delete;
    // Written on the user-interface thread only; a hand-over that arrives after the stop
    // sees it there and delivers nothing.
    TDiskChangeNotify* Owner = nullptr;
    std::atomic<bool> Stopped{false};
    HANDLE StopEvent;
    // The settings of this watch, fixed when it starts.
    std::string Dir;
    BOOL SubTree = FALSE;
    DWORD Filter = 0;
};

// ---- TDiskWatchThread ----------------------------------------------------------------------

TDiskWatchThread::TDiskWatchThread(std::shared_ptr<TDiskWatchShared> shared)
    : TThread(true), FShared(std::move(shared))
{
    FreeOnTerminate = true;
}

void TDiskWatchThread::Execute()
{
    TDiskWatchShared& s = *FShared;
    if (!s.StopEvent) return;
    // A folder the system refuses to watch (empty, missing) gives a watch that never reports.
    HANDLE change = FindFirstChangeNotificationA(s.Dir.c_str(), s.SubTree, s.Filter);
    if (change == INVALID_HANDLE_VALUE) return;
    while (!s.Stopped) {
        HANDLE waits[2] = {s.StopEvent, change};
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
        // Re-armed before the handler runs: changes made while it runs (a rebuild of the list
        // reading the folder) come as one further event. Armed only afterwards, they would be
        // lost where the system keeps no record of changes between two requests (Wine).
        if (!FindNextChangeNotification(change)) break;
        std::shared_ptr<TDiskWatchShared> keep = FShared;
        Synchronize([keep] {
            if (keep->Stopped || !keep->Owner) return;
            TDiskChangeNotify* owner = keep->Owner;
            owner->OnDiskChange(owner);
        });
        // A copy of many files changes the folder every few milliseconds: what changes during
        // a short pause after each event comes as one further event, not one each.
        if (WaitForSingleObject(s.StopEvent, 25) != WAIT_TIMEOUT) break;
    }
    FindCloseChangeNotification(change);
}

// ---- TDiskChangeNotify ---------------------------------------------------------------------

TDiskChangeNotify::TDiskChangeNotify(TComponent* owner) : TComponent(owner) {}

TDiskChangeNotify::~TDiskChangeNotify()
{
    SetEnabled(false);
}

void TDiskChangeNotify::SetWatchDir(const std::string& dir)
{
    if (UpperCase(dir) == UpperCase(FWatchDir)) return;
    FWatchDir = dir;
    Restart();
}

void TDiskChangeNotify::SetWatchSubTree(bool on)
{
    if (on == FWatchSubTree) return;
    FWatchSubTree = on;
    Restart();
}

void TDiskChangeNotify::SetNotifyFilter(TNotifyFilters filter)
{
    FNotifyFilter = filter;
    FPlatformFilter = filter.PlatformFilter();
    Restart();
}

void TDiskChangeNotify::SetEnabled(bool on)
{
    if (on == FEnabled) return;
    FEnabled = on;
    if (on) StartWatch(); else StopWatch();
}

void TDiskChangeNotify::Restart()
{
    if (!FEnabled) return;
    StopWatch();
    StartWatch();
}

void TDiskChangeNotify::StartWatch()
{
    auto shared = std::make_shared<TDiskWatchShared>();
    shared->Owner = this;
    shared->Dir = FWatchDir;
    shared->SubTree = FWatchSubTree ? TRUE : FALSE;
    shared->Filter = FPlatformFilter;
    auto* worker = new TDiskWatchThread(shared);
    FWatch = std::move(shared);
    worker->Resume();                    // from here on the worker owns itself
}

void TDiskChangeNotify::StopWatch()
{
    if (!FWatch) return;
    FWatch->Owner = nullptr;
    FWatch->Stopped = true;
    if (FWatch->StopEvent) SetEvent(FWatch->StopEvent);
    FWatch.reset();
}
