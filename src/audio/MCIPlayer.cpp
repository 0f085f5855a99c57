#include "audio/MCIPlayer.h"
#include <windows.h>

namespace {
// The multimedia library is loaded on first use: loading it brings up the system's sound
// drivers, which costs a good part of a second at start-up under some systems, and a run that
// plays only through DirectSound may never need it.
using MciSendStringFn = DWORD(WINAPI*)(LPCSTR, LPSTR, UINT, HWND);
MciSendStringFn MciSendString()
{
    static MciSendStringFn fn = [] {
        HMODULE lib = LoadLibraryA("winmm.dll");
        return lib ? reinterpret_cast<MciSendStringFn>(GetProcAddress(lib, "mciSendStringA")) : nullptr;
    }();
    return fn;
}
}

void SendMciCommand(const std::string& command)
{
    char reply[256];
    if (auto fn = MciSendString()) fn(command.c_str(), reply, sizeof reply, nullptr);
}

void MciStop() { SendMciCommand("STOP PlayingMIDI"); }
