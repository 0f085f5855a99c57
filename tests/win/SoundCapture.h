// What came out of the sound device: the session's capture (S16LE stereo 44100 Hz, real time,
// bit for bit) searched for a played block and measured for level, pitch and length; and the
// sample data the tests play. Plain functions on bytes, shared by the tests and the benchmarks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace wintest {

constexpr int CaptureRate = 44100;
constexpr int CaptureFrameBytes = 4;

// The first frame-aligned place in capture where the first 8 bytes of block start; -1 if none.
long long FindBlock(const std::vector<char>& capture, const std::vector<char>& block);
// Bytes of block that come out equal from capture[at] on, up to the first difference.
size_t EqualPrefix(const std::vector<char>& capture, long long at, const std::vector<char>& block);
// The same, passing over dropouts: a run of silent frames in the capture after which the block
// goes on exactly where it stopped, or where it would have been by then, is the sound server
// running dry on a busy machine (the data came late, or too late and was dropped by the server;
// nothing was lost or added by the player). A block matched across a dropout of the second kind
// counts the bytes the server dropped as equal. Each one passed over is added to
// *dropouts when given; *end, when given, is where the compared part ends in the capture.
// Block data must hold no silent frame of its own (Noise16's does not).
size_t EqualPrefixAcrossDropouts(const std::vector<char>& capture, long long at, const std::vector<char>& block,
                                 int* dropouts = nullptr, size_t* end = nullptr);

// The non-silent span of a capture (any sample above threshold on either channel), its level
// per channel and its pitch (zero crossings of the louder channel).
struct TSoundMeasure {
    bool Silent = true;
    size_t Start = 0, End = 0;           // frames
    double PeakL = 0, PeakR = 0;
    double RmsL = 0, RmsR = 0;
    double Hz = 0;                       // from whole cycles of the louder channel
    double Ms() const { return (End - Start) * 1000.0 / CaptureRate; }
    // Level in dB relative to a full-scale sine's RMS (32767 / sqrt 2).
    static double Db(double rms);
    // The longest run of silence inside the span, and all runs of 5 frames or more together,
    // in frames. On a busy machine the sound server's dropouts show as such runs; Hz leaves
    // them out.
    size_t LongestGap = 0;
    size_t GapFrames = 0;
    // The length heard, without those runs.
    double HeardMs() const { return (End - Start - GapFrames) * 1000.0 / CaptureRate; }
};
TSoundMeasure MeasureSound(const std::vector<char>& capture, int threshold = 8);

// A WAV file's bytes: a 16-byte format chunk and the data.
std::string WavFile(int rate, int bits, int channels, const std::vector<char>& data);
// Sine data (amp of full scale; 8-bit data is unsigned around 128); channels get the same wave.
std::vector<char> Sine(double hz, double seconds, int rate, int bits, int channels, double amp);
// Noise data of 16-bit stereo frames, none of them silent, from a seed.
std::vector<char> Noise16(size_t frames, unsigned seed);

}  // namespace wintest
