#include <gtest/gtest.h>
#include "app/pure/SampleList.h"
#include "controls/pure/Tiling.h"

using P = std::pair<int, int>;

TEST(Tiling, ImageListTilesAnchorAtTheOffsetAndCoverTheClip)
{
    struct { int l, t, r, b, ox, oy; TTilePositions want; const char* what; } cases[] = {
        {0, 0, 129, 381, 0, 0, {{0, 0}, {0, 160}, {0, 320}}, "a list's client area, unscrolled"},
        {0, 0, 129, 381, 0, 13, {{0, -13}, {0, 147}, {0, 307}}, "one line down: the texture moved up 13"},
        {0, 26, 129, 39, 0, 13, {{0, -13}}, "one line's clip: only its row"},
        {0, 150, 129, 163, 0, 13, {{0, -13}, {0, 147}}, "a line across the tile border"},
        {0, 0, 129, 13, 0, 160 * 13, {{0, 0}}, "a whole number of tiles scrolled"},
        {0, 0, 400, 10, 170, 0, {{-10, 0}, {150, 0}, {310, 0}}, "horizontal offset"},
        {165, 0, 170, 10, 0, 0, {{160, 0}}, "a clip inside the second column"},
        {5, 5, 5, 5, 0, 0, {{0, 0}}, "an empty clip still gets one tile"},
    };
    for (auto& c : cases)
        EXPECT_EQ(ImageListTiles(c.l, c.t, c.r, c.b, c.ox, c.oy, 160, 160), c.want) << c.what;
    EXPECT_TRUE(ImageListTiles(0, 0, 100, 100, 0, 0, 0, 160).empty()) << "no images";
}

TEST(Tiling, WallpaperTilesFromTheLastColumnAndRowDown)
{
    // A 27 x 27 panel without bevels and a 27 x 27 picture: four tiles, in this order, only the
    // last inside the client area.
    EXPECT_EQ(WallpaperTiles(0, 0, 27, 27, 27, 27), (TTilePositions{{27, 27}, {27, 0}, {0, 27}, {0, 0}}));
    // A bevel of 2 on a 30 x 20 panel: inner 26 x 16 from (2, 2), picture 10 x 10.
    EXPECT_EQ(WallpaperTiles(2, 2, 26, 16, 10, 10),
              (TTilePositions{{22, 12}, {22, 2}, {12, 12}, {12, 2}, {2, 12}, {2, 2}}));
    EXPECT_TRUE(WallpaperTiles(0, 0, 27, 27, 0, 27).empty());
    EXPECT_TRUE(WallpaperTiles(0, 0, 27, 27, 27, 0).empty());
}

TEST(Watch, FolderOfTheListWithoutItsBackslashButARootKeepsIt)
{
    struct { const char* listed; const char* want; } cases[] = {
        {"C:\\SAMPLES\\", "C:\\SAMPLES"}, {"C:\\", "C:\\"}, {"\\\\SERVER\\SHARE\\", "\\\\SERVER\\SHARE"},
        {"?\\", "?"}, {"", ""},
    };
    for (auto& c : cases) EXPECT_EQ(WatchFolderOf(c.listed), c.want) << c.listed;
}
