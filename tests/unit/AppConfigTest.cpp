#include <gtest/gtest.h>
#include <map>
#include "app/pure/AppConfig.h"
#include "app/pure/Layout.h"
#include "toolkit/pure/StrUtils.h"

TEST(SettingsValues, NumbersFollowTheFileRules)
{
    struct { const char* text; int def; int want; } cases[] = {
        {"0", 7, 0}, {"1", 7, 1}, {"-5", 7, -5}, {"14742776", 7, 14742776},
        {"0xFF", 7, 255}, {"0XfF", 7, 255}, {"$10", 7, 16}, {"0x", 7, 7}, {"$", 7, 7},
        {"", 7, 7}, {"red", 7, 7}, {"12abc", 7, 7}, {"  42", 7, 42}, {"2147483647", 7, 2147483647},
        {"2147483648", 7, 7}, {"-2147483648", 7, -2147483647 - 1}, {"0xFFFFFFFF", 7, -1},
        {"0x100000000", 7, 7}, {"99999999999999999999", 7, 7}, {"1.5", 7, 7}};
    for (auto& c : cases) EXPECT_EQ(StrToIntDef(c.text, c.def), c.want) << '"' << c.text << '"';
}

namespace {
CommandLineResult Apply(std::vector<std::string> args, AppSettingsType& s) { return ApplyCommandLine(args, s); }
}

TEST(CommandLine, SwitchTableInOrder)
{
    AppSettingsType s;
    s.Subdir = s.Sort = s.Wallpaper = s.UseMedia = false;
    auto r = Apply({"/subdir", "/Sort", "/w", "/m", "/t"}, s);
    EXPECT_TRUE(s.Subdir && s.Sort && s.Wallpaper && s.UseMedia);
    EXPECT_TRUE(r.StayOnTop);
    EXPECT_EQ(r.FilterOverride, "");
    EXPECT_EQ(s.Path, "");
}

TEST(CommandLine, FilterArguments)
{
    AppSettingsType s;
    EXPECT_EQ(Apply({"/f:wav"}, s).FilterOverride, ":WAV");
    EXPECT_EQ(Apply({"/Fwav;aif"}, s).FilterOverride, "WAV;AIF");
    EXPECT_EQ(Apply({"/F"}, s).FilterOverride, "");          // alone: the stored filter stays
    EXPECT_EQ(Apply({"/Fwav", "/F"}, s).FilterOverride, "WAV");
    std::string longArg = "/F" + std::string(5000, 'x');
    EXPECT_EQ(Apply({longArg}, s).FilterOverride.size(), 1000u);
}

TEST(CommandLine, AnythingElseIsTheStartFolderUpperCased)
{
    AppSettingsType s;
    Apply({"/SUBDIRS"}, s);
    EXPECT_EQ(s.Path, "/SUBDIRS");
    Apply({"c:\\one", "c:\\two"}, s);
    EXPECT_EQ(s.Path, "C:\\TWO");
    // Switches only ever set: none clears a value.
    s.Sort = true;
    Apply({"c:\\x"}, s);
    EXPECT_TRUE(s.Sort);
}

TEST(StartFolder, FileGivesItsFolderEmptyGivesTheProgramFolder)
{
    std::map<std::string, long> fs = {{"C:\\SAMPLES\\KICK.WAV", 0x20}, {"C:\\SAMPLES", 0x10}, {"D:X.WAV", 0x20}};
    auto attrs = [&](const std::string& p) { auto it = fs.find(p); return it == fs.end() ? -1L : it->second; };
    EXPECT_EQ(ResolveStartFolder("C:\\SAMPLES\\KICK.WAV", attrs, "C:\\PROG\\"), "C:\\SAMPLES\\");
    EXPECT_EQ(ResolveStartFolder("C:\\SAMPLES", attrs, "C:\\PROG\\"), "C:\\SAMPLES");
    EXPECT_EQ(ResolveStartFolder("D:X.WAV", attrs, "C:\\PROG\\"), "D:");
    EXPECT_EQ(ResolveStartFolder("C:\\NOWHERE", attrs, "C:\\PROG\\"), "C:\\NOWHERE");
    EXPECT_EQ(ResolveStartFolder("", attrs, "C:\\PROG\\"), "C:\\PROG\\");
}

TEST(Layout, WidthsAndTheListKeepsItsPlace)
{
    auto both = ComputeLayout(false, false, false, false, 300);
    EXPECT_EQ(both.WindowWidth, 519);
    EXPECT_EQ(both.WindowLeft, 300);
    auto leftShut = ComputeLayout(true, false, false, false, 300);
    EXPECT_EQ(leftShut.WindowLeft, 484);
    EXPECT_EQ(leftShut.WindowWidth, 335);
    // The list's screen position: window left + list left.
    EXPECT_EQ(both.WindowLeft + both.ListLeft, leftShut.WindowLeft + leftShut.ListLeft);
    auto reopened = ComputeLayout(false, false, true, false, 484);
    EXPECT_EQ(reopened.WindowLeft, 300);
    EXPECT_EQ(ComputeLayout(true, true, true, false, 0).WindowWidth, 151);
    // Laid out again with a side already shut: the window stays where it is.
    EXPECT_EQ(ComputeLayout(true, false, true, false, 484).WindowLeft, 484);
    EXPECT_EQ(ComputeLayout(false, true, false, false, 300).WindowLeft, 300);
    auto swapped = ComputeLayout(true, false, true, true, 0);
    EXPECT_TRUE(swapped.PlayerHidden);
    EXPECT_FALSE(swapped.TreeHidden);
    EXPECT_EQ(swapped.TreeLeft, -184 + 329);
}

TEST(Layout, KeepingTheWindowOnTheScreenAndSnapping)
{
    // Five pixels stay on the screen; a window already on it keeps its place.
    EXPECT_EQ(KeepLeftOnScreen(-514, 335, 0, 1280), -330);
    EXPECT_EQ(KeepLeftOnScreen(-330, 335, 0, 1280), -330);
    EXPECT_EQ(KeepLeftOnScreen(1459, 335, 0, 1280), 1275);
    EXPECT_EQ(KeepLeftOnScreen(200, 519, 0, 1280), 200);
    EXPECT_EQ(KeepLeftOnScreen(-1800, 519, -1280, 1280), -1280 + 5 - 519);
    // A stored position off every screen comes back; one that touches the screen stays.
    auto far = PullOntoScreen(5000, 5000, 519, 423, 0, 0, 1280, 1024);
    EXPECT_EQ(far.X, 1275);
    EXPECT_EQ(far.Y, 1019);
    auto edge = PullOntoScreen(-518, 1023, 519, 423, 0, 0, 1280, 1024);
    EXPECT_EQ(edge.X, -518);
    EXPECT_EQ(edge.Y, 1023);
    auto above = PullOntoScreen(100, -423, 519, 423, 0, 0, 1280, 1024);
    EXPECT_EQ(above.X, 100);
    EXPECT_EQ(above.Y, 5 - 423);
    // Snapping: 15 pixels from an edge snaps, 16 does not; the bottom snaps on the whole screen.
    EXPECT_EQ(SnapToScreen(15, 100, 519, 423, 1280, 1024).X, 0);
    EXPECT_EQ(SnapToScreen(-15, 100, 519, 423, 1280, 1024).X, 0);
    EXPECT_EQ(SnapToScreen(16, 100, 519, 423, 1280, 1024).X, 16);
    EXPECT_EQ(SnapToScreen(1280 - 519 - 10, 100, 519, 423, 1280, 1024).X, 1280 - 519);
    EXPECT_EQ(SnapToScreen(100, 1024 - 423 - 10, 519, 423, 1280, 1024).Y, 1024 - 423);
    EXPECT_EQ(SnapToScreen(100, 12, 519, 423, 1280, 1024).Y, 0);
    // Far away: 3 pixels stay.
    auto gone = SnapToScreen(-5000, 5000, 519, 423, 1280, 1024);
    EXPECT_EQ(gone.X, 3 - 519);
    EXPECT_EQ(gone.Y, 1024 - 3);
}

TEST(Layout, AdjustColorClampsEachChannelAndKeepsTheTopByte)
{
    const int hint = 0x55BBFF;                          // RGB(255, 187, 85)
    EXPECT_EQ(AdjustColor(hint, 160), 0xF5FFFF);        // RGB(255, 255, 245)
    EXPECT_EQ(AdjustColor(hint, -100), 0x0057 * 0x100 + 0x9B);   // RGB(155, 87, 0)
    EXPECT_EQ(AdjustColor(static_cast<int>(0x80102030u), 16), static_cast<int>(0x80203040u));
}
