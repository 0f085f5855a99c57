#include "WinTest.h"
#include <cstdio>
#include <fstream>
#include <iterator>
#include <shellapi.h>

namespace wintest {

namespace {
// One application object for the whole test program, as the real program has.
class AppEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        app = new TApplication();
        Application->Initialize();
        Application->SetTitle("win_tests");
        // A test must see an error box's text rather than wait on a modal box.
        Application->OnException = [](TObject*, const std::exception& e) {
            ADD_FAILURE() << "exception reached the error box: " << e.what();
        };
    }
    void TearDown() override { delete app; }
    TApplication* app = nullptr;
};
const auto* env = ::testing::AddGlobalTestEnvironment(new AppEnvironment);
}

void Pump(int ms)
{
    DWORD end = GetTickCount() + ms;
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (ms) Sleep(1);
    } while (GetTickCount() < end);
}

TForm* NewHostForm(int x, int y, int w, int h)
{
    auto* f = new TForm(Application);
    f->BorderStyle = bsNone;
    f->SetBounds(x, y, w, h);
    f->AfterConstruction();
    f->Show();
    Pump(20);
    return f;
}

void Click(HWND h, int x, int y, UINT down, UINT up)
{
    WPARAM keys = down == WM_LBUTTONDOWN ? MK_LBUTTON : down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_MBUTTON;
    PostMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PostMessageA(h, down, keys, MAKELPARAM(x, y));
    PostMessageA(h, up, 0, MAKELPARAM(x, y));
    Pump(10);
}

void KeyDown(HWND h, WORD vk)
{
    PostMessageA(h, WM_KEYDOWN, vk, 1);
    Pump(10);
}

void KeyUp(HWND h, WORD vk)
{
    PostMessageA(h, WM_KEYUP, vk, 0xC0000001);
    Pump(10);
}

unsigned PixelOf(HWND h, int x, int y)
{
    RECT r;
    GetClientRect(h, &r);
    HDC wdc = GetDC(h);
    HDC dc = CreateCompatibleDC(wdc);
    HBITMAP bmp = CreateCompatibleBitmap(wdc, r.right, r.bottom);
    HGDIOBJ old = SelectObject(dc, bmp);
    SendMessageA(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    SendMessageA(h, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(h, wdc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

std::string TempFolder(const std::string& name)
{
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string dir = std::string(tmp) + "sonidex-" + name;
    // Empty it: the shell removes the whole tree (double zero at the end of the list).
    std::string from = dir + '\0' + '\0';
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&op);
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\";
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string CaptureFile()
{
    char dir[MAX_PATH];
    if (!GetEnvironmentVariableA("SONIDEX_CAPTURE", dir, MAX_PATH)) return "";
    // The capture folder is a Linux path; Wine sees it under Z:.
    std::string p = std::string("Z:") + dir + "/cap.raw";
    for (char& c : p) if (c == '/') c = '\\';
    return GetFileAttributesA(p.c_str()) == INVALID_FILE_ATTRIBUTES ? "" : p;
}

long long CaptureSize()
{
    WIN32_FILE_ATTRIBUTE_DATA d;
    std::string p = CaptureFile();
    if (p.empty() || !GetFileAttributesExA(p.c_str(), GetFileExInfoStandard, &d)) return 0;
    return (static_cast<long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

std::vector<char> CaptureFrom(long long offset)
{
    std::ifstream f(CaptureFile(), std::ios::binary);
    f.seekg(offset - offset % 4);
    return std::vector<char>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

}  // namespace wintest
