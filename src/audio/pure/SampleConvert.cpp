#include "audio/pure/SampleConvert.h"
#include <algorithm>
#include <cstring>

int64_t TSampleLayout::PlayedFromFile(int64_t fileOffset) const
{
    if (!Converts || FileBlock == 0) return fileOffset;
    return fileOffset / int64_t(FileBlock) * int64_t(PlayedBlock);
}

int64_t TSampleLayout::FileFromPlayed(int64_t playedOffset) const
{
    if (!Converts || PlayedBlock == 0) return playedOffset;
    return playedOffset / int64_t(PlayedBlock) * int64_t(FileBlock);
}

int32_t TSampleLayout::PlayedBytes(int32_t fileBytes) const
{
    if (!Converts || FileBlock == 0) return fileBytes;
    // An 8-bit file doubles as it is played; past 2 GB of sound its end is cut.
    const int64_t frames = std::min<int64_t>(std::max(fileBytes, 0) / FileBlock, INT32_MAX / PlayedBlock);
    return int32_t(frames * PlayedBlock);
}

TSampleLayout ConvertedLayout(unsigned channels, unsigned rate, unsigned bits, unsigned validBits, bool isFloat)
{
    TSampleLayout l;
    l.Plays = l.Converts = true;
    l.Float = isFloat;
    l.Channels = channels;
    l.Rate = rate;
    l.Bits = bits;
    l.ValidBits = validBits;
    l.FileBlock = channels * bits / 8;
    l.PlayedBlock = channels * 2;
    return l;
}

namespace {
inline void Put16(uint8_t* out, int v)
{
    out[0] = uint8_t(v);
    out[1] = uint8_t(v >> 8);
}

// The high 16 bits of a wider sample, plus one where the bits below are half a step or more:
// (v + half) >> shift without the overflow. Only the top of the range can round past 32767.
inline int Rounded(uint8_t below, uint8_t lo, uint8_t hi)
{
    const int v = int16_t(uint16_t(lo | hi << 8)) + (below >> 7);
    return std::min(v, 32767);
}

inline int FromFloat(const uint8_t* p)
{
    uint32_t bits = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    float f;
    std::memcpy(&f, &bits, 4);
    if (f != f) return 0;                                   // NaN
    // Exact in double; the clip comes before the conversion, which then only truncates a
    // positive number, so no rounding mode of the machine comes into it.
    const double d = double(f) * 32768.0;
    if (d >= 32767.0) return 32767;
    if (d <= -32768.0) return -32768;
    return int(d + 32768.5) - 32768;
}
}

void ConvertFrames(const TSampleLayout& layout, const uint8_t* in, size_t frames, uint8_t* out)
{
    const size_t samples = frames * layout.Channels;
    if (samples == 0) return;
    if (layout.Float) {
        if (layout.Bits != 32) return;
        for (size_t i = 0; i < samples; ++i, in += 4, out += 2) Put16(out, FromFloat(in));
        return;
    }
    switch (layout.Bits) {
    case 8:
        for (size_t i = 0; i < samples; ++i, ++in, out += 2) Put16(out, (int(*in) - 128) * 256);
        break;
    case 16:
        std::memcpy(out, in, samples * 2);
        break;
    case 24:
        for (size_t i = 0; i < samples; ++i, in += 3, out += 2) Put16(out, Rounded(in[0], in[1], in[2]));
        break;
    case 32:
        for (size_t i = 0; i < samples; ++i, in += 4, out += 2) Put16(out, Rounded(in[1], in[2], in[3]));
        break;
    }
}

bool TConvertedData::CopyOut(uint8_t* out, int32_t offset, uint32_t n)
{
    const unsigned pb = FLayout.PlayedBlock;
    if (pb == 0 || offset < 0 || offset % pb || n % pb) return false;
    const size_t frames = n / pb;
    const uint8_t* from = FSpan(uint64_t(offset / pb) * FLayout.FileBlock, frames * FLayout.FileBlock);
    if (!from) return false;
    ConvertFrames(FLayout, from, frames, out);
    return true;
}
