// The slider's and the gauge's arithmetic: knob placement, values from the mouse, ticks, the
// bar and its text, and the ranges that would divide by zero or overflow.
#include <gtest/gtest.h>
#include <climits>
#include "controls/pure/SliderMath.h"

using namespace slidermath;

namespace {
// A vertical slider 40 x 150 with the 15 x 24 knob and side gap 5, ticks on both sides.
TTrackMetrics Vertical150() { return ComputeMetrics(150, 40, 24, 5, TTickSides::Both); }
// A horizontal slider 160 x 32 with the 23 x 15 knob, ticks below.
TTrackMetrics Horizontal160() { return ComputeMetrics(160, 32, 23, 5, TTickSides::BottomRight); }

std::vector<int> LongIndexes(const std::vector<TTick>& ticks)
{
    std::vector<int> r;
    for (size_t i = 0; i < ticks.size(); ++i)
        if (ticks[i].Long) r.push_back(static_cast<int>(i));
    return r;
}
}

TEST(SliderMetrics, TrackStartLengthAndAxis)
{
    struct { int along, across, knob, gap; TTickSides sides; int L, S, A; } cases[] = {
        {150, 40, 24, 5, TTickSides::Both, 116, 17, 20},
        {150, 40, 24, 5, TTickSides::TopLeft, 116, 17, 24},
        {150, 40, 24, 5, TTickSides::BottomRight, 116, 17, 17},
        {160, 32, 23, 5, TTickSides::BottomRight, 127, 16, 13},
        {150, 41, 24, 0, TTickSides::Both, 126, 12, 21},
        {30, 40, 24, 5, TTickSides::Both, -4, 17, 20},           // too small for its knob
        {150, 2, 24, 5, TTickSides::BottomRight, 116, 17, -2},  // (2 - 7 + 1) / 2 truncates toward zero
    };
    for (auto& c : cases) {
        TTrackMetrics m = ComputeMetrics(c.along, c.across, c.knob, c.gap, c.sides);
        EXPECT_EQ(m.K, c.knob);
        EXPECT_EQ(m.L, c.L) << c.along << " " << c.knob;
        EXPECT_EQ(m.S, c.S);
        EXPECT_EQ(m.A, c.A) << c.across;
    }
}

TEST(SliderMetrics, KnobSpansTheTrackBetweenTheSideGaps)
{
    TTrackMetrics m = Vertical150();
    EXPECT_EQ(KnobLeadingEdge(-5000, -5000, 0, m), 5);            // top at the side gap
    EXPECT_EQ(KnobLeadingEdge(0, -5000, 0, m) + 24, 150 - 5);     // bottom at the other one
    EXPECT_EQ(KnobLeadingEdge(-2500, -5000, 0, m), 5 + 58);
    EXPECT_EQ(KnobAcrossEdge(15, m), 12);                         // 15 wide around x = 20
    TTrackMetrics h = Horizontal160();
    EXPECT_EQ(KnobLeadingEdge(1000, 0, 1000, h) + 23, 160 - 5);
    EXPECT_EQ(KnobAcrossEdge(15, h), 5);
}

TEST(SliderMetrics, ValueFromKnobEdge)
{
    TTrackMetrics m = Vertical150();     // L 116, S 17, k/2 12
    struct { int edge, min, max, want; } cases[] = {
        {4, -5000, 0, -5000},
        {5, -5000, 0, -4957},            // (5 - 17 + 12 + 1) * 5000 / 116 = 43
        {63, -5000, 0, -2457},
        {120, -5000, 0, 0},
        {121, -5000, 0, 0},
        {-400, -5000, 0, -5000},         // far outside: clamped
        {900, -5000, 0, 0},
        {60, 100, 100000, 100 + 56 * 99900 / 116},
        {INT_MAX, INT_MIN, INT_MAX, INT_MAX},   // no 64-bit overflow at the extremes
        {INT_MIN, INT_MIN, INT_MAX, INT_MIN},
    };
    for (auto& c : cases) EXPECT_EQ(ValueFromLeadingEdge(c.edge, c.min, c.max, m), c.want) << c.edge;
    // Every value's knob place gives back a value whose knob sits in the same place or one
    // pixel on: a knob dropped where it is does not wander.
    for (int v = -5000; v <= 0; v += 37) {
        int e = KnobLeadingEdge(v, -5000, 0, m);
        int back = KnobLeadingEdge(ValueFromLeadingEdge(e, -5000, 0, m), -5000, 0, m);
        EXPECT_TRUE(back == e || back == e + 1) << v;
    }
}

TEST(SliderMetrics, NothingDividesByZero)
{
    TTrackMetrics m = Vertical150();
    TTrackMetrics none = ComputeMetrics(20, 40, 24, 5, TTickSides::Both);     // L = -14
    TTrackMetrics zero = ComputeMetrics(34, 40, 24, 5, TTickSides::Both);     // L = 0
    for (const TTrackMetrics* t : {&m, &none, &zero}) {
        // Min = Max: the knob at the start, every place reads Min.
        EXPECT_EQ(KnobLeadingEdge(7, 7, 7, *t), t->S - 12);
        EXPECT_EQ(ValueFromLeadingEdge(60, 7, 7, *t), 7);
        EXPECT_EQ(TrackStep(100, 5, 7, 7, 7, 100, *t).NewPosition, 7);
    }
    for (const TTrackMetrics* t : {&none, &zero}) {
        EXPECT_EQ(KnobLeadingEdge(500, 0, 1000, *t), t->S - 12);
        EXPECT_EQ(ValueFromLeadingEdge(60, 0, 1000, *t), 0);
        EXPECT_TRUE(TickLayout(0, 1000, 50, 3, *t).empty());
        TrackStep(10, 5, 500, 0, 1000, 100, *t);
    }
    // An upside-down range gives no track arithmetic either.
    EXPECT_EQ(KnobLeadingEdge(5, 10, 0, m), m.S - 12);
    EXPECT_EQ(ValueFromLeadingEdge(60, 10, 0, m), 10);
}

TEST(SliderTrack, PagesTowardTheMouseThenSnapsUnderIt)
{
    TTrackMetrics m = Vertical150();   // VolSlider: page 500 is 116 * 500 / 5000 = 11 pixels
    int e = KnobLeadingEdge(-5000, -5000, 0, m);         // 5: d = 16 - c
    struct { int c, position; TTrackStep::TKind kind; int want; } cases[] = {
        {100, -5000, TTrackStep::PageForward, -4500},
        {27, -5000, TTrackStep::ToMouse, -5000 + 11 * 5000 / 116},  // a page (11) past the middle
        {28, -5000, TTrackStep::PageForward, -4500},                // one pixel more
        {17, -5000, TTrackStep::ToMouse, -4957},
        {16, -5000, TTrackStep::ToMouse, -5000},
        {0, -5000, TTrackStep::PageBack, -5000},                    // paging past Min clamps
    };
    for (auto& c : cases) {
        TTrackStep s = TrackStep(c.c, e, c.position, -5000, 0, 500, m);
        EXPECT_EQ(s.Kind, c.kind) << c.c;
        EXPECT_EQ(s.NewPosition, c.want) << c.c;
    }
    int bottom = KnobLeadingEdge(0, -5000, 0, m);
    EXPECT_EQ(TrackStep(10, bottom, 0, -5000, 0, 500, m).Kind, TTrackStep::PageBack);
    EXPECT_EQ(TrackStep(10, bottom, 0, -5000, 0, 500, m).NewPosition, -500);
    EXPECT_EQ(TrackStep(10, bottom, -4800, -5000, 0, 500, m).NewPosition, -5000);   // clamped
}

TEST(SliderKeys, KeyboardTable)
{
    struct { TSliderKey key; int position, want; } cases[] = {
        {TSliderKey::PageUp, 300, 200}, {TSliderKey::PageDown, 300, 400},
        {TSliderKey::End, 300, 1000}, {TSliderKey::Home, 300, 0},
        {TSliderKey::LineBack, 300, 290}, {TSliderKey::LineForward, 300, 310},
        {TSliderKey::Centre, 300, 500}, {TSliderKey::PageUp, 50, 0}, {TSliderKey::PageDown, 950, 1000},
    };
    for (auto& c : cases) EXPECT_EQ(KeyPosition(c.key, c.position, 0, 1000, 10, 100), c.want);
    EXPECT_EQ(KeyPosition(TSliderKey::Centre, 0, -5, 0, 1, 1), -2);          // toward zero, not -3
    EXPECT_EQ(KeyPosition(TSliderKey::Centre, 0, 100, 100000, 1, 1), 50050);
    EXPECT_EQ(KeyPosition(TSliderKey::Centre, 0, INT_MIN, INT_MAX, 1, 1), 0);
    EXPECT_EQ(KeyPosition(TSliderKey::PageDown, INT_MAX - 1, INT_MIN, INT_MAX, 1, 100), INT_MAX);
    EXPECT_EQ(KeyPosition(TSliderKey::PageUp, INT_MIN + 1, INT_MIN, INT_MAX, 1, 100), INT_MIN);
}

TEST(SliderTicks, DesignedInstances)
{
    struct { const char* name; int min, max, freq, big; TTrackMetrics m; size_t count; std::vector<int> longs; } cases[] = {
        {"VolSlider", -5000, 0, 500, 1, Vertical150(), 11, {0, 5, 10}},
        {"PanSlider", -10000, 10000, 2500, 1, Horizontal160(), 9, {0, 4, 8}},
        {"FreqSlider", 100, 100000, 10000, 1, Vertical150(), 11, {0, 5, 10}},
        {"PosBar", 0, 1000, 50, 3, Horizontal160(), 21, {0, 5, 10, 15, 20}},
    };
    for (auto& c : cases) {
        auto ticks = TickLayout(c.min, c.max, c.freq, c.big, c.m);
        ASSERT_EQ(ticks.size(), c.count) << c.name;
        EXPECT_EQ(LongIndexes(ticks), c.longs) << c.name;
        EXPECT_EQ(ticks.front().At, c.m.S) << c.name;
        EXPECT_EQ(ticks.back().At, c.m.S + c.m.L) << c.name;
        for (size_t i = 0; i < ticks.size(); ++i)
            EXPECT_EQ(ticks[i].At, c.m.S + static_cast<int>(i) * c.m.L / static_cast<int>(c.count - 1)) << c.name << i;
    }
}

TEST(SliderTicks, TickRuleEdges)
{
    TTrackMetrics m = Vertical150();
    struct { int min, max, freq, big; size_t count; std::vector<int> longs; } cases[] = {
        {0, 50, 50, 3, 2, {0, 1}},           // range not above the frequency: one interval
        {0, 30, 50, 3, 2, {0, 1}},
        {0, 51, 50, 3, 3, {0, 1, 2}},        // two intervals, step 1
        {0, 1000, 0, 3, 2, {0, 1}},          // frequency 0
        {0, 1000, -50, 3, 2, {0, 1}},
        {7, 7, 1, 3, 2, {0, 1}},             // Min = Max
        {0, 1000, 100, 0, 11, {0, 10}},      // no long ticks between the ends
        {0, 1000, 100, -1, 11, {0, 10}},     // a negative count is none
        {0, 1000, 100, 100, 11, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {0, 1000, 100, INT_MAX, 11, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {0, 700, 100, 3, 8, {0, 2, 4, 6, 7}},  // the last tick is long even off the step
    };
    for (auto& c : cases) {
        auto ticks = TickLayout(c.min, c.max, c.freq, c.big, m);
        ASSERT_EQ(ticks.size(), c.count) << c.min << ".." << c.max << " f" << c.freq;
        EXPECT_EQ(LongIndexes(ticks), c.longs) << c.min << ".." << c.max << " f" << c.freq << " b" << c.big;
    }
}

TEST(SliderTicks, MoreIntervalsThanPixelsGiveOneTickAPixelAsDrawingAllWouldShow)
{
    TTrackMetrics m = Vertical150();    // 117 pixels along the track
    for (int n : {117, 118, 300, 1000, 5000}) {
        for (int big : {0, 1, 3, 40, 200}) {
            // The plain rule, drawn one over the other: a long tick wins its pixel.
            std::vector<TTick> want;
            int64_t b = LongTickStep(n, big);
            for (int i = 0; i <= n; ++i) {
                TTick t{m.S + static_cast<int>(static_cast<int64_t>(i) * m.L / n), i == n || i % b == 0};
                if (!want.empty() && want.back().At == t.At) want.back().Long = want.back().Long || t.Long;
                else want.push_back(t);
            }
            auto got = TickLayout(0, n, 1, big, m);
            ASSERT_EQ(got.size(), want.size()) << n << " " << big;
            for (size_t i = 0; i < got.size(); ++i) {
                EXPECT_EQ(got[i].At, want[i].At) << n << " " << big << " " << i;
                EXPECT_EQ(got[i].Long, want[i].Long) << n << " " << big << " " << i;
            }
        }
    }
    // The widest range with frequency 1: four billion intervals, one tick a pixel, at once.
    auto all = TickLayout(INT_MIN, INT_MAX, 1, 3, m);
    ASSERT_EQ(all.size(), static_cast<size_t>(m.L + 1));
    EXPECT_TRUE(all.front().Long);
    EXPECT_TRUE(all.back().Long);
    EXPECT_EQ(LongIndexes(all).size(), 5u);
}

TEST(Gauge, PercentTextAndBarWithoutOverflow)
{
    struct { int width, position, max; const char* text; int bar; } cases[] = {
        {128, 0, 100, "0%", 0},
        {128, 50, 100, "50%", 61},
        {128, 100, 100, "100%", 122},
        {128, 131072, 262143, "50%", 61},                // a file of 262144 bytes, half copied
        {128, 99999999, 99999999, "100%", 122},
        {128, 99999998, 99999999, "99%", 121},
        {128, 2147483647, 2147483647, "100%", 122},
        {128, 1, 2147483647, "0%", 0},
        {128, 0, 0, "0%", 0},                            // no range: empty
        {6, 50, 100, "50%", 0},                          // no well
        {3, 50, 100, "50%", 0},
    };
    for (auto& c : cases) {
        EXPECT_EQ(GaugePercentText(c.position, 0, c.max), c.text) << c.position << "/" << c.max;
        EXPECT_EQ(GaugeBarLength(c.width, c.position, 0, c.max), c.bar) << c.position << "/" << c.max;
    }
    // The position setter's clamp: -5 shows as 0, beyond Max as Max.
    EXPECT_EQ(ClampToRange(-5, 0, 100), 0);
    EXPECT_EQ(ClampToRange(250, 0, 100), 100);
    EXPECT_EQ(ClampToRange(5, 0, -10), -10);         // Max below 0: the bar stays empty
    EXPECT_EQ(GaugeBarLength(128, -10, 0, -10), 0);
    EXPECT_EQ(GaugePercentText(-10, 0, -10), "0%");
    // Another minimum: the bar runs from it.
    EXPECT_EQ(GaugePercentText(150, 100, 200), "50%");
    EXPECT_EQ(GaugeBarLength(128, 150, 100, 200), 61);
}

TEST(Gauge, TextPlaceAndShadowColour)
{
    EXPECT_EQ(GaugeTextX(128, 30), 49);
    EXPECT_EQ(GaugeTextX(128, 31), 49);
    EXPECT_EQ(GaugeTextX(10, 30), -9);               // toward zero
    EXPECT_EQ(GaugeTextY(26, 16), 5);
    EXPECT_EQ(GaugeTextY(10, 16), -3);
    EXPECT_EQ(GaugeLightColor(0x0000FF), 0x9090FFu);  // red: (255, 144, 144)
    EXPECT_EQ(GaugeLightColor(0x000000), 0x909090u);
    EXPECT_EQ(GaugeLightColor(0x706F80), 0xFFFFFFu);  // 0x80 + 144 caps, 0x6F + 144 = 255 exactly
    EXPECT_EQ(GaugeLightColor(0x106F70), 0xA0FFFFu);
}
