// Smooth stops and auditioning with a held key: the ramp's shape and continuity, where a stop
// writes it, when the play cursor has passed it, and which selections play while a key repeats.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>
#include <vector>
#include "app/pure/Audition.h"
#include "audio/pure/Ramp.h"

namespace {
std::vector<int16_t> Sine(int frames, double phase)
{
    std::vector<int16_t> s(size_t(frames) * 2);
    for (int i = 0; i < frames; ++i)
        s[2 * i] = s[2 * i + 1] = int16_t(std::lround(32767 * std::sin(phase + 2 * M_PI * 1000 * i / 44100)));
    return s;
}
int LargestJump(const std::vector<int16_t>& s)
{
    int most = 0;
    for (size_t i = 2; i < s.size(); ++i) most = std::max(most, std::abs(s[i] - s[i - 2]));
    return most;
}
}

TEST(SmoothStop, RampsReachSilenceWithoutAStepAndGoOnAcrossRegions)
{
    EXPECT_EQ(RampFrames(44100), 176u);
    EXPECT_EQ(RampFrames(100), 1u);
    // A full-scale 1 kHz sine ramped down (split over two regions at an odd place) or up, at
    // phases all round: never a jump larger than the sine's own, and silence after the ramp.
    for (double phase = 0; phase < 2 * M_PI; phase += 0.37)
        for (bool down : {true, false}) {
            auto s = Sine(1000, phase);
            auto* bytes = reinterpret_cast<uint8_t*>(s.data());
            const uint32_t k = ApplyRamp(bytes, 4 * 77, 16, 2, 0, 176, down);
            EXPECT_EQ(ApplyRamp(bytes + 4 * 77, 4 * 923, 16, 2, k, 176, down), 1000u);
            EXPECT_LE(LargestJump(s), LargestJump(Sine(1000, phase))) << "phase " << phase << (down ? " down" : " up");
            // Down: silence from the ramp's end; up: the sound itself from there.
            const auto sound = Sine(1000, phase);
            EXPECT_EQ(std::vector<int16_t>(s.begin() + 352, s.end()),
                      down ? std::vector<int16_t>(s.size() - 352, 0) : std::vector<int16_t>(sound.begin() + 352, sound.end()))
                << phase;
        }
    // 8-bit samples rest at 128: a ramp down ends there; mono, stereo alike.
    std::vector<uint8_t> eight = {255, 0, 255, 0, 255, 0};
    ApplyRamp(eight.data(), 6, 8, 2, 0, 2, true);
    EXPECT_EQ(eight, (std::vector<uint8_t>{191, 64, 128, 128, 128, 128}));
}

TEST(SmoothStop, TheRampGoesFromTheWriteCursorAndNeverWhereThePlayCursorComesBack)
{
    struct Case { uint32_t size, play, write, ramp, wanted; bool looping; TFadePlan want; };
    const Case cases[] = {
        {65536, 1000, 2764, 704, 65536, true, {2764, 63772, 704}},      // a ring: silent up to the cursor
        {65536, 64000, 100, 704, 65536, true, {100, 63900, 704}},       // the write cursor wrapped
        {100000, 1000, 2766, 704, 40000, false, {2764, 40000, 704}},    // static: whole frames
        {100000, 90000, 99000, 704, 40000, false, {99000, 1000, 704}},  // once: up to its end only
        {100000, 99000, 300, 704, 40000, false, {300, 0, 0}},           // its end is the device's
        {100000, 99000, 99600, 704, 40000, false, {99600, 400, 400}},   // a shorter ramp to the end
        {0, 0, 0, 704, 100, true, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        const TFadePlan p = PlanFade(c.size, c.play, c.write, 4, c.ramp, c.wanted, c.looping);
        EXPECT_EQ(p.Start, c.want.Start) << c.size << " " << c.play << " " << c.write;
        EXPECT_EQ(p.Length, c.want.Length) << c.size << " " << c.play << " " << c.write;
        EXPECT_EQ(p.RampBytes, c.want.RampBytes) << c.size << " " << c.play << " " << c.write;
    }
    // The cursor has played up to the ramp's end, round the end of the buffer too.
    EXPECT_FALSE(CursorPassed(1000, 900, 100, 950));
    EXPECT_FALSE(CursorPassed(1000, 900, 100, 50));
    EXPECT_TRUE(CursorPassed(1000, 900, 100, 100));
    EXPECT_TRUE(CursorPassed(1000, 900, 100, 300));
}

TEST(SmoothStop, AHeldNavigationKeyPlaysOnlyWhereTheSelectionComesToRest)
{
    enum { Down = 0x28, Home = 0x24, Insert = 0x2D, Left = 0x25 };
    EXPECT_TRUE(IsNavigationKey(Down) && IsNavigationKey(Home) && IsNavigationKey(0x21) && IsNavigationKey(Left));
    EXPECT_FALSE(IsNavigationKey(Insert) || IsNavigationKey(0x20) || IsNavigationKey(0x29));
    // Steps: d = key down (r: repeated), u = key up, s = selection changed, t = rested; the
    // letters after each step what it answered (1 play, 0 not).
    struct Case { const char* steps; const char* plays; };
    const Case cases[] = {
        {"d s u", "1 0"},                   // a single press plays at once, the release nothing
        {"d s r s r s u", "1 0 0 1"},       // held: the passed lines wait, the release plays
        {"d s r s t r s t u", "1 0 1 0 1 0"},   // resting on a line plays it; the release then nothing
        {"d s r t u", "1 0 0"},             // repeating at the list's end: nothing new to play
        {"d s r s I t u", "1 0 1 0"},       // another key ends the repeat; the wait plays at rest
    };
    for (const Case& c : cases) {
        TAuditionGate gate;
        std::string got;
        for (const char* p = c.steps; *p; ++p) {
            switch (*p) {
            case 'd': gate.KeyDown(Down, false); break;
            case 'r': gate.KeyDown(Down, true); break;
            case 'I': gate.KeyDown(Insert, false); break;
            case 's': got += gate.SelectionChanged() ? "1 " : "0 "; break;
            case 't': got += gate.Rested() ? "1 " : "0 "; break;
            case 'u': got += gate.KeyUp(Down) ? "1 " : "0 "; break;
            }
        }
        EXPECT_EQ(got, std::string(c.plays) + " ") << c.steps;
    }
}
