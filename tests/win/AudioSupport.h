// Shared by the audio tests under Wine: the sound device opened once for the test program, and
// crafted WAV files written to a folder of the test's own.
#pragma once
#include <string>
#include <vector>
#include "WinTest.h"
#include "audio/WAVStream.h"
#include "audio/WAVUnit.h"

namespace wintest {

// Opens DirectSound (not the media player) and starts streaming, once; false with the reason
// when the device cannot be opened here.
bool SoundDeviceReady(std::string& why);
// Skips the test, with the reason, when there is no sound device.
#define REQUIRE_SOUND_DEVICE()                                   \
    do {                                                         \
        std::string why_;                                        \
        if (!wintest::SoundDeviceReady(why_)) GTEST_SKIP() << why_; \
    } while (0)
// Skips the test when the session records no sound (run it under tools/session.sh).
#define REQUIRE_CAPTURE()                                                                         \
    do {                                                                                          \
        REQUIRE_SOUND_DEVICE();                                                                   \
        if (wintest::CaptureFile().empty())                                                       \
            GTEST_SKIP() << "no PulseAudio capture (SONIDEX_CAPTURE): run under tools/session.sh"; \
    } while (0)

// Stops and lets go of whatever the player holds, and sets the defaults a test starts from:
// full volume, centre, no looping, static loads.
void ResetPlayer();

// Waits (real time) until the capture holds bytes recorded after offset, or ms have passed.
bool WaitForCapture(long long offset, long long bytes, int ms);

// The corpus of crafted files, as Wine sees the source tree.
std::string CorpusPath(const std::string& name);

}  // namespace wintest
