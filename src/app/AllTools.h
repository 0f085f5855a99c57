// Small window routines shared by the main window and several controls.
#pragma once
#include <windows.h>

// Places a window in the topmost band (on) or takes it out (off), without moving or sizing it.
void SetStayOnTop(HWND window, bool on);
