// The form toolkit with the real window calls: ownership, events, settings files.
#include "WinTest.h"
#include <oleacc.h>
#include "toolkit/ExtCtrls.h"
#include "toolkit/LateBound.h"
#include "toolkit/IniFiles.h"
#include "toolkit/StdCtrls.h"

using namespace wintest;

namespace {
struct Probe : TComponent {
    Probe(TComponent* o, std::vector<std::string>* log, std::string n) : TComponent(o), Log(log) { Name = std::move(n); }
    ~Probe() override { Log->push_back(Name); }
    std::vector<std::string>* Log;
};
}

TEST(Toolkit, OwnerFreesWhatItOwnsInReverseOrder)
{
    std::vector<std::string> log;
    auto* owner = new TComponent(nullptr);
    new Probe(owner, &log, "a");
    auto* b = new Probe(owner, &log, "b");
    new Probe(owner, &log, "c");
    delete b;                                  // freed early: leaves the owner's list
    EXPECT_EQ(owner->Components().size(), 2u);
    delete owner;
    EXPECT_EQ(log, (std::vector<std::string>{"b", "c", "a"}));
}

TEST(Toolkit, EventsAreCalledOnlyWhenAssignedWithTheSenderFirst)
{
    TNotifyEvent e;
    EXPECT_FALSE(e);
    e(nullptr);                                // unassigned: nothing happens
    TObject* seen = nullptr;
    e = [&](TObject* s) { seen = s; };
    TObject sender;
    e(&sender);
    EXPECT_EQ(seen, &sender);
}

TEST(Toolkit, CheckBoxClickRunsForUserAndCodeButNotQuietly)
{
    TForm* f = NewHostForm();
    auto* box = new TCheckBox(f);
    box->SetBounds(10, 10, 100, 17);
    box->SetParent(f);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    box->SetCheckedQuietly(false);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(box->Checked());
    Click(box->Handle(), 5, 5);
    Pump(50);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(SendMessageA(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    f->Free();
}

TEST(Toolkit, ExceptionInAHandlerReachesTheErrorBoxAndTheProgramGoesOn)
{
    TForm* f = NewHostForm();
    auto* box = new TCheckBox(f);
    box->SetParent(f);
    box->OnClick = [](TObject*) { throw Exception("ERROR WHILE PLAYING A SOUND BUFFER"); };
    std::string shown;
    auto keep = Application->OnException;
    Application->OnException = [&](TObject*, const std::exception& e) { shown = e.what(); };
    Click(box->Handle(), 5, 5);
    Pump(50);
    Application->OnException = keep;
    EXPECT_EQ(shown, "ERROR WHILE PLAYING A SOUND BUFFER");
    EXPECT_TRUE(IsWindow(f->Handle()));
    f->Free();
}

TEST(Toolkit, KeyPreviewSeesKeysBeforeTheFocusedControl)
{
    TForm* f = NewHostForm();
    f->KeyPreview = true;
    auto* list = new TListBox(f);
    list->SetParent(f);
    std::vector<std::string> order;
    f->OnKeyPress = [&](TObject*, char& k) { order.push_back(std::string("form ") + k); };
    list->OnKeyPress = [&](TObject*, char& k) { order.push_back(std::string("list ") + k); };
    PostMessageA(list->Handle(), WM_CHAR, 'x', 1);
    Pump(30);
    EXPECT_EQ(order, (std::vector<std::string>{"form x", "list x"}));
    f->Free();
}

TEST(Toolkit, AnOwnerDrawnListKeepsItsLinesAndFindsThemByFirstLetter)
{
    TForm* f = NewHostForm();
    auto* list = new TListBox(f);
    list->Style = lbOwnerDrawFixed;
    TObject a, b, c;
    list->AddItem("early", &a);                // before the window exists
    list->SetParent(f);
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 1);
    list->SetLines({{"kick", &a}, {"Snare", &b}, {"snap", &c}, {"Kick 2", &b}});
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 4) << "the system's list counts the lines";
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Strings(1), "Snare");
    EXPECT_EQ(list->Objects(2), &c);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_THROW(list->Strings(4), Exception);

    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->SetItemIndex(0);
    PostMessageA(list->Handle(), WM_CHAR, 's', 1);
    Pump(30);
    EXPECT_EQ(list->ItemIndex(), 1) << "the next line from the selected one, any letter case";
    PostMessageA(list->Handle(), WM_CHAR, 'S', 1);
    Pump(30);
    EXPECT_EQ(list->ItemIndex(), 2);
    PostMessageA(list->Handle(), WM_CHAR, 'k', 1);
    Pump(30);
    EXPECT_EQ(list->ItemIndex(), 3);
    PostMessageA(list->Handle(), WM_CHAR, 'k', 1);
    Pump(30);
    EXPECT_EQ(list->ItemIndex(), 0) << "from the end round to the top";
    EXPECT_EQ(clicks, 4) << "each move is a selection change";
    PostMessageA(list->Handle(), WM_CHAR, 'x', 1);
    Pump(30);
    EXPECT_EQ(list->ItemIndex(), 0) << "no line: the selection stays";

    list->DeleteItem(1);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(list->Strings(1), "snap");
    list->Clear();
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(list->Count(), 0);
    f->Free();
}

TEST(Toolkit, TimerFiresOnTheUserInterfaceThread)
{
    TTimer t(nullptr);
    int ticks = 0;
    DWORD thread = 0;
    t.OnTimer = [&](TObject*) { ++ticks; thread = GetCurrentThreadId(); };
    t.SetInterval(20);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }, 2000));
    EXPECT_EQ(thread, GetCurrentThreadId());
    t.SetEnabled(false);
    int seen = ticks;
    Pump(100);
    EXPECT_EQ(ticks, seen);
}

TEST(IniFile, ReadsDefaultsHexAndGarbageAndCutsLongTexts)
{
    std::string dir = TempFolder("ini");
    std::string file = dir + "t.ini";
    WriteFile(file, "[s]\r\nhex=0xFF\r\ndollar=$1F\r\nword=blue\r\nbool=7\r\nzero=0\r\nlong=" + std::string(3000, 'a') + "\r\n");
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("s", "hex", 1), 255);
    EXPECT_EQ(ini.ReadInteger("s", "dollar", 1), 31);
    EXPECT_EQ(ini.ReadInteger("s", "word", 14742776), 14742776);
    EXPECT_EQ(ini.ReadInteger("s", "missing", -3), -3);
    EXPECT_TRUE(ini.ReadBool("s", "bool", false));
    EXPECT_FALSE(ini.ReadBool("s", "zero", true));
    EXPECT_EQ(ini.ReadString("s", "long", "").size(), 1023u);
    ini.WriteString("s", "new", "v");
    EXPECT_EQ(ini.ReadString("s", "new", ""), "v");
}

TEST(IniFile, RefusedWriteRaisesUnableToWrite)
{
    // A folder that does not exist cannot take the file.
    TIniFile ini("Q:\\no\\such\\folder\\x.ini");
    try {
        ini.WriteString("s", "k", "v");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to write to Q:\\no\\such\\folder\\x.ini");
    }
}

TEST(StringList, SortedListKeepsTheFirstPlaceForEqualNames)
{
    TStringList l;
    l.SetSorted(true);
    EXPECT_EQ(l.Add("snare"), 0);
    EXPECT_EQ(l.Add("Kick"), 0);
    EXPECT_EQ(l.Add("hat"), 0);
    EXPECT_EQ(l.Add("KICK"), 1);             // equal ignoring case: the existing line's place
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.Strings(1), "Kick");
}

// Screen readers and automation ask a list box for its lines' texts; the owner-drawn list,
// whose system list holds no texts, answers from the lines it keeps.
TEST(Toolkit, AnOwnerDrawnListGivesItsLinesTextsToWhoeverAsks)
{
    TForm* f = NewHostForm();
    auto* list = new TListBox(f);
    list->Style = lbOwnerDrawFixed;
    list->SetParent(f);
    TObject a;
    list->SetLines({{"kick", &a}, {"Snare 02", &a}, {"", &a}});
    HWND h = list->Handle();
    EXPECT_TRUE(GetWindowLongPtrA(h, GWL_STYLE) & LBS_HASSTRINGS) << "the texts travel to other programs as texts";
    EXPECT_EQ(SendMessageA(h, LB_GETCOUNT, 0, 0), 3) << "the lines were handed over as a count";
    auto text = [&](int i) {
        char buf[64] = "untouched";
        LRESULT n = SendMessageA(h, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf));
        return std::to_string(n) + " " + (n == LB_ERR ? std::string("-") : std::string(buf));
    };
    EXPECT_EQ(SendMessageA(h, LB_GETTEXTLEN, 1, 0), 8);
    EXPECT_EQ(text(1), "8 Snare 02");
    EXPECT_EQ(text(2), "0 ");
    EXPECT_EQ(SendMessageA(h, LB_GETTEXTLEN, 3, 0), LB_ERR);
    EXPECT_EQ(text(-1), std::to_string(LB_ERR) + " -");
    WCHAR wide[16] = L"";
    EXPECT_EQ(SendMessageW(h, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(wide)), 4);
    EXPECT_EQ(std::wstring(wide), L"kick") << "a wide-text reader gets the same line";

    // The lines follow the list's changes.
    list->DeleteItem(0);
    EXPECT_EQ(text(0), "8 Snare 02");
    list->SetItemIndex(1);
    EXPECT_EQ(SendMessageA(h, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageA(h, LB_GETTOPINDEX, 0, 0), 0);

    // The accessibility proxy names each line with its text, where the system has a list-box
    // proxy (Wine's oleacc gives a plain client object, which knows no lines: E_INVALIDARG).
    using Fn = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
    static Fn fromWindow = LateBound<Fn>("oleacc.dll", "AccessibleObjectFromWindow");
    IAccessible* acc = nullptr;
    if (fromWindow && SUCCEEDED(fromWindow(h, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                           reinterpret_cast<void**>(&acc))) && acc) {
        VARIANT child;
        VariantInit(&child);
        child.vt = VT_I4;
        child.lVal = 1;                                        // the first line
        BSTR name = nullptr;
        HRESULT named = acc->get_accName(child, &name);
        if (named != E_INVALIDARG) {
            EXPECT_EQ(named, S_OK);
            EXPECT_EQ(std::wstring(name ? name : L""), L"Snare 02");
        }
        SysFreeString(name);
        acc->Release();
    }
    f->Free();
}

TEST(Toolkit, AControlMadeLateHasAStandInUntilItsWindowTakesItsPlace)
{
    auto* f = new TForm(Application);
    f->BorderStyle = bsNone;
    f->SetBounds(50, 50, 300, 200);
    auto panel = [f](bool late, bool visible) {
        auto* p = new TPanel(f);
        p->CreateLate = late;
        p->SetVisible(visible);
        p->SetColor(clRed);
        p->SetBounds(10, 10, 80, 60);
        p->SetParent(f);
        return p;
    };
    panel(false, true);
    TPanel* late = panel(true, true);
    TPanel* hidden = panel(true, false);
    panel(false, true);
    f->AfterConstruction();
    f->Show();
    Pump(20);
    EXPECT_FALSE(late->HandleAllocated());
    EXPECT_FALSE(hidden->HandleAllocated());
    // One stand-in, for the shown one: at its place, following it, in its colour.
    HWND standIn = FindWindowExA(f->Handle(), nullptr, "TStandIn", nullptr);
    ASSERT_NE(standIn, nullptr);
    EXPECT_EQ(FindWindowExA(f->Handle(), standIn, "TStandIn", nullptr), nullptr);
    late->SetBounds(20, 30, 80, 60);
    RECT r;
    GetWindowRect(standIn, &r);
    MapWindowPoints(nullptr, f->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 30);
    TBitmap paint(8, 8);
    SendMessageA(standIn, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint.Canvas().Handle()), 0);
    GdiFlush();
    EXPECT_EQ(paint.Bits()[4 * 8 + 4] & 0xFFFFFF, 0xFF0000u);
    // The window, when asked for, takes the stand-in's place among its siblings.
    HWND above = GetWindow(standIn, GW_HWNDPREV), below = GetWindow(standIn, GW_HWNDNEXT);
    late->HandleNeeded();
    EXPECT_FALSE(IsWindow(standIn));
    EXPECT_EQ(GetWindow(late->Handle(), GW_HWNDPREV), above);
    EXPECT_EQ(GetWindow(late->Handle(), GW_HWNDNEXT), below);
    // The hidden one is made when it is first shown.
    hidden->SetVisible(true);
    EXPECT_TRUE(hidden->HandleAllocated());
    f->Free();
}

TEST(Toolkit, TheScreensCursorsAreTheSystemsLoadedWhenFirstAskedFor)
{
    // By number: a standard one is the system's, one set by the program is its own, and an
    // unknown number is the arrow.
    const HCURSOR own = LoadCursor(nullptr, IDC_CROSS);
    Screen->SetCursorHandle(40, own);
    const struct { TCursor c; HCURSOR want; } cases[] = {
        {crHourGlass, LoadCursor(nullptr, IDC_WAIT)}, {crIBeam, LoadCursor(nullptr, IDC_IBEAM)},
        {crDefault, LoadCursor(nullptr, IDC_ARROW)}, {40, own}, {41, LoadCursor(nullptr, IDC_ARROW)}};
    for (const auto& c : cases) EXPECT_EQ(Screen->CursorHandle(c.c), c.want) << c.c;
    EXPECT_EQ(Screen->CursorHandle(crNone), nullptr);
}
