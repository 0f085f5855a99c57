#include "audio/PeakWorker.h"
#include <algorithm>
#include "audio/FileWindow.h"
#include "audio/pure/WavChunks.h"

namespace {
// Bytes reduced between two looks at whether the request still stands: a new selection is
// obeyed within a fraction of a millisecond.
constexpr size_t ReadBlockBytes = 256 << 10;
// Data up to this size is read whole at once: its exact overview comes as fast as a coarse one.
constexpr int32_t CoarseAbove = 4 << 20;
// A 64-bit process can map a whole file, whatever its length, in one view.
constexpr bool WideAddressSpace = sizeof(void*) == 8;

// The worker's hold on its file: let go on every way out.
struct TFileHold {
    HANDLE Mapping = nullptr;
    TFileWindow Window;
    ~TFileHold()
    {
        Window.Release();
        if (Mapping) CloseHandle(Mapping);
    }
};
}

TPeakWorker::TPeakWorker() : TThread(true)
{
    FWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!FWake) throw Exception("Thread creation error");
    // At the interface's own priority: a lower one gets next to nothing on a busy machine. The
    // sound comes first all the same: the worker is held while a selection starts its sound
    // (THold), and the refill thread runs above both.
    Resume();
}

TPeakWorker::~TPeakWorker()
{
    Terminate();
    SetEvent(FWake);
    WaitFor();
    CloseHandle(FWake);
}

void TPeakWorker::Request(const std::string& path, bool hiRes, uint32_t generation, HWND window)
{
    {
        std::lock_guard<std::mutex> hold(FLock);
        FNext = {path, hiRes, generation, window};
        FPending = true;
        FWanted = generation;
    }
    SetEvent(FWake);
}

void TPeakWorker::Cancel(bool wait)
{
    {
        std::lock_guard<std::mutex> hold(FLock);
        FPending = false;
        FWanted = 0;                     // no request has generation 0
    }
    // The job looks at FWanted after every block it reduces.
    while (wait && FBusy) Sleep(1);
}

void TPeakWorker::Execute()
{
    while (!Terminated()) {
        WaitForSingleObject(FWake, INFINITE);
        for (;;) {
            TJob job;
            {
                std::lock_guard<std::mutex> hold(FLock);
                if (!FPending || Terminated()) break;
                job = FNext;
                FPending = false;
                FBusy = true;            // under the lock: Cancel sees the job either pending or busy
            }
            try {
                if (!Abandoned(job)) Compute(job);
            } catch (...) {
                // No memory for the peaks: the bar stays plain.
            }
            FBusy = false;
        }
    }
}

bool TPeakWorker::GoOn(const TJob& job) const
{
    while (FHeld && !Abandoned(job)) Sleep(1);
    return !Abandoned(job);
}

void TPeakWorker::Post(const TJob& job, TPeakBins peaks, bool complete)
{
    if (Abandoned(job)) return;
    auto* r = new TPeakResult{std::move(peaks), complete};
    if (!PostMessageA(job.Window, WM_PEAKS_READY, job.Generation, reinterpret_cast<LPARAM>(r))) delete r;
}

void TPeakWorker::Compute(const TJob& job)
{
    // Shared for writing and deleting too: the picture must never stand in the way of the file.
    HANDLE file = CreateFileA(job.Path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Post(job, {}, true);
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    const uint64_t size = uint64_t(high) << 32 | low;
    TFileHold hold;
    hold.Mapping = size ? CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr) : nullptr;
    CloseHandle(file);
    if (!hold.Mapping) return Post(job, {}, true);
    TFileWindow& window = hold.Window;
    window.Assign(hold.Mapping, size);
    window.SetViewBytes(ViewBytes);

    const TWaveScan scan = ScanWave(
        [&window](uint64_t offset, void* out, size_t n) { return window.Read(offset, out, n); }, size, job.HiRes);
    const TSampleLayout& layout = scan.Layout;
    if (scan.Result != 0 || !PeaksReadable(layout)) return Post(job, {}, true);
    const unsigned block = layout.FileBlock;
    const uint64_t frames = uint64_t(std::max(scan.DataSize, 0)) / block;
    auto span = [&](uint64_t frame, uint64_t n) { return window.Span(scan.DataOffset + frame * block, size_t(n * block)); };

    // A coarse overview from stretches spread over the data.
    TPeakBins coarse;
    const bool progressive = scan.DataSize > CoarseAbove;
    if (progressive) {
        coarse = TPeakBins(frames, CoarseBins);
        // Where the address space allows, the stretches are read from one view of the whole
        // file: a mapping costs a call to the system (under Wine about 0.3 ms, more on a busy
        // machine), and touching a few pages of it maps only those.
        if (WideAddressSpace) window.SetViewBytes(size_t(size));
        const uint64_t stretch = std::max<uint64_t>(CoarseBytes / block, 1);
        for (size_t i = 0; i < coarse.Bins.size(); ++i) {
            const uint64_t f = coarse.FirstFrame(i), n = std::min<uint64_t>(stretch, frames - f);
            const uint8_t* p = span(f, n);
            if (!p) break;
            coarse.Add(layout, p, f, size_t(n));
            if (!GoOn(job)) return;
        }
        Post(job, coarse, false);
        window.Release();
        window.SetViewBytes(ViewBytes);
    }

    // The exact one, read from the start; until it is done, the part read so far replaces the
    // coarse one every ProgressMs.
    TPeakBins full(frames, PeakBins);
    const uint64_t step = std::max<uint64_t>(ReadBlockBytes / block, 1);
    DWORD shown = GetTickCount();
    for (uint64_t f = 0; f < frames;) {
        const uint64_t n = std::min(step, frames - f);
        const uint8_t* p = span(f, n);
        if (!p) break;                   // what cannot be read draws nothing
        full.Add(layout, p, f, size_t(n));
        f += n;
        if (!GoOn(job)) return;
        if (progressive && GetTickCount() - shown >= ProgressMs) {
            Post(job, MergedPeaks(full, full.BinOf(f), coarse), false);
            shown = GetTickCount();
        }
    }
    Post(job, std::move(full), true);
}
