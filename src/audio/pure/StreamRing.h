// The streaming player's arithmetic: the ring's halves, the refill of one half from the data,
// the ring mark and the position estimate. Platform-free so that every rule is tested natively.
#pragma once
#include <cstdint>

constexpr int32_t StreamRingBytes = 65536;
constexpr int32_t StreamHalfBytes = 32768;

// Silence for the sample's format: unsigned 8-bit samples rest at 128, signed 16-bit ones at 0.
uint8_t SilenceByte(int bitsPerSample);

struct TRefill {
    int32_t ReadOffset;     // where the next refill continues
    bool Stop;              // the data and a whole half of silence have been played: stop the ring
};

// Fills one locked region of the ring from data[0, dataSize), starting at readOffset. Past the
// end of the data, a looping stream wraps to the start without a gap; a stream that plays once
// writes silence until readOffset reaches dataSize + one half, and after that asks for the ring
// to be stopped and leaves the rest of the region as it is. A looping stream without data (size
// 0) has nothing to wrap to and ends like one that plays once. Only data[0, dataSize) is read,
// whatever readOffset says (a negative one starts at 0).
TRefill FillRegion(uint8_t* region, uint32_t length, const uint8_t* data, int32_t dataSize, int32_t readOffset,
                   bool looping, int bitsPerSample);

// The data offset at the end of the half being filled, one notification later.
int32_t NextRingMark(int32_t ringMark, bool looping, int32_t dataSize);

// Brings an offset back inside the data when looping is switched (nothing to do without data).
int32_t FoldIntoData(int32_t offset, int32_t dataSize);

// The data offset under the play cursor: the ring mark is the end of the half filled at the
// latest notification, which lies a whole half ahead of the cursor when the cursor is still in
// the half that was starting then. May be negative or past the data; the position bar wraps and
// clamps it.
int32_t StreamPositionEstimate(int32_t ringMark, uint32_t playCursor, bool secondHalf);
