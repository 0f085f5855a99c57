#include "toolkit/CommonControls.h"

bool CommonControlsNeeded()
{
    static const bool ready = [] {
        const auto init = LateBound<decltype(&InitCommonControlsEx)>("comctl32.dll", "InitCommonControlsEx");
        // Only the classes the program uses: each one registered costs time.
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
        return init && init(&icc);
    }();
    return ready;
}
