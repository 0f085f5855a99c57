#include "toolkit/WideText.h"
#include <windows.h>

std::wstring WideText(const std::string& s)
{
    if (s.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string NarrowText(const std::wstring& s)
{
    if (s.empty()) return std::string();
    const int len = static_cast<int>(s.size());
    // A character the code page lacks becomes "?", never a look-alike ("l" for "ł") that could
    // name another file.
    const DWORD flags = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int n = WideCharToMultiByte(CP_ACP, flags, s.data(), len, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, flags, s.data(), len, out.data(), n, nullptr, nullptr);
    return out;
}

unsigned LegacyCodePage()
{
    DWORD cp = 0;
    if (GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<char*>(&cp), sizeof cp) > 0 && cp != 0)
        return cp;
    return GetACP();
}

bool LegacyText(const std::string& s, std::string& legacy)
{
    const std::wstring w = WideText(s);
    legacy.clear();
    if (w.empty()) return s.empty();
    const UINT cp = LegacyCodePage();
    const int len = static_cast<int>(w.size());
    // Best-fit mappings ("ł" as "l") would name another file: only exact characters count.
    BOOL lost = FALSE;
    const DWORD flags = cp == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* lostAt = cp == CP_UTF8 ? nullptr : &lost;
    const int n = WideCharToMultiByte(cp, flags, w.data(), len, nullptr, 0, nullptr, lostAt);
    if (n <= 0 || lost) return false;
    legacy.assign(n, '\0');
    WideCharToMultiByte(cp, flags, w.data(), len, legacy.data(), n, nullptr, lostAt);
    return !lost;
}

int DrawTextOf(HDC dc, const std::string& text, RECT* r, UINT format)
{
    const std::wstring w = WideText(text);
    return DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), r, format);
}
