// The main window: start-up and shut-down, settings, layout, the sample list and the player.
#pragma once
#include <memory>
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/ImgList.h"
#include "toolkit/IniFiles.h"
#include "toolkit/StdCtrls.h"
#include "controls/NewCaption.h"
#include "controls/WPListBox.h"
#include "shell/dirtree.h"

class TSonidexForm : public TForm {
public:
    explicit TSonidexForm(TComponent* owner);

    // Components, in creation order.
    TPanel* CapPanel;
    TNewCaption* NewCaption;
    TBevel* FormBevel;
    TImage* DragImage;
    Tdirtree* LeftDirBox;
    TCheckBox* SubdirBox;
    TPanel* TrashBin;
    TWPListBox* WAVList;
    TPanel* InfoBox;
    TLabel* FileNameLabel;
    TLabel* WAVInfoLabel;
    TPanel* ControlBox;
    TTimer* PosTimer;
    TImageList* FileIcon;
    TImageList* BackWP;

    // Start-up and shut-down.
    void FinishStartup();
    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormDestroy(TObject* sender);
    void FormKeyPress(TObject* sender, char& key);

    // Layout.
    void ApplyLayout(bool leftCollapsed, bool rightCollapsed);
    void ReadColorsFromControls();
    void ApplyColors();
    void SetTitleText(const std::string& text);
    void ShowPathInTitle();

    // The list.
    void RefreshList();
    void LeftDirBoxChange(TObject* sender);
    void SubdirBoxClick(TObject* sender);

    // The player's info text.
    void UpdateInfoText();

    bool StayOnTop = false;             // "/T" for this run
    std::string FilterOverride;         // "/F..." for this run
protected:
    const char* ClassName() const override { return "TSonidexForm"; }
    void CreateParams(TCreateParams& p) override;
private:
    void CreateComponents();
    std::unique_ptr<TIniFile> FIni;     // open from FormCreate to the end of FinishStartup
};

extern TSonidexForm* SonidexForm;

// Sends the companion program (window class "TBeatcrafterMainForm") a message and waits until
// it has handled it; false when the companion is not running.
bool SendMessageToBcraft(UINT msg, WPARAM w, LPARAM l);
