#include "audio/MCIPlayer.h"
#include "audio/pure/PlayerText.h"
#include "toolkit/LateBound.h"
#include <cstring>

HWND MciCallbackWindow = nullptr;

namespace {
// The multimedia library is loaded on first use: loading it brings up the system's sound
// drivers, which costs a good part of a second at start-up, and a run that plays only through
// DirectSound may never need it.
using MciSendStringFn = DWORD(WINAPI*)(LPCSTR, LPSTR, UINT, HWND);
MciSendStringFn MciSendString()
{
    static MciSendStringFn fn = LateBound<MciSendStringFn>("winmm.dll", "mciSendStringA");
    return fn;
}

// Whether an "open" has been sent since the last "close": stopping or closing what was never
// opened is left out. Every click of a line stops the media player, and the first such call would
// load the library, which a run that plays through DirectSound alone never needs.
bool AliasMayBeOpen = false;

bool Verb(const std::string& command, const char* verb)
{
    const size_t n = std::strlen(verb);
    return command.size() > n && command[n] == ' ' && _strnicmp(command.c_str(), verb, n) == 0;
}
}

std::string SendMciCommand(const std::string& command)
{
    const bool closes = Verb(command, "close");
    if ((closes || Verb(command, "stop")) && !AliasMayBeOpen) return "";
    if (Verb(command, "open")) AliasMayBeOpen = true;
    char cmd[MciCommandMax + 1];
    lstrcpynA(cmd, command.c_str(), sizeof cmd);
    char reply[256] = "";
    if (auto fn = MciSendString()) fn(cmd, reply, 255, MciCallbackWindow);
    reply[255] = '\0';
    if (closes) AliasMayBeOpen = false;
    return reply;
}

void MciStop() { SendMciCommand("STOP PlayingMIDI"); }

void MciOpen(const std::string& path)
{
    SendMciCommand("Close PlayingMIDI");
    // The path goes into the command as it is. The interface reads the file name only up to
    // the first blank, and the command buffer holds 255 characters, so a path with blanks or
    // one too long is given by its short name, which names the same file. Without a short
    // name, a path with blanks is quoted; one that still cannot fit is not opened at all:
    // cutting it could name another file.
    std::string p = path;
    if (p.find(' ') != std::string::npos || MciOpenCommand(p).empty()) {
        char shortPath[MAX_PATH + 1];
        DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
        if (n > 0 && n < sizeof shortPath && !std::string(shortPath, n).empty()) p.assign(shortPath, n);
        if (p.find(' ') != std::string::npos) p = '"' + p + '"';
    }
    std::string cmd = MciOpenCommand(p);
    if (!cmd.empty()) SendMciCommand(cmd);
}

int MciLength() { return MciReplyToInt(SendMciCommand("Status PlayingMIDI Length")); }
int MciPosition() { return MciReplyToInt(SendMciCommand("Status PlayingMIDI Position")); }

void MciPlayFrom(int position)
{
    SendMciCommand("Play PlayingMIDI From " + std::to_string(position) + " notify");
}
