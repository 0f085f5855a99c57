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

// Where a refill takes the sample's data from.
class TDataSource {
public:
    // Copies n bytes of the data, from offset, to out; false when that part cannot be read.
    virtual bool CopyOut(uint8_t* out, int32_t offset, uint32_t n) = 0;
protected:
    ~TDataSource() = default;
};

// Fills one locked region of the ring from the data [0, dataSize), starting at readOffset. Past
// the end of the data, a looping stream wraps to the start without a gap; a stream that plays
// once writes silence until readOffset reaches dataSize + one half, and after that asks for the
// ring to be stopped and leaves the rest of the region as it is. A looping stream without data
// (size 0) has nothing to wrap to and ends like one that plays once. Only [0, dataSize) is asked
// for, whatever readOffset says (a negative one starts at 0); a part the source cannot give
// plays as silence.
TRefill FillRegion(uint8_t* region, uint32_t length, TDataSource& data, int32_t dataSize, int32_t readOffset,
                   bool looping, int bitsPerSample);
// The same from data in memory.
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
