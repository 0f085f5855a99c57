// A gallery of the player panel's sliders and the loading gauge with their designed
// properties, on a panel like the main window's control panel, for a screenshot to be looked
// at: SliderGallery [seconds]. It prints "ready" once everything is drawn, and ends after the
// given time (10 s by default).
#include <cstdio>
#include <cstdlib>
#include "controls/Slider.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

namespace {
TTrackSlider* MakeSlider(TForm* form, TWinControl* parent, const char* name, TTrackOrientation o, TTickMark ticks,
                         int min, int max, int position, int line, int page, int frequency, int bigTicks,
                         TRect bounds)
{
    auto* s = new TTrackSlider(form);
    s->Name = name;
    s->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    // In the order a form applies them: the range before the position, orientation before knob.
    s->SetLineSize(line);
    s->SetPageSize(page);
    s->SetMin(min);
    s->SetMax(max);
    s->SetPosition(position);
    s->SetFrequency(frequency);
    s->SetnBigTicks(bigTicks);
    s->SetOrientation(o);
    s->SetTickMarks(ticks);
    s->SetSideGap(5);
    s->SetParent(parent);
    return s;
}

TGroupBox* MakeBox(TForm* form, TWinControl* parent, const char* caption, TRect r)
{
    auto* b = new TGroupBox(form);
    b->SetCaption(caption);
    b->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    b->SetColor(clSilver);
    b->SetParent(parent);
    return b;
}

TLabel* MakeLabel(TForm* form, TWinControl* parent, const char* text, int x, int y)
{
    auto* l = new TLabel(form);
    l->SetCaption(text);
    l->SetBounds(x, y, 80, 14);
    l->SetParent(parent);
    return l;
}
}

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    TApplication app;
    Application->Initialize();
    Application->SetTitle("SliderGallery");

    auto* form = new TForm(Application);
    form->BorderStyle = bsNone;
    form->SetColor(clSilver);
    form->Font.SetName("Arial");
    form->Font.SetHeight(-11);
    form->SetBounds(0, 0, 400, 330);

    // The control panel: 176 x 309, as on the main window.
    auto* panel = new TPanel(form);
    panel->BevelInner = bvRaised;
    panel->BevelOuter = bvLowered;
    panel->SetColor(clSilver);
    panel->SetBounds(10, 10, 176, 309);
    panel->SetParent(form);

    MakeLabel(form, panel, "Volume", 10, 6);
    MakeSlider(form, panel, "VolSlider", trVertical, tmBoth, -5000, 0, -5000, 50, 500, 500, 1, Bounds(8, 20, 40, 150));
    TGroupBox* freqBox = MakeBox(form, panel, "Frequency", Bounds(60, 4, 108, 170));
    MakeSlider(form, freqBox, "FreqSlider", trVertical, tmBoth, 100, 100000, 88915, 100, 1000, 10000, 1,
               Bounds(34, 14, 40, 150));
    MakeLabel(form, panel, "Pan", 10, 178);
    MakeSlider(form, panel, "PanSlider", trHorizontal, tmBottomRight, -10000, 10000, 0, 500, 2500, 2500, 1,
               Bounds(8, 190, 160, 32));
    TGroupBox* posBox = MakeBox(form, panel, "Position", Bounds(4, 226, 168, 50));
    MakeSlider(form, posBox, "PosBar", trHorizontal, tmBottomRight, 0, 1000, 0, 5, 50, 50, 3, Bounds(4, 14, 160, 32));

    // Beside the panel: the loading box as it covers the position box during a long load, and
    // the designed sliders again at other values, one disabled, one focused.
    TGroupBox* loadingBox = MakeBox(form, form, "Loading...", Bounds(200, 236, 168, 50));
    auto* gauge = new TRedGauge(form);
    gauge->Name = "LoadingGauge";
    gauge->SetBounds(20, 16, 128, 26);
    gauge->Font.SetName("Arial");
    gauge->Font.SetHeight(-13);
    gauge->Font.SetStyle(fsBold);
    gauge->SetParent(loadingBox);

    auto* gauge2 = new TRedGauge(form);
    gauge2->SetBounds(220, 200, 128, 26);
    gauge2->Font.SetName("Arial");
    gauge2->SetParent(form);

    TTrackSlider* vol2 = MakeSlider(form, form, "VolSlider2", trVertical, tmBoth, -5000, 0, -1200, 50, 500, 500, 1,
                                    Bounds(200, 10, 40, 150));
    TTrackSlider* off = MakeSlider(form, form, "FreqSliderOff", trVertical, tmTopLeft, 100, 100000, 50000, 100, 1000,
                                   10000, 1, Bounds(250, 10, 40, 150));
    off->SetEnabled(false);
    MakeSlider(form, form, "PosBar2", trHorizontal, tmBoth, 0, 1000, 620, 5, 50, 50, 3, Bounds(200, 160, 190, 40));
    MakeSlider(form, form, "Right", trVertical, tmBottomRight, 0, 10, 3, 1, 2, 1, 3, Bounds(300, 10, 40, 150));

    form->AfterConstruction();
    form->Show();
    vol2->SetFocus();
    Application->ProcessMessages();
    // The gauges are drawn at once by their position, as during a load.
    gauge->SetMax(262143);
    gauge->SetPosition(131072);
    gauge2->SetMax(99999999);
    gauge2->SetPosition(23456789);

    Application->ProcessMessages();
    std::printf("ready\n");
    std::fflush(stdout);
    auto* quit = new TTimer(form);
    quit->SetInterval(static_cast<unsigned>(seconds) * 1000);
    quit->OnTimer = [](TObject*) { Application->Terminate(); };
    Application->Run();
    return 0;
}
