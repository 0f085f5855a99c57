// The common controls library, loaded on first need rather than with the program: it registers
// its window classes as it loads, a cost the first paint does not need to wait for.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "toolkit/LateBound.h"

// Loads the library and registers the classes the program uses (the tree view's); false when
// the library is missing.
bool CommonControlsNeeded();

// A function of the library, loaded and set up first; nullptr when missing. Keep the result:
//   static const auto draw = CommonControl<decltype(&ImageList_Draw)>("ImageList_Draw");
template <class Fn>
Fn CommonControl(const char* name)
{
    return CommonControlsNeeded() ? LateBound<Fn>("comctl32.dll", name) : nullptr;
}
