#include "toolkit/Dialogs.h"
#include <commdlg.h>
#include "toolkit/LateBound.h"

bool TColorDialog::Execute(HWND owner)
{
    // The common dialog library is loaded when a colour is first chosen, not with the program.
    using ChooseColorFn = BOOL(WINAPI*)(LPCHOOSECOLORA);
    static const auto chooseColor = LateBound<ChooseColorFn>("comdlg32.dll", "ChooseColorA");
    if (!chooseColor) return false;
    CHOOSECOLORA c = {};
    c.lStructSize = sizeof c;
    c.hwndOwner = owner;
    c.rgbResult = ColorToRGB(Color);        // an RGB value: the dialog knows no system colours
    c.lpCustColors = CustomColors;
    c.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!chooseColor(&c)) return false;
    Color = TColor(c.rgbResult);
    return true;
}
