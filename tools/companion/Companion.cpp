// Stand-in for the companion music program: a main window of class "TBeatcrafterMainForm" that
// records every message it receives to a log file, one line each:
//   <msg> <wParam> <lParam>                 in decimal
//   COPYDATA <dwData> <cbData> <hex bytes>  for WM_COPYDATA, after the line above
// Log file: the first argument, else %BEATCRAFTER_LOG%, else C:\beatcrafter.log.
// Messages the window manager sends for its own sake (painting, activation, sizing, ...) are
// below WM_USER and noisy, so only WM_COPYDATA, WM_CLOSE and WM_USER and above are recorded.
#include <windows.h>
#include <cstdio>
#include <cstring>

static FILE* logFile;

static void Record(UINT msg, WPARAM w, LPARAM l)
{
    if (!logFile) return;
    std::fprintf(logFile, "%u %llu %lld\n", msg, (unsigned long long)w, (long long)l);
    if (msg == WM_COPYDATA && l) {
        auto* cd = reinterpret_cast<const COPYDATASTRUCT*>(l);
        std::fprintf(logFile, "COPYDATA %llu %lu ", (unsigned long long)cd->dwData, (unsigned long)cd->cbData);
        auto* p = static_cast<const unsigned char*>(cd->lpData);
        for (DWORD i = 0; p && i < cd->cbData; ++i) std::fprintf(logFile, "%02x", p[i]);
        std::fprintf(logFile, "\n");
    }
    std::fflush(logFile);
}

static LRESULT CALLBACK WndProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    if (msg >= WM_USER || msg == WM_COPYDATA || msg == WM_CLOSE) Record(msg, w, l);
    if (msg == WM_COPYDATA) return TRUE;
    if (msg == WM_DESTROY) { PostQuitMessage(0); return 0; }
    return DefWindowProcA(h, msg, w, l);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int)
{
    char path[MAX_PATH] = "C:\\beatcrafter.log";
    if (cmd && *cmd) { lstrcpynA(path, cmd, MAX_PATH); }
    else GetEnvironmentVariableA("BEATCRAFTER_LOG", path, MAX_PATH);
    logFile = std::fopen(path, "a");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.lpszClassName = "TBeatcrafterMainForm";
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    RegisterClassA(&wc);
    HWND h = CreateWindowA("TBeatcrafterMainForm", "Beatcrafter stand-in", WS_OVERLAPPEDWINDOW,
                           900, 600, 300, 120, nullptr, nullptr, inst, nullptr);
    ShowWindow(h, SW_SHOWNOACTIVATE);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) { TranslateMessage(&m); DispatchMessageA(&m); }
    if (logFile) std::fclose(logFile);
    return 0;
}
