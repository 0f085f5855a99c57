#include "about/pure/BrowserCommand.h"
#include <algorithm>
#include "toolkit/pure/StrUtils.h"

std::string StripPlaceholders(const std::string& command)
{
    std::string out;
    for (size_t i = 0; i < command.size(); ++i) {
        if (command[i] != '%') { out += command[i]; continue; }
        const bool quoted = !out.empty() && out.back() == '"' && i + 2 < command.size() && command[i + 2] == '"';
        if (quoted) {
            out.pop_back();          // the opening quote
            i += 2;                  // the placeholder's character and the closing quote
        } else {
            ++i;                     // the placeholder's character
        }
    }
    return out;
}

TBrowserCommand SplitBrowserCommand(const std::string& command)
{
    std::string text = UpperCase(command);
    TBrowserCommand c;
    for (size_t at = text.size() >= 4 ? text.size() - 4 + 1 : 0; at-- > 0;) {
        const std::string window = text.substr(at, 4);
        if (window != ".EXE" && window != ".BAT" && window != ".COM") continue;
        std::string rest = text.substr(at + 4);
        const size_t first = rest.find_first_not_of(' '), last = rest.find_last_not_of(' ');
        rest = first == std::string::npos ? std::string() : rest.substr(first, last - first + 1);
        c.Parameters = rest.substr(std::min(rest.find_first_not_of('"'), rest.size()));
        text.erase(at + 4);
        break;
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();    // "program %1" without ".EXE"
    if (!text.empty() && text[0] == '"') text.erase(0, 1);
    c.Program = text;
    return c;
}
