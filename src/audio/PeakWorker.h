// The waveform's worker: computes a WAV file's peaks (pure/Peaks.h) off the user-interface thread,
// reading the file through a file window as the stream does. A long file gets a coarse overview
// first (a few stretches read across it), then overviews that grow exact from the left while the
// whole data is read, then the exact one. A new request abandons the one under way at once.
#pragma once
#include <windows.h>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include "audio/pure/Peaks.h"
#include "toolkit/Thread.h"

// Posted to the requesting window: wParam the request's generation, lParam a TPeakResult* that
// the window takes over (delete it, also when the generation is stale).
constexpr UINT WM_PEAKS_READY = WM_APP + 0x2A0;

struct TPeakResult {
    TPeakBins Peaks;                 // no bins: the file draws nothing (refused or unreadable)
    bool Complete = false;           // the exact overview; earlier ones are coarse or partly so
};

class TPeakWorker : public TThread {
public:
    TPeakWorker();
    ~TPeakWorker() override;
    // Computes the peaks of the WAV at path, with the formats hiRes plays, posting each overview
    // to window with generation. Any earlier request is abandoned.
    void Request(const std::string& path, bool hiRes, uint32_t generation, HWND window);
    // Abandons the request under way; with wait, returns once the worker has let go of its file.
    void Cancel(bool wait);
    // How often an overview is posted while the exact one is built.
    static constexpr DWORD ProgressMs = 200;
    // The worker's views of its file: mapping a view costs the same whatever its size, and a
    // 1 GB file is read in 64 of these (the stream's 1 MB views would take a thousand).
    static constexpr size_t ViewBytes = 16 << 20;

    // Keeps the worker between two blocks while it lives: the interface thread starting a sound
    // has the machine to itself.
    class THold {
    public:
        explicit THold(TPeakWorker* w) : FWorker(w) { if (FWorker) FWorker->FHeld = true; }
        ~THold() { if (FWorker) FWorker->FHeld = false; }
        THold(const THold&) = delete;
        THold& operator=(const THold&) = delete;
    private:
        TPeakWorker* FWorker;
    };
protected:
    void Execute() override;
private:
    struct TJob {
        std::string Path;
        bool HiRes = false;
        uint32_t Generation = 0;
        HWND Window = nullptr;
    };
    void Compute(const TJob& job);
    bool Abandoned(const TJob& job) const { return FWanted.load() != job.Generation || Terminated(); }
    // Between two blocks: waits while held, then whether the job still stands.
    bool GoOn(const TJob& job) const;
    void Post(const TJob& job, TPeakBins peaks, bool complete);

    HANDLE FWake;
    std::mutex FLock;
    bool FPending = false;           // FNext waits to be taken
    TJob FNext;
    std::atomic<uint32_t> FWanted{0};   // the generation asked for last; others are abandoned
    std::atomic<bool> FBusy{false};     // a job holds its file
    std::atomic<bool> FHeld{false};
};
