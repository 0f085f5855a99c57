// The list as a small file manager: deleting samples through the shell (F8 and the trash
// target), dragging a sample out into other programs, the right-button sweep, handing a sample
// to the companion program, and rebuilding the list when the watched folder changes.
#include "app/Unit1.h"
#include <shellapi.h>
#include "app/pure/AppConfig.h"
#include "app/pure/FileOps.h"
#include "audio/MCIPlayer.h"
#include "audio/WAVUnit.h"
#include "toolkit/LateBound.h"
#include "toolkit/WideText.h"
#include "toolkit/pure/StrUtils.h"

namespace {
bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
}

void TSonidexForm::CreateFileComponents()
{
    TrashDropTarget = new TDragFilesTrg(this);
    TrashDropTarget->Name = "TrashDropTarget";
    TrashDropTarget->SetEnabled(true);
    TrashDropTarget->SetTarget(TrashBin);
    TrashDropTarget->OnDrop = {this, &TSonidexForm::TrashDropTargetDrop};
    DragWAV = new tdropfilesource(this);
    DragWAV->Name = "DragWAV";
    DragWAV->dragtype = dtcopy;
    WAVList->OnMouseDown = {this, &TSonidexForm::WAVListMouseDown};
    WAVList->OnMouseMove = {this, &TSonidexForm::WAVListMouseMove};
    WAVList->OnMouseUp = {this, &TSonidexForm::WAVListMouseUp};
    WAVList->OnDblClick = {this, &TSonidexForm::WAVListDblClick};
    WAVList->OnKeyDown = {this, &TSonidexForm::WAVListKeyDown};
    DiskChangeNotify->OnDiskChange = {this, &TSonidexForm::DiskChangeNotifyDiskChange};
    RereadTimer = new TTimer(this);
    RereadTimer->Name = "RereadTimer";
    RereadTimer->SetEnabled(false);
    RereadTimer->SetInterval(50);
    RereadTimer->OnTimer = {this, &TSonidexForm::RereadTimerTimer};
}

namespace {
// Whether a press at the screen point starts a drag: the pointer leaves the system's drag
// rectangle around it before the button is released. The system's DragDetect does this, but
// Wine's compares the mouse messages' client points with the screen rectangle, so that any
// movement at all (the one a first click into the window brings) counts as a drag.
bool DragStarts(HWND h, POINT at)
{
    const int dx = GetSystemMetrics(SM_CXDRAG), dy = GetSystemMetrics(SM_CYDRAG);
    const RECT area = {at.x - dx, at.y - dy, at.x + dx + 1, at.y + dy + 1};
    SetCapture(h);
    for (;;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
            if (m.message == WM_LBUTTONUP) {
                ReleaseCapture();
                return false;
            }
            if (m.message == WM_MOUSEMOVE) {
                POINT p = {static_cast<short>(LOWORD(m.lParam)), static_cast<short>(HIWORD(m.lParam))};
                ClientToScreen(m.hwnd, &p);
                if (!PtInRect(&area, p)) {
                    ReleaseCapture();
                    return true;
                }
            }
        }
        if (GetCapture() != h || !(GetAsyncKeyState(VK_LBUTTON) & 0x8000)) {
            if (GetCapture() == h) ReleaseCapture();
            return false;
        }
        WaitMessage();
    }
}

// The shell's calls as the system has them, loaded on first need with the rest of shell32.
BOOL WINAPI SystemShellExecuteEx(SHELLEXECUTEINFOA* info)
{
    using Fn = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
    static const auto f = LateBound<Fn>("shell32.dll", "ShellExecuteExA");
    if (f) return f(info);
    SetLastError(ERROR_NO_ASSOCIATION);
    return FALSE;
}

int WINAPI SystemFileOperation(SHFILEOPSTRUCTA* op)
{
    using Fn = int(WINAPI*)(SHFILEOPSTRUCTA*);
    static const auto f = LateBound<Fn>("shell32.dll", "SHFileOperationA");
    return f ? f(op) : ERROR_PROC_NOT_FOUND;
}

// The shell has no "delete" verb for files: no association (Windows), or Wine's invalid
// parameter. Any other failure (the user said No, or cancelled) is the user's answer.
bool DeleteVerbMissing(const SHELLEXECUTEINFOA& info, DWORD error)
{
    return reinterpret_cast<INT_PTR>(info.hInstApp) == SE_ERR_NOASSOC || error == ERROR_NO_ASSOCIATION ||
           error == ERROR_INVALID_PARAMETER;
}
}

TShellExecuteExProc ShellExecuteExCall = &SystemShellExecuteEx;
TFileOperationProc FileOperationCall = &SystemFileOperation;

// Hands one file to the shell's delete. Only a whole path that names an existing file as it
// stands goes: the shell reads "*" and "?" as wildcards, and a cut path can name another file.
void TSonidexForm::ShellDeleteFile(const std::string& path)
{
    if (!DeletablePath(path) || !FileExists(path)) return;
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = Handle();
    info.lpVerb = "delete";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    SetLastError(0);
    const bool done = ShellExecuteExCall(&info);
    const DWORD error = GetLastError();
    if (info.hProcess) CloseHandle(info.hProcess);
    if (done || !DeleteVerbMissing(info, error)) return;
    // Where the shell has no "delete" verb for files (Wine), its file operation sends the file
    // to the recycle bin the same way, asking first. Its own error boxes stay away: a failure
    // is told once, in the program's words.
    const std::string list = ShellFileList(path);
    SHFILEOPSTRUCTA op = {};
    op.hwnd = Handle();
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOERRORUI;
    if (FileOperationCall(&op) != 0 && !op.fAnyOperationsAborted)
        Application->MessageBox("Couldn't delete " + path + ".\rThe file may be in use or write-protected.",
                                MB_OK | MB_ICONERROR);
}

void TSonidexForm::DeleteSample(std::string path)
{
    StopAll();
    AbandonPeaks();
    // The media player keeps the last file it played open, and an open file cannot be deleted.
    SendMciCommand("STOP PlayingMIDI");
    SendMciCommand("CLOSE PlayingMIDI");
    PlayerState.LastIndex = -1;
    // A name the shell would read otherwise than it is listed (a wildcard, a character the code
    // page lacks shown as "?") is not handed on, and its line stays: the file is still there.
    const bool deletable = DeletablePath(path);
    if (!deletable || !FileExists(path)) {
        Application->MessageBox(DeleteRefusalText(path, deletable), MB_OK | MB_ICONWARNING);
        return;
    }
    // Our own deletion is no change to show. A reread still pending from a change just before
    // would run inside the shell's confirmation, rebuild the list and re-arm the watch, which
    // would then report this very deletion: it is dropped, and the watch stays off (also for
    // RefreshList) until the shell is done.
    RereadTimer->SetEnabled(false);
    struct TWatchOff {
        TSonidexForm& F;
        const bool Watching;
        explicit TWatchOff(TSonidexForm& f) : F(f), Watching(f.DiskChangeNotify->Enabled())
        {
            ++F.FDeletions;
            F.DiskChangeNotify->SetEnabled(false);
        }
        ~TWatchOff()
        {
            --F.FDeletions;
            F.DiskChangeNotify->SetEnabled(Watching);
        }
    };
    {
        TWatchOff off(*this);
        ShellDeleteFile(path);
    }
    // The shell's answers prove nothing: the line goes only with the file, which was there.
    if (!FileExists(path)) RemoveSampleLine(path);
}

void TSonidexForm::RemoveSampleLine(const std::string& path)
{
    // The shell's message loop may have rebuilt the list: the line is searched afresh,
    // comparing as the program compares paths (ASCII letters without regard to case). F8
    // deletes the selected line, which is looked at first; a drop's files are searched for
    // from the end.
    const int idx = WAVList->ItemIndex();
    auto names = [&](int i) {
        const auto* r = RecordAt(i);
        return r && SamePath(r->FileName(), path);
    };
    int found = idx >= 0 && idx < WAVList->Count() && names(idx) ? idx : -1;
    for (int i = WAVList->Count() - 1; i >= 0 && found < 0; --i)
        if (names(i)) found = i;
    if (found < 0) return;
    TObject* record = WAVList->Objects(found);
    WAVList->DeleteItem(found);
    NameIndexRead = false;
    if (auto* item = dynamic_cast<BoxItemDataType*>(record)) delete item;
    PlayerState.LastIndex = -1;
    WAVList->SetItemIndex(SelectionAfterDelete(idx, WAVList->Count()));
}

void TSonidexForm::TrashDropTargetDrop(TObject*)
{
    // A copy: another drop can arrive inside a confirmation box and replace the target's list.
    const TStringList dropped = TrashDropTarget->DroppedFiles;
    for (int i = 0; i < dropped.Count(); ++i) DeleteSample(dropped.Strings(i));
}

void TSonidexForm::WAVListMouseDown(TObject*, TMouseButton button, TShiftState, int x, int y)
{
    if (button == mbRight) {
        const int i = WAVList->ItemAtPos({x, y}, true);
        if (i >= 0) WAVList->SetItemIndex(i);
        return;
    }
    if (button != mbLeft) return;
    const LONG pressedAt = GetMessageTime();
    // The press has selected the line under it: it plays now, before a drag can begin, so a
    // drag carries the line the user sees and the drop plays nothing.
    WAVList->ReportSelection();
    const bool played = FPlayedAt == pressedAt;      // this press's selection change played

    const int i = WAVList->ItemIndex();
    const auto* r = RecordAt(i);
    if (!r || WAVList->Strings(i).empty()) return;
    DragWAV->FileList.Clear();
    DragWAV->FileList.Add(r->FileName());
    // A press that the system does not see as the start of a drag (released before the mouse
    // left the drag rectangle) is a click: the drag loop is not entered at all. Nothing dropped:
    // the sample plays again from its start; after a mere click only if this very press did not
    // start it a moment ago (a second start would smear its onset with the first one's ramp).
    const TPoint at = WAVList->ClientToScreen({x, y});
    const bool dragged = DragStarts(WAVList->Handle(), POINT{at.X, at.Y});
    const bool dropped = dragged && DragWAV->RunDrag() != 2;
    // The drag took the button's release; the list, which saw the press, gets it too, or it
    // would go on following the mouse (and select, and play) until the next click.
    SendMessageA(WAVList->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    if (!dropped && (dragged || !played)) PlaySelection();
}

void TSonidexForm::WAVListMouseMove(TObject*, TShiftState shift, int x, int y)
{
    if (!(shift & ssRight)) return;
    const int i = WAVList->ItemAtPos({x, y}, true);
    if (i >= 0 && i != WAVList->ItemIndex()) WAVList->SetItemIndex(i);
}

void TSonidexForm::WAVListMouseUp(TObject*, TMouseButton button, TShiftState, int, int)
{
    if (button == mbRight) PlaySelection();
}

void TSonidexForm::WAVListDblClick(TObject*)
{
    if (AppSettings.DblClick) SendSampleToCompanion();
}

void TSonidexForm::WAVListKeyDown(TObject*, WORD& key, TShiftState shift)
{
    FAudition.KeyDown(key, (shift & ssRepeat) != 0);
    if (key == VK_INSERT) SendSampleToCompanion();
}

void TSonidexForm::SendSampleToCompanion()
{
    const auto* r = RecordAt(WAVList->ItemIndex());
    if (!r) return;
    // The companion reads its bytes in the machine's own code page. A name that code page
    // cannot hold goes by its short name where the volume keeps one, and otherwise not at
    // all: a wrong path never goes out.
    std::string path;                                 // stays whole for the synchronous send
    if (r->FileName().find_first_of("*?") != std::string::npos) return;
    if (!LegacyText(r->FileName(), path)) {
        const std::wstring wide = WideText(r->FileName());
        const DWORD n = GetShortPathNameW(wide.c_str(), nullptr, 0);
        std::wstring shortName(n, L'\0');
        if (n == 0 || GetShortPathNameW(wide.c_str(), shortName.data(), n) + 1 != n) return;
        shortName.resize(n - 1);
        if (!LegacyText(NarrowText(shortName), path)) return;
    }
    COPYDATASTRUCT data = {};
    data.dwData = 1;
    data.cbData = DWORD(path.size() + 1);
    data.lpData = const_cast<char*>(path.c_str());
    SendMessageToBcraft(WM_COPYDATA, reinterpret_cast<WPARAM>(Handle()), reinterpret_cast<LPARAM>(&data));
}

void TSonidexForm::DiskChangeNotifyDiskChange(TObject*)
{
    // Shown together with the changes that follow it closely (see RereadDue).
    FLastChangeAt = GetTickCount();
    if (RereadTimer->Enabled()) return;
    FFirstChangeAt = FLastChangeAt;
    RereadTimer->SetEnabled(true);
}

void TSonidexForm::RereadTimerTimer(TObject*)
{
    if (!RereadDue(GetTickCount(), FFirstChangeAt, FLastChangeAt)) return;
    RereadTimer->SetEnabled(false);
    RefreshList();
}
