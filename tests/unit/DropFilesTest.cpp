// The file-drop block the drag source offers, and the result codes of a drag.
#include <gtest/gtest.h>
#include "shell/pure/DropFiles.h"

TEST(FileDrop, BlockLayoutAndResultCodes)
{
    const std::vector<uint8_t> one = FileDropBlock({u"C:\\\u00C9\U0001F941"});
    const std::vector<uint8_t> want = {20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,
                                       'C', 0, ':', 0, '\\', 0, 0xC9, 0, 0x3E, 0xD8, 0x41, 0xDD, 0, 0, 0, 0};
    EXPECT_EQ(one, want);                                   // wide, a surrogate pair kept whole
    EXPECT_EQ(FileDropBlock({}).size(), 22u);               // the header and one wide zero
    const auto two = FileDropBlock({u"x", u"yz"});
    EXPECT_EQ(std::string(two.begin() + 20, two.end()), std::string("x\0\0\0y\0z\0\0\0\0\0", 12));
    EXPECT_EQ(FileDropBlockSize({u"x", u"yz"}), two.size());

    EXPECT_EQ(DragResultCode(TDragOutcome::Dropped, 1, 1), 0);
    EXPECT_EQ(DragResultCode(TDragOutcome::Dropped, 3, 3), 0);
    EXPECT_EQ(DragResultCode(TDragOutcome::Dropped, 2, 3), 1);
    EXPECT_EQ(DragResultCode(TDragOutcome::Dropped, 2, 1), 2);   // a move where only copy is allowed
    EXPECT_EQ(DragResultCode(TDragOutcome::Dropped, 0, 1), 2);
    EXPECT_EQ(DragResultCode(TDragOutcome::Cancelled, 1, 1), 2);
    EXPECT_EQ(DragResultCode(TDragOutcome::OutOfMemory, 0, 1), 3);
    EXPECT_EQ(DragResultCode(TDragOutcome::Failed, 0, 1), 4);
}
