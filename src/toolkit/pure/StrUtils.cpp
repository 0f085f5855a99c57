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

bool SamePath(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    // From the end: the paths of one list share their folders and differ in their names.
    for (size_t i = a.size(); i-- > 0;)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}
