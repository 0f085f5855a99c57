// The playback state shared by the player, and DirectSound output of static samples; the WAV
// reader that turns a file into a playable sound.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include "audio/pure/SampleConvert.h"

static_assert(sizeof(WAVEFORMATEX) == 18, "the format is copied from the file as 18 bytes");

struct PlayerStateType {
    IDirectSound* Device = nullptr;
    IDirectSoundBuffer* PrimaryBuffer = nullptr;
    IDirectSoundBuffer* CurrentBuffer = nullptr;   // static or streaming buffer of the current sample
    bool DeviceOpened = false;                     // the open step ran (also when the media player is chosen)
    std::atomic<int32_t> LoopCount{0};             // 0 = once, 2147483647 = loop; read by the refill thread
    int32_t Volume = 0;                            // hundredths of a decibel, 0 = full
    int32_t Pan = 0;                               // -10000 (left only) .. 10000 (right only)
    int32_t Frequency = 10000;                     // Hz
    WAVEFORMATEX Format = {};
    TSampleLayout Layout;                          // how the sample of Format plays (written with it)
    int32_t FileSize = 0;                          // 0 = nothing loaded, 1 = plays through the media control interface
    int32_t DataSize = 0;
    int32_t LastIndex = -1;                        // list index of the loaded line
    int32_t PlayPath = 0;                          // 0 DirectSound, 1 media control interface, -1 not playable
    bool PosBarHeld = false;
};

extern PlayerStateType PlayerState;

constexpr int32_t LoopForever = 2147483647;

// The loading display: the "Loading..." box with its gauge, lying over the position bar. The main
// window fills these in; unset members do nothing. Show puts the box up and repaints it at once,
// sets the gauge's Max to max and its Position to 0; Progress sets the gauge's Position (a file
// offset); Hide takes the box down.
struct TLoadingDisplay {
    std::function<void(int max)> Show;
    std::function<void(int position)> Progress;
    std::function<void()> Hide;
};
extern TLoadingDisplay LoadingDisplay;

// Opens the default device with priority co-operation for window and asks its primary buffer
// for 44100 Hz 16-bit stereo. Runs once until CloseSoundDevice; with the media player chosen it
// only records that it ran. A failure raises its fixed text and leaves no device behind.
void OpenSoundDevice(HWND window);
// Ends any stream, then releases the current buffer, the primary buffer and the device.
void CloseSoundDevice();

// The description of a sample's static buffer: format from the file, bytes = the data's size.
DSBUFFERDESC StaticBufferDescription(const WAVEFORMATEX* format, DWORD bytes);
// Creates the sample's buffer into slot and copies data into it in slices of 131072 bytes,
// moving the loading gauge to dataFileOffset + the bytes of data read after each slice. With a
// layout that converts, data holds the file's frames, and the buffer (described in 16-bit) gets
// them converted. On a failure the slot is left empty and the fixed text raised.
void CreateStaticBuffer(const DSBUFFERDESC& description, const void* data, IDirectSoundBuffer*& slot,
                        int dataFileOffset, const TSampleLayout* layout = nullptr);
constexpr DWORD StaticCopySlice = 131072;

// The current buffer (static or stream) and what the player does with it; each does nothing
// without a current buffer.
void StartCurrent();                  // rewind and play, looping as LoopCount says
void StopCurrent();                   // stop and rewind
void ApplyVolume();
void ApplyPan();
void ApplyFrequency();
void ApplyLoopFlag();                 // play again with the loop flag, without rewinding
int32_t GetPlayCursor();              // bytes from the buffer's start; 0 without a buffer
                                      // (PlayerState.Layout turns them into the file's bytes)
void SetPlayCursor(int32_t offset);
bool CurrentPlaying();                // the current buffer is playing
// The format the primary buffer really has; false (and the format zeroed) without a device.
bool GetPrimaryFormat(WAVEFORMATEX& format);

// Maps the WAV file at path, checks it, and puts its sound into slot: a new static buffer, or a
// new stream that takes the mapping over when AppSettings.Streaming is on. Returns 0 accepted,
// 1 the file cannot be opened, 2 not a RIFF/WAVE file or no data after a format chunk, 3 the
// format does not play (8-bit and 16-bit PCM only, and with AppSettings.HiRes the formats it
// converts; the slot keeps its sound), 4 the file cannot be mapped. Writes PlayerState.FileSize,
// Format (the file's own), Layout and DataSize (the file's data bytes) as it learns them. A
// converted sample's buffer holds 16-bit frames: PlayerState.Layout maps between the two.
int LoadWaveFile(const std::string& path, IDirectSoundBuffer*& slot);

// The program's texts for a DirectSound call that failed.
namespace SoundErrors {
constexpr const char* CreateDevice = "Error while creating the DirectSound object";
constexpr const char* CooperativeLevel = "Error while setting the cooperative level";
constexpr const char* CreatePrimary = "Error while creating the primary DirectSound buffer";
constexpr const char* CreateBuffer = "Error while creating a DirectSound buffer";
constexpr const char* LockBuffer = "Error while locking a DirectSound buffer";
constexpr const char* UnlockBuffer = "Error while unlocking a DirectSound buffer";
constexpr const char* Play = "ERROR WHILE PLAYING A SOUND BUFFER";
constexpr const char* NotifyEvent = "ERROR WHILE CREATING THE NOTIFICATION EVENT";
constexpr const char* Notifications = "Error while setting the DirectSound notifications";
}
