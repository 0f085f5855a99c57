// Static load of a 64 MB WAV (mapped, walked, copied into a new DirectSound buffer in slices)
// against a plain copy of the same mapped bytes into new memory. Goal: ratio at most 1.5. Then
// the same for a 64 MB 24-bit WAV with the HiRes setting (converted to 16-bit as it is copied).
// Goal: ratio at most 2.
#include "BenchBuild.h"
#include <cstdlib>
#include "AudioBench.h"

int main()
{
    if (!bench::OpenDevice()) return 0;
    std::vector<char> pattern(3 << 20);
    for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = char(i * 2654435761u >> 13);
    const unsigned bytes = 64u << 20;
    AppSettings.Streaming = false;
    for (int bits : {16, 24}) {
        const std::string path = bench::TempPath(bits == 16 ? "sonidex-bench-64mb.wav" : "sonidex-bench-64mb-24bit.wav");
        bench::WriteWav(path, bytes - bytes % 6, pattern, bits);
        AppSettings.HiRes = bits == 24;

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
            std::memcpy(to, static_cast<const char*>(v) + 44, bytes - bytes % 6);
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
        std::printf("%s: static load 64 MB %d-bit: LoadWaveFile %.1f ms, plain copy %.1f ms (medians of 8), ratio %.2f (goal <= %s)\n",
                    BuildWidth(), bits, ml * 1e3, mc * 1e3, ml / mc, bits == 16 ? "1.5" : "2");
        DeleteFileA(path.c_str());
    }
    return 0;
}
