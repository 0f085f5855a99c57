// Rebuilding the sample list (sorted, subfolders on) against a bare FindFirstFileA/FindNextFileA
// walk of the same tree, side by side in one run. Usage: RebuildListBench FOLDER [ROUNDS].
// Each is timed ROUNDS times, alternating, by the clock and by the process's processor time;
// the fastest of each counts.
// bench/rebuild_list.py makes the trees, runs this and prints the ratios.
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
using bench::CpuMs;

// What any program must do to see the tree: every entry of every folder, folders descended.
long Walk(const std::string& folder)
{
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((folder + "*.*").c_str(), &f);
    if (h == INVALID_HANDLE_VALUE) return 0;
    long files = 0;
    do {
        if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (strcmp(f.cFileName, ".") && strcmp(f.cFileName, "..")) files += Walk(folder + f.cFileName + "\\");
        } else {
            ++files;
        }
    } while (FindNextFileA(h, &f));
    FindClose(h);
    return files;
}
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: RebuildListBench FOLDER [ROUNDS]\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '\\') folder += '\\';
    int rounds = argc > 2 ? atoi(argv[2]) : 5;

    TApplication app;
    Application->Initialize();
    Application->CreateForm(&SonidexForm);
    SonidexForm->Show();
    Application->ProcessMessages();
    AppSettings.Sort = true;
    AppSettings.Subdir = true;
    AppSettings.LeftCollapsed = AppSettings.RightCollapsed = false;
    ParseFilter("wav;mid");
    AppSettings.Path = folder;

    long files = Walk(folder);                 // warm the caches for both
    std::vector<double> walk, rebuild, walkCpu, rebuildCpu;
    for (int i = 0; i < rounds; ++i) {
        double c0 = CpuMs();
        double t0 = bench::Seconds();
        Walk(folder);
        double t1 = bench::Seconds();
        double c1 = CpuMs();
        SonidexForm->RebuildList();
        double t2 = bench::Seconds();
        double c2 = CpuMs();
        walk.push_back(1000 * (t1 - t0));
        rebuild.push_back(1000 * (t2 - t1));
        walkCpu.push_back(c1 - c0);
        rebuildCpu.push_back(c2 - c1);
        Application->ProcessMessages();
    }
    // The fastest of each: other programs on the machine only ever add time.
    auto best = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); };
    double w = best(walk), r = best(rebuild), wc = best(walkCpu), rc = best(rebuildCpu);
    printf("%s: files %ld lines %d walk %.1f ms rebuild %.1f ms ratio %.2f cpu walk %.1f ms rebuild %.1f ms ratio %.2f\n",
           BuildWidth(), files, SonidexForm->WAVList->Count(), w, r, r / w, wc, rc, wc > 0 ? rc / wc : 0.0);
    fflush(stdout);
    SonidexForm->Free();
    return 0;
}
