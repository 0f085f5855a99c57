// The WAV reader's header checks and chunk walk over crafted files.
#include <gtest/gtest.h>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "../fuzz/WavCorpusTable.h"
#include "audio/pure/WavChunks.h"

namespace {
std::vector<uint8_t> ReadCorpus(const char* name)
{
    std::ifstream f(std::string(SONIDEX_SOURCE_DIR) + "/tests/fuzz/corpus/wav/" + name, std::ios::binary);
    EXPECT_TRUE(f.good()) << name;
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void Put32(std::vector<uint8_t>& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

void Chunk(std::vector<uint8_t>& b, const char* id, uint32_t size, std::vector<uint8_t> body)
{
    b.insert(b.end(), id, id + 4);
    Put32(b, size);
    b.insert(b.end(), body.begin(), body.end());
}

const std::vector<uint8_t> Fmt16Mono = {1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x22, 0x56, 0, 0, 2, 0, 16, 0};

std::vector<uint8_t> Wave(uint32_t riffSize, const std::vector<uint8_t>& chunks)
{
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
    Put32(b, riffSize);
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}
}

TEST(WavChunks, EveryCorpusFileGivesItsDocumentedResult)
{
    for (const auto& c : WavCorpus) {
        const auto bytes = ReadCorpus(c.Name);
        for (bool hiRes : {false, true}) {
            const TWaveScan s = ScanWave(bytes.data(), bytes.size(), hiRes);
            const std::string what = std::string(c.Name) + (hiRes ? " (HiRes)" : "");
            EXPECT_EQ(s.Result, hiRes && c.HiRes >= 0 ? c.HiRes : c.Scan) << what;
            EXPECT_EQ(s.HasFormat ? s.Format.FormatTag() : -1, c.FormatTag) << what;
            if (s.HasFormat) EXPECT_EQ(s.Format.BitsPerSample(), c.Bits) << what;
            EXPECT_EQ(s.HasData ? s.DataSize : -1, c.DataSize) << what;
            if (s.HasData) EXPECT_LE(s.DataOffset + size_t(s.DataSize), bytes.size()) << what;
            // Converted exactly when it plays and is not 8-bit or 16-bit PCM.
            EXPECT_EQ(s.Layout.Converts, s.Result == 0 && !s.Format.Playable()) << what;
        }
    }
}

TEST(WavChunks, FormatBytesAndWhereTheyLie)
{
    // A 16-byte format chunk lends the next two bytes, "da" of "data", as cbSize.
    auto s = ScanWave(ReadCorpus("fmt16_cbsize.wav").data(), 144);
    EXPECT_EQ(s.Format.CbSize(), 0x6164);
    EXPECT_EQ(s.FormatOffset, 20u);
    EXPECT_EQ(s.DataOffset, 44u);
    EXPECT_EQ(s.Format.SamplesPerSec(), 11025u);
    EXPECT_EQ(s.Format.Channels(), 1);
    EXPECT_EQ(s.Format.BlockAlign(), 2);
    EXPECT_EQ(ScanWave(ReadCorpus("fmt18.wav").data(), 146).Format.CbSize(), 0);
    // The first format chunk wins.
    auto two = ReadCorpus("two_fmt.wav");
    EXPECT_EQ(ScanWave(two.data(), two.size()).Format.SamplesPerSec(), 22050u);
    // A format chunk at the very end: its cbSize would lie past the file and reads 0.
    auto end = ReadCorpus("fmt_at_end.wav");
    s = ScanWave(end.data(), end.size());
    EXPECT_EQ(s.Format.CbSize(), 0);
    EXPECT_EQ(s.Format.BitsPerSample(), 16);
}

TEST(WavChunks, RiffSizeBoundsTheWalkInSigned32BitArithmetic)
{
    const std::vector<uint8_t> data(8, 0x11);
    std::vector<uint8_t> chunks;
    Chunk(chunks, "fmt ", 16, Fmt16Mono);
    Chunk(chunks, "data", 8, data);
    struct { uint32_t riff; int result; } cases[] = {
        {0x7FFFFFF7, 0}, {0x7FFFFFF8, 2}, {0x7FFFFFFF, 2}, {0x80000000, 2}, {0xFFFFFFF7, 2},
        {0xFFFFFFF8, 2}, {0xFFFFFFFF, 2}, {4 + 24 + 8 + 8, 0}, {4 + 24 + 1, 2}, {4 + 24 + 0, 2}, {0, 2},
    };
    for (auto& c : cases) {
        auto w = Wave(c.riff, chunks);
        EXPECT_EQ(ScanWave(w.data(), w.size()).Result, c.result) << std::hex << c.riff;
    }
}

TEST(WavChunks, ChunkSizesNeverLeadOutsideTheFile)
{
    // A data chunk whose size runs past the end plays the bytes there are; a junk chunk with any
    // size that is not a plain forward step ends the walk without a data chunk.
    for (uint32_t junk : {0xFFFFFFF8u, 0xFFFFFFFFu, 0x80000000u, 0xFFFFFFF0u, 0x7FFFFFFFu, 0x1000u}) {
        std::vector<uint8_t> chunks;
        Chunk(chunks, "JUNK", junk, {});
        Chunk(chunks, "fmt ", 16, Fmt16Mono);
        Chunk(chunks, "data", 4, {1, 2, 3, 4});
        auto w = Wave(uint32_t(4 + chunks.size()), chunks);
        EXPECT_EQ(ScanWave(w.data(), w.size()).Result, 2) << std::hex << junk;
    }
    for (uint32_t dataSize : {5u, 100u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        std::vector<uint8_t> chunks;
        Chunk(chunks, "fmt ", 16, Fmt16Mono);
        Chunk(chunks, "data", dataSize, {1, 2, 3, 4});
        auto w = Wave(uint32_t(4 + chunks.size()), chunks);
        auto s = ScanWave(w.data(), w.size());
        EXPECT_EQ(s.Result, 0);
        EXPECT_EQ(s.DataSize, 4) << std::hex << dataSize;
        EXPECT_EQ(s.DeclaredDataSize, dataSize);
    }
}

TEST(WavChunks, ManySmallChunksBeforeTheFormat)
{
    std::vector<uint8_t> chunks;
    for (int i = 0; i < 10000; ++i) Chunk(chunks, "LIST", 2, {0, 0});
    Chunk(chunks, "fmt ", 16, Fmt16Mono);
    Chunk(chunks, "data", 2, {7, 7});
    auto w = Wave(uint32_t(4 + chunks.size()), chunks);
    auto s = ScanWave(w.data(), w.size());
    EXPECT_EQ(s.Result, 0);
    EXPECT_EQ(s.DataOffset, w.size() - 2);
}

TEST(WavChunks, EveryPrefixOfAGoodFileIsReadSafely)
{
    // Each truncation of a good file: no data chunk until the data header is whole, then the
    // part of the body that is there.
    auto good = ReadCorpus("good_pcm16_mono.wav");
    for (size_t n = 0; n <= good.size(); ++n) {
        std::vector<uint8_t> part(good.begin(), good.begin() + long(n));
        auto s = ScanWave(part.data(), part.size());
        if (n < 44) {
            EXPECT_EQ(s.Result, 2) << n;
        } else {
            EXPECT_EQ(s.Result, 0) << n;
            EXPECT_EQ(s.DataSize, int(n) - 44) << n;
        }
    }
}

TEST(WavChunks, TheWalkReadsOnlyHeadersAndStopsWhereTheFileCannotBeRead)
{
    // A 1 GB file in outline: three chunks of 300 MB of nothing before the format and the data.
    std::vector<uint8_t> head = Wave(0x7FFF0000, {});
    const uint64_t big = 300u << 20;
    std::vector<std::pair<uint64_t, std::vector<uint8_t>>> parts = {{0, head}};
    uint64_t at = head.size();
    for (int i = 0; i < 3; ++i) {
        std::vector<uint8_t> h;
        Chunk(h, "JUNK", uint32_t(big), {});
        parts.push_back({at, h});
        at += 8 + big;
    }
    std::vector<uint8_t> tail;
    Chunk(tail, "fmt ", 16, Fmt16Mono);
    Chunk(tail, "data", uint32_t(big), {});
    parts.push_back({at, tail});
    const uint64_t size = at + tail.size() + big;
    size_t reads = 0, bytesRead = 0;
    uint64_t failFrom = UINT64_MAX;
    auto read = [&](uint64_t offset, void* out, size_t n) {
        ++reads;
        bytesRead += n;
        EXPECT_LE(offset + n, size);
        if (offset + n > failFrom) return false;
        std::memset(out, 0, n);
        for (auto& [start, bytes] : parts)
            for (size_t i = 0; i < n; ++i)
                if (offset + i >= start && offset + i < start + bytes.size()) static_cast<uint8_t*>(out)[i] = bytes[offset + i - start];
        return true;
    };
    TWaveScan s = ScanWave(read, size);
    EXPECT_EQ(s.Result, 0);
    EXPECT_EQ(s.DataOffset, at + tail.size());
    EXPECT_EQ(s.DataSize, int32_t(big));
    EXPECT_EQ(reads, 7u);                        // header, 5 chunk headers, the format
    EXPECT_EQ(bytesRead, 12u + 5 * 8 + 18);
    // A part that cannot be read ends the walk there, and says so.
    failFrom = at + 10;
    s = ScanWave(read, size);
    EXPECT_TRUE(s.ReadFailed);
    EXPECT_EQ(s.Result, 2);
    EXPECT_FALSE(s.HasFormat);
}

TEST(WavChunks, APadByteIsSkippedOnlyWhereTheOldReadingFindsNoData)
{
    const std::vector<uint8_t> stereo = {1, 0, 2, 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 2, 0, 4, 0, 16, 0};
    // After an odd "LIST", the old reading sees a chunk "\x01JUN" whose size leads to format A
    // and its data; one byte further lies a "JUNK" chunk before format B and its data. The old
    // reading found data, so it stands.
    std::vector<uint8_t> chunks;
    Chunk(chunks, "LIST", 3, {'a', 'b', 'c'});
    const size_t p = 12 + chunks.size();
    chunks.insert(chunks.end(), {0x01, 'J', 'U', 'N', 'K', 0x10, 0, 0});   // old: size 0x104B
    chunks.insert(chunks.end(), 17, 0);                                    // new: "JUNK", 16 bytes
    Chunk(chunks, "fmt ", 16, stereo);
    Chunk(chunks, "data", 4, {2, 2, 2, 2});
    chunks.resize(p - 12 + 8 + 0x104B, 0);
    Chunk(chunks, "fmt ", 16, Fmt16Mono);
    Chunk(chunks, "data", 2, {1, 1});
    auto w = Wave(uint32_t(4 + chunks.size()), chunks);
    auto s = ScanWave(w.data(), w.size());
    EXPECT_EQ(s.Result, 0);
    EXPECT_EQ(s.Format.Channels(), 1);
    EXPECT_EQ(s.DataSize, 2);

    // The same file with format A gone: the old reading finds nothing, the pad byte is skipped.
    w.resize(w.size() - 34);
    s = ScanWave(w.data(), w.size());
    EXPECT_EQ(s.Result, 0);
    EXPECT_EQ(s.Format.Channels(), 2);
    EXPECT_EQ(s.DataSize, 4);

    // Where neither place holds a chunk, the file is refused as before.
    std::vector<uint8_t> bad;
    Chunk(bad, "LIST", 3, {'a', 'b', 'c'});
    bad.insert(bad.end(), {0, 0, 1, 2, 3, 4, 5, 6, 7, 8});
    Chunk(bad, "fmt ", 16, Fmt16Mono);
    Chunk(bad, "data", 2, {1, 1});
    w = Wave(uint32_t(4 + bad.size()), bad);
    EXPECT_EQ(ScanWave(w.data(), w.size()).Result, 2);
}
