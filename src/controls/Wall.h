// A panel whose surface is a picture repeated as tiles, optionally painted off-screen and
// copied in one step, or painted by its OnPaint event instead. The trash target is one.
#pragma once
#include "toolkit/ExtCtrls.h"

using TOnPaintEvent = TEvent<TObject*, TCanvas&>;

class TWallpaper : public TPanel {
public:
    explicit TWallpaper(TComponent* owner);
    // The tile. Setting it copies the picture; an empty picture draws no tiles.
    const TBitmap& Wallpaper() const { return FWallpaper; }
    void SetWallpaper(TBitmap& picture);
    bool LoadWallpaperFromResource(const char* name);
    // Paint into an off-screen bitmap and copy it to the screen in one step.
    bool NoFlicker = false;
    TNotifyEvent OnMove;                 // after the panel's window has moved
    TOnPaintEvent OnPaint;               // when assigned, called instead of the tiling
protected:
    const char* ClassName() const override { return "TWallpaper"; }
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
    bool EraseBackground(HDC dc) override;
    void PaintWindow(HDC dc) override;
    void Paint() override;
private:
    TBitmap FWallpaper;
};
