// The waveform overview: samples of every format reduced to 16-bit peaks, bins that do not depend
// on how the data is handed over, and the bar's columns and rows.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <vector>
#include "audio/pure/Peaks.h"

namespace {
TSampleLayout Plain(unsigned channels, unsigned bits, unsigned block = 0)
{
    TSampleLayout l;
    l.Plays = true;
    l.Channels = channels;
    l.Bits = l.ValidBits = bits;
    l.FileBlock = l.PlayedBlock = block ? block : channels * bits / 8;
    return l;
}

std::vector<uint8_t> Bytes(std::initializer_list<int64_t> samples, int bytes)
{
    std::vector<uint8_t> b;
    for (int64_t v : samples)
        for (int i = 0; i < bytes; ++i) b.push_back(uint8_t(uint64_t(v) >> (8 * i)));
    return b;
}

std::vector<uint8_t> Floats(std::initializer_list<float> samples)
{
    std::vector<uint8_t> b(samples.size() * 4);
    std::memcpy(b.data(), samples.begin(), b.size());
    return b;
}
}

TEST(Peaks, EveryFormatReducesToTheSameSixteenBitScaleWithChannelsMerged)
{
    struct { TSampleLayout layout; std::vector<uint8_t> data; int16_t min, max; const char* what; } cases[] = {
        {Plain(1, 8), Bytes({0, 128, 255}, 1), -32768, 32512, "8-bit, unsigned"},
        {Plain(2, 16), Bytes({-5, 7, 100, -300}, 2), -300, 100, "16-bit stereo: both channels"},
        {Plain(1, 24), Bytes({0x7FFFFF, -0x800000, 0x000100}, 3), -32768, 32767, "24-bit: its upper 16 bits"},
        {Plain(1, 32), Bytes({0x40000000, -0x40000000}, 4), -16384, 16384, "32-bit integers"},
        {ConvertedLayout(1, 44100, 32, 32, true), Floats({0.5f, -2.0f, NAN}), -32768, 16384, "float: clipped, NaN as 0"},
        {Plain(1, 16, 4), Bytes({9, 30000, -9, -30000}, 2), -9, 9, "padded frames: the pad is no sample"},
    };
    for (const auto& c : cases) {
        TPeakBins p(c.data.size() / c.layout.FileBlock, PeakBins);
        p.Add(c.layout, c.data.data(), 0, p.Frames);
        TPeak all;
        for (const TPeak& b : p.Bins) all = {std::min(all.Min, b.Min), std::max(all.Max, b.Max)};
        EXPECT_EQ(all.Min, c.min) << c.what;
        EXPECT_EQ(all.Max, c.max) << c.what;
    }
    EXPECT_FALSE(PeaksReadable(TSampleLayout())) << "a format the player refuses draws nothing";
}

TEST(Peaks, BinsAreTheSameHoweverTheDataIsHandedOverAndMergeWithACoarseOverview)
{
    // A rising ramp of mono 16-bit frames over the whole range.
    struct { uint64_t frames; size_t chunk; size_t bins; } cases[] = {
        {10, 3, 10}, {4096, 4096, 4096}, {40000, 1000, 4096}, {40000, 777, 4096}, {100000, 65536, 4096},
    };
    const TSampleLayout mono = Plain(1, 16);
    for (const auto& c : cases) {
        std::vector<int16_t> ramp(c.frames);
        for (size_t f = 0; f < c.frames; ++f) ramp[f] = int16_t(int64_t(f) * 65535 / int64_t(c.frames) - 32768);
        const auto* bytes = reinterpret_cast<const uint8_t*>(ramp.data());
        TPeakBins whole(c.frames, PeakBins), parts(c.frames, PeakBins);
        whole.Add(mono, bytes, 0, c.frames);
        for (uint64_t f = 0; f < c.frames; f += c.chunk) parts.Add(mono, bytes + 2 * f, f, c.chunk);
        const std::string what = std::to_string(c.frames) + " frames in chunks of " + std::to_string(c.chunk);
        ASSERT_EQ(whole.Bins.size(), c.bins) << what;
        EXPECT_LE(whole.Bytes(), 64u << 10) << what;
        for (size_t b = 0; b < c.bins; ++b) {
            // Each bin holds its own frames: the ramp's first and last of them.
            const auto want = std::make_pair(ramp[whole.FirstFrame(b)], ramp[whole.FirstFrame(b + 1) - 1]);
            EXPECT_EQ(std::make_pair(whole.Bins[b].Min, whole.Bins[b].Max), want) << what << ", bin " << b;
            EXPECT_EQ(std::make_pair(parts.Bins[b].Min, parts.Bins[b].Max), want) << what << ", bin " << b;
        }
        TPeakBins coarse(c.frames, CoarseBins);
        coarse.Add(mono, bytes, 0, c.frames);
        const TPeakBins merged = MergedPeaks(whole, c.bins / 2, coarse);
        EXPECT_EQ(merged.Bins[0].Max, whole.Bins[0].Max) << what << ": done bins stay exact";
        EXPECT_EQ(merged.Bins.back().Max, coarse.Bins.back().Max) << what << ": the rest from the coarse overview";
    }
}

TEST(Peaks, ColumnsCoverTheWholeSampleAndRowsMirrorTheCentreLine)
{
    const std::vector<TPeak> bins = {{-100, 100}, {-32768, 32767}, {}, {0, 0}};
    struct { int columns; std::vector<TPeak> want; } cases[] = {
        {2, {{-32768, 32767}, {0, 0}}},                 // merged, the empty bin left out
        {1, {{-32768, 32767}}},
        {8, {{-100, 100}, {-100, 100}, {-32768, 32767}, {-32768, 32767}, {}, {}, {0, 0}, {0, 0}}},
    };
    for (const auto& c : cases) {
        const std::vector<TPeak> got = ColumnPeaks(bins, c.columns);
        ASSERT_EQ(got.size(), c.want.size()) << c.columns << " columns";
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(std::make_pair(got[i].Min, got[i].Max), std::make_pair(c.want[i].Min, c.want[i].Max))
                << c.columns << " columns, column " << i;
    }
    struct { TPeak peak; int top, bottom; } rows[] = {
        {{0, 0}, 13, 13}, {{-32768, 32767}, 6, 20}, {{-2341, 2341}, 12, 14}, {{-2340, 2340}, 13, 13}, {{0, 16384}, 9, 13},
    };
    for (const auto& r : rows) {
        const TPeakRows got = PeakRows(r.peak, 13, 7);
        EXPECT_EQ(std::make_pair(got.Top, got.Bottom), std::make_pair(r.top, r.bottom)) << r.peak.Min << ".." << r.peak.Max;
    }
    EXPECT_EQ(WaveColour(0x00E0F4F8), 0x00803818u) << "on the light default panel, a deep blue";
    EXPECT_EQ(WaveColour(0x00202020), 0x0060D0FFu) << "on a dark panel, amber";
}
