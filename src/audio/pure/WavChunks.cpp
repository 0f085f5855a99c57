#include "audio/pure/WavChunks.h"
#include <algorithm>
#include <cstring>

namespace {
uint32_t Dword(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
bool IdIs(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }
}

TWaveScan ScanWave(const TReadAt& read, uint64_t size)
{
    TWaveScan scan;
    uint8_t head[12];
    if (size < 12) return scan;
    if (!read(0, head, 12)) {
        scan.ReadFailed = true;
        return scan;
    }
    if (!IdIs(head, "RIFF") || !IdIs(head + 8, "WAVE")) return scan;

    // The bound is formed as the program always formed it, in signed 32-bit arithmetic: a RIFF
    // size of 0x7FFFFFF8 or more wraps below 16 and nothing is walked.
    const int64_t riffEnd = int32_t(Dword(head + 4) + 8u);
    const int64_t fileSize = int64_t(std::min<uint64_t>(size, INT64_MAX / 2));
    const int64_t end = std::min(riffEnd, fileSize);
    int state = 0;                                   // 0 nothing yet, 1 format found, 2 data found
    int64_t pos = 12;
    while (pos + 4 < end) {
        if (pos + 8 > fileSize) break;               // the size field would lie past the file
        uint8_t chunk[8];
        if (!read(uint64_t(pos), chunk, 8)) {
            scan.ReadFailed = true;
            break;
        }
        const uint32_t chunkSize = Dword(chunk + 4);
        if (state == 0 && IdIs(chunk, "fmt ")) {
            const int64_t have = std::clamp<int64_t>(fileSize - (pos + 8), 0, 18);
            if (have && !read(uint64_t(pos + 8), scan.Format.Bytes.data(), size_t(have))) {
                scan.Format = {};
                scan.ReadFailed = true;
                break;
            }
            state = 1;
            scan.HasFormat = true;
            scan.FormatOffset = uint64_t(pos + 8);
        } else if (state == 1 && IdIs(chunk, "data")) {
            state = 2;
            scan.HasData = true;
            scan.DataOffset = uint64_t(pos + 8);
            scan.DeclaredDataSize = chunkSize;
            const int64_t have = std::max<int64_t>(fileSize - (pos + 8), 0);
            scan.DataSize = int32_t(std::min<int64_t>({int64_t(chunkSize), have, INT32_MAX}));
            scan.Result = scan.Format.Playable() ? 0 : 3;
            // Nothing later in the file can change what was accepted.
            break;
        }
        pos += 8 + int64_t(chunkSize);
    }
    return scan;
}

TWaveScan ScanWave(const uint8_t* bytes, size_t size)
{
    return ScanWave(
        [bytes, size](uint64_t offset, void* out, size_t n) {
            if (offset > size || n > size - offset) return false;
            std::memcpy(out, bytes + offset, n);
            return true;
        },
        size);
}
