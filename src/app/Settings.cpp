#include "app/Settings.h"
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "app/pure/SampleList.h"
#include "audio/WAVUnit.h"

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
    FColor = clSilver;
    Font.SetName("Arial");
    Font.SetHeight(-11);
    SetCaption("Settings");
    // 24 pixels taller than the classic dialog, for the playing group's high-resolution box: the
    // close button goes to (304, 257), below that group.
    SetClientSize(361, 320);

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
    FilterEdit->SetParent(FileTypesGroup);

    PlayGroup = MakeGroup("PlayGroup", "Playing WAV files...", 184, 117, 169, 129);
    MPBox = new TRadioButton(this);
    MPBox->Name = "MPBox";
    MPBox->SetCaption("Through the Media Player");
    MPBox->SetBounds(16, 24, 145, 17);
    MPBox->SetParent(PlayGroup);
    DSBox = new TRadioButton(this);
    DSBox->Name = "DSBox";
    DSBox->SetCaption("Through DirectSound");
    DSBox->SetBounds(16, 48, 145, 17);
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

    ColorsGroup = MakeGroup("ColorsGroup", "Colors", 8, 227, 169, 56);
    ColorBox = new TComboBox(this);
    ColorBox->Name = "ColorBox";
    ColorBox->SetBounds(16, 20, 105, 21);
    ColorBox->SetParent(ColorsGroup);

    MPBox->OnClick = {this, &TSettingsForm::DSBoxClick};
    DSBox->OnClick = {this, &TSettingsForm::DSBoxClick};
    DeleteBox->OnClick = {this, &TSettingsForm::DeleteBoxClick};
    RereadBox->OnClick = {this, &TSettingsForm::RereadBoxClick};
    SnapBox->OnClick = {this, &TSettingsForm::SnapBoxClick};
    DblClickBox->OnClick = {this, &TSettingsForm::DblClickBoxClick};
    HiResBox->OnClick = {this, &TSettingsForm::HiResBoxClick};
    FilterEdit->OnChange = {this, &TSettingsForm::FilterEditChange};
    OnCreate = {this, &TSettingsForm::FormCreate};
}

void TSettingsForm::FormCreate(TObject*)
{
    SortBox->SetCheckedQuietly(AppSettings.Sort);
    WPBox->SetCheckedQuietly(AppSettings.Wallpaper);
    SwapBox->SetCheckedQuietly(AppSettings.SwapPanels);
    StreamBox->SetCheckedQuietly(AppSettings.Streaming);
    HiResBox->SetCheckedQuietly(AppSettings.HiRes);
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
}

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

void TSettingsForm::FilterEditChange(TObject*)
{
    AppSettings.Filter = FilterEdit->Text();
    // The boxes show whether WAV and MIDI files are among the parsed extensions; setting them
    // here never changes the text.
    TFilterSeen seen = ParseFilter(AppSettings.Filter);
    WAVBox->SetCheckedQuietly(seen.Wav);
    MIDIBox->SetCheckedQuietly(seen.Mid);
}
