#include "audio/pure/PlayerText.h"
#include "toolkit/pure/StrUtils.h"
#include <cstdio>

std::string DeviceStateText(bool useMedia, unsigned rate, unsigned bits, unsigned channels)
{
    if (useMedia) return "Playing through the Media Player";
    return "DirectSound is currently set at\r" + std::to_string(rate) + "Hz " + std::to_string(bits) + "Bit " +
           (channels == 1 ? "MONO " : "STEREO ");
}

std::string EntryNameText(const std::string& fullPath, const std::string& currentFolder)
{
    // A path from elsewhere is never cut inside a character.
    std::string s = currentFolder.size() < fullPath.size()
                        ? fullPath.substr(CharBoundary(fullPath, currentFolder.size())) : std::string();
    size_t dot = s.rfind('.');
    size_t slash = s.find_last_of("\\:");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) s.erase(dot);
    return s;
}

std::string DurationText(long dataSize, unsigned avgBytesPerSec)
{
    // A header claiming no bytes per second gives no duration rather than a division by zero.
    if (avgBytesPerSec == 0) return "?";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(dataSize) / avgBytesPerSec);
    std::string s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

std::string FormatInfoText(unsigned tag, unsigned channels, unsigned rate, unsigned bits, long fileSize,
                           long dataSize, unsigned avgBytesPerSec)
{
    switch (tag) {
    case 1:
        if (bits != 8 && bits != 16) return "Only 8 && 16Bit sounds are\rsupported (will not play)";
        return "PCM " + std::to_string(rate) + "Hz " + std::to_string(bits) + "Bit " +
               (channels == 1 ? "MONO " : "STEREO ") + "\r" + std::to_string(fileSize) + " bytes, " +
               DurationText(dataSize, avgBytesPerSec) + " sec.";
    case 257: return "IBM mu-law sound format\r(unsupported sound format,\rwill not play)";
    case 258: return "IBM a-law sound format\r(unsupported sound format,\rwill not play)";
    case 259: return "IBM ADPCM sound format\r(unsupported sound format,\rwill not play)";
    default: return "Unknown && unsupported sound\rformat... (will not play)";
    }
}

std::string ConvertedInfoText(const TSampleLayout& layout, long fileSize, long dataSize)
{
    return std::string(layout.Float ? "Float " : "PCM ") + std::to_string(layout.Rate) + "Hz " +
           std::to_string(layout.ValidBits) + "Bit " + (layout.Channels == 1 ? "MONO " : "STEREO ") + "\r" +
           std::to_string(fileSize) + " bytes, " + DurationText(dataSize, layout.Rate * layout.FileBlock) + " sec.";
}

std::string FrequencyCaption(long frequency, unsigned sampleRate)
{
    return frequency == static_cast<long>(sampleRate) ? "Frequency" : std::to_string(frequency) + "Hz";
}

int PosBarFromBytes(int64_t p, int32_t dataSize, int barMin, int barMax)
{
    if (p < 0) p += dataSize;
    else if (p > dataSize) p = dataSize;
    uint32_t d = static_cast<uint32_t>(dataSize) >> 8;
    if (d == 0) return -1;
    // In 64 bits: a 32-bit product would wrap for samples above about 530 MB and throw the bar
    // about.
    int64_t scaled = static_cast<int64_t>(static_cast<uint64_t>(p) >> 8) * (barMin + barMax + 1);
    return static_cast<int32_t>(scaled / static_cast<int64_t>(d));
}

uint32_t SeekOffsetFromBar(int32_t dataSize, int position, int barMin, int barMax)
{
    int32_t span = barMin + barMax + 1;
    if (span == 0) return 0;
    int64_t frames = (static_cast<int64_t>(static_cast<uint32_t>(dataSize) >> 8) * position) / span;
    return static_cast<uint32_t>(frames) << 8;
}

int PosBarFromMci(int32_t position, int32_t length, int barMin, int barMax)
{
    if (length <= 0) return -1;
    return static_cast<int32_t>(static_cast<int64_t>(position) * (barMin + barMax + 1) / length);
}

int32_t MciSeekFromBar(int32_t length, int position, int barMin, int barMax)
{
    int32_t span = barMin + barMax + 1;
    if (span == 0) return 0;
    return static_cast<int32_t>(static_cast<int64_t>(length) * position / span);
}

int32_t MciReplyToInt(const std::string& reply)
{
    size_t i = 0, n = reply.size();
    while (i < n && reply[i] == ' ') ++i;
    bool neg = false;
    if (i < n && (reply[i] == '+' || reply[i] == '-')) neg = reply[i++] == '-';
    int base = 10;
    if (i < n && reply[i] == '$') { base = 16; ++i; }
    uint32_t v = 0;
    for (; i < n; ++i) {
        char c = reply[i];
        int d = c >= '0' && c <= '9' ? c - '0'
              : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
              : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0) break;
        v = v * base + d;
    }
    return neg ? static_cast<int32_t>(0u - v) : static_cast<int32_t>(v);
}

std::string MciOpenCommand(const std::string& path)
{
    std::string cmd = "Open " + path + " Alias PlayingMIDI";
    return cmd.size() <= MciCommandMax ? cmd : std::string();
}
