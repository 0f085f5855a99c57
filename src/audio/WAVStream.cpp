#include "audio/WAVStream.h"
#include <algorithm>
#include "audio/WAVUnit.h"
#include "audio/SmoothStop.h"
#include "audio/pure/Ramp.h"
#include "audio/pure/StreamRing.h"
#include "toolkit/pure/SysUtils.h"

StreamStateType StreamState;

namespace {
bool Looping() { return PlayerState.LoopCount.load() != 0; }

// Lets go of the stream's mapping; the refill thread has been told to keep off it.
void ReleaseMapping()
{
    StreamState.Window.Assign(nullptr, 0);
    if (StreamState.MapHandle) CloseHandle(StreamState.MapHandle);
    StreamState.MapHandle = nullptr;
}

// The stream's data, read through its window onto the file.
struct TStreamData final : TDataSource {
    bool CopyOut(uint8_t* out, int32_t offset, uint32_t n) override
    {
        return StreamState.Window.Read(StreamState.DataOffset + uint64_t(offset), out, n);
    }
};

// The stream's data converted to 16-bit as the ring is refilled.
TConvertedData ConvertedStreamData()
{
    return TConvertedData(StreamState.Layout, [](uint64_t offset, size_t n) {
        return StreamState.Window.Span(StreamState.DataOffset + offset, n);
    });
}

// A seek lands at the start of the half being filled (region): the half that plays ends on the
// old place, so its last milliseconds ramp down, and the new place ramps up.
void RampSeek(IDirectSoundBuffer* b, DWORD offset, uint8_t* region, DWORD length)
{
    WAVEFORMATEX f = {};
    if (!SmoothStops() || FAILED(b->GetFormat(&f, sizeof(f), nullptr)) || !f.nBlockAlign) return;
    DWORD rate = 0;
    b->GetFrequency(&rate);
    const uint32_t frames = RampFrames(rate ? rate : f.nSamplesPerSec);
    const DWORD bytes = std::min<DWORD>(frames * f.nBlockAlign, DWORD(StreamHalfBytes));
    ApplyRamp(region, std::min(bytes, length), f.wBitsPerSample, f.nChannels, 0, frames, false);
    void *p1 = nullptr, *p2 = nullptr;
    DWORD l1 = 0, l2 = 0;
    const DWORD before = (offset + StreamRingBytes - bytes) % StreamRingBytes;
    if (FAILED(b->Lock(before, bytes, &p1, &l1, &p2, &l2, 0))) return;
    ApplyRamp(static_cast<uint8_t*>(p1), p1 ? l1 : 0, f.wBitsPerSample, f.nChannels, 0, frames, true);
    b->Unlock(p1, l1, p2, l2);
}

// One notification: the play cursor entered a half; the other one is refilled.
void Refill()
{
    // Filling is raised before Running is looked at, and StopStream lowers Running before it
    // looks at Filling (both sequentially consistent), so either this refill sees the stop and
    // touches nothing, or the stop waits until this refill is done with the mapping.
    StreamState.Filling = true;
    DWORD play = 0;
    if (IDirectSoundBuffer* b = StreamState.Running ? StreamState.Buffer.load() : nullptr) b->GetCurrentPosition(&play, nullptr);
    const bool second = play >= DWORD(StreamHalfBytes);
    // A notice whose half to fill is the one filled last marks no crossing (one left over on
    // the event from an earlier ring, say): filling again would skip a half of the data.
    if (StreamState.Running && StreamState.FilledHalf != (second ? 0 : 1)) {
        const bool looping = Looping();
        const int32_t size = StreamState.DataSize;
        // A seek from the user-interface thread between the read and the write wins.
        int32_t mark = StreamState.RingMark;
        StreamState.RingMark.compare_exchange_strong(mark, NextRingMark(mark, looping, size));
        StreamState.SecondHalf = second;
        FillHalf(second ? 0 : StreamHalfBytes);
    }
    StreamState.Filling = false;
}
}

void TStreamThread::Execute()
{
    while (!Terminated()) {
        const DWORD r = WaitForMultipleObjects(2, StreamState.Events, FALSE, INFINITE);
        if (r != WAIT_OBJECT_0 && r != WAIT_OBJECT_0 + 1) break;
        // A notice of a ring that is fading out is not this ring's.
        if (StreamState.Events[r - WAIT_OBJECT_0] == StreamState.NotifyEvent.load()) Refill();
    }
}

void StartStreaming()
{
    if (StreamState.Ready) return;
    // The event and the thread live as long as the process: made once, also if streaming is
    // ended and started again.
    for (HANDLE& e : StreamState.Events)
        if (!e && !(e = CreateEventA(nullptr, FALSE, FALSE, nullptr))) throw Exception(SoundErrors::NotifyEvent);
    if (!StreamState.NotifyEvent) StreamState.NotifyEvent = StreamState.Events[0];
    if (PlayerState.DeviceOpened && !StreamState.Thread) {
        StreamState.Thread = new TStreamThread();
        // A refill must be done while the other half plays, whatever the user-interface
        // thread is busy with.
        StreamState.Thread->SetPriority(tpHigher);
        StreamState.Thread->Resume();
    }
    StreamState.Ready = true;
}

void EndStreaming()
{
    if (!StreamState.Ready) return;
    StopStream();
    StreamState.Ready = false;
}

IDirectSoundBuffer* CreateStream(const DSBUFFERDESC& description)
{
    DSBUFFERDESC d = description;
    d.dwBufferBytes = StreamRingBytes;
    // A ring with notifications, mixed in software, whose play cursor is read as it really is.
    d.dwFlags |= DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_LOCSOFTWARE | DSBCAPS_GETCURRENTPOSITION2;
    IDirectSoundBuffer* ring = nullptr;
    auto fail = [&ring](const char* text) {
        StreamState.Buffer = nullptr;
        if (ring) ring->Release();
        ReleaseMapping();
        throw Exception(text);
    };
    if (!PlayerState.Device || FAILED(PlayerState.Device->CreateSoundBuffer(&d, &ring, nullptr))) {
        ring = nullptr;
        fail(SoundErrors::CreateBuffer);
    }
    StreamState.Buffer = ring;
    StreamState.BitsPerSample = d.lpwfxFormat ? d.lpwfxFormat->wBitsPerSample : PlayerState.Format.wBitsPerSample;
    StreamState.ReadOffset = 0;
    StreamState.RingMark = StreamHalfBytes;
    StreamState.SecondHalf = false;
    StreamState.Seeked = false;
    FillHalf(0);

    // The other event than the previous ring's, which may still be ramping down; a ring before
    // that one is done with it first.
    const int turn = StreamState.NotifyEvent.load() == StreamState.Events[0] ? 1 : 0;
    if (StreamState.EventRing[turn]) FinishFades(StreamState.EventRing[turn]);
    StreamState.EventRing[turn] = ring;
    const HANDLE event = StreamState.Events[turn];
    IDirectSoundNotify* notify = nullptr;
    DSBPOSITIONNOTIFY at[2] = {{0, event}, {DWORD(StreamHalfBytes), event}};
    const bool notified = SUCCEEDED(ring->QueryInterface(IID_IDirectSoundNotify, reinterpret_cast<void**>(&notify))) &&
                          notify && SUCCEEDED(notify->SetNotificationPositions(2, at));
    if (notify) notify->Release();
    if (!notified) fail(SoundErrors::Notifications);

    // A notice left over on the event from an earlier ring finds the first half filled last and
    // does nothing (the refill thread tells), so the event need not be reset here: that is a call
    // to the system on the way from a click to its sound.
    StreamState.NotifyEvent = event;
    StreamState.Running = true;
    return ring;
}

IDirectSoundBuffer* OpenStream(TFileWindow& window, uint64_t dataOffset, int32_t dataSize,
                               const TSampleLayout& layout, const DSBUFFERDESC& description)
{
    StopStream();
    StreamState.Window.Assign(nullptr, 0);
    StreamState.Window.Swap(window);
    StreamState.Window.SetViewBytes(TFileWindow::WindowBytes);
    StreamState.MapHandle = StreamState.Window.Mapping();
    StreamState.DataOffset = dataOffset;
    StreamState.DataSize = dataSize;
    StreamState.Layout = layout;
    return CreateStream(description);
}

void FillHalf(DWORD offset)
{
    IDirectSoundBuffer* b = StreamState.Buffer;
    if (!b) return;
    void *p1 = nullptr, *p2 = nullptr;
    DWORD l1 = 0, l2 = 0;
    if (FAILED(b->Lock(offset, StreamHalfBytes, &p1, &l1, &p2, &l2, 0))) return;   // the half plays its old sound again
    TStreamData plain;
    TConvertedData converted = ConvertedStreamData();
    TDataSource& data = StreamState.Layout.Converts ? static_cast<TDataSource&>(converted) : plain;
    // Taken before the offset, so that a seek made meanwhile is ramped at the next refill.
    const bool seeked = StreamState.Seeked.exchange(false);
    int32_t from = StreamState.ReadOffset;
    const TRefill r = FillRegion(static_cast<uint8_t*>(p1), l1, data, StreamState.DataSize, from, Looping(),
                                 StreamState.BitsPerSample);
    if (seeked) RampSeek(b, offset, static_cast<uint8_t*>(p1), l1);
    // A seek made meanwhile says where the next refill starts.
    StreamState.ReadOffset.compare_exchange_strong(from, r.ReadOffset);
    b->Unlock(p1, l1, p2, l2);
    StreamState.FilledHalf = offset ? 1 : 0;
    // The ring has played the data and is starting on a half of silence.
    if (r.Stop) b->Stop();
}

void StartStream()
{
    IDirectSoundBuffer* b = PlayerState.CurrentBuffer;
    if (!b) return;
    AwaitFadesBeginning(b);
    b->SetCurrentPosition(0);
    // The ring is a loop for DirectSound; the end of the sample is handled by writing silence
    // and stopping from the refill thread.
    if (FAILED(b->Play(0, 0, DSBPLAY_LOOPING))) throw Exception(SoundErrors::Play);
}

namespace {
// What waits until the next sound has started: the file of a stream stopped for it, and the
// file a small sample was read whole from.
TFileWindow StoppedWindow;
HANDLE StoppedMapping = nullptr;
HANDLE ReadFileLater = nullptr;
int AfterStartDepth = 0;

void ReleaseStoppedStream()
{
    StoppedWindow.Assign(nullptr, 0);
    if (StoppedMapping) CloseHandle(StoppedMapping);
    StoppedMapping = nullptr;
}

void Stop(bool fileLater)
{
    if (!StreamOpen()) return;
    StreamState.Running = false;
    // A refill under way copies at most one half; it is over in a moment.
    while (StreamState.Filling) Sleep(0);
    // The ring holds its sound: it ramps down from there without the file.
    if (IDirectSoundBuffer* b = StreamState.Buffer) FadeOut(b);
    ReleaseStoppedStream();
    if (!fileLater) return ReleaseMapping();
    StoppedWindow.Swap(StreamState.Window);
    StoppedMapping = StreamState.MapHandle;
    StreamState.MapHandle = nullptr;
}
}

void StopStream() { Stop(false); }

void StopStreamForNext() { Stop(true); }

TAfterStart::TAfterStart() { ++AfterStartDepth; }

TAfterStart::~TAfterStart()
{
    if (--AfterStartDepth > 0) return;
    ReleaseStoppedStream();
    if (ReadFileLater) CloseHandle(ReadFileLater);
    ReadFileLater = nullptr;
}

void CloseAfterStart(HANDLE file)
{
    if (AfterStartDepth == 0) {
        CloseHandle(file);
        return;
    }
    if (ReadFileLater) CloseHandle(ReadFileLater);
    ReadFileLater = file;
}

bool StreamOpen() { return StreamState.Window.FileSize() != 0; }

void PlayStreamFrom(int32_t offset)
{
    IDirectSoundBuffer* b = StreamState.Buffer;
    if (!StreamOpen() || !b || b != PlayerState.CurrentBuffer) return;
    b->Stop();
    // The ring is filled afresh as when it was made: the refill thread keeps off it meanwhile,
    // and a notice left from before the stop does not count.
    StreamState.Running = false;
    while (StreamState.Filling) Sleep(0);
    StreamState.ReadOffset = offset;
    StreamState.RingMark = offset + StreamHalfBytes;
    StreamState.SecondHalf = false;
    StreamState.Seeked = offset > 0;          // a start from the middle comes up from silence
    FillHalf(0);
    ResetEvent(StreamState.NotifyEvent);
    StreamState.Running = true;
    StartStream();
}

void SeekStream(int32_t offset)
{
    StreamState.RingMark = offset;
    StreamState.ReadOffset = offset;
    // A ring that is not playing yet starts where it is told; one that plays jumps, ramped.
    DWORD status = 0;
    IDirectSoundBuffer* b = StreamState.Buffer;
    StreamState.Seeked = b && SUCCEEDED(b->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
}

void StreamLoopChanged()
{
    const int32_t size = StreamState.DataSize;
    if (size <= 0) return;
    const int32_t mark = FoldIntoData(StreamState.RingMark, size);
    StreamState.RingMark = mark;
    StreamState.ReadOffset = mark;
}

int32_t StreamPosition()
{
    return StreamPositionEstimate(StreamState.RingMark, uint32_t(GetPlayCursor()), StreamState.SecondHalf);
}
