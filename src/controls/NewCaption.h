// The skinned window's title bar: the caption on a flat bar whose colour follows activation.
#pragma once
#include "toolkit/ExtCtrls.h"

class TNewCaption : public TCustomControl {
public:
    explicit TNewCaption(TComponent* owner);
    TColor ActiveColor() const { return FActiveColor; }
    void SetActiveColor(TColor c) { if (c != FActiveColor) { FActiveColor = c; Invalidate(); } }
    TColor InactiveColor() const { return FInactiveColor; }
    void SetInactiveColor(TColor c) { if (c != FInactiveColor) { FInactiveColor = c; Invalidate(); } }
    int TextLeft = 20;
    TEvent<TObject*, TCanvas&> OnPaint;
protected:
    const char* ClassName() const override { return "TNewCaption"; }
    void Paint() override;
private:
    TColor FActiveColor = 13164776;     // RGB(232, 224, 200)
    TColor FInactiveColor = 8421504;    // grey
};
