// The wallpaper list box and the wallpaper panel, checked on the screen's own pixels.
#include "WinTest.h"
#include "controls/WPListBox.h"
#include "controls/Wall.h"

using namespace wintest;

namespace {
// What the window shows now at (x, y) of its client area, after it has painted itself.
unsigned ScreenPixel(HWND h, int x, int y)
{
    UpdateWindow(h);
    HDC dc = GetDC(h);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(h, dc);
    return c;
}

unsigned PixelAt(TBitmap& bmp, int x, int y) { return bmp.Canvas().Pixel(x, y); }

struct ListHost {
    ListHost()
    {
        Form = NewHostForm(40, 40, 300, 260);
        Wallpaper = new TImageList(Form, 160, 160, false);
        Wallpaper->ResourceLoad("BackWP");
        Wallpaper->GetBitmap(0, Image0);
        Wallpaper->GetBitmap(1, Image1);
        List = new TWPListBox(Form);
        List->Style = lbOwnerDrawFixed;
        List->ItemHeight = 13;
        List->SetColor(14742776);
        List->BackIL = Wallpaper;
        List->SetBounds(10, 10, 129, 200);
        List->OnDrawItem = [](TObject*, int, TRect, TOwnerDrawState) {};   // the background alone
        List->SetParent(Form);
        Pump(30);
    }
    ~ListHost() { Form->Free(); }
    void Fill(int n)
    {
        TStringList lines;
        for (int i = 0; i < n; ++i) lines.Add("line");
        List->SetLines(lines);
        Pump(30);
    }
    unsigned At(int x, int y) { return ScreenPixel(List->Handle(), x, y); }
    TForm* Form;
    TImageList* Wallpaper;
    TWPListBox* List;
    TBitmap Image0, Image1;
};
}

TEST(WPListBox, AnEmptyListShowsTheWallpaperFromItsTopLeftCorner)
{
    ListHost h;
    ASSERT_EQ(h.Wallpaper->Count(), 2);
    for (auto [x, y] : {std::pair{0, 0}, {7, 3}, {100, 150}, {60, 170}})
        EXPECT_EQ(h.At(x, y), PixelAt(h.Image0, x, y % 160)) << x << "," << y;
}

TEST(WPListBox, TheTextureScrollsWithTheLinesAndTheSelectionShowsTheSecondImage)
{
    ListHost h;
    h.Fill(60);
    // Lines and the space between them show image 0 where it lies behind them.
    for (int y : {0, 5, 14, 100, 165})
        EXPECT_EQ(h.At(60, y), PixelAt(h.Image0, 60, y % 160)) << y;
    // One line down: everything moved up 13 pixels.
    SendMessageA(h.List->Handle(), LB_SETTOPINDEX, 1, 0);
    Pump(30);
    ASSERT_EQ(h.List->TopIndex(), 1);
    for (int y : {0, 5, 14, 100, 150, 180})
        EXPECT_EQ(h.At(60, y), PixelAt(h.Image0, 60, (y + 13) % 160)) << y;
    // The selected line (third visible) shows image 1 at the same place.
    h.List->SetItemIndex(3);
    Pump(30);
    TRect r = h.List->ItemRect(3);
    ASSERT_EQ(r.Top, 26);
    for (int y = r.Top; y < r.Bottom; y += 4)
        EXPECT_EQ(h.At(60, y), PixelAt(h.Image1, 60, (y + 13) % 160)) << y;
    EXPECT_EQ(h.At(60, r.Bottom), PixelAt(h.Image0, 60, (r.Bottom + 13) % 160)) << "the next line";
}

TEST(WPListBox, WithoutImagesItIsAPlainListWithTheHighlightColour)
{
    ListHost h;
    h.List->BackIL = nullptr;
    h.Fill(5);
    h.List->SetItemIndex(1);
    h.List->Invalidate();
    Pump(30);
    EXPECT_EQ(h.At(60, 5), ColorToRGB(14742776));
    EXPECT_EQ(h.At(60, 18), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(h.At(60, 150), ColorToRGB(14742776)) << "below the lines";
}

namespace {
struct PanelHost {
    PanelHost()
    {
        Form = NewHostForm(40, 40, 200, 200);
        Panel = new TWallpaper(Form);
        Panel->BevelOuter = bvNone;
        Panel->SetBounds(10, 10, 27, 27);
        Panel->SetParent(Form);
        Picture.SetSize(27, 27);
        for (int y = 0; y < 27; ++y)
            for (int x = 0; x < 27; ++x) Picture.Canvas().SetPixel(x, y, RGB(x * 9, y * 9, 100));
    }
    ~PanelHost() { Form->Free(); }
    unsigned At(int x, int y)
    {
        Panel->Repaint();
        return ScreenPixel(Panel->Handle(), x, y);
    }
    TForm* Form;
    TWallpaper* Panel;
    TBitmap Picture;
};
}

TEST(Wallpaper, APictureAsLargeAsThePanelCoversItOnce)
{
    PanelHost h;
    EXPECT_EQ(h.Panel->Color(), clBlack);
    EXPECT_TRUE(h.Panel->ShowHint);
    h.Panel->SetWallpaper(h.Picture);
    for (auto [x, y] : {std::pair{0, 0}, {26, 26}, {13, 5}})
        EXPECT_EQ(h.At(x, y), PixelAt(h.Picture, x, y)) << x << "," << y;
}

TEST(Wallpaper, TilesStartInsideTheBevelsAndRepeat)
{
    PanelHost h;
    h.Panel->BevelOuter = bvRaised;
    h.Panel->BevelWidth = 2;
    h.Panel->SetBounds(10, 10, 60, 40);
    TBitmap small(10, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) small.Canvas().SetPixel(x, y, RGB(x * 20, y * 20, 50));
    h.Panel->SetWallpaper(small);
    EXPECT_EQ(h.At(2, 2), PixelAt(small, 0, 0));
    EXPECT_EQ(h.At(15, 27), PixelAt(small, 3, 5));
    EXPECT_EQ(h.At(57, 37), PixelAt(small, 5, 5)) << "the last tile, cut by the bevel";
    EXPECT_NE(h.At(0, 0), PixelAt(small, 8, 8)) << "the bevel is not tiled over";
}

TEST(Wallpaper, APaintHandlerReplacesTheTilesAndGetsTheOffScreenCanvas)
{
    PanelHost h;
    h.Panel->SetWallpaper(h.Picture);
    for (bool noFlicker : {false, true}) {
        h.Panel->NoFlicker = noFlicker;
        DWORD kind = 0;
        int calls = 0;
        h.Panel->OnPaint = [&](TObject* sender, TCanvas& canvas) {
            EXPECT_EQ(sender, h.Panel);
            kind = GetObjectType(canvas.Handle());
            ++calls;
            canvas.Brush.SetColor(RGB(0, 200, 0));
            canvas.FillRect(Rect(0, 0, 27, 27));
        };
        EXPECT_EQ(h.At(5, 5), RGB(0, 200, 0)) << "NoFlicker " << noFlicker;
        EXPECT_GE(calls, 1);
        EXPECT_EQ(kind, DWORD(noFlicker ? OBJ_MEMDC : OBJ_DC)) << "NoFlicker " << noFlicker;
    }
}

TEST(Wallpaper, MovingThePanelFiresOnMove)
{
    PanelHost h;
    int moves = 0;
    h.Panel->OnMove = [&](TObject* sender) { EXPECT_EQ(sender, h.Panel); ++moves; };
    h.Panel->SetBounds(30, 20, 27, 27);
    EXPECT_GE(moves, 1);
}
