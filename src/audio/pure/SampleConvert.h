// How a sample's frames are played: as the file holds them (8-bit and 16-bit PCM), or converted to
// 16-bit by the program (24-bit and 32-bit PCM and 32-bit float, on request). The conversion is
// ours, not the sound driver's, so that a sample sounds the same on every system.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include "audio/pure/StreamRing.h"

struct TSampleLayout {
    bool Plays = false;          // the player starts it
    bool Converts = false;       // it plays converted to 16-bit
    bool Float = false;          // IEEE float samples; otherwise integers (8-bit ones unsigned)
    unsigned Channels = 0;
    unsigned Rate = 0;
    unsigned Bits = 0;           // bits of a sample's container in the file
    unsigned ValidBits = 0;      // of which carry sound (the same as Bits but for extensible files)
    unsigned FileBlock = 0;      // bytes of a frame in the file
    unsigned PlayedBlock = 0;    // bytes of a frame as the sound buffer holds it

    // Offsets between the file's data and the sound buffer, in whole frames (rounded towards 0);
    // unchanged when the sample plays as it is.
    int64_t PlayedFromFile(int64_t fileOffset) const;
    int64_t FileFromPlayed(int64_t playedOffset) const;
    // The sound buffer's bytes for fileBytes of data: whole frames only, and no more than a
    // 32-bit size can say.
    int32_t PlayedBytes(int32_t fileBytes) const;
};

// A layout of converted frames: channels of bits-bit samples (float or integer) at rate.
TSampleLayout ConvertedLayout(unsigned channels, unsigned rate, unsigned bits, unsigned validBits, bool isFloat);

// Converts frames of the file's samples (in) to 16-bit little-endian ones (out, frames x
// PlayedBlock bytes): rounded to the nearest value, halves upwards, clipped to the 16-bit range;
// a float NaN is 0, and floats scale by 32768 (1.0 and above clip to 32767).
void ConvertFrames(const TSampleLayout& layout, const uint8_t* in, size_t frames, uint8_t* out);

// The played data of a converted sample, made from the file's data as a refill asks for it.
// Only whole frames are asked for by the ring; anything else, or a part of the file that cannot
// be read, plays as silence.
class TConvertedData final : public TDataSource {
public:
    // The file's data bytes [offset, offset + n), or null when they cannot be read.
    using TSpan = std::function<const uint8_t*(uint64_t offset, size_t n)>;
    TConvertedData(const TSampleLayout& layout, TSpan span) : FLayout(layout), FSpan(std::move(span)) {}
    bool CopyOut(uint8_t* out, int32_t offset, uint32_t n) override;
private:
    TSampleLayout FLayout;
    TSpan FSpan;
};
