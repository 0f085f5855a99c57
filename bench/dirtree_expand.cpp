// Expanding a folder with 5,000 subfolders in the folder tree (read, sorted, shell names and
// icons, each new folder probed for a subfolder of its own) against a bare FindFirstFileA /
// FindNextFileA listing of the same folder, side by side in one run. Goal: ratio at most 2.
// Pass a number to use another count of subfolders.
#include "BenchBuild.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "shell/dirtree.h"
#include "toolkit/Forms.h"

namespace {
double Seconds()
{
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(freq.QuadPart);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

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

    auto expand = [&] {
        tree->Reload();
        tree->SetDirectory(parent);
        TTreeNTNode* node = tree->FindNode(big);
        if (!node) return -1.0;
        Pump();
        const double t = Seconds();
        node->Expand(false);
        const double took = Seconds() - t;
        return node->Count() == count ? took : -1.0;
    };
    auto list = [&] {
        const double t = Seconds();
        const int n = BareListing(big);
        const double took = Seconds() - t;
        return n == count ? took : -1.0;
    };
    std::vector<double> te, tl;
    for (int i = 0; i < 6; ++i) {
        const double e = expand(), l = list();
        if (e < 0 || l < 0) return std::printf("the tree did not show the %d folders\n", count), 1;
        if (i) te.push_back(e), tl.push_back(l);
    }
    const double me = Median(te), ml = Median(tl);
    std::printf("%s: folder tree, %d subfolders: expand %.1f ms, bare FindFirstFileA/FindNextFileA listing %.1f ms "
                "(medians of 5), ratio %.2f (goal <= 2)\n",
                BuildWidth(), count, me * 1e3, ml * 1e3, me / ml);
    form->Free();
    return 0;
}
