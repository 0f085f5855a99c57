// The media control interface path: MIDI files, and WAV files when the media player is chosen.
#pragma once
#include <string>

void SendMciCommand(const std::string& command);
void MciStop();
