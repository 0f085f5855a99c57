// What the player panel shows and the arithmetic of its sliders and position bar.
#pragma once
#include <cstdint>
#include <string>
#include "audio/pure/SampleConvert.h"

// The info panel's status line while nothing is loaded.
std::string DeviceStateText(bool useMedia, unsigned rate, unsigned bits, unsigned channels);
// The loaded entry's name: its path less the current folder's length, less its extension.
std::string EntryNameText(const std::string& fullPath, const std::string& currentFolder);
// The sample's format line for the DirectSound path.
std::string FormatInfoText(unsigned formatTag, unsigned channels, unsigned rate, unsigned bits, long fileSize,
                           long dataSize, unsigned avgBytesPerSec);
// The format line of a sample that plays converted to 16-bit: the file's own format ("PCM" or
// "Float", its rate, its sample bits, mono or stereo), size and duration (from its frames).
std::string ConvertedInfoText(const TSampleLayout& layout, long fileSize, long dataSize);
// dataSize / avgBytesPerSec with three decimals, stripped of trailing zeros and point.
std::string DurationText(long dataSize, unsigned avgBytesPerSec);
// The frequency box's caption: "Frequency" at the sample's own rate, else "22050Hz".
std::string FrequencyCaption(long frequency, unsigned sampleRate);

// Slider mappings: the volume and frequency sliders are upside down (top = most).
inline long InvertedSliderValue(int min, int max, int position) { return static_cast<long>(max) + min - position; }

// The position bar from a byte offset in the sample (DirectSound path); -1: leave it alone.
int PosBarFromBytes(int64_t p, int32_t dataSize, int barMin, int barMax);
// The byte offset a bar position seeks to: a multiple of 256, on a frame boundary.
uint32_t SeekOffsetFromBar(int32_t dataSize, int position, int barMin, int barMax);
// The media player's position bar; -1: leave it alone (no length known).
int PosBarFromMci(int32_t position, int32_t length, int barMin, int barMax);
// Where the media player seeks to for a bar position.
int32_t MciSeekFromBar(int32_t length, int position, int barMin, int barMax);

// A media control reply read as a number: leading blanks, an optional sign, "$" for
// hexadecimal, then the leading digits; no digit reads as 0.
int32_t MciReplyToInt(const std::string& reply);
// The open command for a path, or "" when it cannot be sent whole within the 255-character
// command buffer.
std::string MciOpenCommand(const std::string& path);
constexpr size_t MciCommandMax = 255;
