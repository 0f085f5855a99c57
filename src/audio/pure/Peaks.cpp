#include "audio/pure/Peaks.h"
#include <algorithm>
#include <cstring>

namespace {
inline int Word16(uint8_t lo, uint8_t hi) { return int16_t(uint16_t(lo | hi << 8)); }

inline int FromFloat(const uint8_t* p)
{
    float f;
    std::memcpy(&f, p, 4);
    if (f != f) return 0;                                   // NaN
    const double d = double(f) * 32768.0;
    return d >= 32767.0 ? 32767 : d <= -32768.0 ? -32768 : int(d);
}

// The lowest and the highest of count 16-bit samples at p, folded into a and b: a plain loop the
// compiler vectorises. The 32-bit program is built for any x86, so the SSE2 version is chosen
// when the processor has it (every one since 2001), the same loop without it otherwise.
#define PEAKS_LOOP16                                                                                \
    int16_t lo = a, hi = b;                                                                         \
    for (size_t i = 0; i < count; ++i) {                                                            \
        int16_t v;                                                                                  \
        std::memcpy(&v, p + 2 * i, 2);                                                              \
        lo = v < lo ? v : lo;                                                                       \
        hi = v > hi ? v : hi;                                                                       \
    }                                                                                               \
    a = lo;                                                                                         \
    b = hi;
#if defined(__i386__) || defined(__x86_64__)
__attribute__((target("sse2"))) void MinMax16Sse2(const uint8_t* p, size_t count, int16_t& a, int16_t& b)
{
    PEAKS_LOOP16
}
#endif

void MinMax16(const uint8_t* p, size_t count, int16_t& a, int16_t& b)
{
#if defined(__i386__) || defined(__x86_64__)
    static const bool sse2 = __builtin_cpu_supports("sse2");
    if (sse2) return MinMax16Sse2(p, count, a, b);
#endif
    PEAKS_LOOP16
}

// Folds count samples lying back to back at p into lo and hi. Only the upper 16 bits of a wide
// sample count: a pixel of the bar is far coarser than the bits below.
void FoldSamples(const TSampleLayout& l, const uint8_t* p, size_t count, int& lo, int& hi)
{
    auto fold = [&](int v) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    };
    if (l.Float) {
        for (size_t i = 0; i < count; ++i) fold(FromFloat(p + 4 * i));
        return;
    }
    switch (l.Bits) {
    case 8:
        for (size_t i = 0; i < count; ++i) fold((int(p[i]) - 128) * 256);
        break;
    case 16: {
        // The common case, and the whole of a long file.
        int16_t a = int16_t(lo), b = int16_t(hi);
        MinMax16(p, count, a, b);
        lo = a;
        hi = b;
        break;
    }
    case 24:
        for (size_t i = 0; i < count; ++i) fold(Word16(p[3 * i + 1], p[3 * i + 2]));
        break;
    case 32:
        for (size_t i = 0; i < count; ++i) fold(Word16(p[4 * i + 2], p[4 * i + 3]));
        break;
    }
}
}

bool PeaksReadable(const TSampleLayout& l)
{
    const bool integer = !l.Float && (l.Bits == 8 || l.Bits == 16 || l.Bits == 24 || l.Bits == 32);
    return l.Plays && l.Channels > 0 && (integer || (l.Float && l.Bits == 32)) && l.FileBlock >= l.Channels * l.Bits / 8;
}

TPeakBins::TPeakBins(uint64_t frames, size_t bins) : Bins(size_t(std::min<uint64_t>(frames, bins))), Frames(frames) {}

void TPeakBins::Add(const TSampleLayout& layout, const uint8_t* data, uint64_t first, size_t n)
{
    if (Bins.empty() || first >= Frames || !PeaksReadable(layout)) return;
    const uint64_t end = first + std::min<uint64_t>(n, Frames - first);
    const size_t channels = layout.Channels;
    const bool packed = layout.FileBlock == layout.Channels * layout.Bits / 8;
    for (uint64_t f = first; f < end;) {
        const size_t b = BinOf(f);
        const uint64_t stop = std::max(f + 1, std::min(end, FirstFrame(b + 1)));
        const uint8_t* p = data + (f - first) * layout.FileBlock;
        int lo = Bins[b].Min, hi = Bins[b].Max;
        if (packed) FoldSamples(layout, p, size_t(stop - f) * channels, lo, hi);
        else
            for (uint64_t i = f; i < stop; ++i, p += layout.FileBlock) FoldSamples(layout, p, channels, lo, hi);
        Bins[b] = {int16_t(lo), int16_t(hi)};
        f = stop;
    }
}

TPeakBins MergedPeaks(const TPeakBins& full, size_t done, const TPeakBins& coarse)
{
    TPeakBins m = full;
    if (coarse.Bins.empty()) return m;
    for (size_t b = done; b < m.Bins.size(); ++b) m.Bins[b] = coarse.Bins[coarse.BinOf(full.FirstFrame(b))];
    return m;
}

std::vector<TPeak> ColumnPeaks(const std::vector<TPeak>& bins, int columns)
{
    std::vector<TPeak> out(size_t(std::max(columns, 0)));
    const size_t n = bins.size(), c = out.size();
    if (n == 0) return out;
    for (size_t i = 0; i < c; ++i) {
        const size_t from = i * n / c, to = std::max((i + 1) * n / c, from + 1);
        for (size_t b = from; b < to; ++b) {
            if (bins[b].Empty()) continue;
            out[i].Min = std::min(out[i].Min, bins[b].Min);
            out[i].Max = std::max(out[i].Max, bins[b].Max);
        }
    }
    return out;
}

TPeakRows PeakRows(const TPeak& p, int axis, int half)
{
    // To the nearest row, halves away from the centre line.
    auto rows = [half](int v) { return (v * half + (v >= 0 ? 16384 : -16384)) / 32768; };
    return {axis - rows(p.Max), axis - rows(p.Min)};
}

uint32_t WaveColour(uint32_t background)
{
    const unsigned r = background & 0xFF, g = background >> 8 & 0xFF, b = background >> 16 & 0xFF;
    const bool light = 299 * r + 587 * g + 114 * b >= 128000;
    return light ? 0x00803818 : 0x0060D0FF;         // RGB(24, 56, 128) or RGB(255, 208, 96)
}
