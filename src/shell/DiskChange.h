// Watches one folder (and, if asked, its whole subtree) and raises OnDiskChange on the
// user-interface thread for each change the system reports.
#pragma once
#include <windows.h>
#include <initializer_list>
#include <memory>
#include <string>
#include "toolkit/Classes.h"
#include "toolkit/Thread.h"

enum class TNotifyFilterType { FILE_NAME, DIR_NAME, ATTRIBUTES, SIZE, LAST_WRITE, SECURITY };

// A set of kinds of change.
class TNotifyFilters {
public:
    TNotifyFilters() = default;
    TNotifyFilters(std::initializer_list<TNotifyFilterType> kinds);
    bool Contains(TNotifyFilterType t) const { return FSet & Bit(t); }
    bool operator==(const TNotifyFilters& o) const { return FSet == o.FSet; }
    // The system's change-filter bits (FILE_NOTIFY_CHANGE_*).
    DWORD PlatformFilter() const;
private:
    static unsigned Bit(TNotifyFilterType t) { return 1u << static_cast<unsigned>(t); }
    unsigned FSet = 0;
};

// What a watch shares with its worker. The worker may still be finishing (or waiting for the
// user-interface thread) after the watch has ended, so neither frees it alone.
struct TDiskWatchShared;

// The worker of one watch: waits on the change handle together with the watch's stop event,
// hands each change to the user-interface thread and waits until it has been handled. It
// frees itself when it ends.
class TDiskWatchThread : public TThread {
public:
    explicit TDiskWatchThread(std::shared_ptr<TDiskWatchShared> shared);
protected:
    void Execute() override;
private:
    std::shared_ptr<TDiskWatchShared> FShared;
};

class TDiskChangeNotify : public TComponent {
public:
    explicit TDiskChangeNotify(TComponent* owner);
    ~TDiskChangeNotify() override;

    const std::string& WatchDir() const { return FWatchDir; }
    // A folder equal to the current one but for letter case changes nothing.
    void SetWatchDir(const std::string& dir);
    bool WatchSubTree() const { return FWatchSubTree; }
    void SetWatchSubTree(bool on);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool on);
    TNotifyFilters NotifyFilter() const { return FNotifyFilter; }
    // Restarts an active watch even when the value is the same.
    void SetNotifyFilter(TNotifyFilters filter);
    DWORD PlatformFilter() const { return FPlatformFilter; }

    TNotifyEvent OnDiskChange;
private:
    friend class TDiskWatchThread;
    void StartWatch();
    // Ends the watch at once, without waiting for its worker: no event of it comes afterwards.
    void StopWatch();
    void Restart();
    std::shared_ptr<TDiskWatchShared> FWatch;      // none when disabled
    bool FWatchSubTree = true;
    bool FEnabled = false;
    std::string FWatchDir;
    TNotifyFilters FNotifyFilter = {TNotifyFilterType::FILE_NAME, TNotifyFilterType::DIR_NAME,
                                    TNotifyFilterType::ATTRIBUTES, TNotifyFilterType::SIZE,
                                    TNotifyFilterType::LAST_WRITE};
    DWORD FPlatformFilter = FNotifyFilter.PlatformFilter();
};
