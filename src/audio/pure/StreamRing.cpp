#include "audio/pure/StreamRing.h"
#include <algorithm>
#include <cstring>

uint8_t SilenceByte(int bitsPerSample) { return bitsPerSample == 8 ? 128 : 0; }

namespace {
// Offsets stay far below 2^31 for any file a 32-bit process can map; the arithmetic is done
// wide and saturated all the same, so that no input can overflow it.
int32_t Saturate(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }
bool Wraps(bool looping, int32_t dataSize) { return looping && dataSize > 0; }
}

TRefill FillRegion(uint8_t* region, uint32_t length, TDataSource& data, int32_t dataSize, int32_t readOffset,
                   bool looping, int bitsPerSample)
{
    TRefill r{readOffset, false};
    if (!region) return r;
    dataSize = std::max(dataSize, 0);
    int64_t offset = std::max(readOffset, 0);
    int64_t done = 0;
    while (done < length) {
        const int64_t remaining = int64_t(length) - done;
        int64_t n;
        if (offset < dataSize) {
            n = std::min<int64_t>(dataSize - offset, remaining);
            if (!data.CopyOut(region + done, int32_t(offset), uint32_t(n)))
                std::memset(region + done, SilenceByte(bitsPerSample), size_t(n));
        } else {
            n = remaining;
            if (offset < int64_t(dataSize) + StreamHalfBytes)
                std::memset(region + done, SilenceByte(bitsPerSample), size_t(n));
            else
                r.Stop = true;
        }
        offset += n;
        if (Wraps(looping, dataSize)) offset %= dataSize;
        done += n;
    }
    r.ReadOffset = Saturate(offset);
    return r;
}

TRefill FillRegion(uint8_t* region, uint32_t length, const uint8_t* data, int32_t dataSize, int32_t readOffset,
                   bool looping, int bitsPerSample)
{
    struct TMemory final : TDataSource {
        const uint8_t* Data;
        explicit TMemory(const uint8_t* d) : Data(d) {}
        bool CopyOut(uint8_t* out, int32_t offset, uint32_t n) override
        {
            std::memcpy(out, Data + offset, n);
            return true;
        }
    } memory(data);
    return FillRegion(region, length, memory, dataSize, readOffset, looping, bitsPerSample);
}

int32_t NextRingMark(int32_t ringMark, bool looping, int32_t dataSize)
{
    int64_t next = int64_t(ringMark) + StreamHalfBytes;
    if (Wraps(looping, dataSize)) next %= dataSize;
    return Saturate(next);
}

int32_t FoldIntoData(int32_t offset, int32_t dataSize)
{
    return dataSize > 0 ? offset % dataSize : offset;
}

int32_t StreamPositionEstimate(int32_t ringMark, uint32_t playCursor, bool secondHalf)
{
    int64_t p = int64_t(ringMark) + playCursor % StreamHalfBytes - StreamHalfBytes;
    if ((playCursor >= uint32_t(StreamHalfBytes)) == secondHalf) p -= StreamHalfBytes;
    return Saturate(p);
}
