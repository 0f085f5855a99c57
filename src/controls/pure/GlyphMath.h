// The glyph button's arithmetic: how many images a glyph strip holds, where glyph and caption
// go for each text alignment, which image shows in which state, and the grey and embossed
// versions of the first image. Pixels are 0x00RRGGBB words, rows top-down.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

enum TTextAlign { ttaTopLeft, ttaTop, ttaTopRight, ttaRight, ttaBottomRight, ttaBottom, ttaBottomLeft, ttaLeft, ttaCenter };

// The image count after a glyph of this size is given: square cells side by side set it (one
// when there would be more than four), any other shape keeps the current count.
int AutoGlyphCount(int glyphWidth, int glyphHeight, int current);
// The width of one image; a strip narrower than its count is one image of its whole width.
int GlyphCellWidth(int glyphWidth, int numGlyphs);

struct TGlyphPoint { int X, Y; };
// The glyph's top-left corner in a button of Width x Height.
TGlyphPoint GlyphOrigin(TTextAlign align, int width, int height, int cellWidth, int glyphHeight, int spacing);
// The caption's top-left corner, for a measured text of tw x th and the glyph's top and bottom.
TGlyphPoint CaptionOrigin(TTextAlign align, int width, int height, int tw, int th, int glyphTop, int glyphBottom,
                          int spacing);

// The image shown: the cell index for the state, or one of the two prepared images.
constexpr int GreyImage = -1, DisabledImage = -2;
int ShownImage(int numGlyphs, bool enabled, bool pressedLook, bool greyWanted);

// Every pixel that differs from the corner pixel (0, 0) turned into its grey level.
void MakeGreyImage(std::vector<uint32_t>& pixels);
// The cell's shape (every pixel neither white nor the corner colour) embossed on the face colour:
// highlight one pixel right and down, then shadow in place.
std::vector<uint32_t> MakeDisabledImage(const std::vector<uint32_t>& pixels, int width, int height, uint32_t face,
                                        uint32_t highlight, uint32_t shadow);
