// The notification-area icon through a stand-in of the shell call: what the shell is asked, the
// press-release pairing of clicks, the icon's own copy, and a program that starts and stays
// reachable when the shell refuses the icon until a new task bar appears.
#include <memory>
#include <vector>
#include "WinTest.h"
#include "shell/TrayIcon.h"

using namespace wintest;

namespace {
struct ShellCall {
    DWORD Message;
    UINT Flags;
    HICON Icon;
    std::string Tip;
};
std::vector<ShellCall> Calls;
bool Refuse = false;

BOOL WINAPI FakeShell(DWORD message, PNOTIFYICONDATAA d)
{
    Calls.push_back({message, d->uFlags, d->hIcon, d->szTip});
    return Refuse && message == NIM_ADD ? FALSE : TRUE;
}

struct TrayIconTest : ::testing::Test {
    void SetUp() override
    {
        Calls.clear();
        Refuse = false;
        System = ShellNotifyIcon;
        ShellNotifyIcon = &FakeShell;
    }
    void TearDown() override { ShellNotifyIcon = System; }
    void Send(UINT mouse) { SendMessageA(tray->CallbackWindow(), WM_TRAYICON, 0, mouse); }
    std::unique_ptr<TTrayIcon> tray;
    TShellNotifyIconProc System = nullptr;
};
}

TEST_F(TrayIconTest, AddsItsIconWithTheTitleAndPairsPressesWithReleases)
{
    tray = std::make_unique<TTrayIcon>(nullptr);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(Calls[0].Flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(Calls[0].Tip, "win_tests");
    EXPECT_TRUE(tray->IconShown());
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));

    std::string events;
    tray->OnClick = [&](TObject*) { events += "click "; };
    tray->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { events += "down "; };
    tray->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { events += "up "; };
    Send(WM_LBUTTONUP);                     // the press went elsewhere: no click
    EXPECT_EQ(events, "up ");
    events.clear();
    Send(WM_LBUTTONDOWN);
    Send(WM_LBUTTONUP);
    EXPECT_EQ(events, "down click up ");

    // The same hint makes no shell call; an empty one clears the tip flag; a long one is cut.
    Calls.clear();
    tray->SetHint("win_tests");
    EXPECT_TRUE(Calls.empty());
    tray->SetHint("");
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    tray->SetHint(std::string(100, 'x'));
    EXPECT_EQ(Calls.back().Tip, std::string(63, 'x'));

    // The icon set is copied: the caller may destroy its own at once.
    HICON given = CopyIcon(LoadIcon(nullptr, IDI_APPLICATION));
    tray->SetIcon(given);
    HICON kept = Calls.back().Icon;
    EXPECT_NE(kept, given);
    DestroyIcon(given);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(kept, &info));
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);

    // The end of the session removes the icon; so does destruction.
    Calls.clear();
    SendMessageA(tray->CallbackWindow(), WM_ENDSESSION, TRUE, 0);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Message, static_cast<DWORD>(NIM_DELETE));
    tray.reset();
    Calls.clear();
    tray = std::make_unique<TTrayIcon>(nullptr);
    tray.reset();
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(Calls[1].Message, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(TrayIconTest, ARefusedIconLeavesTheTaskBarWindowAndComesBackWithANewTaskBar)
{
    Refuse = true;
    ASSERT_NO_THROW(tray = std::make_unique<TTrayIcon>(nullptr));
    EXPECT_FALSE(tray->IconShown());
    // Minimised without an icon, the application's task-bar window stays: the way back.
    Application->Minimize();
    Pump(50);
    EXPECT_TRUE(IsWindowVisible(Application->Handle()));
    Application->Restore();
    Pump(50);

    Refuse = false;
    Calls.clear();
    SendMessageA(tray->CallbackWindow(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Message, static_cast<DWORD>(NIM_ADD));
    EXPECT_TRUE(tray->IconShown());
    Application->Minimize();
    Pump(50);
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));
    Application->Restore();
    Pump(50);
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));
    tray.reset();
}
