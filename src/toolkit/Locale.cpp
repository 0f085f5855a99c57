#include <windows.h>
#include "toolkit/pure/StrUtils.h"

int AnsiCompareText(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) - CSTR_EQUAL;
}

std::string AnsiSortKey(const std::string& s)
{
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    int n = LCMapStringA(LOCALE_USER_DEFAULT, flags, s.data(), static_cast<int>(s.size()), nullptr, 0);
    if (n <= 0) return std::string();
    std::string key(n, '\0');
    n = LCMapStringA(LOCALE_USER_DEFAULT, flags, s.data(), static_cast<int>(s.size()), key.data(), n);
    key.resize(n > 0 ? n - 1 : 0);        // without the terminating zero
    return key;
}
