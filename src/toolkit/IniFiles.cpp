#include "toolkit/IniFiles.h"
#include <windows.h>
#include "toolkit/pure/StrUtils.h"

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    // A value is read whole, however long: in UTF-8 a character takes up to four bytes, and a
    // value cut short could end inside one, or name another folder.
    std::string buffer(1024, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(), size,
                                                 FFileName.c_str());
        if (n + 1 < size || size >= 1u << 20) return buffer.substr(0, n);
        buffer.assign(size * 2, '\0');
    }
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const
{
    std::string s = ReadString(section, key, "");
    return StrToIntDef(s, def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), FFileName.c_str()))
        throw Exception(Format("Unable to write to %s", FFileName));
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}
