// The sample list: an owner-drawn list box with a tiled wallpaper behind its lines.
#pragma once
#include "toolkit/ImgList.h"
#include "toolkit/StdCtrls.h"

class TWPListBox : public TListBox {
public:
    explicit TWPListBox(TComponent* owner) : TListBox(owner) {}
    TImageList* BackIL = nullptr;       // image 0 behind lines, image 1 behind the selected line
protected:
    const char* ClassName() const override { return "TWPListBox"; }
};
