/* Prints what a person sees in the message boxes and dialogs on the screen: for each visible
 * top-level window of the dialog class, a line "title" and then one line per child control,
 * "  text", with carriage returns and line feeds written as \r and \n. With "close" as its
 * argument it then presses the first button of each such window (as a click would); with
 * "press TEXT" the button captioned TEXT (as "&No"). */
#include <windows.h>
#include <stdio.h>
#include <string.h>

static int closing;
static const char* pressing;

static void printText(const char* indent, HWND w)
{
    char text[1024] = "";
    GetWindowTextA(w, text, sizeof text);
    printf("%s", indent);
    for (const char* p = text; *p; ++p) {
        if (*p == '\r') printf("\\r");
        else if (*p == '\n') printf("\\n");
        else putchar(*p);
    }
    putchar('\n');
}

static BOOL CALLBACK Child(HWND w, LPARAM pressed)
{
    char cls[64] = "";
    GetClassNameA(w, cls, sizeof cls);
    printText("  ", w);
    char text[256] = "";
    GetWindowTextA(w, text, sizeof text);
    if ((closing || (pressing && !strcmp(text, pressing))) && !*(int*)pressed && !strcmp(cls, "Button")) {
        PostMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), BN_CLICKED), (LPARAM)w);
        *(int*)pressed = 1;
    }
    return TRUE;
}

static BOOL CALLBACK TopLevel(HWND w, LPARAM unused)
{
    char cls[64] = "";
    int pressed = 0;
    (void)unused;
    if (!IsWindowVisible(w)) return TRUE;
    GetClassNameA(w, cls, sizeof cls);
    if (strcmp(cls, "#32770")) return TRUE;
    printText("", w);
    EnumChildWindows(w, Child, (LPARAM)&pressed);
    return TRUE;
}

int main(int argc, char** argv)
{
    closing = argc > 1 && !strcmp(argv[1], "close");
    pressing = argc > 2 && !strcmp(argv[1], "press") ? argv[2] : NULL;
    EnumWindows(TopLevel, 0);
    fflush(stdout);
    return 0;
}
