// The tree view control: the system's "SysTreeView32" with a node object per item.
//
// A node keeps its text, data reference and image indexes; the system item carries the text
// too, and is inserted with its images "on request", so the control asks for them only when it
// draws the item.
// Parent, children and siblings are asked of the system control; the item's parameter holds
// the node object. A tree may also leave the expand button to be asked for
// (ChildrenOnRequest): the control then asks whether a node has children only when it shows
// the node, and the NodeHasChildren step answers. When the window is recreated (a colour
// change, new options), the node objects outlive the old window and are inserted again into
// the new one: their data is neither lost nor freed.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "toolkit/Forms.h"
#include "toolkit/ImgList.h"

#ifndef TVIS_FOCUSED
#define TVIS_FOCUSED 0x0001
#endif

class TCustomTreeNT;
class TTreeNTNodes;
class TTreeNTNode;

// Bad node indexes.
class ETreeNTError : public Exception {
public:
    using Exception::Exception;
};

// The control refused an item.
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

enum TTreeOption : unsigned {
    toShowLines = 1u << 0, toShowRoot = 1u << 1, toShowButtons = 1u << 2, toReadOnly = 1u << 3,
    toHideSelection = 1u << 4, toToolTips = 1u << 5, toHotTrack = 1u << 6, toCheckBoxes = 1u << 7,
    toSingleExpand = 1u << 8, toInfoTip = 1u << 9, toFullRowSelect = 1u << 10, toNoScroll = 1u << 11,
    toWantReturn = 1u << 12,
};
using TTreeOptions = unsigned;

enum TSortType { stNone, stData, stText, stBoth };
enum TDragMode { dmManual, dmAutomatic };

using TTVChangingEvent = TEvent<TObject*, TTreeNTNode*, bool&>;
using TTVChangedEvent = TEvent<TObject*, TTreeNTNode*>;
using TTVExpandingEvent = TEvent<TObject*, TTreeNTNode*, bool&>;
using TTVCollapsingEvent = TEvent<TObject*, TTreeNTNode*, bool&>;
using TTVExpandedEvent = TEvent<TObject*, TTreeNTNode*>;
using TTVEditingEvent = TEvent<TObject*, TTreeNTNode*, bool&>;
using TTVEditedEvent = TEvent<TObject*, TTreeNTNode*, std::string&>;
using TTVCompareEvent = TEvent<TObject*, TTreeNTNode*, TTreeNTNode*, int, int&>;

class TTreeNTNode : public TObject {
public:
    explicit TTreeNTNode(TTreeNTNodes* owner) : FOwner(owner) {}
    TTreeNTNode(const TTreeNTNode&) = delete;
    TTreeNTNode& operator=(const TTreeNTNode&) = delete;

    TTreeNTNodes* Owner() const { return FOwner; }
    TCustomTreeNT* TreeView() const;
    HTREEITEM ItemId() const { return FItemId; }

    const std::string& Text() const { return FText; }
    void SetText(const std::string& s);
    void* Data() const { return FData; }
    void SetData(void* d);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int i);
    int SelectedIndex() const { return FSelectedIndex; }
    void SetSelectedIndex(int i);
    // True while the node is being deleted, or while its children are.
    bool Deleting() const { return FDeleting; }

    // Lower-case "get": windowsx.h has macros named GetFirstChild and GetNextSibling.
    TTreeNTNode* Parent() const;
    TTreeNTNode* getFirstChild() const;
    TTreeNTNode* GetLastChild() const;
    TTreeNTNode* getNextSibling() const;
    TTreeNTNode* getPrevSibling() const;
    // The next node in the order of the tree's lines when all are expanded.
    TTreeNTNode* GetNext() const;
    int Count() const;
    // Child by index; "List index out of bounds (%d)" when there is none.
    TTreeNTNode* Item(int index) const;
    int Level() const;

    // Whether the node shows an expand button; a node whose answer is asked for on request
    // gets it from the tree's NodeHasChildren step.
    bool HasChildren() const;
    void SetHasChildren(bool v);
    bool Expanded() const { return State(TVIS_EXPANDED); }
    void SetExpanded(bool v) { v ? Expand(false) : Collapse(false); }
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const { return State(TVIS_SELECTED); }
    void SetSelected(bool v);
    bool Focused() const;
    bool Cut() const { return State(TVIS_CUT); }
    void SetCut(bool v) { SetState(TVIS_CUT, v); }
    bool DropTarget() const { return State(TVIS_DROPHILITED); }
    void SetDropTarget(bool v);
    void MakeVisible();
    bool IsVisible() const;
    TRect DisplayRect(bool textOnly) const;

    void Delete();
    void DeleteChildren();
private:
    friend class TTreeNTNodes;
    friend class TCustomTreeNT;
    bool State(UINT mask) const;
    void SetState(UINT mask, bool on);
    // Tells the system item that a value has changed: the new text, or to ask for an image again.
    void Touch(UINT mask);
    void ExpandItem(bool expand, bool recurse);
    HWND Window() const;

    TTreeNTNodes* FOwner;
    HTREEITEM FItemId = nullptr;
    std::string FText;
    void* FData = nullptr;
    int FImageIndex = -1, FSelectedIndex = -1;
    bool FDeleting = false;
};

// The control's nodes (its Items).
class TTreeNTNodes : public TObject {
public:
    explicit TTreeNTNodes(TCustomTreeNT* owner) : FOwner(owner) {}
    TCustomTreeNT* Owner() const { return FOwner; }

    // At the end of the level of sibling (of the top level when sibling is null).
    TTreeNTNode* Add(TTreeNTNode* sibling, const std::string& s) { return AddObject(sibling, s, nullptr); }
    // A new node may be given its two image indexes at once: no second message to the control.
    TTreeNTNode* AddObject(TTreeNTNode* sibling, const std::string& s, void* data, int image = -1,
                           int selectedImage = -1);
    // As the last child of parent (at the top level when parent is null).
    TTreeNTNode* AddChild(TTreeNTNode* parent, const std::string& s) { return AddChildObject(parent, s, nullptr); }
    TTreeNTNode* AddChildObject(TTreeNTNode* parent, const std::string& s, void* data, int image = -1,
                                int selectedImage = -1);
    void Delete(TTreeNTNode* node) { if (node) node->Delete(); }
    void Clear();
    // Every node; 0 while the control has no window.
    int Count() const;
    TTreeNTNode* GetFirstNode() const;
    // Node by its line in the fully expanded tree; "Invalid index" when there is none.
    TTreeNTNode* Item(int index) const;
    // The node of a system item (null for none).
    TTreeNTNode* GetNode(HTREEITEM item) const;
    // Nested: the outermost begin turns redrawing off, the outermost end turns it back on.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
private:
    friend class TCustomTreeNT;
    TTreeNTNode* Insert(TTreeNTNode* parent, const std::string& s, void* data, int image, int selectedImage);
    TCustomTreeNT* FOwner;
    int FUpdateCount = 0;
};

class TCustomTreeNT : public TWinControl {
public:
    explicit TCustomTreeNT(TComponent* owner);
    ~TCustomTreeNT() override;
    void BeforeDestruction() override;

    TTreeNTNodes* Items() { return &FItems; }
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* list);
    TImageList* StateImages() const { return FStateImages; }
    void SetStateImages(TImageList* list);
    int Indent() const { return FIndent; }
    void SetIndent(int v);
    // 0 or less: the system's height.
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int v);
    int ScrollTime() const { return FScrollTime; }
    void SetScrollTime(int v);          // at least 100
    TTreeOptions Options() const { return FOptions; }
    void SetOptions(TTreeOptions v);
    TSortType SortType() const { return FSortType; }
    void SetSortType(TSortType v);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v);
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode v);
    void SetColor(TColor c) override;
    // The text typed so far for the control's incremental search.
    std::string SearchString();

    TTreeNTNode* Selected();
    void SetSelected(TTreeNTNode* node);
    TTreeNTNode* TopItem();
    void SetTopItem(TTreeNTNode* node);
    TTreeNTNode* GetNodeAt(int x, int y);
    // Sorts the top level (recursively: every level) with OnCompare or by text.
    void AlphaSort(bool recurse = true);

    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVCompareEvent OnCompare;
    TTVExpandedEvent OnCollapsed;
    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
    TTVExpandedEvent OnDeletion;
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;

    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override;
    void KeyDown(WORD& key, TShiftState s) override;
    void Notification(TComponent* component, bool removing) override;
protected:
    // The steps the control runs for the system's notifications; each raises its event.
    virtual bool CanChange(TTreeNTNode* node);
    virtual void Change(TTreeNTNode* node);
    virtual bool CanExpand(TTreeNTNode* node);
    virtual bool CanCollapse(TTreeNTNode* node);
    virtual void Expand(TTreeNTNode* node);
    virtual void Collapse(TTreeNTNode* node);
    virtual bool CanEdit(TTreeNTNode* node);
    virtual void Edit(TTreeNTNode* node, std::string& s);
    virtual void Delete(TTreeNTNode* node);
    virtual void GetImageIndex(TTreeNTNode* node);
    virtual void GetSelectedIndex(TTreeNTNode* node);
    // Asked when the control shows a node inserted with ChildrenOnRequest: whether it gets an
    // expand button. The default: whether it has a child.
    virtual bool NodeHasChildren(TTreeNTNode* node);
    // Nodes are inserted with their expand button asked for on request (set before any node
    // is added).
    bool ChildrenOnRequest = false;

    const char* ClassName() const override { return "TTreeNT"; }
    void CreateParams(TCreateParams& p) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void HandleCreated() override;
    // True when the last window creation put saved nodes back.
    bool NodesRestored() const { return FNodesRestored; }
    // Every node, the tree's lines in order, also while the window is away for recreation.
    std::vector<TTreeNTNode*> AllNodes();
    // True from the start of the control's destruction.
    bool TreeDestroying() const { return FTreeDestroying; }
private:
    friend class TTreeNTNode;
    friend class TTreeNTNodes;
    struct TSavedNode { TTreeNTNode* Node; int Level; bool Expanded; };
    LRESULT Notify(NMHDR* hdr);
    void ApplyImageList(TImageList* list, WPARAM kind);
    void SaveNodes();
    void RestoreNodes();
    void SortLevel(HTREEITEM parent, bool recurse);
    static int CALLBACK CompareNodes(LPARAM a, LPARAM b, LPARAM tree);
    DWORD OptionStyles(TTreeOptions o) const;
    void FreeNodes(const std::vector<TTreeNTNode*>& nodes);

    TTreeNTNodes FItems{this};
    TImageList* FImages = nullptr;
    TImageList* FStateImages = nullptr;
    int FIndent = 19;
    int FItemHeight = 0;
    int FScrollTime = 100;
    TTreeOptions FOptions = toShowButtons | toShowLines;
    TSortType FSortType = stNone;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
    TDragMode FDragMode = dmManual;
    // The nodes between the old window's end and the new window's start.
    std::vector<TSavedNode> FSaved;
    int FSavedTop = -1, FSavedSelected = -1;
    bool FSaving = false;            // the window goes away for recreation: keep the nodes
    bool FRestoring = false;         // nodes go back in: no steps, no events
    bool FNodesRestored = false;
    bool FManualExpand = false;      // a programmatic expand has run its step already
    bool FTreeDestroying = false;
};

// The published form of the control.
class TTreeNT : public TCustomTreeNT {
public:
    using TCustomTreeNT::TCustomTreeNT;
};
