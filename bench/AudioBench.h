// Shared by the audio benchmarks: the sound device on a window of their own, WAV files in the
// temp folder (large ones sparse, so that a 1 GB file costs no disk), a clock and the process's
// resident size.
#pragma once
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include "toolkit/LateBound.h"
#include "BenchBuild.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>
#include "app/pure/AppConfig.h"
#include "audio/WAVStream.h"
#include "audio/WAVUnit.h"

namespace bench {

// Opens DirectSound as the program does at start-up; false (with a line saying why) without one.
// The session's sound capture (tools/session.sh): everything played, as a file that grows.
class TCapture {
public:
    TCapture()
    {
        const char* dir = std::getenv("SONIDEX_CAPTURE");
        if (!dir) return;
        FPath = std::string("Z:") + dir + "/cap.raw";
        std::replace(FPath.begin(), FPath.end(), '/', '\\');
    }
    bool Available() const { return !FPath.empty() && Size() >= 0; }
    long long Size() const
    {
        WIN32_FILE_ATTRIBUTE_DATA d;
        return GetFileAttributesExA(FPath.c_str(), GetFileExInfoStandard, &d) ? (long long)d.nFileSizeLow : -1;
    }
    // What was recorded from offset on, from a whole frame.
    std::vector<char> From(long long offset) const
    {
        std::ifstream f(FPath, std::ios::binary);
        f.seekg(offset - offset % 4);
        return std::vector<char>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
private:
    std::string FPath;
};

inline bool OpenDevice()
{
    HWND w = CreateWindowA("STATIC", "audio bench", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    AppSettings.UseMedia = false;
    try {
        OpenSoundDevice(w);
        StartStreaming();
    } catch (const std::exception& e) {
        std::printf("no sound device: %s\n", e.what());
        return false;
    }
    return PlayerState.Device != nullptr;
}

inline std::string TempPath(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

// A 44100 Hz stereo WAV of dataBytes, 16-bit or 24-bit PCM; data, when given, is repeated over
// the body, otherwise the body is left a hole (zeros, no disk).
inline void WriteWav(const std::string& path, unsigned dataBytes, const std::vector<char>& data = {}, int bits = 16)
{
    const unsigned riff = 36 + dataBytes;
    const unsigned align = unsigned(bits) / 4, avg = 44100u * align;
    const unsigned char head[44] = {'R', 'I', 'F', 'F', (unsigned char)riff, (unsigned char)(riff >> 8),
        (unsigned char)(riff >> 16), (unsigned char)(riff >> 24), 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
        1, 0, 2, 0, 0x44, 0xAC, 0, 0, (unsigned char)avg, (unsigned char)(avg >> 8), (unsigned char)(avg >> 16), 0,
        (unsigned char)align, 0, (unsigned char)bits, 0, 'd', 'a', 't', 'a', (unsigned char)dataBytes,
        (unsigned char)(dataBytes >> 8), (unsigned char)(dataBytes >> 16), (unsigned char)(dataBytes >> 24)};
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done;
    ::WriteFile(f, head, sizeof head, &done, nullptr);
    if (!data.empty()) {
        for (unsigned at = 0; at < dataBytes; at += unsigned(data.size()))
            ::WriteFile(f, data.data(), std::min<unsigned>(unsigned(data.size()), dataBytes - at), &done, nullptr);
    } else {
        LARGE_INTEGER end;
        end.QuadPart = 44LL + dataBytes;
        SetFilePointerEx(f, end, nullptr, FILE_BEGIN);
        SetEndOfFile(f);
    }
    CloseHandle(f);
}

// The process's resident size in bytes, as the system reports it.
inline double ResidentMB()
{
    using Fn = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    static Fn get = LateBound<Fn>("psapi.dll", "GetProcessMemoryInfo");
    PROCESS_MEMORY_COUNTERS c = {};
    c.cb = sizeof c;
    if (!get || !get(GetCurrentProcess(), &c, sizeof c)) return -1;
    return double(c.WorkingSetSize) / (1 << 20);
}

// Handles the window messages for ms milliseconds, as an idle user-interface thread does.
inline void Pump(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    while (GetTickCount() < end) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        Sleep(5);
    }
}

}  // namespace bench
