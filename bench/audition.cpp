// Auditioning with a held arrow key, side by side in one run with every line played as the key
// passes it (the key's repeats sent as single presses): 50 lines of 3-minute streamed files, then
// of 5 MB static ones, at 30 lines a second, the median of three runs. Figures: the interface
// thread's longest stall while the key repeats (the largest gap between the ticks of a 10 ms timer
// on it; goal <= 50 ms) and at the release (the last line's load), the files opened while
// the key repeats (goal 0) and whether the last line plays from its start after the release.
// Then a stop in the middle of a full-scale 1 kHz sine, with smooth stops and without: the
// largest jump between consecutive samples in the capture's 10 ms around the stop (goal: no more
// than the sine's own).
#include "BenchBuild.h"
#include "AudioBench.h"
#include "PlayerBench.h"
#include "app/Settings.h"
#include "app/Unit1.h"
#include "app/pure/SampleList.h"
#include "toolkit/Forms.h"
#include <cmath>

namespace {
using bench::LastTick;
using bench::LongestGap;
using bench::Tick;

// Handles messages until the clock reaches until, as the program's loop does.
void RunUntil(double until)
{
    for (double now; (now = bench::Seconds()) < until;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(std::max(1.0, (until - now) * 1e3)), QS_ALLINPUT);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
}

struct TArrowing {
    double LongestStallMs = 0;             // while the key repeats
    double ReleaseStallMs = 0;             // at the release, which loads the last line
    int OpenedWhileRepeating = 0;
    bool LastFromStart = false;
};

// Line 0 plays; then Down goes down 50 times at 30 a second, repeated (or each as a press of
// its own), and is let go.
TArrowing Arrow(bool repeats)
{
    TSonidexForm* f = SonidexForm;
    HWND list = f->WAVList->Handle();
    f->WAVList->SetItemIndex(0);
    f->PlaySelection();
    RunUntil(bench::Seconds() + 0.3);
    TArrowing r;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &Tick);
    LastTick = LongestGap = 0;
    const double start = bench::Seconds();
    IDirectSoundBuffer* seen = nullptr;
    for (int k = 0; k < 50; ++k) {
        PostMessageA(list, WM_KEYDOWN, VK_DOWN, 1 | (repeats && k > 0 ? 1 << 30 : 0));
        RunUntil(start + (k + 1) / 30.0);
        // The first press plays its line at once (a load, as always); the repeats are timed.
        if (k == 0) seen = PlayerState.CurrentBuffer, LongestGap = 0;
        else if (PlayerState.CurrentBuffer != seen) ++r.OpenedWhileRepeating, seen = PlayerState.CurrentBuffer;
    }
    r.LongestStallMs = LongestGap * 1e3;
    LongestGap = 0;
    PostMessageA(list, WM_KEYUP, VK_DOWN, LPARAM(0xC0000001u));
    // The release's sound: the last line, its buffer playing from its first moments.
    const double released = bench::Seconds();
    while (bench::Seconds() - released < 2) {
        RunUntil(bench::Seconds() + 0.002);
        DWORD status = 0;
        if (PlayerState.LastIndex == 50 && PlayerState.CurrentBuffer &&
            SUCCEEDED(PlayerState.CurrentBuffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING)) {
            // The buffer's own cursor: a ring's also counts from the stream's start for its first lap.
            r.LastFromStart = GetPlayCursor() < 176400 / 5;
            break;
        }
    }
    RunUntil(bench::Seconds() + 0.05);
    KillTimer(nullptr, timer);
    r.ReleaseStallMs = LongestGap * 1e3;
    f->StopAll();
    RunUntil(bench::Seconds() + 0.2);
    return r;
}

void List(const std::string& folder)
{
    AppSettings.Path = folder;
    SonidexForm->RebuildList();
    RunUntil(bench::Seconds() + 0.1);
}

// 51 lines of the same file (hard links, so that 3-minute files cost their disk once).
void MakeLines(const std::string& folder, unsigned bytes, const std::vector<char>& data)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    bench::WriteWav(folder + "l00.wav", bytes, data);
    for (int i = 1; i <= 50; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "l%02d.wav", i);
        if (!CreateHardLinkA((folder + name).c_str(), (folder + "l00.wav").c_str(), nullptr))
            bench::WriteWav(folder + name, bytes, data);
    }
}

void RemoveLines(const std::string& folder)
{
    for (int i = 0; i <= 50; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "l%02d.wav", i);
        DeleteFileA((folder + name).c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

int LargestJump(const std::vector<char>& bytes, size_t from, size_t to)
{
    const auto* s = reinterpret_cast<const int16_t*>(bytes.data());
    int most = 0;
    for (size_t i = std::max<size_t>(from, 1) * 2; i < std::min(to, bytes.size() / 4) * 2; ++i)
        most = std::max(most, std::abs(s[i] - s[i - 2]));
    return most;
}

// Plays the sine, stops it half a second in, and gives the largest jump around the stop.
int StopJump(const bench::TCapture& cap)
{
    PlayerState.LastIndex = -1;                  // loaded afresh for the setting in force
    SonidexForm->WAVList->SetItemIndex(0);
    SonidexForm->PlaySelection();
    RunUntil(bench::Seconds() + 0.5);
    const long long mark = cap.Size();
    SonidexForm->StopBtnClick(nullptr);
    RunUntil(bench::Seconds() + 0.6);
    const std::vector<char> got = cap.From(mark);
    const auto* s = reinterpret_cast<const int16_t*>(got.data());
    size_t end = got.size() / 4;
    while (end > 0 && std::abs(s[2 * end - 2]) <= 8 && std::abs(s[2 * end - 1]) <= 8) --end;
    return end > 441 ? LargestJump(got, end - 441, end + 10) : -1;
}
}

int main()
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    TApplication app;
    Application->Initialize();
    if (!bench::StartPlayerWindow()) return 0;
    AppSettings.Sort = true;
    AppSettings.Subdir = false;
    ParseFilter("wav");
    const std::string root = bench::TempPath("sonidex-audition\\");
    CreateDirectoryA(root.c_str(), nullptr);
    std::vector<char> noise(1 << 20);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = char(i * 2654435761u >> 24);

    struct Kind { const char* name; bool streaming; unsigned bytes; };
    for (const Kind& k : {Kind{"3-minute streamed", true, 180u * 176400}, Kind{"5 MB static", false, 5u << 20}}) {
        const std::string folder = root + (k.streaming ? "stream\\" : "static\\");
        MakeLines(folder, k.bytes, noise);
        AppSettings.Streaming = k.streaming;
        List(folder);
        // The median run of three of each, alternating: the machine may be busy with other work.
        std::vector<TArrowing> runs;
        for (int i = 0; i < 6; ++i) runs.push_back(Arrow(i % 2 == 0));
        auto median = [&runs](int from) {
            std::vector<TArrowing> r = {runs[from], runs[from + 2], runs[from + 4]};
            std::sort(r.begin(), r.end(), [](const TArrowing& a, const TArrowing& b) { return a.LongestStallMs < b.LongestStallMs; });
            return r[1];
        };
        const TArrowing held = median(0), each = median(1);
        std::printf("%s: %s, 50 lines at 30 a second: held key: longest stall %.0f ms (goal <= 50; %.0f ms at the "
                    "release's load), files opened while repeating %d (goal 0), last line from its start %s; every line "
                    "played: longest stall %.0f ms, files opened %d\n",
                    BuildWidth(), k.name, held.LongestStallMs, held.ReleaseStallMs, held.OpenedWhileRepeating,
                    held.LastFromStart ? "yes" : "NO", each.LongestStallMs, each.OpenedWhileRepeating);
        SonidexForm->WAVList->Clear();
        RemoveLines(folder);
    }

    const bench::TCapture cap;
    if (!cap.Available()) {
        std::printf("%s: stop of a sine: no sound capture in this session\n", BuildWidth());
    } else {
        // Ten periods of a full-scale 1 kHz sine are 441 frames; two seconds of them, static.
        std::vector<char> sine(441 * 4);
        auto* s = reinterpret_cast<int16_t*>(sine.data());
        for (int i = 0; i < 441; ++i) s[2 * i] = s[2 * i + 1] = int16_t(std::lround(32767 * std::sin(2 * M_PI * i / 44.1)));
        const std::string folder = root + "sine\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        bench::WriteWav(folder + "sine.wav", 441 * 4 * 200, sine);
        AppSettings.Streaming = false;
        List(folder);
        const int own = LargestJump(sine, 0, 441);
        const int smooth = StopJump(cap);
        AppSettings.Streaming = true;
        const int streamed = StopJump(cap);
        AppSettings.SmoothStops = false;
        const int cutStreamed = StopJump(cap);
        AppSettings.Streaming = false;
        const int cut = StopJump(cap);
        AppSettings.SmoothStops = true;
        std::printf("%s: stop of a full-scale 1 kHz sine: largest jump in the 10 ms around it with smooth stops %d static, "
                    "%d streamed; without %d static, %d streamed; the sine's own %d (goal: smooth <= own)\n",
                    BuildWidth(), smooth, streamed, cut, cutStreamed, own);
        SonidexForm->WAVList->Clear();
        CloseSoundDevice();
        DeleteFileA((folder + "sine.wav").c_str());
        RemoveDirectoryA(folder.c_str());
    }
    RemoveDirectoryA(root.c_str());
    return 0;
}
