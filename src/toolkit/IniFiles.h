// A settings file over the profile functions. A bare file name lies in the Windows folder.
#pragma once
#include <string>
#include "toolkit/Classes.h"

class TIniFile : public TObject {
public:
    explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}
    const std::string& FileName() const { return FFileName; }
    // At most 1023 characters come back; longer values are cut.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // Decimal, or hexadecimal after "$", "0x" or "0X"; anything else gives def.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // Read as an integer; any value other than 0 is true.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    // A write the system refuses raises "Unable to write to <file>".
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);
private:
    std::string FFileName;
};
