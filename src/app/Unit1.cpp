#include "app/Unit1.h"
#include <vector>
#include "app/AllTools.h"
#include "app/Settings.h"
#include "app/pure/AppConfig.h"
#include "app/pure/Layout.h"
#include "audio/MCIPlayer.h"
#include "audio/WAVStream.h"
#include "audio/WAVUnit.h"
#include "toolkit/pure/StrUtils.h"

TSonidexForm* SonidexForm = nullptr;

namespace {
constexpr int MainClientHeight = 417;
constexpr UINT CompanionNotice = 1360;

std::string CurrentDirectory()
{
    char buf[MAX_PATH + 1] = "";
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return n && n < sizeof buf ? std::string(buf, n) : std::string();
}

std::string ProgramFolder()
{
    char buf[MAX_PATH + 1] = "";
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    return ExtractFilePath(std::string(buf, n));
}

std::vector<std::string> CommandLineArguments()
{
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i) args.emplace_back(__argv[i]);
    return args;
}
}

bool SendMessageToBcraft(UINT msg, WPARAM w, LPARAM l)
{
    HWND companion = FindWindowA("TBeatcrafterMainForm", nullptr);
    if (!companion) return false;
    // Synchronous for a companion that answers; a hung one does not freeze the browser.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(companion, msg, w, l, SMTO_ABORTIFHUNG, 10000, &answer);
    return true;
}

TSonidexForm::TSonidexForm(TComponent* owner) : TForm(owner)
{
    CreateComponents();
    OnCreate = {this, &TSonidexForm::FormCreate};
    OnClose = {this, &TSonidexForm::FormClose};
    OnDestroy = {this, &TSonidexForm::FormDestroy};
    OnKeyPress = {this, &TSonidexForm::FormKeyPress};
    OnKeyDown = {this, &TSonidexForm::FormKeyDown};
}

void TSonidexForm::CreateParams(TCreateParams& p)
{
    TForm::CreateParams(p);
    // A frameless skinned window with the thin dialog frame, and no task-bar button of its own.
    p.Style |= WS_DLGFRAME;
    p.ExStyle &= ~WS_EX_APPWINDOW;
}

void TSonidexForm::CreateComponents()
{
    Name = "SonidexForm";
    BorderStyle = bsNone;
    BorderIcons = 0;
    KeyPreview = true;
    ShowHint = true;
    FColor = clSilver;
    Font.SetName("Arial");
    Font.SetHeight(-11);
    SetClientSize(519 - 2 * GetSystemMetrics(SM_CXDLGFRAME), MainClientHeight);

    CapPanel = new TPanel(this);
    CapPanel->Name = "CapPanel";
    CapPanel->BevelOuter = bvNone;
    CapPanel->SetBounds(0, 0, 513, 16);
    CapPanel->SetAlign(alTop);
    CapPanel->SetParent(this);

    CreateCaptionStrip();

    FormBevel = new TBevel(this);
    FormBevel->Name = "FormBevel";
    FormBevel->Shape = bsFrame;
    FormBevel->SetBounds(0, 17, 513, 400);
    FormBevel->SetAlign(alBottom);
    FormBevel->SetParent(this);

    DragImage = new TImage(this);
    DragImage->Name = "DragImage";
    DragImage->SetBounds(0, 16, 514, 401);
    DragImage->SetParent(this);

    LeftDirBox = new Tdirtree(this);
    LeftDirBox->Name = "LeftDirBox";
    LeftDirBox->ReadOnStart = false;        // read when its side is first shown
    LeftDirBox->CreateLate = true;          // made after the first paint: see StartFolderTree
    LeftDirBox->FastLoad = true;
    LeftDirBox->SetOptions(toReadOnly | toShowLines);
    LeftDirBox->SetIndent(19);
    LeftDirBox->SetItemHeight(16);
    LeftDirBox->SetScrollTime(100);
    LeftDirBox->SetBounds(8, 25, 176, 358);
    LeftDirBox->SetParent(this);

    SubdirBox = new TCheckBox(this);
    SubdirBox->Name = "SubdirBox";
    SubdirBox->SetCaption("scan subdirectories");
    SubdirBox->SetBounds(9, 390, 121, 17);
    SubdirBox->SetColor(clSilver);
    SubdirBox->SetParent(this);
    SubdirBox->OnClick = {this, &TSonidexForm::SubdirBoxClick};

    TrashBin = new TWallpaper(this);
    TrashBin->Name = "TrashBin";
    TrashBin->Hint = "Delete (F8)";
    TrashBin->BevelOuter = bvNone;
    TrashBin->SetColor(clSilver);
    TrashBin->LoadWallpaperFromResource("TrashBin");
    TrashBin->SetBounds(152, 385, 27, 27);
    TrashBin->SetParent(this);

    WAVList = new TWPListBox(this);
    WAVList->Name = "WAVList";
    WAVList->Style = lbOwnerDrawFixed;
    WAVList->ItemHeight = 13;
    WAVList->SetColor(14742776);
    WAVList->ParentFont = false;
    WAVList->Font.SetName("MS Sans Serif");
    WAVList->Font.SetHeight(-11);
    WAVList->Font.SetColor(clTeal);
    WAVList->SetBounds(192, 26, 129, 381);
    WAVList->SetParent(this);
    WAVList->OnDrawItem = {this, &TSonidexForm::WAVListDrawItem};
    WAVList->OnClick = {this, &TSonidexForm::WAVListClick};
    CreateNameFilter();

    InfoBox = new TPanel(this);
    InfoBox->Name = "InfoBox";
    InfoBox->BevelInner = bvRaised;
    InfoBox->BevelOuter = bvLowered;
    InfoBox->SetBounds(329, 26, 176, 65);
    InfoBox->SetParent(this);

    FileNameLabel = new TLabel(this);
    FileNameLabel->Name = "FileNameLabel";
    FileNameLabel->SetBounds(8, 8, 162, 49);
    FileNameLabel->WordWrap = true;
    FileNameLabel->SetParent(InfoBox);

    WAVInfoLabel = new TLabel(this);
    WAVInfoLabel->Name = "WAVInfoLabel";
    WAVInfoLabel->SetBounds(8, 26, 162, 31);
    WAVInfoLabel->SetParent(InfoBox);

    ControlBox = new TPanel(this);
    ControlBox->Name = "ControlBox";
    ControlBox->BevelInner = bvRaised;
    ControlBox->BevelOuter = bvLowered;
    ControlBox->SetBounds(329, 98, 176, 309);
    ControlBox->SetParent(this);

    PosTimer = new TTimer(this);
    PosTimer->Name = "PosTimer";
    PosTimer->SetInterval(50);

    FileIcon = new TImageList(this, 21, 13, true);
    FileIcon->Name = "FileIcon";

    BackWP = new TImageList(this, 160, 160, false);
    BackWP->Name = "BackWP";
    BackWP->ResourceLoad("BackWP");

    // The list's folder alone, and only files and folders appearing, going or renamed.
    DiskChangeNotify = new TDiskChangeNotify(this);
    DiskChangeNotify->Name = "DiskChangeNotify";
    DiskChangeNotify->SetWatchSubTree(false);
    DiskChangeNotify->SetNotifyFilter({TNotifyFilterType::FILE_NAME, TNotifyFilterType::DIR_NAME});

    CreatePlayerPanel();

    for (TControl* surface : std::initializer_list<TControl*>{DragImage, InfoBox, FileNameLabel, WAVInfoLabel, ControlBox, TrashBin})
        MakeDragSurface(surface);
    MakeDragSurface(this);
    CreateFileComponents();
}

void TSonidexForm::FormCreate(TObject*)
{
    HINSTANCE inst = GetModuleHandleA(nullptr);
    MciCallbackWindow = Handle();
    // 1. The arrowheads shown over the background (which side a double click toggles).
    Screen->SetCursorHandle(5, LoadCursorA(inst, "LeftCursor"));
    Screen->SetCursorHandle(6, LoadCursorA(inst, "RightCursor"));

    // 2. The MIDI line icon, red transparent.
    FileIcon->ResourceLoad("MIDIIcon", clRed);

    // 3. The settings the window needs to lay itself out.
    FIni = std::make_unique<TIniFile>(SettingsFileName);
    const char* S = SettingsSection;
    AppSettings.UseMedia = FIni->ReadBool(S, "UseMedia", true);
    AppSettings.Subdir = FIni->ReadBool(S, "Subdir", true);
    AppSettings.Sort = FIni->ReadBool(S, "Sort", true);
    AppSettings.Wallpaper = FIni->ReadBool(S, "Wallpaper", true);
    AppSettings.Streaming = FIni->ReadBool(S, "Streaming", true);
    AppSettings.HiRes = FIni->ReadBool(S, "HiRes", false);
    AppSettings.Waveform = FIni->ReadBool(S, "Waveform", true);
    AppSettings.SmoothStops = FIni->ReadBool(S, "SmoothStops", true);
    AppSettings.SwapPanels = FIni->ReadBool(S, "SwapPanels", false);
    AppSettings.LeftCollapsed = FIni->ReadBool(S, "LeftCollapsed", false);
    AppSettings.RightCollapsed = FIni->ReadBool(S, "RightCollapsed", false);
    AppSettings.Path = FIni->ReadString(S, "Path", CurrentDirectory());

    // 4. The command line.
    FilterOverride.clear();
    CommandLineResult cl = ApplyCommandLine(CommandLineArguments(), AppSettings);
    FilterOverride = cl.FilterOverride;
    StayOnTop = cl.StayOnTop;
    if (StayOnTop) SetStayOnTop(Handle(), true);

    // 5. The start folder.
    AppSettings.Path = ResolveStartFolder(
        AppSettings.Path, [](const std::string& p) { return static_cast<long>(GetFileAttributesA(p.c_str())); },
        ProgramFolder());

    // 6. Nothing loaded; 11025 Hz is where the frequency slider returns to.
    PlayerState.Format.nSamplesPerSec = 11025;
    PlayerState.FileSize = 0;

    // 7. The list's wallpaper.
    WAVList->BackIL = AppSettings.Wallpaper ? BackWP : nullptr;

    // 8. Colours: the controls' own are the defaults.
    ReadColorsFromControls();
    for (int i = 0; i < 3; ++i) AppSettings.Colors[i] = FIni->ReadInteger(S, ColorKey(i), AppSettings.Colors[i]);
    ApplyColors();
    LeftDirBox->SetColor(AppSettings.Colors[0]);

    // 9. Layout.
    ApplyLayout(AppSettings.LeftCollapsed, AppSettings.RightCollapsed);

    // 10. Position.
    AppSettings.WindowX = FIni->ReadInteger(S, "WindowX", 272);
    AppSettings.WindowY = FIni->ReadInteger(S, "WindowY", 23);
    PlaceAtStoredPosition(AppSettings.WindowX, AppSettings.WindowY);

    // 11. The subfolder box, quietly.
    SubdirBox->SetCheckedQuietly(AppSettings.Subdir);
}

void TSonidexForm::FinishStartup()
{
    const char* S = SettingsSection;
    // 1. The settings the dialog edits live: the field and its box are one.
    AppSettings.Snap = FIni->ReadBool(S, "Snap", true);
    AppSettings.AllowDeletion = FIni->ReadBool(S, "Allow Deletion", true);
    AppSettings.Reread = FIni->ReadBool(S, "Reread", false);
    AppSettings.DblClick = FIni->ReadBool(S, "DblClick", true);
    SettingsForm->SnapBox->SetCheckedQuietly(AppSettings.Snap);
    SettingsForm->DeleteBox->SetCheckedQuietly(AppSettings.AllowDeletion);
    SettingsForm->RereadBox->SetCheckedQuietly(AppSettings.Reread);
    SettingsForm->DblClickBox->SetCheckedQuietly(AppSettings.DblClick);
    SettingsForm->DeleteBoxClick(SettingsForm->DeleteBox);     // shows or hides the trash target
    // 2. The filter: the command line's, or the stored one.
    std::string filter = !FilterOverride.empty() ? FilterOverride : FIni->ReadString(S, "Filter", DefaultFilter);
    SettingsForm->FilterEdit->SetText(filter);
    SettingsForm->FilterEditChange(SettingsForm->FilterEdit);
    // 3. The empty player's info text, shown at once.
    UpdateInfoText();
    Repaint();
    // 4. The first list.
    RefreshList();
    // 5. The settings file is done with.
    FIni.reset();
    // 6. Tell the companion program that the browser has started.
    SendMessageToBcraft(CompanionNotice, 0, 0);
    // 7. The notification-area icon (the shell takes a moment for it) and the hint machinery
    // come after the window and its list are up.
    CreateTrayIcon();
    Hint95 = new THint95(this);
    Hint95->Name = "Hint95";
    Hint95->OnPaintHint = {this, &TSonidexForm::Hint95PaintHint};
    // 8. Everything else is in place: the folder tree reads the disk.
    StartFolderTree();
    // 9. OLE on this thread, which the shell's delete needs (and dragging out), now that the
    // window is up; it ends when the program does.
    OleReady();
}

void TSonidexForm::StartFolderTree()
{
    // The layout made while starting left the tree unmade and unread, so that the window shows
    // at once: its window (and the common controls library with it) comes now.
    LeftDirBox->HandleNeeded();
    FTreeMayRead = true;
    if (LeftDirBox->Visible()) ReadTreeFirstTime();
}

void TSonidexForm::ReadTreeFirstTime()
{
    if (LeftDirBox->ReadOnStart || !FTreeMayRead) return;
    // The tree is shown for the first time: read it now, at the current folder.
    LeftDirBox->OnChange = nullptr;
    LeftDirBox->ReadOnStart = true;
    LeftDirBox->Reload();
    LeftDirBox->SetDirectory(AppSettings.Path);
    if (TTreeNTNode* node = LeftDirBox->FindNode(LeftDirBox->Directory())) node->Expand(false);
    LeftDirBox->OnChange = [this](TObject* sender, TTreeNTNode*) { LeftDirBoxChange(sender); };
}

void TSonidexForm::FormClose(TObject*, TCloseAction&)
{
    // A settings file that cannot be written is reported; the window closes all the same, so
    // that the program can always be ended.
    try {
        TIniFile ini(SettingsFileName);
        const char* S = SettingsSection;
        ini.WriteInteger(S, "WindowX", Left());
        ini.WriteInteger(S, "WindowY", Top());
        ini.WriteBool(S, "LeftCollapsed", AppSettings.LeftCollapsed);
        ini.WriteBool(S, "RightCollapsed", AppSettings.RightCollapsed);
        ini.WriteBool(S, "UseMedia", AppSettings.UseMedia);
        ini.WriteBool(S, "Subdir", AppSettings.Subdir);
        ini.WriteBool(S, "Sort", AppSettings.Sort);
        ini.WriteBool(S, "Wallpaper", AppSettings.Wallpaper);
        ini.WriteBool(S, "SwapPanels", AppSettings.SwapPanels);
        ini.WriteBool(S, "Streaming", AppSettings.Streaming);
        ini.WriteBool(S, "HiRes", AppSettings.HiRes);
        ini.WriteBool(S, "Waveform", AppSettings.Waveform);
        ini.WriteBool(S, "SmoothStops", AppSettings.SmoothStops);
        ini.WriteBool(S, "Allow Deletion", AppSettings.AllowDeletion);
        ini.WriteBool(S, "Reread", AppSettings.Reread);
        ini.WriteBool(S, "Snap", AppSettings.Snap);
        ini.WriteBool(S, "DblClick", AppSettings.DblClick);
        ini.WriteString(S, "Filter", SettingsForm->FilterEdit->Text());
        ini.WriteString(S, "Path", AppSettings.Path);
        for (int i = 0; i < SettingsForm->ColorCount(); ++i) ini.WriteInteger(S, ColorKey(i), AppSettings.Colors[i]);
    } catch (const std::exception& e) {
        Application->HandleException(e);
    }
    SendMessageToBcraft(CompanionNotice, 1, 0);
}

void TSonidexForm::FormDestroy(TObject*)
{
    MciStop();
    SendMciCommand("CLOSE PlayingMIDI");
    EndStreaming();
    CloseSoundDevice();
    // No change report may reach a half-destroyed window; then the lines go before their records.
    DiskChangeNotify->SetEnabled(false);
    WAVList->Clear();
    BoxItems.reset();
}

void TSonidexForm::FormKeyPress(TObject*, char& key)
{
    if (NameFilterBox->Focused()) return;           // the box takes its own keys
    if (key == 13 || key == ' ') PlaySelection();
    else if (key == 27) Close();
}

void TSonidexForm::ApplyLayout(bool L, bool R)
{
    LayoutResult r = ComputeLayout(L, R, AppSettings.LeftCollapsed, AppSettings.SwapPanels, Left());
    // A collapse or restore near an edge never puts the whole window off the screen.
    r.WindowLeft = KeepLeftOnScreen(r.WindowLeft, r.WindowWidth);
    AppSettings.LeftCollapsed = L;
    AppSettings.RightCollapsed = R;
    if (!r.TreeHidden) ReadTreeFirstTime();
    // (While the window is still hidden, as it is when starting, there is nothing to hold.)
    bool moving = r.WindowLeft != Left() && IsWindowVisible(Handle());
    if (moving) LockWindowUpdate(GetDesktopWindow());
    LeftDirBox->SetVisible(!r.TreeHidden);
    InfoBox->SetVisible(!r.PlayerHidden);
    ControlBox->SetVisible(!r.PlayerHidden);
    LeftDirBox->SetLeft(r.TreeLeft);
    SubdirBox->SetLeft(r.TreeLeft + 1);
    TrashBin->SetLeft(r.TreeLeft + 144);
    WAVList->SetLeft(r.ListLeft);
    NameFilterBox->SetLeft(r.ListLeft);
    DragImage->SetLeft(r.DragImageLeft);
    InfoBox->SetLeft(r.PlayerLeft);
    ControlBox->SetLeft(r.PlayerLeft);
    SetBounds(r.WindowLeft, Top(), r.WindowWidth, Height());
    if (moving) LockWindowUpdate(nullptr);
    ShowPathInTitle();
}

void TSonidexForm::ReadColorsFromControls()
{
    AppSettings.Colors[0] = WAVList->Color();
    AppSettings.Colors[1] = NewCaption->ActiveColor();
    AppSettings.Colors[2] = NewCaption->InactiveColor();
}

void TSonidexForm::ApplyColors()
{
    WAVList->SetColor(AppSettings.Colors[0]);
    NewCaption->SetActiveColor(AppSettings.Colors[1]);
    NewCaption->SetInactiveColor(AppSettings.Colors[2]);
}

