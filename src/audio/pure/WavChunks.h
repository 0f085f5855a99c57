// The WAV reader's header checks and chunk walk over the bytes of a file.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include "audio/pure/SampleConvert.h"

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
    // 8-bit and 16-bit PCM play as they are.
    bool Playable() const { return FormatTag() == 1 && (BitsPerSample() == 8 || BitsPerSample() == 16); }
private:
    uint16_t Word(int at) const { return uint16_t(Bytes[at] | Bytes[at + 1] << 8); }
};

constexpr uint16_t WaveFormatPcm = 1;
constexpr uint16_t WaveFormatFloat = 3;
constexpr uint16_t WaveFormatExtensible = 0xFFFE;

// The 22 bytes that follow cbSize in a WAVE_FORMAT_EXTENSIBLE format chunk: valid bits per
// sample, the channel mask and the sub-format's GUID.
struct TWaveExtension {
    std::array<uint8_t, 22> Bytes{};
    uint16_t ValidBits() const { return uint16_t(Bytes[0] | Bytes[1] << 8); }
    // The wFormatTag the sub-format GUID stands for (PCM 1, float 3, ...), or -1 for a GUID
    // outside the family of the sub-formats derived from the old tags.
    int SubFormatTag() const;
};

// How the player plays a format, with the HiRes setting on or off. Off, only 8-bit and 16-bit
// PCM play, as they are. On, so do mono and stereo 24-bit and 32-bit PCM, 32-bit float, and the
// extensible formats (extension given) whose sub-format is PCM of 8, 16, 24 or 32 bits or float
// of 32: converted to 16-bit.
TSampleLayout SampleLayout(const TWaveFormatBytes& format, const TWaveExtension* extension, bool hiRes);

// What the walk found. Offsets are from the file's first byte.
struct TWaveScan {
    // 0: a format chunk and, after it, a data chunk of a format that plays (Layout);
    // 2: not RIFF/WAVE, or no data chunk after a format chunk within the walked range;
    // 3: a data chunk follows the format chunk but the format does not play.
    int Result = 2;
    bool ReadFailed = false;         // a part of the file could not be read: the walk stopped there
    bool HasFormat = false;          // the first "fmt " chunk was met (Format is valid)
    TWaveFormatBytes Format;         // its first 18 body bytes; bytes past the file's end read 0
    uint64_t FormatOffset = 0;       // where its body starts
    bool HasExtension = false;       // an extensible format whose chunk holds the extension whole
    TWaveExtension Extension;
    TSampleLayout Layout;            // how the format plays (valid with Format)
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
// file's size. Chunks follow one another at start + 8 + size; the first format chunk wins, a
// data chunk counts only after it. Only the chunk headers and the format are read, and nothing
// outside the file: a chunk header that does not fit ends the walk; sizes are read unsigned, so
// one that would be negative as a signed number (and walk backwards, or in place for ever) runs
// past the end and ends the walk; a data body that runs past the end of the file is cut to what
// the file holds, so a truncated recording still plays to its last byte.
//
// The pad byte: RIFF pads a body of odd size with one byte, which the program long did not skip.
// A file read that way with its data found is read so still. Otherwise the walk is made again,
// and where the place right after an odd body holds no chunk (its identifier is not four
// printable characters, or its size runs past the end of the file) and the next byte does, the
// chunk is taken from there. A data chunk may run past the end (it is cut, as above).
//
// hiRes: the HiRes setting, which decides which formats play (result 0) and how (Layout).
TWaveScan ScanWave(const TReadAt& read, uint64_t size, bool hiRes = false);
// The same over a file's bytes in memory.
TWaveScan ScanWave(const uint8_t* bytes, size_t size, bool hiRes = false);
