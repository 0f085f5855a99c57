#include "toolkit/IniFiles.h"
#include <windows.h>
#include "toolkit/pure/StrUtils.h"

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const
{
    // A value keeps at most 1023 characters, longer ones are cut. In UTF-8 a character takes up
    // to four bytes, so the value is read whole and cut on a character boundary, never inside one.
    std::string buffer(1024, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(), size,
                                                 FFileName.c_str());
        if (n + 1 < size || size >= 1u << 16) {
            buffer.resize(n);
            break;
        }
        buffer.assign(size * 2, '\0');
    }
    if (buffer.size() > 1023) {
        size_t end = 0;
        if (ValidUtf8(buffer))
            for (int i = 0; i < 1023 && end < buffer.size(); ++i) {
                ++end;
                while (end < buffer.size() && (static_cast<unsigned char>(buffer[end]) & 0xC0) == 0x80) ++end;
            }
        else
            end = 1023;
        buffer.resize(end);
    }
    return buffer;
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
