// The folder tree's rules that need no window: which folders it shows, how a path is walked
// level by level, and what the drive level holds.
#pragma once
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// Attribute filter elements for folders, in their published order.
enum tdirattr { dtReadonly, dtHidden, dtSystem, dtArchive, dtNormal, dtAll };

// A set of tdirattr.
class tDirType {
public:
    constexpr tDirType() = default;
    constexpr tDirType(std::initializer_list<tdirattr> items)
    {
        for (tdirattr a : items) FBits |= 1u << a;
    }
    constexpr bool Contains(tdirattr a) const { return (FBits >> a) & 1u; }
    constexpr bool operator==(const tDirType& o) const { return FBits == o.FBits; }
    constexpr bool operator!=(const tDirType& o) const { return FBits != o.FBits; }
private:
    unsigned FBits = 0;
};

// File attribute bits as the folder listing reports them.
constexpr unsigned faReadOnly = 0x01, faHidden = 0x02, faSysFile = 0x04, faDirectory = 0x10, faArchive = 0x20;

// Whether a folder with these attribute bits passes the filter. dtAll admits everything; a
// hidden, system or archive folder needs its own element; a folder with none of the three
// needs dtNormal. dtReadonly is never consulted.
bool AttributesAllowed(unsigned attributes, tDirType dirType);

// The recycle rule: with goBelowRecycleBin false, a path (ending in "\") that lies below a
// "\recycled\" folder is refused; the recycle folder itself stays. Letters are compared
// ignoring case.
bool RecycleRuleAccepts(const std::string& path, bool goBelowRecycleBin);

// "." and "..", the listing's entries for the folder itself and its parent.
bool IsDotEntry(const char* name);

// The path with a "\" appended when it is not empty and lacks one.
std::string WithTrailingBackslash(std::string path);

// The prefixes a path is walked by, one per "\": for "C:\A\B\" they are "C:\", "C:\A\" and
// "C:\A\B\". Empty when the path holds no "\".
std::vector<std::string> PathPrefixes(const std::string& path);

// The value written to the tree's Directory, made ready for the walk: "?" (no folder) and
// values that name no existing folder give false. A value lacking its final "\" gets one; a
// drive root (three characters) is not tested for existence; folderExists gets the path
// without its final "\". The result is upper-cased (ASCII letters).
bool PrepareDirectoryValue(std::string& value, const std::function<bool(const std::string&)>& folderExists);

// What a drive root carries when the drive level is built.
enum class DriveFill { Unlooked, Probe };
constexpr int DriveUnknown = 0, DriveNoRootDir = 1, DriveRemovable = 2, DriveFixed = 3, DriveRemote = 4,
    DriveCDRom = 5, DriveRamDisk = 6;
// With fastLoad, and for drives that may have no medium or whose type is unclear, the root is
// not looked at ("u**" placeholder); fixed, network and RAM drives are probed.
DriveFill DriveFillFor(int driveType, bool fastLoad);

// Whether the shell shows a folder listed with these attribute bits under its own name and with
// the plain folder icons: it only customises folders that carry the read-only or system
// attribute (with a desktop.ini), and a name holding ".{" may be a class junction.
bool ShellShowsAsPlainFolder(const std::string& name, unsigned attributes);

// The drive letter's index (0 for A) of a path's first character, or -1.
int DriveIndexOf(const std::string& path);

// Reload's last resort: the first drive whose first child is not the "u**" placeholder, or
// the last drive. firstChildUnlooked has one flag per drive node, in order; -1 when empty.
int FallbackDriveIndex(const std::vector<bool>& firstChildUnlooked);
