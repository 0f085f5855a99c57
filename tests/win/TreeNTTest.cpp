// The tree view control over the real "SysTreeView32": nodes, steps and events, styles,
// updates and the recreation of its window.
#include "WinTest.h"
#include "shell/TreeNT.h"

using namespace wintest;

namespace {
class TreeNT : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = NewHostForm();
        tree = new TTreeNT(form);
        tree->SetBounds(0, 0, 200, 200);
        tree->SetParent(form);
    }
    void TearDown() override { form->Free(); }

    // The text the control shows for an item.
    std::string ShownText(TTreeNTNode* n)
    {
        char buf[100] = "";
        TVITEMA item = {};
        item.mask = TVIF_HANDLE | TVIF_TEXT;
        item.hItem = n->ItemId();
        item.pszText = buf;
        item.cchTextMax = sizeof buf;
        SendMessageA(tree->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return buf;
    }
    std::vector<std::string> Texts(TTreeNTNode* parent)
    {
        std::vector<std::string> t;
        for (TTreeNTNode* n = parent ? parent->getFirstChild() : tree->Items()->GetFirstNode(); n; n = n->getNextSibling())
            t.push_back(n->Text());
        return t;
    }
    TForm* form = nullptr;
    TTreeNT* tree = nullptr;
};

// Records the WM_SETREDRAW messages a window receives.
std::vector<WPARAM>* RedrawLog = nullptr;
HWND RedrawWindowWatched = nullptr;
LRESULT CALLBACK RedrawHook(int code, WPARAM w, LPARAM l)
{
    auto* m = reinterpret_cast<CWPSTRUCT*>(l);
    if (code == HC_ACTION && m->hwnd == RedrawWindowWatched && m->message == WM_SETREDRAW && RedrawLog)
        RedrawLog->push_back(m->wParam);
    return CallNextHookEx(nullptr, code, w, l);
}
}

TEST_F(TreeNT, NodesAtTheEndOfALevelAndAsLastChild)
{
    auto* items = tree->Items();
    TTreeNTNode* a = items->Add(nullptr, "a");
    TTreeNTNode* b = items->Add(a, "b");                    // after a, on a's level
    TTreeNTNode* a1 = items->AddChild(a, "a1");
    TTreeNTNode* a2 = items->AddChild(a, "a2");
    TTreeNTNode* a3 = items->Add(a1, "a3");                  // at the end of a1's level
    TTreeNTNode* c = items->AddChild(nullptr, "c");          // no parent: the top level
    EXPECT_EQ(Texts(nullptr), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(Texts(a), (std::vector<std::string>{"a1", "a2", "a3"}));
    EXPECT_EQ(a2->Parent(), a);
    EXPECT_EQ(b->Parent(), nullptr);
    EXPECT_EQ(a1->getNextSibling(), a2);
    EXPECT_EQ(a3->getPrevSibling(), a2);
    EXPECT_EQ(a->GetLastChild(), a3);
    EXPECT_EQ(a->Count(), 3);
    EXPECT_EQ(a->Item(2), a3);
    EXPECT_EQ(a3->Level(), 1);
    EXPECT_EQ(items->Count(), 6);
    EXPECT_EQ(items->Item(0), a);
    EXPECT_EQ(items->Item(3), a3);                           // the lines in order: a a1 a2 a3 b c
    EXPECT_EQ(items->Item(5), c);
    EXPECT_EQ(a->GetNext(), a1);
    EXPECT_EQ(a3->GetNext(), b);
    EXPECT_EQ(c->GetNext(), nullptr);

    struct { std::function<void()> call; const char* what; } errors[] = {
        {[&] { a->Item(3); }, "List index out of bounds (3)"},
        {[&] { a->Item(-1); }, "List index out of bounds (-1)"},
        {[&] { c->Item(0); }, "List index out of bounds (0)"},
        {[&] { items->Item(6); }, "Invalid index"},
        {[&] { items->Item(-1); }, "Invalid index"},
    };
    for (auto& e : errors) {
        try {
            e.call();
            ADD_FAILURE() << "no error for " << e.what;
        } catch (const ETreeNTError& x) {
            EXPECT_STREQ(x.what(), e.what);
        }
    }
}

TEST_F(TreeNT, TextAndImagesAreGivenOnRequest)
{
    int asked = 0;
    tree->OnGetImageIndex = [&](TObject*, TTreeNTNode* n) { ++asked; n->SetImageIndex(7); };
    TTreeNTNode* n = tree->Items()->AddObject(nullptr, "first", reinterpret_cast<void*>(42));
    EXPECT_EQ(n->ImageIndex(), -1);
    EXPECT_EQ(n->SelectedIndex(), -1);
    EXPECT_EQ(n->Data(), reinterpret_cast<void*>(42));
    EXPECT_EQ(ShownText(n), "first");
    n->SetText("second");
    EXPECT_EQ(ShownText(n), "second");
    // A name beyond ASCII, in the program's code page (UTF-8), read wide as another program would.
    n->SetText("caf\xc3\xa9 \xe3\x82\xad\xe3\x83\x83\xe3\x82\xaf");
    WCHAR wide[32] = L"";
    TVITEMW w = {};
    w.mask = TVIF_HANDLE | TVIF_TEXT;
    w.hItem = n->ItemId();
    w.pszText = wide;
    w.cchTextMax = 32;
    SendMessageW(tree->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&w));
    EXPECT_EQ(std::wstring(wide), L"caf\u00e9 \u30ad\u30c3\u30af");
    n->SetText("second");

    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    item.hItem = n->ItemId();
    n->SetSelectedIndex(3);
    SendMessageA(tree->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 7);                 // through OnGetImageIndex
    EXPECT_EQ(item.iSelectedImage, 3);
    EXPECT_GE(asked, 1);
    EXPECT_EQ(item.lParam, reinterpret_cast<LPARAM>(n));   // the item holds the node, not the data
}

TEST_F(TreeNT, DeletionEventsFreeTheNodes)
{
    std::vector<std::pair<TObject*, std::string>> deleted;
    tree->OnDeletion = [&](TObject* s, TTreeNTNode* n) { deleted.emplace_back(s, n->Text()); };
    auto* items = tree->Items();
    TTreeNTNode* a = items->Add(nullptr, "a");
    items->AddChild(a, "a1");
    items->AddChild(a, "a2");
    TTreeNTNode* b = items->Add(nullptr, "b");
    a->Expand(false);
    EXPECT_TRUE(a->Expanded());

    a->DeleteChildren();
    ASSERT_EQ(deleted.size(), 2u);
    EXPECT_EQ(deleted[0].first, items);        // the sender is the node collection
    EXPECT_EQ(deleted[0].second, "a1");
    EXPECT_EQ(deleted[1].second, "a2");
    EXPECT_EQ(a->Count(), 0);
    EXPECT_FALSE(a->HasChildren());
    EXPECT_FALSE(a->Expanded());

    b->Delete();
    EXPECT_EQ(deleted.back().second, "b");
    EXPECT_EQ(items->Count(), 1);
    items->AddChild(a, "a3");
    items->Clear();
    EXPECT_EQ(items->Count(), 0);
    EXPECT_EQ(deleted.size(), 5u);
}

TEST_F(TreeNT, NestedUpdatesTurnRedrawingOffOnce)
{
    std::vector<WPARAM> log;
    RedrawLog = &log;
    RedrawWindowWatched = tree->Handle();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &RedrawHook, nullptr, GetCurrentThreadId());
    auto* items = tree->Items();
    items->BeginUpdate();
    items->BeginUpdate();
    items->Add(nullptr, "x");
    items->EndUpdate();
    EXPECT_EQ(log, (std::vector<WPARAM>{FALSE}));
    items->EndUpdate();
    items->EndUpdate();                         // one too many: ignored
    UnhookWindowsHookEx(hook);
    RedrawLog = nullptr;
    EXPECT_EQ(log, (std::vector<WPARAM>{FALSE, TRUE}));
    EXPECT_EQ(items->UpdateCount(), 0);
}

TEST_F(TreeNT, ExpandingStepRunsOnceAndCanVeto)
{
    auto* items = tree->Items();
    TTreeNTNode* a = items->Add(nullptr, "a");
    items->AddChild(a, "a1");
    std::vector<std::string> log;
    bool allow = false;
    tree->OnExpanding = [&](TObject*, TTreeNTNode* n, bool& ok) { log.push_back("expanding " + n->Text()); ok = allow; };
    tree->OnExpanded = [&](TObject*, TTreeNTNode* n) { log.push_back("expanded " + n->Text()); };
    tree->OnCollapsing = [&](TObject*, TTreeNTNode* n, bool&) { log.push_back("collapsing " + n->Text()); };
    tree->OnCollapsed = [&](TObject*, TTreeNTNode* n) { log.push_back("collapsed " + n->Text()); };

    a->Expand(false);
    EXPECT_FALSE(a->Expanded());
    allow = true;
    a->Expand(false);
    EXPECT_TRUE(a->Expanded());
    a->Collapse(false);
    EXPECT_FALSE(a->Expanded());
    EXPECT_EQ(log, (std::vector<std::string>{"expanding a", "expanding a", "expanded a", "collapsing a", "collapsed a"}));

    // An expansion the control starts runs the same steps.
    TTreeNTNode* b = items->Add(nullptr, "b");
    items->AddChild(b, "b1");
    log.clear();
    SendMessageA(tree->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(b->ItemId()));
    EXPECT_TRUE(b->Expanded());
    EXPECT_EQ(log, (std::vector<std::string>{"expanding b", "expanded b"}));
}

TEST_F(TreeNT, SelectionStepsAndVeto)
{
    auto* items = tree->Items();
    TTreeNTNode* a = items->Add(nullptr, "a");
    TTreeNTNode* b = items->Add(nullptr, "b");
    std::vector<TTreeNTNode*> changed;
    bool allow = true;
    tree->OnChanging = [&](TObject*, TTreeNTNode*, bool& ok) { ok = allow; };
    tree->OnChange = [&](TObject* s, TTreeNTNode* n) { EXPECT_EQ(s, tree); changed.push_back(n); };
    tree->SetSelected(a);
    EXPECT_EQ(tree->Selected(), a);
    EXPECT_TRUE(a->Selected());
    allow = false;
    b->SetSelected(true);
    EXPECT_EQ(tree->Selected(), a);
    allow = true;
    b->SetSelected(true);
    EXPECT_EQ(tree->Selected(), b);
    tree->SetSelected(nullptr);
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(changed, (std::vector<TTreeNTNode*>{a, b, nullptr}));
}

TEST_F(TreeNT, MouseSelectsTheLineUnderThePressAndTellsTopAndPoint)
{
    tree->SetItemHeight(16);
    auto* items = tree->Items();
    std::vector<TTreeNTNode*> nodes;
    for (int i = 0; i < 30; ++i) nodes.push_back(items->Add(nullptr, "line " + std::to_string(i)));
    EXPECT_EQ(tree->TopItem(), nodes[0]);
    EXPECT_EQ(tree->GetNodeAt(40, 16 * 2 + 5), nodes[2]);
    tree->SetTopItem(nodes[10]);
    EXPECT_EQ(tree->TopItem(), nodes[10]);
    EXPECT_EQ(tree->GetNodeAt(40, 16 * 3 + 5), nodes[13]);
    TRect r = nodes[13]->DisplayRect(false);
    EXPECT_EQ(r.Top, 16 * 3);
    // Right of the label, where the control itself does not select.
    Click(tree->Handle(), 150, 16 * 3 + 5);
    Pump(30);
    EXPECT_EQ(tree->Selected(), nodes[13]) << (tree->Selected() ? tree->Selected()->Text() : "none");
    EXPECT_TRUE(nodes[13]->IsVisible());
}

TEST_F(TreeNT, OptionsAreWindowStyles)
{
    struct { TTreeOptions options; DWORD on, off; } cases[] = {
        {toShowButtons | toShowLines, TVS_HASBUTTONS | TVS_HASLINES | TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS,
         TVS_LINESATROOT | TVS_TRACKSELECT | TVS_CHECKBOXES},
        {toReadOnly | toShowLines, TVS_HASLINES, TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS},
        {toShowRoot | toHideSelection | toToolTips, TVS_LINESATROOT, TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS},
        {toHotTrack | toSingleExpand | toFullRowSelect | toNoScroll | toInfoTip,
         TVS_TRACKSELECT | TVS_SINGLEEXPAND | TVS_FULLROWSELECT | TVS_NOSCROLL | TVS_INFOTIP, 0},
        {toCheckBoxes, TVS_CHECKBOXES, 0},
    };
    for (auto& c : cases) {
        auto* t = new TTreeNT(form);
        t->SetOptions(c.options);
        t->SetParent(form);
        DWORD style = static_cast<DWORD>(GetWindowLongA(t->Handle(), GWL_STYLE));
        EXPECT_EQ(style & c.on, c.on) << "options " << c.options;
        EXPECT_EQ(style & c.off, 0u) << "options " << c.options;
        EXPECT_TRUE(style & TVS_DISABLEDRAGDROP);
        EXPECT_TRUE(style & WS_BORDER);
        EXPECT_TRUE(GetWindowLongA(t->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        t->Free();
    }
}

TEST_F(TreeNT, OptionChangesAdjustInPlaceOrRecreateKeepingTheNodes)
{
    TTreeNTNode* a = tree->Items()->AddObject(nullptr, "a", reinterpret_cast<void*>(1));
    HWND before = tree->Handle();
    tree->SetOptions(toShowLines | toShowRoot);          // buttons off, root lines on: in place
    EXPECT_EQ(tree->Handle(), before);
    DWORD style = static_cast<DWORD>(GetWindowLongA(before, GWL_STYLE));
    EXPECT_TRUE(style & TVS_LINESATROOT);
    EXPECT_FALSE(style & TVS_HASBUTTONS);
    tree->SetOptions(toShowLines | toShowRoot | toReadOnly);   // no label editing: a new window
    EXPECT_NE(tree->Handle(), before);
    EXPECT_FALSE(GetWindowLongA(tree->Handle(), GWL_STYLE) & TVS_EDITLABELS);
    EXPECT_EQ(tree->Items()->GetFirstNode(), a);
    EXPECT_EQ(a->Data(), reinterpret_cast<void*>(1));
}

TEST_F(TreeNT, IndentItemHeightAndScrollTime)
{
    tree->SetIndent(19);
    tree->SetItemHeight(16);
    tree->SetScrollTime(50);
    EXPECT_EQ(tree->ScrollTime(), 100);                 // never below 100
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETSCROLLTIME, 0, 0), 100);
    tree->SetScrollTime(250);
    HWND h = tree->Handle();
    EXPECT_EQ(SendMessageA(h, TVM_GETINDENT, 0, 0), 19);
    EXPECT_EQ(SendMessageA(h, TVM_GETITEMHEIGHT, 0, 0), 16);
    EXPECT_EQ(tree->ScrollTime(), 250);
    // The colour is taken in place; a new window gets them all again.
    tree->SetColor(clYellow);
    EXPECT_EQ(tree->Handle(), h);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(h, TVM_GETBKCOLOR, 0, 0)), RGB(255, 255, 0));
    tree->RecreateWnd();
    ASSERT_NE(tree->Handle(), h);
    h = tree->Handle();
    EXPECT_EQ(SendMessageA(h, TVM_GETINDENT, 0, 0), 19);
    EXPECT_EQ(SendMessageA(h, TVM_GETITEMHEIGHT, 0, 0), 16);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(h, TVM_GETBKCOLOR, 0, 0)), RGB(255, 255, 0));
    tree->SetItemHeight(0);                              // the system's height again
    EXPECT_GT(SendMessageA(h, TVM_GETITEMHEIGHT, 0, 0), 0);
}

TEST_F(TreeNT, RecreationKeepsNodesDataStateAndSelectionWithoutEvents)
{
    auto* items = tree->Items();
    TTreeNTNode* a = items->AddObject(nullptr, "a", reinterpret_cast<void*>(10));
    TTreeNTNode* a1 = items->AddChildObject(a, "a1", reinterpret_cast<void*>(11));
    TTreeNTNode* a1x = items->AddChildObject(a1, "a1x", reinterpret_cast<void*>(12));
    TTreeNTNode* b = items->AddObject(nullptr, "b", reinterpret_cast<void*>(20));
    std::vector<TTreeNTNode*> lines;
    for (int i = 0; i < 20; ++i) lines.push_back(items->AddChild(b, "b" + std::to_string(i)));
    a->SetImageIndex(4);
    a->Expand(false);
    b->Expand(false);
    tree->SetItemHeight(16);
    tree->SetTopItem(lines[5]);
    lines[7]->SetSelected(true);
    int events = 0;
    tree->OnDeletion = [&](TObject*, TTreeNTNode*) { ++events; };
    tree->OnChange = [&](TObject*, TTreeNTNode*) { ++events; };
    tree->OnExpanding = [&](TObject*, TTreeNTNode*, bool&) { ++events; };
    HWND before = tree->Handle();

    tree->RecreateWnd();

    EXPECT_NE(tree->Handle(), before);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(items->Count(), 24);
    EXPECT_EQ(items->GetFirstNode(), a);
    EXPECT_EQ(a->getFirstChild(), a1);
    EXPECT_EQ(a1->getFirstChild(), a1x);
    EXPECT_EQ(a1x->Data(), reinterpret_cast<void*>(12));
    EXPECT_EQ(a->ImageIndex(), 4);
    EXPECT_TRUE(a->Expanded());
    EXPECT_FALSE(a1->Expanded());
    EXPECT_TRUE(b->Expanded());
    EXPECT_EQ(b->Item(19), lines[19]);
    EXPECT_EQ(tree->Selected(), lines[7]);
    EXPECT_EQ(tree->TopItem(), lines[5]) << tree->TopItem()->Text();
    EXPECT_EQ(ShownText(a1x), "a1x");

    // Without a parent the window goes; the nodes wait and come back with the next one.
    tree->SetParent(nullptr);
    EXPECT_FALSE(tree->HandleAllocated());
    EXPECT_EQ(items->Count(), 0);
    tree->SetParent(form);
    EXPECT_EQ(items->Count(), 24);
    EXPECT_EQ(events, 0);
    items->Clear();
    EXPECT_EQ(events, 24);                               // each node once, when really deleted
}

TEST_F(TreeNT, DestroyingTheControlRaisesNoDeletionEvents)
{
    auto* t = new TTreeNT(form);
    t->SetParent(form);
    int deleted = 0;
    t->OnDeletion = [&](TObject*, TTreeNTNode*) { ++deleted; };
    t->OnChange = [&](TObject*, TTreeNTNode*) { ++deleted; };
    TTreeNTNode* n = t->Items()->Add(nullptr, "x");
    t->Items()->AddChild(n, "y");
    n->SetSelected(true);
    deleted = 0;
    t->Free();
    EXPECT_EQ(deleted, 0);
}

TEST_F(TreeNT, InsertionTheControlRefusesIsAnError)
{
    auto* other = new TTreeNT(form);
    other->SetParent(form);
    TTreeNTNode* foreign = other->Items()->Add(nullptr, "elsewhere");
    int before = tree->Items()->Count();
    try {
        tree->Items()->AddChild(foreign, "x");         // a parent item of another control
        ADD_FAILURE() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_STREQ(e.what(), "Unable to insert an item");
    }
    EXPECT_EQ(tree->Items()->Count(), before);
}

TEST_F(TreeNT, LabelEditingStepsAndTheReturnKey)
{
    tree->SetOptions(toShowLines | toWantReturn);
    TTreeNTNode* a = tree->Items()->Add(nullptr, "a");
    TTreeNTNode* b = tree->Items()->Add(nullptr, "b");
    bool allow = false;
    tree->OnEditing = [&](TObject*, TTreeNTNode*, bool& ok) { ok = allow; };
    tree->OnEdited = [&](TObject*, TTreeNTNode*, std::string& s) { s += "!"; };
    a->SetSelected(true);
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(a->ItemId())), 0);
    allow = true;
    HWND edit = reinterpret_cast<HWND>(SendMessageA(tree->Handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(a->ItemId())));
    ASSERT_TRUE(edit);
    SetWindowTextA(edit, "renamed");
    SendMessageA(tree->Handle(), TVM_ENDEDITLABELNOW, FALSE, 0);
    Pump(10);
    EXPECT_EQ(a->Text(), "renamed!");
    EXPECT_EQ(ShownText(a), "renamed!");

    WORD key = VK_RETURN;
    tree->KeyDown(key, 0);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(tree->Selected(), b);
}

TEST_F(TreeNT, SortingByTextKeepsLevelsInOrder)
{
    auto* items = tree->Items();
    items->Add(nullptr, "pear");
    items->Add(nullptr, "apple");
    TTreeNTNode* fig = items->Add(nullptr, "fig");
    EXPECT_EQ(Texts(nullptr), (std::vector<std::string>{"pear", "apple", "fig"}));   // stNone: as added
    tree->SetSortType(stText);
    EXPECT_EQ(Texts(nullptr), (std::vector<std::string>{"apple", "fig", "pear"}));
    items->Add(nullptr, "banana");
    EXPECT_EQ(Texts(nullptr), (std::vector<std::string>{"apple", "banana", "fig", "pear"}));
    fig->SetText("zucchini");
    EXPECT_EQ(Texts(nullptr), (std::vector<std::string>{"apple", "banana", "pear", "zucchini"}));
    items->BeginUpdate();
    items->Add(nullptr, "cherry");
    EXPECT_EQ(Texts(nullptr).back(), "cherry");          // sorted when the update ends
    items->EndUpdate();
    EXPECT_EQ(Texts(nullptr), (std::vector<std::string>{"apple", "banana", "cherry", "pear", "zucchini"}));
}
