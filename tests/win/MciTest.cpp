// The media control interface path with the real winmm under Wine.
#include "AudioSupport.h"
#include "SoundCapture.h"
#include <mmsystem.h>
#include "audio/MCIPlayer.h"

using namespace wintest;

namespace {
// A PCM WAV of the given length: 16-bit mono 8000 Hz silence with a faint tone.
std::string Wav(int ms)
{
    int n = 8000 * ms / 1000;
    std::string data(n * 2, '\0');
    for (int i = 0; i < n; ++i) data[i * 2 + 1] = static_cast<char>((i / 8) % 2 ? 8 : -8);
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<char*>(&v), 4); };
    auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<char*>(&v), 2); };
    std::string fmt = u16(1) + u16(1) + u32(8000) + u32(16000) + u16(2) + u16(16);
    std::string body = "WAVE" + std::string("fmt ") + u32(16) + fmt + "data" + u32(data.size()) + data;
    return "RIFF" + u32(body.size()) + body;
}

struct NotifyWindow {
    NotifyWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MciTestNotify";
        RegisterClassA(&wc);
        Handle = CreateWindowA("MciTestNotify", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        Codes().clear();
        MciCallbackWindow = Handle;
    }
    ~NotifyWindow()
    {
        SendMciCommand("CLOSE PlayingMIDI");
        MciCallbackWindow = nullptr;
        DestroyWindow(Handle);
    }
    static std::vector<int>& Codes() { static std::vector<int> c; return c; }
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m == MM_MCINOTIFY) Codes().push_back(static_cast<int>(w));
        return DefWindowProcA(h, m, w, l);
    }
    HWND Handle;
};
}

TEST(MediaPlayer, OpensPlaysAndNotifiesTheEnd)
{
    NotifyWindow w;
    std::string dir = TempFolder("mci");
    WriteFile(dir + "tone.wav", Wav(300));
    MciOpen(dir + "tone.wav");
    int length = MciLength();
    EXPECT_NEAR(length, 300, 2) << "length in milliseconds";
    MciPlayFrom(0);
    ASSERT_TRUE(PumpUntil([] { return !NotifyWindow::Codes().empty(); }, 5000)) << "no end-of-play notice";
    EXPECT_EQ(NotifyWindow::Codes().front(), MCI_NOTIFY_SUCCESSFUL);
}

TEST(MediaPlayer, AStopIsHeardToEndThePlayLongBeforeTheFileDoes)
{
    REQUIRE_CAPTURE();
    NotifyWindow w;
    std::string dir = TempFolder("mci-stop");
    WriteFile(dir + "long.wav", Wav(3000));
    MciOpen(dir + "long.wav");
    const long long start = CaptureSize();
    MciPlayFrom(0);
    ASSERT_TRUE(PumpUntil([&] { return !MeasureSound(CaptureFrom(start)).Silent; }, 5000))
        << "the file is never heard";
    MciStop();
    const long long stopped = CaptureSize();
    // A second after the stop: what the device still held has come out, and then nothing.
    ASSERT_TRUE(WaitForCapture(stopped, CaptureRate * CaptureFrameBytes, 5000)) << "the capture does not grow";
    const TSoundMeasure m = MeasureSound(CaptureFrom(start));
    EXPECT_LT(m.HeardMs(), 1500) << "a 3 s file, stopped as soon as it was heard, sounded this long";
    EXPECT_TRUE(MeasureSound(CaptureFrom(stopped + CaptureRate * CaptureFrameBytes / 2)).Silent)
        << "sound half a second after the stop";
    for (int code : NotifyWindow::Codes()) EXPECT_NE(code, MCI_NOTIFY_SUCCESSFUL) << "a stopped play is no successful end";
}

TEST(MediaPlayer, PathWithBlanksStillOpens)
{
    NotifyWindow w;
    std::string dir = TempFolder("mci blanks");
    WriteFile(dir + "my tone.wav", Wav(200));
    MciOpen(dir + "my tone.wav");
    // Sent as it is, the interface would stop reading the name at the first blank.
    EXPECT_NEAR(MciLength(), 200, 2);
}

TEST(MediaPlayer, PathTooLongForTheCommandIsOpenedByItsShortName)
{
    NotifyWindow w;
    std::string dir = TempFolder("mci-long");
    // Nested folders so that the path fits the file system (under 260) but not the command (255).
    std::string path = dir;
    while (path.size() < 200) {
        path += std::string(40, 'd') + "\\";
        CreateDirectoryA(path.c_str(), nullptr);
    }
    std::string file = path + std::string(245 - path.size(), 'f') + ".wav";
    ASSERT_LT(file.size(), 260u);
    ASSERT_GT(file.size() + 23, 255u);
    WriteFile(file, Wav(250));
    MciOpen(file);
    int length = MciLength();
    char shortPath[MAX_PATH];
    if (!GetShortPathNameA(file.c_str(), shortPath, MAX_PATH) || strlen(shortPath) + 23 > 255)
        EXPECT_EQ(length, 0) << "no short name that fits: the file must not be opened";
    else
        EXPECT_NEAR(length, 250, 2);
}

namespace {
// A format-0 MIDI file: a few quarter notes at 120 beats a minute (96 ticks a beat).
std::string Midi(int notes)
{
    std::string track = std::string("\x00\xff\x51\x03\x07\xa1\x20", 7);
    for (int i = 0; i < notes; ++i) {
        char on[] = {0x00, char(0x90), char(60 + i), 100};
        char off[] = {0x60, char(0x80), char(60 + i), 64};
        track += std::string(on, 4) + std::string(off, 4);
    }
    track += std::string("\x00\xff\x2f\x00", 4);
    auto be32 = [](uint32_t v) { return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; };
    return "MThd" + be32(6) + std::string("\x00\x00\x00\x01\x00\x60", 6) + "MTrk" + be32(track.size()) + track;
}
}

TEST(MediaPlayer, MidiFilePlaysToItsEndThroughTheSequencer)
{
    // No MIDI device exists in a container: the prefix carries a logging MIDI mapper instead.
    char sys[MAX_PATH];
    GetSystemDirectoryA(sys, MAX_PATH);
    if (GetFileAttributesA((std::string(sys) + "\\midimap.dll").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no MIDI output in this prefix";
    NotifyWindow w;
    std::string dir = TempFolder("mci-midi");
    WriteFile(dir + "four.mid", Midi(4));
    MciOpen(dir + "four.mid");
    int length = MciLength();
    EXPECT_GT(length, 0);
    DWORD t0 = GetTickCount();
    MciPlayFrom(0);
    ASSERT_TRUE(PumpUntil([] { return !NotifyWindow::Codes().empty(); }, 10000)) << "no end-of-play notice";
    EXPECT_EQ(NotifyWindow::Codes().front(), MCI_NOTIFY_SUCCESSFUL);
    EXPECT_GE(GetTickCount() - t0, 1500u) << "four half-second notes";
}
