// The WAV reader, DirectSound output and the streaming player with the real file mapping and
// the real DirectSound, without listening to the sound (SoundOutputTest.cpp does that).
#include <atomic>
#include <cstring>
#include <thread>
#include "../fuzz/WavCorpusTable.h"
#include "AudioSupport.h"
#include "SoundCapture.h"
#include "app/pure/AppConfig.h"
#include "audio/pure/StreamRing.h"

using namespace wintest;

namespace {
class Audio : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_SOUND_DEVICE();
        ResetPlayer();
    }
    void TearDown() override { ResetPlayer(); }

    // A 16-bit mono 11025 Hz file of dataBytes bytes of a tone, written to the test's folder.
    std::string Write(const std::string& name, size_t dataBytes, int rate = 11025, int bits = 16, int channels = 1)
    {
        if (Folder.empty()) Folder = TempFolder("audio");
        auto data = Sine(441, 10.0, rate, bits, channels, 0.3);
        data.resize(dataBytes, 0);
        const std::string path = Folder + name;
        WriteFile(path, WavFile(rate, bits, channels, data));
        return path;
    }
    std::string Folder;
};

// The views of files mapped into the process: one left behind shows as one more.
int MappedViews()
{
    int views = 0;
    MEMORY_BASIC_INFORMATION m;
    for (auto* p = static_cast<char*>(nullptr); VirtualQuery(p, &m, sizeof m) == sizeof m;
         p = static_cast<char*>(m.BaseAddress) + m.RegionSize) {
        if (m.Type == MEM_MAPPED && m.State == MEM_COMMIT && m.BaseAddress == m.AllocationBase) ++views;
        if (static_cast<char*>(m.BaseAddress) + m.RegionSize < p) break;
    }
    return views;
}

bool Mapped(const void* view)
{
    MEMORY_BASIC_INFORMATION m = {};
    return view && VirtualQuery(view, &m, sizeof m) && m.State == MEM_COMMIT;
}
}

TEST_F(Audio, DeviceOpensOnceAt44100Hz16BitStereoAndClosesOnce)
{
    IDirectSound* device = PlayerState.Device;
    OpenSoundDevice(Application->Handle());               // already open: nothing happens
    EXPECT_EQ(PlayerState.Device, device);
    WAVEFORMATEX f;
    ASSERT_TRUE(GetPrimaryFormat(f));
    EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(f.nSamplesPerSec, 44100u);
    EXPECT_EQ(f.wBitsPerSample, 16);
    EXPECT_EQ(f.nChannels, 2);

    CloseSoundDevice();
    CloseSoundDevice();                                   // the second does nothing
    EXPECT_FALSE(PlayerState.DeviceOpened);
    EXPECT_EQ(PlayerState.Device, nullptr);
    EXPECT_FALSE(GetPrimaryFormat(f));
    EXPECT_EQ(f.nSamplesPerSec, 0u);

    // With the media player chosen the step runs without a device.
    AppSettings.UseMedia = true;
    OpenSoundDevice(Application->Handle());
    EXPECT_TRUE(PlayerState.DeviceOpened);
    EXPECT_EQ(PlayerState.Device, nullptr);
    CloseSoundDevice();
    AppSettings.UseMedia = false;
    OpenSoundDevice(Application->Handle());
    EXPECT_NE(PlayerState.Device, nullptr);
}

TEST_F(Audio, OperationsWithoutABufferDoNothing)
{
    ASSERT_EQ(PlayerState.CurrentBuffer, nullptr);
    StopCurrent();
    StartCurrent();
    ApplyVolume();
    ApplyPan();
    ApplyFrequency();
    ApplyLoopFlag();
    SetPlayCursor(1000);
    EXPECT_EQ(GetPlayCursor(), 0);
    StopStream();
    StopStream();
    // They left nothing behind, and the next sample loads and plays as usual.
    EXPECT_EQ(PlayerState.CurrentBuffer, nullptr);
    EXPECT_EQ(StreamState.MapHandle, nullptr);
    ASSERT_EQ(LoadWaveFile(Write("after.wav", 44100), PlayerState.CurrentBuffer), 0);
    StartCurrent();
    EXPECT_TRUE(Status(PlayerState.CurrentBuffer) & DSBSTATUS_PLAYING);
}

TEST_F(Audio, CorpusFilesGiveTheirResultsAndBadOnesKeepThePreviousSound)
{
    for (bool streaming : {false, true}) {
        AppSettings.Streaming = streaming;
        for (const auto& c : WavCorpus) {
            ResetPlayer();
            AppSettings.Streaming = streaming;
            ASSERT_EQ(LoadWaveFile(CorpusPath("good_pcm16_mono.wav"), PlayerState.CurrentBuffer), 0);
            IDirectSoundBuffer* previous = PlayerState.CurrentBuffer;
            ASSERT_NE(previous, nullptr);
            HANDLE previousMapping = StreamState.MapHandle;
            PlayerState.DataSize = -7;
            PlayerState.FileSize = -9;
            const int r = LoadWaveFile(CorpusPath(c.Name), PlayerState.CurrentBuffer);
            EXPECT_EQ(r, c.Load) << c.Name << (streaming ? " streamed" : " static");
            if (r != 0) EXPECT_EQ(PlayerState.CurrentBuffer, previous) << c.Name;
            if (r == 0) EXPECT_NE(PlayerState.CurrentBuffer, nullptr) << c.Name;
            EXPECT_EQ(PlayerState.DataSize, c.DataSize < 0 ? -7 : c.DataSize) << c.Name;
            if (c.FormatTag >= 0) EXPECT_EQ(PlayerState.Format.wFormatTag, c.FormatTag) << c.Name;
            if (c.FormatTag >= 0) EXPECT_EQ(PlayerState.Format.wBitsPerSample, c.Bits) << c.Name;
            // A file that does not open leaves the size alone; any other gives its own.
            EXPECT_EQ(PlayerState.FileSize, c.Load == 1 ? -9 : [&] {
                WIN32_FILE_ATTRIBUTE_DATA d;
                GetFileAttributesExA(CorpusPath(c.Name).c_str(), GetFileExInfoStandard, &d);
                return int32_t(d.nFileSizeLow);
            }()) << c.Name;
            // Only a stream keeps its file mapped; a file turned down leaves the previous one.
            if (r != 0) EXPECT_EQ(StreamState.MapHandle, previousMapping) << c.Name;
            if (r == 0) EXPECT_EQ(StreamOpen(), streaming) << c.Name;
            if (r == 0) {
                // Every accepted file starts, static or streamed (a stream always has its
                // ring to play; a static buffer of a few bytes may be through already).
                streaming ? StartStream() : StartCurrent();
                EXPECT_TRUE((Status(PlayerState.CurrentBuffer) & DSBSTATUS_PLAYING) || (!streaming && c.DataSize < 4096))
                    << c.Name << (streaming ? " streamed" : " static") << " does not play";
            }
        }
    }
}

TEST_F(Audio, AMissingFileGives1AndChangesNothing)
{
    ASSERT_EQ(LoadWaveFile(CorpusPath("good_pcm16_mono.wav"), PlayerState.CurrentBuffer), 0);
    IDirectSoundBuffer* previous = PlayerState.CurrentBuffer;
    PlayerState.FileSize = 1234;
    EXPECT_EQ(LoadWaveFile(CorpusPath("no such file.wav"), PlayerState.CurrentBuffer), 1);
    EXPECT_EQ(PlayerState.FileSize, 1234);
    EXPECT_EQ(PlayerState.CurrentBuffer, previous);
}

TEST_F(Audio, OnlyAStreamKeepsTheFileOpenAndStopStreamLetsItGo)
{
    const std::string path = Write("held.wav", 500000);    // too large to be read whole
    ASSERT_EQ(LoadWaveFile(path, PlayerState.CurrentBuffer), 0);
    // A static load lets go of the file at once, whatever the result: no handle stays behind.
    const int idle = MappedViews();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(LoadWaveFile(path, PlayerState.CurrentBuffer), 0);
        EXPECT_EQ(LoadWaveFile(CorpusPath("pcm24.wav"), PlayerState.CurrentBuffer), 3);
        EXPECT_EQ(LoadWaveFile(CorpusPath("not_wave.wav"), PlayerState.CurrentBuffer), 2);
    }
    EXPECT_EQ(MappedViews(), idle);
    AppSettings.Streaming = true;
    ASSERT_EQ(LoadWaveFile(path, PlayerState.CurrentBuffer), 0);
    const void* view = StreamState.Window.View();
    EXPECT_TRUE(Mapped(view));
    EXPECT_EQ(MappedViews(), idle + 1);
    const HANDLE mapping = StreamState.MapHandle;
    DWORD flags;
    EXPECT_TRUE(GetHandleInformation(mapping, &flags));
    StartStream();
    Pump(30);
    StopStream();
    EXPECT_EQ(StreamState.MapHandle, nullptr);
    EXPECT_FALSE(Mapped(view));
    EXPECT_EQ(MappedViews(), idle);
    EXPECT_FALSE(GetHandleInformation(mapping, &flags));
    StopStream();                                          // the second does nothing
    // The ring stays the current buffer until the next load.
    EXPECT_EQ(PlayerState.CurrentBuffer, StreamState.Buffer.load());
}

TEST_F(Audio, LoadingBoxOnlyForLargeStaticLoadsAndTheGaugeFollowsTheCopy)
{
    std::vector<std::string> log;
    LoadingDisplay.Show = [&](int max) { log.push_back("show " + std::to_string(max)); };
    LoadingDisplay.Progress = [&](int pos) { log.push_back(std::to_string(pos)); };
    LoadingDisplay.Hide = [&] { log.push_back("hide"); };
    struct { size_t fileBytes; bool streaming; std::vector<std::string> want; } cases[] = {
        // 131072 bytes of data copy in one slice, one more byte takes two.
        {44 + 131072, false, {"131116"}},
        {44 + 131073, false, {"131116", "131117"}},
        {262143, false, {"131116", "262143"}},
        {262144, false, {"show 262143", "131116", "262144", "hide"}},
        {262144, true, {}},
        {700000, true, {}},
    };
    for (auto& c : cases) {
        ResetPlayer();
        LoadingDisplay.Show = [&](int max) { log.push_back("show " + std::to_string(max)); };
        LoadingDisplay.Progress = [&](int pos) { log.push_back(std::to_string(pos)); };
        LoadingDisplay.Hide = [&] { log.push_back("hide"); };
        AppSettings.Streaming = c.streaming;
        log.clear();
        ASSERT_EQ(LoadWaveFile(Write("gauge.wav", c.fileBytes - 44), PlayerState.CurrentBuffer), 0);
        EXPECT_EQ(log, c.want) << c.fileBytes << (c.streaming ? " streamed" : "");
    }
    // A large file that turns out not to be a WAV still takes its box down.
    ResetPlayer();
    LoadingDisplay.Show = [&](int max) { log.push_back("show " + std::to_string(max)); };
    LoadingDisplay.Hide = [&] { log.push_back("hide"); };
    log.clear();
    const std::string junk = Folder + "junk.wav";
    WriteFile(junk, std::string(300000, 'x'));
    EXPECT_EQ(LoadWaveFile(junk, PlayerState.CurrentBuffer), 2);
    EXPECT_EQ(log, (std::vector<std::string>{"show 299999", "hide"}));
}

TEST_F(Audio, ABufferDirectSoundRefusesRaisesAndLetsGoOfEverything)
{
    // PCM with no channels passes the reader's checks; DirectSound refuses the format.
    std::string bytes = WavFile(11025, 16, 1, std::vector<char>(300000, 1));
    bytes[22] = 0;
    const std::string path = TempFolder("audio-refused") + "nochannels.wav";
    WriteFile(path, bytes);
    const int idle = MappedViews();
    for (bool streaming : {false, true}) {
        ResetPlayer();
        int hides = 0;
        LoadingDisplay.Hide = [&] { ++hides; };
        AppSettings.Streaming = streaming;
        ASSERT_EQ(LoadWaveFile(CorpusPath("good_pcm16_mono.wav"), PlayerState.CurrentBuffer), 0);
        try {
            LoadWaveFile(path, PlayerState.CurrentBuffer);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Error while creating a DirectSound buffer");
        }
        EXPECT_EQ(PlayerState.CurrentBuffer, nullptr);
        EXPECT_EQ(StreamState.MapHandle, nullptr);
        EXPECT_EQ(MappedViews(), idle) << "the mapping is released";
        EXPECT_EQ(hides, streaming ? 0 : 1);
        StartCurrent();                                    // nothing to play, nothing breaks
    }
}

TEST_F(Audio, AnEmptyOrTinySampleLoadsAndPlaysAsNothing)
{
    for (const char* name : {"data_empty.wav", "data_three_bytes.wav"}) {
        ASSERT_EQ(LoadWaveFile(CorpusPath(name), PlayerState.CurrentBuffer), 0) << name;
        StartCurrent();
        EXPECT_TRUE(PumpUntil([] { return !(Status(PlayerState.CurrentBuffer) & DSBSTATUS_PLAYING); }, 1000)) << name;
    }
}

TEST_F(Audio, LoopFlagChangesWithoutRewinding)
{
    ASSERT_EQ(LoadWaveFile(Write("loop.wav", 44100), PlayerState.CurrentBuffer), 0);   // 2 s
    PlayerState.LoopCount = LoopForever;
    StartCurrent();
    ASSERT_TRUE(PumpUntil([] { return GetPlayCursor() >= 2205; }, 3000)) << "0.1 s played; at " << GetPlayCursor();
    const int32_t before = GetPlayCursor();
    PlayerState.LoopCount = 0;
    ApplyLoopFlag();
    EXPECT_GE(GetPlayCursor(), before);                   // not rewound
    EXPECT_TRUE(Status(PlayerState.CurrentBuffer) & DSBSTATUS_PLAYING);
    EXPECT_FALSE(Status(PlayerState.CurrentBuffer) & DSBSTATUS_LOOPING);
    // A seek and a stop ramp the sound down first: they are done a moment later.
    SetPlayCursor(40000);
    EXPECT_TRUE(PumpUntil([] { return GetPlayCursor() >= 40000; }, 1000)) << GetPlayCursor();
    StopCurrent();
    EXPECT_TRUE(PumpUntil([] { return GetPlayCursor() == 0; }, 1000)) << GetPlayCursor();
    // A stopped buffer starts again from its beginning.
    PlayerState.LoopCount = LoopForever;
    ApplyLoopFlag();
    EXPECT_TRUE(Status(PlayerState.CurrentBuffer) & DSBSTATUS_LOOPING);
    EXPECT_LT(GetPlayCursor(), 20000);
}

TEST_F(Audio, ALoopingStreamWithoutDataEndsWithoutAFault)
{
    AppSettings.Streaming = true;
    PlayerState.LoopCount = LoopForever;
    ASSERT_EQ(LoadWaveFile(CorpusPath("data_empty.wav"), PlayerState.CurrentBuffer), 0);
    StartStream();
    // 11025 Hz 16-bit mono: a half lasts 1.5 s; the ring stops as its first notification is handled.
    EXPECT_TRUE(PumpUntil([] { return !(Status(PlayerState.CurrentBuffer) & DSBSTATUS_PLAYING); }, 3000));
    StreamLoopChanged();                                  // nothing to fold into
    EXPECT_EQ(StreamState.ReadOffset, 2 * StreamHalfBytes);
}

TEST_F(Audio, NotificationsAroundAStopNeverRefillFromTheReleasedMapping)
{
    // Another thread signals the refill event without pause while streams are opened, started
    // and stopped at random moments: a refill that slipped past a stop would read the unmapped
    // file (a fault) or change the stopped ring.
    const std::string path = Write("storm.wav", 200000);
    AppSettings.Streaming = true;
    std::atomic<bool> storm{true};
    std::thread hammer([&] {
        while (storm) {
            SetEvent(StreamState.NotifyEvent);
            Sleep(0);
        }
    });
    auto ring = [] {
        std::vector<char> copy(StreamRingBytes);
        void *p1, *p2;
        DWORD l1, l2;
        IDirectSoundBuffer* b = StreamState.Buffer;
        if (SUCCEEDED(b->Lock(0, StreamRingBytes, &p1, &l1, &p2, &l2, 0))) {
            std::memcpy(copy.data(), p1, l1);
            b->Unlock(p1, l1, p2, l2);
        }
        return copy;
    };
    int changed = 0;
    for (int i = 0; i < 60; ++i) {
        ASSERT_EQ(LoadWaveFile(path, PlayerState.CurrentBuffer), 0);
        if (i % 2) StartStream();
        Sleep(DWORD(i % 4));
        StopStream();
        const auto before = ring();
        const int32_t mark = StreamState.RingMark, offset = StreamState.ReadOffset;
        Sleep(3);
        changed += ring() != before || StreamState.RingMark != mark || StreamState.ReadOffset != offset;
    }
    storm = false;
    hammer.join();
    EXPECT_EQ(changed, 0);
}

TEST_F(Audio, ASmallFileReadWholeIsClosedOnceTheClickHasStartedItsSound)
{
    // Opened without sharing deletion: while it is held, the file cannot be deleted.
    for (bool streaming : {false, true}) {
        AppSettings.Streaming = streaming;
        const std::string path = Write("small.wav", 20000);
        {
            const TAfterStart afterStart;
            ASSERT_EQ(LoadWaveFile(path, PlayerState.CurrentBuffer), 0);
            streaming ? StartStream() : StartCurrent();
            EXPECT_FALSE(DeleteFileA(path.c_str())) << streaming << ": closed before the start was over";
        }
        EXPECT_TRUE(DeleteFileA(path.c_str())) << streaming << ": still open after the start";
        StopStream();
        StopCurrent();
    }
}
