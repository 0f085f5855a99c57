// Memory while streaming a 1 GB WAV for 10 s (or the seconds given): the stream reads the mapped
// file half by half, so the resident size must grow by at most 2 MB over idle.
#include "BenchBuild.h"
#include <cstdlib>
#include "AudioBench.h"

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    if (!bench::OpenDevice()) return 0;
    const std::string path = bench::TempPath("sonidex-bench-1gb.wav");
    bench::WriteWav(path, 1u << 30);
    AppSettings.Streaming = true;
    bench::Pump(300);
    const double idle = bench::ResidentMB();
    if (LoadWaveFile(path, PlayerState.CurrentBuffer) != 0) return std::printf("load failed (address space?)\n"), 1;
    StartStream();
    double peak = idle;
    for (int i = 0; i < seconds * 10; ++i) {
        bench::Pump(100);
        peak = std::max(peak, bench::ResidentMB());
    }
    const int32_t played = StreamState.RingMark;
    StopStream();
    std::printf("%s: stream memory, 1 GB for %d s: idle %.1f MB, peak %.1f MB, growth %.1f MB (goal <= 2); %.1f MB streamed\n",
                BuildWidth(), seconds, idle, peak, peak - idle, played / 1048576.0);
    DeleteFileA(path.c_str());
    return 0;
}
