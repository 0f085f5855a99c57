#include "app/Settings.h"
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "app/pure/SampleList.h"
#include "audio/MCIPlayer.h"
#include "audio/WAVStream.h"
#include "audio/WAVUnit.h"

namespace {
// The longest filter the settings file gives back whole (its reader's buffer).
constexpr int FilterMaxLength = 1023;
}

TSettingsForm* SettingsForm = nullptr;

TGroupBox* TSettingsForm::MakeGroup(const char* name, const char* caption, int l, int t, int w, int h)
{
    auto* g = new TGroupBox(this);
    g->Name = name;
    g->SetCaption(caption);
    g->SetBounds(l, t, w, h);
    g->SetColor(clSilver);
    g->SetParent(this);
    return g;
}

TCheckBox* TSettingsForm::MakeBox(TWinControl* parent, const char* name, const char* caption, int left, int top)
{
    auto* b = new TCheckBox(this);
    b->Name = name;
    b->SetCaption(caption);
    b->SetBounds(left, top, 145, 17);
    b->SetColor(clSilver);
    b->SetParent(parent);
    return b;
}

TSettingsForm::TSettingsForm(TComponent* owner) : TForm(owner)
{
    Name = "SettingsForm";
    BorderStyle = bsToolWindow;
    FormStyle = fsStayOnTop;
    ShowHint = true;                    // the boxes' hints show, as the main window's do
    FColor = clSilver;
    Font.SetName("Arial");
    Font.SetHeight(-11);
    Position = poScreenCenter;
    SetCaption("Settings");
    // 24 pixels taller than the classic dialog, for the playing group's high-resolution box: the
    // close button goes to (304, 257), below that group.
    SetClientSize(361, 320);

    // The dialog is dragged by any free point of it.
    MoveBevel1 = NewMoveBevel(this, 361, 320);

    GeneralGroup = MakeGroup("GeneralGroup", "General", 8, 5, 169, 217);
    SubdirBox = MakeBox(GeneralGroup, "SubdirBox", "Scan subdirectories", 16, 23);
    RereadBox = MakeBox(GeneralGroup, "RereadBox", "Reread on disk change", 16, 46);
    RereadBox->Hint = "Will rebuild the list when files are changed";
    SortBox = MakeBox(GeneralGroup, "SortBox", "Sort filenames", 16, 69);
    DeleteBox = MakeBox(GeneralGroup, "DeleteBox", "Allow deletion", 16, 92);
    WPBox = MakeBox(GeneralGroup, "WPBox", "Background wallpaper", 16, 115);
    SwapBox = MakeBox(GeneralGroup, "SwapBox", "Swap side panels", 16, 138);
    SnapBox = MakeBox(GeneralGroup, "SnapBox", "Snap to viewport", 16, 161);
    DblClickBox = MakeBox(GeneralGroup, "DblClickBox", "Double click to Beatcrafter", 16, 184);
    DblClickBox->Hint = "Double click to send the sample to Beatcrafter";

    FileTypesGroup = MakeGroup("FileTypesGroup", "File types", 184, 5, 169, 107);
    WAVBox = MakeBox(FileTypesGroup, "WAVBox", "WAV files", 16, 23);
    MIDIBox = MakeBox(FileTypesGroup, "MIDIBox", "MIDI files", 16, 46);
    FilterEdit = new TEdit(this);
    FilterEdit->Name = "FilterEdit";
    FilterEdit->SetBounds(16, 71, 137, 21);
    FilterEdit->MaxLength = FilterMaxLength;
    FilterEdit->SetParent(FileTypesGroup);

    PlayGroup = MakeGroup("PlayGroup", "Playing WAV files...", 184, 117, 169, 129);
    MPBox = new TRadioButton(this);
    MPBox->Name = "MPBox";
    MPBox->SetCaption("Through the Media Player");
    MPBox->SetBounds(16, 24, 145, 17);
    MPBox->SetColor(clSilver);
    MPBox->SetParent(PlayGroup);
    DSBox = new TRadioButton(this);
    DSBox->Name = "DSBox";
    DSBox->SetCaption("Through DirectSound");
    DSBox->SetBounds(16, 48, 145, 17);
    DSBox->SetColor(clSilver);
    DSBox->SetParent(PlayGroup);
    StreamBox = MakeBox(PlayGroup, "StreamBox", "Streaming", 16, 72);
    // A DirectSound choice like streaming; its caption takes two lines in the group's width.
    HiResBox = new TCheckBox(this);
    HiResBox->Name = "HiResBox";
    HiResBox->SetCaption("Play 24-bit and float samples");
    HiResBox->Hint = "24-bit, 32-bit and float WAV files play, converted to 16-bit";
    HiResBox->WordWrap = true;
    HiResBox->SetBounds(16, 95, 145, 28);
    HiResBox->SetColor(clSilver);
    HiResBox->SetParent(PlayGroup);

    // Below the playing group, beside the close button: a DirectSound choice too.
    SmoothBox = MakeBox(this, "SmoothBox", "Smooth stops", 200, 254);
    SmoothBox->SetWidth(100);
    SmoothBox->Hint = "A stopped or moved sound fades out in 4 ms instead of clicking";
    SmoothBox->OnClick = {this, &TSettingsForm::SmoothBoxClick};

    ColorsGroup = MakeGroup("ColorsGroup", "Colors", 8, 227, 169, 56);
    ColorBox = new TComboBox(this);
    ColorBox->Name = "ColorBox";
    ColorBox->SetBounds(16, 20, 105, 21);
    ColorBox->SetParent(ColorsGroup);
    ColorEdit = new TShape(this);
    ColorEdit->Name = "ColorEdit";
    ColorEdit->SetBounds(129, 20, 24, 22);
    ColorEdit->SetParent(ColorsGroup);

    // Below the colours, on the dialog's own surface.
    WaveBox = MakeBox(this, "WaveBox", "Show waveform", 24, 292);
    WaveBox->Hint = "The position bar shows the sample's waveform; a click on it plays from there";

    TransparentButton1 = new TTransparentButton(this);
    TransparentButton1->Name = "TransparentButton1";
    TransparentButton1->LoadGlyph("CloseGlyph");
    TransparentButton1->SetBounds(304, 257, 49, 49);
    TransparentButton1->SetParent(this);
    ColorDialog = new TColorDialog(this);
    ColorDialog->Name = "ColorDialog";

    // Group captions grey and bold; the controls in them took the dialog's black Arial already.
    for (TGroupBox* g : {GeneralGroup, FileTypesGroup, PlayGroup, ColorsGroup}) {
        g->ParentFont = false;
        g->Font.SetStyle(fsBold);
        g->Font.SetColor(clGray);
    }

    MPBox->OnClick = {this, &TSettingsForm::DSBoxClick};
    DSBox->OnClick = {this, &TSettingsForm::DSBoxClick};
    DeleteBox->OnClick = {this, &TSettingsForm::DeleteBoxClick};
    RereadBox->OnClick = {this, &TSettingsForm::RereadBoxClick};
    SnapBox->OnClick = {this, &TSettingsForm::SnapBoxClick};
    DblClickBox->OnClick = {this, &TSettingsForm::DblClickBoxClick};
    HiResBox->OnClick = {this, &TSettingsForm::HiResBoxClick};
    WaveBox->OnClick = {this, &TSettingsForm::WaveBoxClick};
    FilterEdit->OnChange = {this, &TSettingsForm::FilterEditChange};
    WAVBox->OnClick = {this, &TSettingsForm::WAVBoxClick};
    MIDIBox->OnClick = {this, &TSettingsForm::MIDIBoxClick};
    ColorBox->OnChange = {this, &TSettingsForm::ColorBoxChange};
    ColorEdit->OnMouseDown = {this, &TSettingsForm::ColorEditMouseDown};
    TransparentButton1->OnClick = {this, &TSettingsForm::TransparentButton1Click};
    OnCreate = {this, &TSettingsForm::FormCreate};
    OnShow = {this, &TSettingsForm::FormShow};
    OnClose = {this, &TSettingsForm::FormClose};
}

void TSettingsForm::FormCreate(TObject*)
{
    SortBox->SetCheckedQuietly(AppSettings.Sort);
    WPBox->SetCheckedQuietly(AppSettings.Wallpaper);
    SwapBox->SetCheckedQuietly(AppSettings.SwapPanels);
    StreamBox->SetCheckedQuietly(AppSettings.Streaming);
    HiResBox->SetCheckedQuietly(AppSettings.HiRes);
    WaveBox->SetCheckedQuietly(AppSettings.Waveform);
    SmoothBox->SetCheckedQuietly(AppSettings.SmoothStops);
    if (AppSettings.UseMedia) MPBox->SetChecked(true); else DSBox->SetChecked(true);
    DSBoxClick(DSBox);
    ColorBox->AddItem("Background");
    ColorBox->AddItem("Title active");
    ColorBox->AddItem("Title inactive");
}

void TSettingsForm::DSBoxClick(TObject*)
{
    StreamBox->SetEnabled(DSBox->Checked());
    HiResBox->SetEnabled(DSBox->Checked());
    SmoothBox->SetEnabled(DSBox->Checked());
}

// At once: the next stop is made the way the box says.
void TSettingsForm::SmoothBoxClick(TObject*) { AppSettings.SmoothStops = SmoothBox->Checked(); }

void TSettingsForm::DeleteBoxClick(TObject*)
{
    AppSettings.AllowDeletion = DeleteBox->Checked();
    if (SonidexForm) SonidexForm->TrashBin->SetVisible(DeleteBox->Checked());
}

void TSettingsForm::RereadBoxClick(TObject*) { AppSettings.Reread = RereadBox->Checked(); }
void TSettingsForm::SnapBoxClick(TObject*) { AppSettings.Snap = SnapBox->Checked(); }
void TSettingsForm::DblClickBoxClick(TObject*) { AppSettings.DblClick = DblClickBox->Checked(); }

void TSettingsForm::HiResBoxClick(TObject*)
{
    // At once, as the user expects of the next click on a line: the loaded sample was read under
    // the other setting, so the next selection reads its file again.
    AppSettings.HiRes = HiResBox->Checked();
    PlayerState.LastIndex = -1;
}

void TSettingsForm::WaveBoxClick(TObject*)
{
    // At once: the bar behind the dialog shows the change.
    AppSettings.Waveform = WaveBox->Checked();
    if (SonidexForm) SonidexForm->WaveformSettingChanged();
}

void TSettingsForm::FilterEditChange(TObject*)
{
    AppSettings.Filter = FilterEdit->Text();
    // The boxes show whether WAV and MIDI files are among the parsed extensions; setting them
    // here never changes the text.
    TFilterSeen seen = ParseFilter(AppSettings.Filter);
    WAVBox->SetCheckedQuietly(seen.Wav);
    MIDIBox->SetCheckedQuietly(seen.Mid);
}

void TSettingsForm::ToggleFilterType(TCheckBox* box, const char* name)
{
    const std::string text = ToggledFilter(FilterEdit->Text(), name, box->Checked());
    // A filter the settings file could not give back whole is not made here; the boxes show
    // the filter as it stays.
    if (int(text.size()) > FilterMaxLength) FilterEditChange(FilterEdit);
    else FilterEdit->SetText(text);             // its change handler runs
}

void TSettingsForm::WAVBoxClick(TObject*) { ToggleFilterType(WAVBox, "wav"); }
void TSettingsForm::MIDIBoxClick(TObject*) { ToggleFilterType(MIDIBox, "mid"); }

void TSettingsForm::FormShow(TObject*)
{
    SubdirBox->SetCheckedQuietly(AppSettings.Subdir);
    if (SonidexForm) SonidexForm->ReadColorsFromControls();
    ColorBox->SetItemIndex(0);
    ColorBoxChange(ColorBox);
}

void TSettingsForm::ColorBoxChange(TObject*)
{
    const int i = ColorBox->ItemIndex();
    if (i < 0 || i > 2) return;
    ColorEdit->Brush.SetColor(AppSettings.Colors[i]);
    ColorEdit->Invalidate();
}

void TSettingsForm::ColorEditMouseDown(TObject*, TMouseButton, TShiftState, int, int)
{
    const int i = ColorBox->ItemIndex();
    if (i < 0 || i > 2) return;
    ColorDialog->Color = ColorEdit->Brush.Color();
    if (!ColorDialog->Execute(Handle())) return;
    ColorEdit->Brush.SetColor(ColorDialog->Color);
    ColorEdit->Repaint();
    AppSettings.Colors[i] = ColorDialog->Color;
}

void TSettingsForm::TransparentButton1Click(TObject*) { Close(); }

void TSettingsForm::SwitchPlaybackPath()
{
    SendMciCommand("STOP PlayingMIDI");
    SendMciCommand("CLOSE PlayingMIDI");
    AppSettings.UseMedia = MPBox->Checked();
    // No refill may touch a buffer that the device takes with it.
    StopStream();
    CloseSoundDevice();
    try {
        OpenSoundDevice(SonidexForm ? SonidexForm->Handle() : nullptr);
    } catch (const std::exception& e) {
        // DirectSound cannot be had: say why and stay with the media player, so that the
        // program goes on playing and the next start does not fail the same way.
        CloseSoundDevice();
        AppSettings.UseMedia = true;
        MPBox->SetChecked(true);
        DSBoxClick(MPBox);
        Application->MessageBox(e.what(), MB_OK | MB_ICONERROR);
    }
}

void TSettingsForm::FormClose(TObject*, TCloseAction&)
{
    if (AppSettings.UseMedia != MPBox->Checked()) SwitchPlaybackPath();
    PlayerState.LastIndex = -1;
    if (!SonidexForm) return;
    SonidexForm->ApplyColors();
    AppSettings.Subdir = SubdirBox->Checked();
    SonidexForm->SubdirBox->SetCheckedQuietly(AppSettings.Subdir);
    AppSettings.Sort = SortBox->Checked();
    AppSettings.Wallpaper = WPBox->Checked();
    SonidexForm->WAVList->BackIL = AppSettings.Wallpaper ? SonidexForm->BackWP : nullptr;
    SonidexForm->WAVList->Invalidate();
    AppSettings.SwapPanels = SwapBox->Checked();
    // A sample playing through DirectSound was loaded for the other model (static buffer or
    // stream): it stops before the model changes under it.
    if (AppSettings.Streaming != StreamBox->Checked()) SonidexForm->StopAll();
    AppSettings.Streaming = StreamBox->Checked();
    SonidexForm->ApplyLayout(AppSettings.LeftCollapsed, AppSettings.RightCollapsed);
    SonidexForm->RefreshList();
}
