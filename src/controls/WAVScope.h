// A bevel that, dragged with the left button, moves another control (in practice its form): a
// dialog covered by one can be dragged by any point no other control covers.
#pragma once
#include "toolkit/ExtCtrls.h"

class TMoveBevel : public TBevel {
public:
    using TBevel::TBevel;
    TControl* MoveControl = nullptr;
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void MouseMove(TShiftState s, int x, int y) override;
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
private:
    static constexpr int NoDrag = 0x7FFFFFFF;
    TPoint FGrab = {NoDrag, 0};
};

class TForm;
// An invisible bevel over the whole client area (width x height) of a dialog that drags the
// dialog by any point its other controls leave free.
TMoveBevel* NewMoveBevel(TForm* form, int width, int height);

