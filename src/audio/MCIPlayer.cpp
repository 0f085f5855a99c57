#include "audio/MCIPlayer.h"
#include <windows.h>
#include <mmsystem.h>

void SendMciCommand(const std::string& command)
{
    char reply[256];
    mciSendStringA(command.c_str(), reply, sizeof reply, nullptr);
}

void MciStop() { SendMciCommand("STOP PlayingMIDI"); }
