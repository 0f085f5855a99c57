#include "about/GoToWeb.h"
#include <windows.h>
#include <algorithm>
#include "about/pure/BrowserCommand.h"
#include "toolkit/Forms.h"
#include "toolkit/LateBound.h"

namespace {
// A registry key opened for reading, closed on every way out.
class TRegKey {
public:
    TRegKey(HKEY root, const std::string& path)
    {
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &FKey) != ERROR_SUCCESS) FKey = nullptr;
    }
    ~TRegKey() { if (FKey) RegCloseKey(FKey); }
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;
    HKEY Handle() const { return FKey; }
    // The key's default value as text (expanded when it holds environment variables); empty
    // when the key or the value is missing or is no text.
    std::string DefaultValue() const
    {
        if (!FKey) return {};
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(FKey, nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
        if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
        std::string value(size + 1, '\0');
        DWORD capacity = DWORD(value.size());
        if (RegQueryValueExA(FKey, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &capacity) !=
            ERROR_SUCCESS)
            return {};
        value.resize(std::min<size_t>(capacity, value.size()));
        value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
        if (type == REG_EXPAND_SZ) {
            const DWORD need = ExpandEnvironmentStringsA(value.c_str(), nullptr, 0);
            std::string expanded(need, '\0');
            if (need && ExpandEnvironmentStringsA(value.c_str(), &expanded[0], need)) {
                expanded.resize(expanded.find('\0'));
                return expanded;
            }
        }
        return value;
    }
private:
    HKEY FKey = nullptr;
};
}

std::string FindBrowserCommand()
{
    for (const char* ext : {".HTM", ".HTML", ".SHTML", ".SHTM"}) {
        TRegKey key(HKEY_CLASSES_ROOT, ext);
        if (!key.Handle()) continue;
        const std::string cls = key.DefaultValue();
        std::string command;
        if (!cls.empty()) command = TRegKey(HKEY_CLASSES_ROOT, cls + "\\shell\\open\\command").DefaultValue();
        if (command.empty()) command = TRegKey(key.Handle(), "shell\\open\\command").DefaultValue();
        if (!command.empty()) return StripPlaceholders(command);
    }
    return {};
}

TGoToWeb::TGoToWeb(TComponent* owner)
    : TComponent(owner), Url("http://sonidex.example/"), EMail("sonidex@sonidex.example") {}

// Starts the browser with its own parameters followed by the given text.
bool TGoToWeb::Launch(const std::string& tail)
{
    const TBrowserCommand c = SplitBrowserCommand(FindBrowserCommand());
    if (c.Program.empty()) return false;
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const auto shellExecute = LateBound<ShellExecuteFn>("shell32.dll", "ShellExecuteA");
    if (!shellExecute) return false;
    const std::string parameters = c.Parameters + tail;
    HINSTANCE r = shellExecute(Application ? Application->Handle() : nullptr, nullptr, c.Program.c_str(),
                               parameters.c_str(), nullptr, BrowserState == gwMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(r) > 32;
}

bool TGoToWeb::OpenWebPage() { return Launch(" " + Url); }

// The address goes to the web browser as a "mailto:" address.
bool TGoToWeb::SendMail() { return Launch(" mailto:" + EMail); }
