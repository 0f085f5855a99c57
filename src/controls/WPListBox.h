// The sample list: an owner-drawn list box with a wallpaper tiled from an image list behind
// its lines and its empty space. The texture scrolls with the lines.
#pragma once
#include "toolkit/ImgList.h"
#include "toolkit/StdCtrls.h"

class TWPListBox : public TListBox {
public:
    explicit TWPListBox(TComponent* owner) : TListBox(owner) {}
    // Image 0 lies behind lines and empty space, image 1 behind the selected line. A plain
    // reference: changing it does not repaint, and the list must live as long as the box.
    // Without it the box is a plain list box with the selection in the highlight colour.
    TImageList* BackIL = nullptr;
protected:
    const char* ClassName() const override { return "TWPListBox"; }
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
    void DrawItemBackground(int index, TRect r, TOwnerDrawState state) override;
private:
    // The texture's vertical offset: the first visible line's place in the whole list.
    int ScrollOffset() const { return TopIndex() * ItemHeight; }
};
