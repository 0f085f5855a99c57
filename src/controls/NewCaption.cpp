#include "controls/NewCaption.h"
#include "toolkit/Forms.h"

TNewCaption::TNewCaption(TComponent* owner) : TCustomControl(owner) {}

void TNewCaption::Paint()
{
    TForm* form = GetParentForm(this);
    bool active = form && form->HandleAllocated() && GetActiveWindow() == form->Handle();
    Canvas.Brush.SetColor(active ? FActiveColor : FInactiveColor);
    Canvas.FillRect(ClientRect());
    OnPaint(this, Canvas);
    Canvas.Brush.SetStyle(bsClear);
    Canvas.Font.SetStyle(fsBold);
    TRect r = Rect(TextLeft, 0, Width(), Height());
    Canvas.TextRect(r, TextLeft, (Height() - Canvas.TextHeight("Ag")) / 2, Caption());
}
