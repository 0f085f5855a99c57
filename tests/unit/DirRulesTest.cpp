#include <gtest/gtest.h>
#include <set>
#include "shell/pure/DirRules.h"

TEST(FolderAttributes, FilterTable)
{
    const unsigned none = 0, ro = faReadOnly, hid = faHidden, sys = faSysFile, arc = faArchive;
    struct { tDirType type; unsigned attrs; bool want; } cases[] = {
        // dtAll admits everything, whatever else is in the set.
        {{dtAll}, hid | sys | arc, true}, {{dtNormal, dtAll}, hid, true}, {{dtAll}, none, true},
        // dtNormal alone: only folders without hidden, system and archive.
        {{dtNormal}, none, true}, {{dtNormal}, ro, true}, {{dtNormal}, hid, false},
        {{dtNormal}, sys, false}, {{dtNormal}, arc, false},
        // dtHidden alone admits only hidden folders (and not hidden ones that are also system).
        {{dtHidden}, hid, true}, {{dtHidden}, none, false}, {{dtHidden}, hid | sys, false},
        {{dtHidden, dtSystem}, hid | sys, true}, {{dtArchive}, arc, true}, {{dtArchive}, arc | hid, false},
        {{dtSystem}, sys, true}, {{dtNormal, dtHidden}, hid, true}, {{dtNormal, dtHidden}, none, true},
        // The empty set admits nothing.
        {{}, none, false}, {{}, hid, false},
    };
    for (auto& c : cases) EXPECT_EQ(AttributesAllowed(c.attrs, c.type), c.want) << "attributes " << c.attrs;
}

TEST(FolderAttributes, ReadOnlyElementChangesNothing)
{
    const tDirType sets[] = {{}, {dtNormal}, {dtHidden}, {dtSystem}, {dtArchive}, {dtNormal, dtHidden},
                             {dtHidden, dtSystem, dtArchive}, {dtAll}};
    const tDirType withReadOnly[] = {{dtReadonly}, {dtReadonly, dtNormal}, {dtReadonly, dtHidden},
                                     {dtReadonly, dtSystem}, {dtReadonly, dtArchive},
                                     {dtReadonly, dtNormal, dtHidden}, {dtReadonly, dtHidden, dtSystem, dtArchive},
                                     {dtReadonly, dtAll}};
    for (int s = 0; s < 8; ++s)
        for (unsigned attrs = 0; attrs < 0x40; ++attrs)
            EXPECT_EQ(AttributesAllowed(attrs, sets[s]), AttributesAllowed(attrs, withReadOnly[s]))
                << "set " << s << " attributes " << attrs;
}

TEST(FolderAcceptance, RecycleRule)
{
    struct { const char* path; bool goBelow; bool want; } cases[] = {
        {"C:\\RECYCLED\\", false, true},                  // the recycle folder itself stays
        {"C:\\RECYCLED\\DC1\\", false, false},            // anything below it goes
        {"C:\\recycled\\x\\", false, false},
        {"C:\\Recycled\\A\\B\\", false, false},
        {"C:\\OLD\\RECYCLED\\", false, true},             // nothing follows the match
        {"C:\\OLD\\RECYCLED\\X\\", false, false},
        {"C:\\RECYCLED.OLD\\X\\", false, true},           // not the recycle folder
        {"C:\\MYRECYCLED\\X\\", false, true},
        {"C:\\RECYCLED\\DC1\\", true, true},              // allowed below when asked
        {"C:\\", false, true},
        {"", false, true},
    };
    for (auto& c : cases) EXPECT_EQ(RecycleRuleAccepts(c.path, c.goBelow), c.want) << c.path;
}

TEST(FolderListing, DotEntries)
{
    EXPECT_TRUE(IsDotEntry("."));
    EXPECT_TRUE(IsDotEntry(".."));
    EXPECT_FALSE(IsDotEntry("..."));
    EXPECT_FALSE(IsDotEntry(".git"));
    EXPECT_FALSE(IsDotEntry("a"));
}

TEST(PathWalk, PrefixesOneLevelAtATime)
{
    struct { const char* path; std::vector<std::string> want; } cases[] = {
        {"C:\\", {"C:\\"}},
        {"C:\\SAMPLES\\DRUMS\\", {"C:\\", "C:\\SAMPLES\\", "C:\\SAMPLES\\DRUMS\\"}},
        {"C:\\A\\B", {"C:\\", "C:\\A\\"}},               // the walk only counts "\"
        {"C:", {}},
        {"", {}},
        {"\\\\SERVER\\SHARE\\", {"\\", "\\\\", "\\\\SERVER\\", "\\\\SERVER\\SHARE\\"}},
    };
    for (auto& c : cases) EXPECT_EQ(PathPrefixes(c.path), c.want) << c.path;
    EXPECT_EQ(WithTrailingBackslash("C:\\A"), "C:\\A\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\A\\"), "C:\\A\\");
    EXPECT_EQ(WithTrailingBackslash(""), "");
}

TEST(PathWalk, DirectoryValueChecks)
{
    std::set<std::string> folders = {"C:\\SAMPLES", "c:\\samples\\drums"};
    std::vector<std::string> asked;
    auto exists = [&](const std::string& p) { asked.push_back(p); return folders.count(p) > 0; };
    struct { const char* in; bool ok; const char* out; std::vector<std::string> asked; } cases[] = {
        {"?", false, "?", {}},
        {"", false, "", {}},
        {"C:\\", true, "C:\\", {}},                      // a drive root is not tested
        {"c:\\", true, "C:\\", {}},
        {"c:", true, "C:\\", {}},                        // "c:" becomes the root "c:\"
        {"SAMPLES", false, "SAMPLES", {"SAMPLES"}},
        {"C:\\SAMPLES", true, "C:\\SAMPLES\\", {"C:\\SAMPLES"}},
        {"c:\\samples\\drums\\", true, "C:\\SAMPLES\\DRUMS\\", {"c:\\samples\\drums"}},
        {"C:\\GONE\\", false, "C:\\GONE\\", {"C:\\GONE"}},
    };
    for (auto& c : cases) {
        asked.clear();
        std::string v = c.in;
        EXPECT_EQ(PrepareDirectoryValue(v, exists), c.ok) << c.in;
        EXPECT_EQ(v, c.out) << c.in;
        EXPECT_EQ(asked, c.asked) << c.in;
    }
}

TEST(DriveLevel, WhatARootCarries)
{
    struct { int type; bool fast; DriveFill want; } cases[] = {
        {DriveUnknown, false, DriveFill::Unlooked}, {DriveNoRootDir, false, DriveFill::Unlooked},
        {DriveRemovable, false, DriveFill::Unlooked}, {DriveCDRom, false, DriveFill::Unlooked},
        {DriveFixed, false, DriveFill::Probe}, {DriveRemote, false, DriveFill::Probe},
        {DriveRamDisk, false, DriveFill::Probe},
        {DriveFixed, true, DriveFill::Unlooked}, {DriveRemote, true, DriveFill::Unlooked},
        {DriveCDRom, true, DriveFill::Unlooked},
    };
    for (auto& c : cases) EXPECT_EQ(DriveFillFor(c.type, c.fast), c.want) << "type " << c.type << " fast " << c.fast;
}

TEST(DriveLevel, DriveLetterIndex)
{
    EXPECT_EQ(DriveIndexOf("A:\\"), 0);
    EXPECT_EQ(DriveIndexOf("c:\\x\\"), 2);
    EXPECT_EQ(DriveIndexOf("Z:\\"), 25);
    EXPECT_EQ(DriveIndexOf("\\\\SERVER\\"), -1);
    EXPECT_EQ(DriveIndexOf("1:\\"), -1);
    EXPECT_EQ(DriveIndexOf(""), -1);
}

TEST(DriveLevel, ReloadFallsBackToTheFirstLookedAtDrive)
{
    struct { std::vector<bool> unlooked; int want; } cases[] = {
        {{}, -1},
        {{false}, 0},
        {{true}, 0},
        {{true, true, false, true}, 2},
        {{false, true}, 0},
        {{true, true, true}, 2},                         // none looked at: the last drive
    };
    for (auto& c : cases) EXPECT_EQ(FallbackDriveIndex(c.unlooked), c.want);
}

TEST(FolderListing, WhichFoldersTheShellShowsPlainly)
{
    struct { const char* name; unsigned attrs; bool want; } cases[] = {
        {"Drums", faDirectory, true}, {"Drums", faDirectory | faHidden | faArchive, true},
        {"Kit.v2", faDirectory, true}, {"Loops {old}", faDirectory, true},
        // Folders the shell may customise through their desktop.ini.
        {"Documents", faDirectory | faReadOnly, false}, {"Fonts", faDirectory | faSysFile, false},
        // Names that may be class junctions.
        {"Recycler.{645FF040-5081-101B-9F08-00AA002F954E}", faDirectory, false}, {"a.{", faDirectory, false},
    };
    for (auto& c : cases) EXPECT_EQ(ShellShowsAsPlainFolder(c.name, c.attrs), c.want) << c.name << " " << c.attrs;
}
