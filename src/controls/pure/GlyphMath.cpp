#include "controls/pure/GlyphMath.h"

int AutoGlyphCount(int glyphWidth, int glyphHeight, int current)
{
    if (glyphHeight <= 0 || glyphWidth <= 0 || glyphWidth % glyphHeight != 0) return current;
    const int n = glyphWidth / glyphHeight;
    return n > 4 ? 1 : n;
}

int GlyphCellWidth(int glyphWidth, int numGlyphs)
{
    const int w = numGlyphs > 0 ? glyphWidth / numGlyphs : 0;
    return w > 0 ? w : glyphWidth;
}

TGlyphPoint GlyphOrigin(TTextAlign align, int width, int height, int cellWidth, int glyphHeight, int spacing)
{
    TGlyphPoint p;
    switch (align) {
    case ttaBottomRight: case ttaBottom: case ttaBottomLeft: p.Y = spacing; break;       // text under the glyph
    case ttaTopLeft: case ttaTop: case ttaTopRight: p.Y = height - glyphHeight - spacing; break;
    default: p.Y = (height - glyphHeight) / 2;
    }
    switch (align) {
    case ttaLeft: p.X = width - cellWidth - spacing; break;                              // text left of it
    case ttaRight: p.X = spacing; break;
    default: p.X = (width - cellWidth) / 2;
    }
    return p;
}

TGlyphPoint CaptionOrigin(TTextAlign align, int width, int height, int tw, int th, int glyphTop, int glyphBottom,
                          int spacing)
{
    const int above = glyphTop - th - spacing, below = glyphBottom + spacing, middle = height / 2 - th / 2;
    const int left = spacing, centre = width / 2 - tw / 2, right = width - tw - spacing;
    switch (align) {
    case ttaTopLeft: return {left, above};
    case ttaTop: return {centre, above};
    case ttaTopRight: return {right, above};
    case ttaRight: return {right, middle};
    case ttaBottomRight: return {right, below};
    case ttaBottom: return {centre, below};
    case ttaBottomLeft: return {left, below};
    case ttaLeft: return {left, middle};
    default: return {centre, middle};
    }
}

int ShownImage(int numGlyphs, bool enabled, bool pressedLook, bool greyWanted)
{
    if (!enabled && numGlyphs == 1) return DisabledImage;
    if (greyWanted) return GreyImage;
    if (numGlyphs == 2) return enabled ? 0 : 1;
    if (numGlyphs >= 3) return !enabled ? 1 : pressedLook ? 2 : 0;
    return 0;
}

void MakeGreyImage(std::vector<uint32_t>& pixels)
{
    if (pixels.empty()) return;
    const uint32_t corner = pixels[0] & 0xFFFFFF;
    for (uint32_t& p : pixels) {
        if ((p & 0xFFFFFF) == corner) continue;
        const uint32_t r = p >> 16 & 255, g = p >> 8 & 255, b = p & 255;
        const uint32_t grey = (30 * r + 59 * g + 11 * b) / 100;
        p = grey << 16 | grey << 8 | grey;
    }
}

std::vector<uint32_t> MakeDisabledImage(const std::vector<uint32_t>& pixels, int width, int height, uint32_t face,
                                        uint32_t highlight, uint32_t shadow)
{
    std::vector<uint32_t> out(pixels.size(), face);
    if (pixels.empty() || width <= 0 || height <= 0) return out;
    const uint32_t corner = pixels[0] & 0xFFFFFF;
    auto shape = [&](int x, int y) {
        const uint32_t p = pixels[size_t(y) * width + x] & 0xFFFFFF;
        return p != 0xFFFFFF && p != corner;
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (shape(x, y) && x + 1 < width && y + 1 < height) out[size_t(y + 1) * width + x + 1] = highlight;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (shape(x, y)) out[size_t(y) * width + x] = shadow;
    return out;
}
