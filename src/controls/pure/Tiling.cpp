#include "controls/pure/Tiling.h"

TTilePositions ImageListTiles(int left, int top, int right, int bottom, int ox, int oy, int w, int h)
{
    TTilePositions tiles;
    if (w <= 0 || h <= 0) return tiles;
    // Integer division and remainder truncate toward zero, as the drawing always has.
    int y = (top / h) * h - (oy % h);
    do {
        int x = (left / w) * w - (ox % w);
        do {
            tiles.emplace_back(x, y);
            x += w;
        } while (x < right);
        y += h;
    } while (y < bottom);
    return tiles;
}

TTilePositions WallpaperTiles(int innerLeft, int innerTop, int innerWidth, int innerHeight, int pw, int ph)
{
    TTilePositions tiles;
    if (pw <= 0 || ph <= 0) return tiles;
    int columns = innerWidth / pw, rows = innerHeight / ph;
    for (int c = columns; c >= 0; --c)
        for (int r = rows; r >= 0; --r) tiles.emplace_back(innerLeft + c * pw, innerTop + r * ph);
    return tiles;
}
