// The list's side of file operations, each against its yardstick in the same run.
//
//   FileOpsBench delete FOLDER [ROUNDS]
//     FOLDER holds a large library. Deleting one line from the list, without the shell call:
//     the selected line (as F8 deletes it) and a line found by its path (as a drop on the trash
//     names it), each against a plain list box of the same lines deleting one line. The file
//     is deleted outside the timing; the repaint that follows is timed on both sides.
//
//   FileOpsBench watch FOLDER SOURCE [PAUSE_MS]
//     FOLDER is listed with "Reread" on; a worker thread then copies every file of SOURCE into
//     it, pausing PAUSE_MS between files (0: as fast as it can). Prints the processor time the
//     user-interface thread spent from the copy's start until the list is quiet again, against
//     one rebuild of the folder as it was, and whether the list ends as a fresh scan makes it.
//
// bench/file_ops.py makes the folders, runs both and prints the ratios.
#include "BenchBuild.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "app/pure/SampleList.h"
#include "audio/WAVUnit.h"
#include "toolkit/Forms.h"

namespace {
// Milliseconds on the clock.
double Now() { return 1000 * bench::Seconds(); }

// Processor time of the calling thread: the copying worker's own work and what other
// programs on a shared machine do are not in it.
double ThreadCpuMs() { return bench::CpuMs(true); }

// Handles messages for ms milliseconds, or until `until` is signalled; sleeps in between.
void Pump(DWORD ms, HANDLE until = nullptr)
{
    const DWORD end = GetTickCount() + ms;
    for (int left; (left = static_cast<int>(end - GetTickCount())) > 0;) {
        if (MsgWaitForMultipleObjects(until ? 1 : 0, &until, FALSE, left, QS_ALLINPUT) == WAIT_OBJECT_0 && until) return;
        Application->ProcessMessages();
    }
}

std::vector<std::string> Lines()
{
    std::vector<std::string> out;
    for (int i = 0; i < SonidexForm->WAVList->Count(); ++i) out.push_back(SonidexForm->WAVList->Strings(i));
    return out;
}

void ShowList(const std::string& folder, bool reread)
{
    AppSettings.Sort = true;
    AppSettings.Subdir = false;
    AppSettings.Reread = reread;
    AppSettings.LeftCollapsed = AppSettings.RightCollapsed = false;
    ParseFilter("wav;mid");
    AppSettings.Path = folder;
    SonidexForm->RefreshList();
    Application->ProcessMessages();
}

// A plain list box of the same size as the sample list, holding the same lines.
HWND PlainList(const std::vector<std::string>& lines)
{
    RECT r;
    GetWindowRect(SonidexForm->WAVList->Handle(), &r);
    HWND top = CreateWindowExA(0, "STATIC", "yardstick", WS_POPUP | WS_VISIBLE, r.left + 400, r.top,
                               r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY |
                               LBS_NOINTEGRALHEIGHT, 0, 0, r.right - r.left, r.bottom - r.top, top, nullptr, nullptr, nullptr);
    SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    SendMessageA(box, LB_INITSTORAGE, lines.size(), lines.size() * 32);
    for (const std::string& s : lines) SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    SendMessageA(box, WM_SETREDRAW, TRUE, 0);
    UpdateWindow(top);
    return box;
}

int Delete(TListBox* list, HWND plain, int rounds)
{
    const int n = list->Count();
    // Lines spread over the whole list, the first and the last among them; each round deletes
    // at the same places on both sides.
    const int places[] = {0, 1, n / 7, n / 3, n / 2, 2 * n / 3, 6 * n / 7};
    const int each = static_cast<int>(sizeof places / sizeof *places);
    // Per round, in milliseconds a line: the deletion alone, and with the repaint it causes.
    enum { Selected, Found, Plain, Kinds };
    std::vector<double> work[Kinds], painted[Kinds];
    for (int round = 0; round < rounds; ++round) {
        double w[Kinds] = {}, p[Kinds] = {};
        for (int place : places) {
            for (int kind : {Selected, Found}) {
                const int at = std::min(place, list->Count() - 1);
                const std::string path = dynamic_cast<const BoxItemDataType*>(list->Objects(at))->FileName();
                // Selected, or another line selected while a drop names this one.
                list->SetItemIndex(kind == Selected ? at : (at + 5) % list->Count());
                UpdateWindow(list->Handle());
                DeleteFileA(path.c_str());
                double t0 = Now();
                SonidexForm->RemoveSampleLine(path);
                double t1 = Now();
                UpdateWindow(list->Handle());
                double t2 = Now();
                w[kind] += (t1 - t0);
                p[kind] += (t2 - t0);

                const int pat = std::min(place, static_cast<int>(SendMessageA(plain, LB_GETCOUNT, 0, 0)) - 1);
                SendMessageA(plain, LB_SETCURSEL, pat, 0);
                UpdateWindow(plain);
                t0 = Now();
                SendMessageA(plain, LB_DELETESTRING, pat, 0);
                SendMessageA(plain, LB_SETCURSEL, pat, 0);
                t1 = Now();
                UpdateWindow(plain);
                t2 = Now();
                w[Plain] += (t1 - t0) / 2;
                p[Plain] += (t2 - t0) / 2;
            }
        }
        for (int k = 0; k < Kinds; ++k) {
            work[k].push_back(w[k] / each);
            painted[k].push_back(p[k] / each);
        }
        Application->ProcessMessages();
    }
    // The fastest round of each: other programs on the machine only ever add time.
    auto best = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); };
    printf("%s, wallpaper %s: lines %d deleted %d\n", BuildWidth(), AppSettings.Wallpaper ? "on" : "off", n, n - list->Count());
    for (auto [name, times] : {std::make_pair("deletion", work), std::make_pair("with repaint", painted)}) {
        const double plainMs = best(times[Plain]);
        printf("  %s: plain list box %.3f ms a line; selected line %.3f ms ratio %.2f; line found by path %.3f ms ratio %.2f\n",
               name, plainMs, best(times[Selected]), best(times[Selected]) / plainMs, best(times[Found]),
               best(times[Found]) / plainMs);
    }
    return 0;
}

// The list with its wallpaper, as it starts, then without.
int Delete(const std::string& folder, int rounds)
{
    ShowList(folder, false);
    TListBox* list = SonidexForm->WAVList;
    if (list->Count() < 1000) {
        fprintf(stderr, "too few lines: %d\n", list->Count());
        return 1;
    }
    HWND plain = PlainList(Lines());
    AppSettings.Wallpaper = true;
    SonidexForm->WAVList->BackIL = SonidexForm->BackWP;
    Delete(list, plain, rounds);
    AppSettings.Wallpaper = false;
    SonidexForm->WAVList->BackIL = nullptr;
    InvalidateRect(list->Handle(), nullptr, TRUE);
    return Delete(list, plain, rounds);
}

struct TCopy {
    std::string From, To;
    DWORD Pause = 0;
    int Copied = 0;
};

DWORD WINAPI CopyFiles(void* arg)
{
    auto& c = *static_cast<TCopy*>(arg);
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((c.From + "*.*").c_str(), &f);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            if (CopyFileA((c.From + f.cFileName).c_str(), (c.To + f.cFileName).c_str(), TRUE)) ++c.Copied;
            if (c.Pause) Sleep(c.Pause);
        } while (FindNextFileA(h, &f));
        FindClose(h);
    }
    return 0;
}

int Watch(const std::string& folder, const std::string& source, DWORD pause)
{
    ShowList(folder, true);
    // One rebuild of the folder, the fastest of three (the first warms the caches).
    auto oneRebuild = [] {
        std::vector<double> t;
        for (int i = 0; i < 3; ++i) {
            double c0 = ThreadCpuMs();
            SonidexForm->RebuildList();
            t.push_back(ThreadCpuMs() - c0);
        }
        return *std::min_element(t.begin(), t.end());
    };
    const double rebuildBefore = oneRebuild();
    const int before = SonidexForm->WAVList->Count();
    Pump(300);                                     // nothing pending from the rebuilds above

    // The watch's reports, counted where they arrive.
    int reports = 0;
    TNotifyEvent handler = SonidexForm->DiskChangeNotify->OnDiskChange;
    SonidexForm->DiskChangeNotify->OnDiskChange = [&](TObject* s) { ++reports; handler(s); };

    TCopy copy{source, folder, pause};
    const double c0 = ThreadCpuMs();
    const double t0 = Now();
    HANDLE worker = CreateThread(nullptr, 0, CopyFiles, &copy, 0, nullptr);
    while (WaitForSingleObject(worker, 0) == WAIT_TIMEOUT) Pump(1000, worker);
    const double t1 = Now();
    // Quiet: no report for two seconds after the copy ended.
    for (int seen = -1; seen != reports;) {
        seen = reports;
        Pump(2000);
    }
    const double spent = ThreadCpuMs() - c0;
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);

    const std::vector<std::string> watched = Lines();
    SonidexForm->DiskChangeNotify->OnDiskChange = handler;
    // The yardstick: one rebuild of the folder as the copy left it, what a single rebuild after
    // the copy would cost. It leaves the list as a fresh scan makes it.
    const double rebuild = oneRebuild();
    const bool fresh = Lines() == watched;
    printf("%s: lines %d, %d files copied in %.0f ms (pause %lu ms), lines then %d; reports %d; "
           "interface thread %.1f ms, one rebuild %.1f ms before the copy, %.1f ms after, ratio %.2f; "
           "list as a fresh scan: %s\n",
           BuildWidth(), before, copy.Copied, (t1 - t0), static_cast<unsigned long>(pause),
           static_cast<int>(watched.size()), reports, spent, rebuildBefore, rebuild, spent / rebuild, fresh ? "yes" : "no");
    return fresh ? 0 : 1;
}
}

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: FileOpsBench delete FOLDER [ROUNDS] | watch FOLDER SOURCE [PAUSE_MS]\n");
        return 2;
    }
    auto folderArg = [](std::string f) { return f.back() == '\\' ? f : f + '\\'; };
    const std::string mode = argv[1], folder = folderArg(argv[2]);
    TApplication app;
    Application->Initialize();
    Application->CreateForm(&SonidexForm);
    SonidexForm->Show();
    Application->ProcessMessages();
    int rc = 2;
    if (mode == "delete") rc = Delete(folder, argc > 3 ? atoi(argv[3]) : 5);
    else if (mode == "watch" && argc > 3) rc = Watch(folder, folderArg(argv[3]), argc > 4 ? atoi(argv[4]) : 0);
    fflush(stdout);
    SonidexForm->Free();
    return rc;
}
