// The WAV reader's header checks and chunk walk over the bytes of a file.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

// The 18 bytes of a WAVEFORMATEX as they lie in the file (little-endian), with readers for the
// fields the player decides on.
struct TWaveFormatBytes {
    std::array<uint8_t, 18> Bytes{};
    uint16_t FormatTag() const { return Word(0); }
    uint16_t Channels() const { return Word(2); }
    uint32_t SamplesPerSec() const { return Word(4) | uint32_t(Word(6)) << 16; }
    uint16_t BlockAlign() const { return Word(12); }
    uint16_t BitsPerSample() const { return Word(14); }
    uint16_t CbSize() const { return Word(16); }
    // Only 8-bit and 16-bit PCM play.
    bool Playable() const { return FormatTag() == 1 && (BitsPerSample() == 8 || BitsPerSample() == 16); }
private:
    uint16_t Word(int at) const { return uint16_t(Bytes[at] | Bytes[at + 1] << 8); }
};

// What the walk found. Offsets are from the file's first byte.
struct TWaveScan {
    // 0: a format chunk and, after it, a data chunk of 8-bit or 16-bit PCM;
    // 2: not RIFF/WAVE, or no data chunk after a format chunk within the walked range;
    // 3: a data chunk follows the format chunk but the format does not play.
    int Result = 2;
    bool ReadFailed = false;         // a part of the file could not be read: the walk stopped there
    bool HasFormat = false;          // the first "fmt " chunk was met (Format is valid)
    TWaveFormatBytes Format;         // its first 18 body bytes; bytes past the file's end read 0
    uint64_t FormatOffset = 0;       // where its body starts
    bool HasData = false;            // a "data" chunk after the format chunk was accepted
    uint64_t DataOffset = 0;         // where its body starts
    uint32_t DeclaredDataSize = 0;   // the data chunk's size field
    int32_t DataSize = 0;            // the bytes of the body that are really in the file
};

// Bytes of a file at or above which a static load shows its progress.
constexpr long LoadingBoxThreshold = 262144;

// Reads n bytes at offset of the file into out (the caller keeps within the file's size);
// false when they cannot be read.
using TReadAt = std::function<bool(uint64_t offset, void* out, size_t n)>;

// Checks "RIFF"/"WAVE" and walks the chunks from byte 12 up to the smaller of the RIFF size + 8
// (formed in signed 32-bit arithmetic, so a size of 0x7FFFFFF8 or more walks nothing) and the
// file's size. Chunks follow one another at start + 8 + size with no pad byte skipped; the first
// format chunk wins, a data chunk counts only after it. Only the chunk headers and the format
// are read, and nothing outside the file: a chunk header that does not fit ends the walk; sizes
// are read unsigned, so one that would be negative as a signed number (and walk backwards, or
// in place for ever) runs past the end and ends the walk; a data body that runs past the end of
// the file is cut to what the file holds, so a truncated recording still plays to its last byte.
TWaveScan ScanWave(const TReadAt& read, uint64_t size);
// The same over a file's bytes in memory.
TWaveScan ScanWave(const uint8_t* bytes, size_t size);
