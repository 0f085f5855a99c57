#include "controls/pure/SliderMath.h"
#include <algorithm>

namespace slidermath {

namespace {
// The slider's value range as a 64-bit number: Max - Min of two ints can exceed 31 bits.
int64_t Range(int min, int max) { return static_cast<int64_t>(max) - min; }
}

int TrackStart(int sideGap, int knobAlong) { return sideGap + knobAlong / 2; }

TTrackMetrics ComputeMetrics(int extentAlong, int extentAcross, int knobAlong, int sideGap, TTickSides ticks)
{
    TTrackMetrics m;
    m.K = knobAlong;
    m.L = extentAlong - (2 * sideGap + knobAlong);
    m.S = TrackStart(sideGap, knobAlong);
    // Ticks on one side only: the groove moves toward the other side, half the tick band.
    int w = extentAcross + (ticks == TTickSides::TopLeft ? 7 : ticks == TTickSides::BottomRight ? -7 : 0);
    m.A = (w + 1) / 2;
    return m;
}

int ClampToRange(int64_t v, int min, int max)
{
    if (v < min) v = min;
    if (v > max) v = max;
    return static_cast<int>(v);
}

int KnobLeadingEdge(int position, int min, int max, const TTrackMetrics& m)
{
    int64_t range = Range(min, max);
    int64_t offset = 0;
    // Without a range or without a track the knob stays at the start.
    if (range > 0 && m.L > 0) {
        int64_t p = std::clamp<int64_t>(static_cast<int64_t>(position) - min, 0, range);
        offset = p * m.L / range;
    }
    return static_cast<int>(offset + m.S - m.K / 2);
}

int KnobAcrossEdge(int knobAcross, const TTrackMetrics& m) { return m.A - (knobAcross + 1) / 2; }

int ValueFromLeadingEdge(int e, int min, int max, const TTrackMetrics& m)
{
    int64_t range = Range(min, max);
    if (range <= 0 || m.L <= 0) return min;
    // Offsets beyond the track give values beyond the range, which clamp to its ends anyway;
    // bounding them first keeps the product within 64 bits.
    int64_t offset = std::clamp<int64_t>(static_cast<int64_t>(e) - m.S + m.K / 2 + 1, -1, static_cast<int64_t>(m.L) + 1);
    return ClampToRange(min + offset * range / m.L, min, max);
}

TTrackStep TrackStep(int c, int e, int position, int min, int max, int pageSize, const TTrackMetrics& m)
{
    int64_t range = Range(min, max);
    int64_t page = range > 0 ? static_cast<int64_t>(m.L) * pageSize / range : 0;
    int64_t d = static_cast<int64_t>(e) + m.K / 2 - c - 1;
    if (d > page) return {TTrackStep::PageBack, ClampToRange(static_cast<int64_t>(position) - pageSize, min, max)};
    if (d < -page) return {TTrackStep::PageForward, ClampToRange(static_cast<int64_t>(position) + pageSize, min, max)};
    return {TTrackStep::ToMouse, ValueFromLeadingEdge(c - m.K / 2, min, max, m)};
}

int KeyPosition(TSliderKey key, int position, int min, int max, int lineSize, int pageSize)
{
    int64_t p = position;
    switch (key) {
    case TSliderKey::PageUp: p -= pageSize; break;
    case TSliderKey::PageDown: p += pageSize; break;
    case TSliderKey::End: p = max; break;
    case TSliderKey::Home: p = min; break;
    case TSliderKey::LineBack: p -= lineSize; break;
    case TSliderKey::LineForward: p += lineSize; break;
    case TSliderKey::Centre: p = (static_cast<int64_t>(min) + max) / 2; break;
    }
    return ClampToRange(p, min, max);
}

int64_t IntervalCount(int min, int max, int frequency)
{
    // A frequency of 0 (or less) and an empty range give one interval: the two end ticks.
    if (frequency <= 0) return 1;
    int64_t n = (Range(min, max) - 1) / frequency + 1;
    return n < 1 ? 1 : n;
}

int64_t LongTickStep(int64_t n, int nBigTicks)
{
    int64_t big = nBigTicks < 0 ? 0 : nBigTicks;
    return (n - 1) / (big + 1) + 1;
}

std::vector<TTick> TickLayout(int min, int max, int frequency, int nBigTicks, const TTrackMetrics& m)
{
    std::vector<TTick> ticks;
    if (m.L <= 0) return ticks;                 // no track, no scale
    const int64_t n = IntervalCount(min, max, frequency);
    const int64_t b = LongTickStep(n, nBigTicks);
    const int64_t L = m.L;
    auto isLong = [&](int64_t i) { return i == n || i % b == 0; };
    if (n <= L) {
        // Every tick on its own pixel.
        ticks.reserve(static_cast<size_t>(n + 1));
        for (int64_t i = 0; i <= n; ++i) ticks.push_back({static_cast<int>(m.S + i * L / n), isLong(i)});
        return ticks;
    }
    // More intervals than pixels: walk the pixels instead of the ticks (a frequency of 1 over
    // a range of millions would otherwise draw millions of lines). Pixel q holds the ticks
    // i with i * L / n == q, that is lo..hi below; a long one among them makes the pixel's
    // tick long, which is what drawing them all one over the other would show.
    const uint64_t un = static_cast<uint64_t>(n), uL = static_cast<uint64_t>(L);
    ticks.reserve(static_cast<size_t>(L + 1));
    for (uint64_t q = 0; q <= uL; ++q) {
        uint64_t lo = (q * un + uL - 1) / uL;
        uint64_t hi = std::min(un, ((q + 1) * un + uL - 1) / uL - 1);
        if (lo > hi) continue;
        uint64_t ub = static_cast<uint64_t>(b);
        bool anyLong = hi == un || (hi / ub) * ub >= lo;
        ticks.push_back({static_cast<int>(m.S + static_cast<int64_t>(q)), anyLong});
    }
    return ticks;
}

int GaugeBarLength(int width, int position, int min, int max)
{
    int64_t well = static_cast<int64_t>(width) - 6;
    if (well <= 0) return 0;
    int64_t range = Range(min, max);
    if (range == 0) range = 1;
    if (range < 0) return 0;
    int64_t a = std::min(well, well * (static_cast<int64_t>(position) - min) / range);
    return static_cast<int>(a < 0 ? 0 : a);
}

std::string GaugePercentText(int position, int min, int max)
{
    int64_t range = Range(min, max);
    if (range <= 0) return "0%";
    return std::to_string((static_cast<int64_t>(position) - min) * 100 / range) + "%";
}
int GaugeTextX(int width, int textWidth) { return (width - textWidth + 1) / 2; }

int GaugeTextY(int height, int textHeight) { return (height - textHeight) / 2; }

unsigned GaugeLightColor(unsigned rgb)
{
    unsigned out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        unsigned part = std::min(255u, ((rgb >> shift) & 0xFF) + 144);
        out |= part << shift;
    }
    return out;
}

}  // namespace slidermath
