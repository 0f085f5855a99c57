// The media control interface path: MIDI files, and WAV files when the media player is chosen.
// One alias, "PlayingMIDI", serves every file; the end of a play arrives at the callback window
// as MM_MCINOTIFY.
#pragma once
#include <windows.h>
#include <string>

// The window that receives MM_MCINOTIFY (the main window).
extern HWND MciCallbackWindow;

// Sends a command string; returns the reply. The interface's return code is not looked at.
std::string SendMciCommand(const std::string& command);
void MciStop();
// "Close PlayingMIDI", then opens path under the alias. A path with blanks, or too long for the
// command buffer, is opened by its short name; one that cannot be made to fit is not opened at
// all (the alias stays closed, so nothing plays), never cut to name another file.
void MciOpen(const std::string& path);
// The open file's length, and the current position, in the device's time format.
int MciLength();
int MciPosition();
void MciPlayFrom(int position);
