#include "controls/WAVScope.h"
#include "toolkit/Forms.h"

void TMoveBevel::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft) FGrab = {x, y};
    TBevel::MouseDown(b, s, x, y);
}

void TMoveBevel::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    FGrab.X = NoDrag;
    TBevel::MouseUp(b, s, x, y);
}

void TMoveBevel::MouseMove(TShiftState s, int x, int y)
{
    // The bevel moves with the control it moves, so each move carries the delta since the last.
    if (MoveControl) {
        if (!(s & ssLeft)) FGrab.X = NoDrag;
        else if (FGrab.X != NoDrag)
            MoveControl->SetBounds(MoveControl->Left() + x - FGrab.X, MoveControl->Top() + y - FGrab.Y,
                                   MoveControl->Width(), MoveControl->Height());
    }
    TBevel::MouseMove(s, x, y);
}

TMoveBevel* NewMoveBevel(TForm* form, int width, int height)
{
    auto* b = new TMoveBevel(form);
    b->Name = "MoveBevel1";
    b->Shape = bsSpacer;
    b->MoveControl = form;
    b->SetBounds(0, 0, width, height);
    b->SetParent(form);
    return b;
}
