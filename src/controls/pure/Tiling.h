// Where tiles go: the wallpaper list box's tiling from an image list, and the wallpaper
// panel's own. Positions are in the order they are drawn.
#pragma once
#include <utility>
#include <vector>

using TTilePositions = std::vector<std::pair<int, int>>;

// Tiles of w x h covering the clipping rectangle (left, top, right, bottom), anchored so that
// the image's pixel (ox mod w, oy mod h) lies at the origin: the rows and columns that reach
// into the rectangle, at least one row of at least one tile. Nothing for an empty cell size.
TTilePositions ImageListTiles(int left, int top, int right, int bottom, int ox, int oy, int w, int h);

// The wallpaper panel's tiles of a pw x ph picture over an inner rectangle at (innerLeft,
// innerTop) of innerWidth x innerHeight: columns from (innerWidth div pw) down to 0, inside
// each rows from (innerHeight div ph) down to 0. Nothing for an empty picture.
TTilePositions WallpaperTiles(int innerLeft, int innerTop, int innerWidth, int innerHeight, int pw, int ph);
