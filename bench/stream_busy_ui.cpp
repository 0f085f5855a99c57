// No underrun: while the user-interface thread is busy for 2 s, a streamed 44100 Hz 16-bit
// stereo sample still comes out equal to its data. Needs the session's capture
// (tools/session.sh sets SONIDEX_CAPTURE).
#include "BenchBuild.h"
#include <cstdlib>
#include "AudioBench.h"
// The capture's comparison helpers are the tests' own (plain functions on bytes).
#include "../tests/win/SoundCapture.cpp"

int main()
{
    const bench::TCapture capture;
    if (!std::getenv("SONIDEX_CAPTURE")) return std::printf("no capture: run under tools/session.sh\n"), 0;
    if (!bench::OpenDevice() || !capture.Available()) return std::printf("no device or capture\n"), 0;

    const auto data = wintest::Noise16(44100 * 3, 7);              // 3 s
    const std::string path = bench::TempPath("sonidex-bench-busy.wav");
    bench::WriteWav(path, unsigned(data.size()), data);
    AppSettings.Streaming = true;
    const long long from = capture.Size();
    if (LoadWaveFile(path, PlayerState.CurrentBuffer) != 0) return std::printf("load failed\n"), 1;
    StartStream();
    // Busy for 2 s: no message is handled, the refill thread is on its own.
    const double until = bench::Seconds() + 2;
    volatile double x = 0;
    while (bench::Seconds() < until) x = x + 1;
    bench::Pump(1600);
    StopStream();

    const std::vector<char> cap = capture.From(from);
    const long long at = wintest::FindBlock(cap, data);
    const size_t equal = at < 0 ? 0 : wintest::EqualPrefix(cap, at, data);
    std::printf("%s: busy UI 2 s while streaming 3 s: %zu of %zu bytes came out equal, ratio %.3f (goal 1.000)\n", BuildWidth(), equal,
                data.size(), double(equal) / double(data.size()));
    DeleteFileA(path.c_str());
    return 0;
}
