#include "audio/pure/Ramp.h"
#include <algorithm>

uint32_t RampFrames(uint32_t rate) { return std::max<uint32_t>(1, uint32_t(uint64_t(rate) * RampMilliseconds / 1000)); }

uint32_t ApplyRamp(uint8_t* data, uint32_t bytes, int bitsPerSample, int channels, uint32_t first,
                   uint32_t rampFrames, bool down)
{
    const uint32_t width = bitsPerSample == 8 ? 1 : 2;
    const uint32_t block = width * uint32_t(std::max(channels, 1));
    if (!data || rampFrames == 0) return first;
    const uint32_t frames = bytes / block;
    uint32_t k = first;
    for (uint32_t f = 0; f < frames; ++f, ++k) {
        if (!down && k >= rampFrames) return first + frames;
        // Parts of rampFrames that this frame keeps.
        const int32_t keep = down ? int32_t(rampFrames) - 1 - int32_t(std::min(k, rampFrames)) : int32_t(k) + 1;
        const int32_t parts = std::max(keep, 0);
        uint8_t* p = data + size_t(f) * block;
        for (uint32_t s = 0; s < block; s += width) {
            if (width == 1) {
                const int32_t v = int32_t(p[s]) - 128;
                p[s] = uint8_t(128 + v * parts / int32_t(rampFrames));
            } else {
                const int32_t v = int16_t(uint16_t(p[s] | p[s + 1] << 8));
                const int32_t out = v * parts / int32_t(rampFrames);
                p[s] = uint8_t(out & 0xFF);
                p[s + 1] = uint8_t((out >> 8) & 0xFF);
            }
        }
    }
    return k;
}

TFadePlan PlanFade(uint32_t size, uint32_t play, uint32_t write, uint32_t block, uint32_t rampBytes,
                   uint32_t wantedBytes, bool looping)
{
    TFadePlan plan;
    if (size == 0 || block == 0 || play >= size || write >= size) return plan;
    plan.Start = write / block * block;
    // What the play cursor has yet to reach before it comes back to where it stands.
    const uint32_t lead = (plan.Start + size - play) % size;
    uint32_t room = size - lead;
    // Played once, the buffer ends at its last byte: a write cursor that has wrapped past the
    // end means the end is already the device's.
    if (!looping) room = plan.Start >= play ? std::min(room, size - plan.Start) : 0;
    plan.Length = std::min(wantedBytes, room) / block * block;
    plan.RampBytes = std::min(rampBytes / block * block, plan.Length);
    return plan;
}

bool CursorPassed(uint32_t size, uint32_t from, uint32_t to, uint32_t now)
{
    if (size == 0) return true;
    return (now + size - from) % size >= (to + size - from) % size;
}
