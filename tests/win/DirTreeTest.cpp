// The folder tree on folder trees made for each test, with the real drive, listing and shell
// calls.
#include "WinTest.h"
#include <shellapi.h>
#include <algorithm>
#include "shell/dirtree.h"
#include "toolkit/pure/StrUtils.h"

using namespace wintest;

namespace {
// Empties a folder, whatever the attributes of what is in it.
void ClearFolder(const std::string& dir)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = dir + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ClearFolder(path + "\\");
            RemoveDirectoryA(path.c_str());
        } else {
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

// The test prefix (tools/make_prefix.sh) has T:, a fixed disk, U:, a CD-ROM, both folders
// the tests fill, and V:, a CD-ROM drive without a disc. Every test starts from this sample
// library on T:
//   Alpha\One\Deep  Alpha\Two  beta  Empty  Gamma  Hidden\Inside (hidden)
//   OLD\RECYCLED\X  RECYCLED\DC1  and a file, notes.txt
class DirTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetDriveTypeA("T:\\"), static_cast<UINT>(DRIVE_FIXED)) << "the test prefix lacks its T: drive";
        ASSERT_EQ(GetDriveTypeA("U:\\"), static_cast<UINT>(DRIVE_CDROM)) << "the test prefix lacks its U: drive";
        ClearFolder(root);
        ClearFolder("U:\\");
        for (const char* f : {"Alpha", "Alpha\\One", "Alpha\\One\\Deep", "Alpha\\Two", "beta", "Empty", "Gamma",
                              "Hidden", "Hidden\\Inside", "OLD", "OLD\\RECYCLED", "OLD\\RECYCLED\\X", "RECYCLED",
                              "RECYCLED\\DC1"})
            CreateDirectoryA((root + f).c_str(), nullptr);
        WriteFile(root + "notes.txt", "x");
        SetFileAttributesA((root + "Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
        form = NewHostForm(50, 50, 300, 400);
    }
    void TearDown() override
    {
        if (form) form->Free();
    }

    // A tree on the form; the drives are read as its window is made (ReadOnStart).
    Tdirtree* NewTree(std::function<void(Tdirtree*)> configure = nullptr)
    {
        auto* t = new Tdirtree(form);
        t->SetBounds(0, 0, 280, 380);
        if (configure) configure(t);
        t->SetParent(form);
        return t;
    }
    static std::vector<std::string> Texts(TTreeNTNode* parent)
    {
        std::vector<std::string> t;
        if (!parent) return {"(no node)"};
        for (TTreeNTNode* n = parent->getFirstChild(); n; n = n->getNextSibling()) t.push_back(n->Text());
        return t;
    }
    static bool Loaded(TTreeNTNode* n) { return Tdirtree::DirName(n) && Tdirtree::DirName(n)->ChildrenLoaded; }
    static void RemoveTree(const std::string& path)
    {
        ClearFolder(path + "\\");
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryA(path.c_str());
    }
    // Keeps drive C: out of the tree, so that T: is its first drive.
    static void WithoutDriveC(Tdirtree* t)
    {
        t->OnAddDir = [](TObject*, const std::string& path, bool& add) { add = path != "C:\\"; };
    }
    const std::string root = "t:\\";       // the library as a user would write it
    const std::string ROOT = "T:\\";       // and as the tree keeps it
    TForm* form = nullptr;
};
}

TEST_F(DirTree, WritingAPathSelectsItsNodeReadingEachLevel)
{
    Tdirtree* tree = NewTree([](Tdirtree* t) { t->SetBounds(0, 0, 280, 60); });
    std::vector<std::string> changes;
    tree->OnChange = [&](TObject* s, TTreeNTNode*) { EXPECT_EQ(s, tree); changes.push_back(tree->Directory()); };
    EXPECT_EQ(tree->Directory(), "?");
    tree->SetDirectory(root + "alpha\\one");

    const std::string want = ROOT + "ALPHA\\ONE\\";
    EXPECT_EQ(tree->Directory(), want);
    EXPECT_EQ(changes, std::vector<std::string>{want});
    TTreeNTNode* node = tree->FindNode(want);
    ASSERT_TRUE(node);
    EXPECT_EQ(tree->Selected(), node);
    // Shown; scrolled to the top where the control manages it (Wine's tree view does not always
    // follow a first-visible request right after items were added below collapsed nodes).
    TRect shown = node->DisplayRect(false);
    EXPECT_TRUE(shown.Top >= 0 && shown.Top < tree->ClientHeight()) << shown.Top;
    EXPECT_EQ(node->Text(), "One");
    EXPECT_EQ(Texts(node), std::vector<std::string>{"Deep"});    // the last level is read too
    // Every level on the way has been read.
    std::string prefix;
    for (char c : want) {
        prefix += c;
        if (c != '\\') continue;
        TTreeNTNode* level = tree->FindNode(prefix);
        ASSERT_TRUE(level) << prefix;
        EXPECT_TRUE(Loaded(level)) << prefix;
    }
    // Sorted by name ignoring case; files are not folders; the shell's names are shown.
    TTreeNTNode* top = tree->FindNode(ROOT);
    EXPECT_EQ(Texts(top), (std::vector<std::string>{"Alpha", "beta", "Empty", "Gamma", "Hidden", "OLD", "RECYCLED"}));
    EXPECT_EQ(Tdirtree::DirName(top->getFirstChild())->DirPath, ROOT + "ALPHA\\");
    EXPECT_FALSE(Loaded(tree->FindNode(ROOT + "BETA\\")));
}

TEST_F(DirTree, DirectoryValuesThatSelectNothing)
{
    Tdirtree* tree = NewTree();
    int changes = 0;
    tree->OnChange = [&](TObject*, TTreeNTNode*) { ++changes; };
    tree->SetDirectory("?");
    EXPECT_EQ(tree->Directory(), "?");
    tree->SetDirectory("c:\\");                              // a drive root needs no test
    EXPECT_EQ(tree->Directory(), "C:\\");
    EXPECT_EQ(tree->Selected(), tree->FindNode("C:\\"));
    for (const std::string& bad : {std::string("?"), std::string(""), std::string("notes.txt"), root + "NO-SUCH-FOLDER",
                                    root + "notes.txt", root + "Alpha\\Nothing\\One"}) {
        tree->SetDirectory(bad);
        EXPECT_EQ(tree->Directory(), "C:\\") << bad;
    }
    EXPECT_EQ(changes, 1);
    // A drive root that is not in the tree selects nothing either.
    tree->SetDirectory("Q:\\");
    EXPECT_EQ(tree->Directory(), "C:\\");
}

TEST_F(DirTree, HiddenFolderFilteredOutStopsTheWalkAtItsParent)
{
    DWORD a = GetFileAttributesA((root + "Hidden").c_str());
    if (!(a & FILE_ATTRIBUTE_HIDDEN)) GTEST_SKIP() << "this file system keeps no hidden attribute";
    Tdirtree* tree = NewTree([](Tdirtree* t) { t->SetDirType({dtNormal}); });
    tree->SetDirectory(root + "Gamma");
    ASSERT_EQ(tree->Directory(), ROOT + "GAMMA\\");
    int changes = 0;
    tree->OnChange = [&](TObject*, TTreeNTNode*) { ++changes; };
    tree->SetDirectory(root + "Hidden\\Inside");
    EXPECT_EQ(tree->Directory(), ROOT + "GAMMA\\");
    EXPECT_EQ(changes, 0);
    TTreeNTNode* top = tree->FindNode(ROOT);
    EXPECT_TRUE(Loaded(top));
    EXPECT_EQ(Texts(top), (std::vector<std::string>{"Alpha", "beta", "Empty", "Gamma", "OLD", "RECYCLED"}));
    // Only hidden folders with dtHidden alone.
    tree->SetDirType({dtHidden});
    tree->SetDirectory(root);
    EXPECT_EQ(Texts(tree->FindNode(ROOT)), std::vector<std::string>{"Hidden"});
    tree->SetDirType({dtAll});
    tree->SetDirectory(root + "Hidden\\Inside");
    EXPECT_EQ(tree->Directory(), ROOT + "HIDDEN\\INSIDE\\");
}

TEST_F(DirTree, ReadOnlyInTheFilterChangesNothing)
{
    SetFileAttributesA((root + "Alpha").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((root + "Empty").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    Tdirtree* tree = NewTree();
    auto listing = [&](tDirType type) {
        tree->SetDirType(type);
        tree->SetDirectory(root);
        return Texts(tree->FindNode(ROOT));
    };
    const tDirType pairs[][2] = {{{dtNormal}, {dtNormal, dtReadonly}},
                                 {{dtHidden}, {dtHidden, dtReadonly}},
                                 {{dtNormal, dtAll}, {dtReadonly, dtAll}}};
    for (auto& p : pairs) EXPECT_EQ(listing(p[0]), listing(p[1]));
    SetFileAttributesA((root + "Alpha").c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA((root + "Empty").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DirTree, NothingBelowARecycleFolderWhenAsked)
{
    Tdirtree* tree = NewTree([](Tdirtree* t) { t->SetGoBelowRecycleBin(false); });
    tree->SetDirectory(root + "OLD");
    TTreeNTNode* top = tree->FindNode(ROOT);
    ASSERT_TRUE(top);
    top->Expand(false);
    TTreeNTNode* recycled = tree->FindNode(ROOT + "RECYCLED\\");
    ASSERT_TRUE(recycled);                                   // the recycle folder itself is listed
    EXPECT_FALSE(recycled->HasChildren());                  // its DC1 does not count
    recycled->Expand(false);
    EXPECT_EQ(recycled->Count(), 0);
    TTreeNTNode* inOld = tree->FindNode(ROOT + "OLD\\RECYCLED\\");
    ASSERT_TRUE(inOld);
    inOld->Expand(false);
    EXPECT_EQ(inOld->Count(), 0);                            // OLD\RECYCLED\X is below one too
    tree->SetDirectory(root + "RECYCLED\\DC1");
    EXPECT_EQ(tree->Directory(), ROOT + "OLD\\");

    tree->SetGoBelowRecycleBin(true);                        // reloads, keeping the folder
    EXPECT_EQ(tree->Directory(), ROOT + "OLD\\");
    tree->SetDirectory(root + "RECYCLED\\DC1");
    EXPECT_EQ(tree->Directory(), ROOT + "RECYCLED\\DC1\\");
}

TEST_F(DirTree, FindNodeNeverReadsTheDisk)
{
    Tdirtree* tree = NewTree();
    tree->SetDirectory(root);
    int count = tree->Items()->Count();
    EXPECT_TRUE(tree->FindNode(root + "Alpha"));             // written in any case, without "\"
    EXPECT_EQ(tree->FindNode(root + "Alpha\\One"), nullptr); // Alpha was never read
    EXPECT_FALSE(Loaded(tree->FindNode(ROOT + "ALPHA\\")));
    EXPECT_EQ(tree->Items()->Count(), count);
    EXPECT_EQ(tree->FindNode(""), nullptr);
    EXPECT_EQ(tree->FindNode("?"), nullptr);
    EXPECT_EQ(tree->FindNode("C:"), tree->FindNode("C:\\"));
}

TEST_F(DirTree, ExpansionReadsOnceAndMarksExpandableFolders)
{
    Tdirtree* tree = NewTree();
    tree->SetDirectory(root);
    TTreeNTNode* top = tree->FindNode(ROOT);
    top->Expand(false);
    TTreeNTNode* alpha = tree->FindNode(ROOT + "ALPHA\\");
    TTreeNTNode* empty = tree->FindNode(ROOT + "EMPTY\\");
    Pump();
    UpdateWindow(tree->Handle());
    EXPECT_TRUE(alpha->HasChildren());                       // One and Two are there, not read yet
    EXPECT_EQ(alpha->Count(), 0);
    EXPECT_FALSE(empty->HasChildren());
    EXPECT_EQ(empty->Count(), 0);

    // Collapsed and expanded again: nothing is read anew, and no second set of children.
    const std::vector<std::string> level = Texts(top);
    CreateDirectoryA((root + "Zeta").c_str(), nullptr);
    const int probes = tree->Probes();
    top->Collapse(false);
    top->Expand(false);
    Pump();
    UpdateWindow(tree->Handle());
    EXPECT_EQ(Texts(top), level);
    EXPECT_EQ(tree->FindNode(ROOT + "ALPHA\\"), alpha);
    EXPECT_EQ(tree->FindNode(ROOT + "ZETA\\"), nullptr);
    EXPECT_TRUE(alpha->HasChildren());
    EXPECT_EQ(alpha->Count(), 0);
    EXPECT_EQ(tree->Probes(), probes) << "every answer was known";

    alpha->Expand(false);
    EXPECT_TRUE(alpha->Expanded());
    EXPECT_EQ(Texts(alpha), (std::vector<std::string>{"One", "Two"}));
    EXPECT_TRUE(tree->FindNode(ROOT + "ALPHA\\ONE\\")->HasChildren());
    EXPECT_FALSE(tree->FindNode(ROOT + "ALPHA\\TWO\\")->HasChildren());
    alpha->Collapse(false);
    alpha->Expand(false);
    EXPECT_EQ(Texts(alpha), (std::vector<std::string>{"One", "Two"}));
}

// A folder is asked whether it holds a folder to show only when the tree view shows it, once;
// the answer follows the acceptance rules.
TEST_F(DirTree, ExpandButtonsAreAskedOfTheDiskOnlyForShownFoldersOnce)
{
    for (const char* f : {"OnlyHidden", "OnlyHidden\\In", "OnlySystem", "OnlySystem\\In", "Gone", "Gone\\In"})
        CreateDirectoryA((root + f).c_str(), nullptr);
    SetFileAttributesA((root + "OnlyHidden\\In").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((root + "OnlySystem\\In").c_str(), FILE_ATTRIBUTE_SYSTEM);
    const bool attributesKept = GetFileAttributesA((root + "OnlyHidden\\In").c_str()) & FILE_ATTRIBUTE_HIDDEN;
    for (int i = 0; i < 40; ++i) CreateDirectoryA((root + "Gamma\\F" + std::to_string(100 + i)).c_str(), nullptr);
    CreateDirectoryA((root + "Mixed").c_str(), nullptr);          // a folder, then a file listed after it
    CreateDirectoryA((root + "Mixed\\Sub").c_str(), nullptr);
    WriteFile(root + "Mixed\\z.wav", "x");
    CreateDirectoryA((root + "Gamma\\F139\\Deep").c_str(), nullptr);

    // Three lines high: most of Gamma's forty folders are not shown.
    Tdirtree* tree = NewTree([](Tdirtree* t) {
        t->SetBounds(0, 0, 280, 54);
        t->SetDirType({dtNormal});
    });
    tree->SetDirectory(root + "Gamma");
    TTreeNTNode* gamma = tree->Selected();
    ASSERT_TRUE(gamma);
    RemoveTree(root + "Gone");                               // listed, then gone before it is shown
    Pump();
    UpdateWindow(tree->Handle());
    int probes = tree->Probes();
    gamma->Expand(false);
    UpdateWindow(tree->Handle());
    const int shownProbes = tree->Probes() - probes;
    EXPECT_GE(shownProbes, 1);
    EXPECT_LE(shownProbes, 5) << "only the folders on the screen are listed";
    // Scrolled to the end: each folder once, however often it is drawn.
    for (int pass = 0; pass < 2; ++pass) {
        SendMessageA(tree->Handle(), WM_VSCROLL, SB_TOP, 0);
        for (int i = 0; i < 30; ++i) {
            SendMessageA(tree->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
            UpdateWindow(tree->Handle());
        }
    }
    EXPECT_LE(tree->Probes() - probes, 40);
    EXPECT_TRUE(tree->FindNode(ROOT + "GAMMA\\F139\\")->HasChildren());
    EXPECT_FALSE(tree->FindNode(ROOT + "GAMMA\\F100\\")->HasChildren());
    EXPECT_LE(tree->Probes() - probes, 40);

    // The buttons at the top level: folders, none, only a hidden or a system one (refused by
    // the filter), one that cannot be read.
    TTreeNTNode* top = tree->FindNode(ROOT);
    top->MakeVisible();
    tree->SetTopItem(top);
    UpdateWindow(tree->Handle());
    EXPECT_TRUE(tree->FindNode(ROOT + "ALPHA\\")->HasChildren());
    EXPECT_TRUE(tree->FindNode(ROOT + "MIXED\\")->HasChildren());
    EXPECT_FALSE(tree->FindNode(ROOT + "EMPTY\\")->HasChildren());
    EXPECT_FALSE(tree->FindNode(ROOT + "GONE\\")->HasChildren());
    if (attributesKept) {
        EXPECT_FALSE(tree->FindNode(ROOT + "ONLYHIDDEN\\")->HasChildren());
        EXPECT_FALSE(tree->FindNode(ROOT + "ONLYSYSTEM\\")->HasChildren());
    }
    probes = tree->Probes();
    for (const char* f : {"ALPHA\\", "EMPTY\\", "GONE\\", "ONLYHIDDEN\\"}) tree->FindNode(ROOT + f)->HasChildren();
    EXPECT_EQ(tree->Probes(), probes) << "the answers are remembered";

    // With every attribute admitted, the hidden and the system folder count.
    tree->SetDirType({dtNormal, dtAll});
    EXPECT_EQ(tree->Directory(), ROOT + "GAMMA\\");
    EXPECT_TRUE(tree->FindNode(ROOT + "ONLYHIDDEN\\")->HasChildren());
    EXPECT_TRUE(tree->FindNode(ROOT + "ONLYSYSTEM\\")->HasChildren());

    // A deep path whose levels were never shown is still selected.
    tree->SetDirectory(root + "Gamma\\F139\\Deep");
    EXPECT_EQ(tree->Directory(), ROOT + "GAMMA\\F139\\DEEP\\");

    // A folder that gains its first folder while shown gets its button when the tree is read again.
    EXPECT_FALSE(tree->FindNode(ROOT + "EMPTY\\")->HasChildren());
    CreateDirectoryA((root + "Empty\\New").c_str(), nullptr);
    tree->Reload();
    EXPECT_EQ(tree->Directory(), ROOT + "GAMMA\\F139\\DEEP\\");
    tree->SetDirectory(root);
    EXPECT_TRUE(tree->FindNode(ROOT + "EMPTY\\")->HasChildren());
    tree->FindNode(ROOT + "EMPTY\\")->Expand(false);
    EXPECT_EQ(Texts(tree->FindNode(ROOT + "EMPTY\\")), std::vector<std::string>{"New"});
}

TEST_F(DirTree, FolderThatCannotBeListedShowsNoExpandMark)
{
    Tdirtree* tree = NewTree();
    tree->SetDirectory(root);
    tree->FindNode(ROOT)->Expand(false);
    TTreeNTNode* alpha = tree->FindNode(ROOT + "ALPHA\\");
    ASSERT_TRUE(alpha->HasChildren());
    RemoveTree(root + "Alpha");                              // gone before it is expanded
    alpha->Expand(false);
    EXPECT_EQ(alpha->Count(), 0);
    EXPECT_FALSE(alpha->HasChildren());
    EXPECT_FALSE(alpha->Expanded());
    EXPECT_TRUE(Loaded(alpha));
}

TEST_F(DirTree, ReloadKeepsTheFolderOrFallsBack)
{
    Tdirtree* tree = NewTree(WithoutDriveC);
    std::vector<std::string> changes;
    tree->OnChange = [&](TObject*, TTreeNTNode*) { changes.push_back(tree->Directory()); };
    tree->SetDirectory(root + "Alpha\\Two");
    tree->Reload();
    EXPECT_EQ(tree->Directory(), ROOT + "ALPHA\\TWO\\");

    // The folder is gone: its drive's root.
    RemoveTree(root + "Alpha\\Two");
    tree->Reload();
    EXPECT_EQ(tree->Directory(), ROOT);

    // Nothing selected: the folder last selected on the first drive somebody looked into.
    tree->SetDirectory(root + "Gamma");
    tree->SetSelected(nullptr);
    ASSERT_EQ(tree->Directory(), "?");
    EXPECT_EQ(tree->LastDirOnDrive['T' - 'A'], ROOT + "GAMMA\\");
    tree->Reload();
    EXPECT_EQ(tree->Directory(), ROOT + "GAMMA\\");

    // ... and when that folder is gone too, the drive's root, with one change for it.
    tree->SetSelected(nullptr);
    RemoveTree(root + "Gamma");
    changes.clear();
    tree->Reload();
    EXPECT_EQ(tree->Directory(), ROOT);
    EXPECT_EQ(changes, std::vector<std::string>{ROOT});
}

TEST_F(DirTree, DriveLevelLooksOnlyIntoFixedDrives)
{
    CreateDirectoryA("U:\\Disc", nullptr);
    CreateDirectoryA("U:\\Disc\\Track", nullptr);
    Tdirtree* tree = NewTree();
    std::vector<std::string> drives;
    for (TTreeNTNode* n = tree->Items()->GetFirstNode(); n; n = n->getNextSibling())
        drives.push_back(Tdirtree::DirName(n)->DirPath);
    EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
    TTreeNTNode* fixed = tree->FindNode("T:\\");
    TTreeNTNode* disc = tree->FindNode("U:\\");
    TTreeNTNode* noDisc = tree->FindNode("V:\\");
    ASSERT_TRUE(fixed && disc && noDisc);
    EXPECT_EQ(fixed->Count(), 0);                                // asked when shown: it holds a folder
    EXPECT_TRUE(fixed->HasChildren());
    EXPECT_EQ(Texts(disc), std::vector<std::string>{"u**"});     // a CD-ROM is not looked into
    EXPECT_EQ(Texts(noDisc), std::vector<std::string>{"u**"});
    EXPECT_TRUE(noDisc->HasChildren());

    disc->Expand(false);
    EXPECT_EQ(Texts(disc), std::vector<std::string>{"Disc"});
    EXPECT_EQ(tree->FindNode("U:\\DISC\\")->Count(), 0);
    EXPECT_TRUE(tree->FindNode("U:\\DISC\\")->HasChildren());
    noDisc->Expand(false);                                       // nothing to read, no message
    EXPECT_EQ(noDisc->Count(), 0);
    EXPECT_FALSE(noDisc->HasChildren());
    EXPECT_TRUE(Loaded(noDisc));

    // A fixed drive without folders shows no expand mark.
    ClearFolder(root);
    WriteFile(root + "only-a-file.txt", "x");
    tree->ReadDrives();
    EXPECT_EQ(tree->FindNode(ROOT)->Count(), 0);
    EXPECT_FALSE(tree->FindNode(ROOT)->HasChildren());
}

TEST_F(DirTree, ReloadWithEveryDriveUnlookedUsesTheLastDrive)
{
    Tdirtree* tree = NewTree([](Tdirtree* t) { t->FastLoad = true; });
    TTreeNTNode* last = tree->Items()->GetFirstNode();
    for (TTreeNTNode* n = last; n; n = n->getNextSibling()) {
        EXPECT_EQ(Texts(n), std::vector<std::string>{"u**"});
        last = n;
    }
    std::string lastRoot = Tdirtree::DirName(last)->DirPath;
    int letter = lastRoot[0] - 'A';
    tree->LastDirOnDrive[letter] = lastRoot;
    tree->Reload();
    EXPECT_EQ(tree->Directory(), lastRoot);
}

TEST_F(DirTree, NoChangeEventsWhileTheDrivesAreRebuilt)
{
    Tdirtree* tree = NewTree();
    tree->SetDirectory(root + "beta");
    bool readDuring = true;
    int changes = 0;
    tree->OnChange = [&](TObject*, TTreeNTNode*) { ++changes; readDuring = readDuring && tree->DrivesRead(); };
    tree->OnAddDir = [&](TObject*, const std::string&, bool&) { EXPECT_EQ(Screen->Cursor(), crHourGlass); };
    tree->ReadDrives();
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(tree->DrivesRead());
    EXPECT_EQ(tree->Directory(), "?");
    EXPECT_EQ(Screen->Cursor(), crDefault);                  // the hourglass has gone
    tree->Reload();
    EXPECT_TRUE(readDuring);
}

TEST_F(DirTree, VetoHookHearsEveryFolderBeforeTheAttributeFilter)
{
    std::vector<std::string> heard;
    Tdirtree* tree = NewTree([&](Tdirtree* t) {
        t->SetDirType({dtNormal});
        t->OnAddDir = [&heard, t](TObject* s, const std::string& path, bool& add) {
            EXPECT_EQ(s, t);
            EXPECT_TRUE(add);
            heard.push_back(path);
            if (path == "T:\\beta\\" || path == "Z:\\") add = false;
        };
    });
    EXPECT_EQ(tree->FindNode("Z:\\"), nullptr);
    EXPECT_NE(std::find(heard.begin(), heard.end(), "C:\\"), heard.end());
    heard.clear();
    tree->SetDirectory(root);
    TTreeNTNode* top = tree->FindNode(ROOT);
    std::vector<std::string> texts = Texts(top);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "beta"), 0);
    EXPECT_NE(std::find(heard.begin(), heard.end(), "T:\\Hidden\\"), heard.end());   // filtered out after the hook
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Hidden"), 0);
}

TEST_F(DirTree, ShellNamesAndTheSystemSmallIcons)
{
    // Plain folders, a read-only one (the shell may customise it) and a hidden one.
    SetFileAttributesA((root + "Gamma").c_str(), FILE_ATTRIBUTE_READONLY);
    Tdirtree* tree = NewTree();
    tree->SetDirectory(root + "Alpha");
    SHFILEINFOA info = {};
    auto system = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    EXPECT_EQ(tree->ShellIcons()->Handle(), system);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(tree->Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), system);
    for (const std::string& path : {std::string("C:\\"), ROOT, ROOT + "ALPHA\\", ROOT + "ALPHA\\ONE\\", ROOT + "GAMMA\\", ROOT + "HIDDEN\\"}) {
        TTreeNTNode* n = tree->FindNode(path);
        ASSERT_TRUE(n) << path;
        SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON);
        EXPECT_EQ(n->Text(), info.szDisplayName);
        EXPECT_EQ(n->ImageIndex(), info.iIcon);
        SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_OPENICON | SHGFI_SMALLICON);
        EXPECT_EQ(n->SelectedIndex(), info.iIcon);
    }
    // The background of the shared list follows the tree's colour.
    tree->SetColor(clYellow);
    EXPECT_EQ(ImageList_GetBkColor(system), RGB(255, 255, 0));
    tree->SetColor(clWindow);
}

TEST_F(DirTree, NewWindowKeepsNodesAndTheirDataWithoutReadingAgain)
{
    Tdirtree* tree = NewTree();
    tree->SetDirectory(root + "Alpha\\One");
    TTreeNTNode* node = tree->Selected();
    tdirname* data = Tdirtree::DirName(node);
    int events = 0;
    tree->OnChange = [&](TObject*, TTreeNTNode*) { ++events; };
    tree->OnDeleteItem = [&](TObject*, TTreeNTNode*) { ++events; };
    HWND before = tree->Handle();
    tree->RecreateWnd();                                     // as an option that needs a new window does
    EXPECT_NE(tree->Handle(), before);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(tree->Selected(), node);
    EXPECT_EQ(Tdirtree::DirName(node), data);
    EXPECT_TRUE(data->ChildrenLoaded);
    EXPECT_EQ(tree->Directory(), ROOT + "ALPHA\\ONE\\");
}

TEST_F(DirTree, DeleteItemEventComesAfterTheDataIsFreed)
{
    Tdirtree* tree = NewTree();
    tree->SetDirectory(root + "Alpha");
    TTreeNTNode* one = tree->FindNode(ROOT + "ALPHA\\ONE\\");
    ASSERT_TRUE(one);
    std::vector<std::pair<TObject*, void*>> seen;
    tree->OnDeleteItem = [&](TObject* s, TTreeNTNode* n) { seen.emplace_back(s, n->Data()); };
    one->Delete();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, tree->Items());
    EXPECT_EQ(seen[0].second, nullptr);
}

TEST_F(DirTree, WithoutReadOnStartTheTreeWaitsForItsOwner)
{
    Tdirtree* tree = NewTree([](Tdirtree* t) { t->ReadOnStart = false; });
    EXPECT_EQ(tree->Items()->Count(), 0);
    EXPECT_FALSE(tree->DrivesRead());
    tree->SetDirectory(root + "Gamma");                      // with no drives read, nothing matches
    EXPECT_EQ(tree->Directory(), "?");
    tree->ReadOnStart = true;
    tree->Reload();
    tree->SetDirectory(root + "Gamma");
    EXPECT_EQ(tree->Directory(), ROOT + "GAMMA\\");
}
