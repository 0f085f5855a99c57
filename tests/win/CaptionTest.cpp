// The caption strip's pieces on forms of their own: the title bar gives back the height of a
// system caption only where it removed one, and the moving bevel drags its form.
#include "WinTest.h"
#include "controls/NewCaption.h"
#include "controls/WAVScope.h"

using namespace wintest;

TEST(NewCaption, TakesTheCaptionHeightOffOnlyWhereItRemovedACaption)
{
    for (TFormBorderStyle style : {bsNone, bsSingle}) {
        auto* f = new TForm(Application);
        f->BorderStyle = style;
        f->SetBounds(40, 40, 300, 200);
        auto* bar = new TNewCaption(f);
        bar->SetParent(f);
        f->AfterConstruction();
        f->Show();
        Pump(20);
        LONG s = GetWindowLongA(f->Handle(), GWL_STYLE);
        EXPECT_NE(s & WS_CAPTION, WS_CAPTION) << style;
        EXPECT_EQ(f->Height(), style == bsNone ? 200 : 200 - GetSystemMetrics(SM_CYCAPTION)) << style;
        // The bar follows the form's activation.
        SendMessageA(f->Handle(), WM_NCACTIVATE, FALSE, 0);
        EXPECT_FALSE(bar->OwnerActive());
        EXPECT_EQ(bar->Color(), bar->InactiveColor());
        SendMessageA(f->Handle(), WM_NCACTIVATE, TRUE, 0);
        EXPECT_EQ(bar->Color(), bar->ActiveColor());
        delete f;
    }
    EXPECT_THROW(TNewCaption(nullptr), std::exception);
}

TEST(MoveBevel, DragsItsFormByTheDeltaOfEachMove)
{
    TForm* f = NewHostForm(100, 100, 200, 150);
    auto* bevel = new TMoveBevel(f);
    bevel->SetAlign(alClient);
    bevel->SetParent(f);
    bevel->MoveControl = f;
    HWND h = f->Handle();
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 25));
    EXPECT_EQ(f->Left(), 120);
    EXPECT_EQ(f->Top(), 115);
    // Without the button the drag is over: further moves move nothing.
    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
    SendMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 80));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(80, 80));
    EXPECT_EQ(f->Left(), 120);
    EXPECT_EQ(f->Top(), 115);
    delete f;
}
