// The file operations' own rules: what may be deleted, and where the selection goes.
#include <gtest/gtest.h>
#include "app/pure/FileOps.h"

TEST(FileOps, OnlyWholePlainPathsGoToTheShellAndTheSelectionRule)
{
    EXPECT_TRUE(DeletablePath("C:\\SAMPLES\\KICK 01.WAV"));
    EXPECT_FALSE(DeletablePath("C:\\SAMPLES\\Q?X.WAV"));       // a character outside the code page
    EXPECT_FALSE(DeletablePath("C:\\SAMPLES\\*.WAV"));
    EXPECT_FALSE(DeletablePath(""));
    EXPECT_TRUE(DeletablePath("C:\\" + std::string(256, 'x')));
    EXPECT_FALSE(DeletablePath("C:\\" + std::string(257, 'x')));   // 260 characters
    EXPECT_EQ(ShellFileList("C:\\A.WAV"), std::string("C:\\A.WAV\0\0", 10));

    // Ten lines, 0 to 9; a line removed leaves nine.
    EXPECT_EQ(SelectionAfterDelete(3, 9), 3);
    EXPECT_EQ(SelectionAfterDelete(8, 9), 7);     // the last but one: the line before it
    EXPECT_EQ(SelectionAfterDelete(9, 9), 8);
    EXPECT_EQ(SelectionAfterDelete(0, 0), -1);    // the only line
    EXPECT_EQ(SelectionAfterDelete(-1, 1), -1);   // nothing was selected: never -2
}

TEST(FileOps, ChangesAreShownOnceQuietOrAtTheLatestDuringALongCopy)
{
    // A change 100 ms ago: wait; quiet long enough: show.
    EXPECT_FALSE(RereadDue(1100, 1000, 1000));
    EXPECT_TRUE(RereadDue(1000 + RereadQuietMs, 1000, 1000));
    // A copy reporting every 20 ms never goes quiet; it is shown at the latest deadline.
    EXPECT_FALSE(RereadDue(1000 + RereadLatestMs - 1, 1000, 1000 + RereadLatestMs - 21));
    EXPECT_TRUE(RereadDue(1000 + RereadLatestMs, 1000, 1000 + RereadLatestMs - 20));
    // The tick wraps after 49.7 days: the same, across the wrap.
    EXPECT_FALSE(RereadDue(50, 0xFFFFFFF0u, 0xFFFFFFF0u));
    EXPECT_TRUE(RereadDue(RereadQuietMs, 0xFFFFFFF0u, 0xFFFFFFF0u));
}
