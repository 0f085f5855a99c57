// The player panel's owner-drawn controls: the track slider with its bitmap knob, and the red
// progress gauge of a long sample load.
#pragma once
#include "controls/pure/SliderMath.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/ImgList.h"

enum TTrackOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

class TTrackSlider;

// The knob: one image of the slider's knob list, moved along the track by the slider. It
// turns its own mouse input into drags of the slider.
class TSliderKnob : public TGraphicControl {
public:
    explicit TSliderKnob(TTrackSlider* slider);
    bool pressed = false;               // the left button holds the knob
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void MouseMove(TShiftState s, int x, int y) override;
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
protected:
    void Paint() override;
private:
    TTrackSlider* FSlider;
};

// A horizontal or vertical slider with engraved ticks and a sunken groove. OnChange follows
// every change made by the user (and every range change); setting Position from code moves
// the knob silently. OnRelease tells that the user has let go.
class TTrackSlider : public TCustomControl {
public:
    explicit TTrackSlider(TComponent* owner);
    ~TTrackSlider() override;

    int LineSize() const { return FLineSize; }
    void SetLineSize(int v) { FLineSize = v; }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int v) { FPageSize = v; }
    int Min() const { return FMin; }
    void SetMin(int v);
    int Max() const { return FMax; }
    void SetMax(int v);
    int Position() const { return FPosition; }
    void SetPosition(int v);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int v);
    bool FocusOnClick() const { return FFocusOnClick; }
    void SetFocusOnClick(bool v) { FFocusOnClick = v; }
    int nBigTicks() const { return FnBigTicks; }
    void SetnBigTicks(int v);
    TTrackOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackOrientation o);
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark t);
    // None while the built-in knob of the orientation is in use.
    TImageList* KnobIL() const { return FKnobIL; }
    void SetKnobIL(TImageList* list);
    TImageList* BackIL() const { return FBackIL; }
    void SetBackIL(TImageList* list) { FBackIL = list; }
    bool CanGetFocus() const { return FCanGetFocus; }
    void SetCanGetFocus(bool v) { FCanGetFocus = v; }
    int SideGap() const { return FSideGap; }
    void SetSideGap(int v);

    TNotifyEvent OnChange, OnRelease;
    // Draws over the groove, before the knob: the canvas and the band the knob runs in (the
    // track along, the room between the two rows of ticks across).
    TEvent<TObject*, TCanvas&, TRect> OnPaintTrack;
    // A left press on the track takes the knob straight there and holds it, instead of paging.
    bool JumpsOnClick() const { return FJumpsOnClick; }
    void SetJumpsOnClick(bool v) { FJumpsOnClick = v; }

    // The knob and the images it draws (the built-in list when KnobIL is none).
    TSliderKnob* Knob() const { return FKnob; }
    TImageList* KnobImages() const { return FKnobImages; }
    bool RepeatTimerRunning() const { return FRepeatTimer->Enabled(); }

    void SetEnabled(bool e) override;
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override;
    void MouseMove(TShiftState s, int x, int y) override;
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override;
    void KeyDown(WORD& key, TShiftState s) override;
    void KeyUp(WORD& key, TShiftState s) override;
    void Notification(TComponent* component, bool removing) override;
protected:
    const char* ClassName() const override { return "TTrackSlider"; }
    void CreateParams(TCreateParams& p) override;
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
    bool EraseBackground(HDC) override { return false; }   // Paint fills it: no flicker
    void Paint() override;
    void BoundsChanged() override;
private:
    friend class TSliderKnob;
    bool Vertical() const { return FOrientation == trVertical; }
    int Along(int x, int y) const { return Vertical() ? y : x; }
    int KnobEdge() const { return Along(FKnob->Left(), FKnob->Top()); }
    // Recomputes the metrics from the size and the knob, then places the knob.
    void Layout();
    void PlaceKnob();
    // The user's (or a range change's) step: set Position, then OnChange even if unchanged.
    void ChangePosition(int v);
    void DragTo(int along);              // the knob's middle follows this coordinate
    void TrackStep(int along);
    void RepeatTimerTimer(TObject*);
    void FocusOnPress();
    void ReleaseMovement();              // the end of a mouse movement: timer, capture, cursor
    void ShowHiddenCursor();
    void DrawTicks(TCanvas& c);
    void DrawGroove(TCanvas& c);
    TRect FocusRect() const { return Rect(1, 0, FWidth - 1, FHeight); }
    TRect TrackBand() const;

    int FLineSize = 10, FPageSize = 100, FMin = 0, FMax = 1000, FPosition = 0, FFrequency = 50;
    bool FFocusOnClick = true;
    int FnBigTicks = 3;
    TTrackOrientation FOrientation = trVertical;
    TTickMark FTickMarks = tmBoth;
    TImageList* FKnobIL = nullptr;       // the list given, none for the built-in one
    TImageList* FKnobImages = nullptr;   // the list drawn
    TImageList* FBackIL = nullptr;
    bool FCanGetFocus = true;
    int FSideGap = 5;

    TSliderKnob* FKnob;
    TTimer* FRepeatTimer;
    TPoint FLastMouse;                   // the last mouse position over the slider
    bool FKeyboardChanged = false;
    bool FTrackHeld = false;             // a left press on the track, until its release
    bool FJumpsOnClick = false;
    bool FJumpHeld = false;              // that press took the knob along (JumpsOnClick)
    bool FCursorHidden = false;
    slidermath::TTrackMetrics FMetrics;
};

// A slider's designed properties, as a form gives them.
struct TSliderDesign {
    TTrackOrientation Orientation;
    TTickMark TickMarks;
    int Min, Max, Position, LineSize, PageSize, Frequency, nBigTicks;
};
// Gives s the design in the order that matters: the range before the position, the orientation
// before the knob images (none: the built-in knob).
void ApplyDesign(TTrackSlider* s, const TSliderDesign& d, TImageList* knobs = nullptr);

// The built-in knob images of an orientation ("SKnob" 15 x 24 twice, "SKnobH" 23 x 15 twice),
// loaded on first need and shared by every slider of that orientation.
TImageList* BuiltInKnobImages(TTrackOrientation o);

// A windowless progress bar: sunken frame, black well, a bar in Color growing from the left and
// a centred text in two colours. Setting Position draws the bar at once, so that it moves while
// the user-interface thread is busy copying.
class TRedGauge : public TGraphicControl {
public:
    explicit TRedGauge(TComponent* owner);
    // Text is the control's text; ShowPercentage rewrites it with each Position.
    int Position() const { return FPosition; }
    void SetPosition(int v);
    int Max() const { return FMax; }
    void SetMax(int v) { FMax = v; }
    // The value of an empty bar: 0 unless a client chooses another.
    int Min() const { return FMin; }
    void SetMin(int v) { FMin = v; }
    void SetColor(TColor c) override { FColor = c; }
    bool ShowPercentage() const { return FShowPercentage; }
    void SetShowPercentage(bool v);
protected:
    void Paint() override;
    void TextChanged() override {}      // a plain store: it shows at the next drawing
private:
    void PaintBar();
    int FPosition = 0, FMin = 0, FMax = 100;
    bool FShowPercentage = true;
    bool FBarOnly = false;
};
