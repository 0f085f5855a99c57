#include "toolkit/pure/StrUtils.h"
#include <cstdint>

bool TryStrToInt(const std::string& text, int& value)
{
    size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool neg = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
    int base = 10;
    if (i < n && text[i] == '$') { base = 16; ++i; }
    else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) { base = 16; i += 2; }
    if (i >= n) return false;
    uint64_t v = 0;
    for (; i < n; ++i) {
        char c = text[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        v = v * base + d;
        // Hexadecimal may fill all 32 bits (0xFFFFFFFF is -1, as a colour number wants);
        // decimal must stay within the signed range.
        if (v > (base == 16 ? 0xFFFFFFFFull : 0x80000000ull)) return false;
    }
    if (base == 10 && !neg && v > 0x7FFFFFFFull) return false;
    int32_t r = static_cast<int32_t>(static_cast<uint32_t>(v));
    value = neg ? static_cast<int32_t>(0u - static_cast<uint32_t>(r)) : r;
    return true;
}

int StrToIntDef(const std::string& text, int def)
{
    int v;
    return TryStrToInt(text, v) ? v : def;
}

std::string UpperCase(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

std::string IntToStr(int v) { return std::to_string(v); }

namespace {
// Decodes the UTF-8 character at s[i] and steps over it; false (and one byte stepped over)
// where no well-formed character starts.
bool NextChar(const std::string& s, size_t& i, char32_t& c)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned b0 = byte(i);
    const int more = b0 < 0x80 ? 0 : b0 >= 0xC2 && b0 < 0xE0 ? 1 : b0 >= 0xE0 && b0 < 0xF0 ? 2
                   : b0 >= 0xF0 && b0 < 0xF5 ? 3 : -1;
    c = b0;
    if (more <= 0 || i + more >= s.size()) { ++i; return more == 0; }
    char32_t v = b0 & (0x3F >> more);
    for (int k = 1; k <= more; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) { ++i; return false; }
        v = (v << 6) | (byte(i + k) & 0x3F);
    }
    static const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (v < least[more] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) { ++i; return false; }
    i += more + 1;
    c = v;
    return true;
}

// The upper case of the letters whose cases both have two bytes in UTF-8.
char32_t UpperChar(char32_t c)
{
    if (c >= 'a' && c <= 'z') return c - 32;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F))
        return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    if (c == 0xFF) return 0x178;
    // Latin Extended-A pairs its letters: upper case first, at even places except between
    // U+0139 and U+0148 and from U+0179 on.
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c >= 0x100 && c <= 0x17E && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x178)
        return (c % 2 == 0) == oddUpper ? c - 1 : c;
    return c;
}
}

bool SamePath(const std::string& a, const std::string& b)
{
    // The two cases of every folded letter have the same length, so paths of different lengths
    // never name the same file.
    if (a.size() != b.size()) return false;
    // From the end where the bytes agree: the paths of one list share their folders and differ
    // in their names; a difference is then looked at character by character.
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    size_t i = a.size();
    while (i > 0 && upper(a[i - 1]) == upper(b[i - 1])) --i;
    if (i == 0) return true;
    for (size_t ia = 0, ib = 0; ia < a.size() && ib < b.size();) {
        char32_t ca, cb;
        const bool wa = NextChar(a, ia, ca), wb = NextChar(b, ib, cb);
        if (wa != wb || (wa ? UpperChar(ca) != UpperChar(cb) : ca != cb)) return false;
    }
    return true;
}

bool ValidUtf8(const std::string& s)
{
    char32_t c;
    for (size_t i = 0; i < s.size();)
        if (!NextChar(s, i, c)) return false;
    return true;
}

size_t Utf16Length(const std::string& s)
{
    if (!ValidUtf8(s)) return s.size();
    size_t n = 0;
    char32_t c;
    for (size_t i = 0; i < s.size(); n += c >= 0x10000 ? 2 : 1) NextChar(s, i, c);
    return n;
}

size_t CharBoundary(const std::string& s, size_t pos)
{
    if (pos >= s.size() || !ValidUtf8(s)) return pos;
    while (pos < s.size() && (static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80) ++pos;
    return pos;
}
