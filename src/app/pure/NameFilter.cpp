#include "app/pure/NameFilter.h"
#include <cstring>
#include "app/pure/SampleList.h"
#include "toolkit/pure/StrUtils.h"

namespace {
constexpr size_t npos = std::string_view::npos;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The bytes of the character starting at p: its lead byte and as many of the continuation
// bytes it announces as follow; a stray byte is a character of its own.
size_t CharLength(std::string_view s, size_t p)
{
    const unsigned char lead = static_cast<unsigned char>(s[p]);
    const size_t want = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    size_t n = 1;
    while (n < want && p + n < s.size() && IsContinuation(static_cast<unsigned char>(s[p + n]))) ++n;
    return n;
}

// Where the plain text p (not empty) first stands in s at or after from; npos for none. Our own
// loop: names are short, and a library call per name costs more than the search itself. It
// looks for p's first byte a machine word at a time.
size_t FindPlain(std::string_view s, size_t from, std::string_view p)
{
    const size_t m = p.size();
    if (s.size() < m) return npos;
    const char first = p[0];
    constexpr size_t ones = ~size_t(0) / 255, highs = ones * 0x80;
    const size_t firsts = ones * static_cast<unsigned char>(first);
    for (size_t i = from, last = s.size() - m; i <= last; ++i) {
        // Whole words without the byte are passed over (a word holds a zero byte after the xor
        // exactly when the test below sees one).
        while (i + sizeof(size_t) <= last + 1) {
            size_t w;
            std::memcpy(&w, s.data() + i, sizeof w);
            w ^= firsts;
            if ((w - ones) & ~w & highs) break;
            i += sizeof(size_t);
        }
        if (i > last) break;
        if (s[i] != first) continue;
        size_t k = 1;
        while (k < m && s[i + k] == p[k]) ++k;
        if (k == m) return i;
    }
    return npos;
}

// Whether piece stands in s at p; end gets where it ends there.
bool PieceAt(std::string_view s, size_t p, std::string_view piece, size_t& end)
{
    for (char c : piece) {
        if (p >= s.size()) return false;
        if (c == '\0') p += CharLength(s, p);
        else if (s[p++] != c) return false;
    }
    end = p;
    return true;
}

// Where the leftmost occurrence of piece at or after from ends; npos for none. The earliest
// start also gives the earliest end, so the pieces of a word are found one after another.
size_t FindPiece(std::string_view s, size_t from, std::string_view piece, bool wildcards)
{
    if (!wildcards) {
        const size_t at = FindPlain(s, from, piece);
        return at == npos ? npos : at + piece.size();
    }
    const size_t wild = piece.find('\0');
    // The literal head finds the candidates quickly; a piece starting with "?" tries every
    // character's start.
    const std::string_view head = piece.substr(0, wild);
    for (size_t p = from; p < s.size();) {
        if (!head.empty() && (p = FindPlain(s, p, head)) == npos) return npos;
        size_t end;
        if (PieceAt(s, p, piece, end)) return end;
        p += head.empty() ? CharLength(s, p) : 1;
    }
    return npos;
}
}

std::string FoldName(std::string_view text)
{
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            // U+00C0..U+00DE are C3 80..C3 9E, their small letters C3 A0..C3 BE; C3 97 is the
            // multiplication sign.
            const unsigned char next = static_cast<unsigned char>(out[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return out;
}

TNameQuery::TNameQuery(std::string_view text)
{
    const std::string folded = FoldName(text);
    size_t i = 0;
    while (i < folded.size()) {
        if (folded[i] == ' ') {
            ++i;
            continue;
        }
        TTerm term;
        if (folded[i] == '-') {
            term.Excluded = true;
            ++i;
        }
        TPiece piece;
        auto endPiece = [&] {
            if (!piece.Text.empty()) term.Pieces.push_back(std::move(piece));
            piece = {};
        };
        bool quoted = false;
        for (; i < folded.size() && (quoted || folded[i] != ' '); ++i) {
            const char c = folded[i];
            if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && c == '*') {
                endPiece();
            } else if (!quoted && c == '?') {
                piece.Text += '\0';
                piece.Wild = true;
            } else {
                piece.Text += c;
            }
        }
        endPiece();
        if (!term.Pieces.empty()) FTerms.push_back(std::move(term));
    }
}

bool TNameQuery::Occurs(const TTerm& term, std::string_view folded)
{
    size_t at = 0;
    for (const TPiece& piece : term.Pieces)
        if ((at = FindPiece(folded, at, piece.Text, piece.Wild)) == npos) return false;
    return true;
}

bool TNameQuery::Matches(std::string_view folded) const
{
    for (const TTerm& term : FTerms)
        if (Occurs(term, folded) == term.Excluded) return false;
    return true;
}

void TKindCounts::Count(int kind)
{
    if (kind == KindWAV) ++Wav;
    else if (kind == KindMIDI) ++Midi;
    else ++Other;
}

void TNameIndex::Clear()
{
    FText.clear();
    FEnd.clear();
    FKind.clear();
    FTotals = {};
}

void TNameIndex::Reserve(size_t lines, size_t bytes)
{
    FText.reserve(bytes);
    FEnd.reserve(lines);
    FKind.reserve(lines);
}

void TNameIndex::Add(std::string_view text, int kind)
{
    FText += FoldName(text);
    FEnd.push_back(static_cast<unsigned>(FText.size()));
    FKind.push_back(static_cast<signed char>(kind));
    FTotals.Count(kind);
}

std::vector<int> TNameIndex::Filter(const TNameQuery& query, TKindCounts& shown) const
{
    shown = {};
    std::vector<int> lines;
    const std::string_view all(FText);
    for (size_t i = 0, begin = 0; i < FEnd.size(); begin = FEnd[i++]) {
        if (!query.Matches(all.substr(begin, FEnd[i] - begin))) continue;
        lines.push_back(static_cast<int>(i));
        shown.Count(FKind[i]);
    }
    return lines;
}

std::string FilterStatusText(const TKindCounts& shown, const TKindCounts& total)
{
    std::string s;
    auto line = [&](int of, int in, const char* what) {
        if (in <= 0) return;
        if (!s.empty()) s += '\r';
        s += IntToStr(of) + " of " + IntToStr(in) + " " + what + (in >= 2 ? "s" : "");
    };
    line(shown.Wav, total.Wav, "WAV file");
    line(shown.Midi, total.Midi, "MIDI file");
    line(shown.Other, total.Other, "other file");
    return s.empty() ? ScanStatusText(0, 0, false) : s;
}
