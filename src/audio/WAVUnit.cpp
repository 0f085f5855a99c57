#include "audio/WAVUnit.h"
#include "app/pure/AppConfig.h"

PlayerStateType PlayerState;

// Opening the device comes with the audio engine; until then the step is recorded only.
void OpenSoundDevice(HWND)
{
    if (PlayerState.DeviceOpened) return;
    PlayerState.DeviceOpened = true;
}

void CloseSoundDevice()
{
    PlayerState.DeviceOpened = false;
}
