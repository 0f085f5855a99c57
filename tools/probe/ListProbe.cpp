// Looks at the list box of another program's window from outside, as any program could:
// prints "count <lines> selected <index> top <index> rect <screen left top right bottom>
// enabled <0|1>" and "title [<the window's text>]" for the first list box in the top-level
// window of the given class (default "TSonidexForm"), then one line "line <index> <text>" per
// line of the list, read with LB_GETTEXTLEN and LB_GETTEXT as a screen reader reads them; or
// "none" when there is no such list. With a second argument N, only the first N lines.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>

static BOOL CALLBACK FindList(HWND h, LPARAM found)
{
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpiA(cls, "ListBox") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = h;
    return FALSE;
}

// A line's text. Asked as wide text, as screen readers do: Wine hands a program that asks
// another process's list box for ANSI text the wide characters unconverted.
static std::string LineText(HWND list, int i)
{
    LRESULT n = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    if (n == LB_ERR) return "<error>";
    std::wstring wide(static_cast<size_t>(n) + 1, L'\0');
    LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
    if (got == LB_ERR) return "<error>";
    wide.resize(static_cast<size_t>(got));
    std::string text(wide.size() * 3 + 1, '\0');
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(),
                                    static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    return text;
}

int main(int argc, char** argv)
{
    HWND top = FindWindowA(argc > 1 ? argv[1] : "TSonidexForm", nullptr);
    HWND list = nullptr;
    if (top) EnumChildWindows(top, FindList, reinterpret_cast<LPARAM>(&list));
    if (!list) {
        std::printf("none\n");
        return 1;
    }
    RECT r;
    GetWindowRect(list, &r);
    const long count = static_cast<long>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    std::printf("count %ld selected %ld top %ld rect %ld %ld %ld %ld enabled %d\n", count,
                static_cast<long>(SendMessageA(list, LB_GETCURSEL, 0, 0)),
                static_cast<long>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)), static_cast<long>(r.left),
                static_cast<long>(r.top), static_cast<long>(r.right), static_cast<long>(r.bottom),
                IsWindowEnabled(top) ? 1 : 0);
    char title[512] = "";
    GetWindowTextA(top, title, sizeof title);
    std::printf("title [%s]\n", title);
    const long shown = argc > 2 ? std::atol(argv[2]) : count;
    for (long i = 0; i < count && i < shown; ++i) std::printf("line %ld %s\n", i, LineText(list, static_cast<int>(i)).c_str());
    return 0;
}
