// High-resolution samples converted to 16-bit, and what the player does with their frames.
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>
#include "audio/pure/SampleConvert.h"
#include "audio/pure/StreamRing.h"
#include "audio/pure/WavChunks.h"

namespace {
// One sample of a mono file, converted.
int Convert(const TSampleLayout& layout, std::vector<uint8_t> in)
{
    uint8_t out[2];
    ConvertFrames(layout, in.data(), 1, out);
    return int16_t(uint16_t(out[0] | out[1] << 8));
}

std::vector<uint8_t> Int(int64_t v, int bytes)
{
    std::vector<uint8_t> b;
    for (int i = 0; i < bytes; ++i) b.push_back(uint8_t(uint64_t(v) >> (8 * i)));
    return b;
}

std::vector<uint8_t> Float(float f)
{
    std::vector<uint8_t> b(4);
    std::memcpy(b.data(), &f, 4);
    return b;
}

std::vector<uint8_t> Bits(uint32_t u) { return Int(u, 4); }
}

TEST(SampleConvert, RoundsToTheNearestHalvesUpClipsAndTakesNaNAsZero)
{
    const TSampleLayout i24 = ConvertedLayout(1, 44100, 24, 24, false), i32 = ConvertedLayout(1, 44100, 32, 32, false);
    const TSampleLayout f32 = ConvertedLayout(1, 44100, 32, 32, true), i8 = ConvertedLayout(1, 44100, 8, 8, false);
    struct { const TSampleLayout& layout; std::vector<uint8_t> in; int want; const char* what; } cases[] = {
        {i24, Int(0, 3), 0, "24: zero"},
        {i24, Int(127, 3), 0, "24: just under half a step"},
        {i24, Int(128, 3), 1, "24: half a step rounds up"},
        {i24, Int(383, 3), 1, "24: 1.496"},
        {i24, Int(-128, 3), 0, "24: minus half a step rounds up to 0"},
        {i24, Int(-129, 3), -1, "24: just past minus half"},
        {i24, Int(-385, 3), -2, "24: -1.504"},
        {i24, Int(0x7FFF7F, 3), 32767, "24: top, rounding down"},
        {i24, Int(0x7FFF80, 3), 32767, "24: top, rounding past the range, clipped"},
        {i24, Int(-0x800000, 3), -32768, "24: bottom"},
        {i32, Int(0x7FFF, 4), 0, "32: under half"},
        {i32, Int(0x8000, 4), 1, "32: half"},
        {i32, Int(-0x8001, 4), -1, "32: past minus half"},
        {i32, Int(0x7FFFFFFF, 4), 32767, "32: top clipped"},
        {i32, Int(INT32_MIN, 4), -32768, "32: bottom"},
        {i8, Int(0, 1), -32768, "8: bottom"},
        {i8, Int(128, 1), 0, "8: rest"},
        {i8, Int(255, 1), 32512, "8: top"},
        {f32, Float(0.5f), 16384, "float: half scale"},
        {f32, Float(1.0f / 65536), 1, "float: half a step rounds up"},
        {f32, Float(-1.0f / 65536), 0, "float: minus half a step rounds up to 0"},
        {f32, Float(-3.0f / 65536), -1, "float: -1.5 steps"},
        {f32, Float(32767.49f / 32768), 32767, "float: just under the top"},
        {f32, Float(32767.8f / 32768), 32767, "float: under 1.0, past the last rounding point"},
        {f32, Float(1.0f), 32767, "float: 1.0 clips"},
        {f32, Float(7.5f), 32767, "float: above 1.0 clips"},
        {f32, Float(-1.0f), -32768, "float: -1.0"},
        {f32, Float(-3.0f), -32768, "float: below -1.0 clips"},
        {f32, Float(std::numeric_limits<float>::infinity()), 32767, "float: infinity"},
        {f32, Float(-std::numeric_limits<float>::infinity()), -32768, "float: minus infinity"},
        {f32, Bits(0x7FC00000), 0, "float: NaN"},
        {f32, Bits(0xFFFFFFFF), 0, "float: negative NaN with payload"},
        {f32, Bits(0x00000001), 0, "float: the least denormal"},
    };
    for (auto& c : cases) EXPECT_EQ(Convert(c.layout, c.in), c.want) << c.what;
}

TEST(SampleConvert, StereoFramesConvertInOrderAndPositionsKeepToWholeFrames)
{
    const TSampleLayout l = ConvertedLayout(2, 48000, 24, 24, false);
    EXPECT_EQ(l.FileBlock, 6u);
    EXPECT_EQ(l.PlayedBlock, 4u);
    const std::vector<uint8_t> in = {0x80, 0x01, 0x00, 0x00, 0xFF, 0x7F, 0x00, 0x00, 0x80, 0x7F, 0x00, 0x80};
    std::vector<uint8_t> out(8);
    ConvertFrames(l, in.data(), 2, out.data());
    EXPECT_EQ(out, (std::vector<uint8_t>{0x02, 0x00, 0xFF, 0x7F, 0x00, 0x80, 0x00, 0x80}));

    // The position bar's 256-byte steps fall inside a 6-byte frame: the frame it is in counts.
    EXPECT_EQ(l.PlayedFromFile(256), 42 * 4);
    EXPECT_EQ(l.FileFromPlayed(42 * 4 + 3), 42 * 6);
    EXPECT_EQ(l.FileFromPlayed(-8), -12);              // the stream's estimate before its start
    EXPECT_EQ(l.PlayedBytes(1441), 240 * 4);           // a part frame at the end is not played
    // 8-bit doubles when played: the size stays a 32-bit one, in whole frames.
    EXPECT_EQ(ConvertedLayout(1, 8000, 8, 8, false).PlayedBytes(INT32_MAX), INT32_MAX - 1);
    // Samples that play as they are keep their offsets.
    TSampleLayout native;
    native.Plays = true;
    native.FileBlock = native.PlayedBlock = 4;
    EXPECT_EQ(native.PlayedFromFile(257), 257);
    EXPECT_EQ(native.FileFromPlayed(-7), -7);
    EXPECT_EQ(native.PlayedBytes(1001), 1001);
}

TEST(SampleConvert, AStreamRefillsConvertedFramesAndLoopsOnAFrame)
{
    // 1000 frames of 24-bit stereo, each sample its own value; a looping stream wraps inside a
    // half, and the file is asked only for whole frames of the data.
    const TSampleLayout l = ConvertedLayout(2, 44100, 24, 24, false);
    std::vector<uint8_t> file;
    for (int i = 0; i < 2000; ++i) for (uint8_t b : Int(int64_t(i) * 256 - 200000, 3)) file.push_back(b);
    size_t asked = 0;
    TConvertedData data(l, [&](uint64_t offset, size_t n) -> const uint8_t* {
        EXPECT_EQ(offset % 6, 0u);
        EXPECT_LE(offset + n, file.size());
        asked += n;
        return offset + n <= file.size() ? file.data() + offset : nullptr;
    });
    const int32_t played = l.PlayedBytes(int32_t(file.size()));
    std::vector<uint8_t> half(StreamHalfBytes);
    TRefill r = FillRegion(half.data(), uint32_t(half.size()), data, played, 3996, true, 16);
    EXPECT_EQ(r.ReadOffset, (3996 + StreamHalfBytes) % played);
    EXPECT_EQ(asked, size_t(StreamHalfBytes) / 4 * 6);
    for (size_t at = 0; at < half.size(); at += 2) {
        const int sample = int((3996 / 2 + at / 2) % 2000);
        ASSERT_EQ(int16_t(uint16_t(half[at] | half[at + 1] << 8)), sample - 781) << at;
    }
    // A place that is not on a frame, or a file that cannot be read, plays as silence.
    EXPECT_FALSE(data.CopyOut(half.data(), 2, 4));
    TConvertedData unreadable(l, [](uint64_t, size_t) -> const uint8_t* { return nullptr; });
    std::fill(half.begin(), half.end(), 0x55);
    FillRegion(half.data(), 8, unreadable, played, 0, false, 16);
    EXPECT_EQ(std::vector<uint8_t>(half.begin(), half.begin() + 8), std::vector<uint8_t>(8, 0));
}
