// The sample list on the main window: scanning real folders, the lines, their records, the
// status and title texts, and the two controls that change what is listed.
#include "WinTest.h"
#include <random>
#include "app/Unit1.h"
#include "app/pure/AppConfig.h"
#include "app/pure/SampleList.h"
#include "audio/WAVUnit.h"
#include "toolkit/pure/StrUtils.h"
#include "toolkit/pure/StringList.h"

using namespace wintest;

namespace {
class Scan : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Form = new TSonidexForm(Application);
        Form->AfterConstruction();
        Form->Show();
        Form->StartFolderTree();
        Pump(50);
    }
    static void TearDownTestSuite()
    {
        Form->Free();
        Form = nullptr;
    }
    void SetUp() override
    {
        AppSettings.Sort = true;
        AppSettings.Subdir = true;
        AppSettings.LeftCollapsed = AppSettings.RightCollapsed = false;
        ParseFilter("wav;mid");
    }
    // Lists folder as the program does after a change of folder.
    void List(const std::string& folder)
    {
        AppSettings.Path = folder;
        Form->RebuildList();
    }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> v;
        for (int i = 0; i < Form->WAVList->Count(); ++i) v.push_back(Form->WAVList->Strings(i));
        return v;
    }
    BoxItemDataType* Record(int i) const { return dynamic_cast<BoxItemDataType*>(Form->WAVList->Objects(i)); }
    std::string Status() const { return Form->FileNameLabel->Caption(); }
    // Every record belongs to a line and every line has one: nothing leaks across rebuilds.
    void ExpectRecordsAreTheLines() const
    {
        ASSERT_EQ(Form->BoxItems->Count(), Form->WAVList->Count());
        for (int i = 0; i < Form->WAVList->Count(); ++i) {
            ASSERT_NE(Record(i), nullptr);
            EXPECT_EQ(Record(i)->Collection(), Form->BoxItems.get());
        }
    }
    static TSonidexForm* Form;
};
TSonidexForm* Scan::Form = nullptr;

// The files of a tree in the order the file system hands them out, subfolders where met.
void Walk(const std::string& folder, std::vector<std::string>& paths)
{
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((folder + "*.*").c_str(), &f);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string n = f.cFileName;
        if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (n != "." && n != "..") Walk(folder + n + "\\", paths);
        } else {
            paths.push_back(folder + n);
        }
    } while (FindNextFileA(h, &f));
    FindClose(h);
}

std::string NameOnly(const std::string& path) { return path.substr(path.rfind('\\') + 1); }
}

TEST_F(Scan, StatusCountsWAVAndMIDIFilesInTwoLines)
{
    std::string dir = TempFolder("scan-status");
    for (const char* n : {"kick.wav", "a.mid", "b.MID", "c.mid", "notes.txt"}) WriteFile(dir + n, "x");
    List(dir);
    EXPECT_EQ(Status(), "Found 1 WAV file\rFound 3 MIDI files");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"a", "b", "c", "kick"}));
    EXPECT_EQ(Form->WAVInfoLabel->Caption(), "");
    EXPECT_EQ(Form->FileNameLabel->Font.Style() & fsBold, 0u);
    EXPECT_EQ(Form->WAVList->ItemIndex(), -1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Record(i)->FileName(), dir + NameOnly(Record(i)->FileName()));
        EXPECT_EQ(Record(i)->Kind, Lines()[i] == "kick" ? KindWAV : KindMIDI);
    }
    ExpectRecordsAreTheLines();
}

TEST_F(Scan, OtherListedTypesAreListedButNotCounted)
{
    std::string dir = TempFolder("scan-other");
    WriteFile(dir + "pad.aif", "x");
    WriteFile(dir + "Kick.Wav", "x");
    WriteFile(dir + "kick", "x");
    ParseFilter("aif");
    List(dir);
    EXPECT_EQ(Lines(), std::vector<std::string>{"pad"});
    EXPECT_EQ(Record(0)->Kind, KindOther);
    EXPECT_EQ(Status(), "No WAV file in this directory...");
    ParseFilter(" wav");                       // the blank stays in the extension
    List(dir);
    EXPECT_TRUE(Lines().empty());
    ParseFilter("wav");
    List(dir);
    EXPECT_EQ(Lines(), std::vector<std::string>{"Kick"});
    EXPECT_EQ(Status(), "Found 1 WAV file\r");
}

TEST_F(Scan, SortedAnEqualNameIsOneLineReferringToTheFileMetLast)
{
    std::string dir = TempFolder("scan-same-name");
    CreateDirectoryA((dir + "sub").c_str(), nullptr);
    WriteFile(dir + "kick.wav", "x");
    WriteFile(dir + "sub\\kick.wav", "x");
    WriteFile(dir + "snare.wav", "x");
    std::vector<std::string> met;
    Walk(dir, met);
    std::string lastKick;
    for (auto& p : met)
        if (NameOnly(p) == "kick.wav") lastKick = p;
    List(dir);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"kick", "snare"}));
    EXPECT_EQ(Record(0)->FileName(), lastKick);
    EXPECT_EQ(Status(), "Found 3 WAV files\r");
    ExpectRecordsAreTheLines();
}

TEST_F(Scan, UnsortedTheLinesFollowTheFileSystemWithSubfoldersWhereMet)
{
    std::string dir = TempFolder("scan-unsorted");
    CreateDirectoryA((dir + "b-sub").c_str(), nullptr);
    CreateDirectoryA((dir + "b-sub\\deeper").c_str(), nullptr);
    for (const char* n : {"zz.wav", "aa.wav", "mm.mid", "b-sub\\kick.wav", "b-sub\\deeper\\Kick.wav", "b-sub\\x.txt"})
        WriteFile(dir + n, "x");
    AppSettings.Sort = false;
    std::vector<std::string> met, want;
    Walk(dir, met);
    for (auto& p : met)
        if (FileExtension(p) != ".TXT") want.push_back(DisplayName(NameOnly(p)));
    List(dir);
    EXPECT_EQ(Lines(), want);
    EXPECT_EQ(Lines().size(), 5u) << "equal names give separate lines";
    ExpectRecordsAreTheLines();
}

TEST_F(Scan, AHiddenFileIsNotListed)
{
    std::string dir = TempFolder("scan-hidden");
    WriteFile(dir + "shown.wav", "x");
    WriteFile(dir + "secret.wav", "x");
    SetFileAttributesA((dir + "secret.wav").c_str(), FILE_ATTRIBUTE_HIDDEN);
    std::string hidden = "secret.wav";
    if (!(GetFileAttributesA((dir + hidden).c_str()) & FILE_ATTRIBUTE_HIDDEN)) {
        // This file system keeps no DOS attributes; Wine shows a dot file as hidden instead.
        hidden = ".secret.wav";
        WriteFile(dir + hidden, "x");
        DeleteFileA((dir + "secret.wav").c_str());
    }
    DWORD attributes = GetFileAttributesA((dir + hidden).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_HIDDEN))
        GTEST_SKIP() << "no way to hide a file here";
    List(dir);
    EXPECT_EQ(Lines(), std::vector<std::string>{"shown"});
    EXPECT_EQ(Status(), "Found 1 WAV file\r");
}

TEST_F(Scan, AFolderNamedLikeASampleIsListedWhenNotDescended)
{
    std::string dir = TempFolder("scan-folder-name");
    CreateDirectoryA((dir + "loops.wav").c_str(), nullptr);
    WriteFile(dir + "loops.wav\\inner.wav", "x");
    AppSettings.Subdir = false;
    List(dir);
    EXPECT_EQ(Lines(), std::vector<std::string>{"loops"});
    EXPECT_EQ(Record(0)->FileName(), dir + "loops.wav");
    EXPECT_EQ(Status(), "Found 1 WAV file\r");
    AppSettings.Subdir = true;
    List(dir);
    EXPECT_EQ(Lines(), std::vector<std::string>{"inner"});
}

TEST_F(Scan, AMissingFolderOrAnEmptyFilterListsNothing)
{
    List("Z:\\no\\such\\sonidex\\folder\\");
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(Status(), "No WAV file in this directory...");
    std::string dir = TempFolder("scan-empty-filter");
    WriteFile(dir + "kick.wav", "x");
    ParseFilter("");
    List(dir);
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(Status(), "No WAV file in this directory...");
}

TEST_F(Scan, ARebuildForgetsThePlayersLineAndReleasesTheOldRecords)
{
    std::string dir = TempFolder("scan-release");
    CreateDirectoryA((dir + "sub").c_str(), nullptr);
    for (const char* n : {"a.wav", "b.wav", "sub\\a.wav", "sub\\b.mid"}) WriteFile(dir + n, "x");
    for (int round = 0; round < 3; ++round) {
        PlayerState.LastIndex = 1;
        AppSettings.Sort = round != 1;
        List(dir);
        EXPECT_EQ(PlayerState.LastIndex, -1);
        ExpectRecordsAreTheLines();
    }
    Form->RefreshList();                        // a new collection; the old one must not leak
    ExpectRecordsAreTheLines();
    EXPECT_EQ(Form->WAVList->Count(), 2);
}

TEST_F(Scan, TheTitleShowsEachFolderEnteredAndKeepsTheLast)
{
    std::string dir = TempFolder("scan-title");
    CreateDirectoryA((dir + "Deep").c_str(), nullptr);
    WriteFile(dir + "Deep\\x.wav", "x");
    List(dir);
    EXPECT_EQ(Form->NewCaption->Caption(), "Sonidex " + UpperCase(dir + "Deep\\"));
    // Both sides collapsed: the scan leaves the title alone.
    Form->SetTitleText("");
    AppSettings.LeftCollapsed = AppSettings.RightCollapsed = true;
    List(dir);
    EXPECT_EQ(Form->NewCaption->Caption(), "Sonidex ");
}

TEST_F(Scan, TheTreeChangesTheFolderButNotTheWatch)
{
    std::string first = TempFolder("scan-tree-a"), second = TempFolder("scan-tree-b");
    WriteFile(first + "one.wav", "x");
    WriteFile(second + "two.wav", "x");
    AppSettings.Path = first;
    Form->RefreshList();
    EXPECT_EQ(Form->DiskChangeNotify->WatchDir(), first.substr(0, first.size() - 1));
    Form->LeftDirBox->SetDirectory(UpperCase(second));
    Form->LeftDirBoxChange(Form->LeftDirBox);
    EXPECT_EQ(AppSettings.Path, UpperCase(second));
    EXPECT_EQ(Lines(), std::vector<std::string>{"two"});
    EXPECT_EQ(Form->NewCaption->Caption(), "Sonidex " + UpperCase(second));
    EXPECT_EQ(Form->DiskChangeNotify->WatchDir(), first.substr(0, first.size() - 1));
}

TEST_F(Scan, TheSubfolderBoxRebuildsTheList)
{
    std::string dir = TempFolder("scan-subdir-box");
    CreateDirectoryA((dir + "sub").c_str(), nullptr);
    WriteFile(dir + "top.wav", "x");
    WriteFile(dir + "sub\\below.wav", "x");
    Form->SubdirBox->SetCheckedQuietly(true);
    List(dir);
    ASSERT_EQ(Lines().size(), 2u);
    Click(Form->SubdirBox->Handle(), 5, 8);
    Pump(30);
    EXPECT_FALSE(AppSettings.Subdir);
    EXPECT_EQ(Lines(), std::vector<std::string>{"top"});
    Click(Form->SubdirBox->Handle(), 5, 8);
    Pump(30);
    EXPECT_TRUE(AppSettings.Subdir);
    EXPECT_EQ(Lines().size(), 2u);
}

TEST_F(Scan, HoldingTheRightButtonCancels)
{
    std::string dir = TempFolder("scan-cancel");
    for (int i = 0; i < 20; ++i) WriteFile(dir + "s" + IntToStr(i) + ".wav", "x");
    SetCursorPos(1270, 1010);                   // over no window of ours
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    SendInput(1, &in, sizeof in);
    Pump(30);
    bool held = GetAsyncKeyState(VK_RBUTTON) < 0;
    if (held) List(dir);
    in.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(1, &in, sizeof in);
    Pump(30);
    if (!held) GTEST_SKIP() << "the right button cannot be pressed by SendInput here";
    EXPECT_EQ(Status(), "Search canceled..");
    EXPECT_LE(Lines().size(), 1u) << "only the entry at hand is still handled";
    ExpectRecordsAreTheLines();
    List(dir);
    EXPECT_EQ(Lines().size(), 20u);
}

TEST_F(Scan, LinesShowTheMIDIIconOnlyOverTheWallpaper)
{
    std::string dir = TempFolder("scan-draw");
    WriteFile(dir + "aa.wav", "x");
    WriteFile(dir + "bb.mid", "x");
    auto blackInIconArea = [&](int line) {
        HWND h = Form->WAVList->Handle();
        UpdateWindow(h);
        TRect r = Form->WAVList->ItemRect(line);
        HDC dc = GetDC(h);
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Right - 22; x < r.Right; ++x) n += GetPixel(dc, x, y) == RGB(0, 0, 0);
        ReleaseDC(h, dc);
        return n;
    };
    auto oliveInText = [&](int line) {
        HWND h = Form->WAVList->Handle();
        TRect r = Form->WAVList->ItemRect(line);
        HDC dc = GetDC(h);
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Left + 30; ++x) n += GetPixel(dc, x, y) == RGB(128, 128, 0);
        ReleaseDC(h, dc);
        return n;
    };
    AppSettings.Wallpaper = true;
    Form->WAVList->BackIL = Form->BackWP;
    List(dir);
    ASSERT_EQ(Lines(), (std::vector<std::string>{"aa", "bb"}));
    EXPECT_GT(blackInIconArea(1), 10) << "MIDI line";
    EXPECT_EQ(blackInIconArea(0), 0) << "WAV line";
    EXPECT_GT(oliveInText(1), 0);
    EXPECT_EQ(oliveInText(0), 0);

    AppSettings.Wallpaper = false;
    Form->WAVList->BackIL = nullptr;
    Form->WAVList->Invalidate();
    EXPECT_EQ(blackInIconArea(1), 0) << "the text fills the line";
    EXPECT_GT(oliveInText(1), 0);
    AppSettings.Wallpaper = true;
    Form->WAVList->BackIL = Form->BackWP;
}

TEST(SortKeys, OrderAsTheUserLocalesCollationIgnoringCase)
{
    // The sorted list's order with one key per line must be the order of comparing the texts.
    std::mt19937 rng(11);
    const std::string alphabet = "aAbBzZ019 _-.'~!()[]&+,;=@\xe9\xc9\xe4\xf1\xdf";
    EXPECT_EQ(AnsiCompareText("\xD0\xBF\xC3\xA9", "\xD0\x9F\xC3\x89"), 0);   // пé, ПÉ: whole characters
    EXPECT_LT(AnsiCompareText("\xC3\xA9", "f"), 0);
    for (int round = 0; round < 40; ++round) {
        TStringList byCompare;
        byCompare.SetSorted(true);
        std::vector<TSampleLine> byKey;
        for (int i = 0; i < 80; ++i) {
            std::string s;
            for (int k = rng() % 5; k >= 0; --k) s += alphabet[rng() % alphabet.size()];
            byCompare.Add(s);
            byKey.push_back({s, nullptr});
        }
        SortSampleLines(byKey);
        std::vector<std::string> a, b;
        for (int i = 0; i < byCompare.Count(); ++i) a.push_back(byCompare.Strings(i));
        for (auto& l : byKey) b.push_back(l.Text);
        ASSERT_EQ(b, a) << "round " << round;
    }
}
