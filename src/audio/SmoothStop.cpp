#include "audio/SmoothStop.h"
#include <algorithm>
#include <cstring>
#include <vector>
#include "app/pure/AppConfig.h"
#include "audio/pure/Ramp.h"

namespace {
// How long a static buffer is silenced after its ramp: the time its stop may take to come
// (a timer tick on a busy interface thread). A ring is silenced whole.
constexpr uint32_t SilenceMilliseconds = 400;
// A ramp the device has not played by then (it stalled) is ended all the same.
constexpr DWORD FadeTimeout = 1000;
constexpr UINT PollInterval = 10;
// How long a new sound waits at most for the sounds ramping down to reach their ramps; a device
// that takes no sound for that long has stalled, and the new one starts all the same.
constexpr DWORD BeginTimeout = 100;

struct TBufferInfo {
    uint32_t Size = 0, Block = 0, Rate = 0;
    int Bits = 16, Channels = 2;
    bool Ring = false, Looping = false, Playing = false;
};

bool Describe(IDirectSoundBuffer* b, TBufferInfo& i)
{
    DSBCAPS caps = {};
    caps.dwSize = sizeof(caps);
    WAVEFORMATEX f = {};
    DWORD status = 0, rate = 0;
    if (FAILED(b->GetCaps(&caps)) || FAILED(b->GetFormat(&f, sizeof(f), nullptr)) || FAILED(b->GetStatus(&status)))
        return false;
    b->GetFrequency(&rate);
    i.Size = caps.dwBufferBytes;
    i.Block = std::max<uint32_t>(f.nBlockAlign, 1);
    i.Bits = f.wBitsPerSample;
    i.Channels = f.nChannels;
    i.Rate = rate ? rate : f.nSamplesPerSec;
    // The streaming ring is the buffer with notifications.
    i.Ring = (caps.dwFlags & DSBCAPS_CTRLPOSITIONNOTIFY) != 0;
    i.Looping = (status & DSBSTATUS_LOOPING) != 0;
    i.Playing = (status & DSBSTATUS_PLAYING) != 0;
    return i.Size > 0;
}

// A ramp written into a buffer, and what becomes of the buffer once it has played.
struct TFade {
    IDirectSoundBuffer* Buffer = nullptr;       // a reference of the fade's own
    TBufferInfo Info;
    uint32_t From = 0, Until = 0;              // the play cursor when written; the ramp's end
    uint32_t Begins = 0;                       // where the ramp down begins (the write cursor then)
    DWORD Started = 0;
    bool Down = true;                          // a ramp down (then a stop or a jump) or up
    int32_t JumpTo = -1;
    uint32_t SavedAt = 0;
    std::vector<uint8_t> Saved;                // the bytes the ramp took, for a static buffer
};

std::vector<TFade> Fades;
UINT_PTR Timer = 0;

// Ramps [at, at + length) of b (round the end of the buffer if need be), keeping its bytes in
// f.Saved unless it is a ring.
bool WriteRamp(TFade& f, uint32_t at, uint32_t length, uint32_t rampFrames)
{
    void *p1 = nullptr, *p2 = nullptr;
    DWORD l1 = 0, l2 = 0;
    if (length == 0 || FAILED(f.Buffer->Lock(at, length, &p1, &l1, &p2, &l2, 0))) return false;
    auto* a = static_cast<uint8_t*>(p1);
    auto* b = static_cast<uint8_t*>(p2);
    if (!f.Info.Ring) {
        f.SavedAt = at;
        f.Saved.assign(a, a + (a ? l1 : 0));
        if (b) f.Saved.insert(f.Saved.end(), b, b + l2);
    }
    const uint32_t k = ApplyRamp(a, a ? l1 : 0, f.Info.Bits, f.Info.Channels, 0, rampFrames, f.Down);
    ApplyRamp(b, b ? l2 : 0, f.Info.Bits, f.Info.Channels, k, rampFrames, f.Down);
    f.Buffer->Unlock(p1, l1, p2, l2);
    return true;
}

void GiveBytesBack(TFade& f)
{
    if (f.Saved.empty()) return;
    void *p1 = nullptr, *p2 = nullptr;
    DWORD l1 = 0, l2 = 0;
    if (FAILED(f.Buffer->Lock(f.SavedAt, DWORD(f.Saved.size()), &p1, &l1, &p2, &l2, 0))) return;
    const DWORD n1 = std::min<DWORD>(l1, DWORD(f.Saved.size()));
    if (p1) std::memcpy(p1, f.Saved.data(), n1);
    if (p2) std::memcpy(p2, f.Saved.data() + n1, std::min<DWORD>(l2, DWORD(f.Saved.size()) - n1));
    f.Buffer->Unlock(p1, l1, p2, l2);
    f.Saved.clear();
}

bool RampPlayed(const TFade& f)
{
    DWORD status = 0, play = 0;
    if (FAILED(f.Buffer->GetStatus(&status)) || !(status & DSBSTATUS_PLAYING)) return true;
    if (GetTickCount() - f.Started > FadeTimeout) return true;
    f.Buffer->GetCurrentPosition(&play, nullptr);
    return CursorPassed(f.Info.Size, f.From, f.Until, play);
}

// Whether the device has taken the buffer's sound up to where its ramp down begins: from there
// on, what it mixes of the buffer fades and falls silent.
bool RampBegun(const TFade& f)
{
    DWORD status = 0, play = 0;
    if (FAILED(f.Buffer->GetStatus(&status)) || !(status & DSBSTATUS_PLAYING)) return true;
    f.Buffer->GetCurrentPosition(&play, nullptr);
    return CursorPassed(f.Info.Size, f.From, f.Begins, play);
}

void Poll();
void CALLBACK PollTimer(HWND, UINT, UINT_PTR, DWORD) { Poll(); }

void KeepPolling()
{
    if (Fades.empty() && Timer) {
        KillTimer(nullptr, Timer);
        Timer = 0;
    } else if (!Fades.empty() && !Timer) {
        Timer = SetTimer(nullptr, 0, PollInterval, &PollTimer);
    }
}

// Writes a ramp up at offset and keeps it until it has played.
void AddRampUp(IDirectSoundBuffer* b, const TBufferInfo& info, uint32_t offset)
{
    if (offset >= info.Size) return;
    TFade f;
    f.Buffer = b;
    f.Info = info;
    f.Down = false;
    const uint32_t ramp = RampFrames(info.Rate) * info.Block;
    const uint32_t length = std::min(ramp, (info.Size - offset) / info.Block * info.Block);
    if (!WriteRamp(f, offset, length, RampFrames(info.Rate))) return;
    b->AddRef();
    f.From = offset;
    f.Until = (offset + length) % info.Size;
    f.Started = GetTickCount();
    Fades.push_back(std::move(f));
    KeepPolling();
}

// The ramp has played: a ramp down stops the buffer in the silence after it (or jumps), and
// both give the buffer its bytes back.
void Complete(TFade f)
{
    IDirectSoundBuffer* b = f.Buffer;
    if (f.Down) {
        const DWORD flags = f.Info.Looping ? DSBPLAY_LOOPING : 0;
        b->Stop();
        GiveBytesBack(f);
        if (f.JumpTo >= 0) {
            AddRampUp(b, f.Info, uint32_t(f.JumpTo));
            b->SetCurrentPosition(DWORD(f.JumpTo));
            b->Play(0, 0, flags);
        } else {
            b->SetCurrentPosition(0);
        }
    } else {
        GiveBytesBack(f);
    }
    b->Release();
}

// Completes the fades of b (all with null) whose ramps have played; waiting, all of them.
void Settle(IDirectSoundBuffer* b, bool wait)
{
    for (bool again = true; again;) {
        again = false;
        for (size_t i = 0; i < Fades.size(); ++i) {
            if (b && Fades[i].Buffer != b) continue;
            if (!RampPlayed(Fades[i])) {
                if (!wait) continue;
                while (!RampPlayed(Fades[i])) Sleep(1);
            }
            TFade f = std::move(Fades[i]);
            Fades.erase(Fades.begin() + std::ptrdiff_t(i));
            Complete(std::move(f));         // may add a ramp up: looked at on the next pass
            again = true;
            break;
        }
    }
    KeepPolling();
}

void Poll() { Settle(nullptr, false); }

void PlainStop(IDirectSoundBuffer* b, int32_t jumpTo)
{
    if (jumpTo >= 0) {
        b->SetCurrentPosition(DWORD(jumpTo));
    } else {
        b->Stop();
        b->SetCurrentPosition(0);
    }
}
}

bool SmoothStops() { return AppSettings.SmoothStops; }

void FadeOut(IDirectSoundBuffer* b, int32_t jumpTo)
{
    if (!b) return;
    for (TFade& f : Fades)
        if (f.Buffer == b && f.Down) {
            f.JumpTo = jumpTo;
            return;
        }
    FinishFades(b);
    TBufferInfo info;
    if (!SmoothStops() || !Describe(b, info) || !info.Playing) return PlainStop(b, jumpTo);
    DWORD play = 0, write = 0;
    b->GetCurrentPosition(&play, &write);
    // Still at its start: nothing of it has gone to the device, and a cut is silent (a line
    // clicked plays once on the press and again as the press turns out not to be a drag).
    if (play == 0) return PlainStop(b, jumpTo);
    const uint32_t rampFrames = RampFrames(info.Rate);
    const uint32_t silence = info.Ring ? info.Size : uint32_t(uint64_t(info.Rate) * SilenceMilliseconds / 1000) * info.Block;
    const TFadePlan plan =
        PlanFade(info.Size, play, write, info.Block, rampFrames * info.Block, rampFrames * info.Block + silence, info.Looping);
    TFade f;
    f.Buffer = b;
    f.Info = info;
    f.JumpTo = jumpTo;
    // Near the end of a buffer that plays once, a shorter ramp that still reaches silence.
    if (plan.Length > 0 && !WriteRamp(f, plan.Start, plan.Length, std::max<uint32_t>(plan.RampBytes / info.Block, 1)))
        return PlainStop(b, jumpTo);
    b->AddRef();
    f.From = play;
    // Nothing written: the buffer's own end is the device's already, and it stops there.
    f.Until = plan.Length > 0 ? (plan.Start + plan.RampBytes) % info.Size : (play + info.Size - info.Block) % info.Size;
    f.Begins = plan.Length > 0 ? plan.Start : f.Until;
    f.Started = GetTickCount();
    Fades.push_back(std::move(f));
    KeepPolling();
}

void RampUpAt(IDirectSoundBuffer* b, uint32_t offset)
{
    TBufferInfo info;
    if (!b || offset == 0 || !SmoothStops() || !Describe(b, info)) return;
    AddRampUp(b, info, offset);
}

void FinishFades(IDirectSoundBuffer* b) { Settle(b, true); }

void AwaitFadesBeginning(IDirectSoundBuffer* starting)
{
    const DWORD since = GetTickCount();
    for (const TFade& f : Fades) {
        if (!f.Down || f.Buffer == starting) continue;
        while (!RampBegun(f) && GetTickCount() - since < BeginTimeout) Sleep(1);
    }
}
