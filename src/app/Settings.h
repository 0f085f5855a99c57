// The settings dialog: created hidden at start-up, shown modally by the settings button.
#pragma once
#include "controls/TransBtn.h"
#include "controls/WAVScope.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

class TSettingsForm : public TForm {
public:
    explicit TSettingsForm(TComponent* owner);

    TMoveBevel* MoveBevel1;
    TGroupBox* GeneralGroup;
    TCheckBox* SubdirBox;
    TCheckBox* RereadBox;
    TCheckBox* SortBox;
    TCheckBox* DeleteBox;
    TCheckBox* WPBox;
    TCheckBox* SwapBox;
    TCheckBox* SnapBox;
    TCheckBox* DblClickBox;
    TGroupBox* FileTypesGroup;
    TCheckBox* WAVBox;
    TCheckBox* MIDIBox;
    TEdit* FilterEdit;
    TGroupBox* PlayGroup;
    TRadioButton* MPBox;
    TRadioButton* DSBox;
    TCheckBox* StreamBox;
    TCheckBox* HiResBox;
    TCheckBox* WaveBox;
    TCheckBox* SmoothBox;
    TGroupBox* ColorsGroup;
    TComboBox* ColorBox;
    TShape* ColorEdit;
    TTransparentButton* TransparentButton1;
    TColorDialog* ColorDialog;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void TransparentButton1Click(TObject* sender);
    void WAVBoxClick(TObject* sender);
    void MIDIBoxClick(TObject* sender);
    void ColorBoxChange(TObject* sender);
    void ColorEditMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ToggleFilterType(TCheckBox* box, const char* name);
    void DSBoxClick(TObject* sender);
    void DeleteBoxClick(TObject* sender);
    void RereadBoxClick(TObject* sender);
    void SnapBoxClick(TObject* sender);
    void DblClickBoxClick(TObject* sender);
    void HiResBoxClick(TObject* sender);
    void WaveBoxClick(TObject* sender);
    void SmoothBoxClick(TObject* sender);
    void FilterEditChange(TObject* sender);
    int ColorCount() const { return ColorBox->Count(); }
protected:
    const char* ClassName() const override { return "TSettingsForm"; }
private:
    // A switch of the playback path: the media player's alias closed, the device reopened.
    void SwitchPlaybackPath();
    TCheckBox* MakeBox(TWinControl* parent, const char* name, const char* caption, int left, int top);
    TGroupBox* MakeGroup(const char* name, const char* caption, int l, int t, int w, int h);
};

extern TSettingsForm* SettingsForm;
