// Streaming a 1 GB 24-bit stereo WAV (HiRes setting on) while the user-interface thread is busy
// for 2 s: the refill thread converts on its own, so the captured sound must equal the 16-bit
// rounding of the file's first 3 s (no underrun), and the resident size may grow by at most 2 MB
// over idle. The same 1 GB in 16-bit, streamed the same way, is the yardstick of the growth.
// Needs the session's capture (tools/session.sh sets SONIDEX_CAPTURE).
#include "BenchBuild.h"
#include <cmath>
#include <cstdlib>
#include "AudioBench.h"
#include "../tests/win/SoundCapture.cpp"

namespace {
struct TResult {
    size_t Equal = 0, Size = 0;
    double Growth = 0;
};

// A 1 GB file of 3 s of noise and then a hole; want gets the 16-bit sound of those 3 s.
void WriteGigabyte(const std::string& path, int bits, std::vector<char>& want)
{
    const unsigned frameBytes = unsigned(bits) / 4, frames = 44100 * 3;
    const unsigned bytes = (1u << 30) / frameBytes * frameBytes;
    bench::WriteWav(path, bytes, {}, bits);
    std::string noise;
    want.clear();
    unsigned x = 12345;
    for (unsigned i = 0; i < frames * 2; ++i) {
        x = x * 1664525u + 1013904223u;
        const int32_t s = int32_t(x) >> 8;                               // 24 bits, any value
        const int32_t v = bits == 24 ? s : (s >> 8 == 0 ? 1 : s >> 8);
        for (int b = 0; b < bits / 8; ++b) noise += char(v >> (8 * b));
        const int16_t out = bits == 24 ? int16_t(std::min(std::floor(s / 256.0 + 0.5), 32767.0)) : int16_t(v);
        want.push_back(char(out & 255));
        want.push_back(char(out >> 8 & 255));
    }
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFilePointer(f, 44, nullptr, FILE_BEGIN);
    DWORD done;
    ::WriteFile(f, noise.data(), DWORD(noise.size()), &done, nullptr);
    CloseHandle(f);
}
}

int main()
{
    const bench::TCapture capture;
    if (!std::getenv("SONIDEX_CAPTURE")) return std::printf("no capture: run under tools/session.sh\n"), 0;
    if (!bench::OpenDevice() || !capture.Available()) return std::printf("no device or capture\n"), 0;
    AppSettings.Streaming = true;
    AppSettings.HiRes = true;

    auto run = [&](int bits, TResult& r) {
        const std::string path = bench::TempPath("sonidex-bench-1gb-hires.wav");
        std::vector<char> want;
        WriteGigabyte(path, bits, want);
        bench::Pump(300);
        const double idle = bench::ResidentMB();
        const long long from = capture.Size();
        if (LoadWaveFile(path, PlayerState.CurrentBuffer) != 0) return false;
        StartStream();
        // Busy for 2 s: no message is handled, the refill thread is on its own.
        const double until = bench::Seconds() + 2;
        volatile double x = 0;
        while (bench::Seconds() < until) x = x + 1;
        double peak = bench::ResidentMB();
        for (int i = 0; i < 16; ++i) {
            bench::Pump(100);
            peak = std::max(peak, bench::ResidentMB());
        }
        StopStream();
        const std::vector<char> cap = capture.From(from);
        const long long at = wintest::FindBlock(cap, want);
        r.Equal = at < 0 ? 0 : wintest::EqualPrefix(cap, at, want);
        r.Size = want.size();
        r.Growth = peak - idle;
        DeleteFileA(path.c_str());
        return true;
    };
    TResult hi, plain;
    if (!run(24, hi) || !run(16, plain)) return std::printf("load failed (address space?)\n"), 1;
    std::printf("%s: 1 GB 24-bit streamed, busy UI 2 s: %zu of %zu bytes came out equal, ratio %.3f (goal 1.000); "
                "memory growth %.1f MB (goal <= 2), 16-bit the same way %.1f MB\n",
                BuildWidth(), hi.Equal, hi.Size, double(hi.Equal) / double(hi.Size), hi.Growth, plain.Growth);
    return 0;
}
