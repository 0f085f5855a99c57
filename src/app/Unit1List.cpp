// The sample list: folder scanning, the list's lines and records, the status text and the
// title text while a scan runs.
#include <unordered_set>
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "app/pure/SampleList.h"
#include "audio/WAVUnit.h"
#include "toolkit/pure/StrUtils.h"

namespace {
// The hourglass over the whole screen for as long as a rebuild runs, however it ends.
struct THourGlass {
    THourGlass() { Screen->SetCursor(crHourGlass); }
    ~THourGlass() { Screen->SetCursor(crDefault); }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;
};

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

void TSonidexForm::RefreshList()
{
    if (AppSettings.Path.empty() || AppSettings.Path.back() != '\\') AppSettings.Path += '\\';
    DiskChangeNotify->SetWatchDir(WatchFolderOf(AppSettings.Path));
    DiskChangeNotify->SetWatchSubTree(AppSettings.Subdir);
    DiskChangeNotify->SetEnabled(AppSettings.Reread);
    RebuildList();
}

void TSonidexForm::RebuildList()
{
    THourGlass hourglass;
    auto items = std::make_unique<TCollection>();
    FScanItems = items.get();
    FScanLines.clear();
    FScanSorted = AppSettings.Sort;
    WAVCount = 0;
    MIDICount = 0;
    ScanCanceled = false;
    ScanFolder(AppSettings.Path);
    FScanItems = nullptr;

    std::vector<TObject*> unlisted;
    if (FScanSorted) unlisted = SortSampleLines(FScanLines);
    TStringList lines;
    for (TSampleLine& line : FScanLines) lines.AddObject(line.Text, line.Record);
    std::vector<TSampleLine>().swap(FScanLines);
    // One hand-over: the list is not redrawn line by line. No line is selected afterwards.
    WAVList->SetLines(lines);
    // The line the player had loaded is no longer known: the next selection loads afresh.
    PlayerState.LastIndex = -1;

    // No line refers to the records of the replaced list any more, nor to those of files whose
    // line a later file of the same name took over.
    if (!unlisted.empty()) {
        std::unordered_set<TObject*> drop(unlisted.begin(), unlisted.end());
        items->FreeWhere([&](TCollectionItem* i) { return drop.count(i) != 0; });
    }
    BoxItems = std::move(items);

    WAVInfoLabel->SetCaption("");
    FileNameLabel->Font.SetStyle(FileNameLabel->Font.Style() & ~fsBold);
    FileNameLabel->SetCaption(ScanStatusText(WAVCount, MIDICount, ScanCanceled));
}

void TSonidexForm::ScanFolder(const std::string& folder)
{
    if (!(AppSettings.LeftCollapsed && AppSettings.RightCollapsed)) SetTitleText(UpperCase(folder));
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;      // missing or unreadable: nothing in it
    do {
        if (PassedOver(found.dwFileAttributes)) continue;
        // Holding the right mouse button cancels; this entry is still handled, then every
        // folder's loop ends.
        if (GetAsyncKeyState(VK_RBUTTON) < 0) ScanCanceled = true;
        std::string name = found.cFileName;
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
        std::string text = DisplayName(name);
        std::string key = FScanSorted ? AnsiSortKey(text) : std::string();
        FScanLines.push_back({std::move(text), record, std::move(key)});
    } while (!ScanCanceled && FindNextFileA(find, &found));
    FindClose(find);
}

void TSonidexForm::LeftDirBoxChange(TObject*)
{
    // The tree shows its new folder at once, before the scan holds the thread.
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
