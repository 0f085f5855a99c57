// Image lists take pictures drawn through a bitmap's canvas.
#include "WinTest.h"
#include "toolkit/ImgList.h"

TEST(ImageList, AddsABitmapStillSelectedIntoItsCanvas)
{
    for (bool masked : {false, true}) {
        TImageList list(nullptr, 4, 4, masked);
        TBitmap bmp(8, 4);
        bmp.Canvas().Brush.SetColor(clRed);
        bmp.Canvas().FillRect(Bounds(0, 0, 4, 4));
        bmp.Canvas().Brush.SetColor(clBlue);
        bmp.Canvas().FillRect(Bounds(4, 0, 4, 4));
        if (masked) list.AddMasked(bmp, clBlue);
        else list.Add(bmp);
        ASSERT_EQ(list.Count(), 2);
        TBitmap out(8, 4);
        out.Canvas().Brush.SetColor(clLime);
        out.Canvas().FillRect(Bounds(0, 0, 8, 4));
        list.DrawOn(out.Canvas().Handle(), 0, 0, 0);
        list.DrawOn(out.Canvas().Handle(), 4, 0, 1);
        GdiFlush();
        EXPECT_EQ(out.Bits()[1 * 8 + 1] & 0xFFFFFF, 0xFF0000u) << masked;
        // The mask colour is transparent: the background stays.
        EXPECT_EQ(out.Bits()[1 * 8 + 5] & 0xFFFFFF, masked ? 0x00FF00u : 0x0000FFu) << masked;
        // The bitmap's canvas still draws on it afterwards.
        bmp.Canvas().SetPixel(0, 0, clLime);
        GdiFlush();
        EXPECT_EQ(bmp.Bits()[0] & 0xFFFFFF, 0x00FF00u);
    }
}

TEST(ImageList, ItsOwnImagesDrawPlainGreyedAndAsTheLibrarysList)
{
    // Two adds of 4x4 images: red and blue, then green; blue is the mask colour.
    const COLORREF hl = GetSysColor(COLOR_HIGHLIGHT);
    const unsigned highlight = GetRValue(hl) << 16 | GetGValue(hl) << 8 | GetBValue(hl);
    for (bool masked : {false, true}) {
        TImageList list(nullptr, 4, 4, masked);
        TBitmap two(8, 4), one(4, 4);
        two.Canvas().Brush.SetColor(clRed);
        two.Canvas().FillRect(Bounds(0, 0, 4, 4));
        two.Canvas().Brush.SetColor(clBlue);
        two.Canvas().FillRect(Bounds(4, 0, 4, 4));
        one.Canvas().Brush.SetColor(clLime);
        one.Canvas().FillRect(Bounds(0, 0, 4, 4));
        EXPECT_EQ(list.AddMasked(two, clBlue), 0) << masked;
        EXPECT_EQ(list.Add(one), 2) << masked;
        ASSERT_EQ(list.Count(), 3) << masked;
        // Drawn by us: plain, greyed (every other pixel in the selection colour), and a
        // transparent image greyed stays transparent.
        TBitmap out(16, 4);
        out.Canvas().Brush.SetColor(clWhite);
        out.Canvas().FillRect(Bounds(0, 0, 16, 4));
        list.DrawOn(out.Canvas().Handle(), 0, 0, 2);
        list.DrawOn(out.Canvas().Handle(), 4, 0, 0, false);
        list.DrawOn(out.Canvas().Handle(), 8, 0, 1, false);
        GdiFlush();
        EXPECT_EQ(out.Bits()[1 * 16 + 1] & 0xFFFFFF, 0x00FF00u) << masked;
        EXPECT_EQ(out.Bits()[0 * 16 + 4] & 0xFFFFFF, highlight) << masked;
        EXPECT_EQ(out.Bits()[0 * 16 + 5] & 0xFFFFFF, 0xFF0000u) << masked;
        EXPECT_EQ(out.Bits()[1 * 16 + 8] & 0xFFFFFF, masked ? 0xFFFFFFu : 0x0000FFu) << masked;
        // Handed to a tree view: the library's list holds the same images, and follows a change.
        HIMAGELIST h = list.Handle();
        ASSERT_NE(h, nullptr) << masked;
        EXPECT_EQ(ImageList_GetImageCount(h), 3) << masked;
        list.Add(one);
        EXPECT_EQ(ImageList_GetImageCount(h), 4) << masked;
        ImageList_Draw(h, 0, out.Canvas().Handle(), 12, 0, ILD_TRANSPARENT);
        GdiFlush();
        EXPECT_EQ(out.Bits()[2 * 16 + 13] & 0xFFFFFF, 0xFF0000u) << masked;
    }
}
