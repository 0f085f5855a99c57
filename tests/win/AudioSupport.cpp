#include "AudioSupport.h"
#include "app/pure/AppConfig.h"

namespace wintest {

bool SoundDeviceReady(std::string& why)
{
    static int state = 0;                 // 0 not tried, 1 ready, 2 failed
    static std::string reason;
    if (state == 0) {
        AppSettings.UseMedia = false;
        try {
            OpenSoundDevice(Application->Handle());
            StartStreaming();
            state = PlayerState.Device ? 1 : 2;
            if (!PlayerState.Device) reason = "no DirectSound device";
        } catch (const std::exception& e) {
            state = 2;
            reason = std::string("the device does not open: ") + e.what();
        }
    }
    // A test that closed the device leaves it open again for the next one.
    if (state == 1 && !PlayerState.Device) {
        AppSettings.UseMedia = false;
        OpenSoundDevice(Application->Handle());
    }
    why = reason;
    return state == 1;
}

namespace {
// The device opened for the test program is closed before the program ends, as Sonidex closes
// it at shut-down: left to the process's end, Wine's loader now and then crashed on its way out.
struct TSoundEnvironment : ::testing::Environment {
    void TearDown() override
    {
        if (!PlayerState.Device) return;
        ResetPlayer();
        EndStreaming();
        CloseSoundDevice();
    }
};
::testing::Environment* const SoundEnvironment = ::testing::AddGlobalTestEnvironment(new TSoundEnvironment);
}

bool SoundRequired()
{
    char v[8];
    const DWORD n = GetEnvironmentVariableA("SONIDEX_NEED_SOUND", v, sizeof v);
    return n > 0 && n < sizeof v && std::string(v) != "0";
}

void ResetPlayer()
{
    StopStream();
    StopCurrent();
    if (StreamState.Buffer.load() == PlayerState.CurrentBuffer) StreamState.Buffer = nullptr;
    if (PlayerState.CurrentBuffer) PlayerState.CurrentBuffer->Release();
    PlayerState.CurrentBuffer = nullptr;
    PlayerState.LoopCount = 0;
    PlayerState.Volume = 0;
    PlayerState.Pan = 0;
    AppSettings.Streaming = false;
    AppSettings.UseMedia = false;
    LoadingDisplay = {};
}

bool WaitForCapture(long long offset, long long bytes, int ms)
{
    return PumpUntil([&] { return CaptureSize() >= offset + bytes; }, ms);
}

std::string CorpusPath(const std::string& name)
{
    std::string p = std::string("Z:") + SONIDEX_SOURCE_DIR + "/tests/fuzz/corpus/wav/" + name;
    for (char& c : p) if (c == '/') c = '\\';
    return p;
}

}  // namespace wintest
