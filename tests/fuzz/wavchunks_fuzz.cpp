// The reader's chunk walk and the ring refill over arbitrary bytes: nothing outside the input may
// be read (the sanitizers check), and what the walk reports must lie inside the input.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>
#include "audio/pure/StreamRing.h"
#include "audio/pure/WavChunks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly the input's size, so that the address sanitizer sees any read past it.
    std::vector<uint8_t> bytes(data, data + size);
    const TWaveScan s = ScanWave(bytes.data(), bytes.size());
    if (s.HasData) {
        if (!s.HasFormat || s.DataOffset > size || uint64_t(s.DataOffset) + uint32_t(s.DataSize) > size ||
            s.DataSize < 0 || s.DataOffset <= s.FormatOffset)
            std::abort();
        // Refill a ring half from the accepted data, from an offset and mode the input chooses.
        const uint8_t* d = bytes.data() + s.DataOffset;
        uint32_t pick = 0;
        std::memcpy(&pick, bytes.data(), std::min<size_t>(4, size));
        std::vector<uint8_t> half(StreamHalfBytes);
        const int32_t from = int32_t(pick % (uint32_t(s.DataSize) + 2 * StreamHalfBytes)) - (pick & 1 ? 7 : 0);
        const TRefill r = FillRegion(half.data(), uint32_t(half.size()), d, s.DataSize, from, pick & 2,
                                     s.Format.BitsPerSample());
        if ((pick & 2) && s.DataSize > 0 && (r.ReadOffset < 0 || r.ReadOffset >= s.DataSize)) std::abort();
    } else if (s.Result != 2) {
        std::abort();
    }
    if (s.HasFormat && s.FormatOffset > size) std::abort();
    return 0;
}
