#include "SoundCapture.h"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace wintest {

long long FindBlock(const std::vector<char>& capture, const std::vector<char>& block)
{
    if (block.size() < 8 || capture.size() < 8) return -1;
    auto it = capture.begin();
    for (;;) {
        it = std::search(it, capture.end(), block.begin(), block.begin() + 8);
        if (it == capture.end()) return -1;
        const long long at = it - capture.begin();
        if (at % CaptureFrameBytes == 0) return at;
        ++it;
    }
}

size_t EqualPrefix(const std::vector<char>& capture, long long at, const std::vector<char>& block)
{
    size_t n = 0;
    while (n < block.size() && size_t(at) + n < capture.size() && capture[size_t(at) + n] == block[n]) ++n;
    return n;
}

size_t EqualPrefixAcrossDropouts(const std::vector<char>& capture, long long at, const std::vector<char>& block,
                                 int* dropouts, size_t* end)
{
    size_t n = 0, c = size_t(at);
    for (;;) {
        while (n < block.size() && c < capture.size() && capture[c] == block[n]) ++n, ++c;
        if (end) *end = c;
        if (n == block.size() || c >= capture.size()) return n;
        // Back to the frame where they differ; a dropout starts there with silent frames.
        c -= n % CaptureFrameBytes;
        n -= n % CaptureFrameBytes;
        size_t z = c;
        while (z + CaptureFrameBytes <= capture.size() &&
               std::all_of(capture.begin() + ptrdiff_t(z), capture.begin() + ptrdiff_t(z + CaptureFrameBytes),
                           [](char b) { return b == 0; }))
            z += CaptureFrameBytes;
        if (z == c) return n;
        // The data goes on where it stopped (it came late), or where it would have been by then
        // (the server dropped what came too late).
        auto goesOnFrom = [&](size_t from) {
            const size_t check = std::min<size_t>(16, block.size() - from);
            return from < block.size() && z + check <= capture.size() &&
                   std::equal(block.begin() + ptrdiff_t(from), block.begin() + ptrdiff_t(from + check),
                              capture.begin() + ptrdiff_t(z));
        };
        if (goesOnFrom(n)) {
        } else if (goesOnFrom(n + (z - c))) {
            n += z - c;
        } else {
            return n;
        }
        if (dropouts) ++*dropouts;
        c = z;
    }
}

double TSoundMeasure::Db(double rms) { return rms > 0 ? 20 * std::log10(rms / (32767 / std::sqrt(2.0))) : -200; }

TSoundMeasure MeasureSound(const std::vector<char>& capture, int threshold)
{
    TSoundMeasure m;
    const size_t frames = capture.size() / CaptureFrameBytes;
    auto sample = [&](size_t f, int ch) {
        int16_t v;
        std::memcpy(&v, capture.data() + f * CaptureFrameBytes + ch * 2, 2);
        return int(v);
    };
    auto loud = [&](size_t f) { return std::abs(sample(f, 0)) > threshold || std::abs(sample(f, 1)) > threshold; };
    size_t s = 0;
    while (s < frames && !loud(s)) ++s;
    if (s == frames) return m;
    size_t e = frames;
    while (e > s && !loud(e - 1)) --e;
    m.Silent = false;
    m.Start = s;
    m.End = e;
    double sumL = 0, sumR = 0;
    size_t gap = 0;
    for (size_t f = s; f < e; ++f) {
        const int l = sample(f, 0), r = sample(f, 1);
        m.PeakL = std::max(m.PeakL, double(std::abs(l)));
        m.PeakR = std::max(m.PeakR, double(std::abs(r)));
        sumL += double(l) * l;
        sumR += double(r) * r;
        if (loud(f)) {
            if (gap >= 5) m.GapFrames += gap;
            gap = 0;
        } else {
            ++gap;
        }
        m.LongestGap = std::max(m.LongestGap, gap);
    }
    m.RmsL = std::sqrt(sumL / double(e - s));
    m.RmsR = std::sqrt(sumR / double(e - s));
    // Pitch: rising passes through a band around zero (a quarter of the peak), so that the
    // resampler's small wobble about zero does not count as extra cycles.
    const int ch = m.PeakL >= m.PeakR ? 0 : 1;
    const double band = std::max(m.PeakL, m.PeakR) / 4;
    size_t cycles = 0, first = 0, last = 0;
    bool low = false;
    for (size_t f = s; f < e; ++f) {
        const int v = sample(f, ch);
        if (v < -band) low = true;
        if (low && v > band) {
            low = false;
            if (cycles++ == 0) first = f;
            last = f;
        }
    }
    if (cycles > 1) m.Hz = (cycles - 1) / ((last - first - std::min(m.GapFrames, last - first - 1)) / double(CaptureRate));
    return m;
}

std::string WavFile(int rate, int bits, int channels, const std::vector<char>& data)
{
    std::string w;
    auto put16 = [&](unsigned v) { w += char(v & 255); w += char(v >> 8 & 255); };
    auto put32 = [&](unsigned v) { put16(v & 0xFFFF); put16(v >> 16); };
    const unsigned align = unsigned(channels * bits / 8);
    w += "RIFF";
    put32(unsigned(4 + 24 + 8 + data.size()));
    w += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(unsigned(channels));
    put32(unsigned(rate));
    put32(unsigned(rate) * align);
    put16(align);
    put16(unsigned(bits));
    w += "data";
    put32(unsigned(data.size()));
    w.append(data.begin(), data.end());
    return w;
}

std::vector<char> Sine(double hz, double seconds, int rate, int bits, int channels, double amp)
{
    std::vector<char> d;
    const int n = int(seconds * rate);
    for (int i = 0; i < n; ++i) {
        const double v = amp * std::sin(2 * M_PI * hz * i / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8) {
                d.push_back(char(std::lround(128 + v * 127)));
            } else {
                const int16_t s = int16_t(std::lround(v * 32767));
                d.push_back(char(s & 255));
                d.push_back(char(s >> 8 & 255));
            }
        }
    }
    return d;
}

std::vector<char> Noise16(size_t frames, unsigned seed)
{
    std::vector<char> d(frames * 4);
    unsigned x = seed * 2654435761u + 1;
    for (size_t i = 0; i < frames * 2; ++i) {
        x = x * 1664525u + 1013904223u;
        int16_t s = int16_t((x >> 16) % 20000 + 100);           // 100..20099: never silent
        if (x & 0x8000) s = int16_t(-s);
        std::memcpy(d.data() + i * 2, &s, 2);
    }
    return d;
}

}  // namespace wintest
