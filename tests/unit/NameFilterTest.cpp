#include <gtest/gtest.h>
#include "app/pure/NameFilter.h"
#include "app/pure/SampleList.h"

TEST(NameFilter, QueryLanguage)
{
    struct { const char* query; const char* line; bool matches; } cases[] = {
        {"", "anything", true},
        {"kick", "Kick 808 hard", true},              // a part of the text, any case
        {"KICK", "kick", true},
        {"808 kick", "Kick 808", true},               // all words, in any order
        {"kick snare", "Kick 808", false},
        {"kick -808", "Kick acoustic", true},          // "-": must not occur
        {"kick -808", "Kick 808", false},
        {"kick -", "Kick 808", true},                 // a lone "-" asks for nothing (yet)
        {"hi-hat", "Hi-Hat 01", true},                // "-" inside a word is a letter
        {"h*t", "hat open", true},                    // "*": any run, within the text
        {"kick*snare", "Kick and Snare", true},
        {"snare*kick", "Kick and Snare", false},      // the pieces in their order
        {"ab*bc", "abc", false},                      // and not overlapping
        {"*", "x", true},
        {"k?ck", "kick", true},                       // "?": exactly one character
        {"k?ck", "kck", false},
        {"-k*k", "kick", false},
        {"-k*k", "snare", true},
        {"\"open hat\"", "Open Hat 1", true},         // a quoted phrase as it stands
        {"\"open hat\"", "Hat open", false},
        {"open hat", "Hat open", true},
        {"-\"open hat\"", "Open Hat 1", false},
        {"\"a*b\"", "x a*b", true},                   // no wildcards within quotes
        {"\"a*b\"", "axb", false},
        {"\"-808\"", "kick -808", true},
        {"\"open h", "open hat", true},               // an unclosed quote runs to the end
        {"\"\"", "x", true},
        {"\xC3\x84RGER", "\xC3\xA4rger", true},       // Latin-1 letters as UTF-8, either case
        {"\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89", true},
        {"\xC3\x97", "\xC3\xB7", false},              // the multiplication sign is no letter
        {"a?b", "a\xC3\xA9" "b", true},               // "?" takes a whole character
        {"a??b", "a\xC3\xA9" "b", false},
        {"?\xE2\x82\xAC", "5\xE2\x82\xAC", true},
        {"?", "", false},
        {"caf\xE9", "CAF\xE9", true},                 // bytes outside UTF-8 compare as they are
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TNameQuery(c.query).Matches(FoldName(c.line)), c.matches) << c.query << " / " << c.line;
    }
}

TEST(NameFilter, LinesInTheirOrderAndTheStatusLine)
{
    TNameIndex index;
    const std::pair<const char*, int> lines[] = {
        {"Kick 808", KindWAV}, {"Kick acoustic", KindWAV}, {"Groove", KindMIDI},
        {"Snare", KindWAV},    {"kick loop", KindOther},
    };
    for (auto [text, kind] : lines) index.Add(text, kind);
    struct { const char* query; std::vector<int> shown; const char* status; } cases[] = {
        {"kick", {0, 1, 4}, "2 of 3 WAV files\r0 of 1 MIDI file\r1 of 1 other file"},
        {"kick -808", {1, 4}, "1 of 3 WAV files\r0 of 1 MIDI file\r1 of 1 other file"},
        {"o", {1, 2, 4}, "1 of 3 WAV files\r1 of 1 MIDI file\r1 of 1 other file"},
        {"zzz", {}, "0 of 3 WAV files\r0 of 1 MIDI file\r0 of 1 other file"},
        {"808k", {}, "0 of 3 WAV files\r0 of 1 MIDI file\r0 of 1 other file"},   // not across lines
        {"-kick", {2, 3}, "1 of 3 WAV files\r1 of 1 MIDI file\r0 of 1 other file"},  // nothing to search for
    };
    for (const auto& c : cases) {
        TKindCounts shown;
        EXPECT_EQ(index.Filter(TNameQuery(c.query), shown), c.shown) << c.query;
        EXPECT_EQ(FilterStatusText(shown, index.Totals()), c.status) << c.query;
    }
    TNameIndex empty;
    TKindCounts none;
    EXPECT_TRUE(empty.Filter(TNameQuery("kick"), none).empty());
    EXPECT_EQ(FilterStatusText(none, empty.Totals()), "No WAV file in this directory...");
}
