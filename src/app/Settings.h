// The settings dialog: created hidden at start-up, shown modally by the settings button.
#pragma once
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

class TSettingsForm : public TForm {
public:
    explicit TSettingsForm(TComponent* owner);

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
    TGroupBox* ColorsGroup;
    TComboBox* ColorBox;

    void FormCreate(TObject* sender);
    void DSBoxClick(TObject* sender);
    void DeleteBoxClick(TObject* sender);
    void RereadBoxClick(TObject* sender);
    void SnapBoxClick(TObject* sender);
    void DblClickBoxClick(TObject* sender);
    void HiResBoxClick(TObject* sender);
    void FilterEditChange(TObject* sender);
    int ColorCount() const { return ColorBox->Count(); }
protected:
    const char* ClassName() const override { return "TSettingsForm"; }
private:
    TCheckBox* MakeBox(TWinControl* parent, const char* name, const char* caption, int left, int top);
    TGroupBox* MakeGroup(const char* name, const char* caption, int l, int t, int w, int h);
};

extern TSettingsForm* SettingsForm;
