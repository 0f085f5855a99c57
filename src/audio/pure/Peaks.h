// The waveform overview of a sample: the lowest and the highest sample of each stretch of its
// data (a bin), all channels merged, in 16-bit units whatever the file's format. A file's peaks
// have at most PeakBins bins however long it is, so that they cost the same few kilobytes for a
// one-second hit and a one-hour recording; the position bar merges them into its pixel columns.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>
#include "audio/pure/SampleConvert.h"

struct TPeak {
    int16_t Min = 32767, Max = -32768;      // a bin no frame has reached yet: Min above Max
    bool Empty() const { return Min > Max; }
};

constexpr size_t PeakBins = 4096;            // 16 KB of peaks a file
// The first, sampled overview of a long file: a short stretch read at the start of each bin.
// What it costs is the pages it touches of the file's views, each a page fault (about 25 us
// on a loaded machine, more than reading the page), not the bytes: 128 stretches of a page each
// take a few milliseconds, and the bar (about 150 columns) shows each a pixel or two wide until
// the exact overview replaces them.
constexpr size_t CoarseBins = 128;
constexpr size_t CoarseBytes = 4 << 10;      // read for each of its bins

// Whether a sample of this layout can be reduced: 8, 16, 24 or 32-bit integers or 32-bit
// floats, in frames that hold all their channels.
bool PeaksReadable(const TSampleLayout& layout);

class TPeakBins {
public:
    TPeakBins() = default;
    // The bins of a sample of frames frames: bins of them, or one a frame for a shorter one.
    TPeakBins(uint64_t frames, size_t bins);
    // Folds the frames [first, first + n) of the sample, given by data in the file's layout,
    // into their bins.
    void Add(const TSampleLayout& layout, const uint8_t* data, uint64_t first, size_t n);
    // The bin holding frame f, and the first frame of bin b.
    size_t BinOf(uint64_t f) const { return Frames ? size_t(f * Bins.size() / Frames) : 0; }
    uint64_t FirstFrame(size_t b) const { return Bins.empty() ? 0 : (uint64_t(b) * Frames + Bins.size() - 1) / Bins.size(); }
    // The memory the peaks hold.
    size_t Bytes() const { return Bins.capacity() * sizeof(TPeak); }

    std::vector<TPeak> Bins;
    uint64_t Frames = 0;
};


// The overview while the full reduction runs: the full bins below done, the coarse ones (of the
// same sample, any count) for the rest.
TPeakBins MergedPeaks(const TPeakBins& full, size_t done, const TPeakBins& coarse);

// The peaks of columns pixel columns across the whole sample: each column merges the bins it
// covers; with more columns than bins a column shows the bin it lies in.
std::vector<TPeak> ColumnPeaks(const std::vector<TPeak>& bins, int columns);

// The rows a column covers, mirrored around the centre line axis: full scale reaches half
// pixels up and down; silence is the centre row alone.
struct TPeakRows { int Top, Bottom; };  // both drawn
TPeakRows PeakRows(const TPeak& p, int axis, int half);

// The waveform's colour on a background (both 0x00BBGGRR): a deep blue on a light panel, a
// light amber on a dark one.
uint32_t WaveColour(uint32_t background);
