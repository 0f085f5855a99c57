// The flat glyph button with real mouse messages: its looks at rest, under the mouse and held
// (by pixels), what counts as a click, the disabled and latched looks, moving, and glyph strips.
#include "WinTest.h"
#include "controls/TransBtn.h"

using namespace wintest;

namespace {
unsigned Sys(int index)
{
    const COLORREF c = GetSysColor(index);
    return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}
bool Grey(unsigned p) { return (p >> 16 & 255) == (p >> 8 & 255) && (p >> 8 & 255) == (p & 255); }
unsigned Red(unsigned p) { return p >> 16 & 255; }

class GlyphButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = NewHostForm(60, 60, 200, 120);
        Form->SetColor(clSilver);
        Button = new TTransparentButton(Form);
        Button->SetBounds(Bx, By, 75, 49);
        ASSERT_TRUE(Button->LoadGlyph("StopGlyph"));       // 24 x 29, one image, at (25, 10)
        Button->OnClick = [this](TObject*) { ++Clicks; };
        Button->SetParent(Form);
        H = Form->Handle();
        Pump(20);
    }
    void TearDown() override { Form->Free(); }
    void Send(UINT msg, WPARAM keys, int x, int y)
    {
        PostMessageA(H, msg, keys, MAKELPARAM(Bx + x, By + y));
        Pump(10);
    }
    // What the screen shows at a point of the button (the form paints no background when
    // printed, so the screen is read).
    unsigned At(int x, int y)
    {
        Pump(10);
        POINT p = {Bx + x, By + y};
        ClientToScreen(H, &p);
        HDC screen = GetDC(nullptr);
        const COLORREF c = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
    }
    static constexpr int Bx = 30, By = 20;
    // The glyph's dark rim runs down its column 2, its light edge down column 3 (row 15 here).
    static constexpr int RimX = 25 + 2, RimY = 10 + 15;
    TForm* Form = nullptr;
    TTransparentButton* Button = nullptr;
    HWND H = nullptr;
    int Clicks = 0;
};
}

TEST_F(GlyphButton, LooksFollowTheMouseAndAClickNeedsAReleaseInside)
{
    // At rest: no frame, the glyph in grey.
    EXPECT_EQ(At(0, 0), 0xC0C0C0u);
    EXPECT_EQ(At(74, 48), 0xC0C0C0u);
    EXPECT_TRUE(Grey(At(RimX + 5, RimY))) << std::hex << At(RimX + 5, RimY);

    // Under the mouse: a raised frame and the glyph in colour.
    Send(WM_MOUSEMOVE, 0, 40, 20);
    EXPECT_EQ(At(0, 0), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(74, 48), Sys(COLOR_BTNSHADOW));
    const unsigned rim = At(RimX, RimY), face = At(RimX + 5, RimY);
    EXPECT_GT(Red(face), (face >> 8 & 255) + 100) << std::hex << face;

    // Held: the frame sinks and the glyph moves one pixel right and down.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 40, 20);
    EXPECT_EQ(At(0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(At(74, 48), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(RimX + 1, RimY + 1), rim);
    EXPECT_NE(At(RimX, RimY), rim);

    // Dragged out it is drawn released; released outside, nothing happens.
    Send(WM_MOUSEMOVE, MK_LBUTTON, 90, 20);
    EXPECT_EQ(At(0, 0), Sys(COLOR_BTNHIGHLIGHT));
    Send(WM_LBUTTONUP, 0, 90, 20);
    EXPECT_EQ(Clicks, 0);

    // Out, back in, released inside: one click.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 40, 20);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 90, 20);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 41, 21);
    Send(WM_LBUTTONUP, 0, 41, 21);
    EXPECT_EQ(Clicks, 1);

    // Two quick clicks are two clicks, not a double click.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 40, 20);
    Send(WM_LBUTTONUP, 0, 40, 20);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 40, 20);
    Send(WM_LBUTTONUP, 0, 40, 20);
    EXPECT_EQ(Clicks, 3);

    // A second button while one is held does nothing; the first release ends the press.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 40, 20);
    Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 40, 20);
    Send(WM_RBUTTONUP, MK_LBUTTON, 40, 20);
    EXPECT_FALSE(Button->PressedLook());
    Send(WM_LBUTTONUP, 0, 40, 20);
    EXPECT_EQ(Clicks, 3);

    // The caption's accelerator, typed with Alt, clicks once; not when disabled, and not a
    // letter that is not marked.
    Button->SetCaption("&defaults");
    EXPECT_TRUE(Form->DispatchDialogChar('D'));
    EXPECT_FALSE(Form->DispatchDialogChar('e'));
    EXPECT_EQ(Clicks, 4);
    Button->SetEnabled(false);
    EXPECT_FALSE(Form->DispatchDialogChar('d'));
    EXPECT_EQ(Clicks, 4);
}

TEST_F(GlyphButton, DisabledLatchedMovableAndGlyphStrips)
{
    // Disabled: the glyph embossed in the system's shadow and highlight, and no clicks.
    Button->SetEnabled(false);
    bool shadow = false;
    for (int x = 25; x < 25 + 24; ++x) shadow |= At(x, RimY) == Sys(COLOR_BTNSHADOW);
    EXPECT_TRUE(shadow);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 40, 20);
    Send(WM_LBUTTONUP, 0, 40, 20);
    EXPECT_EQ(Clicks, 0);
    Button->SetEnabled(true);
    EXPECT_TRUE(Grey(At(RimX + 5, RimY)));
    EXPECT_EQ(At(0, 0), 0xC0C0C0u);

    // Latched: drawn pressed at once; a click fires and it stays pressed.
    Button->SetDown(true);
    EXPECT_EQ(At(0, 0), Sys(COLOR_BTNSHADOW));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 40, 20);
    Send(WM_LBUTTONUP, 0, 40, 20);
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(Button->PressedLook());

    // Movable: it follows the mouse while held, never while a latched button is only hovered.
    Button->Movable = true;
    Send(WM_MOUSEMOVE, 0, 50, 25);
    EXPECT_EQ(Button->Left(), Bx);
    Button->SetDown(false);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 40, 20);
    PostMessageA(H, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(Bx + 50, By + 25));
    Pump(10);
    EXPECT_EQ(Button->Left(), Bx + 10);
    EXPECT_EQ(Button->Top(), By + 5);
    PostMessageA(H, WM_LBUTTONUP, 0, MAKELPARAM(Bx + 50, By + 25));
    PostMessageA(H, WM_MOUSEMOVE, 0, MAKELPARAM(Bx + 60, By + 30));
    Pump(10);
    EXPECT_EQ(Button->Left(), Bx + 10);

    // Glyph strips: square cells set the count (one when more than four); another shape keeps
    // it, and a strip narrower than its count is one image, drawn whole.
    TBitmap strip(96, 24);
    Button->SetGlyph(strip);
    EXPECT_EQ(Button->NumGlyphs(), 4);
    strip.SetSize(120, 24);
    Button->SetGlyph(strip);
    EXPECT_EQ(Button->NumGlyphs(), 1);
    TBitmap narrow(3, 20);
    for (int i = 0; i < 60; ++i) narrow.Bits()[i] = 0x0000FF;     // blue on white, no corner colour
    narrow.Bits()[0] = narrow.Bits()[57] = 0xFFFFFF;                  // corner and bottom-left white
    Button->SetGlyph(narrow);
    Button->SetNumGlyphs(4);                                          // prepared again, one cell
    EXPECT_EQ(Button->NumGlyphs(), 4);
    Send(WM_MOUSEMOVE, 0, 10, 10);
    const int gx = Button->Left() - Bx + (75 - 3) / 2, gy = Button->Top() - By + (49 - 20) / 2;
    EXPECT_EQ(At(gx + 1, gy + 10), 0x0000FFu);
}
