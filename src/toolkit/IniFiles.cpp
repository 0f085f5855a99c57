#include "toolkit/IniFiles.h"
#include <windows.h>
#include "toolkit/pure/StrUtils.h"

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    char buffer[1024];
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, sizeof buffer,
                                       FFileName.c_str());
    return std::string(buffer, n);
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
