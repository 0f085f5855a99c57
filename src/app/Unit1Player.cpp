// The player panel: playing the selected line on the right path, the info text, the volume,
// pan and frequency sliders, looping, and the position bar with its timer.
#include "app/Unit1.h"
#include "about/About.h"
#include "app/Settings.h"
#include "app/pure/AppConfig.h"
#include "app/pure/SampleList.h"
#include "audio/MCIPlayer.h"
#include "audio/WAVStream.h"
#include "audio/WAVUnit.h"
#include "audio/pure/PlayerText.h"

// Volume and frequency are upside down: the top is full volume and the highest rate. The
// frequency slider stands for 11185 Hz until the first sample is loaded.
const TSliderDesign VolSliderDesign = {trVertical, tmBoth, -5000, 0, -5000, 50, 500, 500, 1};
const TSliderDesign PanSliderDesign = {trHorizontal, tmBottomRight, -10000, 10000, 0, 500, 2500, 2500, 1};
const TSliderDesign FreqSliderDesign = {trVertical, tmBoth, 100, 100000, 88915, 100, 1000, 10000, 1};
const TSliderDesign PosBarDesign = {trHorizontal, tmBottomRight, 0, 1000, 0, 5, 50, 50, 3};

namespace {
TTrackSlider* NewSlider(TSonidexForm* form, TWinControl* parent, const char* name, const TSliderDesign& design,
                        TImageList* knobs, TRect r)
{
    auto* s = new TTrackSlider(form);
    s->Name = name;
    s->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    ApplyDesign(s, design, knobs);
    s->SetParent(parent);
    return s;
}

TGroupBox* NewBox(TSonidexForm* form, TWinControl* parent, const char* name, const char* caption, TRect r)
{
    auto* b = new TGroupBox(form);
    b->Name = name;
    b->SetCaption(caption);
    b->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    b->SetParent(parent);
    return b;
}

TTransparentButton* NewGlyphButton(TSonidexForm* form, const char* name, const char* glyph, const char* hint, TRect r)
{
    auto* b = new TTransparentButton(form);
    b->Name = name;
    if (glyph) b->LoadGlyph(glyph);
    b->Hint = hint;
    b->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    b->SetParent(form->ControlBox);
    return b;
}

TLabel* NewLabel(TSonidexForm* form, const char* name, const char* caption, int x, int y)
{
    auto* l = new TLabel(form);
    l->Name = name;
    l->SetCaption(caption);
    l->SetBounds(x, y, 60, 14);
    l->SetParent(form->ControlBox);
    return l;
}

}

void TSonidexForm::CreatePlayerPanel()
{
    VSliderIL = new TImageList(this, 15, 24, false);
    VSliderIL->Name = "VSliderIL";
    VSliderIL->ResourceLoad("SKnob");
    HSliderIL = new TImageList(this, 23, 15, false);
    HSliderIL->Name = "HSliderIL";
    HSliderIL->ResourceLoad("SKnobH");

    VolLabel = NewLabel(this, "VolLabel", "Volume", 10, 6);
    VolSlider = NewSlider(this, ControlBox, "VolSlider", VolSliderDesign, VSliderIL, Bounds(8, 20, 40, 150));
    VolSlider->Hint = "Volume";
    VolSlider->OnChange = {this, &TSonidexForm::VolSliderChange};
    VolSlider->OnMouseDown = {this, &TSonidexForm::VolSliderMouseDown};

    FreqBox = NewBox(this, ControlBox, "FreqBox", "Frequency", Bounds(60, 4, 108, 170));
    FreqSlider = NewSlider(this, FreqBox, "FreqSlider", FreqSliderDesign, VSliderIL, Bounds(34, 14, 40, 150));
    FreqSlider->OnChange = {this, &TSonidexForm::FreqSliderChange};
    FreqSlider->OnMouseDown = {this, &TSonidexForm::FreqSliderMouseDown};

    PanLabel = NewLabel(this, "PanLabel", "Pan", 10, 176);
    PanSlider = NewSlider(this, ControlBox, "PanSlider", PanSliderDesign, HSliderIL, Bounds(8, 175, 160, 32));
    PanSlider->OnChange = {this, &TSonidexForm::PanSliderChange};
    PanSlider->OnMouseDown = {this, &TSonidexForm::PanSliderMouseDown};

    PosBox = NewBox(this, ControlBox, "PosBox", "Position", Bounds(4, 204, 168, 50));
    PosBar = NewSlider(this, PosBox, "PosBar", PosBarDesign, HSliderIL, Bounds(4, 14, 160, 32));
    PosBar->OnChange = {this, &TSonidexForm::PosBarChange};
    PosBar->OnRelease = {this, &TSonidexForm::PosBarRelease};
    PosBar->OnPaintTrack = {this, &TSonidexForm::PosBarPaintTrack};

    // The loading display lies exactly over the position box while a large file is copied.
    LoadingBox = NewBox(this, ControlBox, "LoadingBox", "Loading...", Bounds(4, 204, 168, 50));
    LoadingBox->SetVisible(false);
    LoadingBox->CreateLate = true;          // its window is made when it first shows
    LoadingGauge = new TRedGauge(this);
    LoadingGauge->Name = "LoadingGauge";
    LoadingGauge->SetBounds(20, 16, 128, 26);
    LoadingGauge->SetMax(100);
    LoadingGauge->SetColor(clRed);
    LoadingGauge->ParentFont = false;
    LoadingGauge->Font.SetName("Arial");
    LoadingGauge->Font.SetHeight(-13);
    LoadingGauge->Font.SetStyle(fsBold);
    LoadingGauge->SetParent(LoadingBox);

    Loop = new TCheckBox(this);
    Loop->Name = "Loop";
    Loop->SetCaption("loop");
    Loop->SetBounds(8, 258, 44, 17);
    Loop->SetParent(ControlBox);
    Loop->OnClick = {this, &TSonidexForm::LoopClick};

    StopButton = NewGlyphButton(this, "StopButton", "StopGlyph", "", Bounds(52, 255, 75, 49));
    StopButton->OnClick = {this, &TSonidexForm::StopBtnClick};
    DefaultsBtn = NewGlyphButton(this, "DefaultsBtn", nullptr, "Reset to Defaults", Bounds(6, 279, 46, 26));
    DefaultsBtn->SetCaption("defaults");
    DefaultsBtn->ParentFont = false;
    DefaultsBtn->Font.SetName("Arial");
    DefaultsBtn->Font.SetHeight(-11);
    DefaultsBtn->SetEnabled(false);
    DefaultsBtn->OnClick = {this, &TSonidexForm::DefaultsBtnClick};
    SettingsBtn = NewGlyphButton(this, "SettingsBtn", "SettingsGlyph", "Settings", Bounds(140, 254, 26, 26));
    SettingsBtn->OnClick = {this, &TSonidexForm::SettingsBtnClick};
    AboutBtn = NewGlyphButton(this, "AboutBtn", "AboutGlyph", "About", Bounds(140, 279, 26, 26));
    AboutBtn->OnClick = {this, &TSonidexForm::AboutBtnClick};

    PosTimer->OnTimer = {this, &TSonidexForm::PosTimerTimer};
    AuditionTimer = new TTimer(this);
    AuditionTimer->Name = "AuditionTimer";
    AuditionTimer->SetEnabled(false);
    AuditionTimer->SetInterval(AuditionRestMs);
    AuditionTimer->OnTimer = {this, &TSonidexForm::AuditionTimerTimer};
    WAVList->OnKeyUp = {this, &TSonidexForm::WAVListKeyUp};

    // The reader puts the loading display up and moves it; it is ours to draw. The hourglass
    // comes with it: a file too small for the box loads in a fraction of a millisecond, and the
    // cursor's change and return would cost as much as the load.
    LoadingDisplay.Show = [this](int max) {
        FLoadingHourglass.emplace();
        LoadingGauge->SetMax(max);
        LoadingGauge->SetPosition(0);
        LoadingBox->SetVisible(true);
        LoadingBox->Update();
    };
    LoadingDisplay.Progress = [this](int position) { LoadingGauge->SetPosition(position); };
    LoadingDisplay.Hide = [this] {
        LoadingBox->SetVisible(false);
    LoadingBox->CreateLate = true;          // its window is made when it first shows
        FLoadingHourglass.reset();
    };
}

TSonidexForm::~TSonidexForm()
{
    // The reader must not draw on a panel that is going.
    LoadingDisplay = {};
}

BoxItemDataType* TSonidexForm::RecordAt(int index) const
{
    if (index < 0 || index >= WAVList->Count()) return nullptr;
    return dynamic_cast<BoxItemDataType*>(WAVList->Objects(index));
}

BoxItemDataType* TSonidexForm::SelectedRecord(int& index) const
{
    index = WAVList->ItemIndex();
    return RecordAt(index);
}

void TSonidexForm::WAVListClick(TObject*)
{
    // While a navigation key repeats, no file is opened for the lines passed over.
    AuditionTimer->SetEnabled(false);
    if (FAudition.SelectionChanged()) {
        PlaySelection();
        // A press that selected the line has played it: the press does not start it again.
        FPlayedAt = GetMessageTime();
    } else {
        AuditionTimer->SetEnabled(true);
    }
}

void TSonidexForm::WAVListKeyUp(TObject*, WORD& key, TShiftState)
{
    if (!FAudition.KeyUp(key)) return;
    AuditionTimer->SetEnabled(false);
    PlaySelection();
}

void TSonidexForm::AuditionTimerTimer(TObject*)
{
    AuditionTimer->SetEnabled(false);
    if (FAudition.Rested()) PlaySelection();
}

void TSonidexForm::PlaySelection()
{
    const TPeakWorker::THold soundFirst(FPeakWorker.get());
    int index = -1;
    BoxItemDataType* record = SelectedRecord(index);
    if (index < 0) {
        PlayerState.PosBarHeld = false;
        return;
    }
    if (!record || WAVList->Strings(index).empty()) return;
    PlayerState.PlayPath = record->Kind;
    if (record->Kind == KindOther) return;            // the previous sound plays on
    if (record->Kind == KindWAV && AppSettings.UseMedia) PlayerState.PlayPath = 1;
    if (PlayerState.PlayPath == 1) {
        StopAll();
        MciPlaySelection();
        return;
    }
    bool loaded = false;
    // A stream stopped here, and a small sample's file, are let go once the new sound has started.
    const TAfterStart afterStart;
    if (index != PlayerState.LastIndex || AppSettings.Streaming) {
        loaded = true;
        StopStreamForNext();
        StopCurrent();
        MciStop();
        EnableSliders(true);
        int result;
        try {
            result = LoadWaveFile(record->FileName(), PlayerState.CurrentBuffer);
        } catch (...) {
            PlayerState.LastIndex = index;
            throw;
        }
        if (result == 1) {
            Application->MessageBox("Couldn't open the file.\rThe file may not exist.", MB_OK | MB_ICONERROR);
            PlayerState.FileSize = 0;
        } else if (result == 2 || result == 4) {
            Application->MessageBox("Couldn't decode the WAV data.\rThe file format seems to be corrupted.",
                                    MB_OK | MB_ICONERROR);
            PlayerState.FileSize = 0;
        }
        // A converted sample (float or extensible too) starts at its own rate like a PCM one.
        if (PlayerState.Format.wFormatTag == WAVE_FORMAT_PCM || PlayerState.Layout.Converts) ResetFrequency();
        PlayerState.LastIndex = index;
    }
    if (PlayerState.FileSize != 0 && PlayerState.Layout.Plays) {
        ApplyVolume();
        ApplyPan();
        ApplyFrequency();
        try {
            if (AppSettings.Streaming) StartStream();
            else StartCurrent();
        } catch (...) {
            if (loaded) UpdateInfoText();
            throw;
        }
    }
    // The sound first, then what the panel shows of it.
    if (loaded) UpdateInfoText();
    PlayerState.PosBarHeld = false;
    ShowWaveformSoon();
}

void TSonidexForm::MciPlaySelection()
{
    int index = -1;
    BoxItemDataType* record = SelectedRecord(index);
    if (!record) return;
    if (index != PlayerState.LastIndex) {
        EnableSliders(false);
        MciOpen(record->FileName());
        PlayerState.DataSize = MciLength();
        PlayerState.LastIndex = index;
    }
    SendMciCommand("Play PlayingMIDI From 0 notify");
    PlayerState.FileSize = 1;
    UpdateInfoText();
    PlayerState.PosBarHeld = false;
    ShowWaveformSoon();
}

LRESULT TSonidexForm::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    // The end of a media-player play: a successful one starts again while looping.
    if (msg == MM_MCINOTIFY) {
        if (w == MCI_NOTIFY_SUCCESSFUL && Loop->Checked()) SendMciCommand("Play PlayingMIDI From 0 notify");
        return 0;
    }
    if (msg == WM_PEAKS_READY) {
        PeaksReady(w, l);
        return 0;
    }
    if (msg == WM_SHOW_WAVEFORM) {
        FWaveformPosted = false;
        ShowWaveform();
        return 0;
    }
    if (msg == WM_WINDOWPOSCHANGING) WindowPosChanging(*reinterpret_cast<WINDOWPOS*>(l));
    return TForm::WndProc(msg, w, l);
}

void TSonidexForm::StopAll()
{
    StopStream();
    StopCurrent();
}

void TSonidexForm::StopBtnClick(TObject*)
{
    if (PlayerState.PlayPath == 1) MciStop();
    else StopAll();
}

void TSonidexForm::UpdateInfoText()
{
    if (PlayerState.FileSize == 0) {
        FileNameLabel->Font.SetStyle(0);
        WAVEFORMATEX primary = {};
        if (!AppSettings.UseMedia) GetPrimaryFormat(primary);
        FileNameLabel->SetCaption(DeviceStateText(AppSettings.UseMedia, primary.nSamplesPerSec,
                                                  primary.wBitsPerSample, primary.nChannels));
        WAVInfoLabel->SetCaption("");
        return;
    }
    int index = -1;
    BoxItemDataType* record = SelectedRecord(index);
    FileNameLabel->Font.SetStyle(fsBold);
    FileNameLabel->SetCaption(record ? EntryNameText(record->FileName(), AppSettings.Path) : std::string());
    if (PlayerState.PlayPath == 1) {
        WAVInfoLabel->SetCaption(record && record->Kind == KindMIDI ? "MIDI file" : "WAV file");
        return;
    }
    const WAVEFORMATEX& f = PlayerState.Format;
    if (PlayerState.Layout.Converts) {
        WAVInfoLabel->SetCaption(ConvertedInfoText(PlayerState.Layout, PlayerState.FileSize, PlayerState.DataSize));
        return;
    }
    WAVInfoLabel->SetCaption(FormatInfoText(f.wFormatTag, f.nChannels, f.nSamplesPerSec, f.wBitsPerSample,
                                            PlayerState.FileSize, PlayerState.DataSize, f.nAvgBytesPerSec));
}

void TSonidexForm::EnableSliders(bool on)
{
    PanSlider->SetEnabled(on);
    FreqSlider->SetEnabled(on);
    VolSlider->SetEnabled(on);
}

void TSonidexForm::UpdateDefaultsButton()
{
    bool defaults = PanSlider->Position() == 0 &&
                    FreqSlider->Position() == InvertedSliderValue(FreqSlider->Min(), FreqSlider->Max(),
                                                                  static_cast<int>(PlayerState.Format.nSamplesPerSec)) &&
                    VolSlider->Position() == -5000;
    DefaultsBtn->SetEnabled(!defaults);
}

void TSonidexForm::ResetFrequency()
{
    FreqSlider->SetPosition(static_cast<int>(InvertedSliderValue(
        FreqSlider->Min(), FreqSlider->Max(), static_cast<int>(PlayerState.Format.nSamplesPerSec))));
    FreqSliderChange(FreqSlider);
}

void TSonidexForm::VolSliderChange(TObject*)
{
    UpdateDefaultsButton();
    PlayerState.Volume = static_cast<int32_t>(InvertedSliderValue(VolSlider->Min(), VolSlider->Max(), VolSlider->Position()));
    ApplyVolume();
}

void TSonidexForm::PanSliderChange(TObject*)
{
    UpdateDefaultsButton();
    PlayerState.Pan = PanSlider->Position();
    ApplyPan();
}

void TSonidexForm::FreqSliderChange(TObject*)
{
    UpdateDefaultsButton();
    PlayerState.Frequency =
        static_cast<int32_t>(InvertedSliderValue(FreqSlider->Min(), FreqSlider->Max(), FreqSlider->Position()));
    ApplyFrequency();
    FreqBox->SetCaption(FrequencyCaption(PlayerState.Frequency, PlayerState.Format.nSamplesPerSec));
}

void TSonidexForm::DefaultsBtnClick(TObject*)
{
    VolSlider->SetPosition(-5000);
    VolSliderChange(VolSlider);
    PanSlider->SetPosition(0);
    PanSliderChange(PanSlider);
    ResetFrequency();
}

void TSonidexForm::VolSliderMouseDown(TObject*, TMouseButton button, TShiftState, int, int)
{
    if (button != mbRight) return;
    VolSlider->SetPosition(-5000);
    VolSliderChange(VolSlider);
}

void TSonidexForm::PanSliderMouseDown(TObject*, TMouseButton button, TShiftState, int, int)
{
    if (button != mbRight) return;
    PanSlider->SetPosition(0);
    PanSliderChange(PanSlider);
}

void TSonidexForm::FreqSliderMouseDown(TObject*, TMouseButton button, TShiftState, int, int)
{
    if (button == mbRight) ResetFrequency();
}

void TSonidexForm::LoopClick(TObject*)
{
    if (Loop->Checked()) {
        PlayerState.LoopCount = LoopForever;
        if (AppSettings.Streaming) PlaySelection();
    } else {
        PlayerState.LoopCount = 0;
    }
    if (!AppSettings.Streaming) ApplyLoopFlag();
    else StreamLoopChanged();
}

void TSonidexForm::PosTimerTimer(TObject*)
{
    if (PosBar->Visible()) UpdatePosBar();
}

void TSonidexForm::UpdatePosBar()
{
    if (PlayerState.PosBarHeld) return;
    int bar = -1;
    if (PlayerState.PlayPath == 0) {
        // The bar stands for the file's data; a converted sample's buffer holds other bytes.
        int64_t p = PlayerState.Layout.FileFromPlayed(AppSettings.Streaming ? StreamPosition() : GetPlayCursor());
        bar = PosBarFromBytes(p, PlayerState.DataSize, PosBar->Min(), PosBar->Max());
    } else if (PlayerState.PlayPath == 1) {
        bar = PosBarFromMci(MciPosition(), PlayerState.DataSize, PosBar->Min(), PosBar->Max());
    }
    if (bar >= 0) PosBar->SetPosition(bar);
}

void TSonidexForm::PosBarChange(TObject*)
{
    PlayerState.PosBarHeld = true;
    if (PlayerState.PlayPath != 0) return;
    const uint32_t fileOffset = SeekOffsetFromBar(PlayerState.DataSize, PosBar->Position(), PosBar->Min(), PosBar->Max());
    // On the frame of the file's data that the offset falls in.
    const int32_t offset = static_cast<int32_t>(PlayerState.Layout.PlayedFromFile(fileOffset));
    if (AppSettings.Streaming) SeekStream(offset);
    else SetPlayCursor(offset);
}

void TSonidexForm::PosBarRelease(TObject*)
{
    if (PlayerState.PlayPath == 1)
        MciPlayFrom(MciSeekFromBar(PlayerState.DataSize, PosBar->Position(), PosBar->Min(), PosBar->Max()));
    else if (PlayerState.PlayPath == 0 && PosBar->JumpsOnClick())
        PlayFromPosBar();
    PlayerState.PosBarHeld = false;
}

void TSonidexForm::FormKeyDown(TObject*, WORD& key, TShiftState shift)
{
    // Ctrl+L flips the loop box, and its click runs as if clicked.
    if (key == 'L' && (shift & ssCtrl)) Loop->SetChecked(!Loop->Checked());
    if (key == 'F' && (shift & ssCtrl) && !(shift & ssAlt)) {
        key = 0;
        ShowNameFilter();
    }
    // A held F8 deletes one sample, not one after another.
    if (key == VK_F8 && AppSettings.AllowDeletion && !(shift & ssRepeat)) {
        const int i = WAVList->ItemIndex();
        if (i >= 0)
            if (const auto* r = dynamic_cast<const BoxItemDataType*>(WAVList->Objects(i))) DeleteSample(r->FileName());
    }
}

void TSonidexForm::SettingsBtnClick(TObject*) { SettingsForm->ShowModal(); }

void TSonidexForm::AboutBtnClick(TObject*)
{
    if (!AboutBox) {
        AboutBox = new TAboutBox(this);
        AboutBox->AfterConstruction();
    }
    AboutBox->ShowModal();
}
