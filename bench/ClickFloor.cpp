// The yardstick of click to sound: a Win32 program that only shows a window, opens DirectSound,
// and on a click reads a small WAV (its canonical 44-byte header, then the data straight into
// the buffer) into a new static buffer and plays it. Usage: ClickFloor FILE.WAV.
// Sent WM_MEASURE_CLICK by a benchmark, it times one click on itself the way the benchmark times
// one on the main window (posted press and release, messages handled one at a time until the
// buffer reports that it plays) and answers the microseconds it took; WM_MEASURED_START then
// answers those to the return of the buffer's Play.
#include <windows.h>
#include "BareWindow.h"
#include <mmsystem.h>
#include <dsound.h>

namespace {
constexpr UINT WM_MEASURE_CLICK = WM_APP + 1;
constexpr UINT WM_MEASURED_START = WM_APP + 2;   // the last measured click's time to its Play
const char* Path = "";
IDirectSound* Device = nullptr;
IDirectSoundBuffer* Current = nullptr;
double Started = 0;                           // when the last Play returned

double Seconds()
{
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(freq.QuadPart);
}

void Load()
{
    HANDLE f = CreateFileA(Path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    unsigned char head[44];
    DWORD got = 0;
    WAVEFORMATEX format = {};
    if (ReadFile(f, head, sizeof head, &got, nullptr) && got == sizeof head) {
        CopyMemory(&format, head + 20, 16);
        DSBUFFERDESC d = {};
        d.dwSize = sizeof d;
        // The capabilities the program asks for its static buffers.
        d.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                    DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
        d.dwBufferBytes = *reinterpret_cast<DWORD*>(head + 40);
        d.lpwfxFormat = &format;
        IDirectSoundBuffer* b = nullptr;
        void* p = nullptr;
        DWORD n = 0;
        if (SUCCEEDED(Device->CreateSoundBuffer(&d, &b, nullptr))) {
            if (SUCCEEDED(b->Lock(0, d.dwBufferBytes, &p, &n, nullptr, nullptr, 0))) {
                ReadFile(f, p, n, &got, nullptr);
                b->Unlock(p, n, nullptr, 0);
            }
            b->Play(0, 0, 0);
            Started = Seconds();
            // The previous sound goes once the new one plays.
            if (Current) Current->Release();
            Current = b;
        }
    }
    CloseHandle(f);
}

bool Playing()
{
    DWORD status = 0;
    return Current && SUCCEEDED(Current->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
}

double LastClick = 0, LastStart = 0;          // the last measured click: its start, its Play

LRESULT MeasureClick(HWND h)
{
    IDirectSoundBuffer* before = Current;
    const double t = Seconds();
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    while (Current == before || !Playing()) {
        MSG m;
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (Seconds() - t > 30) return -1;
    }
    LastClick = t;
    LastStart = Started;
    return LRESULT((Seconds() - t) * 1e6);
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    switch (m) {
    case WM_LBUTTONDOWN: Load(); return 0;
    case WM_MEASURE_CLICK: return MeasureClick(h);
    case WM_MEASURED_START: return LRESULT((LastStart - LastClick) * 1e6);
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_KEYDOWN: if (w == VK_ESCAPE) DestroyWindow(h); return 0;
    }
    return DefWindowProcA(h, m, w, l);
}
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc > 1) Path = __argv[1];
    HWND h = BareWindow("ClickFloor", "Click floor", Proc, 0, 0, 200, 100);
    // The device as the program opens it: priority level, 44100 Hz 16-bit stereo primary buffer.
    if (FAILED(DirectSoundCreate(nullptr, &Device, nullptr)) || FAILED(Device->SetCooperativeLevel(h, DSSCL_PRIORITY)))
        return 1;
    DSBUFFERDESC primary = {};
    primary.dwSize = sizeof primary;
    primary.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* p = nullptr;
    if (SUCCEEDED(Device->CreateSoundBuffer(&primary, &p, nullptr))) {
        WAVEFORMATEX pcm = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
        p->SetFormat(&pcm);
    }
    ShowWindow(h, SW_SHOW);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    if (Current) Current->Release();
    if (p) p->Release();
    Device->Release();
    return 0;
}
