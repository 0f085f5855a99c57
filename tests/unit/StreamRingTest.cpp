// The streaming player's ring arithmetic, played through a model of the device: the ring is
// filled and played half by half, with the notification at offset 0 firing as play starts, so
// that what comes out can be compared with the data.
#include <gtest/gtest.h>
#include <numeric>
#include <vector>
#include "audio/pure/StreamRing.h"

namespace {
struct TRingModel {
    std::vector<uint8_t> Data;
    bool Looping = false;
    int Bits = 16;
    std::vector<uint8_t> Ring = std::vector<uint8_t>(StreamRingBytes, 0xEE);
    int32_t ReadOffset = 0, RingMark = StreamHalfBytes;
    bool SecondHalf = false, Stopped = false;
    std::vector<uint8_t> Out;                    // what the device played
    std::vector<int32_t> Estimates;              // position estimate at the start of each half played
    std::vector<int32_t> LateEstimates;          // and at the start of the next, its notification not yet handled

    void Fill(int half)
    {
        TRefill r = FillRegion(Ring.data() + half * StreamHalfBytes, StreamHalfBytes, Data.data(), int32_t(Data.size()),
                               ReadOffset, Looping, Bits);
        ReadOffset = r.ReadOffset;
        if (r.Stop) Stopped = true;
    }
    void Notify(uint32_t cursor)
    {
        RingMark = NextRingMark(RingMark, Looping, int32_t(Data.size()));
        SecondHalf = cursor >= uint32_t(StreamHalfBytes);
        Fill(SecondHalf ? 0 : 1);
    }
    // Creates the stream, starts it and plays up to halves halves or until it stops.
    void Play(int halves)
    {
        Fill(0);
        for (int h = 0; h < halves && !Stopped; ++h) {
            const uint32_t cursor = uint32_t(h % 2) * StreamHalfBytes;
            Notify(cursor);
            if (Stopped) break;                  // stopped as this half started: it is not heard
            Estimates.push_back(StreamPositionEstimate(RingMark, cursor + 100, SecondHalf));
            const auto* half = Ring.data() + (h % 2) * StreamHalfBytes;
            Out.insert(Out.end(), half, half + StreamHalfBytes);
            // The cursor is already in the next half; the refill thread has not run yet.
            LateEstimates.push_back(StreamPositionEstimate(RingMark, uint32_t((h + 1) % 2) * StreamHalfBytes + 50, SecondHalf));
        }
    }
};

std::vector<uint8_t> Ramp(size_t n)
{
    std::vector<uint8_t> d(n);
    for (size_t i = 0; i < n; ++i) d[i] = uint8_t(1 + i * 7 % 251);   // never a silence byte
    return d;
}
}

TEST(StreamRing, SilenceByFormat)
{
    EXPECT_EQ(SilenceByte(8), 128);
    EXPECT_EQ(SilenceByte(16), 0);
    EXPECT_EQ(SilenceByte(24), 0);
}

TEST(StreamRing, PlaysOnceThenSilenceThenStops)
{
    // Sizes around the halves: shorter than a half, ending exactly on a half, spanning several.
    for (size_t size : {0u, 1u, 20000u, 32768u, 65536u, 100000u, 131071u}) {
        for (int bits : {8, 16}) {
            TRingModel m;
            m.Data = Ramp(size);
            m.Bits = bits;
            m.Play(100);
            ASSERT_TRUE(m.Stopped) << size;
            ASSERT_GE(m.Out.size(), size);
            EXPECT_TRUE(std::equal(m.Data.begin(), m.Data.end(), m.Out.begin())) << size;
            // Then silence to the end of the half that held the end; the ring stops as the
            // whole half of silence after it starts.
            EXPECT_EQ(m.Out.size(), (size + StreamHalfBytes - 1) / StreamHalfBytes * StreamHalfBytes) << size;
            EXPECT_TRUE(std::all_of(m.Out.begin() + long(size), m.Out.end(),
                                    [&](uint8_t b) { return b == SilenceByte(bits); })) << size;
        }
    }
}

TEST(StreamRing, LoopWrapsWithoutGapOrRepeat)
{
    for (size_t size : {1u, 3000u, 32768u, 50000u, 70001u}) {
        TRingModel m;
        m.Data = Ramp(size);
        m.Looping = true;
        m.Play(12);
        ASSERT_FALSE(m.Stopped);
        ASSERT_EQ(m.Out.size(), size_t(12) * StreamHalfBytes);
        for (size_t i = 0; i < m.Out.size(); ++i) ASSERT_EQ(m.Out[i], m.Data[i % size]) << size << " at " << i;
        EXPECT_GE(m.ReadOffset, 0);
        EXPECT_LT(m.ReadOffset, int32_t(size));
        EXPECT_LT(m.RingMark, int32_t(size));
    }
}

TEST(StreamRing, LoopingWithoutDataEndsLikeOnce)
{
    TRingModel m;
    m.Looping = true;
    m.Play(10);
    EXPECT_TRUE(m.Stopped);
    EXPECT_EQ(m.Out.size(), 0u);
    EXPECT_EQ(NextRingMark(5, true, 0), 5 + StreamHalfBytes);
    EXPECT_EQ(FoldIntoData(70000, 0), 70000);
}

TEST(StreamRing, PositionEstimateFollowsThePlayCursor)
{
    TRingModel m;
    m.Data = Ramp(400000);
    m.Play(8);
    ASSERT_EQ(m.Estimates.size(), 8u);
    ASSERT_EQ(m.LateEstimates.size(), 8u);
    for (size_t h = 0; h < m.Estimates.size(); ++h) {
        EXPECT_EQ(m.Estimates[h], int32_t(h * StreamHalfBytes + 100)) << h;
        // A late notification does not make the bar jump back a half.
        EXPECT_EQ(m.LateEstimates[h], int32_t((h + 1) * StreamHalfBytes + 50)) << h;
    }
}

TEST(StreamRing, LoopTurnedOffRunsToTheEndOfTheData)
{
    TRingModel m;
    m.Data = Ramp(50000);
    m.Looping = true;
    m.Play(5);                                   // 163840 bytes played: in the fourth pass
    m.Looping = false;
    m.RingMark = FoldIntoData(m.RingMark, 50000);
    m.ReadOffset = m.RingMark;
    EXPECT_LT(m.ReadOffset, 50000);
    const int32_t resume = m.ReadOffset;
    // Keep playing from where the model left off.
    std::vector<uint8_t> before = m.Out;
    m.Out.clear();
    for (int h = 5; h < 40 && !m.Stopped; ++h) {
        const uint32_t cursor = uint32_t(h % 2) * StreamHalfBytes;
        m.Notify(cursor);
        if (m.Stopped) break;
        const auto* half = m.Ring.data() + (h % 2) * StreamHalfBytes;
        m.Out.insert(m.Out.end(), half, half + StreamHalfBytes);
    }
    EXPECT_TRUE(m.Stopped);
    // The half filled before the switch plays first, then the data from the fold to its end.
    const size_t rest = 50000 - size_t(resume);
    ASSERT_GE(m.Out.size(), size_t(StreamHalfBytes) + rest);
    EXPECT_TRUE(std::equal(m.Data.begin() + resume, m.Data.end(), m.Out.begin() + StreamHalfBytes));
}

TEST(StreamRing, RefillReadsOnlyTheData)
{
    const auto data = Ramp(1000);
    std::vector<uint8_t> half(StreamHalfBytes);
    // Offsets before, inside, at and after the data: never a read outside it.
    for (int32_t from : {-5, -70000, 0, 999, 1000, 1000 + StreamHalfBytes - 1, 1000 + StreamHalfBytes, INT32_MAX}) {
        for (bool loop : {false, true}) {
            TRefill r = FillRegion(half.data(), uint32_t(half.size()), data.data(), 1000, from, loop, 16);
            if (loop) {
                EXPECT_GE(r.ReadOffset, 0) << from;
                EXPECT_LT(r.ReadOffset, 1000) << from;
            }
        }
    }
    // A region the lock did not give is left alone.
    EXPECT_EQ(FillRegion(nullptr, 100, data.data(), 1000, 7, false, 16).ReadOffset, 7);
    // Stopping leaves the rest of the region as it is.
    std::fill(half.begin(), half.end(), 0x55);
    TRefill r = FillRegion(half.data(), 100, data.data(), 1000, 1000 + StreamHalfBytes, false, 8);
    EXPECT_TRUE(r.Stop);
    EXPECT_EQ(half[0], 0x55);
}

TEST(StreamRing, SeekTakesEffectAtTheNextRefill)
{
    TRingModel m;
    m.Data = Ramp(300000);
    m.Play(3);
    // Seek to 200192 (a multiple of 256) while the third half plays.
    m.RingMark = 200192;
    m.ReadOffset = 200192;
    const size_t before = m.Out.size();
    m.Notify(StreamHalfBytes);                   // the cursor enters the fourth half (filled earlier)
    m.Out.insert(m.Out.end(), m.Ring.begin() + StreamHalfBytes, m.Ring.end());
    m.Notify(0);                                 // then the half refilled after the seek
    m.Out.insert(m.Out.end(), m.Ring.begin(), m.Ring.begin() + StreamHalfBytes);
    EXPECT_TRUE(std::equal(m.Out.begin() + long(before), m.Out.begin() + long(before) + StreamHalfBytes,
                           m.Data.begin() + 3 * StreamHalfBytes));
    EXPECT_TRUE(std::equal(m.Out.begin() + long(before) + StreamHalfBytes, m.Out.end(), m.Data.begin() + 200192));
}

TEST(StreamRing, DataTheSourceCannotGivePlaysAsSilence)
{
    struct TFlaky final : TDataSource {
        bool CopyOut(uint8_t* out, int32_t offset, uint32_t n) override
        {
            if (offset >= 1000) return false;
            std::fill(out, out + n, uint8_t(7));
            return true;
        }
    } source;
    std::vector<uint8_t> half(4000, 0x55);
    TRefill r = FillRegion(half.data(), 4000, source, 3000, 1500, false, 8);
    EXPECT_EQ(r.ReadOffset, 5500);
    EXPECT_EQ(std::count(half.begin(), half.end(), 128), 4000);   // unreadable, then past the end
    r = FillRegion(half.data(), 4000, source, 800, 200, true, 16);
    EXPECT_EQ(r.ReadOffset, 200);
    EXPECT_EQ(std::count(half.begin(), half.end(), 7), 4000);
}
