#include "toolkit/pure/SysUtils.h"

namespace {
std::string Substitute(const char* pattern, char kind, const std::string& value)
{
    std::string out;
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == kind) { out += value; ++p; }
        else out += *p;
    }
    return out;
}
}

std::string Format(const char* pattern, const std::string& arg) { return Substitute(pattern, 's', arg); }
std::string Format(const char* pattern, int arg) { return Substitute(pattern, 'd', std::to_string(arg)); }
