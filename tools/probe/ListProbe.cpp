// Looks at the list box of another program's window from outside, as any program could:
// prints "count <lines> selected <index> top <index>" for the first list box in the top-level
// window of the given class (default "TSonidexForm"), or "none" when there is no such list.
#include <windows.h>
#include <cstdio>
#include <cstring>

static BOOL CALLBACK FindList(HWND h, LPARAM found)
{
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    if (lstrcmpiA(cls, "ListBox") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = h;
    return FALSE;
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
    std::printf("count %ld selected %ld top %ld enabled %d\n", static_cast<long>(SendMessageA(list, LB_GETCOUNT, 0, 0)),
                static_cast<long>(SendMessageA(list, LB_GETCURSEL, 0, 0)),
                static_cast<long>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)), IsWindowEnabled(top) ? 1 : 0);
    return 0;
}
