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
// Whether the run demands sound (tools/test.sh sets SONIDEX_NEED_SOUND): then a test that needs
// the device or the capture fails without it instead of skipping.
bool SoundRequired();
// A test that needs the device: without one it fails where the run demands sound, else skips.
// Either way the reason begins with "no sound", which tools/test.sh looks for.
#define REQUIRE_SOUND_DEVICE()                                              \
    do {                                                                    \
        std::string why_;                                                   \
        if (!wintest::SoundDeviceReady(why_)) {                             \
            if (wintest::SoundRequired()) GTEST_FAIL() << "no sound: " << why_; \
            GTEST_SKIP() << "no sound: " << why_;                           \
        }                                                                   \
    } while (0)
// A test that listens to what was played: it needs the session's capture too.
#define REQUIRE_CAPTURE()                                                                     \
    do {                                                                                      \
        REQUIRE_SOUND_DEVICE();                                                               \
        if (wintest::CaptureFile().empty()) {                                                 \
            const char* why_ = "no sound capture (SONIDEX_CAPTURE): run under tools/session.sh"; \
            if (wintest::SoundRequired()) GTEST_FAIL() << why_;                               \
            GTEST_SKIP() << why_;                                                             \
        }                                                                                     \
    } while (0)

// Stops and lets go of whatever the player holds, and sets the defaults a test starts from:
// full volume, centre, no looping, static loads.
void ResetPlayer();
// The buffer's DSBSTATUS flags; 0 for none.
inline DWORD Status(IDirectSoundBuffer* b) { DWORD s = 0; if (b) b->GetStatus(&s); return s; }

// Waits (real time) until the capture holds bytes recorded after offset, or ms have passed.
bool WaitForCapture(long long offset, long long bytes, int ms);

// The corpus of crafted files, as Wine sees the source tree.
std::string CorpusPath(const std::string& name);

}  // namespace wintest
