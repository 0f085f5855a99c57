#include "controls/Slider.h"
#include <memory>
#include "toolkit/WideText.h"

using namespace slidermath;

namespace {
// Posted to itself when the slider loses the mouse capture: by the time it arrives, a normal
// release has already ended the movement, so only a capture taken away is left to handle.
constexpr UINT SM_CHECKCAPTURE = WM_USER + 0x51;

TTickSides Sides(TTickMark t)
{
    return t == tmTopLeft ? TTickSides::TopLeft : t == tmBottomRight ? TTickSides::BottomRight : TTickSides::Both;
}
}

TImageList* BuiltInKnobImages(TTrackOrientation o)
{
    // Owned by no form: the lists live as long as the program, whichever slider came first.
    static std::unique_ptr<TImageList> lists[2];
    std::unique_ptr<TImageList>& list = lists[o == trVertical ? 1 : 0];
    if (!list) {
        if (o == trVertical) {
            list = std::make_unique<TImageList>(nullptr, 15, 24, false);
            list->ResourceLoad("SKnob");
        } else {
            list = std::make_unique<TImageList>(nullptr, 23, 15, false);
            list->ResourceLoad("SKnobH");
        }
    }
    return list.get();
}

// ---- TSliderKnob ---------------------------------------------------------------------------

TSliderKnob::TSliderKnob(TTrackSlider* slider) : TGraphicControl(slider), FSlider(slider)
{
    Name = "Knob";
}

void TSliderKnob::Paint()
{
    TImageList* list = FSlider->FKnobImages;
    if (!list || list->Count() == 0) return;
    bool enabled = FSlider->Enabled();
    int index = !enabled ? 1 : pressed && list->Count() >= 3 ? 2 : 0;
    // A list without a disabled image still shows a knob: its normal image, greyed.
    if (index >= list->Count()) list->Draw(Canvas, 0, 0, 0, enabled);
    else list->Draw(Canvas, 0, 0, index);
}

void TSliderKnob::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft) {
        FSlider->DragTo(FSlider->Along(Left() + x, Top() + y));
        // The knob is the pointer while it is held: the cursor would only hide the scale.
        if (!FSlider->FCursorHidden) {
            ShowCursor(FALSE);
            FSlider->FCursorHidden = true;
        }
        FSlider->FocusOnPress();
        pressed = true;
        Repaint();
    }
    FSlider->OnMouseDown(FSlider, b, s, x, y);
}

void TSliderKnob::MouseMove(TShiftState s, int x, int y)
{
    FSlider->FLastMouse = {Left() + x, Top() + y};
    if ((pressed || FSlider->FJumpHeld) && (s & ssLeft)) FSlider->DragTo(FSlider->Along(Left() + x, Top() + y));
    OnMouseMove(this, s, x, y);
}

void TSliderKnob::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (FSlider->FTrackHeld && !pressed) {
        // A press on the track whose paging brought the knob under the mouse ends here.
        FSlider->MouseUp(b, s, Left() + x, Top() + y);
        return;
    }
    pressed = false;
    FSlider->ShowHiddenCursor();
    Repaint();
    FSlider->OnRelease(FSlider);
    FSlider->OnMouseUp(FSlider, b, s, x, y);
}

// ---- TTrackSlider --------------------------------------------------------------------------

TTrackSlider::TTrackSlider(TComponent* owner) : TCustomControl(owner)
{
    FWidth = 40;
    FHeight = 150;
    TabStop = true;
    FKnob = new TSliderKnob(this);
    FKnob->SetParent(this);
    FRepeatTimer = new TTimer(this);
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetInterval(50);
    FRepeatTimer->OnTimer = {this, &TTrackSlider::RepeatTimerTimer};
    SetOrientation(trVertical);
    ChangePosition(FMin);
}

TTrackSlider::~TTrackSlider() { ShowHiddenCursor(); }

void TTrackSlider::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.Style |= WS_CLIPCHILDREN;
}

void TTrackSlider::Layout()
{
    if (!FKnob || !FKnobImages) return;
    int kw = FKnobImages->Width(), kh = FKnobImages->Height();
    FMetrics = Vertical() ? ComputeMetrics(FHeight, FWidth, kh, FSideGap, Sides(FTickMarks))
                          : ComputeMetrics(FWidth, FHeight, kw, FSideGap, Sides(FTickMarks));
    PlaceKnob();
}

void TTrackSlider::PlaceKnob()
{
    if (!FKnob || !FKnobImages) return;
    int kw = FKnobImages->Width(), kh = FKnobImages->Height();
    int along = KnobLeadingEdge(FPosition, FMin, FMax, FMetrics);
    if (Vertical()) FKnob->SetBounds(KnobAcrossEdge(kw, FMetrics), along, kw, kh);
    else FKnob->SetBounds(along, KnobAcrossEdge(kh, FMetrics), kw, kh);
}

void TTrackSlider::BoundsChanged()
{
    // A new size gives a new track: the knob goes back to its value's place on it.
    Layout();
    Invalidate();
}

void TTrackSlider::SetPosition(int v)
{
    FPosition = ClampToRange(v, FMin, FMax);
    PlaceKnob();
}

void TTrackSlider::ChangePosition(int v)
{
    SetPosition(v);
    OnChange(this);
}

void TTrackSlider::SetMin(int v)
{
    FMin = v;
    ChangePosition(FPosition);
    Invalidate();
}

void TTrackSlider::SetMax(int v)
{
    FMax = v;
    ChangePosition(FPosition);
    Invalidate();
}

void TTrackSlider::SetFrequency(int v)
{
    FFrequency = v;
    Invalidate();
}

void TTrackSlider::SetnBigTicks(int v)
{
    FnBigTicks = v;
    Invalidate();
}

void TTrackSlider::SetTickMarks(TTickMark t)
{
    FTickMarks = t;
    Layout();
    ChangePosition(FPosition);
    Invalidate();
}

void TTrackSlider::SetOrientation(TTrackOrientation o)
{
    FOrientation = o;
    SetKnobIL(nullptr);
}

void TTrackSlider::SetKnobIL(TImageList* list)
{
    FKnobIL = list;
    FKnobImages = list ? list : BuiltInKnobImages(FOrientation);
    Layout();
    Invalidate();
}

void TTrackSlider::SetSideGap(int v)
{
    FSideGap = v;
    Layout();
    Invalidate();
}

void TTrackSlider::Notification(TComponent* component, bool removing)
{
    if (!removing) return;
    if (component == FBackIL) FBackIL = nullptr;
    if (component == FKnobIL) SetKnobIL(nullptr);   // back to the built-in knob
}

void TTrackSlider::SetEnabled(bool e)
{
    if (e == Enabled()) return;
    TCustomControl::SetEnabled(e);
    FKnob->Invalidate();
}

void TTrackSlider::DragTo(int along)
{
    ChangePosition(ValueFromLeadingEdge(along - FMetrics.K / 2, FMin, FMax, FMetrics));
}

void TTrackSlider::TrackStep(int along)
{
    ChangePosition(slidermath::TrackStep(along, KnobEdge(), FPosition, FMin, FMax, FPageSize, FMetrics).NewPosition);
}

void TTrackSlider::RepeatTimerTimer(TObject*) { TrackStep(Along(FLastMouse.X, FLastMouse.Y)); }

void TTrackSlider::FocusOnPress()
{
    if (FFocusOnClick && !Focused()) SetFocus();
}

void TTrackSlider::ShowHiddenCursor()
{
    if (!FCursorHidden) return;
    ShowCursor(TRUE);
    FCursorHidden = false;
}

void TTrackSlider::MouseDown(TMouseButton b, TShiftState s, int x, int y)
{
    FLastMouse = {x, y};
    if (b == mbLeft) {
        FJumpHeld = FJumpsOnClick;
        if (FJumpHeld) DragTo(Along(x, y));
        else TrackStep(Along(x, y));
        FRepeatTimer->SetEnabled(!FJumpHeld);
        FTrackHeld = true;
        // The release must come back here wherever it happens, or the timer would page on.
        SetCapture(Handle());
        FocusOnPress();
    }
    TCustomControl::MouseDown(b, s, x, y);
}

void TTrackSlider::MouseMove(TShiftState s, int x, int y)
{
    FLastMouse = {x, y};
    if (FJumpHeld && (s & ssLeft)) DragTo(Along(x, y));
    TCustomControl::MouseMove(s, x, y);
}

void TTrackSlider::MouseUp(TMouseButton b, TShiftState s, int x, int y)
{
    if (b == mbLeft && FTrackHeld) {
        FRepeatTimer->SetEnabled(false);
        FTrackHeld = FJumpHeld = false;
        if (GetCapture() == FHandle) ReleaseCapture();
        OnRelease(this);
    }
    TCustomControl::MouseUp(b, s, x, y);
}

void TTrackSlider::ReleaseMovement()
{
    // The capture went elsewhere (a window popped up, say) in the middle of a movement: end
    // it as a release would, so that no timer pages on and the cursor comes back.
    if (!FKnob->pressed && !FTrackHeld) return;
    FRepeatTimer->SetEnabled(false);
    FTrackHeld = FJumpHeld = false;
    if (FKnob->pressed) {
        FKnob->pressed = false;
        FKnob->Invalidate();
    }
    ShowHiddenCursor();
    OnRelease(this);
}

void TTrackSlider::KeyDown(WORD& key, TShiftState s)
{
    TCustomControl::KeyDown(key, s);
    if (!key || !FCanGetFocus) return;
    TSliderKey k;
    switch (key) {
    case VK_PRIOR: k = TSliderKey::PageUp; break;
    case VK_NEXT: k = TSliderKey::PageDown; break;
    case VK_END: k = TSliderKey::End; break;
    case VK_HOME: k = TSliderKey::Home; break;
    case VK_LEFT: case VK_UP: k = TSliderKey::LineBack; break;
    case VK_RIGHT: case VK_DOWN: k = TSliderKey::LineForward; break;
    case VK_INSERT: k = TSliderKey::Centre; break;
    default: return;
    }
    ChangePosition(KeyPosition(k, FPosition, FMin, FMax, FLineSize, FPageSize));
    key = 0;
    FKeyboardChanged = true;
}

void TTrackSlider::KeyUp(WORD& key, TShiftState s)
{
    TCustomControl::KeyUp(key, s);
    if (!FCanGetFocus) return;
    switch (key) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
        FKeyboardChanged = false;
        OnRelease(this);
        break;
    default:
        break;
    }
}

LRESULT TTrackSlider::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS: {
        LRESULT r = TCustomControl::WndProc(msg, w, l);
        if (FCanGetFocus) {
            FKeyboardChanged = false;
            Invalidate();                       // Paint draws the focus rectangle
        }
        return r;
    }
    case WM_KILLFOCUS: {
        LRESULT r = TCustomControl::WndProc(msg, w, l);
        if (FCanGetFocus) {
            Invalidate();
            // Insert (or a key whose release went elsewhere) ended no movement yet.
            if (FKeyboardChanged) {
                FKeyboardChanged = false;
                OnRelease(this);
            }
        }
        return r;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(l) != FHandle && (FKnob->pressed || FTrackHeld))
            PostMessageA(FHandle, SM_CHECKCAPTURE, 0, 0);
        break;
    case SM_CHECKCAPTURE:
        if (GetCapture() != FHandle) ReleaseMovement();
        return 0;
    }
    return TCustomControl::WndProc(msg, w, l);
}

void TTrackSlider::DrawTicks(TCanvas& c)
{
    const int A = FMetrics.A;
    bool topLeft = FTickMarks == tmTopLeft || FTickMarks == tmBoth;
    bool bottomRight = FTickMarks == tmBottomRight || FTickMarks == tmBoth;
    // One engraved line: shadow, then highlight one pixel further down and right. "from" and
    // "to" run across the track; "at" is the tick's place along it.
    auto line = [&](int at, int from, int to, TColor colour) {
        c.Pen.SetColor(colour);
        if (Vertical()) { c.MoveTo(from, at); c.LineTo(to, at); }
        else { c.MoveTo(at, from); c.LineTo(at, to); }
    };
    for (const TTick& t : TickLayout(FMin, FMax, FFrequency, FnBigTicks, FMetrics)) {
        int len = t.Long ? LongTick : ShortTick;
        if (topLeft) {
            line(t.At, A - 9, A - 9 - len, clBtnShadow);
            line(t.At + 1, A - 8, A - 8 - len, clBtnHighlight);
        }
        if (bottomRight) {
            line(t.At, A + 8, A + 8 + len, clBtnShadow);
            line(t.At + 1, A + 9, A + 9 + len, clBtnHighlight);
        }
    }
}

void TTrackSlider::DrawGroove(TCanvas& c)
{
    const int A = FMetrics.A, start = FMetrics.S - 3, end = start + FMetrics.L + 6;
    RECT r = Vertical() ? RECT{A - 2, start, A + 2, end} : RECT{start, A - 2, end, A + 2};
    // A pushed-in strip of button face with a two-pixel bevel.
    DrawEdge(c.Handle(), &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
}

TRect TTrackSlider::TrackBand() const
{
    // The ticks start 9 pixels before the axis and 8 after it.
    const int A = FMetrics.A, start = FMetrics.S, end = FMetrics.S + FMetrics.L;
    return Vertical() ? Rect(A - 7, start, A + 8, end) : Rect(start, A - 7, end, A + 8);
}

void TTrackSlider::Paint()
{
    if (FBackIL && FBackIL->Count() > 0) {
        FBackIL->Draw(Canvas, 0, 0, 0);
        return;
    }
    Canvas.Brush.SetColor(FParent ? FParent->Color() : FColor);
    Canvas.FillRect(ClientRect());
    // A slider too small for its knob has no track: its knob alone is drawn.
    if (FMetrics.L > 0) {
        DrawTicks(Canvas);
        DrawGroove(Canvas);
        OnPaintTrack(this, Canvas, TrackBand());
    }
    if (FCanGetFocus && Focused()) Canvas.DrawFocusRect(FocusRect());
}

// ---- TRedGauge -----------------------------------------------------------------------------

TRedGauge::TRedGauge(TComponent* owner) : TGraphicControl(owner)
{
    FWidth = 128;
    FHeight = 26;
    FColor = 255;                       // pure red
    ParentFont = false;
    Font.SetHeight(-13);                // 10 points
    Font.SetStyle(fsBold);
}

void TRedGauge::SetPosition(int v)
{
    FPosition = ClampToRange(v, FMin, FMax);
    if (FShowPercentage) FText = GaugePercentText(FPosition, FMin, FMax);
    // Drawn now: during a long copy on the user-interface thread no repaint would come.
    FBarOnly = true;
    try {
        PaintNow();
    } catch (...) {
        FBarOnly = false;
        throw;
    }
    FBarOnly = false;
}

void TRedGauge::SetShowPercentage(bool v)
{
    FShowPercentage = v;
    FText.clear();
}

void TRedGauge::Paint()
{
    if (!FBarOnly) {
        const int W = FWidth, H = FHeight;
        Canvas.Pen.SetColor(clBtnShadow);
        Canvas.MoveTo(0, H - 2); Canvas.LineTo(0, 0); Canvas.LineTo(W - 1, 0);
        Canvas.MoveTo(W - 3, 1); Canvas.LineTo(1, 1); Canvas.LineTo(1, H - 2);
        Canvas.Pen.SetColor(clBtnHighlight);
        Canvas.MoveTo(1, H - 1); Canvas.LineTo(W - 1, H - 1); Canvas.LineTo(W - 1, 0);
        Canvas.Brush.SetColor(clBlack);
        Canvas.FillRect(Bounds(2, 2, W - 4, H - 4));
    }
    PaintBar();
}

void TRedGauge::PaintBar()
{
    const int W = FWidth, H = FHeight;
    const int a = GaugeBarLength(W, FPosition, FMin, FMax);
    Canvas.Brush.SetColor(FColor);
    Canvas.FillRect(Bounds(3, 3, a, H - 6));
    Canvas.Brush.SetColor(clBlack);
    Canvas.FillRect(Bounds(a + 3, 3, W - a - 6, H - 6));
    if (FText.empty()) return;

    Canvas.Brush.SetStyle(bsClear);
    const int x = GaugeTextX(W, Canvas.TextWidth(FText)), y = GaugeTextY(H, Canvas.TextHeight(FText));
    HDC dc = Canvas.Handle();               // the gauge's font is selected by the measuring
    SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = ColorToRGB(FColor);
    const COLORREF light = 0x02000000 | GaugeLightColor(colour);   // palette-relative
    const std::wstring wide = WideText(FText);
    auto text = [&](const RECT& clip, int tx, int ty, COLORREF c) {
        SetTextColor(dc, c);
        ExtTextOutW(dc, tx, ty, ETO_CLIPPED, &clip, wide.data(), static_cast<UINT>(wide.size()), nullptr);
    };
    // Over the bar: black with a light shadow; over the empty well: the bar's colour.
    const RECT bar = {3, 0, 3 + a, H}, rest = {a + 3, 0, W, H};
    text(bar, x + 1, y + 1, light);
    text(bar, x, y, RGB(0, 0, 0));
    text(rest, x, y, colour);
}

void ApplyDesign(TTrackSlider* s, const TSliderDesign& d, TImageList* knobs)
{
    s->SetLineSize(d.LineSize);
    s->SetPageSize(d.PageSize);
    s->SetMin(d.Min);
    s->SetMax(d.Max);
    s->SetPosition(d.Position);
    s->SetFrequency(d.Frequency);
    s->SetnBigTicks(d.nBigTicks);
    s->SetOrientation(d.Orientation);
    s->SetTickMarks(d.TickMarks);
    if (knobs) s->SetKnobIL(knobs);
}
