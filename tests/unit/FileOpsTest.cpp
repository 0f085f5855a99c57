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
