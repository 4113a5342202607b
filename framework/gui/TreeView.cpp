// The tree node model's mirror in the platform's tree control.
#include "framework/gui/TreeView.h"

#include <algorithm>
#include <cstring>

#include "framework/Exceptions.h"
#include "framework/gui/CommonControls.h"

// ---- TTreeView ---------------------------------------------------------------------------
namespace {
// Pixels between an item's image and its label's rectangle in the platform's control.
constexpr int ImageGap = 0;
}  // namespace

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

void TTreeView::NodeFreeing(TTreeNode* node)
{
    if (selected_ == node) selected_ = nullptr;
    if (OnDeletion) OnDeletion(this, node);
}

void TTreeView::NodeExpanding(TTreeNode* node, bool expand)
{
    if (!node->item_) return;
    SendMessageA(Handle(), TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE,
                 reinterpret_cast<LPARAM>(node->item_));
    if (!expand) FollowCaret();
}

void TTreeView::FollowCaret()
{
    // A collapse that hides the selected node moves the control's caret to the collapsed one,
    // and Wine's control tells no one of it: the selection follows the control.
    auto caret =
        reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = caret;
    TTreeNode* now = nullptr;
    if (caret && SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        now = reinterpret_cast<TTreeNode*>(item.lParam);
    if (now == selected_) return;
    selected_ = now;
    if (OnChange) OnChange(this, now);
}

LRESULT TTreeView::CustomDraw(NMTVCUSTOMDRAW& Draw)
{
    // Wine's control draws an item's overlay through the mask of the item's own image, so a
    // mark shows only where that image has pixels (a few dots over a thin icon): the overlay
    // is drawn again, whole, over the drawn item.
    switch (Draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return images_ ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT: {
        auto* node = reinterpret_cast<TTreeNode*>(Draw.nmcd.lItemlParam);
        return node && node->overlayIndex_ >= 0 ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    }
    case CDDS_ITEMPOSTPAINT: {
        auto* node = reinterpret_cast<TTreeNode*>(Draw.nmcd.lItemlParam);
        const int image = node ? images_->OverlayImage(node->overlayIndex_) : -1;
        if (image < 0 || !node->item_) return CDRF_DODEFAULT;
        RECT text{};
        std::memcpy(&text, &node->item_, sizeof node->item_);  // the item goes in the rect
        if (!SendMessageA(Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)))
            return CDRF_DODEFAULT;
        // The image stands just left of the label, centred in the row.
        const int x = text.left - images_->Width - ImageGap;
        const int y =
            Draw.nmcd.rc.top + (Draw.nmcd.rc.bottom - Draw.nmcd.rc.top - images_->Height) / 2;
        ImageList_Draw(images_->Handle(), image, Draw.nmcd.hdc, x, y, ILD_TRANSPARENT);
        return CDRF_DODEFAULT;
    }
    default: return CDRF_DODEFAULT;
    }
}

void TTreeView::UpdateBracket(bool begin)
{
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), WM_SETREDRAW, begin ? FALSE : TRUE, 0);
    if (!begin) InvalidateRect(Handle(), nullptr, TRUE);
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

void TTreeView::SelectNode(TTreeNode* Node)
{
    // A node the model moved comes back as a new item, and the control gave the highlight to
    // a neighbour while the old item went: the item is highlighted again even though the
    // model's selection stayed the same.
    if (Node && Node == selected_ && HandleAllocated()) {
        syncing_ = true;
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Node->item_));
        syncing_ = false;
        return;
    }
    SetSelected(Node);
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

LPARAM TTreeView::KeyboardMenuPoint()
{
    // Under the selected item's label, where the user is looking; without one, the menu's
    // own default place.
    if (!selected_ || !selected_->item_) return -1;
    RECT r{};
    std::memcpy(&r, &selected_->item_, sizeof selected_->item_);  // the item goes in the rect
    if (!SendMessageA(Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r))) return -1;
    POINT at{r.left, r.bottom};
    ::ClientToScreen(Handle(), &at);
    return MAKELPARAM(at.x, at.y);
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
            if (auto* node = reinterpret_cast<TTreeNode*>(tv->itemNew.lParam)) {
                node->expanded_ = (tv->itemNew.state & TVIS_EXPANDED) != 0;
                // Wine's control tells of a collapse by the user's mouse or keys before it
                // moves its caret off a hidden item: the caret is read again when the message
                // that collapsed is done.
                if (!node->expanded_) {
                    collapsed_ = true;
                    FollowCaret();
                }
            }
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
        case NM_CUSTOMDRAW:
            m.Result = CustomDraw(*reinterpret_cast<NMTVCUSTOMDRAW*>(m.LParam));
            break;
        case NM_CLICK:
            // The control tells of the click before it selects the clicked item: OnClick
            // waits until it has, so that it sees the node the user now sees selected.
            PostMessageA(Handle(), CM_TREECLICK, 0, 0);
            break;
        // NM_DBLCLK is not taken: it is the same double click that WM_LBUTTONDBLCLK already
        // brought through the mouse path, and a second handler call would run a macro twice.
        case NM_RCLICK:
            // Left alone, the control sends its context menu message to the parent, which
            // offers the parent's menu instead of the tree's.
            SendMessageA(Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()),
                         static_cast<LPARAM>(GetMessagePos()));
            m.Result = TRUE;
            break;
        default: break;
        }
        return;
    }
    case CM_TREECLICK: Click(); return;
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
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
        // This platform's tree control keeps Shift+F10 and the menu key to itself, so the
        // default handling never turns them into a request for the context menu.
        if ((m.Msg == WM_SYSKEYDOWN && m.WParam == VK_F10 && GetKeyState(VK_SHIFT) < 0) ||
            (m.Msg == WM_KEYUP && m.WParam == VK_APPS)) {
            SendMessageA(Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()),
                         KeyboardMenuPoint());
            return;
        }
        break;
    case WM_KEYDOWN:
        if (dragging_ && m.WParam == VK_ESCAPE) {
            EndDrag(false, 0, 0);
            return;
        }
        break;
    default: break;
    }
    ++handling_;
    try {
        TWinControl::Dispatch(m);
    } catch (...) {
        --handling_;
        throw;
    }
    if (--handling_ == 0 && collapsed_) {
        collapsed_ = false;
        if (HandleAllocated()) FollowCaret();
    }
}
