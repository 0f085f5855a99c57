// Expanding a folder with 5,000 subfolders in the folder tree (read, sorted, shell names and
// icons, the shown folders asked whether they hold a folder) and drawing it, against a floor
// program that lists the same folder and inserts its 5,000 names as text-only items into a
// bare SysTreeView32, expands and draws that, side by side in one run. Goal: ratio at most 1.5.
// Then the expanded tree is scrolled from top to bottom twice, counting the folders listed to
// learn whether they hold a folder: each shown folder at most once, nothing on the second pass.
// Pass a number to use another count of subfolders.
#include "BenchBuild.h"
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "shell/dirtree.h"
#include "toolkit/Forms.h"

namespace {
using bench::Median;
using bench::Seconds;

// The folders of a listing, as a program that only wants their names would read them.
int BareListing(const std::string& folder)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    int folders = 0;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ++folders;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return folders - 2;                     // "." and ".."
}

// The floor: the listing's folder names as text-only items under one item of a bare tree
// view, expanded and drawn.
double Floor(HWND parent, const std::string& folder, int& shown)
{
    HWND tv = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS |
                              TVS_HASLINES | TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS, 0, 0, 280, 480, parent, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    TVINSERTSTRUCTA is = {};
    is.hParent = TVI_ROOT;
    is.hInsertAfter = TVI_LAST;
    is.item.mask = TVIF_TEXT;
    is.item.pszText = const_cast<char*>("Many");
    auto top = reinterpret_cast<HTREEITEM>(SendMessageA(tv, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
    UpdateWindow(tv);
    const double t = Seconds();
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "*.*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::strcmp(fd.cFileName, ".") &&
                std::strcmp(fd.cFileName, ".."))
                names.emplace_back(fd.cFileName);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    is.hParent = top;
    for (const std::string& n : names) {
        is.item.pszText = const_cast<char*>(n.c_str());
        SendMessageA(tv, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is));
    }
    SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(top));
    UpdateWindow(tv);
    const double took = Seconds() - t;
    shown = static_cast<int>(SendMessageA(tv, TVM_GETCOUNT, 0, 0)) - 1;
    DestroyWindow(tv);
    return took;
}

// Scrolls a tree view page by page from its top to its bottom, drawing each page.
void ScrollThrough(HWND tv)
{
    SendMessageA(tv, WM_VSCROLL, SB_TOP, 0);
    UpdateWindow(tv);
    for (int guard = 0; guard < 100000; ++guard) {
        LRESULT before = SendMessageA(tv, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0);
        SendMessageA(tv, WM_VSCROLL, SB_PAGEDOWN, 0);
        UpdateWindow(tv);
        if (SendMessageA(tv, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0) == before) break;
    }
}

void Pump()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}
}

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5000;
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string parent = std::string(tmp) + "sonidex-bench-tree\\";
    const std::string big = parent + "Many\\";
    CreateDirectoryA(parent.c_str(), nullptr);
    CreateDirectoryA(big.c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Folder %05d", (i * 7919) % count);   // not in name order
        CreateDirectoryA((big + name).c_str(), nullptr);
    }
    if (BareListing(big) != count) return std::printf("the bench folder does not hold %d folders\n", count), 1;

    new TApplication();
    Application->Initialize();
    auto* form = new TForm(Application);
    form->BorderStyle = bsNone;
    form->SetBounds(50, 50, 300, 500);
    form->AfterConstruction();
    form->Show();
    auto* tree = new Tdirtree(form);
    tree->FastLoad = true;
    tree->SetBounds(0, 0, 280, 480);
    tree->SetParent(form);
    Pump();

    int probesShown = 0;
    auto expand = [&] {
        tree->Reload();
        tree->SetDirectory(parent);
        TTreeNTNode* node = tree->FindNode(big);
        if (!node) return -1.0;
        // Shown at the top, its parents expanded, as a user sees it before the click.
        node->MakeVisible();
        tree->SetTopItem(node);
        Pump();
        UpdateWindow(tree->Handle());
        const int probes = tree->Probes();
        const double t = Seconds();
        node->Expand(false);
        UpdateWindow(tree->Handle());
        const double took = Seconds() - t;
        probesShown = tree->Probes() - probes;
        return node->Count() == count ? took : -1.0;
    };
    auto floor = [&] {
        int shown = 0;
        const double took = Floor(form->Handle(), big, shown);
        return shown == count ? took : -1.0;
    };
    std::vector<double> te, tf;
    for (int i = 0; i < 6; ++i) {
        const double e = expand(), f = floor();
        if (e < 0 || f < 0) return std::printf("the tree did not show the %d folders\n", count), 1;
        if (i) te.push_back(e), tf.push_back(f);
    }
    const double me = Median(te), mf = Median(tf);
    const double t = Seconds();
    const int listed = BareListing(big);
    const double ml = Seconds() - t;
    std::printf("%s: folder tree, %d subfolders: expand and draw %.1f ms, floor (listing, %d text-only items into a "
                "bare SysTreeView32, expand, draw) %.1f ms (medians of 5), ratio %.2f (goal <= 1.5); the bare listing "
                "alone %.1f ms\n",
                BuildWidth(), count, me * 1e3, listed, mf * 1e3, me / mf, ml * 1e3);

    // Scrolling the expanded tree from top to bottom, twice.
    const int atStart = tree->Probes();
    ScrollThrough(tree->Handle());
    const int firstPass = tree->Probes() - atStart;
    ScrollThrough(tree->Handle());
    const int secondPass = tree->Probes() - atStart - firstPass;
    std::printf("%s: probes (folders listed to learn whether they hold a folder): %d for the first page shown, %d "
                "scrolling top to bottom through %d folders, %d on a second pass (goal: at most one per folder "
                "shown, none again)\n",
                BuildWidth(), probesShown, firstPass, count, secondPass);
    form->Free();
    return firstPass <= count && secondPass == 0 ? 0 : 1;
}
