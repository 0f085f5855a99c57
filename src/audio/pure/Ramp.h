// Smooth stops: a sound cut in the middle of its waveform clicks, so a stop writes a short ramp
// to silence into the buffer just ahead of what the device has already taken, lets it play, and
// stops the buffer in the silence after it; a start from the middle of a sample ramps up from
// silence the same way. The arithmetic of it, platform-free.
#pragma once
#include <cstdint>

constexpr uint32_t RampMilliseconds = 4;

// Frames of a ramp at the rate a buffer plays (at least one).
uint32_t RampFrames(uint32_t rate);

// Scales interleaved frames of 8-bit (unsigned) or 16-bit (signed) samples by a straight ramp of
// rampFrames frames, 'first' being the ramp's frame at data: down, frame k keeps (rampFrames-1-k)
// of rampFrames parts, and frames at or past the ramp's end become silence; up, frame k keeps
// (k+1) parts, and frames past the end are left alone. Returns the ramp frame after the last one
// done, so that a ramp split over a ring's two regions goes on where it left off.
uint32_t ApplyRamp(uint8_t* data, uint32_t bytes, int bitsPerSample, int channels, uint32_t first,
                   uint32_t rampFrames, bool down);

// Where a stop writes its ramp: from the write cursor (what lies before it is the device's
// already), the ramp and then silence, as far as wanted but never into the stretch between the
// play and the write cursor, which the play cursor reaches again after a lap. A buffer that plays
// once is written up to its end only; one whose end lies before the write cursor ends by itself
// (Length 0). Offsets are bytes of a buffer of size bytes, cut to whole frames of block bytes.
struct TFadePlan {
    uint32_t Start = 0;          // where the ramp begins
    uint32_t Length = 0;         // ramp and silence, bytes (may wrap round the buffer's end)
    uint32_t RampBytes = 0;      // of which the ramp
};
TFadePlan PlanFade(uint32_t size, uint32_t play, uint32_t write, uint32_t block, uint32_t rampBytes,
                   uint32_t wantedBytes, bool looping);

// Whether a play cursor that stood at 'from' has played up to 'to' now that it stands at 'now'
// (it moves forward and wraps round a buffer of size bytes, less than a lap in between).
bool CursorPassed(uint32_t size, uint32_t from, uint32_t to, uint32_t now);
