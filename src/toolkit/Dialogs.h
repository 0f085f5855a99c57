// The platform's common dialogs that the program opens.
#pragma once
#include <windows.h>
#include "toolkit/Classes.h"
#include "toolkit/Graphics.h"

// The colour picker, opened with its custom-colour part shown.
class TColorDialog : public TComponent {
public:
    using TComponent::TComponent;
    TColor Color = clBlack;                 // the starting colour, and the chosen one
    COLORREF CustomColors[16] = {};
    // True when the user confirmed a colour.
    bool Execute(HWND owner);
};
