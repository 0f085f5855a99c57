#include "shell/TreeNT.h"
#include "toolkit/CommonControls.h"
#include <windowsx.h>
#include <algorithm>
#include <cstring>

namespace {
HTREEITEM NextItem(HWND h, HTREEITEM item, UINT code)
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

// Item settings for a node: its text, and the images (and, if wanted, whether the item has
// children) asked for when the control draws. The text is the item's own: the control measures
// every item of a level it expands, and asking for each text through the parent window cost a
// third of the time of the expansion of a large folder.
void ItemSettings(TVITEMA& item, const std::string& text, bool children)
{
    item.mask |= TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = item.iSelectedImage = I_IMAGECALLBACK;
    if (children) {
        item.mask |= TVIF_CHILDREN;
        item.cChildren = I_CHILDRENCALLBACK;
    }
}

bool SortsByText(TSortType t) { return t == stText || t == stBoth; }
bool SortsByData(TSortType t) { return t == stData || t == stBoth; }
}

// ---- TTreeNTNode ---------------------------------------------------------------------------

TCustomTreeNT* TTreeNTNode::TreeView() const { return FOwner->Owner(); }

HWND TTreeNTNode::Window() const { return TreeView()->Handle(); }

void TTreeNTNode::Touch(UINT mask)
{
    if (!FItemId || !TreeView()->HandleAllocated()) return;
    TVITEMA item = {};
    item.hItem = FItemId;
    ItemSettings(item, FText, false);
    item.mask = TVIF_HANDLE | mask;
    SendMessageA(TreeView()->Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNTNode::SetText(const std::string& s)
{
    FText = s;
    Touch(TVIF_TEXT);
    TCustomTreeNT* tree = TreeView();
    if (FItemId && SortsByText(tree->FSortType) && FOwner->UpdateCount() == 0) {
        TTreeNTNode* parent = Parent();
        tree->SortLevel(parent ? parent->FItemId : TVI_ROOT, false);
    }
}

void TTreeNTNode::SetData(void* d)
{
    FData = d;
    TCustomTreeNT* tree = TreeView();
    if (FItemId && SortsByData(tree->FSortType) && tree->OnCompare && FOwner->UpdateCount() == 0) {
        TTreeNTNode* parent = Parent();
        tree->SortLevel(parent ? parent->FItemId : TVI_ROOT, false);
    }
}

void TTreeNTNode::SetImageIndex(int i)
{
    FImageIndex = i;
    Touch(TVIF_IMAGE);
}

void TTreeNTNode::SetSelectedIndex(int i)
{
    FSelectedIndex = i;
    Touch(TVIF_SELECTEDIMAGE);
}

TTreeNTNode* TTreeNTNode::Parent() const
{
    return FOwner->GetNode(NextItem(Window(), FItemId, TVGN_PARENT));
}

TTreeNTNode* TTreeNTNode::getFirstChild() const
{
    return FOwner->GetNode(NextItem(Window(), FItemId, TVGN_CHILD));
}

TTreeNTNode* TTreeNTNode::GetLastChild() const
{
    TTreeNTNode* last = getFirstChild();
    for (TTreeNTNode* n = last; n; n = n->getNextSibling()) last = n;
    return last;
}

TTreeNTNode* TTreeNTNode::getNextSibling() const
{
    return FOwner->GetNode(NextItem(Window(), FItemId, TVGN_NEXT));
}

TTreeNTNode* TTreeNTNode::getPrevSibling() const
{
    return FOwner->GetNode(NextItem(Window(), FItemId, TVGN_PREVIOUS));
}

TTreeNTNode* TTreeNTNode::GetNext() const
{
    if (TTreeNTNode* child = getFirstChild()) return child;
    for (const TTreeNTNode* n = this; n; n = n->Parent())
        if (TTreeNTNode* next = n->getNextSibling()) return next;
    return nullptr;
}

int TTreeNTNode::Count() const
{
    int n = 0;
    HWND h = Window();
    for (HTREEITEM c = NextItem(h, FItemId, TVGN_CHILD); c; c = NextItem(h, c, TVGN_NEXT)) ++n;
    return n;
}

TTreeNTNode* TTreeNTNode::Item(int index) const
{
    TTreeNTNode* n = index >= 0 ? getFirstChild() : nullptr;
    for (int i = 0; n && i < index; ++i) n = n->getNextSibling();
    if (!n) throw ETreeNTError(Format("List index out of bounds (%d)", index));
    return n;
}

int TTreeNTNode::Level() const
{
    int level = 0;
    for (TTreeNTNode* p = Parent(); p; p = p->Parent()) ++level;
    return level;
}

bool TTreeNTNode::HasChildren() const
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN;
    item.hItem = FItemId;
    SendMessageA(Window(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    if (item.cChildren == I_CHILDRENCALLBACK) return TreeView()->NodeHasChildren(const_cast<TTreeNTNode*>(this));
    return item.cChildren > 0;
}

void TTreeNTNode::SetHasChildren(bool v)
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_CHILDREN;
    item.hItem = FItemId;
    item.cChildren = v ? 1 : 0;
    SendMessageA(Window(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

bool TTreeNTNode::State(UINT mask) const
{
    return (SendMessageA(Window(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId), mask) & mask) != 0;
}

void TTreeNTNode::SetState(UINT mask, bool on)
{
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_STATE;
    item.hItem = FItemId;
    item.stateMask = mask;
    item.state = on ? mask : 0;
    SendMessageA(Window(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNTNode::ExpandItem(bool expand, bool recurse)
{
    HWND h = Window();
    TCustomTreeNT* tree = TreeView();
    if (expand ? tree->CanExpand(this) : tree->CanCollapse(this)) {
        // The step has run: the control's own notifications for this change are not steps again.
        bool was = Expanded();
        tree->FManualExpand = true;
        SendMessageA(h, TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(FItemId));
        tree->FManualExpand = false;
        if (Expanded() != was) expand ? tree->Expand(this) : tree->Collapse(this);
    }
    if (recurse)
        for (TTreeNTNode* c = getFirstChild(); c; c = c->getNextSibling()) c->ExpandItem(expand, true);
}

void TTreeNTNode::Expand(bool recurse) { ExpandItem(true, recurse); }
void TTreeNTNode::Collapse(bool recurse) { ExpandItem(false, recurse); }

void TTreeNTNode::SetSelected(bool v)
{
    if (v) SendMessageA(Window(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FItemId));
    else if (Selected()) SendMessageA(Window(), TVM_SELECTITEM, TVGN_CARET, 0);
}

bool TTreeNTNode::Focused() const { return State(TVIS_FOCUSED); }

void TTreeNTNode::SetDropTarget(bool v)
{
    if (v) SendMessageA(Window(), TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(FItemId));
    else if (DropTarget()) SendMessageA(Window(), TVM_SELECTITEM, TVGN_DROPHILITE, 0);
}

void TTreeNTNode::MakeVisible()
{
    SendMessageA(Window(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItemId));
}

bool TTreeNTNode::IsVisible() const
{
    RECT r;
    std::memcpy(&r, &FItemId, sizeof FItemId);      // the message takes the item in the rectangle
    return SendMessageA(Window(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)) != 0;
}

TRect TTreeNTNode::DisplayRect(bool textOnly) const
{
    RECT r;
    std::memcpy(&r, &FItemId, sizeof FItemId);      // the message takes the item in the rectangle
    if (!SendMessageA(Window(), TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r))) return TRect{};
    return Rect(r.left, r.top, r.right, r.bottom);
}

void TTreeNTNode::Delete()
{
    if (FDeleting) return;
    HWND h = Window();
    // The control's deletion notice frees this object.
    if (FItemId) SendMessageA(h, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(FItemId));
}

void TTreeNTNode::DeleteChildren()
{
    HWND h = Window();
    bool was = FDeleting;
    FDeleting = true;
    try {
        while (HTREEITEM c = NextItem(h, FItemId, TVGN_CHILD))
            SendMessageA(h, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(c));
    } catch (...) {
        FDeleting = was;
        throw;
    }
    FDeleting = was;
    // Collapsed and without the expand mark, also when the control kept them for an empty node.
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_CHILDREN;
    item.hItem = FItemId;
    item.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    item.cChildren = 0;
    SendMessageA(h, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// ---- TTreeNTNodes --------------------------------------------------------------------------

TTreeNTNode* TTreeNTNodes::GetNode(HTREEITEM item) const
{
    if (!item || !FOwner->HandleAllocated()) return nullptr;
    TVITEMA it = {};
    it.mask = TVIF_HANDLE | TVIF_PARAM;
    it.hItem = item;
    if (!SendMessageA(FOwner->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return nullptr;
    return reinterpret_cast<TTreeNTNode*>(it.lParam);
}

TTreeNTNode* TTreeNTNodes::Insert(TTreeNTNode* parent, const std::string& s, void* data, int image,
                                  int selectedImage)
{
    HWND h = FOwner->Handle();
    auto* node = new TTreeNTNode(this);
    node->FText = s;
    node->FData = data;
    node->FImageIndex = image;
    node->FSelectedIndex = selectedImage;
    TVINSERTSTRUCTA is = {};
    is.hParent = parent ? parent->FItemId : TVI_ROOT;
    is.hInsertAfter = TVI_LAST;
    is.item.mask = TVIF_PARAM;
    ItemSettings(is.item, node->FText, FOwner->ChildrenOnRequest);
    is.item.lParam = reinterpret_cast<LPARAM>(node);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
    if (!item) {
        delete node;
        throw EOutOfResources("Unable to insert an item");
    }
    node->FItemId = item;
    if (SortsByText(FOwner->FSortType) && FUpdateCount == 0) FOwner->SortLevel(is.hParent, false);
    return node;
}

TTreeNTNode* TTreeNTNodes::AddObject(TTreeNTNode* sibling, const std::string& s, void* data, int image,
                                     int selectedImage)
{
    return Insert(sibling ? sibling->Parent() : nullptr, s, data, image, selectedImage);
}

TTreeNTNode* TTreeNTNodes::AddChildObject(TTreeNTNode* parent, const std::string& s, void* data, int image,
                                          int selectedImage)
{
    if (parent) parent->Window();       // a window that was away puts the parent's item back first
    return Insert(parent, s, data, image, selectedImage);
}

void TTreeNTNodes::Clear()
{
    SendMessageA(FOwner->Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

int TTreeNTNodes::Count() const
{
    return FOwner->HandleAllocated() ? static_cast<int>(SendMessageA(FOwner->Handle(), TVM_GETCOUNT, 0, 0)) : 0;
}

TTreeNTNode* TTreeNTNodes::GetFirstNode() const
{
    if (!FOwner->HandleAllocated()) return nullptr;
    return GetNode(NextItem(FOwner->Handle(), nullptr, TVGN_ROOT));
}

TTreeNTNode* TTreeNTNodes::Item(int index) const
{
    TTreeNTNode* n = index >= 0 ? GetFirstNode() : nullptr;
    for (int i = 0; n && i < index; ++i) n = n->GetNext();
    if (!n) throw ETreeNTError("Invalid index");
    return n;
}

void TTreeNTNodes::BeginUpdate()
{
    if (FUpdateCount == 0) SendMessageA(FOwner->Handle(), WM_SETREDRAW, FALSE, 0);
    ++FUpdateCount;
}

void TTreeNTNodes::EndUpdate()
{
    if (FUpdateCount == 0) return;
    if (--FUpdateCount > 0 || !FOwner->HandleAllocated()) return;
    SendMessageA(FOwner->Handle(), WM_SETREDRAW, TRUE, 0);
    if (SortsByText(FOwner->FSortType)) FOwner->AlphaSort(true);
    FOwner->Invalidate();
}

// ---- TCustomTreeNT -------------------------------------------------------------------------

TCustomTreeNT::TCustomTreeNT(TComponent* owner) : TWinControl(owner)
{
    FWidth = 121;
    FHeight = 97;
    FColor = clWindow;
    TabStop = true;
}

TCustomTreeNT::~TCustomTreeNT()
{
    FTreeDestroying = true;
    std::vector<TTreeNTNode*> nodes = AllNodes();
    // The window goes first (its deletion notices are ignored now), then the node objects.
    if (FHandle) TWinControl::DestroyWnd();
    FSaved.clear();
    for (TTreeNTNode* n : nodes) delete n;
}

void TCustomTreeNT::BeforeDestruction()
{
    FTreeDestroying = true;
    TWinControl::BeforeDestruction();
}

void TCustomTreeNT::Notification(TComponent* component, bool removing)
{
    TWinControl::Notification(component, removing);
    if (!removing) return;
    if (component == FImages) SetImages(nullptr);
    if (component == FStateImages) SetStateImages(nullptr);
}

DWORD TCustomTreeNT::OptionStyles(TTreeOptions o) const
{
    DWORD s = 0;
    if (o & toShowLines) s |= TVS_HASLINES;
    if (o & toShowRoot) s |= TVS_LINESATROOT;
    if (o & toShowButtons) s |= TVS_HASBUTTONS;
    if (!(o & toReadOnly)) s |= TVS_EDITLABELS;
    if (!(o & toHideSelection)) s |= TVS_SHOWSELALWAYS;
    if (!(o & toToolTips)) s |= TVS_NOTOOLTIPS;
    if (o & toHotTrack) s |= TVS_TRACKSELECT;
    if (o & toCheckBoxes) s |= TVS_CHECKBOXES;
    if (o & toSingleExpand) s |= TVS_SINGLEEXPAND;
    if (o & toInfoTip) s |= TVS_INFOTIP;
    if (o & toFullRowSelect) s |= TVS_FULLROWSELECT;
    if (o & toNoScroll) s |= TVS_NOSCROLL;
    return s;
}

void TCustomTreeNT::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.SysClass = WC_TREEVIEWA;
    p.Style |= OptionStyles(FOptions);
    if (FDragMode == dmManual) p.Style |= TVS_DISABLEDRAGDROP;
    if (FBorderStyle != bsNone) {
        p.Style |= WS_BORDER;
        if (FCtl3D) p.ExStyle |= WS_EX_CLIENTEDGE;
    }
}

void TCustomTreeNT::CreateWnd()
{
    FNodesRestored = false;
    CommonControlsNeeded();
    TWinControl::CreateWnd();
}

void TCustomTreeNT::HandleCreated()
{
    if (FItems.FUpdateCount > 0) SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
    ApplyImageList(FImages, TVSIL_NORMAL);
    ApplyImageList(FStateImages, TVSIL_STATE);
    SendMessageA(FHandle, TVM_SETINDENT, FIndent, 0);
    SendMessageA(FHandle, TVM_SETITEMHEIGHT, FItemHeight > 0 ? FItemHeight : -1, 0);
    SendMessageA(FHandle, TVM_SETSCROLLTIME, FScrollTime, 0);
    SendMessageA(FHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(FColor)));
    SendMessageA(FHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font.Color())));
    RestoreNodes();
}

void TCustomTreeNT::DestroyWnd()
{
    if (FHandle && !FTreeDestroying) SaveNodes();
    FSaving = true;
    try {
        TWinControl::DestroyWnd();
    } catch (...) {
        FSaving = false;
        throw;
    }
    FSaving = false;
    for (TSavedNode& s : FSaved) s.Node->FItemId = nullptr;
}

void TCustomTreeNT::SaveNodes()
{
    FSaved.clear();
    FSavedTop = FSavedSelected = -1;
    HTREEITEM top = NextItem(FHandle, nullptr, TVGN_FIRSTVISIBLE);
    HTREEITEM selected = NextItem(FHandle, nullptr, TVGN_CARET);
    // Depth first, each node after its parent: the order they go back in.
    std::vector<std::pair<HTREEITEM, int>> stack;
    for (HTREEITEM i = NextItem(FHandle, nullptr, TVGN_ROOT); i; i = NextItem(FHandle, i, TVGN_NEXT))
        stack.emplace_back(i, 0);
    std::reverse(stack.begin(), stack.end());
    while (!stack.empty()) {
        auto [item, level] = stack.back();
        stack.pop_back();
        TTreeNTNode* node = FItems.GetNode(item);
        if (!node) continue;
        if (item == top) FSavedTop = static_cast<int>(FSaved.size());
        if (item == selected) FSavedSelected = static_cast<int>(FSaved.size());
        bool expanded = SendMessageA(FHandle, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED;
        FSaved.push_back({node, level, expanded});
        std::vector<HTREEITEM> children;
        for (HTREEITEM c = NextItem(FHandle, item, TVGN_CHILD); c; c = NextItem(FHandle, c, TVGN_NEXT))
            children.push_back(c);
        for (auto it = children.rbegin(); it != children.rend(); ++it) stack.emplace_back(*it, level + 1);
    }
}

void TCustomTreeNT::RestoreNodes()
{
    if (FSaved.empty()) return;
    std::vector<TSavedNode> saved;
    saved.swap(FSaved);
    FRestoring = true;
    SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
    std::vector<HTREEITEM> parents;
    std::vector<TTreeNTNode*> lost;
    for (TSavedNode& s : saved) {
        HTREEITEM parent = s.Level == 0 ? TVI_ROOT : parents[s.Level - 1];
        HTREEITEM item = nullptr;
        if (parent) {
            TVINSERTSTRUCTA is = {};
            is.hParent = parent;
            is.hInsertAfter = TVI_LAST;
            is.item.mask = TVIF_PARAM;
            ItemSettings(is.item, s.Node->FText, ChildrenOnRequest);
            is.item.lParam = reinterpret_cast<LPARAM>(s.Node);
            item = reinterpret_cast<HTREEITEM>(SendMessageA(FHandle, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
        }
        s.Node->FItemId = item;
        if (!item) lost.push_back(s.Node);
        parents.resize(s.Level + 1);
        parents[s.Level] = item;
    }
    for (TSavedNode& s : saved)
        if (s.Expanded && s.Node->FItemId)
            SendMessageA(FHandle, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(s.Node->FItemId));
    // The control places lines only while it draws: scrolling waits for redrawing.
    if (FItems.FUpdateCount == 0) SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
    if (FSavedSelected >= 0 && saved[FSavedSelected].Node->FItemId)
        SendMessageA(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(saved[FSavedSelected].Node->FItemId));
    if (FSavedTop >= 0 && saved[FSavedTop].Node->FItemId)
        SendMessageA(FHandle, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(saved[FSavedTop].Node->FItemId));
    FRestoring = false;
    FNodesRestored = true;
    // Nodes the new window refused go the way of deleted ones.
    for (TTreeNTNode* n : lost) {
        n->FDeleting = true;
        Delete(n);
        delete n;
    }
}

std::vector<TTreeNTNode*> TCustomTreeNT::AllNodes()
{
    std::vector<TTreeNTNode*> nodes;
    if (!FHandle) {
        for (TSavedNode& s : FSaved) nodes.push_back(s.Node);
        return nodes;
    }
    HTREEITEM i = NextItem(FHandle, nullptr, TVGN_ROOT);
    while (i) {
        if (TTreeNTNode* n = FItems.GetNode(i)) nodes.push_back(n);
        HTREEITEM next = NextItem(FHandle, i, TVGN_CHILD);
        while (!next && i) {
            next = NextItem(FHandle, i, TVGN_NEXT);
            if (!next) i = NextItem(FHandle, i, TVGN_PARENT);
        }
        i = next;
    }
    return nodes;
}

void TCustomTreeNT::ApplyImageList(TImageList* list, WPARAM kind)
{
    if (FHandle)
        SendMessageA(FHandle, TVM_SETIMAGELIST, kind, reinterpret_cast<LPARAM>(list ? list->Handle() : nullptr));
}

void TCustomTreeNT::SetImages(TImageList* list)
{
    FImages = list;
    ApplyImageList(list, TVSIL_NORMAL);
}

void TCustomTreeNT::SetStateImages(TImageList* list)
{
    FStateImages = list;
    ApplyImageList(list, TVSIL_STATE);
}

void TCustomTreeNT::SetIndent(int v)
{
    FIndent = v;
    if (FHandle) SendMessageA(FHandle, TVM_SETINDENT, v, 0);
}

void TCustomTreeNT::SetItemHeight(int v)
{
    FItemHeight = v;
    if (FHandle) SendMessageA(FHandle, TVM_SETITEMHEIGHT, v > 0 ? v : -1, 0);
}

void TCustomTreeNT::SetScrollTime(int v)
{
    FScrollTime = v < 100 ? 100 : v;
    if (FHandle) SendMessageA(FHandle, TVM_SETSCROLLTIME, FScrollTime, 0);
}

void TCustomTreeNT::SetOptions(TTreeOptions v)
{
    TTreeOptions changed = FOptions ^ v;
    if (!changed) return;
    FOptions = v;
    if (!FHandle) return;
    // These styles change in place; the others take a new window.
    const TTreeOptions inPlace = toShowLines | toShowRoot | toShowButtons | toSingleExpand | toHideSelection;
    if (changed & ~inPlace & ~static_cast<TTreeOptions>(toWantReturn)) {
        RecreateWnd();
        return;
    }
    DWORD mask = OptionStyles(inPlace) | TVS_SHOWSELALWAYS;
    DWORD style = static_cast<DWORD>(GetWindowLongA(FHandle, GWL_STYLE));
    style = (style & ~mask) | (OptionStyles(v) & mask);
    SetWindowLongA(FHandle, GWL_STYLE, static_cast<LONG>(style));
    Invalidate();
}

void TCustomTreeNT::SetSortType(TSortType v)
{
    if (v == FSortType) return;
    FSortType = v;
    if (FHandle && (SortsByText(v) || (SortsByData(v) && OnCompare))) AlphaSort(true);
}

void TCustomTreeNT::SetBorderStyle(TFormBorderStyle v)
{
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    RecreateWnd();
}

void TCustomTreeNT::SetCtl3D(bool v)
{
    if (v == FCtl3D) return;
    FCtl3D = v;
    if (FBorderStyle != bsNone) RecreateWnd();
}

void TCustomTreeNT::SetDragMode(TDragMode v)
{
    if (v == FDragMode) return;
    FDragMode = v;
    RecreateWnd();
}

void TCustomTreeNT::SetColor(TColor c)
{
    if (c == FColor) return;
    TWinControl::SetColor(c);
    // The control takes the new background as it is: its window and items stay.
    if (FHandle) SendMessageA(FHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(FColor)));
}

std::string TCustomTreeNT::SearchString()
{
    if (!FHandle) return "";
    char buf[256] = "";
    SendMessageA(FHandle, TVM_GETISEARCHSTRINGA, 0, reinterpret_cast<LPARAM>(buf));
    return buf;
}

TTreeNTNode* TCustomTreeNT::Selected()
{
    return FHandle ? FItems.GetNode(NextItem(FHandle, nullptr, TVGN_CARET)) : nullptr;
}

void TCustomTreeNT::SetSelected(TTreeNTNode* node)
{
    if (node) node->SetSelected(true);
    else if (FHandle) SendMessageA(FHandle, TVM_SELECTITEM, TVGN_CARET, 0);
}

TTreeNTNode* TCustomTreeNT::TopItem()
{
    return FHandle ? FItems.GetNode(NextItem(FHandle, nullptr, TVGN_FIRSTVISIBLE)) : nullptr;
}

void TCustomTreeNT::SetTopItem(TTreeNTNode* node)
{
    if (node) SendMessageA(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node->FItemId));
}

TTreeNTNode* TCustomTreeNT::GetNodeAt(int x, int y)
{
    TVHITTESTINFO hit = {};
    hit.pt = {x, y};
    return FItems.GetNode(reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))));
}

int CALLBACK TCustomTreeNT::CompareNodes(LPARAM a, LPARAM b, LPARAM tree)
{
    auto* self = reinterpret_cast<TCustomTreeNT*>(tree);
    auto* n1 = reinterpret_cast<TTreeNTNode*>(a);
    auto* n2 = reinterpret_cast<TTreeNTNode*>(b);
    if (self->OnCompare) {
        int r = 0;
        self->OnCompare(self, n1, n2, 0, r);
        return r;
    }
    return lstrcmpA(n1->FText.c_str(), n2->FText.c_str());
}

void TCustomTreeNT::SortLevel(HTREEITEM parent, bool recurse)
{
    TVSORTCB sort = {};
    sort.hParent = parent;
    sort.lpfnCompare = &CompareNodes;
    sort.lParam = reinterpret_cast<LPARAM>(this);
    SendMessageA(Handle(), TVM_SORTCHILDRENCB, recurse, reinterpret_cast<LPARAM>(&sort));
}

void TCustomTreeNT::AlphaSort(bool recurse) { SortLevel(TVI_ROOT, recurse); }

bool TCustomTreeNT::CanChange(TTreeNTNode* node)
{
    bool allow = true;
    OnChanging(this, node, allow);
    return allow;
}

void TCustomTreeNT::Change(TTreeNTNode* node) { OnChange(this, node); }

bool TCustomTreeNT::CanExpand(TTreeNTNode* node)
{
    bool allow = true;
    OnExpanding(this, node, allow);
    return allow;
}

bool TCustomTreeNT::CanCollapse(TTreeNTNode* node)
{
    bool allow = true;
    OnCollapsing(this, node, allow);
    return allow;
}

void TCustomTreeNT::Expand(TTreeNTNode* node) { OnExpanded(this, node); }
void TCustomTreeNT::Collapse(TTreeNTNode* node) { OnCollapsed(this, node); }

bool TCustomTreeNT::CanEdit(TTreeNTNode* node)
{
    bool allow = true;
    OnEditing(this, node, allow);
    return allow;
}

void TCustomTreeNT::Edit(TTreeNTNode* node, std::string& s)
{
    OnEdited(this, node, s);
    node->SetText(s);
}

void TCustomTreeNT::Delete(TTreeNTNode* node) { OnDeletion(&FItems, node); }
void TCustomTreeNT::GetImageIndex(TTreeNTNode* node) { OnGetImageIndex(this, node); }
void TCustomTreeNT::GetSelectedIndex(TTreeNTNode* node) { OnGetSelectedIndex(this, node); }
bool TCustomTreeNT::NodeHasChildren(TTreeNTNode* node) { return node->getFirstChild() != nullptr; }

LRESULT TCustomTreeNT::Notify(NMHDR* hdr)
{
    // Deletion notices and display requests (images, expand buttons) name the node by the
    // item's parameter.
    switch (hdr->code) {
    case TVN_DELETEITEMA: case TVN_DELETEITEMW: {
        auto* node = reinterpret_cast<TTreeNTNode*>(reinterpret_cast<NMTREEVIEWA*>(hdr)->itemOld.lParam);
        if (!node) return 0;
        node->FItemId = nullptr;
        if (FSaving || FTreeDestroying) return 0;
        node->FDeleting = true;
        try {
            Delete(node);
        } catch (...) {
            delete node;
            throw;
        }
        delete node;
        return 0;
    }
    case TVN_GETDISPINFOA: case TVN_GETDISPINFOW: {
        auto* di = reinterpret_cast<NMTVDISPINFOA*>(hdr);
        auto* node = reinterpret_cast<TTreeNTNode*>(di->item.lParam);
        if (!node) return 0;
        if (di->item.mask & TVIF_IMAGE) {
            GetImageIndex(node);
            di->item.iImage = node->FImageIndex;
        }
        if (di->item.mask & TVIF_SELECTEDIMAGE) {
            GetSelectedIndex(node);
            di->item.iSelectedImage = node->FSelectedIndex;
        }
        // Not stored in the control: the answer may change when the node's children are read.
        if (di->item.mask & TVIF_CHILDREN) di->item.cChildren = NodeHasChildren(node) ? 1 : 0;
        return 0;
    }
    }
    if (FSaving || FTreeDestroying || FRestoring) return 0;
    auto* nm = reinterpret_cast<NMTREEVIEWA*>(hdr);
    switch (hdr->code) {
    case TVN_SELCHANGINGA: case TVN_SELCHANGINGW:
        return !CanChange(FItems.GetNode(nm->itemNew.hItem));
    case TVN_SELCHANGEDA: case TVN_SELCHANGEDW:
        Change(FItems.GetNode(nm->itemNew.hItem));
        return 0;
    case TVN_ITEMEXPANDINGA: case TVN_ITEMEXPANDINGW: {
        if (FManualExpand) return 0;
        TTreeNTNode* node = FItems.GetNode(nm->itemNew.hItem);
        if (!node) return 0;
        if (nm->action & TVE_EXPAND) return !CanExpand(node);
        if (nm->action & TVE_COLLAPSE) return !CanCollapse(node);
        return 0;
    }
    case TVN_ITEMEXPANDEDA: case TVN_ITEMEXPANDEDW: {
        if (FManualExpand) return 0;
        TTreeNTNode* node = FItems.GetNode(nm->itemNew.hItem);
        if (!node) return 0;
        if (nm->action & TVE_EXPAND) Expand(node);
        else if (nm->action & TVE_COLLAPSE) Collapse(node);
        return 0;
    }
    case TVN_BEGINLABELEDITA: case TVN_BEGINLABELEDITW: {
        auto* node = FItems.GetNode(reinterpret_cast<NMTVDISPINFOA*>(hdr)->item.hItem);
        return node ? !CanEdit(node) : TRUE;
    }
    case TVN_ENDLABELEDITA: {
        auto* di = reinterpret_cast<NMTVDISPINFOA*>(hdr);
        auto* node = FItems.GetNode(di->item.hItem);
        if (node && di->item.pszText) {
            std::string s = di->item.pszText;
            Edit(node, s);
        }
        return FALSE;                 // the node took the text and told the item
    }
    case NM_RCLICK: {
        // The control swallows the button's release in its own loop: hand it on, so that
        // the mouse-up handlers (and a context menu) see the click.
        POINT pt;
        GetCursorPos(&pt);
        ::ScreenToClient(FHandle, &pt);
        SendMessageA(FHandle, WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        return 1;
    }
    }
    return 0;
}

LRESULT TCustomTreeNT::WndProc(UINT msg, WPARAM w, LPARAM l)
{
    switch (msg) {
    case CN_NOTIFY:
        return Notify(reinterpret_cast<NMHDR*>(l));
    case WM_LBUTTONDOWN: {
        LRESULT r = TWinControl::WndProc(msg, w, l);
        // The control selects on its own only when the press is on the label; a press
        // anywhere on the line selects the line.
        if (FDragMode == dmManual && FHandle)
            if (TTreeNTNode* n = GetNodeAt(GET_X_LPARAM(l), GET_Y_LPARAM(l))) n->SetSelected(true);
        return r;
    }
    }
    return TWinControl::WndProc(msg, w, l);
}

void TCustomTreeNT::KeyDown(WORD& key, TShiftState s)
{
    TWinControl::KeyDown(key, s);
    if (key == VK_RETURN && (FOptions & toWantReturn) && FHandle) {
        HTREEITEM next = NextItem(FHandle, NextItem(FHandle, nullptr, TVGN_CARET), TVGN_NEXTVISIBLE);
        if (next) SendMessageA(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(next));
        key = 0;
    }
}
