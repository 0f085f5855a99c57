// A function of a system library that the program loads on first need rather than at start:
// libraries such as winmm, dsound and shell32 bring up drivers or a large image, and many runs
// never need them.
#pragma once
#include <windows.h>

// The named function of the library, or nullptr when either is missing. The library stays
// loaded for the life of the process.
template <class Fn>
Fn LateBound(const char* library, const char* name)
{
    HMODULE lib = LoadLibraryA(library);
    FARPROC proc = lib ? GetProcAddress(lib, name) : nullptr;
    // Through void*: FARPROC's own signature says nothing about the function's.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}
