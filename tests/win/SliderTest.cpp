// The track slider and the progress gauge with real window messages: keyboard, mouse on the
// track and on the knob, events, clamping, painting, and the gauge's immediate drawing.
#include "WinTest.h"
#include <functional>
#include "app/Unit1.h"
#include "controls/Slider.h"
#include "toolkit/StdCtrls.h"

using namespace wintest;

namespace {
// Records the slider's events in order: "change <position>", "release", "down L|R", "up L|R".
struct EventLog {
    std::vector<std::string> Log;
    void Attach(TTrackSlider* s)
    {
        s->OnChange = [this, s](TObject* sender) {
            EXPECT_EQ(sender, s);
            Log.push_back("change " + std::to_string(s->Position()));
        };
        s->OnRelease = [this, s](TObject* sender) { EXPECT_EQ(sender, s); Log.push_back("release"); };
        s->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) {
            Log.push_back(b == mbLeft ? "down L" : "down R");
        };
        s->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) {
            Log.push_back(b == mbLeft ? "up L" : "up R");
        };
    }
    std::vector<std::string> Take() { auto r = std::move(Log); Log.clear(); return r; }
};
using Events = std::vector<std::string>;

// The designed volume slider: vertical, ticks on both sides, -5000..0, 40 x 150 here, so that
// L = 116, S = 17, A = 20 and a page of 500 is 11 pixels.
TTrackSlider* VolSlider(TForm* f)
{
    auto* s = new TTrackSlider(f);
    s->SetBounds(10, 10, 40, 150);
    s->SetLineSize(50);
    s->SetPageSize(500);
    s->SetMin(-5000);
    s->SetMax(0);
    s->SetPosition(-5000);
    s->SetFrequency(500);
    s->SetnBigTicks(1);
    s->SetParent(f);
    Pump(20);
    return s;
}

int KnobMiddle(TTrackSlider* s) { return s->Knob()->Top() + s->Knob()->Height() / 2; }

void PostMouse(HWND h, UINT msg, WPARAM keys, int x, int y)
{
    PostMessageA(h, msg, keys, MAKELPARAM(x, y));
    Pump(10);
}

bool CursorShowing()
{
    CURSORINFO ci = {sizeof ci};
    GetCursorInfo(&ci);
    return (ci.flags & CURSOR_SHOWING) != 0;
}

unsigned Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// An image list of solid images, one colour each (0x00RRGGBB), w x h.
TImageList* SolidList(TComponent* owner, int w, int h, std::vector<unsigned> colours)
{
    auto* list = new TImageList(owner, w, h, false);
    TBitmap bmp(w * static_cast<int>(colours.size()), h);
    for (size_t i = 0; i < colours.size(); ++i) {
        unsigned c = colours[i];
        bmp.Canvas().Brush.SetColor(static_cast<TColor>(RGB(c >> 16, (c >> 8) & 0xFF, c & 0xFF)));
        bmp.Canvas().FillRect(Bounds(static_cast<int>(i) * w, 0, w, h));
    }
    list->Add(bmp);
    return list;
}
}

// The designed volume slider on a form of its own, its events recorded.
class VolSliderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        f = NewHostForm();
        s = VolSlider(f);
        ev.Attach(s);
    }
    void TearDown() override { f->Free(); }
    TForm* f = nullptr;
    TTrackSlider* s = nullptr;
    EventLog ev;
};

TEST(TrackSlider, DefaultsAndSharedBuiltInKnobs)
{
    TForm* f = NewHostForm();
    auto* s = new TTrackSlider(f);
    EXPECT_EQ(s->LineSize(), 10);
    EXPECT_EQ(s->PageSize(), 100);
    EXPECT_EQ(s->Min(), 0);
    EXPECT_EQ(s->Max(), 1000);
    EXPECT_EQ(s->Position(), 0);
    EXPECT_EQ(s->Frequency(), 50);
    EXPECT_TRUE(s->FocusOnClick());
    EXPECT_EQ(s->nBigTicks(), 3);
    EXPECT_EQ(s->Orientation(), trVertical);
    EXPECT_EQ(s->TickMarks(), tmBoth);
    EXPECT_EQ(s->KnobIL(), nullptr);            // the built-in list never reads back
    EXPECT_EQ(s->BackIL(), nullptr);
    EXPECT_TRUE(s->CanGetFocus());
    EXPECT_EQ(s->SideGap(), 5);
    EXPECT_TRUE(s->TabStop);
    ASSERT_NE(s->KnobImages(), nullptr);
    EXPECT_EQ(s->KnobImages()->Count(), 2);
    EXPECT_EQ(s->Knob()->Width(), 15);
    EXPECT_EQ(s->Knob()->Height(), 24);

    auto* h = new TTrackSlider(f);
    EXPECT_EQ(h->KnobImages(), s->KnobImages());      // one list per orientation
    h->SetOrientation(trHorizontal);
    EXPECT_NE(h->KnobImages(), s->KnobImages());
    EXPECT_EQ(h->KnobImages()->Count(), 2);
    EXPECT_EQ(h->Knob()->Width(), 23);
    EXPECT_EQ(h->Knob()->Height(), 15);
    auto* h2 = new TTrackSlider(f);
    h2->SetOrientation(trHorizontal);
    EXPECT_EQ(h2->KnobImages(), h->KnobImages());

    // A custom list is used as is; a new orientation puts the built-in one back.
    TImageList* own = SolidList(f, 23, 15, {0xFF0000, 0x00FF00});
    h->SetKnobIL(own);
    EXPECT_EQ(h->KnobIL(), own);
    h->SetOrientation(trVertical);
    EXPECT_EQ(h->KnobIL(), nullptr);
    EXPECT_EQ(h->KnobImages(), s->KnobImages());
    f->Free();
}

TEST_F(VolSliderTest, CodeSetsPositionSilentlyAndClampsRangeChangesNotify)
{
    struct { int set, want, knobTop; } cases[] = {
        {-2500, -2500, 63}, {-9999, -5000, 5}, {5, 0, 121}, {INT_MAX, 0, 121}, {INT_MIN, -5000, 5}};
    for (auto& c : cases) {
        s->SetPosition(c.set);
        EXPECT_EQ(s->Position(), c.want) << c.set;
        EXPECT_EQ(s->Knob()->Top(), c.knobTop) << c.set;
        EXPECT_EQ(s->Knob()->Left(), 12);
    }
    EXPECT_EQ(ev.Take(), Events{});
    // Min, Max and TickMarks re-apply the position with notification, even when it stays.
    s->SetPosition(-2000);
    s->SetMin(-6000);
    s->SetMax(1000);
    s->SetTickMarks(tmTopLeft);
    EXPECT_EQ(ev.Take(), (Events{"change -2000", "change -2000", "change -2000"}));
    EXPECT_EQ(s->Knob()->Left(), 24 - 8);              // the groove moved right, away from the ticks
    s->SetMax(-3000);                                  // the position now lies beyond Max
    EXPECT_EQ(ev.Take(), Events{"change -3000"});
}

TEST_F(VolSliderTest, KeyboardTableRaisesChangeOnDownAndReleaseOnUp)
{
    s->SetPosition(-2500);
    s->SetFocus();
    Pump(10);
    ASSERT_TRUE(s->Focused());
    struct { WORD key; int want; } cases[] = {
        {VK_PRIOR, -3000}, {VK_NEXT, -2500}, {VK_UP, -2550}, {VK_LEFT, -2600}, {VK_DOWN, -2550},
        {VK_RIGHT, -2500}, {VK_HOME, -5000}, {VK_UP, -5000}, {VK_PRIOR, -5000}, {VK_END, 0},
        {VK_NEXT, 0}, {VK_DOWN, 0},
    };
    for (auto& c : cases) {
        int top = s->Knob()->Top();
        KeyDown(s->Handle(), c.key);
        EXPECT_EQ(s->Position(), c.want) << c.key;
        EXPECT_EQ(ev.Take(), Events{"change " + std::to_string(c.want)}) << c.key;   // even unchanged
        // Up and Page Up move the knob of a vertical slider up, toward Min.
        if (c.key == VK_UP || c.key == VK_PRIOR) EXPECT_LE(s->Knob()->Top(), top);
        KeyUp(s->Handle(), c.key);
        EXPECT_EQ(ev.Take(), Events{"release"}) << c.key;
    }
    // Other keys are left alone.
    KeyDown(s->Handle(), 'A');
    KeyUp(s->Handle(), 'A');
    KeyDown(s->Handle(), VK_SPACE);
    KeyUp(s->Handle(), VK_SPACE);
    EXPECT_EQ(ev.Take(), Events{});
    EXPECT_EQ(s->Position(), 0);
    // Insert centres, truncating toward zero, and the release waits for the focus to go.
    KeyDown(s->Handle(), VK_INSERT);
    KeyUp(s->Handle(), VK_INSERT);
    EXPECT_EQ(s->Position(), -2500);
    EXPECT_EQ(ev.Take(), Events{"change -2500"});
    auto* other = new TEdit(f);
    other->SetBounds(100, 10, 80, 20);
    other->SetParent(f);
    other->SetFocus();
    Pump(10);
    EXPECT_EQ(ev.Take(), Events{"release"});
    // Focus lost with no keyboard change since: no release.
    s->SetFocus();
    Pump(10);
    other->SetFocus();
    Pump(10);
    EXPECT_EQ(ev.Take(), Events{});
    // The dialog manager is asked for the arrow and character keys.
    EXPECT_EQ(SendMessageA(s->Handle(), WM_GETDLGCODE, 0, 0) & (DLGC_WANTARROWS | DLGC_WANTCHARS),
              DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(VolSliderTest, KeyboardOffWithoutCanGetFocus)
{
    s->SetCanGetFocus(false);
    s->SetFocus();
    Pump(10);
    KeyDown(s->Handle(), VK_END);
    KeyUp(s->Handle(), VK_END);
    EXPECT_EQ(s->Position(), -5000);
    EXPECT_EQ(ev.Take(), Events{});
}

TEST_F(VolSliderTest, TrackClickPagesOrPutsTheKnobUnderTheMouse)
{
    // The knob's middle is at 17; a page is 11 pixels.
    Click(s->Handle(), 20, 100);
    EXPECT_EQ(s->Position(), -4500);                   // exactly one page
    EXPECT_EQ(ev.Take(), (Events{"change -4500", "down L", "release", "up L"}));
    EXPECT_FALSE(s->RepeatTimerRunning());
    EXPECT_TRUE(s->Focused());                         // FocusOnClick

    s->SetPosition(-5000);
    Click(s->Handle(), 20, 27);                        // within a page: the knob comes under the mouse
    EXPECT_EQ(s->Position(), -5000 + 11 * 5000 / 116);
    EXPECT_NEAR(KnobMiddle(s), 27, 1);
    EXPECT_EQ(ev.Take(), (Events{"change -4526", "down L", "release", "up L"}));

    // Back toward Min from below: exactly a page up.
    s->SetPosition(0);
    Click(s->Handle(), 20, 10);
    EXPECT_EQ(s->Position(), -500);
}

TEST_F(VolSliderTest, HoldingTheTrackPagesThenStopsUnderTheMouse)
{
    HWND h = s->Handle();
    PostMouse(h, WM_MOUSEMOVE, 0, 20, 110);
    PostMouse(h, WM_LBUTTONDOWN, MK_LBUTTON, 20, 110);
    EXPECT_TRUE(s->RepeatTimerRunning());
    EXPECT_TRUE(PumpUntil([&] { return std::abs(KnobMiddle(s) - 110) <= 1; }, 3000));
    Pump(200);                                          // it follows no further
    int settled = s->Position();
    EXPECT_NEAR(KnobMiddle(s), 110, 1);
    Events log = ev.Take();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "change -4500");
    EXPECT_EQ(log[1], "down L");
    EXPECT_EQ(log[2], "change -4000");
    // The release comes over the knob now: it still ends the hold.
    PostMouse(h, WM_LBUTTONUP, 0, 20, 110);
    EXPECT_FALSE(s->RepeatTimerRunning());
    EXPECT_EQ(ev.Take(), (Events{"release", "up L"}));
    Pump(100);
    EXPECT_EQ(s->Position(), settled);
    EXPECT_EQ(ev.Take(), Events{});
}

TEST_F(VolSliderTest, RightPressRaisesMouseDownAndMovesNothing)
{
    s->SetPosition(-2500);
    Pump(10);
    // On the track, then on the knob.
    Click(s->Handle(), 20, 140, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(s->Position(), -2500);
    EXPECT_FALSE(s->RepeatTimerRunning());
    EXPECT_EQ(ev.Take(), (Events{"down R", "up R"}));
    Click(s->Handle(), 20, KnobMiddle(s) + 3, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(s->Position(), -2500);
    EXPECT_FALSE(s->Knob()->pressed);
    EXPECT_TRUE(CursorShowing());
    // A button released on the knob ends a movement, whichever it is.
    EXPECT_EQ(ev.Take(), (Events{"down R", "release", "up R"}));
}

TEST_F(VolSliderTest, DraggingTheKnobHidesTheCursorAndClamps)
{
    HWND h = s->Handle();
    ASSERT_TRUE(CursorShowing());
    PostMouse(h, WM_MOUSEMOVE, 0, 20, 17);
    PostMouse(h, WM_LBUTTONDOWN, MK_LBUTTON, 20, 17);   // the knob's middle: it stays put
    EXPECT_TRUE(s->Knob()->pressed);
    EXPECT_FALSE(CursorShowing());
    EXPECT_TRUE(s->Focused());
    EXPECT_FALSE(s->RepeatTimerRunning());
    EXPECT_EQ(ev.Take(), (Events{"change -4957", "down L"}));
    PostMouse(h, WM_MOUSEMOVE, MK_LBUTTON, 20, 75);
    // Leading edge 75 - 12 = 63: value -5000 + 59 * 5000 / 116.
    EXPECT_EQ(s->Position(), -2457);
    EXPECT_EQ(s->Knob()->Top(), 63);
    PostMouse(h, WM_MOUSEMOVE, MK_LBUTTON, 20, 400);   // far beyond the end (the slider holds the mouse)
    EXPECT_EQ(s->Position(), 0);
    PostMouse(h, WM_MOUSEMOVE, MK_LBUTTON, 20, -300);
    EXPECT_EQ(s->Position(), -5000);
    PostMouse(h, WM_MOUSEMOVE, MK_LBUTTON, 20, 75);
    EXPECT_FALSE(CursorShowing());
    PostMouse(h, WM_LBUTTONUP, 0, 20, 75);
    EXPECT_FALSE(s->Knob()->pressed);
    EXPECT_TRUE(CursorShowing());
    EXPECT_EQ(ev.Take(), (Events{"change -2457", "change 0", "change -5000", "change -2457", "release", "up L"}));
    // A move without the button drags nothing.
    PostMouse(h, WM_MOUSEMOVE, 0, 20, 140);
    EXPECT_EQ(s->Position(), -2457);
}

TEST_F(VolSliderTest, NoFocusFromAClickWithoutFocusOnClick)
{
    s->SetFocusOnClick(false);
    auto* other = new TEdit(f);
    other->SetBounds(100, 10, 80, 20);
    other->SetParent(f);
    other->SetFocus();
    Pump(10);
    Click(s->Handle(), 20, 100);
    Click(s->Handle(), 20, KnobMiddle(s));
    EXPECT_FALSE(s->Focused());
}

TEST_F(VolSliderTest, LosingTheMouseMidMovementEndsIt)
{
    HWND h = s->Handle();
    // A knob held when another window takes the mouse: released, cursor back.
    PostMouse(h, WM_LBUTTONDOWN, MK_LBUTTON, 20, 17);
    ASSERT_TRUE(s->Knob()->pressed);
    ReleaseCapture();
    Pump(20);
    EXPECT_FALSE(s->Knob()->pressed);
    EXPECT_TRUE(CursorShowing());
    EXPECT_EQ(ev.Take(), (Events{"change -4957", "down L", "release"}));
    // A held track: the repeat timer stops instead of paging forever.
    PostMouse(h, WM_LBUTTONDOWN, MK_LBUTTON, 20, 140);
    ASSERT_TRUE(s->RepeatTimerRunning());
    ReleaseCapture();
    Pump(20);
    EXPECT_FALSE(s->RepeatTimerRunning());
    Events log = ev.Take();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "release");
}

TEST(TrackSlider, PaintsTicksGrooveAndTheKnobImageOfItsState)
{
    TForm* f = NewHostForm();
    f->SetColor(clSilver);
    TTrackSlider* s = VolSlider(f);
    HWND h = s->Handle();
    const unsigned shadow = Rgb(GetSysColor(COLOR_BTNSHADOW)), light = Rgb(GetSysColor(COLOR_BTNHIGHLIGHT));
    const unsigned silver = 0xC0C0C0;
    // Engraved ticks (A = 20): the long end tick at y = S + L = 133 runs from x = 11 left over 7
    // pixels, its highlight one pixel down and right; the short tick at 17 + 116 / 10 = 28 has 4.
    // The sunken groove runs from x = 18 to 21, from y = 14 to 135: shadow outside on the left,
    // highlight outside on the right.
    struct { int x, y; unsigned colour; const char* what; } pixels[] = {
        {11, 133, shadow, "long tick, left, start"}, {5, 133, shadow, "long tick, left, end"},
        {4, 133, silver, "beyond the long tick"}, {6, 134, light, "long tick's highlight"},
        {8, 28, shadow, "short tick's end"}, {7, 28, silver, "beyond the short tick"},
        {28, 133, shadow, "long tick, right, start"}, {34, 133, shadow, "long tick, right, end"},
        {35, 133, silver, "beyond the right tick"},
        {18, 100, shadow, "groove, left"}, {21, 100, light, "groove, right"},
        {17, 100, silver, "left of the groove"}, {22, 100, silver, "right of the groove"},
        {18, 140, silver, "below the groove"},
    };
    for (auto& p : pixels) EXPECT_EQ(PixelOf(h, p.x, p.y), p.colour) << p.what;

    // The knob: normal, pressed (a list of three), disabled.
    TImageList* own = SolidList(f, 15, 24, {0xFF0000, 0x00FF00, 0x0000FF});
    s->SetKnobIL(own);
    Pump(20);
    EXPECT_EQ(PixelOf(h, 19, 15), 0xFF0000u);
    PostMouse(h, WM_LBUTTONDOWN, MK_LBUTTON, 20, 17);
    Pump(20);
    EXPECT_EQ(PixelOf(h, 19, 15), 0x0000FFu);
    PostMouse(h, WM_LBUTTONUP, 0, 20, 17);
    s->SetEnabled(false);
    Pump(20);
    EXPECT_EQ(PixelOf(h, 19, 15), 0x00FF00u);
    s->SetEnabled(true);
    // Freeing the form's list puts the built-in knob back rather than leaving a dangling one.
    own->Free();
    EXPECT_EQ(s->KnobIL(), nullptr);
    EXPECT_EQ(s->KnobImages()->Count(), 2);

    // BackIL's first image replaces everything but the knob.
    s->SetBackIL(SolidList(f, 40, 150, {0x123456}));
    s->Invalidate();
    EXPECT_EQ(PixelOf(h, 11, 133), 0x123456u);
    EXPECT_EQ(PixelOf(h, 18, 100), 0x123456u);
    f->Free();
}

TEST(TrackSlider, RangesThatWouldDivideByZeroStayUsable)
{
    TForm* f = NewHostForm();
    struct { int min, max, freq, height; } cases[] = {
        {7, 7, 50, 150},        // Min = Max
        {0, 1000, 0, 150},      // Frequency 0
        {0, 1000, 50, 34},      // track length 0
        {0, 1000, 50, 20},      // a slider shorter than its knob
        {10, 0, 50, 150},       // a range upside down
        {INT_MIN, INT_MAX, 1, 150},
    };
    for (auto& c : cases) {
        auto* s = new TTrackSlider(f);
        s->SetBounds(10, 10, 40, c.height);
        s->SetMin(c.min);
        s->SetMax(c.max);
        s->SetFrequency(c.freq);
        s->SetParent(f);
        PixelOf(s->Handle(), 5, 5);                    // paints
        s->SetFocus();
        for (WORD k : {VK_END, VK_HOME, VK_INSERT, VK_NEXT}) KeyDown(s->Handle(), k);
        Click(s->Handle(), 20, c.height - 2);
        Click(s->Handle(), 20, 2);
        PostMouse(s->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 20, KnobMiddle(s));
        PostMouse(s->Handle(), WM_MOUSEMOVE, MK_LBUTTON, 20, KnobMiddle(s) + 40);
        PostMouse(s->Handle(), WM_LBUTTONUP, 0, 20, KnobMiddle(s));
        EXPECT_GE(static_cast<long long>(s->Position()), std::min<long long>(c.min, c.max)) << c.min << " " << c.max;
        EXPECT_LE(s->Position(), c.max);
        s->Free();
    }
    f->Free();
}

TEST(TrackSlider, DesignedInstancesOnTheMainForm)
{
    // The player panel's sliders and gauge with the main form as owner and parent chain.
    auto* form = new TSonidexForm(Application);
    struct { const char* name; TTrackOrientation o; TTickMark t; int min, max, pos, line, page, freq, big; } designs[] = {
        {"VolSlider", trVertical, tmBoth, -5000, 0, -5000, 50, 500, 500, 1},
        {"PanSlider", trHorizontal, tmBottomRight, -10000, 10000, 0, 500, 2500, 2500, 1},
        {"FreqSlider", trVertical, tmBoth, 100, 100000, 88915, 100, 1000, 10000, 1},
        {"PosBar", trHorizontal, tmBottomRight, 0, 1000, 0, 5, 50, 50, 3},
    };
    auto* hKnobs = new TImageList(form, 23, 15, false);
    hKnobs->ResourceLoad("SKnobH");
    auto* vKnobs = new TImageList(form, 15, 24, false);
    vKnobs->ResourceLoad("SKnob");
    std::vector<TTrackSlider*> sliders;
    int x = 4;
    for (auto& d : designs) {
        auto* s = new TTrackSlider(form);
        s->Name = d.name;
        bool v = d.o == trVertical;
        s->SetBounds(x, 4, v ? 40 : 150, v ? 150 : 32);
        x += 42;
        s->SetLineSize(d.line);
        s->SetPageSize(d.page);
        s->SetMin(d.min);
        s->SetMax(d.max);
        s->SetPosition(d.pos);
        s->SetFrequency(d.freq);
        s->SetnBigTicks(d.big);
        s->SetOrientation(d.o);
        s->SetTickMarks(d.t);
        s->SetKnobIL(v ? vKnobs : hKnobs);
        s->SetParent(form->ControlBox);
        sliders.push_back(s);
    }
    auto* box = new TGroupBox(form);
    box->SetCaption("Loading...");
    box->SetBounds(4, 200, 168, 50);
    box->SetParent(form->ControlBox);
    auto* gauge = new TRedGauge(form);
    gauge->SetBounds(20, 16, 128, 26);
    gauge->SetParent(box);
    form->HandleNeeded();
    for (TTrackSlider* s : sliders) {
        EXPECT_TRUE(IsWindow(s->Handle())) << s->Name;
        EXPECT_EQ(GetParent(s->Handle()), form->ControlBox->Handle());
    }
    EXPECT_EQ(sliders[2]->Position(), 88915);
    EXPECT_EQ(sliders[0]->KnobIL(), vKnobs);
    gauge->SetMax(262143);
    gauge->SetPosition(131072);
    EXPECT_EQ(gauge->Text(), "50%");
    form->OnDestroy = nullptr;                           // nothing was started
    form->Free();
}

// ---- the gauge -----------------------------------------------------------------------------

TEST(RedGauge, PercentageTextFollowsPosition)
{
    TForm* f = NewHostForm();
    auto* g = new TRedGauge(f);
    g->SetParent(f);
    EXPECT_EQ(g->Position(), 0);
    EXPECT_EQ(g->Max(), 100);
    EXPECT_EQ(g->Color(), 255);
    EXPECT_TRUE(g->ShowPercentage());
    EXPECT_EQ(g->Text(), "");
    EXPECT_EQ(g->Font.Height(), -13);
    EXPECT_TRUE(g->Font.Style() & fsBold);
    struct { int max, set, position; const char* text; } cases[] = {
        {262143, 131072, 131072, "50%"},
        {100, -5, 0, "0%"},
        {100, 250, 100, "100%"},
        {99999999, 99999999, 99999999, "100%"},
        {99999999, 49999999, 49999999, "49%"},
        {0, 5, 0, "0%"},                     // no range: an empty bar and 0%
    };
    for (auto& c : cases) {
        g->SetMax(c.max);
        g->SetPosition(c.set);
        EXPECT_EQ(g->Position(), c.position) << c.max << " " << c.set;
        EXPECT_EQ(g->Text(), c.text) << c.max << " " << c.set;
    }
    // Turning the percentage off empties the text; on again, it waits for the next position.
    g->SetMax(100);
    g->SetPosition(40);
    g->SetShowPercentage(false);
    EXPECT_EQ(g->Text(), "");
    g->SetPosition(60);
    EXPECT_EQ(g->Text(), "");
    g->SetShowPercentage(true);
    EXPECT_EQ(g->Text(), "");
    g->SetPosition(70);
    EXPECT_EQ(g->Text(), "70%");
    f->Free();
}

TEST(RedGauge, PositionDrawsAtOnceWithoutARepaint)
{
    TForm* f = NewHostForm();
    f->SetColor(clSilver);
    auto* g = new TRedGauge(f);
    g->SetBounds(10, 10, 128, 26);
    g->SetParent(f);
    Pump(30);
    HWND h = f->Handle();
    HDC dc = GetDC(h);
    EXPECT_EQ(Rgb(GetPixel(dc, 10 + 100, 10 + 20)), 0u);   // the black well
    // A long copy on this thread: no message is handled between the positions.
    g->SetMax(99999999);
    g->SetPosition(99999999);
    EXPECT_EQ(Rgb(GetPixel(dc, 10 + 124, 10 + 20)), 0xFF0000u);   // a full bar, to the well's end
    EXPECT_EQ(Rgb(GetPixel(dc, 10 + 3, 10 + 20)), 0xFF0000u);
    RECT r;
    EXPECT_FALSE(GetUpdateRect(h, &r, FALSE));                     // nothing left for WM_PAINT
    g->SetPosition(0);
    EXPECT_EQ(Rgb(GetPixel(dc, 10 + 4, 10 + 20)), 0u);
    ReleaseDC(h, dc);
    // A gauge in a group box, as the loading box holds it, is painted with the box.
    auto* box = new TGroupBox(f);
    box->SetBounds(150, 10, 168, 50);
    box->SetParent(f);
    auto* g2 = new TRedGauge(f);
    g2->SetBounds(20, 16, 128, 26);
    g2->SetParent(box);
    g2->SetMax(100);
    g2->SetPosition(100);                                           // not shown yet on its own
    Pump(30);
    EXPECT_EQ(PixelOf(box->Handle(), 20 + 60, 16 + 4), 0xFF0000u);
    // A real repaint of the box (the system draws the frame first) draws the gauge again.
    InvalidateRect(box->Handle(), nullptr, TRUE);
    UpdateWindow(box->Handle());
    HDC boxDC = GetDC(box->Handle());
    EXPECT_EQ(Rgb(GetPixel(boxDC, 20 + 60, 16 + 4)), 0xFF0000u);
    ReleaseDC(box->Handle(), boxDC);
    f->Free();
}

TEST(RedGauge, TextIsBlackOverTheBarAndRedBeyondIt)
{
    auto* g = new TRedGauge(nullptr);
    g->SetBounds(0, 0, 128, 26);
    g->SetMax(100);
    g->SetPosition(50);                              // no parent: only the text is set
    ASSERT_EQ(g->Text(), "50%");
    TBitmap bmp(128, 26);
    g->PaintTo(bmp.Canvas().Handle());
    GdiFlush();
    const int barEnd = 3 + 61;                       // the bar covers x = 3 .. 63
    const unsigned red = 0xFF0000, light = 0xFF9090, black = 0;
    int blackOnBar = 0, lightOnBar = 0, redBeyond = 0, lightBeyond = 0, otherBeyond = 0;
    for (int y = 3; y < 23; ++y)
        for (int x = 3; x < 125; ++x) {
            unsigned p = bmp.Bits()[y * 128 + x] & 0xFFFFFF;
            if (x < barEnd) {
                blackOnBar += p == black;
                lightOnBar += p == light;
            } else {
                redBeyond += p == red;
                lightBeyond += p == light;
                otherBeyond += p != red && p != black;
            }
        }
    EXPECT_GT(blackOnBar, 10);        // the text's left part: black...
    EXPECT_GT(lightOnBar, 10);        // ...with its light shadow
    EXPECT_GT(redBeyond, 10);         // its right part in the bar's colour on the black well
    EXPECT_EQ(lightBeyond, 0);
    // The bar itself: red to x = 63, black from 64; the frame's shadow and highlight.
    EXPECT_EQ(bmp.Bits()[4 * 128 + 4] & 0xFFFFFF, red);
    EXPECT_EQ(bmp.Bits()[4 * 128 + 63] & 0xFFFFFF, red);
    EXPECT_EQ(bmp.Bits()[4 * 128 + 64] & 0xFFFFFF, black);
    EXPECT_EQ(bmp.Bits()[0] & 0xFFFFFF, Rgb(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(bmp.Bits()[25 * 128 + 127] & 0xFFFFFF, Rgb(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(bmp.Bits()[2 * 128 + 2] & 0xFFFFFF, black);
    g->Free();
    RecordProperty("antialiased_pixels_beyond_bar", otherBeyond);
}
