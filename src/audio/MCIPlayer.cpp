#include "audio/MCIPlayer.h"
#include "audio/pure/PlayerText.h"

HWND MciCallbackWindow = nullptr;

namespace {
// The multimedia library is loaded on first use: loading it brings up the system's sound
// drivers, which costs a good part of a second at start-up, and a run that plays only through
// DirectSound may never need it.
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

std::string SendMciCommand(const std::string& command)
{
    char cmd[MciCommandMax + 1];
    lstrcpynA(cmd, command.c_str(), sizeof cmd);
    char reply[256] = "";
    if (auto fn = MciSendString()) fn(cmd, reply, 255, MciCallbackWindow);
    reply[255] = '\0';
    return reply;
}

void MciStop() { SendMciCommand("STOP PlayingMIDI"); }

void MciOpen(const std::string& path)
{
    SendMciCommand("Close PlayingMIDI");
    std::string cmd = MciOpenCommand(path);
    if (cmd.empty()) {
        char shortPath[MAX_PATH + 1];
        DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
        if (n > 0 && n < sizeof shortPath) cmd = MciOpenCommand(std::string(shortPath, n));
    }
    if (!cmd.empty()) SendMciCommand(cmd);
}

int MciLength() { return MciReplyToInt(SendMciCommand("Status PlayingMIDI Length")); }
int MciPosition() { return MciReplyToInt(SendMciCommand("Status PlayingMIDI Position")); }

void MciPlayFrom(int position)
{
    SendMciCommand("Play PlayingMIDI From " + std::to_string(position) + " notify");
}
