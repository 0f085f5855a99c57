// Stops without a click on the DirectSound paths: a buffer being stopped (or moved to another
// place) is not cut where it plays; a ramp to silence is written into it just ahead of what the
// device has taken, the buffer plays it, and is stopped in the silence after it. Samples are
// written, not the volume stepped: the device applies a volume change only between its mixing
// periods (10 ms under Wine), which is a step again. A static buffer gets the bytes it lent to
// the ramp back afterwards, so that it plays as loaded the next time. With SmoothStops off, each
// of these is the plain call.
#pragma once
#include <windows.h>
#include <dsound.h>
#include <cstdint>

// Stops b smoothly (the fade holds a reference of its own, so b may be released meanwhile). The
// stop itself comes once the ramp has played, from a timer on this thread or from the next call
// here that concerns b; then b is stopped with its play cursor at 0, or, with jumpTo >= 0, it
// goes on playing from jumpTo with a ramp up. A ring fades into silence up to its play cursor.
// A buffer already ramping down only changes where it goes afterwards. Not playing: the plain
// stop and rewind, or move of the play cursor.
void FadeOut(IDirectSoundBuffer* b, int32_t jumpTo = -1);
// Before b plays from offset (not 0): ramps its first milliseconds there up from silence.
void RampUpAt(IDirectSoundBuffer* b, uint32_t offset);
// What is pending for b (or for every buffer with null) is done now: waits until the ramp has
// played (a few milliseconds), stops, gives the bytes back.
void FinishFades(IDirectSoundBuffer* b = nullptr);
// Before the buffer starting plays: waits until the other buffers ramping down have been taken
// by the device up to their ramps. What lies before a ramp, between the play and the
// write cursor when it was written, is the device's already and sounds at full level; the device
// mixes in periods (10 ms or more under Wine), and a sound started within the same period as the
// stop would begin under that stretch instead of under the ramp alone. The wait is at most that
// stretch, less whatever time has passed since the stop (the new file's loading).
void AwaitFadesBeginning(IDirectSoundBuffer* starting);
// Whether stops are smooth (the SmoothStops setting).
bool SmoothStops();
