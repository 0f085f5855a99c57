// The glyph button's arithmetic: image count, layouts, the image for each state, grey and
// embossed images.
#include <gtest/gtest.h>
#include "controls/pure/GlyphMath.h"

TEST(Glyph, ImageCountFollowsSquareCellsUpToFour)
{
    EXPECT_EQ(AutoGlyphCount(96, 24, 1), 4);
    EXPECT_EQ(AutoGlyphCount(120, 24, 2), 1);     // five cells: the whole strip is one image
    EXPECT_EQ(AutoGlyphCount(24, 29, 3), 3);      // not square: the count stays
    EXPECT_EQ(AutoGlyphCount(0, 0, 2), 2);        // empty
    // A strip narrower than its count is one image of its whole width, never an empty cell.
    EXPECT_EQ(GlyphCellWidth(3, 4), 3);
    EXPECT_EQ(GlyphCellWidth(100, 4), 25);
}

TEST(Glyph, GlyphAndCaptionPlacesForEachAlignment)
{
    // A 75 x 49 button, a 24 x 29 glyph, a 30 x 13 caption, spacing 2.
    struct { TTextAlign a; int gx, gy, tx, ty; } cases[] = {
        {ttaCenter, 25, 10, 22, 18},
        {ttaBottom, 25, 2, 22, 33},          // glyph at the top, text under it
        {ttaTop, 25, 18, 22, 3},             // glyph at the bottom, text above it
        {ttaLeft, 49, 10, 2, 18},            // glyph at the right, text at the left
        {ttaRight, 2, 10, 43, 18},
        {ttaTopLeft, 25, 18, 2, 3},
        {ttaBottomRight, 25, 2, 43, 33},
    };
    for (const auto& c : cases) {
        const TGlyphPoint g = GlyphOrigin(c.a, 75, 49, 24, 29, 2);
        const TGlyphPoint t = CaptionOrigin(c.a, 75, 49, 30, 13, g.Y, g.Y + 29, 2);
        EXPECT_EQ(g.X, c.gx) << c.a;
        EXPECT_EQ(g.Y, c.gy) << c.a;
        EXPECT_EQ(t.X, c.tx) << c.a;
        EXPECT_EQ(t.Y, c.ty) << c.a;
    }
}

TEST(Glyph, ImageShownForEachState)
{
    EXPECT_EQ(ShownImage(1, true, false, true), GreyImage);       // at rest, mouse elsewhere
    EXPECT_EQ(ShownImage(1, true, true, false), 0);
    EXPECT_EQ(ShownImage(1, false, false, true), DisabledImage);  // disabled wins over grey
    EXPECT_EQ(ShownImage(2, false, false, false), 1);
    EXPECT_EQ(ShownImage(3, true, true, false), 2);
    EXPECT_EQ(ShownImage(4, true, false, false), 0);              // the fourth cell never shows
    EXPECT_EQ(ShownImage(4, false, true, false), 1);
}

TEST(Glyph, GreyAndEmbossedImages)
{
    // 3 x 2: background (the corner colour), a red pixel, white, and a blue one.
    const uint32_t bg = 0x00FF00, red = 0xFF0000, white = 0xFFFFFF, blue = 0x0000FF;
    std::vector<uint32_t> px = {bg, red, white, bg, blue, bg};
    std::vector<uint32_t> grey = px;
    MakeGreyImage(grey);
    const uint32_t r = 255 * 30 / 100, b = 255 * 11 / 100;
    EXPECT_EQ(grey, (std::vector<uint32_t>{bg, r * 0x010101, white, bg, b * 0x010101, bg}));

    const uint32_t face = 0xC0C0C0, hi = 0xFFFFFF, sh = 0x808080;
    // The shape is the red and the blue pixel (white and the corner colour are background);
    // each casts a highlight one pixel right and down, then is drawn in shadow.
    EXPECT_EQ(MakeDisabledImage(px, 3, 2, face, hi, sh), (std::vector<uint32_t>{face, sh, face, face, sh, hi}));
    // Shape in the last column: its highlight would fall outside the cell, so there is none.
    const std::vector<uint32_t> edge = {bg, bg, red, bg, bg, blue, bg, bg, bg};
    EXPECT_EQ(MakeDisabledImage(edge, 3, 3, face, hi, sh), (std::vector<uint32_t>{face, face, sh, face, face, sh, face, face, face}));
}
