// The native tests' stand-in for the user locale's collation: ASCII letters fold to upper case.
#include <string>
#include "toolkit/pure/StrUtils.h"

int AnsiCompareText(const std::string& a, const std::string& b)
{
    int c = UpperCase(a).compare(UpperCase(b));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::string AnsiSortKey(const std::string& s) { return UpperCase(s); }
void AppendSortKey(std::string& keys, std::string_view s) { keys += UpperCase(std::string(s)); }
