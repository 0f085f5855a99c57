// High-resolution samples (24-bit, 32-bit, float, extensible) with the HiRes setting: what comes
// out of the device, bit for bit, static and streamed; what the player panel shows and does with
// the setting on and off; and the dialog's box. Also a file with an odd-sized chunk before its data.
#include <cmath>
#include <cstring>
#include "../fuzz/WavCorpusTable.h"
#include "MainFormSuite.h"
#include "SoundCapture.h"
#include "app/Settings.h"
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "app/pure/SampleList.h"
#include "audio/SmoothStop.h"

using namespace wintest;

namespace {
std::string Le(uint32_t v, int n)
{
    std::string s;
    for (int i = 0; i < n; ++i) s += char(v >> (8 * i));
    return s;
}

// A WAV file of the given format; extensible ones carry a 40-byte format chunk with the
// sub-format of tag. before: chunks put between the format and the data.
std::string Wave(int tag, int channels, int rate, int bits, const std::string& data, bool extensible = false,
                 const std::string& before = "")
{
    const int align = channels * bits / 8;
    std::string fmt = Le(extensible ? 0xFFFE : tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) +
                      Le(align, 2) + Le(bits, 2);
    if (extensible)
        fmt += Le(22, 2) + Le(bits, 2) + Le(channels == 1 ? 4 : 3, 4) + Le(tag, 4) + Le(0, 2) + Le(0x10, 2) +
               std::string("\x80\x00\x00\xAA\x00\x38\x9B\x71", 8);
    std::string body = "WAVEfmt " + Le(fmt.size(), 4) + fmt + before + "data" + Le(data.size(), 4) + data;
    if (data.size() % 2) body += '\0';
    return "RIFF" + Le(body.size(), 4) + body;
}

// The 16-bit rounding of a sample, worked out here in floating point: to the nearest, halves
// up, clipped, NaN as 0.
int16_t Rounded(double v)
{
    if (std::isnan(v)) return 0;
    return int16_t(std::clamp(std::floor(v + 0.5), -32768.0, 32767.0));
}

void Put16(std::vector<char>& out, int16_t v)
{
    out.push_back(char(v & 255));
    out.push_back(char(v >> 8 & 255));
}

// frames of stereo noise in the file's format (data) and their 16-bit rounding (want). No frame
// rounds to silence, so that the block is found in the capture by its first frames.
struct TNoise {
    std::string Data;
    std::vector<char> Want;
};
TNoise Noise(int bits, bool isFloat, size_t frames, unsigned seed)
{
    TNoise n;
    unsigned x = seed * 2654435761u + 7;
    for (size_t i = 0; i < frames * 2; ++i) {
        x = x * 1664525u + 1013904223u;
        const double r = double(x >> 8) / double(1u << 24);           // 0 .. 1
        const double mag = 200 + r * 33000;                           // in 16-bit steps; some above full scale
        const double v = (x & 1) ? -mag : mag;
        if (isFloat) {
            float f = float(v / 32768);
            if (i == 1001) f = std::nanf("");
            uint32_t u;
            std::memcpy(&u, &f, 4);
            n.Data += Le(u, 4);
            Put16(n.Want, Rounded(double(f) * 32768));
        } else {
            const double scale = bits == 24 ? 256.0 : 65536.0;
            const double top = bits == 24 ? 8388607.0 : 2147483647.0;
            const int64_t s = int64_t(std::clamp(std::floor(v * scale + (x >> 3 & 255)), -top - 1, top));
            n.Data += Le(uint32_t(s), bits / 8);
            Put16(n.Want, Rounded(double(s) / scale));
        }
    }
    return n;
}

// Bytes of block that come out equal from capture[at] on. A moment of zeros after which the block
// goes on exactly where it stopped is the sound server running dry on a busy machine (the data
// was late, nothing was lost or added by the player) and is passed over.
size_t EqualAcrossDropouts(std::vector<char> cap, long long at, const std::vector<char>& block)
{
    size_t i = 0;
    for (;;) {
        while (i < block.size() && size_t(at) + i < cap.size() && cap[size_t(at) + i] == block[i]) ++i;
        if (i == block.size() || i == 0) return i;
        i -= i % CaptureFrameBytes;
        size_t z = size_t(at) + i;
        while (z < cap.size() && cap[z] == 0) ++z;
        z = size_t(at) + i + (z - size_t(at) - i) / CaptureFrameBytes * CaptureFrameBytes;
        if (z == size_t(at) + i || z + 16 > cap.size() || i + 16 > block.size() ||
            std::memcmp(&cap[z], &block[i], 16) != 0)
            return i;
        std::printf("(a dropout of %zu frames at frame %zu)\n", (z - size_t(at) - i) / CaptureFrameBytes,
                    i / CaptureFrameBytes);
        cap.erase(cap.begin() + long(size_t(at) + i), cap.begin() + long(z));
    }
}

const char* Mode(bool streaming) { return streaming ? "streamed" : "static"; }

class HiResSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_CAPTURE();
        ResetPlayer();
        Folder = TempFolder("hires");
    }
    void TearDown() override
    {
        ResetPlayer();
        AppSettings.HiRes = false;
    }
    std::vector<char> PlayAndCapture(const std::string& wav, bool streaming, int ms)
    {
        const std::string path = Folder + "sample.wav";
        WriteFile(path, wav);
        AppSettings.Streaming = streaming;
        const long long start = CaptureSize();
        EXPECT_EQ(LoadWaveFile(path, PlayerState.CurrentBuffer), 0);
        PlayerState.Frequency = int32_t(PlayerState.Format.nSamplesPerSec);
        ApplyVolume();
        ApplyPan();
        ApplyFrequency();
        streaming ? StartStream() : StartCurrent();
        EXPECT_TRUE(WaitForCapture(start, (ms + 400LL) * CaptureRate / 1000 * CaptureFrameBytes, ms + 5000))
            << "the capture does not grow";
        return CaptureFrom(start);
    }
    std::string Folder;
};
}

TEST_F(HiResSound, ConvertedSamplesComeOutAsTheir16BitRoundingBitForBit)
{
    // 0.6 s at 44100 Hz stereo: several halves of the ring, whose refills convert.
    const size_t frames = 26460;
    const TNoise i24 = Noise(24, false, frames, 1), f32 = Noise(32, true, frames, 2), x24 = Noise(24, false, frames, 3);
    const std::vector<char> plain = Noise16(frames, 4);
    const std::string odd = "LIST" + Le(5, 4) + "INFOa" + '\0';
    struct {
        const char* what;
        bool hiRes;
        std::string wav;
        const std::vector<char>& want;
    } cases[] = {
        {"24-bit PCM", true, Wave(1, 2, 44100, 24, i24.Data), i24.Want},
        {"float, some above 1.0, one NaN", true, Wave(3, 2, 44100, 32, f32.Data), f32.Want},
        {"extensible 24-bit", true, Wave(1, 2, 44100, 24, x24.Data, true), x24.Want},
        {"16-bit after an odd-sized LIST chunk", false,
         Wave(1, 2, 44100, 16, std::string(plain.begin(), plain.end()), false, odd), plain},
    };
    for (auto& c : cases) {
        for (bool streaming : {false, true}) {
            AppSettings.HiRes = c.hiRes;
            const auto cap = PlayAndCapture(c.wav, streaming, 600);
            const std::string what = std::string(c.what) + ", " + Mode(streaming);
            const long long at = FindBlock(cap, c.want);
            ASSERT_GE(at, 0) << what << ": its first frames never came out";
            EXPECT_EQ(EqualAcrossDropouts(cap, at, c.want), c.want.size()) << what;
            ResetPlayer();
        }
    }
}

TEST(HiResReader, EveryCorpusFileGivesItsResultWithTheSettingOnAndThoseAcceptedPlay)
{
    REQUIRE_SOUND_DEVICE();
    for (bool streaming : {false, true}) {
        for (const auto& c : WavCorpus) {
            ResetPlayer();
            AppSettings.HiRes = true;
            AppSettings.Streaming = streaming;
            const std::string what = std::string(c.Name) + (streaming ? " streamed" : " static");
            const int r = LoadWaveFile(CorpusPath(c.Name), PlayerState.CurrentBuffer);
            EXPECT_EQ(r, c.HiRes >= 0 ? c.HiRes : c.Load) << what;
            EXPECT_EQ(PlayerState.DataSize == c.DataSize, c.DataSize >= 0) << what << ": the file's data bytes";
            if (r == 0) {
                ASSERT_NE(PlayerState.CurrentBuffer, nullptr) << what;
                streaming ? StartStream() : StartCurrent();
                Pump(5);
            }
        }
    }
    ResetPlayer();
    AppSettings.HiRes = false;
}

TEST_F(HiResSound, A48kHz24BitSampleHasItsPitchAndLength)
{
    // A 441 Hz sine at half scale, 0.5 s of 48 kHz 24-bit stereo.
    std::string data;
    for (int i = 0; i < 24000; ++i) {
        const int32_t s = int32_t(std::lround(0.5 * 8388607 * std::sin(2 * M_PI * 441 * i / 48000)));
        data += Le(uint32_t(s), 3) + Le(uint32_t(s), 3);
    }
    AppSettings.HiRes = true;
    for (bool streaming : {false, true}) {
        const auto cap = PlayAndCapture(Wave(1, 2, 48000, 24, data), streaming, 500);
        const TSoundMeasure m = MeasureSound(cap, 64);
        ASSERT_FALSE(m.Silent) << Mode(streaming);
        EXPECT_NEAR(m.Hz, 441, 441 * 0.01) << Mode(streaming);
        EXPECT_NEAR(m.Ms(), 500, 10) << Mode(streaming);
        EXPECT_NEAR(TSoundMeasure::Db(m.RmsL), 20 * std::log10(0.5), 0.5) << Mode(streaming);
        ResetPlayer();
    }
}

namespace {
// The player panel on the main window with high-resolution lines.
class HiResPanel : public MainFormSuite {
protected:
    static void SetUpTestSuite()
    {
        MakeForm("hires-panel");
        const TNoise n = Noise(24, false, 96000, 5);                   // 2 s at 48 kHz stereo
        WriteFile(Folder + "a24.wav", Wave(1, 2, 48000, 24, n.Data));
        WriteFile(Folder + "b32f.wav", Wave(3, 1, 44100, 32, Noise(32, true, 22050, 6).Data.substr(0, 88200)));
        WriteFile(Folder + "c24x.wav", Wave(1, 2, 44100, 24, Noise(24, false, 4410, 7).Data, true));
    }
    static void TearDownTestSuite()
    {
        AppSettings.HiRes = false;
        FreeForm();
    }
    void SetUp() override
    {
        REQUIRE_SOUND_DEVICE();
        ListFolder("wav");
    }
    void TearDown() override { AppSettings.HiRes = false; }
    static bool Playing()
    {
        DWORD s = 0;
        if (PlayerState.CurrentBuffer) PlayerState.CurrentBuffer->GetStatus(&s);
        return s & DSBSTATUS_PLAYING;
    }
};
}

TEST_F(HiResPanel, OffTheyShowTheClassicTextsAndPlayNothingOnTheyPlayAndShowTheirOwnFormat)
{
    struct {
        const char* line;
        const char* off;
        const char* on;
    } cases[] = {
        {"a24", "Only 8 && 16Bit sounds are\rsupported (will not play)", "PCM 48000Hz 24Bit STEREO \r576044 bytes, 2 sec."},
        {"b32f", "Unknown && unsupported sound\rformat... (will not play)", "Float 44100Hz 32Bit MONO \r88244 bytes, 0.5 sec."},
        {"c24x", "Unknown && unsupported sound\rformat... (will not play)", "PCM 44100Hz 24Bit STEREO \r26528 bytes, 0.1 sec."},
    };
    for (bool streaming : {false, true}) {
        AppSettings.Streaming = streaming;
        for (auto& c : cases) {
            const std::string what = std::string(c.line) + ", " + Mode(streaming);
            AppSettings.HiRes = false;
            PlayerState.LastIndex = -1;
            // The previous case's sound has faded, and its end has reached the capture, before
            // listening starts.
            FinishFades();
            if (!CaptureFile().empty()) WaitForCapture(CaptureSize(), CaptureRate / 4 * CaptureFrameBytes, 3000);
            const long long from = CaptureFile().empty() ? -1 : CaptureSize();
            Play(c.line);
            EXPECT_EQ(Info(), c.off) << what;
            EXPECT_FALSE(Playing()) << what;
            if (from >= 0) {
                Pump(300);
                EXPECT_TRUE(MeasureSound(CaptureFrom(from)).Silent) << what << ": something was heard";
            }
            AppSettings.HiRes = true;
            PlayerState.LastIndex = -1;
            Play(c.line);
            EXPECT_EQ(Info(), c.on) << what;
            EXPECT_TRUE(Playing()) << what;
            EXPECT_EQ(Form->FreqBox->Caption(), "Frequency") << what << ": starts at its own rate";
            ResetPlayer();
        }
    }
}

TEST_F(HiResPanel, ThePositionBarAndSeekingGoByTheFilesFrames)
{
    // 2 s of 24-bit stereo: the buffer holds two thirds of the file's bytes, so a bar that went
    // by the buffer's bytes would lag by a third, and a seek to three quarters would land past
    // the buffer's end.
    AppSettings.HiRes = true;
    for (bool streaming : {false, true}) {
        AppSettings.Streaming = streaming;
        PlayerState.LastIndex = -1;
        Play("a24");
        ASSERT_TRUE(Playing()) << Mode(streaming);
        const DWORD t = GetTickCount();
        Pump(600);
        Form->UpdatePosBar();
        const int expected = int((GetTickCount() - t) * 1000 / 2000);
        EXPECT_NEAR(Form->PosBar->Position(), expected, 80) << Mode(streaming);
        Form->PosBar->SetPosition(750);
        Form->PosBarChange(Form->PosBar);
        Form->PosBarRelease(Form->PosBar);
        // A stream plays up to a half of what was filled before the seek first.
        Pump(streaming ? 300 : 100);
        Form->UpdatePosBar();
        EXPECT_GE(Form->PosBar->Position(), 750) << Mode(streaming);
        EXPECT_LE(Form->PosBar->Position(), streaming ? 950 : 900) << Mode(streaming);
        EXPECT_TRUE(Playing()) << Mode(streaming);
        ResetPlayer();
    }
}

TEST(HiResSetting, TheDialogsBoxSitsInThePlayingGroupAndActsAtOnce)
{
    AppSettings.HiRes = true;
    AppSettings.UseMedia = true;
    auto* dialog = new TSettingsForm(Application);
    dialog->AfterConstruction();
    TCheckBox* box = dialog->HiResBox;
    EXPECT_EQ(box->Caption(), "Play 24-bit and float samples");
    EXPECT_TRUE(box->Checked()) << "filled from the setting";
    EXPECT_FALSE(box->Enabled()) << "a DirectSound choice, like streaming";
    dialog->DSBox->SetChecked(true);
    dialog->DSBoxClick(dialog->DSBox);
    EXPECT_TRUE(box->Enabled());
    // Inside its group, under the streaming box, its caption whole on two lines.
    EXPECT_EQ(box->Parent(), dialog->PlayGroup);
    EXPECT_GT(box->Top(), dialog->StreamBox->Top() + dialog->StreamBox->Height());
    EXPECT_LE(box->Top() + box->Height(), dialog->PlayGroup->Height() - 4);
    HDC dc = GetDC(box->Handle());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(box->Handle(), WM_GETFONT, 0, 0)));
    RECT r = {0, 0, box->Width() - GetSystemMetrics(SM_CXMENUCHECK) - 4, 0};
    DrawTextA(dc, box->Caption().c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(box->Handle(), dc);
    EXPECT_LE(r.bottom, box->Height());
    // A click sets the setting and makes the next selection read its file again.
    PlayerState.LastIndex = 3;
    box->SetChecked(false);
    EXPECT_FALSE(AppSettings.HiRes);
    EXPECT_EQ(PlayerState.LastIndex, -1);
    dialog->Free();
    AppSettings.UseMedia = false;
}
