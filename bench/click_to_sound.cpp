// Click to sound: from a left click on a list line of the main window to its sound playing, for a
// 100 KB and a 200 MB WAV, streaming on and off, side by side in one run. The click is a real
// mouse message to the list; the time ends when the line's buffer is told to play (the floor
// line also gives the time to the end of the message in which that happened).
// Goal: with streaming on, the 200 MB file starts within 1.2 x the time of the 100 KB file; so
// does a 200 MB 24-bit file with the HiRes setting (converted as it streams).
// Streaming off, the figures of a 64 MB file follow; a 200 MB static buffer needs that much
// contiguous address space, so on a crowded 32-bit process its line may report the error instead.
// First, a 100 KB file against the floor program (ClickFloor.exe: a bare window that reads the
// same file into a static buffer on a click and plays it), static and streamed, clicks of the
// three taken in turn. Goal: at most 1.5 times the floor, both.
#include "BenchBuild.h"
#include "AudioBench.h"
#include "PlayerBench.h"
#include "app/Settings.h"
#include "audio/SmoothStop.h"
#include "app/Unit1.h"
#include "app/pure/SampleList.h"
#include "toolkit/Forms.h"
#include <cstring>

namespace {
std::string Failure;                          // the message of an error box the click raised

// Clicks come at a fast auditioner's pace, not back to back: the moment a sound starts, the
// display server is still drawing the click's repaint, and a click then would be timed against
// that (the floor, which draws nothing, would not be). Both programs are idle before each click.
constexpr DWORD PersonPace = 50;              // milliseconds before each click

// The sound starts when DirectSound is told to play it: the time of the last Play that returned.
// What a click does after that (the selection's paint, telling a click from a drag) does not
// delay what is heard. Every secondary buffer of the device shares one table of methods; its
// Play is replaced by one that notes the time.
using TPlay = HRESULT(STDMETHODCALLTYPE*)(IDirectSoundBuffer*, DWORD, DWORD, DWORD);
TPlay OriginalPlay = nullptr;
double LastPlay = 0;

HRESULT STDMETHODCALLTYPE NotedPlay(IDirectSoundBuffer* b, DWORD reserved, DWORD priority, DWORD flags)
{
    const HRESULT r = OriginalPlay(b, reserved, priority, flags);
    LastPlay = bench::Seconds();
    return r;
}

void NotePlays(IDirectSoundBuffer* b)
{
    if (OriginalPlay || !b) return;
    void** table = *reinterpret_cast<void***>(b);
    constexpr int PlaySlot = 12;              // after IUnknown's 3 and GetCaps to Lock
    DWORD old = 0;
    if (!VirtualProtect(&table[PlaySlot], sizeof(void*), PAGE_EXECUTE_READWRITE, &old)) return;
    OriginalPlay = reinterpret_cast<TPlay>(table[PlaySlot]);
    table[PlaySlot] = reinterpret_cast<void*>(&NotedPlay);
    VirtualProtect(&table[PlaySlot], sizeof(void*), old, &old);
}

bool Playing()
{
    DWORD status = 0;
    return PlayerState.CurrentBuffer && SUCCEEDED(PlayerState.CurrentBuffer->GetStatus(&status)) &&
           (status & DSBSTATUS_PLAYING);
}

// Clicks line index and waits until it sounds; the seconds it took, to the Play that started it
// and (in toEnd) to the end of the message in which it started. With stopFirst, the previous
// line has been stopped and has faded out; otherwise it is still playing, and stopping it is
// part of the click (with smooth stops, the new sound waits until the old one's ramp plays).
double ClickToSound(TSonidexForm* form, int index, bool stopFirst = true, double* toEnd = nullptr)
{
    if (stopFirst) {
        StopStream();
        StopCurrent();
        FinishFades();
    }
    TRect r = form->WAVList->ItemRect(index);
    LPARAM at = MAKELPARAM(r.Left + 10, r.Top + 5);
    HWND list = form->WAVList->Handle();
    // What the previous click left to do (the waveform's request, repaints) is done first, and
    // the screen has drawn it, as long before a person's next click.
    MSG m;
    auto drain = [&m] {
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    };
    drain();
    Sleep(PersonPace);
    drain();
    const double t = bench::Seconds();
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    Failure.clear();
    // One message at a time: the time ends with the message that started the sound, not with
    // the repaints and the waveform request that follow it.
    while (PlayerState.LastIndex != index || !Playing()) {
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (!Failure.empty() || bench::Seconds() - t > 30) return -1;
    }
    const double end = bench::Seconds() - t;
    if (toEnd) *toEnd = end;
    NotePlays(PlayerState.CurrentBuffer);
    return LastPlay > t ? LastPlay - t : end;
}

// The floor program, started on file and ended with this object.
class TFloor {
public:
    explicit TFloor(const std::string& file)
    {
        char exe[MAX_PATH];
        const DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string dir(exe, n);
        dir.erase(dir.find_last_of('\\') + 1);
        std::string command = "\"" + dir + "ClickFloor.exe\" \"" + file + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &FProcess)) return;
        for (int i = 0; i < 1000 && !(FWindow = FindWindowA("ClickFloor", nullptr)); ++i) Sleep(10);
    }
    ~TFloor()
    {
        if (!FProcess.hProcess) return;
        if (FWindow) PostMessageA(FWindow, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(FProcess.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(FProcess.hProcess, 1);
        CloseHandle(FProcess.hProcess);
        CloseHandle(FProcess.hThread);
    }
    bool Ready() const { return FWindow != nullptr; }
    // One click on the floor, timed by the floor itself as ClickToSound times one here.
    double Click(double& toEnd) const
    {
        Sleep(PersonPace);
        toEnd = double(SendMessageA(FWindow, WM_APP + 1, 1, 0)) / 1e6;
        return double(SendMessageA(FWindow, WM_APP + 2, 0, 0)) / 1e6;
    }
private:
    PROCESS_INFORMATION FProcess = {};
    HWND FWindow = nullptr;
};
}

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    TApplication app;
    Application->Initialize();
    Application->OnException = [](TObject*, const std::exception& e) { Failure = e.what(); };
    if (!bench::StartPlayerWindow()) return 0;
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string folder = std::string(dir) + "sonidex-click\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    // "click_to_sound floor" measures against the floor alone.
    const bool floorOnly = argc > 1 && std::strcmp(argv[1], "floor") == 0;
    // Real data in all, so that the static copy reads every page of the big file.
    bench::WriteWav(folder + "small.wav", 100u << 10, std::vector<char>(4096, 17));
    bench::WriteWav(folder + "small2.wav", 100u << 10, std::vector<char>(4096, 17));
    if (!floorOnly) {
        bench::WriteWav(folder + "big.wav", 200u << 20, std::vector<char>(1 << 20, 9));
        bench::WriteWav(folder + "mid.wav", 64u << 20, std::vector<char>(1 << 20, 5));
        bench::WriteWav(folder + "big24.wav", (200u << 20) / 6 * 6, std::vector<char>(3 << 20, 9), 24);
    }
    AppSettings.Sort = true;
    AppSettings.Subdir = false;
    AppSettings.Path = folder;
    ParseFilter("wav");
    SonidexForm->RebuildList();
    Application->ProcessMessages();
    auto line = [](const char* name) {
        for (int i = 0; i < SonidexForm->WAVList->Count(); ++i)
            if (SonidexForm->WAVList->Strings(i) == name) return i;
        return -1;
    };
    const int smallLine = line("small");

    // Against the floor: static on one 100 KB line, streamed on the other, in turn (a line
    // clicked again would not load anew), from silence as the floor plays them; then the same
    // while the previous line still plays, as fast clicks through a list find it.
    {
        TFloor floor(folder + "small.wav");
        if (!floor.Ready()) return std::printf("the floor program did not start\n"), 1;
        std::vector<double> tf, ef, t[4], e[4];
        const int lines[2] = {smallLine, line("small2")};
        for (int i = 0; i < 101; ++i) {
            double fe = 0, te[4] = {}, tt[4] = {};
            const double f = floor.Click(fe);
            for (int k = 0; k < 4; ++k) {
                AppSettings.Streaming = k % 2 == 1;
                tt[k] = ClickToSound(SonidexForm, lines[k % 2], k < 2, &te[k]);
                if (tt[k] < 0) return std::printf("against the floor: no sound after a click: %s\n", Failure.c_str()), 1;
            }
            if (fe < 0) return std::printf("against the floor: the floor did not play\n"), 1;
            if (!i) continue;
            tf.push_back(f), ef.push_back(fe);
            for (int k = 0; k < 4; ++k) t[k].push_back(tt[k]), e[k].push_back(te[k]);
        }
        const double mf = bench::Median(tf), nf = bench::Median(ef);
        double m[4], n[4];
        for (int k = 0; k < 4; ++k) m[k] = bench::Median(t[k]), n[k] = bench::Median(e[k]);
        std::printf("%s: click to sound / floor: static %.2f, streamed %.2f (goal <= 1.5; 100 KB, medians of %d, to the "
                    "Play: floor %.2f ms, static %.2f ms, streamed %.2f ms; to the end of the click's message: static "
                    "%.2f, streamed %.2f)\n",
                    BuildWidth(), m[0] / mf, m[1] / mf, int(tf.size()), mf * 1e3, m[0] * 1e3, m[1] * 1e3, n[0] / nf,
                    n[1] / nf);
        std::printf("%s: click to sound / floor, the previous line still playing: static %.2f, streamed %.2f (%.2f ms, "
                    "%.2f ms: a smooth stop lets the old sound's ramp begin first)\n",
                    BuildWidth(), m[2] / mf, m[3] / mf, m[2] * 1e3, m[3] * 1e3);
    }

    if (!floorOnly) {
        // Medians of alternating clicks, so that each click loads its file; the first pair warms up.
        auto measure = [smallLine](int bigLine, int runs, double& small, double& big) {
            std::vector<double> ts, tb;
            for (int i = 0; i < runs; ++i) {
                const double b = ClickToSound(SonidexForm, bigLine), s = ClickToSound(SonidexForm, smallLine);
                if (b < 0 || s < 0) return false;
                if (i) ts.push_back(s), tb.push_back(b);
            }
            small = bench::Median(ts);
            big = bench::Median(tb);
            return true;
        };
        double small = 0, big = 0;
        AppSettings.Streaming = true;
        if (!measure(line("big"), 41, small, big)) return std::printf("streaming: no sound after a click: %s\n", Failure.c_str()), 1;
        std::printf("%s: click to sound, streaming on:  100 KB %.2f ms, 200 MB %.2f ms, ratio %.2f (goal <= 1.2)\n",
                    BuildWidth(), small * 1e3, big * 1e3, big / small);
        AppSettings.HiRes = true;
        if (!measure(line("big24"), 41, small, big)) return std::printf("streaming 24-bit: no sound after a click: %s\n", Failure.c_str()), 1;
        std::printf("%s: click to sound, streaming on:  100 KB %.2f ms, 200 MB 24-bit %.2f ms, ratio %.2f (goal <= 1.2)\n",
                    BuildWidth(), small * 1e3, big * 1e3, big / small);
        AppSettings.HiRes = false;
        AppSettings.Streaming = false;
        if (measure(line("big"), 6, small, big))
            std::printf("%s: click to sound, streaming off: 100 KB %.2f ms, 200 MB %.2f ms, ratio %.2f\n", BuildWidth(), small * 1e3,
                        big * 1e3, big / small);
        else
            std::printf("%s: click to sound, streaming off, 200 MB: %s\n", BuildWidth(), Failure.c_str());
        if (measure(line("mid"), 6, small, big))
            std::printf("%s: click to sound, streaming off: 100 KB %.2f ms, 64 MB %.2f ms, ratio %.2f\n", BuildWidth(), small * 1e3,
                        big * 1e3, big / small);
        else
            std::printf("%s: click to sound, streaming off, 64 MB: %s\n", BuildWidth(), Failure.c_str());
    }
    StopStream();
    StopCurrent();
    SonidexForm->WAVList->Clear();
    DeleteFileA((folder + "big.wav").c_str());
    DeleteFileA((folder + "mid.wav").c_str());
    DeleteFileA((folder + "small.wav").c_str());
    DeleteFileA((folder + "small2.wav").c_str());
    DeleteFileA((folder + "big24.wav").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
