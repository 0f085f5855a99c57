// The player panel on the main window: which path a line plays on, what the info panel says,
// the sliders and their resets, the defaults button, the position bar both ways.
#include "MainFormSuite.h"
#include "audio/MCIPlayer.h"

using namespace wintest;

namespace {
std::string Wav(int rate, int bits, int channels, int frames, int tag = 1)
{
    int align = channels * bits / 8;
    std::string data(static_cast<size_t>(frames) * align, '\x10');
    auto le = [](uint32_t v, int n) { std::string s; for (int i = 0; i < n; ++i) s += char(v >> (8 * i)); return s; };
    std::string fmt = le(tag, 2) + le(channels, 2) + le(rate, 4) + le(rate * align, 4) + le(align, 2) + le(bits, 2);
    std::string body = "WAVEfmt " + le(16, 4) + fmt + "data" + le(data.size(), 4) + data;
    return "RIFF" + le(body.size(), 4) + body;
}

class PlayerPanel : public MainFormSuite {
protected:
    static void SetUpTestSuite()
    {
        MakeForm("player-panel");
        WriteFile(Folder + "a16.wav", Wav(22050, 16, 2, 33075));       // 1.5 s
        WriteFile(Folder + "b8.wav", Wav(11025, 8, 1, 22050));         // 2 s
        WriteFile(Folder + "c24.wav", Wav(44100, 24, 2, 441));
        WriteFile(Folder + "d.mid", "MThd");
        WriteFile(Folder + "e.txt", "text");
        WriteFile(Folder + "f.wav", Wav(44100, 16, 2, 100, 0x101));
    }
    static void TearDownTestSuite() { FreeForm(); }
    void SetUp() override
    {
        REQUIRE_SOUND_DEVICE();
        AppSettings.UseMedia = false;
        AppSettings.Streaming = false;
        ListFolder("wav;mid;txt");
        PlayerState.Format = {};
        PlayerState.Format.nSamplesPerSec = 11025;
        PlayerState.FileSize = 0;
        Form->DefaultsBtnClick(nullptr);
    }
    static std::string Name() { return Form->FileNameLabel->Caption(); }
};
}

TEST_F(PlayerPanel, InfoPanelNamesTheSampleAndItsFormat)
{
    Play("a16");
    EXPECT_EQ(Name(), "a16");
    EXPECT_EQ(Info(), "PCM 22050Hz 16Bit STEREO \r132344 bytes, 1.5 sec.");
    EXPECT_EQ(PlayerState.PlayPath, 0);
    Play("b8");
    EXPECT_EQ(Info(), "PCM 11025Hz 8Bit MONO \r22094 bytes, 2 sec.");
    Play("c24");
    EXPECT_EQ(Info(), "Only 8 && 16Bit sounds are\rsupported (will not play)");
    Play("f");
    EXPECT_EQ(Info(), "IBM mu-law sound format\r(unsupported sound format,\rwill not play)");
}

TEST_F(PlayerPanel, NothingLoadedShowsTheDeviceOrTheMediaPlayer)
{
    Form->UpdateInfoText();
    EXPECT_EQ(Name(), "DirectSound is currently set at\r44100Hz 16Bit STEREO ");
    EXPECT_EQ(Info(), "");
    AppSettings.UseMedia = true;
    Form->UpdateInfoText();
    EXPECT_EQ(Name(), "Playing through the Media Player");
}

TEST_F(PlayerPanel, UnsupportedFormatStartsNothingAndKeepsThePreviousSoundStopped)
{
    Play("a16");
    DWORD status = 0;
    ASSERT_NE(PlayerState.CurrentBuffer, nullptr);
    PlayerState.CurrentBuffer->GetStatus(&status);
    EXPECT_TRUE(status & DSBSTATUS_PLAYING);
    Play("c24");
    EXPECT_TRUE(PumpUntil([] { return !(Status(PlayerState.CurrentBuffer) & DSBSTATUS_PLAYING); }, 1000))
        << "a 24-bit line stops what played (after its ramp down) and plays nothing";
}

TEST_F(PlayerPanel, OtherFileTypeDoesNothingAndTheSoundPlaysOn)
{
    Play("a16");
    Play("e");
    EXPECT_EQ(PlayerState.PlayPath, -1);
    DWORD status = 0;
    PlayerState.CurrentBuffer->GetStatus(&status);
    EXPECT_TRUE(status & DSBSTATUS_PLAYING);
    EXPECT_EQ(Name(), "a16");
}

TEST_F(PlayerPanel, SameLineAgainRestartsWithoutReadingTheFileUnlessStreaming)
{
    Play("a16");                                     // 88200 bytes a second
    IDirectSoundBuffer* first = PlayerState.CurrentBuffer;
    ASSERT_TRUE(PumpUntil([] { return GetPlayCursor() >= 17640; }, 3000)) << "0.2 s played; at " << GetPlayCursor();
    const DWORD again = GetTickCount();
    Play("a16");
    const int32_t cursor = GetPlayCursor();
    const DWORD ms = GetTickCount() - again;
    EXPECT_EQ(PlayerState.CurrentBuffer, first) << "the loaded buffer is used again";
    EXPECT_LT(cursor, int32_t((ms + 40) * 88200 / 1000)) << "from the beginning: " << cursor << " bytes in " << ms << " ms";

    // What each selection reads shows in the data size: the file is replaced after a stop.
    WriteFile(Folder + "g.wav", Wav(22050, 16, 2, 22050));                // 88200 bytes of data
    Form->RebuildList();
    Play("g");
    Form->StopBtnClick(Form->StopButton);
    WriteFile(Folder + "g.wav", Wav(22050, 16, 2, 11025));                // now 44100
    Play("g");
    EXPECT_EQ(PlayerState.DataSize, 88200) << "static: the same line again does not read the file";
    AppSettings.Streaming = true;
    Form->StopBtnClick(Form->StopButton);
    Play("g");
    EXPECT_EQ(PlayerState.DataSize, 44100) << "streamed: the line's file is read afresh";
    Form->StopBtnClick(Form->StopButton);
    WriteFile(Folder + "g.wav", Wav(22050, 16, 2, 5000));
    Play("g");
    EXPECT_EQ(PlayerState.DataSize, 20000) << "streamed: read afresh on each selection";
    Form->StopBtnClick(Form->StopButton);
    DeleteFileA((Folder + "g.wav").c_str());
}

TEST_F(PlayerPanel, WavGoesToTheMediaPlayerWhenChosen)
{
    AppSettings.UseMedia = true;
    Play("a16");
    EXPECT_EQ(PlayerState.PlayPath, 1);
    EXPECT_EQ(PlayerState.FileSize, 1);
    EXPECT_EQ(Info(), "WAV file");
    EXPECT_FALSE(Form->VolSlider->Enabled()) << "the media player does not use the sliders";
    EXPECT_GT(PlayerState.DataSize, 0);
    MciStop();
    AppSettings.UseMedia = false;
    Play("b8");
    EXPECT_TRUE(Form->VolSlider->Enabled());
}

TEST_F(PlayerPanel, NewSampleStartsAtItsOwnRateButKeepsVolumeAndPan)
{
    EXPECT_EQ(Form->FreqSlider->Position(), 89075) << "11025 Hz before any sample";
    Form->VolSlider->SetPosition(-3000);
    Form->VolSliderChange(Form->VolSlider);
    Form->PanSlider->SetPosition(2500);
    Form->PanSliderChange(Form->PanSlider);
    Form->FreqSlider->SetPosition(50000);
    Form->FreqSliderChange(Form->FreqSlider);
    EXPECT_EQ(Form->FreqBox->Caption(), "50100Hz");
    EXPECT_EQ(PlayerState.Frequency, 50100);
    EXPECT_EQ(PlayerState.Volume, -2000);
    Play("a16");
    EXPECT_EQ(PlayerState.Frequency, 22050);
    EXPECT_EQ(Form->FreqBox->Caption(), "Frequency");
    EXPECT_EQ(PlayerState.Volume, -2000);
    EXPECT_EQ(PlayerState.Pan, 2500);
    LONG v = 0, p = 0;
    PlayerState.CurrentBuffer->GetVolume(&v);
    PlayerState.CurrentBuffer->GetPan(&p);
    EXPECT_EQ(v, -2000);
    EXPECT_EQ(p, 2500);
}

TEST_F(PlayerPanel, RightClicksAndTheDefaultsButtonReset)
{
    Play("b8");
    EXPECT_FALSE(Form->DefaultsBtn->Enabled());
    Form->PanSlider->SetPosition(-5000);
    Form->PanSliderChange(Form->PanSlider);
    EXPECT_TRUE(Form->DefaultsBtn->Enabled()) << "one slider off its default";
    Click(Form->PanSlider->Handle(), 5, 5, WM_RBUTTONDOWN, WM_RBUTTONUP);
    Pump(20);
    EXPECT_EQ(Form->PanSlider->Position(), 0);
    EXPECT_FALSE(Form->DefaultsBtn->Enabled()) << "all back";

    Form->VolSlider->SetPosition(-1000);
    Form->VolSliderChange(Form->VolSlider);
    Click(Form->VolSlider->Handle(), 5, 100, WM_RBUTTONDOWN, WM_RBUTTONUP);
    Pump(20);
    EXPECT_EQ(Form->VolSlider->Position(), -5000);
    EXPECT_EQ(PlayerState.Volume, 0) << "full volume";

    Form->FreqSlider->SetPosition(100);
    Form->FreqSliderChange(Form->FreqSlider);
    Click(Form->FreqSlider->Handle(), 5, 5, WM_RBUTTONDOWN, WM_RBUTTONUP);
    Pump(20);
    EXPECT_EQ(PlayerState.Frequency, 11025);

    Form->VolSlider->SetPosition(-100);
    Form->PanSlider->SetPosition(100);
    Form->FreqSlider->SetPosition(100);
    Form->FreqSliderChange(Form->FreqSlider);
    Form->DefaultsBtnClick(Form->DefaultsBtn);
    EXPECT_EQ(Form->VolSlider->Position(), -5000);
    EXPECT_EQ(Form->PanSlider->Position(), 0);
    EXPECT_EQ(PlayerState.Frequency, 11025);
    EXPECT_FALSE(Form->DefaultsBtn->Enabled());
}

TEST_F(PlayerPanel, PositionBarFollowsAndSeeksInFrameSteps)
{
    Play("a16");                                     // 132300 data bytes, 88200 a second
    const DWORD seek = GetTickCount();
    Form->PosBar->SetPosition(500);
    Form->PosBarChange(Form->PosBar);
    EXPECT_TRUE(PlayerState.PosBarHeld);
    // The sound ramps down where it was and goes on from the new place a moment later.
    DWORD play = 0;
    EXPECT_TRUE(PumpUntil([&] { return GetPlayCursor() >= int32_t(66048 - 4410); }, 1000)) << GetPlayCursor();
    PlayerState.CurrentBuffer->GetCurrentPosition(&play, nullptr);
    const DWORD ms = GetTickCount() - seek;
    // (132300 >> 8) * 500 / 1001 << 8 = 66048, and what played since the seek.
    EXPECT_GE(play, 66048u - 4410);
    EXPECT_LE(play, 66048u + (ms + 50) * 88200 / 1000) << ms << " ms after the seek";
    Form->UpdatePosBar();
    EXPECT_EQ(Form->PosBar->Position(), 500) << "held: the timer leaves it alone";
    Form->PosBarRelease(Form->PosBar);
    EXPECT_FALSE(PlayerState.PosBarHeld);
    Form->UpdatePosBar();
    EXPECT_GE(Form->PosBar->Position(), 490);
    // The timer moves the bar as the sample plays.
    const int before = Form->PosBar->Position();
    EXPECT_TRUE(PumpUntil([&] { return Form->PosBar->Position() > before; }, 3000))
        << "the bar stays at " << before;
}

TEST_F(PlayerPanel, LoopBoxLoopsTheStaticBufferFromWhereItIs)
{
    Play("b8");
    Form->Loop->SetChecked(true);
    EXPECT_EQ(PlayerState.LoopCount.load(), LoopForever);
    DWORD status = 0;
    PlayerState.CurrentBuffer->GetStatus(&status);
    EXPECT_TRUE(status & DSBSTATUS_LOOPING);
    Form->Loop->SetChecked(false);
    EXPECT_EQ(PlayerState.LoopCount.load(), 0);
    PlayerState.CurrentBuffer->GetStatus(&status);
    EXPECT_FALSE(status & DSBSTATUS_LOOPING);
}

TEST_F(PlayerPanel, StopButtonStopsTheSound)
{
    Play("a16");
    Form->StopBtnClick(Form->StopButton);
    EXPECT_TRUE(PumpUntil([] { return !(Status(PlayerState.CurrentBuffer) & DSBSTATUS_PLAYING); }, 1000));
    AppSettings.Streaming = true;
    Play("a16");
    Form->StopBtnClick(Form->StopButton);
    EXPECT_EQ(StreamState.MapHandle, nullptr) << "the stream lets go of its file";
}

TEST_F(PlayerPanel, NoSelectionReleasesTheBar)
{
    PlayerState.PosBarHeld = true;
    Form->WAVList->SetItemIndex(-1);
    Form->PlaySelection();
    EXPECT_FALSE(PlayerState.PosBarHeld);
}
