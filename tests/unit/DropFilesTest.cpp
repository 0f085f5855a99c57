// The file-drop block the drag source offers, and the result codes of a drag.
#include <gtest/gtest.h>
#include "shell/pure/DropFiles.h"

TEST(FileDrop, BlockLayoutAndResultCodes)
{
    const std::vector<uint8_t> one = FileDropBlock({"C:\\A.WAV"});
    const std::vector<uint8_t> want = {20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                       'C', ':', '\\', 'A', '.', 'W', 'A', 'V', 0, 0};
    EXPECT_EQ(one, want);                                   // 30 bytes
    EXPECT_EQ(FileDropBlock({}).size(), 21u);               // the header and one zero
    const auto two = FileDropBlock({"x", "yz"});
    EXPECT_EQ(std::string(two.begin() + 20, two.end()), std::string("x\0yz\0\0", 6));
    EXPECT_EQ(FileDropBlockSize({"x", "yz"}), two.size());

    EXPECT_EQ(DragResultCode(TDragOutcome::Dropped, 1, 1), 0);
    EXPECT_EQ(DragResultCode(TDragOutcome::Dropped, 3, 3), 0);
    EXPECT_EQ(DragResultCode(TDragOutcome::Dropped, 2, 3), 1);
    EXPECT_EQ(DragResultCode(TDragOutcome::Dropped, 2, 1), 2);   // a move where only copy is allowed
    EXPECT_EQ(DragResultCode(TDragOutcome::Dropped, 0, 1), 2);
    EXPECT_EQ(DragResultCode(TDragOutcome::Cancelled, 1, 1), 2);
    EXPECT_EQ(DragResultCode(TDragOutcome::OutOfMemory, 0, 1), 3);
    EXPECT_EQ(DragResultCode(TDragOutcome::Failed, 0, 1), 4);
}
