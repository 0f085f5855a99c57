/* A stand-in for a web browser: appends what it was started with to the file named by the
   environment variable SONIDEX_RECORD, one line "show=N args=TEXT" (N the show command it was
   given, TEXT the command line after the program), then ends. */
#include <windows.h>
#include <stdio.h>

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd, int show)
{
    char path[MAX_PATH];
    STARTUPINFOA si;
    FILE* f;
    (void)inst, (void)prev;
    if (!GetEnvironmentVariableA("SONIDEX_RECORD", path, sizeof path)) return 1;
    GetStartupInfoA(&si);
    f = fopen(path, "a");
    if (!f) return 1;
    fprintf(f, "show=%d args=%s\n", (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : show, cmd);
    fclose(f);
    return 0;
}
