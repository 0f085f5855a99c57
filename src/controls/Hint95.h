// The program's own hints: THint95, put once on the main form, makes the application show every
// hint in a THintWindow95, sets the hint timings, keeps the hint font in step with the system's
// status-bar font and lets its owner paint each hint's background. The hint window sits just
// below the pointer's visible shape, stays on the screen, and is never activated.
#pragma once
#include <memory>
#include "toolkit/Forms.h"

enum THintStyle { hsFlat, hsOffice97, hsWindows95 };
using TPaintHintEvent = TEvent<TBitmap&>;

class THint95 : public TComponent {
public:
    explicit THint95(TComponent* owner);
    ~THint95() override;
    THintStyle HintStyle() const { return FHintStyle; }
    void SetHintStyle(THintStyle s);
    TShowHintEvent OnShowHint;
    TPaintHintEvent OnPaintHint;
    TFont& HintFont() { return FFont; }
    // Reads the system's status-bar font into the hint font.
    void ReloadFont();
private:
    void ShowHint(std::string& text, bool& canShow, THintInfo& info);
    static LRESULT CALLBACK UtilityProc(HWND h, UINT m, WPARAM w, LPARAM l);
    THintStyle FHintStyle = hsWindows95;
    TFont FFont;
    HWND FUtility = nullptr;
};

// The control of the most recent hint (placement puts a hint that would pass the screen's bottom
// above it).
extern TControl* HintedControl;

class THintWindow95 : public THintWindow {
public:
    explicit THintWindow95(TComponent* owner);
    ~THintWindow95() override;
    TRect CalcHintRect(int maxWidth, const std::string& text) override;
    void ActivateHint(TRect rect, const std::string& text) override;
    // How far below the pointer's hot spot the visible shape of cursor ends (32 when unknown).
    static int CursorDrop(HCURSOR cursor);
protected:
    const char* ClassName() const override { return "THintWindow95"; }
    void CreateParams(TCreateParams& p) override;
    bool EraseBackground(HDC) override { return true; }
    void PaintWindow(HDC dc) override;
private:
    THint95* FindHint95() const;
    // The hint of this activation: the screen under it, then its background and text. Kept
    // until the next activation, so that the window can be painted again at any time.
    std::unique_ptr<TBitmap> FBitmap;
    bool FPainted = false;
    int FTextWidth = 0, FTextHeight = 0;
};
