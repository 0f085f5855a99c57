// Shared by the benchmarks that drive the whole main window: made and shown as at start-up,
// with DirectSound whatever the settings file says.
#pragma once
#include <algorithm>
#include <cstdio>
#include <exception>
#include "app/Settings.h"
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "audio/WAVStream.h"
#include "audio/WAVUnit.h"
#include "toolkit/Forms.h"
#include "BenchBuild.h"

namespace bench {

// The interface thread's longest stall: a 10 ms timer's longest gap between two ticks.
inline double LastTick = 0, LongestGap = 0;
inline void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    const double now = Seconds();
    if (LastTick > 0) LongestGap = std::max(LongestGap, now - LastTick);
    LastTick = now;
}

// The main window and the settings dialog, the sound device and the streaming thread; false,
// with a line saying why, where no sound device opens.
inline bool StartPlayerWindow()
{
    Application->CreateForm(&SonidexForm);
    SonidexForm->Show();
    Application->CreateForm(&SettingsForm);
    AppSettings.UseMedia = false;
    try {
        OpenSoundDevice(SonidexForm->Handle());
        StartStreaming();
    } catch (const std::exception& e) {
        std::printf("no sound device: %s\n", e.what());
        return false;
    }
    return true;
}

}  // namespace bench
