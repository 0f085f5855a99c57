// Shared helpers of the tests that run under Wine with the real Win32 calls.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "toolkit/Forms.h"

namespace wintest {

// Handles the messages waiting now and those arriving for ms milliseconds.
void Pump(int ms = 0);
// Pumps until cond() is true or ms have passed; returns cond().
template <class F>
bool PumpUntil(F cond, int ms = 3000)
{
    DWORD end = GetTickCount() + ms;
    while (!cond()) {
        if (GetTickCount() > end) return cond();
        Pump(5);
    }
    return true;
}

// A plain top-level form to put controls on, shown at (x, y).
TForm* NewHostForm(int x = 50, int y = 50, int w = 400, int h = 300);

// Input as the window would get it from the system (posted to the window under test).
void Click(HWND h, int x, int y, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP);
void KeyDown(HWND h, WORD vk);
void KeyUp(HWND h, WORD vk);

// Paints a window into a bitmap (PrintWindow-like, through WM_PRINTCLIENT / WM_PAINT) and
// returns the pixel colour at (x, y) as 0x00RRGGBB.
unsigned PixelOf(HWND h, int x, int y);

// A folder of its own for a test under the Windows temp folder, emptied first; ends in "\".
std::string TempFolder(const std::string& name);
void WriteFile(const std::string& path, const std::string& bytes);

// The PulseAudio capture of the test session (tools/session.sh): empty when there is none.
std::string CaptureFile();
// Bytes recorded so far (S16LE stereo 44100 Hz, 176400 bytes a second).
long long CaptureSize();
// The bytes recorded from offset on.
std::vector<char> CaptureFrom(long long offset);

}  // namespace wintest
