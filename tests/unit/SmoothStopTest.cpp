// Smooth stops (the ramp, where it goes, when it has played); auditioning with a held key.
#include <gtest/gtest.h>
#include <cmath>
#include <string>
#include <vector>
#include "app/pure/Audition.h"
#include "audio/pure/Ramp.h"

namespace {
std::vector<int16_t> Sine(int frames, double phase)   // full-scale 1 kHz at 44100 Hz, stereo
{
    std::vector<int16_t> s(size_t(frames) * 2);
    for (int i = 0; i < 2 * frames; ++i) s[i] = int16_t(std::lround(32767 * std::sin(phase + 2 * M_PI * (i / 2) / 44.1)));
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
    EXPECT_EQ(RampFrames(44100) + RampFrames(100), 177u);
    // In two regions split at an odd frame, at phases all round: no jump larger than the sine's
    // own; silence after a ramp down, the sound itself after a ramp up.
    for (double phase = 0; phase < 2 * M_PI; phase += 0.37)
        for (bool down : {true, false}) {
            const auto sound = Sine(1000, phase);
            auto s = sound;
            auto* bytes = reinterpret_cast<uint8_t*>(s.data());
            const uint32_t k = ApplyRamp(bytes, 4 * 77, 16, 2, 0, 176, down);
            EXPECT_EQ(ApplyRamp(bytes + 4 * 77, 4 * 923, 16, 2, k, 176, down), 1000u);
            EXPECT_LE(LargestJump(s), LargestJump(sound)) << phase << down;
            const std::vector<int16_t> after(s.begin() + 352, s.end());
            EXPECT_EQ(after, down ? std::vector<int16_t>(after.size()) : std::vector<int16_t>(sound.begin() + 352, sound.end()));
        }
    std::vector<uint8_t> eight = {255, 0, 255, 0, 255, 0};    // 8-bit rests at 128
    ApplyRamp(eight.data(), 6, 8, 2, 0, 2, true);
    EXPECT_EQ(eight, (std::vector<uint8_t>{191, 64, 128, 128, 128, 128}));
}

TEST(SmoothStop, TheRampGoesFromTheWriteCursorAndNeverWhereThePlayCursorComesBack)
{
    struct Case { uint32_t size, play, write, wanted; bool looping; uint32_t start, length, ramp; };
    const Case cases[] = {
        {65536, 1000, 2764, 65536, true, 2764, 63772, 704},     // a ring: silent up to the cursor
        {65536, 64000, 100, 65536, true, 100, 63900, 704},      // the write cursor wrapped
        {100000, 1000, 2766, 40000, false, 2764, 40000, 704},   // whole frames
        {100000, 90000, 99000, 40000, false, 99000, 1000, 704}, // played once: up to its end only
        {100000, 99000, 99600, 40000, false, 99600, 400, 400},  // a shorter ramp to the end
        {100000, 99000, 300, 40000, false, 300, 0, 0},          // its end is the device's already
    };
    for (const Case& c : cases) {
        const TFadePlan p = PlanFade(c.size, c.play, c.write, 4, 704, c.wanted, c.looping);
        EXPECT_EQ(std::vector<uint32_t>({p.Start, p.Length, p.RampBytes}), std::vector<uint32_t>({c.start, c.length, c.ramp}))
            << c.size << " " << c.play << " " << c.write;
    }
    // From 900, the ramp's end at 100 (round the buffer's end) is passed at 100 and 300, not at 950 and 50.
    for (uint32_t now : {950u, 50u, 100u, 300u}) EXPECT_EQ(CursorPassed(1000, 900, 100, now), now == 100 || now == 300) << now;
}

TEST(SmoothStop, AHeldNavigationKeyPlaysOnlyWhereTheSelectionComesToRest)
{
    EXPECT_TRUE(IsNavigationKey(0x21) && IsNavigationKey(0x28) && !IsNavigationKey(0x20) && !IsNavigationKey(0x29));
    // Down pressed, repeated, Insert pressed, selection changed, rested, Down up: s, t, u answer.
    struct Case { const char* steps; const char* plays; };
    const Case cases[] = {
        {"dsu", "10"},           // a single press plays at once, the release nothing
        {"dsrsrsu", "1001"},     // held: the passed lines wait, the release plays
        {"dsrstrstu", "101010"}, // resting on a line plays it; the release then nothing
        {"dsrtu", "100"},        // repeating at the list's end: nothing new to play
        {"dsrsItu", "1010"},     // another key ends the repeat; the wait plays at rest
    };
    for (const Case& c : cases) {
        TAuditionGate gate;
        std::string got;
        for (const char* p = c.steps; *p; ++p) {
            if (*p == 'd' || *p == 'r') gate.KeyDown(0x28, *p == 'r');
            if (*p == 'I') gate.KeyDown(0x2D, false);
            if (*p == 's') got += gate.SelectionChanged() ? '1' : '0';
            if (*p == 't') got += gate.Rested() ? '1' : '0';
            if (*p == 'u') got += gate.KeyUp(0x28) ? '1' : '0';
        }
        EXPECT_EQ(got, c.plays) << c.steps;
    }
}
