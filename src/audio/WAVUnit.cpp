#include "audio/WAVUnit.h"
#include <algorithm>
#include <cstring>
#include "app/pure/AppConfig.h"
#include "audio/FileWindow.h"
#include "audio/SmoothStop.h"
#include "audio/WAVStream.h"
#include "audio/pure/StreamRing.h"
#include "audio/pure/WavChunks.h"
#include "toolkit/LateBound.h"
#include "toolkit/pure/SysUtils.h"

namespace {
// DirectSound is loaded when the device is first opened, not with the program: it brings up
// the system's sound drivers, which costs a good part of a second, and a run that plays through
// the media player never needs it.
HRESULT CreateDirectSound(IDirectSound** device)
{
    using CreateFn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);
    static CreateFn create = LateBound<CreateFn>("dsound.dll", "DirectSoundCreate");
    return create ? create(nullptr, device, nullptr) : E_FAIL;
}
}

PlayerStateType PlayerState;
TLoadingDisplay LoadingDisplay;

namespace {
template <class T>
void ReleaseAndClear(T*& p)
{
    if (p) {
        p->Release();
        p = nullptr;
    }
}

DWORD PlayFlags() { return PlayerState.LoopCount != 0 ? DSBPLAY_LOOPING : 0; }
}

void OpenSoundDevice(HWND window)
{
    if (PlayerState.DeviceOpened) return;
    PlayerState.DeviceOpened = true;
    if (AppSettings.UseMedia) return;

    // A device that fails half-way is let go of whole, so that the player never talks to a
    // device without a primary buffer and a later open starts clean.
    auto fail = [](const char* text) {
        ReleaseAndClear(PlayerState.PrimaryBuffer);
        ReleaseAndClear(PlayerState.Device);
        throw Exception(text);
    };
    if (FAILED(CreateDirectSound(&PlayerState.Device))) {
        PlayerState.Device = nullptr;
        fail(SoundErrors::CreateDevice);
    }
    if (FAILED(PlayerState.Device->SetCooperativeLevel(window, DSSCL_PRIORITY))) fail(SoundErrors::CooperativeLevel);

    DSBUFFERDESC primary = {};
    primary.dwSize = sizeof(primary);
    primary.dwFlags = DSBCAPS_PRIMARYBUFFER;
    if (FAILED(PlayerState.Device->CreateSoundBuffer(&primary, &PlayerState.PrimaryBuffer, nullptr))) {
        PlayerState.PrimaryBuffer = nullptr;
        fail(SoundErrors::CreatePrimary);
    }
    WAVEFORMATEX pcm = {};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = 2;
    pcm.nSamplesPerSec = 44100;
    pcm.nAvgBytesPerSec = 176400;
    pcm.nBlockAlign = 4;
    pcm.wBitsPerSample = 16;
    // The device may keep another format; the info panel reads back the one in force.
    PlayerState.PrimaryBuffer->SetFormat(&pcm);
}

void CloseSoundDevice()
{
    // The refill thread must be done with the ring before it goes; what plays ramps down
    // before the device goes with it.
    StopStream();
    StopCurrent();
    FinishFades();
    if (StreamState.Buffer.load() == PlayerState.CurrentBuffer) StreamState.Buffer = nullptr;
    PlayerState.DeviceOpened = false;
    ReleaseAndClear(PlayerState.CurrentBuffer);
    ReleaseAndClear(PlayerState.PrimaryBuffer);
    ReleaseAndClear(PlayerState.Device);
}

DSBUFFERDESC StaticBufferDescription(const WAVEFORMATEX* format, DWORD bytes)
{
    DSBUFFERDESC d = {};
    d.dwSize = sizeof(d);
    // Static, with frequency, pan and volume control; audible while another program has the
    // focus; the play cursor as it really is.
    d.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
    d.dwBufferBytes = bytes;
    d.lpwfxFormat = const_cast<WAVEFORMATEX*>(format);
    return d;
}

void CreateStaticBuffer(const DSBUFFERDESC& description, const void* data, IDirectSoundBuffer*& slot,
                        int dataFileOffset, const TSampleLayout* layout)
{
    const bool converts = layout && layout->Converts && layout->PlayedBlock;
    // DirectSound makes no buffer under DSBSIZE_MIN bytes; an empty or nearly empty sample gets
    // one that size, padded with silence, and so plays as the nothing it is instead of failing.
    const DWORD dataBytes = description.dwBufferBytes;
    DSBUFFERDESC d = description;
    d.dwBufferBytes = std::max<DWORD>(dataBytes, DSBSIZE_MIN);
    if (!PlayerState.Device || FAILED(PlayerState.Device->CreateSoundBuffer(&d, &slot, nullptr))) {
        slot = nullptr;
        throw Exception(SoundErrors::CreateBuffer);
    }
    // A buffer that could not be filled is not kept: it would play whatever the memory held.
    auto fail = [&slot](const char* text) {
        ReleaseAndClear(slot);
        throw Exception(text);
    };
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD l1 = 0, l2 = 0;
    if (FAILED(slot->Lock(0, d.dwBufferBytes, &p1, &l1, &p2, &l2, 0))) fail(SoundErrors::LockBuffer);
    if (p1) {
        auto* out = static_cast<uint8_t*>(p1);
        const auto* in = static_cast<const uint8_t*>(data);
        const DWORD fromData = std::min(l1, dataBytes);
        for (DWORD done = 0; done < fromData;) {
            const DWORD n = std::min(StaticCopySlice, fromData - done);
            DWORD read = done + n;
            if (converts) {
                // Slices of whole frames: 131072 bytes hold 32768 or 65536 of them.
                const DWORD frames = n / layout->PlayedBlock;
                ConvertFrames(*layout, in + size_t(done / layout->PlayedBlock) * layout->FileBlock, frames, out + done);
                read = (done / layout->PlayedBlock + frames) * layout->FileBlock;
            } else {
                std::memcpy(out + done, in + done, n);
            }
            done += n;
            if (LoadingDisplay.Progress) LoadingDisplay.Progress(dataFileOffset + int(read));
        }
        if (l1 > fromData) std::memset(out + fromData, SilenceByte(d.lpwfxFormat ? d.lpwfxFormat->wBitsPerSample : 16), l1 - fromData);
    }
    if (FAILED(slot->Unlock(p1, l1, p2, l2))) fail(SoundErrors::UnlockBuffer);
}

void StartCurrent()
{
    IDirectSoundBuffer* b = PlayerState.CurrentBuffer;
    if (!b) return;
    // From the top, bit for bit: still playing (its line clicked again), it ramps down first; a
    // ramp still playing in it is done and its bytes are back; the sound it replaces has reached
    // its ramp.
    FadeOut(b);
    FinishFades(b);
    AwaitFadesBeginning(b);
    b->SetCurrentPosition(0);
    if (FAILED(b->Play(0, 0, PlayFlags()))) throw Exception(SoundErrors::Play);
}

void StopCurrent()
{
    if (IDirectSoundBuffer* b = PlayerState.CurrentBuffer) FadeOut(b);
}

void ApplyVolume()
{
    if (PlayerState.CurrentBuffer) PlayerState.CurrentBuffer->SetVolume(PlayerState.Volume);
}

void ApplyPan()
{
    if (PlayerState.CurrentBuffer) PlayerState.CurrentBuffer->SetPan(PlayerState.Pan);
}

void ApplyFrequency()
{
    if (PlayerState.CurrentBuffer) PlayerState.CurrentBuffer->SetFrequency(PlayerState.Frequency);
}

void ApplyLoopFlag()
{
    IDirectSoundBuffer* b = PlayerState.CurrentBuffer;
    if (!b) return;
    FinishFades(b);
    // A stopped buffer that starts again from where a seek put it comes up from silence.
    DWORD status = 0, play = 0;
    if (SUCCEEDED(b->GetStatus(&status)) && !(status & DSBSTATUS_PLAYING)) {
        b->GetCurrentPosition(&play, nullptr);
        RampUpAt(b, play);
    }
    b->Play(0, 0, PlayFlags());
}

int32_t GetPlayCursor()
{
    DWORD play = 0;
    if (PlayerState.CurrentBuffer) PlayerState.CurrentBuffer->GetCurrentPosition(&play, nullptr);
    return int32_t(play);
}

void SetPlayCursor(int32_t offset)
{
    // While it plays, the sound ramps down where it is and up again at the new place.
    if (PlayerState.CurrentBuffer) FadeOut(PlayerState.CurrentBuffer, offset);
}

bool CurrentPlaying()
{
    DWORD status = 0;
    return PlayerState.CurrentBuffer && SUCCEEDED(PlayerState.CurrentBuffer->GetStatus(&status)) &&
           (status & DSBSTATUS_PLAYING);
}

bool GetPrimaryFormat(WAVEFORMATEX& format)
{
    format = {};
    if (!PlayerState.PrimaryBuffer) return false;
    PlayerState.PrimaryBuffer->GetFormat(&format, sizeof(format), nullptr);
    return true;
}

namespace {
// The reader's hold on the mapped file and on the loading box: released on every way out of
// LoadWaveFile, exceptions included, unless a stream took the mapping over.
struct TReaderHold {
    HANDLE Mapping = nullptr;
    TFileWindow Window;
    bool BoxShown = false;
    ~TReaderHold()
    {
        Window.Release();
        if (Mapping) CloseHandle(Mapping);
        if (BoxShown && LoadingDisplay.Hide) LoadingDisplay.Hide();
    }
};
}

int LoadWaveFile(const std::string& path, IDirectSoundBuffer*& slot)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD sizeHigh = 0;
    const DWORD sizeLow = GetFileSize(file, &sizeHigh);
    PlayerState.FileSize = int32_t(sizeLow);
    const uint64_t size = uint64_t(sizeHigh) << 32 | sizeLow;

    TReaderHold hold;
    if (size < uint64_t(LoadingBoxThreshold)) {
        // Small enough to load without the loading box: read whole, at once (a stream then
        // plays from the bytes read; the file is closed once the sound has started).
        const bool read = hold.Window.ReadWhole(file, size);
        CloseAfterStart(file);
        if (!read) return 4;
    } else {
        hold.Mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        CloseHandle(file);                       // the mapping keeps the file open
        if (!hold.Mapping) return 4;
        // The file is looked at through a window: only the headers are read here, and the data
        // is mapped when it is copied or played, so that a file larger than the free address
        // space still streams.
        hold.Window.Assign(hold.Mapping, size);
        if (!hold.Window.Span(0, 0)) return 4;
    }

    if (size >= uint64_t(LoadingBoxThreshold) && !AppSettings.Streaming) {
        hold.BoxShown = true;
        if (LoadingDisplay.Show) LoadingDisplay.Show(int(std::min<uint64_t>(size - 1, INT32_MAX)));
    }

    const TWaveScan scan = ScanWave(
        [&hold](uint64_t offset, void* out, size_t n) { return hold.Window.Read(offset, out, n); }, size,
        AppSettings.HiRes);
    if (scan.ReadFailed) return 4;
    if (scan.HasFormat) {
        std::memcpy(&PlayerState.Format, scan.Format.Bytes.data(), sizeof(WAVEFORMATEX));
        PlayerState.Layout = scan.Layout;
    }
    if (!scan.HasData) return 2;
    PlayerState.DataSize = scan.DataSize;
    if (scan.Result != 0) return scan.Result;

    // DirectSound takes the format from the reader's copy of the file's 18 bytes, which stays
    // whole even where the file ends inside them. A converted sample is played as 16-bit PCM of
    // the file's rate and channels, whatever the device could take itself, so that it sounds the
    // same everywhere.
    const TSampleLayout& layout = scan.Layout;
    WAVEFORMATEX played = PlayerState.Format;
    if (layout.Converts) {
        played = {};
        played.wFormatTag = WAVE_FORMAT_PCM;
        played.nChannels = WORD(layout.Channels);
        played.nSamplesPerSec = layout.Rate;
        played.nBlockAlign = WORD(layout.PlayedBlock);
        played.nAvgBytesPerSec = layout.Rate * layout.PlayedBlock;
        played.wBitsPerSample = 16;
    }
    const int32_t playedBytes = layout.PlayedBytes(scan.DataSize);
    const DSBUFFERDESC description = StaticBufferDescription(&played, DWORD(playedBytes));

    // A static sample is copied from one view of its whole data body; one that does not fit the
    // address space cannot be loaded, and the previous sound stays.
    const uint8_t* data = nullptr;
    if (!AppSettings.Streaming && !(data = hold.Window.Span(scan.DataOffset, size_t(scan.DataSize)))) return 4;

    // The previous sound goes; a stream still playing from it is stopped first, so that the
    // refill thread never writes into a released ring.
    StopStream();
    if (StreamState.Buffer.load() == slot) StreamState.Buffer = nullptr;
    ReleaseAndClear(slot);

    if (AppSettings.Streaming) {
        hold.Mapping = nullptr;                  // the stream owns it now, also if it fails
        slot = OpenStream(hold.Window, scan.DataOffset, playedBytes, layout, description);
    } else {
        CreateStaticBuffer(description, data, slot, int(scan.DataOffset), &layout);
    }
    return 0;
}
