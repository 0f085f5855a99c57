// The main window: start-up and shut-down, settings, layout, the sample list and the player.
#pragma once
#include <list>
#include <memory>
#include <optional>
#include <windows.h>
#include <shellapi.h>
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/ImgList.h"
#include "toolkit/IniFiles.h"
#include "toolkit/StdCtrls.h"
#include "app/pure/NameFilter.h"
#include "app/pure/Audition.h"
#include "app/pure/SampleList.h"
#include "audio/PeakWorker.h"
#include "controls/Hint95.h"
#include "controls/NewCaption.h"
#include "controls/Slider.h"
#include "controls/TransBtn.h"
#include "controls/WPListBox.h"
#include "controls/Wall.h"
#include "shell/DiskChange.h"
#include "shell/TrayIcon.h"
#include "shell/DragFilesTrg.h"
#include "shell/dropsource.h"
#include "shell/dirtree.h"
#include "toolkit/Collection.h"

// The record of a list line: the file's full path (the folder the scan found it in, ending in
// "\", and the name as the file system gives it) and its kind: KindWAV, KindMIDI or KindOther.
// Records live in the blocks of their TSampleRecords, as do their folders' texts and names:
// a library's records cost a few allocations, not two per file.
class BoxItemDataType : public TCollectionItem {
public:
    BoxItemDataType(TCollection* records, const std::string& folder, std::string_view name, int kind)
        : TCollectionItem(records), Kind(kind), FFolder(&folder), FName(name) {}
    std::string FileName() const;
    int Kind = KindWAV;
    // Made only in a TSampleRecords' block, which keeps the memory until it goes itself: freeing
    // a record (a deleted line's) leaves its collection and gives nothing back.
    static void* operator new(std::size_t, void* place) noexcept { return place; }
    static void operator delete(void*) noexcept {}
    static void operator delete(void*, void*) noexcept {}
private:
    const std::string* FFolder;
    std::string_view FName;
};

// The records of one scan's lines, made at once: one block for the records, one for their
// names, and the scan's folder texts.
class TSampleRecords : public TCollection {
public:
    TSampleRecords(std::vector<std::string>&& folders, size_t records, size_t nameBytes);
    ~TSampleRecords() override;
    // A record of the file name in folder (an index into the folders given).
    BoxItemDataType* Add(uint32_t folder, std::string_view name, int kind);
private:
    struct TSlot {
        alignas(BoxItemDataType) unsigned char Bytes[sizeof(BoxItemDataType)];
    };
    std::vector<std::string> FFolders;
    std::string FNames;                 // never grows past what was reserved: records point into it
    std::unique_ptr<TSlot[]> FSlots;
    size_t FUsed = 0;
    size_t FCapacity = 0;
};

// Posted by the main window to itself: the waveform is asked for once a click is handled.
constexpr UINT WM_SHOW_WAVEFORM = WM_APP + 0x2A1;

class TSonidexForm : public TForm {
public:
    explicit TSonidexForm(TComponent* owner);
    ~TSonidexForm() override;

    // Components, in creation order.
    TPanel* CapPanel;
    TNewCaption* NewCaption;
    TSysBtn* CloseBtn;
    TSysBtn* MinBtn;
    TILBtn* ColRightBtn;
    TILBtn* ColLeftBtn;
    TImageList* CapBtnIL;
    TImageList* MinBtnIL;
    TBevel* FormBevel;
    TImage* DragImage;
    Tdirtree* LeftDirBox;
    TCheckBox* SubdirBox;
    TWallpaper* TrashBin;
    TWPListBox* WAVList;
    TEdit* NameFilterBox;              // over the list while it shows (Ctrl+F)
    TPanel* InfoBox;
    TLabel* FileNameLabel;
    TLabel* WAVInfoLabel;
    TPanel* ControlBox;
    TTimer* PosTimer;
    TImageList* FileIcon;
    TImageList* BackWP;
    TDiskChangeNotify* DiskChangeNotify;
    THint95* Hint95 = nullptr;         // made by FinishStartup
    TTrayIcon* TrayIcon = nullptr;      // made by FinishStartup, once the window is up
    // The player panel, inside ControlBox.
    TImageList* VSliderIL;
    TImageList* HSliderIL;
    TLabel* VolLabel;
    TTrackSlider* VolSlider;
    TGroupBox* FreqBox;
    TTrackSlider* FreqSlider;
    TLabel* PanLabel;
    TTrackSlider* PanSlider;
    TGroupBox* PosBox;
    TTrackSlider* PosBar;
    TGroupBox* LoadingBox;
    TRedGauge* LoadingGauge;
    TCheckBox* Loop;
    TTransparentButton* StopButton;
    TTransparentButton* DefaultsBtn;
    TTransparentButton* SettingsBtn;
    TTransparentButton* AboutBtn;
    class TAboutBox* AboutBox = nullptr;      // made on first use

    // Start-up and shut-down.
    void FinishStartup();
    void StartFolderTree();
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

    // The window's behaviour: title bar, panel buttons, dragging by the background, snapping.
    void ColLeftBtnClick(TObject* sender);
    void ColRightBtnClick(TObject* sender);
    bool CheckSideToCollapse(int screenX);
    void DragMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void DragMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void DragMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void DragDblClick(TObject* sender);
    void NewCaptionDblClick(TObject* sender);
    void NewCaptionPaint(TObject* sender, TCanvas& canvas);
    void CreateTrayIcon();
    void TrayIconClick(TObject* sender);
    void Hint95PaintHint(TBitmap& bmp);
    // The pointer was right of the list's centre when CheckSideToCollapse last ran.
    bool PointerRightOfList = false;

    // The list.
    void RefreshList();
    void RebuildList();
    void ScanFolder(const std::string& folder);
    void LeftDirBoxChange(TObject* sender);
    void SubdirBoxClick(TObject* sender);
    void WAVListDrawItem(TObject* control, int index, TRect rect, TOwnerDrawState state);
    // The records of the lines shown. A rebuild frees those of the list it replaces.
    std::unique_ptr<TCollection> BoxItems = std::make_unique<TCollection>();
    // The last scan: records of kind WAV and MIDI it added; whether the user cancelled it.
    int WAVCount = 0;
    int MIDICount = 0;
    bool ScanCanceled = false;
    void ShowListStatus(const std::string& text);

    // The list's filter box: the list shows the lines whose names pass its query.
    void CreateNameFilter();
    void ShowNameFilter();
    void HideNameFilter();
    // The box's query applied to the list's lines as they are now, and the status line.
    void ApplyNameFilter();
    void NameFilterBoxChange(TObject* sender);
    void NameFilterBoxKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void NameFilterBoxKeyPress(TObject* sender, char& key);
    // The folded names of the list's lines; read again after a rebuild or a deletion.
    TNameIndex NameIndex;
    bool NameIndexRead = false;

    // The player.
    void PlaySelection();
    void StopAll();
    void UpdateInfoText();
    void EnableSliders(bool on);
    void UpdateDefaultsButton();
    void ResetFrequency();
    void MciPlaySelection();
    void UpdatePosBar();
    void WAVListClick(TObject* sender);
    void StopBtnClick(TObject* sender);
    void LoopClick(TObject* sender);
    void VolSliderChange(TObject* sender);
    void PanSliderChange(TObject* sender);
    void FreqSliderChange(TObject* sender);
    void DefaultsBtnClick(TObject* sender);
    void SettingsBtnClick(TObject* sender);
    void AboutBtnClick(TObject* sender);
    void VolSliderMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void PanSliderMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void FreqSliderMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void PosTimerTimer(TObject* sender);
    void PosBarChange(TObject* sender);
    void PosBarRelease(TObject* sender);
    void FormKeyDown(TObject* sender, WORD& key, TShiftState shift);
    // Auditioning with a held navigation key: the line the selection rests on plays.
    TTimer* AuditionTimer;
    TAuditionGate FAudition;
    std::optional<THourglass> FLoadingHourglass;   // while the loading box shows
    LONG FPlayedAt = 0;                 // the time of the message whose selection change last played
    void WAVListKeyUp(TObject* sender, WORD& key, TShiftState shift);
    void AuditionTimerTimer(TObject* sender);

    // The waveform in the position bar (Unit1Wave.cpp).
    // After each selection played: the loaded WAV's overview, from the cache or the worker;
    // Soon, once the messages of the click that started the sound are handled.
    void ShowWaveform();
    void ShowWaveformSoon();
    void WaveformSettingChanged();
    // Lets go of the overview and of the file the worker reads (before the file is deleted).
    void AbandonPeaks();
    void PeaksReady(WPARAM generation, LPARAM result);
    void PosBarPaintTrack(TObject* sender, TCanvas& canvas, TRect band);
    // A release of the bar while a loaded sample is silent plays it from there.
    void PlayFromPosBar();
    // The overview shown (none yet, or none for this sample) and whether it is the exact one.
    const TPeakBins* Peaks() const { return FPeaks.get(); }
    bool PeaksComplete() const { return FPeaksComplete; }
    // The cache keeps the exact overviews of this many files (16 KB each at most).
    static constexpr size_t PeakCacheFiles = 8;

    // File operations.
    TDragFilesTrg* TrashDropTarget;
    tdropfilesource* DragWAV;
    // By value: the path may come from the very record that the deletion frees.
    void DeleteSample(std::string path);
    void ShellDeleteFile(const std::string& path);
    // Drops the line of a file that is gone and selects as after any deletion.
    void RemoveSampleLine(const std::string& path);
    void TrashDropTargetDrop(TObject* sender);
    void WAVListMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void WAVListMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void WAVListMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void WAVListDblClick(TObject* sender);
    void WAVListKeyDown(TObject* sender, WORD& key, TShiftState shift);
    void SendSampleToCompanion();
    void DiskChangeNotifyDiskChange(TObject* sender);
    // Rebuilds the list once the watched folder's changes have settled.
    TTimer* RereadTimer;
    void RereadTimerTimer(TObject* sender);
    unsigned FFirstChangeAt = 0, FLastChangeAt = 0;
    int FDeletions = 0;                 // deletions under way (a drop may come inside another's box)

    bool StayOnTop = false;             // "/T" for this run
    std::string FilterOverride;         // "/F..." for this run
protected:
    const char* ClassName() const override { return "TSonidexForm"; }
    void CreateParams(TCreateParams& p) override;
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
private:
    void CreateComponents();
    void CreatePlayerPanel();
    void CreateCaptionStrip();
    void MakeDragSurface(TControl* surface);
    // Where a background drag started, in the pressed surface's coordinates (X = NoDrag: none).
    static constexpr int NoDrag = 2147483647;
    void WindowPosChanging(WINDOWPOS& wp);
    // A new left edge for a window of this width, so that 5 pixels of it stay on the screen.
    int KeepLeftOnScreen(int left, int width) const;
    void PlaceAtStoredPosition(int x, int y);
    TPoint FDragAnchor = {NoDrag, 0};
    bool FSavedLeftCollapsed = false, FSavedRightCollapsed = false;
    void CreateFileComponents();
    // The selected line and its record; null when no line is selected.
    // The record of line index; none for no such line.
    BoxItemDataType* RecordAt(int index) const;
    BoxItemDataType* SelectedRecord(int& index) const;
    std::unique_ptr<TIniFile> FIni;     // open from FormCreate to the end of FinishStartup
    bool FTreeMayRead = false;          // the tree is read once the window is shown
    void ReadTreeFirstTime();
    // While a scan runs: the files it has found.
    TScanFiles FScan;
    size_t FScanNameBytes = 0;
    bool FScanSorted = false;
    DWORD FTitleShownAt = 0;            // when a scan last painted the title bar
    std::string FScanTitle;             // a folder entered since, not painted yet
    DWORD FButtonReadAt = 0;            // when a scan last read the right mouse button
    void ShowScanFolderInTitle(const std::string& folder);
    // The waveform: the worker (made on first need), the generation of the overview wanted, the
    // file and setting it is of, what is shown, and the last files' exact overviews.
    std::unique_ptr<TPeakWorker> FPeakWorker;
    bool FWaveformPosted = false;
    uint32_t FPeakGeneration = 0;
    std::string FPeakKey;
    std::shared_ptr<const TPeakBins> FPeaks;
    bool FPeaksComplete = false;
    std::list<std::pair<std::string, std::shared_ptr<const TPeakBins>>> FPeakCache;
    std::shared_ptr<const TPeakBins> PeakCacheFind(const std::string& key);
};

extern TSonidexForm* SonidexForm;

// The player panel's sliders as designed.
extern const TSliderDesign VolSliderDesign, PanSliderDesign, FreqSliderDesign, PosBarDesign;

// The shell's calls that delete a file; tests stand in for the shell through them.
using TShellExecuteExProc = BOOL(WINAPI*)(SHELLEXECUTEINFOA* info);
using TFileOperationProc = int(WINAPI*)(SHFILEOPSTRUCTA* op);
extern TShellExecuteExProc ShellExecuteExCall;
extern TFileOperationProc FileOperationCall;

// Sends the companion program (window class "TBeatcrafterMainForm") a message and waits until
// it has handled it; false when the companion is not running.
bool SendMessageToBcraft(UINT msg, WPARAM w, LPARAM l);
