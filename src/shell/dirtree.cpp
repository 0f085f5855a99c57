#include "shell/dirtree.h"
#include <shellapi.h>
#include <algorithm>
#include <cstdint>
#include <vector>
#include "toolkit/Forms.h"
#include "toolkit/LateBound.h"
#include "toolkit/pure/StrUtils.h"

namespace {
// The one placeholder: the child of a drive root nobody has looked into, which shows the
// expand button without touching the drive. Every other folder is inserted with its button
// asked for on request (NodeHasChildren).
const char* const Unlooked = "u**";

// The shell's names and icons. The shell library is loaded on first need, not with the program:
// it is big, and the window should be up before anything asks for it.
DWORD_PTR ShellFileInfo(const char* path, SHFILEINFOA& info, UINT flags)
{
    using Fn = DWORD_PTR(WINAPI*)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);
    static Fn fn = LateBound<Fn>("shell32.dll", "SHGetFileInfoA");
    return fn ? fn(path, 0, &info, sizeof info, flags) : 0;
}

// Pairs BeginUpdate with EndUpdate, also when a step throws.
class TUpdateGuard {
public:
    explicit TUpdateGuard(TTreeNTNodes* nodes) : FNodes(nodes) { nodes->BeginUpdate(); }
    ~TUpdateGuard() { FNodes->EndUpdate(); }
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;
private:
    TTreeNTNodes* FNodes;
};

// Calls each(entry) for the entries of a folder until it returns false; a folder that
// cannot be listed has none.
template <class F>
void ListFolder(const std::string& folder, F each)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "*.*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    try {
        do {
            if (!each(fd)) break;
        } while (FindNextFileA(h, &fd));
    } catch (...) {
        FindClose(h);
        throw;
    }
    FindClose(h);
}

bool FolderExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string CurrentDirectory()
{
    char buf[260] = "";
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return n && n < sizeof buf ? std::string(buf, n) : std::string();
}
}

Tdirtree::Tdirtree(TComponent* owner) : TTreeNT(owner)
{
    FShellIcons = new TImageList(this);
    OnDeletion = {this, &Tdirtree::NodeDeletion};
    ChildrenOnRequest = true;
    for (int i = 0; i < 26; ++i) LastDirOnDrive[i] = std::string(1, static_cast<char>('A' + i)) + ":\\";
    std::string current = UpperCase(CurrentDirectory());
    int drive = DriveIndexOf(current);
    if (drive >= 0) LastDirOnDrive[drive] = current;
    SetSortType(stNone);
}

Tdirtree::~Tdirtree()
{
    FDrivesRead = false;
    for (TTreeNTNode* n : AllNodes()) {
        delete DirName(n);
        n->SetData(nullptr);
    }
}

void Tdirtree::NodeDeletion(TObject* sender, TTreeNTNode* node)
{
    delete DirName(node);
    node->SetData(nullptr);
    OnDeleteItem(sender, node);
}

void Tdirtree::CreateWnd()
{
    TTreeNT::CreateWnd();
    // A window made again for new settings got its nodes back: they are not read again.
    if (ReadOnStart && !NodesRestored()) ReadDrives();
}

void Tdirtree::SetColor(TColor c)
{
    if (c == Color()) return;
    TTreeNT::SetColor(c);
    FShellIcons->SetBkColor(Color());
}

void Tdirtree::SetDirType(tDirType v)
{
    if (v == FDirType) return;
    FDirType = v;
    Reload();
}

void Tdirtree::SetAllowNetwork(bool v)
{
    if (v == FAllowNetwork) return;
    FAllowNetwork = v;
    Reload();
}

void Tdirtree::SetGoBelowRecycleBin(bool v)
{
    if (v == FGoBelowRecycleBin) return;
    FGoBelowRecycleBin = v;
    Reload();
}

bool Tdirtree::AcceptFolder(const std::string& path)
{
    if (!RecycleRuleAccepts(path, FGoBelowRecycleBin)) return false;
    bool add = true;
    if (OnAddDir) OnAddDir(this, path, add);
    return add;
}

bool Tdirtree::FolderAllowed(const std::string& parentPath, const char* name, unsigned attributes)
{
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || IsDotEntry(name)) return false;
    // The veto hook hears of every folder first, also of those the attribute filter drops.
    return AcceptFolder(parentPath + name + "\\") && AttributesAllowed(attributes, FDirType);
}

TTreeNTNode* Tdirtree::AddPathNode(TTreeNTNode* parent, const std::string& folder, const std::string& listedName,
                                   long attributes)
{
    std::string path = WithTrailingBackslash(folder);
    SHFILEINFOA info = {};
    int icon, openIcon;
    std::string name;
    const bool plain = attributes >= 0 && ShellShowsAsPlainFolder(listedName, static_cast<unsigned>(attributes));
    if (plain && FPlainIcon >= 0) {
        // The shell names a plain folder by its name and gives every one the same two icons,
        // asked once of it for the first plain folder: per folder it costs milliseconds each.
        name = listedName;
        icon = FPlainIcon;
        openIcon = FPlainOpenIcon;
    } else {
        ShellFileInfo(path.c_str(), info, SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_SMALLICON);
        icon = info.iIcon;
        name = info.szDisplayName;
        info.iIcon = 0;
        ShellFileInfo(path.c_str(), info, SHGFI_SYSICONINDEX | SHGFI_OPENICON | SHGFI_SMALLICON);
        openIcon = info.iIcon;
        if (plain) FPlainIcon = icon, FPlainOpenIcon = openIcon;
    }
    auto* data = new tdirname;
    data->DirPath = UpperCase(path);
    data->ListedName = listedName;
    TTreeNTNode* node;
    try {
        node = parent ? Items()->AddChildObject(parent, name, data, icon, openIcon)
                      : Items()->AddObject(nullptr, name, data, icon, openIcon);
    } catch (...) {
        delete data;
        throw;
    }
    return node;
}

void Tdirtree::ReadDrives()
{
    if (!HandleAllocated()) return;
    FDrivesRead = false;
    THourglass hourglass;
    if (!FShellIconsAsked) {
        // The system's small icons, shared with the shell (never loaded by us); without them
        // the tree still works, with blank images.
        FShellIconsAsked = true;
        SHFILEINFOA info = {};
        if (auto list = reinterpret_cast<HIMAGELIST>(ShellFileInfo("", info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON))) {
            FShellIcons->ShareHandle(list);
            SetImages(FShellIcons);
        }
    }
    {
        TUpdateGuard update(Items());
        Items()->Clear();
        if (Application) Application->ProcessMessages();
        DWORD mask = GetLogicalDrives();
        for (int i = 0; i < 26; ++i) {
            if (!(mask & (1u << i))) continue;
            std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
            int type = -1;
            auto driveType = [&] {
                if (type < 0) type = static_cast<int>(GetDriveTypeA(root.c_str()));
                return type;
            };
            if (!FAllowNetwork && driveType() == DRIVE_REMOTE) continue;
            if (!AcceptFolder(root)) continue;
            TTreeNTNode* node = AddPathNode(nullptr, root);
            // A drive that may be probed is probed when it is shown, as any folder.
            if (DriveFillFor(FastLoad ? DriveUnknown : driveType(), FastLoad) == DriveFill::Unlooked)
                Items()->AddChild(node, Unlooked);
        }
        FDrivesRead = true;
    }
    if (TTreeNTNode* s = Selected()) SetTopItem(s);
}

void Tdirtree::LoadChildren(TTreeNTNode* node)
{
    tdirname* data = DirName(node);
    if (!data || data->ChildrenLoaded) return;
    node->DeleteChildren();
    data->ChildrenLoaded = true;
    const std::string& dir = data->DirPath;
    const std::string disk = DiskPath(node);
    // The subfolders in the locale's order ignoring case, and of names it finds equal only the
    // first listed. Each name's sort key is made once and the keys compared as bytes: a call to
    // the system for every comparison cost more than the listing itself.
    struct TChild {
        std::string Key, Name;
        long Attributes;
    };
    std::vector<TChild> children;
    ListFolder(disk, [&](const WIN32_FIND_DATAA& fd) {
        if (FolderAllowed(dir, fd.cFileName, fd.dwFileAttributes))
            children.push_back({AnsiSortKey(fd.cFileName), fd.cFileName, static_cast<long>(fd.dwFileAttributes)});
        return true;
    });
    std::stable_sort(children.begin(), children.end(), [](const TChild& a, const TChild& b) { return a.Key < b.Key; });
    children.erase(std::unique(children.begin(), children.end(),
                               [](const TChild& a, const TChild& b) { return a.Key == b.Key; }),
                   children.end());
    for (const TChild& c : children) AddPathNode(node, disk + c.Name, c.Name, c.Attributes);
    data->HasFolders = !children.empty();
    node->SetHasChildren(data->HasFolders);
}

bool Tdirtree::NodeHasChildren(TTreeNTNode* node)
{
    tdirname* data = DirName(node);
    if (!data || data->ChildrenLoaded || node->getFirstChild()) return TTreeNT::NodeHasChildren(node);
    if (data->HasFolders < 0) {
        // One listing, stopped at the first folder to show.
        ++FProbes;
        bool found = false;
        ListFolder(DiskPath(node), [&](const WIN32_FIND_DATAA& fd) {
            found = FolderAllowed(data->DirPath, fd.cFileName, fd.dwFileAttributes);
            return !found;
        });
        data->HasFolders = found;
    }
    return data->HasFolders > 0;
}

std::string Tdirtree::DiskPath(TTreeNTNode* node)
{
    // The names from the drive root down; a node without its listed name keeps its DirPath.
    std::vector<const tdirname*> chain;
    for (TTreeNTNode* n = node; n; n = n->Parent()) {
        const tdirname* data = DirName(n);
        if (!data) break;
        chain.push_back(data);
        if (data->ListedName.empty()) break;
    }
    if (chain.empty()) return "";
    if (!chain.back()->ListedName.empty()) return DirName(node)->DirPath;
    std::string path = chain.back()->DirPath;
    for (auto it = chain.rbegin() + 1; it != chain.rend(); ++it) path += (*it)->ListedName + "\\";
    return path;
}

bool Tdirtree::CanExpand(TTreeNTNode* node)
{
    {
        THourglass hourglass;
        LoadChildren(node);
    }
    return TTreeNT::CanExpand(node);
}

void Tdirtree::Change(TTreeNTNode* node)
{
    // While the drives are rebuilt the tree is incomplete: its owner hears nothing.
    if (TreeDestroying() || !FDrivesRead) return;
    ++FChanges;
    if (tdirname* data = DirName(node)) {
        int drive = DriveIndexOf(UpperCase(data->DirPath));
        if (drive >= 0) LastDirOnDrive[drive] = data->DirPath;
    }
    TTreeNT::Change(node);
}

std::string Tdirtree::Directory()
{
    tdirname* data = DirName(Selected());
    return data ? data->DirPath : "?";
}

void Tdirtree::SetDirectory(const std::string& value)
{
    std::string path = value;
    if (!PrepareDirectoryValue(path, FolderExists)) return;
    THourglass hourglass;
    TUpdateGuard update(Items());         // makes the window (and reads the drives) if needed
    TTreeNTNode* found = nullptr;
    for (const std::string& prefix : PathPrefixes(path)) {
        TTreeNTNode* n = found ? found->getFirstChild() : Items()->GetFirstNode();
        for (; n; n = n->getNextSibling()) {
            tdirname* data = DirName(n);
            if (data && AnsiCompareText(data->DirPath, prefix) == 0) break;
        }
        if (!n) return;                   // filtered out or gone: the selection stays
        if (!DirName(n)->ChildrenLoaded) LoadChildren(n);
        found = n;
    }
    if (found) {
        found->SetSelected(true);
        SetTopItem(found);
    }
}

TTreeNTNode* Tdirtree::FindNode(const std::string& path)
{
    std::vector<std::string> prefixes = PathPrefixes(UpperCase(WithTrailingBackslash(path)));
    if (prefixes.empty()) return nullptr;
    THourglass hourglass;
    TTreeNTNode* found = nullptr;
    for (const std::string& prefix : prefixes) {
        TTreeNTNode* n = found ? found->getFirstChild() : Items()->GetFirstNode();
        for (; n; n = n->getNextSibling()) {
            tdirname* data = DirName(n);
            if (data && data->DirPath == prefix) break;
        }
        if (!n) return nullptr;
        found = n;
    }
    return found;
}

void Tdirtree::Reload()
{
    std::string previous = Directory();
    ReadDrives();
    SetDirectory(previous);
    if (Items()->GetFirstNode() && !Selected()) SetDirectory(previous.substr(0, 3));
    if (!Items()->GetFirstNode() || Selected()) return;
    try {
        // The first drive somebody has looked into (or the last drive), at its last folder.
        std::vector<TTreeNTNode*> drives;
        std::vector<bool> unlooked;
        for (TTreeNTNode* n = Items()->GetFirstNode(); n; n = n->getNextSibling()) {
            TTreeNTNode* child = n->getFirstChild();
            drives.push_back(n);
            unlooked.push_back(child && child->Text() == Unlooked);
        }
        TTreeNTNode* drive = drives[FallbackDriveIndex(unlooked)];
        tdirname* data = DirName(drive);
        int letter = data ? DriveIndexOf(UpperCase(data->DirPath)) : -1;
        if (letter < 0) return;
        SetDirectory(LastDirOnDrive[letter]);
        if (Directory() != LastDirOnDrive[letter]) {
            // The drive's root, with one OnChange for it.
            int changes = FChanges;
            drive->SetSelected(true);
            if (FChanges == changes) Change(drive);
        }
    } catch (const std::exception&) {
        // The tree stays as it is: without a selection.
    }
}
