// The arithmetic of the track slider and the progress gauge: where the knob sits, which value a
// knob edge or a track click stands for, where the ticks go, how long the gauge's bar is and
// what its text reads. Everything is integer arithmetic with truncating divisions, formed in
// 64 bits so that no range of 32-bit values overflows, and no division by zero is possible:
// a slider without a range, without a track or with a tick frequency of 0 keeps its knob at
// the start, reads Min and shows only its two end ticks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace slidermath {

enum class TTickSides { BottomRight, TopLeft, Both };

// The derived metrics of a slider. "Along" is the track's direction (y for a vertical slider,
// x for a horizontal one), "across" the other one.
struct TTrackMetrics {
    int K = 0;      // knob length along the track
    int L = 0;      // track length (may be 0 or less on a slider too small for its knob)
    int S = 0;      // track start
    int A = 0;      // the groove's centre across the slider
};

// extentAlong/extentAcross: the slider's height and width (vertical) or width and height
// (horizontal); knobAlong: the knob image's length along the track.
TTrackMetrics ComputeMetrics(int extentAlong, int extentAcross, int knobAlong, int sideGap, TTickSides ticks);
// Only the track start, for a changed side gap.
int TrackStart(int sideGap, int knobAlong);

// v kept within min..max: below min first, then above max (a range given upside down thus
// keeps v at max).
int ClampToRange(int64_t v, int min, int max);

// The knob's leading edge (top or left) for a position.
int KnobLeadingEdge(int position, int min, int max, const TTrackMetrics& m);
// The knob's edge across the track (left for vertical, top for horizontal).
int KnobAcrossEdge(int knobAcross, const TTrackMetrics& m);
// The value a knob leading edge e stands for, clamped to min..max.
int ValueFromLeadingEdge(int e, int min, int max, const TTrackMetrics& m);

// One track step at coordinate c (along the track) with the knob at leading edge e.
struct TTrackStep {
    enum TKind { PageBack, PageForward, ToMouse } Kind;
    int NewPosition;        // clamped to min..max
};
TTrackStep TrackStep(int c, int e, int position, int min, int max, int pageSize, const TTrackMetrics& m);

// The keyboard table: the new position for a virtual key, or false for a key left alone.
enum class TSliderKey { PageUp, PageDown, End, Home, LineBack, LineForward, Centre };
int KeyPosition(TSliderKey key, int position, int min, int max, int lineSize, int pageSize);

// The ticks: interval count n (at least 1), long-tick step b (at least 1), and the ticks drawn,
// in drawing order, each at an offset along the slider. Where ticks share a pixel (more
// intervals than track pixels) one tick is given for the pixel, long if any of them is.
struct TTick {
    int At;         // along the track, slider coordinates
    bool Long;      // 7 pixels, else 4
};
int64_t IntervalCount(int min, int max, int frequency);
int64_t LongTickStep(int64_t n, int nBigTicks);
std::vector<TTick> TickLayout(int min, int max, int frequency, int nBigTicks, const TTrackMetrics& m);
constexpr int LongTick = 7, ShortTick = 4;

// ---- the gauge -----------------------------------------------------------------------------

// The gauge runs from min (0 unless a client sets another) to max.
// Its position is kept within min..max by ClampToRange, as the slider's is.
// The bar's length in a well of (width - 6) pixels; never below 0 nor above the well. An empty
// range counts as 1, so that its bar is empty; a range upside down shows no bar.
int GaugeBarLength(int width, int position, int min, int max);
// The percentage text, "50%"; a gauge without a range (max not above min) reads "0%", as its
// bar is empty.
std::string GaugePercentText(int position, int min, int max);
// Where the centred text starts.
int GaugeTextX(int width, int textWidth);
int GaugeTextY(int height, int textHeight);
// The shadow colour of the text over the bar: each of the bar colour's red, green and blue
// parts raised by 144, capped at 255 (0x00BBGGRR in, 0x00BBGGRR out).
unsigned GaugeLightColor(unsigned rgb);

}  // namespace slidermath
