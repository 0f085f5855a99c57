#include <gtest/gtest.h>
#include <random>
#include "app/pure/SampleList.h"
#include "toolkit/pure/StrUtils.h"
#include "toolkit/pure/StringList.h"

namespace {
std::vector<std::string> Extensions()
{
    return std::vector<std::string>(ExtensionList, ExtensionList + ExtensionCount);
}
}

TEST(Filter, ParsedAsTheProgramAlwaysHas)
{
    struct { const char* filter; std::vector<std::string> want; bool wav, mid; } cases[] = {
        {"wav;mid", {".WAV", ".MID"}, true, true},
        {"WAV", {".WAV"}, true, false},
        {"mid;aif;Wav", {".MID", ".AIF", ".WAV"}, true, true},
        {"", {}, false, false},
        {";", {}, false, false},
        {";;wav;;;mid;", {".WAV", ".MID"}, true, true},        // empty entries are skipped
        {" wav", {". WAV"}, false, false},                    // blanks are not trimmed
        {"wav ;mid", {".WAV ", ".MID"}, false, true},
        {".wav", {"..WAV"}, false, false},                    // a given dot doubles
        {"wav;wav", {".WAV", ".WAV"}, true, false},
        {"aiff;snd", {".AIFF", ".SND"}, false, false},
    };
    for (auto& c : cases) {
        TFilterSeen seen = ParseFilter(c.filter);
        EXPECT_EQ(Extensions(), c.want) << '"' << c.filter << '"';
        EXPECT_EQ(seen.Wav, c.wav) << '"' << c.filter << '"';
        EXPECT_EQ(seen.Mid, c.mid) << '"' << c.filter << '"';
    }
}

TEST(Filter, ThirtyThreeExtensionsUseTheFirst32)
{
    std::string filter;
    for (int i = 1; i <= 33; ++i) filter += "e" + IntToStr(i) + ";";
    filter += "wav";                            // the 34th: ignored too
    TFilterSeen seen = ParseFilter(filter);
    ASSERT_EQ(ExtensionCount, 32);
    EXPECT_EQ(ExtensionList[0], ".E1");
    EXPECT_EQ(ExtensionList[31], ".E32");
    EXPECT_FALSE(seen.Wav);
    int kind;
    EXPECT_TRUE(MatchExtension("x.e32", kind));
    EXPECT_FALSE(MatchExtension("x.e33", kind));
    EXPECT_FALSE(MatchExtension("x.wav", kind));
}

TEST(Filter, ANewFilterReplacesTheOldOne)
{
    ParseFilter("wav;mid;aif");
    ParseFilter("mid");
    EXPECT_EQ(Extensions(), std::vector<std::string>{".MID"});
}

TEST(Filter, TheTypeBoxesAddAndRemoveWholeEntriesOnly)
{
    struct { const char* text; const char* name; bool ticked; const char* want; } cases[] = {
        {"wav;mid", "mid", false, "wav"},
        {"wav", "mid", true, "wav;mid"},
        {"mid;wav;aif", "wav", false, "mid;aif"},
        {"", "wav", true, "wav"},
        {"xwav;wav", "wav", false, "xwav"},          // an entry that only ends in "wav" stays
        {"xwav;mid", "wav", true, "xwav;mid;wav"},
        {"WAV;Mid;aif;", "mid", false, "WAV;aif"},   // any letter case; a closing ";" goes
        {".wav", "wav", true, ".wav;wav"},           // ".wav" is not the type: it stays
        {"wav;;aiff", "wav", false, ";aiff"},
    };
    for (const auto& c : cases) {
        const std::string got = ToggledFilter(c.text, c.name, c.ticked);
        EXPECT_EQ(got, c.want) << c.text << (c.ticked ? " +" : " -") << c.name;
        // What the box then shows agrees with what was asked.
        const TFilterSeen seen = ParseFilter(got);
        EXPECT_EQ(std::string(c.name) == "wav" ? seen.Wav : seen.Mid, c.ticked) << got;
    }
}

TEST(Filter, NamesMatchByTheirLastExtension)
{
    ParseFilter("wav;mid;aif");
    struct { const char* name; bool listed; int kind; } cases[] = {
        {"kick.wav", true, KindWAV}, {"Kick.Wav", true, KindWAV}, {"KICK.WAV", true, KindWAV},
        {"song.mid", true, KindMIDI}, {"pad.aif", true, KindOther},
        {"kick", false, 0}, {"kick.wav.bak", false, 0}, {"archive.mid.wav", true, KindWAV},
        {".wav", true, KindWAV}, {"kick.", false, 0}, {"kick.wave", false, 0}, {"kick.midi", false, 0},
    };
    for (auto& c : cases) {
        int kind = 99;
        EXPECT_EQ(MatchExtension(c.name, kind), c.listed) << c.name;
        if (c.listed) EXPECT_EQ(kind, c.kind) << c.name;
    }
    ParseFilter("");
    int kind;
    EXPECT_FALSE(MatchExtension("kick.wav", kind));       // an empty filter lists nothing
}

TEST(Filter, LineTextIsTheNameWithoutItsExtension)
{
    struct { const char* name; const char* text; } cases[] = {
        {"kick.wav", "kick"}, {"a.b.c.wav", "a.b.c"}, {"kick", "kick"}, {".wav", ""}, {"kick.", "kick"},
    };
    for (auto& c : cases) EXPECT_EQ(DisplayName(c.name), c.text) << c.name;
}

TEST(Status, TextsOfAScan)
{
    struct { int wav, mid; bool canceled; const char* want; } cases[] = {
        {1, 3, false, "Found 1 WAV file\rFound 3 MIDI files"},
        {0, 2, false, "Found 2 MIDI files"},
        {0, 1, false, "Found 1 MIDI file"},
        {5, 0, false, "Found 5 WAV files\r"},
        {1, 0, false, "Found 1 WAV file\r"},
        {2, 1, false, "Found 2 WAV files\rFound 1 MIDI file"},
        {0, 0, false, "No WAV file in this directory..."},
        {100000, 0, false, "Found 100000 WAV files\r"},
        {0, 0, true, "Search canceled.."},
        {7, 3, true, "Search canceled.."},
    };
    for (auto& c : cases) EXPECT_EQ(ScanStatusText(c.wav, c.mid, c.canceled), c.want) << c.wav << " " << c.mid;
}

namespace {
// Records are only compared by address here.
TObject* Rec(int i) { return reinterpret_cast<TObject*>(static_cast<intptr_t>(i + 1) * 16); }

std::vector<TSampleLine> Lines(const std::vector<std::string>& texts)
{
    std::vector<TSampleLine> v;
    for (size_t i = 0; i < texts.size(); ++i) v.push_back({texts[i], Rec(static_cast<int>(i))});
    return v;
}

// What a sorted string list makes of the same adds, one by one with bisection.
std::vector<std::pair<std::string, TObject*>> ByInsertion(const std::vector<std::string>& texts)
{
    TStringList list;
    list.SetSorted(true);
    for (size_t i = 0; i < texts.size(); ++i) {
        int at = list.Add(texts[i]);
        list.SetObject(at, Rec(static_cast<int>(i)));
    }
    std::vector<std::pair<std::string, TObject*>> out;
    for (int i = 0; i < list.Count(); ++i) out.emplace_back(list.Strings(i), list.Objects(i));
    return out;
}

std::vector<std::pair<std::string, TObject*>> BySort(const std::vector<std::string>& texts)
{
    auto lines = Lines(texts);
    SortSampleLines(lines);
    std::vector<std::pair<std::string, TObject*>> out;
    for (auto& l : lines) out.emplace_back(l.Text, l.Record);
    return out;
}
}

TEST(SortedLines, AnEqualNameKeepsTheFirstPlaceAndTakesTheLastRecord)
{
    // kick.wav in the folder, then in a subfolder, then KICK.mid: one line, the first text,
    // the last record.
    auto out = BySort({"snare", "kick", "hat", "KICK", "Kick"});
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], std::make_pair(std::string("hat"), Rec(2)));
    EXPECT_EQ(out[1], std::make_pair(std::string("kick"), Rec(4)));
    EXPECT_EQ(out[2], std::make_pair(std::string("snare"), Rec(0)));
    // The records no line keeps are handed back, each once, to be freed.
    auto lines = Lines({"snare", "kick", "hat", "KICK", "Kick"});
    EXPECT_EQ(SortSampleLines(lines), (std::vector<TObject*>{Rec(1), Rec(3)}));
}

TEST(SortedLines, SameResultAsInsertingOneByOne)
{
    std::mt19937 rng(7);
    const char alphabet[] = "abAB_-1 .z";
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> texts;
        int n = rng() % 60;
        for (int i = 0; i < n; ++i) {
            std::string s;
            for (int k = rng() % 4; k >= 0; --k) s += alphabet[rng() % (sizeof alphabet - 1)];
            texts.push_back(s);
        }
        ASSERT_EQ(BySort(texts), ByInsertion(texts)) << "round " << round;
    }
}

TEST(SortedLines, ALargeListSortedInTwoHalvesGivesTheSameResult)
{
    // Large enough to be prepared in two halves, with equal names across the halves.
    std::mt19937 rng(3);
    std::vector<std::string> texts;
    for (int i = 0; i < 20000; ++i) texts.push_back((rng() % 2 ? "Kick " : "kick ") + IntToStr(rng() % 9000));
    EXPECT_EQ(BySort(texts), ByInsertion(texts));
}

TEST(SortedLines, EmptyAndSingle)
{
    EXPECT_TRUE(BySort({}).empty());
    EXPECT_EQ(BySort({""}).size(), 1u);
}
