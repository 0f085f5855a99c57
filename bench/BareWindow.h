// The yardstick programs' one window: a plain popup of a class of its own, nothing else.
#pragma once
#include <windows.h>

inline HWND BareWindow(const char* className, const char* title, WNDPROC proc, int x, int y, int w, int h)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    return CreateWindowA(className, title, WS_POPUP | WS_DLGFRAME, x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
}
