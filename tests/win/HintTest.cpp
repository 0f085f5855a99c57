// The program's hint window under Wine: the drop below the pointer's shape read from the cursor
// mask (colour and black-and-white cursors, no cursor at all), and a hint that paints the same
// picture again after its first paint.
#include "WinTest.h"
#include "controls/Hint95.h"

using namespace wintest;

TEST(HintWindow95, CursorDropComesFromTheMaskItself)
{
    EXPECT_EQ(THintWindow95::CursorDrop(nullptr), 32);
    // Our own black-and-white arrowhead (32 x 64 mask): its white rim ends on row 11, the hot
    // spot is on row 5.
    HCURSOR own = LoadCursorA(GetModuleHandleA(nullptr), "LeftCursor");
    ASSERT_TRUE(own);
    EXPECT_EQ(THintWindow95::CursorDrop(own), 6);
    // The system arrow is a colour cursor with a 32-row mask under Wine: its shape ends on row 20.
    int arrow = THintWindow95::CursorDrop(LoadCursor(nullptr, IDC_ARROW));
    EXPECT_GT(arrow, 10);
    EXPECT_LT(arrow, 32);
    // Reading the mask a thousand times leaves no bitmaps behind.
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 1000; ++i) THintWindow95::CursorDrop(own);
    DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_LE(after, before + 10);
}

TEST(HintWindow95, PaintsItsPictureAgainUntilTheNextHint)
{
    auto* w = new THintWindow95(Application);
    SetCursorPos(200, 200);
    w->ActivateHint(Rect(200, 200, 600, 200), "Second & paint");
    Pump(50);
    ASSERT_TRUE(IsWindowVisible(w->Handle()));
    RECT r;
    GetWindowRect(w->Handle(), &r);
    EXPECT_EQ(r.left, 200);
    EXPECT_GT(r.right - r.left, 20);
    unsigned info = ColorToRGB(clInfoBk);
    unsigned want = (GetRValue(info) << 16) | (GetGValue(info) << 8) | GetBValue(info);
    // Painted twice more (covered and uncovered): the same background each time.
    EXPECT_EQ(PixelOf(w->Handle(), 3, 3), want);
    EXPECT_EQ(PixelOf(w->Handle(), 3, 3), want);
    w->ReleaseHint();
    delete w;
}
