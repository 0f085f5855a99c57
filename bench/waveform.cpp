// The waveform in the position bar, four figures side by side in one run:
// 1. a 10-minute 44.1 kHz stereo 16-bit WAV (106 MB): the time from the click on its line to its
//    exact overview drawn, and to the first (coarse) one, against one sequential read of the file
//    through the same file window, with the worker's views (goals: at most 2 x and under 0.25 x);
// 2. the user-interface thread's longest stall while that overview is built, measured by a timer
//    ticking every 10 ms on it, beside the same timer's longest gap while idle (goal: 50 ms);
// 3. click to sound on 200 MB WAVs, streamed, with the waveform on against off (goal: 1.1), after a
//    settled line and while another one's overview is computed, and whether any overview came first;
// 4. the memory of one file's peaks (goal: 64 KB whatever its length).
// Each overview is of a file the program has not seen: its time stamp is moved before the click.
#include "BenchBuild.h"
#include "AudioBench.h"
#include "PlayerBench.h"
#include "app/Settings.h"
#include "app/Unit1.h"
#include "app/pure/SampleList.h"
#include "audio/FileWindow.h"
#include "toolkit/Forms.h"

namespace {
using bench::LastTick;
using bench::LongestGap;
using bench::Tick;

// Handles the window messages until done() says so, idling between them as the message loop does.
template <class Done>
bool PumpUntil(Done done, double seconds = 60)
{
    // Asked after every message: a click's sound is timed when the click has been handled, not
    // after the drawing and the overviews that follow it.
    const double end = bench::Seconds() + seconds;
    for (;;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
            if (done()) return true;
        }
        if (done()) return true;
        if (bench::Seconds() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
}

// The file changes in the program's eyes: its overview is not in the cache.
void Touch(const std::string& path)
{
    static LONGLONG stamp = 130000000000000000LL;
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    FILETIME t;
    stamp += 10000000;
    t.dwLowDateTime = DWORD(stamp);
    t.dwHighDateTime = DWORD(stamp >> 32);
    SetFileTime(f, nullptr, nullptr, &t);
    CloseHandle(f);
}

// One sequential read of the file's bytes through a file window, in the worker's blocks; the
// seconds it took.
double SequentialRead(const std::string& path, size_t viewBytes)
{
    const double t = bench::Seconds();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);
    const uint64_t size = uint64_t(high) << 32 | low;
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    CloseHandle(file);
    uint64_t sum = 0;
    {
        TFileWindow window(mapping, size);
        window.SetViewBytes(viewBytes);
        for (uint64_t at = 44; at < size; at += 256 << 10) {
            const size_t n = size_t(std::min<uint64_t>(256 << 10, size - at)) & ~size_t(7);
            const uint8_t* p = window.Span(at, n);
            for (size_t i = 0; p && i < n; i += 8) {
                uint64_t v;
                std::memcpy(&v, p + i, 8);
                sum += v;
            }
        }
    }
    CloseHandle(mapping);
    const double seconds = bench::Seconds() - t;
    if (sum == 42) std::printf(" ");          // the sum is used: the reading is not left out
    return seconds;
}

int Line(const char* name)
{
    for (int i = 0; i < SonidexForm->WAVList->Count(); ++i)
        if (SonidexForm->WAVList->Strings(i) == name) return i;
    return -1;
}

constexpr uint64_t TenFrames = 600 * 44100, SmallFrames = (100 << 10) / 4, BigFrames = (200 << 20) / 4;

// Whether the overview shown is of the file of frames frames (and the exact one).
bool Of(uint64_t frames, bool exact = true)
{
    const TPeakBins* p = SonidexForm->Peaks();
    return p && p->Frames == frames && !p->Bins.empty() && (!exact || SonidexForm->PeaksComplete());
}

void Click(int index)
{
    TRect r = SonidexForm->WAVList->ItemRect(index);
    LPARAM at = MAKELPARAM(r.Left + 10, r.Top + 5);
    PostMessageA(SonidexForm->WAVList->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(SonidexForm->WAVList->Handle(), WM_LBUTTONUP, 0, at);
}
}

int main()
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    TApplication app;
    Application->Initialize();
    if (!bench::StartPlayerWindow()) return 0;
    const std::string folder = bench::TempPath("sonidex-wave\\");
    CreateDirectoryA(folder.c_str(), nullptr);
    // Real data, different in every block of a megabyte, so that every page is read.
    std::vector<char> noise(1 << 20);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = char((i * 2654435761u) >> 13);
    const std::string ten = folder + "ten.wav";
    bench::WriteWav(ten, 600u * 176400u, noise);
    // Sparse: the clicks need no data, and they take one more file than the cache keeps.
    for (size_t i = 0; i <= TSonidexForm::PeakCacheFiles; ++i)
        bench::WriteWav(folder + "big" + std::to_string(i) + ".wav", 200u << 20);
    bench::WriteWav(folder + "small.wav", 100u << 10, std::vector<char>(4096, 17));
    AppSettings.Sort = true;
    AppSettings.Subdir = false;
    AppSettings.Streaming = true;
    AppSettings.Waveform = true;
    AppSettings.Path = folder;
    ParseFilter("wav");
    SonidexForm->RebuildList();
    Application->ProcessMessages();
    const int tenLine = Line("ten"), smallLine = Line("small");
    std::vector<int> bigLines;
    for (size_t i = 0; i <= TSonidexForm::PeakCacheFiles; ++i) bigLines.push_back(Line(("big" + std::to_string(i)).c_str()));

    // 1 and 2: the overview of the ten minutes against a read of them, alternately.
    SetTimer(nullptr, 0, 10, Tick);
    std::vector<double> reads, streamReads, sounds, coarse, full, stalls, idle;
    for (int run = 0; run < 6; ++run) {
        const double r = SequentialRead(ten, TPeakWorker::ViewBytes), stream = SequentialRead(ten, TFileWindow::WindowBytes);
        Touch(ten);
        Click(smallLine);
        PumpUntil([] { return Of(SmallFrames); });
        double first = 0, sound = 0;
        LastTick = LongestGap = 0;
        StopStream();
        const double t = bench::Seconds();
        Click(tenLine);
        const bool done = PumpUntil([&] {
            if (!sound && CurrentPlaying()) sound = bench::Seconds() - t;
            if (!first && Of(TenFrames, false)) first = bench::Seconds() - t;
            return Of(TenFrames);
        });
        if (!done) return std::printf("the overview did not come\n"), 1;
        const double whole = bench::Seconds() - t, gap = LongestGap;
        // The same timer on an idle thread, for as long.
        LastTick = LongestGap = 0;
        const double until = bench::Seconds() + whole;
        PumpUntil([&] { return bench::Seconds() > until; });
        if (run == 0) continue;              // the first round warms up
        reads.push_back(r), streamReads.push_back(stream), sounds.push_back(sound), coarse.push_back(first), full.push_back(whole), stalls.push_back(gap), idle.push_back(LongestGap);
    }
    const double read = bench::Median(reads), c = bench::Median(coarse), f = bench::Median(full);
    const double snd = bench::Median(sounds);
    std::printf("%s: 10-minute WAV: one read through the worker's file window %.1f ms (through the stream's 1 MB "
                "views %.1f ms); from the click: sound %.1f ms, coarse overview %.1f ms (%.2f x the read, goal < 0.25), "
                "exact overview %.1f ms (%.2f x, goal <= 2); from the sound's start: coarse %.1f ms (%.2f x), exact "
                "%.1f ms (%.2f x)\n",
                BuildWidth(), read * 1e3, bench::Median(streamReads) * 1e3, snd * 1e3, c * 1e3, c / read, f * 1e3,
                f / read, (c - snd) * 1e3, (c - snd) / read, (f - snd) * 1e3, (f - snd) / read);
    std::sort(stalls.begin(), stalls.end());
    std::sort(idle.begin(), idle.end());
    std::printf("%s: longest gap of a 10 ms timer on the interface thread: while the overview is built %.1f ms "
                "(worst of %zu runs; goal <= 50), idle %.1f ms\n",
                BuildWidth(), stalls.back() * 1e3, stalls.size(), idle.back() * 1e3);
    const TPeakBins* peaks = SonidexForm->Peaks();
    std::printf("%s: peaks of one file: %zu bytes for the 106 MB file (goal <= 65536), at most %zu files kept\n",
                BuildWidth(), peaks ? peaks->Bytes() : size_t(0), TSonidexForm::PeakCacheFiles);

    // 3: click to sound, waveform off and on, after a small line has played a while and 50 ms
    // after another 200 MB line's sound (its overview, when on, still computed); each click on a
    // file that loads afresh and whose overview is not known (one more file than the cache keeps).
    std::vector<double> times[4];
    bool soundFirst = true;
    int underWay = 0;
    for (int run = 0; run < 36; ++run) {
        for (int k = 0; k < 4; ++k) {
            const int mode = (k + run) % 4;          // in turn first, so that no mode gains by its place
            const bool on = mode & 1, busy = mode >= 2;
            AppSettings.Waveform = on;
            // The setting as the next selection finds it.
            Click(smallLine);
            PumpUntil([] { return CurrentPlaying(); });
            const double settled = bench::Seconds() + 0.15;
            PumpUntil([&] { return bench::Seconds() > settled; });
            if (busy) {
                StopStream();
                Click(bigLines[(run + 4) % bigLines.size()]);
                PumpUntil([] { return CurrentPlaying(); });
                const double later = bench::Seconds() + 0.05;
                PumpUntil([&] { return bench::Seconds() > later; });
                underWay += on && !SonidexForm->PeaksComplete();
            }
            StopStream();
            const double t = bench::Seconds();
            Click(bigLines[run % bigLines.size()]);
            if (!PumpUntil([] { return CurrentPlaying(); }, 30)) return std::printf("no sound after a click\n"), 1;
            const double s = bench::Seconds() - t;
            if (mode == 1) soundFirst = soundFirst && !Of(BigFrames, false);
            if (run >= int(bigLines.size())) times[mode].push_back(s);
        }
    }
    const double off = bench::Median(times[0]), on = bench::Median(times[1]), busyOff = bench::Median(times[2]);
    const double busy = bench::Median(times[3]);
    std::printf("%s: click to sound, 200 MB streamed, waveform off/on (goal <= 1.1): after a settled line %.2f/%.2f "
                "ms, ratio %.2f; while another's overview is computed (%d of 36) %.2f/%.2f ms, ratio %.2f (%.2f against "
                "the first off); the sound came before the line's overview every time: %s\n", BuildWidth(), off * 1e3,
                on * 1e3, on / off, underWay, busyOff * 1e3, busy * 1e3, busy / busyOff, busy / off, soundFirst ? "yes" : "no");
    StopStream();
    StopCurrent();
    SonidexForm->AbandonPeaks();
    SonidexForm->WAVList->Clear();
    for (const char* name : {"ten.wav", "small.wav"}) DeleteFileA((folder + name).c_str());
    for (size_t i = 0; i <= TSonidexForm::PeakCacheFiles; ++i) DeleteFileA((folder + "big" + std::to_string(i) + ".wav").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
