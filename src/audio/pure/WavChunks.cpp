#include "audio/pure/WavChunks.h"
#include <algorithm>
#include <cstring>

namespace {
uint32_t Dword(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
bool IdIs(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }
}

TWaveScan ScanWave(const uint8_t* bytes, size_t size)
{
    TWaveScan scan;
    if (size < 12 || !IdIs(bytes, "RIFF") || !IdIs(bytes + 8, "WAVE")) return scan;

    // The bound is formed as the program always formed it, in signed 32-bit arithmetic: a RIFF
    // size of 0x7FFFFFF8 or more wraps below 16 and nothing is walked.
    const int64_t riffEnd = int32_t(Dword(bytes + 4) + 8u);
    const int64_t end = std::min<int64_t>(riffEnd, int64_t(size));
    const int64_t fileSize = int64_t(size);
    int state = 0;                                   // 0 nothing yet, 1 format found, 2 data found
    int64_t pos = 12;
    while (pos + 4 < end) {
        if (pos + 8 > fileSize) break;               // the size field would lie past the file
        const uint8_t* chunk = bytes + pos;
        const uint32_t chunkSize = Dword(chunk + 4);
        if (state == 0 && IdIs(chunk, "fmt ")) {
            state = 1;
            scan.HasFormat = true;
            scan.FormatOffset = size_t(pos + 8);
            const int64_t have = std::clamp<int64_t>(fileSize - (pos + 8), 0, 18);
            std::memcpy(scan.Format.Bytes.data(), chunk + 8, size_t(have));
            scan.FormatInFile = have == 18;
        } else if (state == 1 && IdIs(chunk, "data")) {
            state = 2;
            scan.HasData = true;
            scan.DataOffset = size_t(pos + 8);
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
