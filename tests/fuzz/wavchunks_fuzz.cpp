// The reader's chunk walk, the conversion of high-resolution samples and the ring refill over
// arbitrary bytes: nothing outside the input may be read (the sanitizers check), and what the
// walk reports must lie inside the input.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>
#include "audio/pure/SampleConvert.h"
#include "audio/pure/StreamRing.h"
#include "audio/pure/WavChunks.h"

namespace {
void Check(bool ok)
{
    if (!ok) std::abort();
}

void Walk(const std::vector<uint8_t>& bytes, bool hiRes)
{
    const size_t size = bytes.size();
    const TWaveScan s = ScanWave(bytes.data(), size, hiRes);
    if (s.HasFormat) Check(s.FormatOffset <= size);
    if (!s.HasData) {
        Check(s.Result == 2);
        return;
    }
    Check(s.HasFormat && s.DataOffset <= size && uint64_t(s.DataOffset) + uint32_t(s.DataSize) <= size &&
          s.DataSize >= 0 && s.DataOffset > s.FormatOffset);
    Check((s.Result == 0) == s.Layout.Plays);
    const TSampleLayout& l = s.Layout;
    // Refill a ring half from the accepted data, from an offset and mode the input chooses.
    uint32_t pick = 0;
    std::memcpy(&pick, bytes.data(), std::min<size_t>(4, size));
    std::vector<uint8_t> half(StreamHalfBytes);
    const bool looping = pick & 2;
    if (!l.Converts) {
        const int32_t from = int32_t(pick % (uint32_t(s.DataSize) + 2 * StreamHalfBytes)) - (pick & 1 ? 7 : 0);
        const TRefill r = FillRegion(half.data(), uint32_t(half.size()), bytes.data() + s.DataOffset, s.DataSize, from,
                                     looping, s.Format.BitsPerSample());
        if (looping && s.DataSize > 0) Check(r.ReadOffset >= 0 && r.ReadOffset < s.DataSize);
        return;
    }
    Check(hiRes && l.Channels >= 1 && l.Channels <= 2 && l.PlayedBlock == 2 * l.Channels && l.FileBlock > 0);
    // The whole data converted, as a static load does it, into a buffer of exactly its size.
    const int32_t played = l.PlayedBytes(s.DataSize);
    const size_t frames = size_t(played) / l.PlayedBlock;
    Check(frames * l.FileBlock <= size_t(s.DataSize));
    std::vector<uint8_t> all(static_cast<size_t>(played));
    ConvertFrames(l, bytes.data() + s.DataOffset, frames, all.data());
    // And streamed: the refill asks the file for whole frames of the data only.
    TConvertedData data(l, [&](uint64_t offset, size_t n) -> const uint8_t* {
        Check(offset + n <= uint64_t(s.DataSize));
        return bytes.data() + s.DataOffset + offset;
    });
    const int32_t from = int32_t(l.PlayedFromFile(pick % (uint32_t(s.DataSize) + 2 * StreamHalfBytes)));
    const TRefill r = FillRegion(half.data(), uint32_t(half.size()), data, played, from, looping, 16);
    if (looping && played > 0) Check(r.ReadOffset >= 0 && r.ReadOffset < played);
    if (played > 0 && from < played && !looping && played - from >= 2)
        Check(std::memcmp(half.data(), all.data() + from, 2) == 0);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly the input's size, so that the address sanitizer sees any read past it.
    const std::vector<uint8_t> bytes(data, data + size);
    Walk(bytes, false);
    Walk(bytes, true);
    return 0;
}
