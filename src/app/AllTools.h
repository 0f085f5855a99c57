// Small window routines shared by the main window and several controls.
#pragma once
#include <windows.h>

// Places a window in the topmost band (on) or takes it out (off), without moving or sizing it.
void SetStayOnTop(HWND window, bool on);

class TCanvas;
class TImageList;

// Tiles image index of the list over the canvas's current clipping rectangle, anchored so that
// the image's pixel (ox mod width, oy mod height) lies at the canvas origin: a texture that
// moves with an offset (the list box passes its scroll position) and has no seams.
void TileImageList(TCanvas& canvas, int ox, int oy, int index, TImageList& images);
