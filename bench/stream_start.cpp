// Streaming start (LoadWaveFile and the start of the stream) for a 500 MB WAV against a 100 KB
// one: the start reads the chunk headers and one half of data, so it must not depend on the
// file's size. Goal: ratio at most 1.1.
#include "BenchBuild.h"
#include "AudioBench.h"

int main()
{
    if (!bench::OpenDevice()) return 0;
    const std::string big = bench::TempPath("sonidex-bench-500mb.wav");
    const std::string small = bench::TempPath("sonidex-bench-100kb.wav");
    bench::WriteWav(big, 500u << 20);
    bench::WriteWav(small, 100u << 10, std::vector<char>(4096, 17));
    AppSettings.Streaming = true;
    auto start = [](const std::string& path) {
        const double t = bench::Seconds();
        if (LoadWaveFile(path, PlayerState.CurrentBuffer) != 0) return -1.0;
        StartStream();
        const double took = bench::Seconds() - t;
        StopStream();
        return took;
    };
    std::vector<double> tb, ts;
    for (int i = 0; i < 41; ++i) {               // side by side, alternating; the first pair warms up
        const double b = start(big), s = start(small);
        if (b < 0 || s < 0) return std::printf("load failed\n"), 1;
        if (i) tb.push_back(b), ts.push_back(s);
    }
    const double mb = bench::Median(tb), ms = bench::Median(ts);
    std::printf("%s: stream start: 500 MB %.3f ms, 100 KB %.3f ms (medians of 40), ratio %.2f (goal <= 1.1)\n", BuildWidth(), mb * 1e3,
                ms * 1e3, mb / ms);
    DeleteFileA(big.c_str());
    DeleteFileA(small.c_str());
    return 0;
}
