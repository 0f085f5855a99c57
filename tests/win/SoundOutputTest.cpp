// What really comes out of the sound device, recorded bit for bit by the session's PulseAudio
// capture: static and streamed samples, loops, the end of a stream, 8-bit pitch, and volume,
// pan and frequency in their units.
#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>
#include "AudioSupport.h"
#include "SoundCapture.h"
#include "app/pure/AppConfig.h"
#include "audio/pure/StreamRing.h"

using namespace wintest;

namespace {
class SoundOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_CAPTURE();
        ResetPlayer();
        Folder = TempFolder("sound");
    }
    void TearDown() override { ResetPlayer(); }

    // Loads the sample, applies volume, pan and frequency (the sample's own rate unless given),
    // starts it, and returns what the device played during ms milliseconds from the start.
    // A stray notice on the stream's event before the start (one left over from an earlier ring)
    // must change nothing.
    std::vector<char> PlayAndCapture(const std::string& wav, bool streaming, int ms, int frequency = 0,
                                     bool strayNotice = false)
    {
        const std::string path = Folder + "sample.wav";
        WriteFile(path, wav);
        AppSettings.Streaming = streaming;
        const long long start = CaptureSize();
        EXPECT_EQ(LoadWaveFile(path, PlayerState.CurrentBuffer), 0);
        PlayerState.Frequency = frequency ? frequency : int32_t(PlayerState.Format.nSamplesPerSec);
        ApplyVolume();
        ApplyPan();
        ApplyFrequency();
        if (strayNotice) {
            SetEvent(StreamState.NotifyEvent);
            Sleep(50);
        }
        streaming ? StartStream() : StartCurrent();
        Started = GetTickCount();
        EXPECT_TRUE(WaitForCapture(start, (ms + 400LL) * CaptureRate / 1000 * CaptureFrameBytes, ms + 5000))
            << "the capture does not grow";
        return CaptureFrom(start);
    }
    static bool Playing()
    {
        DWORD s = 0;
        if (PlayerState.CurrentBuffer) PlayerState.CurrentBuffer->GetStatus(&s);
        return s & DSBSTATUS_PLAYING;
    }
    std::string Folder;
    DWORD Started = 0;
};

const char* Mode(bool streaming) { return streaming ? "streamed" : "static"; }
}

TEST_F(SoundOutput, A44100Hz16BitStereoSampleComesOutBitExact)
{
    const auto data = Noise16(26460, 1);                             // 0.6 s: several ring halves
    // Streamed also with a stray notice before the start, and with notices signalled without
    // pause all the while it plays: a notice that marks no crossing changes nothing.
    for (int run = 0; run < 4; ++run) {
        const bool streaming = run > 0, stray = run == 2;
        std::atomic<bool> storm{run == 3};
        std::thread hammer([&storm] {
            while (storm) {
                SetEvent(StreamState.NotifyEvent);
                Sleep(1);
            }
        });
        const auto cap = PlayAndCapture(WavFile(44100, 16, 2, data), streaming, 600, 0, stray);
        storm = false;
        hammer.join();
        const long long at = FindBlock(cap, data);
        ASSERT_GE(at, 0) << Mode(streaming) << run << ": the sample's first frames never came out";
        EXPECT_EQ(EqualPrefixAcrossDropouts(cap, at, data), data.size()) << Mode(streaming) << run;
        ResetPlayer();
    }
}

TEST_F(SoundOutput, ALoopedStreamWrapsWithoutAGapOrARepeatedBlock)
{
    // 70560 bytes: the wrap falls inside a half, at a different place each pass.
    const auto data = Noise16(17640, 2);
    PlayerState.LoopCount = LoopForever;
    const auto cap = PlayAndCapture(WavFile(44100, 16, 2, data), true, 1300);
    const long long at = FindBlock(cap, data);
    ASSERT_GE(at, 0);
    std::vector<char> want;
    for (int pass = 0; pass < 3; ++pass) want.insert(want.end(), data.begin(), data.end());
    want.resize(data.size() * 5 / 2);
    ASSERT_GE(cap.size() - size_t(at), want.size());
    const size_t same = EqualPrefixAcrossDropouts(cap, at, want);
    EXPECT_EQ(same, want.size()) << "differs at pass " << same / data.size() << ", byte " << same % data.size();
    EXPECT_GE(StreamState.ReadOffset, 0);
    EXPECT_LT(StreamState.ReadOffset, int32_t(data.size()));
}

TEST_F(SoundOutput, TheEndOfAStreamIsTheDataThenSilenceThenNothing)
{
    // Longer than a half, and shorter than one.
    for (size_t frames : {13230u, 5000u}) {
        const auto data = Noise16(frames, 3);
        const auto cap = PlayAndCapture(WavFile(44100, 16, 2, data), true, 1200);
        const long long at = FindBlock(cap, data);
        ASSERT_GE(at, 0) << frames;
        size_t after = 0;
        EXPECT_EQ(EqualPrefixAcrossDropouts(cap, at, data, nullptr, &after), data.size()) << frames;
        size_t silent = 0;
        while (after + silent < cap.size() && cap[after + silent] == 0) ++silent;
        EXPECT_EQ(after + silent, cap.size()) << frames << ": sound after the data";
        EXPECT_GE(silent, size_t(CaptureRate * CaptureFrameBytes / 2)) << frames;
        // The ring has stopped, and not before the data was through.
        EXPECT_TRUE(PumpUntil([] { return !Playing(); }, 2000)) << frames;
        const DWORD playedMs = GetTickCount() - Started;
        EXPECT_GE(playedMs + 50, frames * 1000 / 44100) << frames;
        ResetPlayer();
    }
}

TEST_F(SoundOutput, An8BitMono11025HzSampleHasItsPitchAndLength)
{
    for (bool streaming : {false, true}) {
        const auto cap = PlayAndCapture(WavFile(11025, 8, 1, Sine(441, 0.5, 11025, 8, 1, 0.5)), streaming, 500);
        const TSoundMeasure m = MeasureSound(cap, 64);
        ASSERT_FALSE(m.Silent) << Mode(streaming);
        // A silent run inside is the sound server running dry on a busy machine: the length
        // heard and the pitch leave it out.
        if (m.GapFrames) std::printf("(%s: a dropout of %zu frames)\n", Mode(streaming), m.GapFrames);
        EXPECT_NEAR(m.Hz, 441, 441 * 0.01) << Mode(streaming);
        EXPECT_NEAR(m.HeardMs(), 500, 10) << Mode(streaming);
        EXPECT_NEAR(TSoundMeasure::Db(m.RmsL), TSoundMeasure::Db(m.RmsR), 0.1) << Mode(streaming);
        ResetPlayer();
    }
}

TEST_F(SoundOutput, VolumePanAndFrequencyChangeTheSoundInTheirUnits)
{
    // A 441 Hz sine at half of full scale (-6.02 dB), 22050 Hz 16-bit mono, 0.4 s.
    const std::string wav = WavFile(22050, 16, 1, Sine(441, 0.4, 22050, 16, 1, 0.5));
    const double full = 20 * std::log10(0.5);
    struct {
        bool streaming;
        int volume, pan, frequency;
        double left, right, hz, ms;           // left/right in dB; below -90 means silent
    } cases[] = {
        {false, 0, 0, 22050, full, full, 441, 400},
        {false, -600, 0, 22050, full - 6, full - 6, 441, 400},
        {true, -1500, 0, 22050, full - 15, full - 15, 441, 400},
        {false, 0, 5000, 22050, full - 50, full, 441, 400},
        {false, 0, -2000, 22050, full, full - 20, 441, 400},
        {false, 0, -10000, 22050, full, -100, 441, 400},
        {false, 0, 0, 44100, full, full, 882, 200},
        {false, 0, 0, 11025, full, full, 220.5, 800},
    };
    for (auto& c : cases) {
        ResetPlayer();
        PlayerState.Volume = c.volume;
        PlayerState.Pan = c.pan;
        const auto cap = PlayAndCapture(wav, c.streaming, int(c.ms), c.frequency);
        const TSoundMeasure m = MeasureSound(cap, 8);
        const std::string what = std::string(Mode(c.streaming)) + " volume " + std::to_string(c.volume) + " pan " +
                                 std::to_string(c.pan) + " frequency " + std::to_string(c.frequency);
        ASSERT_FALSE(m.Silent) << what;
        auto level = [](double rms) { return std::max(TSoundMeasure::Db(rms), -100.0); };
        EXPECT_NEAR(level(m.RmsL), c.left, c.left < -90 ? 10 : 0.5) << what;
        EXPECT_NEAR(level(m.RmsR), c.right, c.right < -90 ? 10 : 0.5) << what;
        EXPECT_NEAR(m.Hz, c.hz, c.hz * 0.01) << what;
        EXPECT_NEAR(m.HeardMs(), c.ms, 10) << what;
    }
}

namespace {
// A 1 GB sample, sparse: noise at the start of the data and 900 MB into it, nothing between.
struct GigabyteFile {
    static constexpr uint32_t DistantOffset = 900u << 20;
    static constexpr uint32_t DataBytes = 1u << 30;
    std::vector<char> First = Noise16(8192, 5), Distant = Noise16(17640, 6);
    std::string Path;

    explicit GigabyteFile(const std::string& folder) : Path(folder + "gigabyte.wav")
    {
        std::string head = WavFile(44100, 16, 2, {});
        head[4] = char((36 + DataBytes) & 255), head[5] = char((36 + DataBytes) >> 8 & 255);
        head[6] = char((36 + DataBytes) >> 16 & 255), head[7] = char((36 + DataBytes) >> 24 & 255);
        head[40] = 0, head[41] = 0, head[42] = 0, head[43] = char(DataBytes >> 24);
        HANDLE f = CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(f, INVALID_HANDLE_VALUE);
        DWORD done;
        ::WriteFile(f, head.data(), DWORD(head.size()), &done, nullptr);
        ::WriteFile(f, First.data(), DWORD(First.size()), &done, nullptr);
        LARGE_INTEGER at;
        at.QuadPart = 44 + DistantOffset;
        SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
        ::WriteFile(f, Distant.data(), DWORD(Distant.size()), &done, nullptr);
        at.QuadPart = 44LL + DataBytes;
        SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
        SetEndOfFile(f);
        CloseHandle(f);
    }
    ~GigabyteFile() { DeleteFileA(Path.c_str()); }
};
}

TEST_F(SoundOutput, AGigabyteFileIsTooLargeToLoadWholeIn32Bits)
{
    if (sizeof(void*) == 8)
        GTEST_SKIP() << "a 64-bit process has the address space to load 1 GB whole; "
                        "the limit is a 32-bit one";
    GigabyteFile file(Folder);
    // Whole, it does not fit a 32-bit process: result 4, the previous sound stays.
    ASSERT_EQ(LoadWaveFile(CorpusPath("good_pcm16_mono.wav"), PlayerState.CurrentBuffer), 0);
    IDirectSoundBuffer* previous = PlayerState.CurrentBuffer;
    EXPECT_EQ(LoadWaveFile(file.Path, PlayerState.CurrentBuffer), 4);
    EXPECT_EQ(PlayerState.CurrentBuffer, previous);
}

TEST_F(SoundOutput, AGigabyteFileStreamsFromAnyPlace)
{
    GigabyteFile file(Folder);
    // Streamed, it plays; a seek before the start makes the second half come from 900 MB on.
    AppSettings.Streaming = true;
    const long long start = CaptureSize();
    ASSERT_EQ(LoadWaveFile(file.Path, PlayerState.CurrentBuffer), 0);
    EXPECT_EQ(PlayerState.DataSize, int32_t(GigabyteFile::DataBytes));
    SeekStream(int32_t(GigabyteFile::DistantOffset));
    StartStream();
    ASSERT_TRUE(WaitForCapture(start, 176400, 5000));
    const auto cap = CaptureFrom(start);
    const long long found = FindBlock(cap, file.First);
    ASSERT_GE(found, 0);
    std::vector<char> want(file.First);
    want.resize(StreamHalfBytes, 0);
    want.insert(want.end(), file.Distant.begin(), file.Distant.end());
    EXPECT_EQ(EqualPrefixAcrossDropouts(cap, found, want), want.size());
}
