// Streaming playback: a sample plays straight from its mapped file through a 65536-byte ring of
// two halves; the device signals an event each time its play cursor enters a half, and a worker
// thread refills the half that is not playing.
#pragma once
#include <windows.h>
#include <dsound.h>
#include <atomic>
#include <cstdint>
#include "audio/FileWindow.h"
#include "audio/pure/SampleConvert.h"
#include "toolkit/Thread.h"

// The refill thread: waits on StreamState.NotifyEvent and refills the half that is not playing.
// Created once at start-up and never ended before the process.
class TStreamThread : public TThread {
public:
    TStreamThread() : TThread(true) {}
protected:
    void Execute() override;
};

// Shared between the user-interface thread and the refill thread: every word the refill thread
// reads or writes is atomic. The file is read through a window of its own (FileWindow.h): the
// stream holds the mapping and maps the part it plays.
struct StreamStateType {
    bool Ready = false;                            // StartStreaming has run
    // The current ring's notification event: auto-reset, signalled by the device at 0 and 32768.
    // Rings take turns with two events, because a ring that was stopped goes on playing its ramp
    // to silence for a moment, and its notices must not count as the next ring's; the refill
    // thread waits on both and heeds only the current one.
    std::atomic<HANDLE> NotifyEvent{nullptr};
    HANDLE Events[2] = {};
    IDirectSoundBuffer* EventRing[2] = {};         // the ring last given each event (compared only)
    TStreamThread* Thread = nullptr;
    std::atomic<IDirectSoundBuffer*> Buffer{nullptr};   // the ring of the current stream
    HANDLE MapHandle = nullptr;                    // the file mapping; null when no stream is open,
                                                   // or when its small file was read whole
    TFileWindow Window;                            // the view of the part being played (empty: no stream)
    uint64_t DataOffset = 0;                       // where the data chunk's body starts in the file
    std::atomic<int32_t> DataSize{0};              // bytes of sound the ring plays (the data chunk's, or
                                                   // its frames converted to 16-bit)
    TSampleLayout Layout;                          // how the file's frames become the ring's
    std::atomic<int32_t> ReadOffset{0};            // next data byte to copy; runs past DataSize while silence is written
    std::atomic<int32_t> RingMark{0};              // data offset at the end of the half filled at the latest notification
    std::atomic<bool> SecondHalf{false};           // at that notification the play cursor was in the second half
    std::atomic<int> FilledHalf{0};                // the half filled last (0 or 1): the next notice fills the other
    std::atomic<uint16_t> BitsPerSample{16};       // the stream's sample width, for its silence
    std::atomic<bool> Seeked{false};               // a seek since the last refill: the jump is ramped
    // The stop handshake. Running: a stream is open and its file may be read; set when a stream
    // is created, cleared by StopStream. Filling: the refill thread is handling a notification.
    // The thread sets Filling before it looks at Running, and StopStream clears Running before
    // it waits for Filling to clear, so a notification signalled or consumed at any moment around
    // a stop either finishes its refill before the mapping goes or does nothing at all. Window,
    // DataOffset and Layout are only touched by the refill thread while Running, and by the
    // user-interface thread while not.
    std::atomic<bool> Running{false};
    std::atomic<bool> Filling{false};
};

extern StreamStateType StreamState;

// Once at start-up, right after OpenSoundDevice: the notification event and the refill thread.
void StartStreaming();
// At shut-down, before CloseSoundDevice.
void EndStreaming();

// Creates the ring for the stream whose MapHandle, Window, DataOffset and DataSize are set, from
// the static description of its format, fills its first half and sets the notifications. The
// stream owns the mapping from the moment those fields are set: on a failure it releases it,
// and the fixed text is raised. Returns the ring (the caller stores it in the current slot).
IDirectSoundBuffer* CreateStream(const DSBUFFERDESC& description);
// Hands the stream the window's mapping (and its view, which often holds the data already)
// whose data body lies at dataOffset and plays dataSize bytes (of frames converted as layout
// says), then creates the ring as CreateStream does. The window is left empty.
IDirectSoundBuffer* OpenStream(TFileWindow& window, uint64_t dataOffset, int32_t dataSize,
                               const TSampleLayout& layout, const DSBUFFERDESC& description);
// Refills the ring's half at offset 0 or 32768 from the read offset.
void FillHalf(DWORD offset);
// Starts the current stream: play cursor to 0, then play as a ring.
void StartStream();
// Stops the stream and releases its mapping; does nothing when no stream is open. The ring
// stays the current buffer until the reader replaces it or the device is closed.
void StopStream();
// Stops the stream as StopStream does but keeps its file mapped until the TAfterStart around it
// ends: the sound that replaces it starts without waiting for the unmapping.
void StopStreamForNext();
// While one lives, what a new sound's start need not wait for waits until it ends: the file
// of a stream stopped for the next sound (StopStreamForNext), and the file a small sample was
// just read from (each a call to the system that takes a good part of a click's time).
class TAfterStart {
public:
    TAfterStart();
    ~TAfterStart();
    TAfterStart(const TAfterStart&) = delete;
    TAfterStart& operator=(const TAfterStart&) = delete;
};
// Closes a file read whole: now, or while a TAfterStart lives, when it ends.
void CloseAfterStart(HANDLE file);
// Whether a stream holds its file (StopStream lets go of it).
bool StreamOpen();
// Plays the open stream from offset, whether it is playing or has stopped.
void PlayStreamFrom(int32_t offset);
// Offsets of the stream are bytes of the ring's sound (PlayerState.Layout maps them to the file's).
// The next refill continues from offset; the half already filled still plays.
void SeekStream(int32_t offset);
// Looping was switched: the ring mark and read offset go back inside the data.
void StreamLoopChanged();
// The data offset under the play cursor (may be negative or past the data: the caller wraps it).
int32_t StreamPosition();
