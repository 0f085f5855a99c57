// The program's hints under Wine: the drop below the pointer's shape read from the cursor mask
// (colour and black-and-white cursors, no cursor at all), a hint that paints the same picture
// again after its first paint, and the hint font following the system's status-bar font.
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

TEST(Hint95, TheHintFontFollowsTheStatusBarFont)
{
    auto* form = Application->CreateForm<TForm>();
    auto* hint = new THint95(form);
    NONCLIENTMETRICSA saved = {};
    saved.cbSize = sizeof saved;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof saved, &saved, 0));
    EXPECT_EQ(hint->HintFont().Name(), saved.lfStatusFont.lfFaceName);
    EXPECT_EQ(hint->HintFont().Height(), saved.lfStatusFont.lfHeight);
    // The system's status-bar font changes (for this session only) and the change is announced.
    NONCLIENTMETRICSA changed = saved;
    lstrcpyA(changed.lfStatusFont.lfFaceName, "Courier New");
    changed.lfStatusFont.lfHeight = -17;
    changed.lfStatusFont.lfWeight = FW_BOLD;
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof changed, &changed, 0));
    HWND utility = FindWindowA("THint95Utility", nullptr);
    ASSERT_TRUE(utility);
    SendMessageA(utility, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
    EXPECT_EQ(hint->HintFont().Name(), "Courier New");
    EXPECT_EQ(hint->HintFont().Height(), -17);
    EXPECT_EQ(hint->HintFont().Style(), static_cast<unsigned>(fsBold));
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof saved, &saved, 0);
    // The application shows its hints in the program's own window from now on.
    EXPECT_TRUE(Application->HintPause == 500 && Application->HintShortPause == 25 && Application->HintHidePause == 5000);
    THintWindow* w = Application->HintWindowClass(Application);
    EXPECT_TRUE(dynamic_cast<THintWindow95*>(w) != nullptr);
    delete w;
}
