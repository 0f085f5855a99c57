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
