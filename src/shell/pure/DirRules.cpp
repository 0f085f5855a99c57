#include "shell/pure/DirRules.h"
#include <algorithm>
#include "toolkit/pure/StrUtils.h"

bool AttributesAllowed(unsigned attributes, tDirType dirType)
{
    if (dirType.Contains(dtAll)) return true;
    if ((attributes & faHidden) && !dirType.Contains(dtHidden)) return false;
    if ((attributes & faSysFile) && !dirType.Contains(dtSystem)) return false;
    if ((attributes & faArchive) && !dirType.Contains(dtArchive)) return false;
    return dirType.Contains(dtNormal) || (attributes & (faHidden | faSysFile | faArchive)) != 0;
}

bool RecycleRuleAccepts(const std::string& path, bool goBelowRecycleBin)
{
    if (goBelowRecycleBin) return true;
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    size_t at = lower.find("\\recycled\\");
    if (at == std::string::npos) return true;
    // Something follows "\recycled\": a folder inside the recycle folder.
    return at + 10 >= lower.size();
}

bool IsDotEntry(const char* name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

std::string WithTrailingBackslash(std::string path)
{
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

std::vector<std::string> PathPrefixes(const std::string& path)
{
    std::vector<std::string> prefixes;
    for (size_t i = 0; i < path.size(); ++i)
        if (path[i] == '\\') prefixes.push_back(path.substr(0, i + 1));
    return prefixes;
}

bool PrepareDirectoryValue(std::string& value, const std::function<bool(const std::string&)>& folderExists)
{
    if (value == "?" || value.empty()) return false;
    std::string v = WithTrailingBackslash(value);
    if (v.size() != 3 && !folderExists(v.substr(0, v.size() - 1))) return false;
    if (v.find('\\') == std::string::npos) return false;
    value = UpperCase(v);
    return true;
}

DriveFill DriveFillFor(int driveType, bool fastLoad)
{
    if (fastLoad) return DriveFill::Unlooked;
    switch (driveType) {
    case DriveUnknown: case DriveNoRootDir: case DriveRemovable: case DriveCDRom: return DriveFill::Unlooked;
    default: return DriveFill::Probe;
    }
}

int DriveIndexOf(const std::string& path)
{
    if (path.empty()) return -1;
    char c = path[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return c >= 'A' && c <= 'Z' ? c - 'A' : -1;
}

int FallbackDriveIndex(const std::vector<bool>& firstChildUnlooked)
{
    if (firstChildUnlooked.empty()) return -1;
    size_t i = 0;
    while (firstChildUnlooked[i] && i + 1 < firstChildUnlooked.size()) ++i;
    return static_cast<int>(i);
}

bool ShellShowsAsPlainFolder(const std::string& name, unsigned attributes)
{
    return !(attributes & (faReadOnly | faSysFile)) && name.find(".{") == std::string::npos;
}
