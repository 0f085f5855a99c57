// The yardstick of the start-up benchmark: a Win32 program that only shows a window.
#include "BareWindow.h"

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_DESTROY) { PostQuitMessage(0); return 0; }
    if (m == WM_KEYDOWN && w == VK_ESCAPE) { DestroyWindow(h); return 0; }
    return DefWindowProcA(h, m, w, l);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HWND h = BareWindow("MinimalWindow", "Minimal window", Proc, 272, 23, 519, 423);
    ShowWindow(h, SW_SHOW);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) { TranslateMessage(&m); DispatchMessageA(&m); }
    return 0;
}
