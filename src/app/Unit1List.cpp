// The sample list: folder scanning, the list's lines and records, the status text and the
// title text while a scan runs.
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "app/pure/SampleList.h"
#include "audio/WAVUnit.h"
#include "toolkit/pure/StrUtils.h"

namespace {
// The attribute filter of a scan: plain, read-only and archived files and folders; hidden and
// system entries are passed over.
bool PassedOver(DWORD attributes)
{
    return attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}
}

void TSonidexForm::SetTitleText(const std::string& text)
{
    std::string title = "Sonidex " + text;
    // A new caption paints itself at once; the same one is painted again.
    if (NewCaption->Caption() == title) NewCaption->Repaint();
    else NewCaption->SetCaption(title);
    // The window's own text too: the task switcher and other programs see the same title.
    SetCaption(title);
}

void TSonidexForm::ShowPathInTitle()
{
    SetTitleText(AppSettings.LeftCollapsed && AppSettings.RightCollapsed ? std::string() : AppSettings.Path);
}

void TSonidexForm::ShowScanFolderInTitle(const std::string& folder)
{
    // The title bar is painted at most every 40 ms while a scan runs: painting a thousand
    // folders one by one takes longer than scanning them, and nobody reads faster. The folder
    // entered last is always the one shown in the end.
    FScanTitle = UpperCase(folder);
    DWORD now = GetTickCount();
    if (now - FTitleShownAt < 40) return;
    SetTitleText(FScanTitle);
    FScanTitle.clear();
    FTitleShownAt = now;
}

void TSonidexForm::RefreshList()
{
    if (AppSettings.Path.empty() || AppSettings.Path.back() != '\\') AppSettings.Path += '\\';
    DiskChangeNotify->SetWatchDir(WatchFolderOf(AppSettings.Path));
    DiskChangeNotify->SetWatchSubTree(AppSettings.Subdir);
    DiskChangeNotify->SetEnabled(AppSettings.Reread && FDeletions == 0);   // on again after a deletion
    RereadTimer->SetEnabled(false);                // whatever changed is read now
    RebuildList();
}

void TSonidexForm::RebuildList()
{
    THourglass hourglass;
    FScan.Clear();
    FScan.Names.reserve(FScanNameBytes);         // as much as last time: the block is the list's now
    FScanSorted = AppSettings.Sort;
    WAVCount = 0;
    MIDICount = 0;
    ScanCanceled = false;
    FTitleShownAt = GetTickCount() - 40;
    FButtonReadAt = GetTickCount() - 1;          // the first entry reads the button
    ScanFolder(AppSettings.Path);
    if (!FScanTitle.empty()) SetTitleText(FScanTitle);
    FScanTitle.clear();

    // Sorted, equal names make one line, which shows the first of them and refers to the file
    // found last; unsorted, every file has its line in scan order.
    const std::vector<TScanFile>& files = FScan.Files;
    std::vector<TSortedLine> order;
    if (FScanSorted) {
        order = SortedLines(files.size(), [&](size_t i) { return FScan.Text(files[i]); });
    } else {
        order.resize(files.size());
        for (size_t i = 0; i < files.size(); ++i) order[i] = {static_cast<uint32_t>(i), static_cast<uint32_t>(i)};
    }
    size_t nameBytes = 0;
    for (const TSortedLine& line : order) nameBytes += files[line.Last].Length;
    auto items = std::make_unique<TSampleRecords>(std::move(FScan.Folders), order.size(), nameBytes);
    // The lines' texts stay where the scan put them: the list takes the scan's block of names.
    TTextLines lines;
    lines.Lines.reserve(order.size());
    for (const TSortedLine& line : order) {
        const TScanFile& shown = files[line.First];
        const TScanFile& file = files[line.Last];
        lines.Lines.push_back({shown.At, shown.TextLength, items->Add(file.Folder, FScan.Name(file), file.Kind)});
    }
    FScanNameBytes = FScan.Names.size();
    lines.Block = std::move(FScan.Names);
    FScan.Clear();
    // One hand-over: the list is not redrawn line by line. No line is selected afterwards.
    WAVList->SetLines(std::move(lines));
    // The line the player had loaded is no longer known: the next selection loads afresh.
    PlayerState.LastIndex = -1;
    // No line refers to the records of the replaced list any more.
    BoxItems = std::move(items);

    // The filter box's query, if any, applies to the new lines; then the status line.
    NameIndexRead = false;
    ApplyNameFilter();
}

void TSonidexForm::ShowListStatus(const std::string& text)
{
    WAVInfoLabel->SetCaption("");
    FileNameLabel->Font.SetStyle(FileNameLabel->Font.Style() & ~fsBold);
    FileNameLabel->SetCaption(text);
}

void TSonidexForm::ScanFolder(const std::string& folder)
{
    if (!(AppSettings.LeftCollapsed && AppSettings.RightCollapsed)) ShowScanFolderInTitle(folder);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;      // missing or unreadable: nothing in it
    uint32_t folderAt = UINT32_MAX;                // among the scan's folders, once a file is listed
    do {
        if (PassedOver(found.dwFileAttributes)) continue;
        // Holding the right mouse button cancels; this entry is still handled, then every
        // folder's loop ends. The button is read at most once per clock tick (a millisecond or
        // so): reading it costs more than handling an entry, and no press is that short.
        if (DWORD tick = GetTickCount(); tick != FButtonReadAt) {
            FButtonReadAt = tick;
            if (GetAsyncKeyState(VK_RBUTTON) < 0) ScanCanceled = true;
        }
        const std::string_view name(found.cFileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && AppSettings.Subdir && name != "." && name != "..") {
            ScanFolder(folder + found.cFileName + "\\");
            continue;
        }
        // A folder not descended into counts as a name like any other: loops.wav is listed.
        int kind;
        if (!MatchExtension(name, kind)) continue;
        if (folderAt == UINT32_MAX) {
            folderAt = static_cast<uint32_t>(FScan.Folders.size());
            FScan.Folders.push_back(folder);
        }
        FScan.Add(name, folderAt, kind);
        if (kind == KindWAV) ++WAVCount;
        else if (kind == KindMIDI) ++MIDICount;
    } while (!ScanCanceled && FindNextFileA(find, &found));
    FindClose(find);
}

std::string BoxItemDataType::FileName() const
{
    std::string path;
    path.reserve(FFolder->size() + FName.size());
    path += *FFolder;
    path += FName;
    return path;
}

TSampleRecords::TSampleRecords(std::vector<std::string>&& folders, size_t records, size_t nameBytes)
    : FFolders(std::move(folders)), FSlots(new TSlot[records]), FCapacity(records)
{
    FNames.reserve(nameBytes);
    Reserve(static_cast<int>(records));
}

TSampleRecords::~TSampleRecords()
{
    Clear();                            // the records go while their blocks are still there
}

BoxItemDataType* TSampleRecords::Add(uint32_t folder, std::string_view name, int kind)
{
    if (FUsed == FCapacity || FNames.size() + name.size() > FNames.capacity())
        throw Exception("Sample records: more than room was made for");
    const size_t at = FNames.size();
    FNames.append(name);
    return new (FSlots[FUsed++].Bytes) BoxItemDataType(this, FFolders[folder], std::string_view(FNames).substr(at), kind);
}

void TSonidexForm::LeftDirBoxChange(TObject*)
{
    // The tree shows its new folder at once, before the scan holds the thread.
    if (TTreeNTNode* node = LeftDirBox->FindNode(LeftDirBox->Directory())) node->MakeVisible();
    LeftDirBox->Repaint();
    AppSettings.Path = LeftDirBox->Directory();
    RebuildList();
    ShowPathInTitle();
}

void TSonidexForm::SubdirBoxClick(TObject*)
{
    AppSettings.Subdir = SubdirBox->Checked();
    RebuildList();
}

void TSonidexForm::WAVListDrawItem(TObject*, int index, TRect rect, TOwnerDrawState state)
{
    // The list box has painted the line's wallpaper or colour and set the canvas colours.
    TCanvas& canvas = WAVList->Canvas;
    std::string text = WAVList->Strings(index);
    auto* record = dynamic_cast<BoxItemDataType*>(WAVList->Objects(index));
    if (!text.empty() && record) {
        if (record->Kind == KindMIDI) {
            FileIcon->Draw(canvas, rect.Right - 22, rect.Top, FileIcon->Count() - 1);
            if (!(state & odFocused)) canvas.Font.SetColor(32896);         // olive
        } else if (record->Kind == KindOther) {
            if (!(state & odFocused)) canvas.Font.SetColor(4227136);       // green
        }
    }
    if (AppSettings.Wallpaper) canvas.Brush.SetStyle(bsClear);
    canvas.TextRect(rect, rect.Left + 2, rect.Top, text);
}
