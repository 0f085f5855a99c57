// The folder tree: the machine's drives at the top, their folders below, read from disk only
// when a node is expanded or a path is selected through it. Texts and icons are the shell's
// (display names, the system's small icons by index), as in the shell's own folder views.
#pragma once
#include <string>
#include "shell/TreeNT.h"
#include "shell/pure/DirRules.h"
#include "toolkit/pure/StringList.h"

// The data of every real node (drive roots and folders; placeholders have none), owned by
// the node: freed when the node is deleted.
class tdirname : public TObject {
public:
    std::string DirPath;            // upper case, ending in "\" (C:\SAMPLES\DRUMS\ for Drums)
    bool ChildrenLoaded = false;
    // The folder's name as its parent's listing spelt it (empty for drive roots).
    std::string ListedName;
    // Whether the folder holds a folder to show: -1 not looked at yet, 0 no, 1 yes. Asked of
    // the disk once, when the tree first shows the node.
    signed char HasFolders = -1;
};

// The veto hook: the path and the add flag, which the handler may clear.
using taddfileevent = TEvent<TObject*, const std::string&, bool&>;

class Tdirtree : public TTreeNT {
public:
    explicit Tdirtree(TComponent* owner);
    ~Tdirtree() override;

    // When true, drive roots are never looked at while the drive level is built.
    bool FastLoad = false;
    // The system small-icon list, shared: never destroyed by the tree.
    TImageList* ShellIcons() const { return FShellIcons; }
    // The last folder selected on each drive, indexed by letter (0 = A).
    std::string LastDirOnDrive[26];
    taddfileevent OnAddDir;
    // Raised after a node's data object has been freed.
    TTVExpandedEvent OnDeleteItem;
    // How many folders have been listed to learn whether they hold a folder.
    int Probes() const { return FProbes; }
    // Read the drives as soon as the window exists.
    bool ReadOnStart = true;
    // True once the drive level has been built; false while it is rebuilt.
    bool DrivesRead() const { return FDrivesRead; }
    tDirType DirType() const { return FDirType; }
    void SetDirType(tDirType v);
    bool AllowNetwork() const { return FAllowNetwork; }
    void SetAllowNetwork(bool v);
    bool GoBelowRecycleBin() const { return FGoBelowRecycleBin; }
    void SetGoBelowRecycleBin(bool v);

    // The selected folder, or "?" when there is none.
    std::string Directory();
    // Selects a folder, reading the folders along its path as needed; "?" selects nothing.
    void SetDirectory(const std::string& value);
    // Clears the tree and builds the drive level again.
    void ReadDrives();
    // ReadDrives, then the folder that was selected before (or the best one left).
    void Reload();
    // The node of a path among the nodes already read; never reads the disk.
    TTreeNTNode* FindNode(const std::string& path);
    void SetColor(TColor c) override;

    // The data object of a node (null for placeholders).
    static tdirname* DirName(const TTreeNTNode* node) { return node ? static_cast<tdirname*>(node->Data()) : nullptr; }
protected:
    void CreateWnd() override;
    bool CanExpand(TTreeNTNode* node) override;
    void Change(TTreeNTNode* node) override;
    // Reads a node's subfolders (once), sorted by name, in place of its placeholder.
    void LoadChildren(TTreeNTNode* node);
    // The expand button: a read node has one when it has children, a drive nobody looked
    // into always has one, and any other folder when it holds a folder to show, which is
    // asked of the disk once, when the control first shows the node.
    bool NodeHasChildren(TTreeNTNode* node) override;
    bool AcceptFolder(const std::string& path);
private:
    void NodeDeletion(TObject* sender, TTreeNTNode* node);
    // attributes: the folder's listing bits, or -1 when unknown (drive roots).
    TTreeNTNode* AddPathNode(TTreeNTNode* parent, const std::string& path, const std::string& name = "",
                             long attributes = -1);
    bool FolderAllowed(const std::string& parentPath, const char* name, unsigned attributes);
    // The node's folder spelt as on disk, ending in "\": DirPath is upper-cased, and where the
    // file system tells letter case apart the system finds such a name only by reading its
    // parent folder whole, a millisecond a name in a folder of thousands.
    std::string DiskPath(TTreeNTNode* node);

    TImageList* FShellIcons;
    bool FShellIconsAsked = false;       // the system list is fetched with the first drives read
    bool FDrivesRead = false;
    tDirType FDirType = {dtNormal, dtAll};
    bool FAllowNetwork = true;
    bool FGoBelowRecycleBin = true;
    int FChanges = 0;                           // selection steps run, to raise one OnChange in Reload
    int FProbes = 0;
    int FPlainIcon = -1, FPlainOpenIcon = -1;   // the shell's icons of a plain folder, asked once
};
