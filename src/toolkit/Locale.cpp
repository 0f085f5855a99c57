#include <windows.h>
#include "toolkit/pure/StrUtils.h"

// The texts are in the process code page (UTF-8 under the program's manifest); without
// LOCALE_USE_CP_ACP these functions would read them in the user locale's own code page.

int AnsiCompareText(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | LOCALE_USE_CP_ACP, a.data(),
                          static_cast<int>(a.size()), b.data(), static_cast<int>(b.size())) - CSTR_EQUAL;
}

std::string AnsiSortKey(const std::string& s)
{
    // One call for the usual short name; a long one asks for its size first.
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE | LOCALE_USE_CP_ACP;
    char buf[512];
    int len = static_cast<int>(s.size());
    int n = LCMapStringA(LOCALE_USER_DEFAULT, flags, s.data(), len, buf, sizeof buf);
    if (n > 0) return std::string(buf, n - 1);           // without the terminating zero
    n = LCMapStringA(LOCALE_USER_DEFAULT, flags, s.data(), len, nullptr, 0);
    if (n <= 0) return std::string();
    std::string key(n, '\0');
    n = LCMapStringA(LOCALE_USER_DEFAULT, flags, s.data(), len, key.data(), n);
    key.resize(n > 0 ? n - 1 : 0);
    return key;
}

void AppendSortKey(std::string& keys, std::string_view s)
{
    char buf[512];
    const int n = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE | LOCALE_USE_CP_ACP, s.data(),
                               static_cast<int>(s.size()), buf, sizeof buf);
    if (n > 0) keys.append(buf, n - 1);          // without the terminating zero
    else if (!s.empty()) keys += AnsiSortKey(std::string(s));
}
