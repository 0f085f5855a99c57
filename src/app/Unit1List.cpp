// The sample list: folder scanning, the list's lines and records, the status text and the
// title text while a scan runs.
#include <unordered_set>
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
    NewCaption->SetCaption(title);
    NewCaption->Repaint();
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
    auto items = std::make_unique<TCollection>();
    FScanItems = items.get();
    FScanLines.clear();
    FScanSorted = AppSettings.Sort;
    WAVCount = 0;
    MIDICount = 0;
    ScanCanceled = false;
    FTitleShownAt = GetTickCount() - 40;
    FButtonReadAt = GetTickCount() - 1;          // the first entry reads the button
    ScanFolder(AppSettings.Path);
    FScanItems = nullptr;
    if (!FScanTitle.empty()) SetTitleText(FScanTitle);
    FScanTitle.clear();

    std::vector<TObject*> unlisted;
    if (FScanSorted) unlisted = SortSampleLines(FScanLines);
    std::vector<std::pair<std::string, TObject*>> lines;
    lines.reserve(FScanLines.size());
    for (TSampleLine& line : FScanLines) lines.emplace_back(std::move(line.Text), line.Record);
    std::vector<TSampleLine>().swap(FScanLines);
    // One hand-over: the list is not redrawn line by line. No line is selected afterwards.
    WAVList->SetLines(std::move(lines));
    // The line the player had loaded is no longer known: the next selection loads afresh.
    PlayerState.LastIndex = -1;

    // No line refers to the records of the replaced list any more, nor to those of files whose
    // line a later file of the same name took over.
    if (!unlisted.empty()) {
        std::unordered_set<TObject*> drop(unlisted.begin(), unlisted.end());
        items->FreeWhere([&](TCollectionItem* i) { return drop.count(i) != 0; });
    }
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
    std::string name;
    do {
        if (PassedOver(found.dwFileAttributes)) continue;
        // Holding the right mouse button cancels; this entry is still handled, then every
        // folder's loop ends. The button is read at most once per clock tick (a millisecond or
        // so): reading it costs more than handling an entry, and no press is that short.
        if (DWORD tick = GetTickCount(); tick != FButtonReadAt) {
            FButtonReadAt = tick;
            if (GetAsyncKeyState(VK_RBUTTON) < 0) ScanCanceled = true;
        }
        name.assign(found.cFileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && AppSettings.Subdir && name != "." && name != "..") {
            ScanFolder(folder + name + "\\");
            continue;
        }
        // A folder not descended into counts as a name like any other: loops.wav is listed.
        int kind;
        if (!MatchExtension(name, kind)) continue;
        auto* record = new BoxItemDataType(FScanItems ? FScanItems : BoxItems.get());
        record->FileName = folder + name;
        record->Kind = kind;
        if (kind == KindWAV) ++WAVCount;
        else if (kind == KindMIDI) ++MIDICount;
        FScanLines.push_back({DisplayName(name), record, std::string()});
    } while (!ScanCanceled && FindNextFileA(find, &found));
    FindClose(find);
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
