#include "audio/pure/WavChunks.h"
#include <algorithm>
#include <cstring>

namespace {
uint32_t Dword(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
bool IdIs(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }
bool Printable(const uint8_t* id) { return std::all_of(id, id + 4, [](uint8_t c) { return c >= 0x20 && c < 0x7F; }); }

// The GUIDs of the sub-formats that stand for an old format tag: the tag, then
// -0000-0010-8000-00AA00389B71, as the GUID lies in the file.
constexpr uint8_t SubFormatTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
}

int TWaveExtension::SubFormatTag() const
{
    const uint8_t* guid = Bytes.data() + 6;
    if (guid[2] || guid[3] || std::memcmp(guid + 4, SubFormatTail, sizeof SubFormatTail)) return -1;
    return guid[0] | guid[1] << 8;
}

TSampleLayout SampleLayout(const TWaveFormatBytes& format, const TWaveExtension* extension, bool hiRes)
{
    TSampleLayout none;
    const unsigned tag = format.FormatTag(), bits = format.BitsPerSample(), channels = format.Channels();
    if (format.Playable()) {
        // As it is, whatever the setting; DirectSound judges the rest of the format.
        TSampleLayout l;
        l.Plays = true;
        l.Channels = channels;
        l.Rate = format.SamplesPerSec();
        l.Bits = l.ValidBits = bits;
        l.FileBlock = l.PlayedBlock = format.BlockAlign();
        return l;
    }
    if (!hiRes || channels < 1 || channels > 2 || format.BlockAlign() != channels * bits / 8) return none;
    unsigned valid = bits;
    int kind = tag;
    if (tag == WaveFormatExtensible) {
        if (!extension) return none;
        kind = extension->SubFormatTag();
        // 0 is written by some programs for "all of them".
        if (extension->ValidBits() > bits) return none;
        if (extension->ValidBits()) valid = extension->ValidBits();
        if (kind == WaveFormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32))
            return ConvertedLayout(channels, format.SamplesPerSec(), bits, valid, false);
    } else if (kind == WaveFormatPcm && (bits == 24 || bits == 32)) {
        return ConvertedLayout(channels, format.SamplesPerSec(), bits, valid, false);
    }
    if (kind == WaveFormatFloat && bits == 32) return ConvertedLayout(channels, format.SamplesPerSec(), bits, valid, true);
    return none;
}

namespace {
class TWalk {
public:
    TWalk(const TReadAt& read, int64_t fileSize, int64_t end) : FRead(read), FFileSize(fileSize), FEnd(end) {}

    // One walk over the chunks; with padAware, a chunk misplaced by a pad byte is found.
    TWaveScan Run(bool padAware, bool hiRes)
    {
        TWaveScan scan;
        int state = 0;                               // 0 nothing yet, 1 format found, 2 data found
        int64_t pos = 12;
        while (pos + 4 < FEnd) {
            if (pos + 8 > FFileSize) break;          // the size field would lie past the file
            uint8_t chunk[8];
            if (!FRead(uint64_t(pos), chunk, 8)) {
                scan.ReadFailed = true;
                break;
            }
            const uint32_t chunkSize = Dword(chunk + 4);
            if (state == 0 && IdIs(chunk, "fmt ")) {
                if (!ReadFormat(pos, chunkSize, scan)) break;
                scan.Layout = SampleLayout(scan.Format, scan.HasExtension ? &scan.Extension : nullptr, hiRes);
                state = 1;
            } else if (state == 1 && IdIs(chunk, "data")) {
                state = 2;
                scan.HasData = true;
                scan.DataOffset = uint64_t(pos + 8);
                scan.DeclaredDataSize = chunkSize;
                const int64_t have = std::max<int64_t>(FFileSize - (pos + 8), 0);
                scan.DataSize = int32_t(std::min<int64_t>({int64_t(chunkSize), have, INT32_MAX}));
                scan.Result = scan.Layout.Plays ? 0 : 3;
                // Nothing later in the file can change what was accepted.
                break;
            }
            if (chunkSize & 1) FOddChunks = true;
            pos += 8 + int64_t(chunkSize);
            if (padAware && (chunkSize & 1) && !HoldsChunk(pos) && HoldsChunk(pos + 1)) ++pos;
        }
        return scan;
    }

    bool SawOddChunk() const { return FOddChunks; }

private:
    // Reads the format chunk at pos: its first 18 bytes as far as the file holds them (zero
    // beyond), and an extensible format's extension when the chunk holds it whole.
    bool ReadFormat(int64_t pos, uint32_t chunkSize, TWaveScan& scan)
    {
        const int64_t body = pos + 8;
        const int64_t have = std::clamp<int64_t>(FFileSize - body, 0, 18);
        if (have && !FRead(uint64_t(body), scan.Format.Bytes.data(), size_t(have))) {
            scan.Format = {};
            scan.ReadFailed = true;
            return false;
        }
        scan.HasFormat = true;
        scan.FormatOffset = uint64_t(body);
        constexpr int64_t extensibleBytes = 18 + 22;
        if (scan.Format.FormatTag() == WaveFormatExtensible && scan.Format.CbSize() >= 22 &&
            chunkSize >= extensibleBytes && body + extensibleBytes <= FFileSize) {
            if (!FRead(uint64_t(body + 18), scan.Extension.Bytes.data(), scan.Extension.Bytes.size())) {
                scan.ReadFailed = true;
                return false;
            }
            scan.HasExtension = true;
        }
        return true;
    }

    // A chunk could start at pos: its header lies in the walked range, its identifier is four
    // printable characters, and its body ends inside the file (a data body may run past the end).
    bool HoldsChunk(int64_t pos)
    {
        if (pos + 4 >= FEnd || pos + 8 > FFileSize) return false;
        uint8_t chunk[8];
        if (!FRead(uint64_t(pos), chunk, 8) || !Printable(chunk)) return false;
        return pos + 8 + int64_t(Dword(chunk + 4)) <= FFileSize || IdIs(chunk, "data");
    }

    const TReadAt& FRead;
    const int64_t FFileSize, FEnd;
    bool FOddChunks = false;
};
}

TWaveScan ScanWave(const TReadAt& read, uint64_t size, bool hiRes)
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
    TWalk walk(read, fileSize, std::min(riffEnd, fileSize));
    scan = walk.Run(false, hiRes);
    if (scan.HasData || scan.ReadFailed || !walk.SawOddChunk()) return scan;
    TWaveScan padded = walk.Run(true, hiRes);
    return padded.HasData || padded.ReadFailed ? padded : scan;
}

TWaveScan ScanWave(const uint8_t* bytes, size_t size, bool hiRes)
{
    return ScanWave(
        [bytes, size](uint64_t offset, void* out, size_t n) {
            if (offset > size || n > size - offset) return false;
            std::memcpy(out, bytes + offset, n);
            return true;
        },
        size, hiRes);
}
