// Static load of a 64 MB WAV (mapped, walked, copied into a new DirectSound buffer in slices)
// against a plain copy of the same mapped bytes into new memory. Goal: ratio at most 1.5.
#include "BenchBuild.h"
#include <cstdlib>
#include "AudioBench.h"

int main()
{
    if (!bench::OpenDevice()) return 0;
    const std::string path = bench::TempPath("sonidex-bench-64mb.wav");
    std::vector<char> pattern(1 << 20);
    for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = char(i * 2654435761u >> 13);
    const unsigned bytes = 64u << 20;
    bench::WriteWav(path, bytes, pattern);
    AppSettings.Streaming = false;

    auto load = [&] {
        const double t = bench::Seconds();
        if (LoadWaveFile(path, PlayerState.CurrentBuffer) != 0) return -1.0;
        const double took = bench::Seconds() - t;
        PlayerState.CurrentBuffer->Release();
        PlayerState.CurrentBuffer = nullptr;
        return took;
    };
    auto copy = [&] {
        const double t = bench::Seconds();
        HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        HANDLE m = CreateFileMappingA(f, nullptr, PAGE_READONLY, 0, 0, nullptr);
        CloseHandle(f);
        const void* v = MapViewOfFile(m, FILE_MAP_READ, 0, 0, 0);
        char* to = static_cast<char*>(std::malloc(bytes));
        std::memcpy(to, static_cast<const char*>(v) + 44, bytes);
        const double took = bench::Seconds() - t;
        volatile char keep = to[bytes / 2];
        (void)keep;
        std::free(to);
        UnmapViewOfFile(v);
        CloseHandle(m);
        return took;
    };
    std::vector<double> tl, tc;
    for (int i = 0; i < 9; ++i) {
        const double l = load(), c = copy();
        if (l < 0) return std::printf("load failed\n"), 1;
        if (i) tl.push_back(l), tc.push_back(c);
    }
    const double ml = bench::Median(tl), mc = bench::Median(tc);
    std::printf("%s: static load 64 MB: LoadWaveFile %.1f ms, plain copy %.1f ms (medians of 8), ratio %.2f (goal <= 1.5)\n",
                BuildWidth(), ml * 1e3, mc * 1e3, ml / mc);
    DeleteFileA(path.c_str());
    return 0;
}
