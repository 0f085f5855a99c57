// Playback state shared by the player and DirectSound output.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

struct PlayerStateType {
    IDirectSound* Device = nullptr;
    IDirectSoundBuffer* PrimaryBuffer = nullptr;
    IDirectSoundBuffer* CurrentBuffer = nullptr;
    bool DeviceOpened = false;
    LONG LoopCount = 0;            // 0 = once, 2147483647 = loop
    LONG Volume = 0;               // hundredths of a decibel, 0 = full
    LONG Pan = 0;                  // -10000 .. 10000
    LONG Frequency = 10000;        // Hz
    WAVEFORMATEX Format = {};
    LONG FileSize = 0;             // 0 = nothing loaded, 1 = plays through the media control interface
    LONG DataSize = 0;
    LONG LastIndex = -1;           // list index of the loaded line
    LONG PlayPath = 0;             // 0 DirectSound, 1 media control interface, -1 not playable
    bool PosBarHeld = false;
};

extern PlayerStateType PlayerState;

void OpenSoundDevice(HWND window);
void CloseSoundDevice();
