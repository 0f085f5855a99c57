// The list's filter box: what a typed query asks for, which lines it lets through, and the
// status line while it is on.
//
// A query is words separated by blanks. A line shows when every word occurs somewhere in its
// text and no word starting with "-" does. Within a word "*" stands for any run of characters
// and "?" for exactly one; a part in double quotes stands as typed, blanks, "*", "?" and a
// leading "-" included. A word that asks for nothing (a lone "-", "*", or "") is passed over,
// so that half-typed queries do not empty the list.
//
// Texts are taken as UTF-8: "?" takes a whole character, and letter case is ignored for ASCII
// and for the Latin-1 letters U+00C0..U+00DE (as two-byte sequences). A byte that does not
// belong to a well-formed sequence counts as a character by itself and is compared as it is.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// The text with ASCII capitals and the UTF-8 Latin-1 capitals (U+00C0..U+00DE but the
// multiplication sign) in lower case; every other byte unchanged, so lengths stay the same.
std::string FoldName(std::string_view text);

class TNameQuery {
public:
    explicit TNameQuery(std::string_view text);
    // No word to ask for: every line shows.
    bool Empty() const { return FTerms.empty(); }
    // Whether a line whose text is already folded (FoldName) passes.
    bool Matches(std::string_view folded) const;
private:
    struct TPiece {
        std::string Text;               // a '\0' byte stands for "?"
        bool Wild = false;              // it holds one
    };
    struct TTerm {
        // The word, folded, split at its "*"s into non-empty pieces.
        std::vector<TPiece> Pieces;
        bool Excluded = false;
    };
    static bool Occurs(const TTerm& term, std::string_view folded);
    std::vector<TTerm> FTerms;
};

// Lines by kind (the sample list's KindWAV, KindMIDI and any other kind).
struct TKindCounts {
    int Wav = 0, Midi = 0, Other = 0;
    void Count(int kind);
};

// The texts of a list's lines, folded once, so that each change of a query only searches.
class TNameIndex {
public:
    void Clear();
    void Reserve(size_t lines, size_t bytes);
    void Add(std::string_view text, int kind);
    int Count() const { return static_cast<int>(FEnd.size()); }
    // The lines that pass, by their index, ascending; shown gets how many of each kind.
    std::vector<int> Filter(const TNameQuery& query, TKindCounts& shown) const;
    const TKindCounts& Totals() const { return FTotals; }
private:
    std::string FText;                  // the folded texts one after another
    std::vector<unsigned> FEnd;         // where each line's text ends in FText
    std::vector<signed char> FKind;
    TKindCounts FTotals;
};

// The status line while the filter shows only some lines: "12 of 913 WAV files", with a line
// for MIDI files and one for other files where the list holds any; the scan's "No WAV file in
// this directory..." for an empty list.
std::string FilterStatusText(const TKindCounts& shown, const TKindCounts& total);
