#include <gtest/gtest.h>
#include "about/pure/VersionText.h"

TEST(VersionText, TheAboutBoxShowsTheThirdNumberOnlyWhenItIsNotZero)
{
    struct { int major, minor, patch; const char* caption; } cases[] = {
        {1, 5, 0, "v1.5"}, {1, 5, 2, "v1.5.2"}, {2, 0, 0, "v2.0"}, {0, 12, 10, "v0.12.10"},
    };
    for (const auto& c : cases) EXPECT_EQ(VersionCaption(c.major, c.minor, c.patch), c.caption) << c.caption;
}
