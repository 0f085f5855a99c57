// The list's filter box over a large library, against a bare list box in the same run.
//
//   NameFilterBench FOLDER ROUNDS QUERY... WORD
//     FOLDER holds the library. For each QUERY: the time from a change of the box's text (from
//     empty to the query) until the list has painted its new lines, against a bare owner-drawn
//     list box (LBS_NODATA) of the same size and font given the same matching lines
//     (LB_SETCOUNT) and painting them; with the wallpaper off and on. Then WORD is typed into
//     the empty box a letter at a time (posted as the keyboard would), and the longest time
//     the interface thread was busy with a letter is printed.
//
// bench/name_filter.py makes the library, runs it and prints the ratios.
#include "BenchBuild.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "app/pure/SampleList.h"
#include "toolkit/Forms.h"

namespace {
double Now() { return 1000 * bench::Seconds(); }

// The bare list's lines and its font.
const std::vector<std::string>* BareLines = nullptr;
HFONT BareFont = nullptr;

LRESULT CALLBACK BareParent(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    if (msg != WM_DRAWITEM) return DefWindowProcA(h, msg, w, l);
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    if (static_cast<int>(d->itemID) < 0 || !BareLines || d->itemID >= BareLines->size()) return TRUE;
    const bool selected = d->itemState & ODS_SELECTED;
    FillRect(d->hDC, &d->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(d->hDC, TRANSPARENT);
    SetTextColor(d->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    HGDIOBJ old = SelectObject(d->hDC, BareFont);
    const std::string& s = (*BareLines)[d->itemID];
    TextOutA(d->hDC, d->rcItem.left + 2, d->rcItem.top, s.c_str(), static_cast<int>(s.size()));
    SelectObject(d->hDC, old);
    return TRUE;
}

// An owner-drawn list box that only counts its lines, as large as the sample list, beside it.
HWND BareList()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BareParent;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BareListParent";
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    RegisterClassA(&wc);
    RECT r;
    GetWindowRect(SonidexForm->WAVList->Handle(), &r);
    HWND top = CreateWindowExA(0, "BareListParent", "yardstick", WS_POPUP | WS_VISIBLE, r.left + 400, r.top,
                               r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY |
                               LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_NODATA,
                               0, 0, r.right - r.left, r.bottom - r.top, top, nullptr, nullptr, nullptr);
    SendMessageA(box, LB_SETITEMHEIGHT, 0, SonidexForm->WAVList->ItemHeight);
    BareFont = SonidexForm->WAVList->Font.Handle();
    return box;
}

void Show(HWND box, const std::vector<std::string>& lines)
{
    BareLines = &lines;
    SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    SendMessageA(box, LB_RESETCONTENT, 0, 0);
    SendMessageA(box, LB_SETCOUNT, lines.size(), 0);
    SendMessageA(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
    UpdateWindow(box);
}

std::vector<std::string> Lines()
{
    std::vector<std::string> out;
    for (int i = 0; i < SonidexForm->WAVList->Count(); ++i) out.push_back(SonidexForm->WAVList->Strings(i));
    return out;
}

void SetQuery(const std::string& q)
{
    SonidexForm->NameFilterBox->SetText(q);
    UpdateWindow(SonidexForm->WAVList->Handle());
}

int Changes(HWND bare, const std::vector<std::string>& all, const std::vector<std::string>& queries, int rounds)
{
    for (const std::string& q : queries) {
        SetQuery(q);
        const std::vector<std::string> matching = Lines();
        std::vector<double> ours, yard;
        for (int round = 0; round < rounds; ++round) {
            SetQuery("");
            double t0 = Now();
            SetQuery(q);
            ours.push_back(Now() - t0);
            if (SonidexForm->WAVList->Count() != static_cast<int>(matching.size())) {
                fprintf(stderr, "the box's change did not filter the list\n");
                return 1;
            }
            Show(bare, all);
            t0 = Now();
            Show(bare, matching);
            yard.push_back(Now() - t0);
            Application->ProcessMessages();
        }
        // The fastest round of each: other programs on the machine only ever add time.
        const double o = *std::min_element(ours.begin(), ours.end()), y = *std::min_element(yard.begin(), yard.end());
        printf("  \"%s\": %zu of %zu lines (%.0f %%): filter box %.2f ms, bare list box %.2f ms, ratio %.2f\n",
               q.c_str(), matching.size(), all.size(), 100.0 * matching.size() / all.size(), o, y, o / y);
    }
    SetQuery("");
    return 0;
}

// The word typed a letter at a time into the empty box; each letter's time from its key
// message until the queue is empty and the list painted. Gives the slowest letter in its
// fastest round (what the work costs) and the longest time seen at all (with what other
// programs on the machine took from it).
double Typing(const std::string& word, int rounds, double& seen)
{
    HWND edit = SonidexForm->NameFilterBox->Handle();
    std::vector<double> fastest(word.size(), 1e9);
    seen = 0;
    for (int round = 0; round < rounds; ++round) {
        SetQuery("");
        Application->ProcessMessages();
        SetFocus(edit);
        for (size_t i = 0; i < word.size(); ++i) {
            const double t0 = Now();
            PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(word[i]), 1);
            Application->ProcessMessages();
            const double t = Now() - t0;
            fastest[i] = std::min(fastest[i], t);
            seen = std::max(seen, t);
        }
    }
    return *std::max_element(fastest.begin(), fastest.end());
}
}

int main(int argc, char** argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: NameFilterBench FOLDER ROUNDS QUERY... WORD\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '\\') folder += '\\';
    const int rounds = atoi(argv[2]);
    const std::vector<std::string> queries(argv + 3, argv + argc - 1);
    const std::string word = argv[argc - 1];
    TApplication app;
    Application->Initialize();
    Application->CreateForm(&SonidexForm);
    SonidexForm->Show();
    Application->ProcessMessages();
    AppSettings.Sort = true;
    AppSettings.Subdir = false;
    AppSettings.LeftCollapsed = AppSettings.RightCollapsed = false;
    ParseFilter("wav;mid");
    AppSettings.Path = folder;
    SonidexForm->RefreshList();
    SonidexForm->ShowNameFilter();
    Application->ProcessMessages();
    const std::vector<std::string> all = Lines();
    HWND bare = BareList();
    int rc = 0;
    for (bool wallpaper : {false, true}) {
        AppSettings.Wallpaper = wallpaper;
        SonidexForm->WAVList->BackIL = wallpaper ? SonidexForm->BackWP : nullptr;
        printf("%s, wallpaper %s, from an empty box to the query until painted (fastest of %d):\n", BuildWidth(),
               wallpaper ? "on" : "off", rounds);
        rc |= Changes(bare, all, queries, rounds);
    }
    double seen = 0;
    const double worst = Typing(word, rounds, seen);
    printf("%s: typing \"%s\" into the box over %zu lines, %d times: slowest letter %.2f ms (its fastest time), "
           "longest seen %.2f ms\n", BuildWidth(), word.c_str(), all.size(), rounds, worst, seen);
    fflush(stdout);
    SonidexForm->Free();
    return rc;
}
