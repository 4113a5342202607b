// The tree node model and its mirror in the platform's tree control.
#include "framework/gui/TreeView.h"

#include <algorithm>

#include "framework/Exceptions.h"
#include "framework/gui/CommonControls.h"

// ---- TTreeNode ---------------------------------------------------------------------------
std::vector<TTreeNode*>& TTreeNode::Siblings() const
{
    return parent_ ? parent_->children_ : owner_->roots_;
}

void TTreeNode::SetText(const String& v)
{
    text_ = v;
    if (TTreeView* view = owner_->view_) view->UpdateItem(this);
}

int TTreeNode::Level() const
{
    int level = 0;
    for (TTreeNode* p = parent_; p; p = p->parent_) ++level;
    return level;
}

int TTreeNode::Index() const
{
    auto& list = Siblings();
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

int TTreeNode::AbsoluteIndex() const
{
    int index = 0;
    for (TTreeNode* n = owner_->GetFirstNode(); n && n != this; n = n->GetNext()) ++index;
    return index;
}

TTreeNode* TTreeNode::GetNextSibling() const
{
    auto& list = Siblings();
    size_t i = static_cast<size_t>(Index());
    return i + 1 < list.size() ? list[i + 1] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const
{
    int i = Index();
    return i > 0 ? Siblings()[static_cast<size_t>(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const
{
    if (!children_.empty()) return children_.front();
    for (const TTreeNode* n = this; n; n = n->parent_)
        if (TTreeNode* s = n->GetNextSibling()) return s;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const
{
    TTreeNode* prev = GetPrevSibling();
    if (!prev) return parent_;
    while (prev->HasChildren()) prev = prev->children_.back();
    return prev;
}

bool TTreeNode::IsChildOf(const TTreeNode* Ancestor) const
{
    for (TTreeNode* p = parent_; p; p = p->parent_)
        if (p == Ancestor) return true;
    return false;
}

void TTreeNode::SetImageIndex(int v)
{
    imageIndex_ = v;
    if (auto* view = owner_->view_) view->UpdateItem(this);
}
void TTreeNode::SetSelectedIndex(int v)
{
    selectedIndex_ = v;
    if (auto* view = owner_->view_) view->UpdateItem(this);
}
void TTreeNode::SetStateIndex(int v)
{
    stateIndex_ = v;
    if (auto* view = owner_->view_) view->UpdateItem(this);
}
void TTreeNode::SetOverlayIndex(int v)
{
    overlayIndex_ = v;
    if (auto* view = owner_->view_) view->UpdateItem(this);
}

bool TTreeNode::Selected() const
{
    TTreeView* view = owner_->view_;
    return view && view->Selected() == this;
}

void TTreeNode::SetSelected(bool v)
{
    TTreeView* view = owner_->view_;
    if (!view) return;
    if (v)
        view->SetSelected(this);
    else if (view->Selected() == this)
        view->SetSelected(nullptr);
}

void TTreeNode::Expand(bool Recurse)
{
    expanded_ = true;
    TTreeView* view = owner_->view_;
    if (view && item_)
        SendMessageA(view->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_));
    if (Recurse)
        for (TTreeNode* c : children_) c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse)
{
    expanded_ = false;
    TTreeView* view = owner_->view_;
    if (view && item_)
        SendMessageA(view->Handle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
    if (Recurse)
        for (TTreeNode* c : children_) c->Collapse(true);
}

void TTreeNode::MoveTo(TTreeNode* Destination, TNodeAttachMode Mode)
{
    if (Destination == this || (Destination && Destination->IsChildOf(this))) return;
    TTreeView* view = owner_->view_;
    TTreeNode* wasSelected = view ? view->selected_ : nullptr;
    if (view) view->RemoveItem(this);
    owner_->Unlink(this);
    owner_->Place(this, Destination, Mode);
    if (view) {
        view->InsertItem(this);
        if (wasSelected && (wasSelected == this || wasSelected->IsChildOf(this)))
            view->SetSelected(wasSelected);
    }
}

void TTreeNode::Delete() { owner_->Delete(this); }

// ---- TTreeNodes --------------------------------------------------------------------------
TTreeNodes::~TTreeNodes()
{
    auto roots = roots_;
    for (TTreeNode* n : roots) FreeNode(n);
    roots_.clear();
}

TTreeNode* TTreeNodes::Place(TTreeNode* node, TTreeNode* relative, TNodeAttachMode mode)
{
    std::vector<TTreeNode*>* list = &roots_;
    size_t at = roots_.size();
    TTreeNode* parent = nullptr;
    switch (mode) {
    case naAdd:
    case naAddFirst:
    case naInsert:
        parent = relative ? relative->parent_ : nullptr;
        list = parent ? &parent->children_ : &roots_;
        if (mode == naAdd)
            at = list->size();
        else if (mode == naAddFirst)
            at = 0;
        else
            at = relative ? static_cast<size_t>(relative->Index()) : list->size();
        break;
    case naAddChild:
    case naAddChildFirst:
        parent = relative;
        list = parent ? &parent->children_ : &roots_;
        at = mode == naAddChild ? list->size() : 0;
        break;
    }
    list->insert(list->begin() + static_cast<std::ptrdiff_t>(at), node);
    node->parent_ = parent;
    return node;
}

void TTreeNodes::Unlink(TTreeNode* node)
{
    auto& list = node->Siblings();
    list.erase(std::find(list.begin(), list.end(), node));
    node->parent_ = nullptr;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const String& S, void* Data)
{
    auto* n = Place(new TTreeNode(this, S), Sibling, naAdd);
    n->Data = Data;
    if (view_) view_->InsertItem(n);
    return n;
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const String& S)
{
    auto* n = Place(new TTreeNode(this, S), Sibling, naAddFirst);
    if (view_) view_->InsertItem(n);
    return n;
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, void* Data)
{
    auto* n = Place(new TTreeNode(this, S), Parent, naAddChild);
    n->Data = Data;
    if (view_) view_->InsertItem(n);
    return n;
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const String& S)
{
    auto* n = Place(new TTreeNode(this, S), Parent, naAddChildFirst);
    if (view_) view_->InsertItem(n);
    return n;
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const String& S, void* Data)
{
    auto* n = Place(new TTreeNode(this, S), Sibling, naInsert);
    n->Data = Data;
    if (view_) view_->InsertItem(n);
    return n;
}

void TTreeNodes::FreeNode(TTreeNode* node)
{
    auto children = node->children_;
    for (TTreeNode* c : children) FreeNode(c);
    node->children_.clear();
    if (view_) {
        if (view_->selected_ == node) view_->selected_ = nullptr;
        if (view_->OnDeletion) view_->OnDeletion(view_, node);
    }
    delete node;
}

void TTreeNodes::Delete(TTreeNode* Node)
{
    if (!Node) return;
    if (view_) view_->RemoveItem(Node);
    Unlink(Node);
    FreeNode(Node);
}

void TTreeNodes::Clear()
{
    BeginUpdate();
    while (!roots_.empty()) Delete(roots_.back());
    EndUpdate();
}

int TTreeNodes::Count() const
{
    int n = 0;
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext()) ++n;
    return n;
}

TTreeNode* TTreeNodes::Item(int Index) const
{
    if (Index < 0) return nullptr;
    TTreeNode* node = GetFirstNode();
    while (node && Index-- > 0) node = node->GetNext();
    return node;
}

void TTreeNodes::BeginUpdate()
{
    if (updating_++ == 0 && view_ && view_->HandleAllocated())
        SendMessageA(view_->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate()
{
    if (--updating_ == 0 && view_ && view_->HandleAllocated()) {
        SendMessageA(view_->Handle(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(view_->Handle(), nullptr, TRUE);
    }
}

// ---- TTreeView ---------------------------------------------------------------------------
TTreeView::TTreeView(TComponent* AOwner) : TWinControl(AOwner), items_(this)
{
    SetColor(clWindow);
    TabStop = true;
    SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView()
{
    // Nodes go while the view can still tell OnDeletion about them; the control's items go
    // with the window.
    if (HandleAllocated()) DestroyWnd();
    items_.Clear();
}

void TTreeView::CreateParams(TCreateParams& p)
{
    InitCommonControlsOnce();
    TWinControl::CreateParams(p);
    p.WinClassName = WC_TREEVIEWA;
    p.Style &= ~WS_CLIPCHILDREN;
    if (ShowLines) p.Style |= TVS_HASLINES;
    if (ShowRoot) p.Style |= TVS_LINESATROOT;
    if (ShowButtons) p.Style |= TVS_HASBUTTONS;
    if (!ReadOnly) p.Style |= TVS_EDITLABELS;
    if (!HideSelection) p.Style |= TVS_SHOWSELALWAYS;
    if (HotTrack) p.Style |= TVS_TRACKSELECT;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TTreeView::CreateWnd()
{
    TWinControl::CreateWnd();
    HWND h = Handle();
    SendMessageA(h, TVM_SETINDENT, static_cast<WPARAM>(Indent), 0);
    if (images_)
        SendMessageA(h, TVM_SETIMAGELIST, TVSIL_NORMAL,
                     reinterpret_cast<LPARAM>(images_->Handle()));
    if (stateImages_)
        SendMessageA(h, TVM_SETIMAGELIST, TVSIL_STATE,
                     reinterpret_cast<LPARAM>(stateImages_->Handle()));
    for (int i = 0; i < items_.RootCount(); ++i) InsertItem(items_.Root(i));
    if (selected_) {
        syncing_ = true;
        SendMessageA(h, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected_->item_));
        syncing_ = false;
    }
}

void TTreeView::DestroyWnd()
{
    for (int i = 0; i < items_.RootCount(); ++i) ForgetItems(items_.Root(i));
    syncing_ = true;
    TWinControl::DestroyWnd();
    syncing_ = false;
}

void TTreeView::ForgetItems(TTreeNode* node)
{
    node->item_ = nullptr;
    for (TTreeNode* c : node->children_) ForgetItems(c);
}

void TTreeView::InsertItem(TTreeNode* node)
{
    if (!HandleAllocated()) return;
    TVINSERTSTRUCTA is{};
    is.hParent = node->parent_ ? node->parent_->item_ : TVI_ROOT;
    TTreeNode* prev = node->GetPrevSibling();
    is.hInsertAfter = prev && prev->item_ ? prev->item_ : TVI_FIRST;
    is.item.mask = TVIF_TEXT | TVIF_PARAM;
    is.item.pszText = node->text_.data();
    is.item.lParam = reinterpret_cast<LPARAM>(node);
    syncing_ = true;
    node->item_ = reinterpret_cast<HTREEITEM>(
        SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
    syncing_ = false;
    UpdateItem(node);
    for (TTreeNode* c : node->children_) InsertItem(c);
    if (node->expanded_)
        SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->item_));
}

void TTreeView::RemoveItem(TTreeNode* node)
{
    if (!HandleAllocated() || !node->item_) return;
    syncing_ = true;
    SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node->item_));
    syncing_ = false;
    ForgetItems(node);
}

void TTreeView::UpdateItem(TTreeNode* node)
{
    if (!HandleAllocated() || !node->item_) return;
    TVITEMA item{};
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    item.hItem = node->item_;
    item.pszText = node->text_.data();
    item.iImage = node->imageIndex_;
    item.iSelectedImage = node->selectedIndex_;
    item.stateMask = TVIS_OVERLAYMASK | TVIS_STATEIMAGEMASK;
    item.state = INDEXTOOVERLAYMASK(node->overlayIndex_ >= 0 ? node->overlayIndex_ + 1 : 0) |
                 INDEXTOSTATEIMAGEMASK(node->stateIndex_ >= 0 ? node->stateIndex_ : 0);
    SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

TTreeNode* TTreeView::Selected() { return selected_; }

void TTreeView::SetSelected(TTreeNode* v)
{
    if (v == selected_) return;
    selected_ = v;
    if (HandleAllocated()) {
        syncing_ = true;
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET,
                     reinterpret_cast<LPARAM>(v ? v->item_ : nullptr));
        syncing_ = false;
    }
    if (OnChange) OnChange(this, v);
}

TTreeNode* TTreeView::GetNodeAt(int X, int Y)
{
    TVHITTESTINFO hit{};
    hit.pt = {X, Y};
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!item || !(hit.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT)))
        return nullptr;
    for (TTreeNode* n = items_.GetFirstNode(); n; n = n->GetNext())
        if (n->item_ == item) return n;
    return nullptr;
}

THitTests TTreeView::GetHitTestInfoAt(int X, int Y)
{
    TVHITTESTINFO hit{};
    hit.pt = {X, Y};
    SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    THitTests result;
    const struct {
        UINT flag;
        THitTest test;
    } map[] = {{TVHT_ABOVE, htAbove},
               {TVHT_BELOW, htBelow},
               {TVHT_NOWHERE, htNowhere},
               {TVHT_ONITEMBUTTON, htOnButton},
               {TVHT_ONITEMICON, htOnIcon},
               {TVHT_ONITEMINDENT, htOnIndent},
               {TVHT_ONITEMLABEL, htOnLabel},
               {TVHT_ONITEMRIGHT, htOnRight},
               {TVHT_ONITEMSTATEICON, htOnStateIcon},
               {TVHT_TOLEFT, htToLeft},
               {TVHT_TORIGHT, htToRight}};
    for (auto& m : map)
        if (hit.flags & m.flag) result << m.test;
    if (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)) result << htOnItem;
    return result;
}

void TTreeView::EndDrag(bool drop, int X, int Y)
{
    if (!dragging_) return;
    dragging_ = false;
    if (GetCapture() == Handle()) ReleaseCapture();
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, 0);
    if (drop && dragAccepted_ && OnDragDrop) OnDragDrop(this, this, X, Y);
    dragNode_ = nullptr;
}

void TTreeView::SetImages(TImageList* v)
{
    if (images_) RemoveFreeNotification(images_);
    images_ = v;
    if (v) FreeNotification(v);
    if (HandleAllocated())
        SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
                     reinterpret_cast<LPARAM>(v ? v->Handle() : nullptr));
}

void TTreeView::SetStateImages(TImageList* v)
{
    if (stateImages_) RemoveFreeNotification(stateImages_);
    stateImages_ = v;
    if (v) FreeNotification(v);
    if (HandleAllocated())
        SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_STATE,
                     reinterpret_cast<LPARAM>(v ? v->Handle() : nullptr));
}

void TTreeView::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == images_) SetImages(nullptr);
    if (AComponent == stateImages_) SetStateImages(nullptr);
}

void TTreeView::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
        switch (hdr->code) {
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW:
            if (!syncing_) {
                auto* tv = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
                selected_ = reinterpret_cast<TTreeNode*>(tv->itemNew.lParam);
                if (OnChange) OnChange(this, selected_);
            }
            break;
        case TVN_BEGINLABELEDITA:
        case TVN_BEGINLABELEDITW: {
            auto* di = reinterpret_cast<NMTVDISPINFOA*>(m.LParam);
            bool allow = !ReadOnly;
            if (OnEditing) OnEditing(this, reinterpret_cast<TTreeNode*>(di->item.lParam), allow);
            m.Result = allow ? FALSE : TRUE;
            break;
        }
        case TVN_ENDLABELEDITA:
        case TVN_ENDLABELEDITW: {
            auto* di = reinterpret_cast<NMTVDISPINFOA*>(m.LParam);
            if (di->item.pszText) {
                auto* node = reinterpret_cast<TTreeNode*>(di->item.lParam);
                String text = di->item.pszText;
                if (OnEdited) OnEdited(this, node, text);
                node->text_ = text;
                UpdateItem(node);
            }
            m.Result = FALSE;  // our model holds the label; UpdateItem put it in
            break;
        }
        case TVN_ITEMEXPANDEDA:
        case TVN_ITEMEXPANDEDW: {
            auto* tv = reinterpret_cast<NMTREEVIEWA*>(m.LParam);
            if (auto* node = reinterpret_cast<TTreeNode*>(tv->itemNew.lParam))
                node->expanded_ = (tv->itemNew.state & TVIS_EXPANDED) != 0;
            break;
        }
        case TVN_BEGINDRAGA:
        case TVN_BEGINDRAGW:
            if (DragMode == dmAutomatic) {
                dragNode_ = reinterpret_cast<TTreeNode*>(
                    reinterpret_cast<NMTREEVIEWA*>(m.LParam)->itemNew.lParam);
                dragging_ = true;
                dragAccepted_ = false;
                SetCapture(Handle());
            }
            break;
        case NM_CLICK: Click(); break;
        case NM_DBLCLK: DblClick(); break;
        default: break;
        }
        return;
    }
    case WM_MOUSEMOVE:
        if (dragging_) {
            const int x = static_cast<short>(LOWORD(m.LParam)),
                      y = static_cast<short>(HIWORD(m.LParam));
            dragAccepted_ = false;
            if (OnDragOver) OnDragOver(this, this, x, y, dsDragMove, dragAccepted_);
            TVHITTESTINFO hit{};
            hit.pt = {x, y};
            auto item = reinterpret_cast<HTREEITEM>(
                SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            SendMessageA(Handle(), TVM_SELECTITEM, TVGN_DROPHILITE,
                         reinterpret_cast<LPARAM>(dragAccepted_ ? item : nullptr));
            SetCursor(
                LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(dragAccepted_ ? IDC_ARROW : IDC_NO)));
            return;
        }
        break;
    case WM_LBUTTONUP:
        if (dragging_) {
            EndDrag(true, static_cast<short>(LOWORD(m.LParam)),
                    static_cast<short>(HIWORD(m.LParam)));
            return;
        }
        break;
    case WM_CAPTURECHANGED:
        if (dragging_ && reinterpret_cast<HWND>(m.LParam) != Handle()) EndDrag(false, 0, 0);
        break;
    case WM_KEYDOWN:
        if (dragging_ && m.WParam == VK_ESCAPE) {
            EndDrag(false, 0, 0);
            return;
        }
        break;
    default: break;
    }
    TWinControl::Dispatch(m);
}
