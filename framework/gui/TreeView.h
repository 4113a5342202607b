// The tree view as a node model mirrored into the platform's tree control. TTreeNodes and
// TTreeNode work without any window (tree logic is testable on its own).
#pragma once

// A TTreeView puts every change of its nodes into its control while it has one, and builds
// the control again from the model when its window is made again.

#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "framework/Events.h"
#include "framework/gui/Control.h"

class TTreeNodes;
class TTreeView;
class TImageList;

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };

class TTreeNode {
public:
    String Text() const { return text_; }
    void SetText(const String& v);
    void* Data = nullptr;

    TTreeNode* Parent() const { return parent_; }
    int Level() const;
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int Index) const { return children_[static_cast<size_t>(Index)]; }
    bool HasChildren() const { return !children_.empty(); }
    int Index() const;          // among its siblings
    int AbsoluteIndex() const;  // in the pre-order walk of the whole tree
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
    TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back(); }
    TTreeNode* GetNextSibling() const;
    TTreeNode* GetPrevSibling() const;
    // The next node in pre-order (children first, then siblings, then the parents' siblings).
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    bool IsChildOf(const TTreeNode* Ancestor) const;

    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v);
    int SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int v);
    int StateIndex() const { return stateIndex_; }
    void SetStateIndex(int v);
    // Overlay image number (0 to 3, set up with TImageList::Overlay), or -1.
    int OverlayIndex() const { return overlayIndex_; }
    void SetOverlayIndex(int v);

    bool Selected() const;
    void SetSelected(bool v);
    bool Expanded() const { return expanded_; }
    void Expand(bool Recurse);
    void Collapse(bool Recurse);

    // Moves the node (with its children) relative to Destination; nothing happens when the
    // destination lies inside the node itself.
    void MoveTo(TTreeNode* Destination, TNodeAttachMode Mode);
    void Delete();  // frees the node and its children
    TTreeNodes* Owner() const { return owner_; }
    HTREEITEM ItemId() const { return item_; }

private:
    friend class TTreeNodes;
    friend class TTreeView;
    TTreeNode(TTreeNodes* owner, String text) : text_(std::move(text)), owner_(owner) {}
    std::vector<TTreeNode*>& Siblings() const;

    String text_;
    TTreeNodes* owner_;
    TTreeNode* parent_ = nullptr;
    std::vector<TTreeNode*> children_;
    int imageIndex_ = -1, selectedIndex_ = -1, stateIndex_ = -1, overlayIndex_ = -1;
    bool expanded_ = false;
    HTREEITEM item_ = nullptr;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView* View = nullptr) : view_(View) {}
    ~TTreeNodes();
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    // As the last sibling of Sibling (a root node when Sibling is nullptr).
    TTreeNode* Add(TTreeNode* Sibling, const String& S) { return AddObject(Sibling, S, nullptr); }
    TTreeNode* AddObject(TTreeNode* Sibling, const String& S, void* Data);
    TTreeNode* AddFirst(TTreeNode* Sibling, const String& S);
    // As the last child of Parent (a root node when Parent is nullptr).
    TTreeNode* AddChild(TTreeNode* Parent, const String& S)
    {
        return AddChildObject(Parent, S, nullptr);
    }
    TTreeNode* AddChildObject(TTreeNode* Parent, const String& S, void* Data);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const String& S);
    // Just before Sibling (at the end of the roots when Sibling is nullptr).
    TTreeNode* Insert(TTreeNode* Sibling, const String& S)
    {
        return InsertObject(Sibling, S, nullptr);
    }
    TTreeNode* InsertObject(TTreeNode* Sibling, const String& S, void* Data);

    void Delete(TTreeNode* Node);
    void Clear();

    int Count() const;
    // The node at an absolute (pre-order) index, or nullptr.
    TTreeNode* Item(int Index) const;
    TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
    int RootCount() const { return static_cast<int>(roots_.size()); }
    TTreeNode* Root(int Index) const { return roots_[static_cast<size_t>(Index)]; }
    TTreeView* View() const { return view_; }

    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TTreeView;
    TTreeNode* Place(TTreeNode* node, TTreeNode* relative, TNodeAttachMode mode);
    void Unlink(TTreeNode* node);
    void FreeNode(TTreeNode* node);
    TTreeView* view_;
    std::vector<TTreeNode*> roots_;
    int updating_ = 0;
};

enum THitTest {
    htAbove,
    htBelow,
    htNowhere,
    htOnItem,
    htOnButton,
    htOnIcon,
    htOnIndent,
    htOnLabel,
    htOnRight,
    htOnStateIcon,
    htToLeft,
    htToRight
};
using THitTests = TSet<THitTest>;
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    TClosure<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TClosure<void(TObject* Sender, TObject* Source, int X, int Y)>;

using TTVChangedEvent = TClosure<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = TClosure<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = TClosure<void(TObject* Sender, TTreeNode* Node, String& S)>;
using TTVExpandedEvent = TClosure<void(TObject* Sender, TTreeNode* Node)>;

class TTreeView : public TWinControl {
public:
    explicit TTreeView(TComponent* AOwner);
    ~TTreeView() override;
    void Dispatch(TMessage& Message) override;

    TTreeNodes* Items() { return &items_; }
    TTreeNode* Selected();
    void SetSelected(TTreeNode* v);  // fires OnChange when the selection changes
    TTreeNode* GetNodeAt(int X, int Y);
    // Where a point of the client area lies relative to the items.
    THitTests GetHitTestInfoAt(int X, int Y);

    // dmAutomatic: dragging a node starts a drag inside the tree; OnDragOver decides whether
    // a point accepts it, OnDragDrop receives it (the tree itself is the Source).
    TDragMode DragMode = dmManual;
    bool Dragging() const { return dragging_; }
    TTreeNode* DragNode() const { return dragNode_; }
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

    TImageList* Images() const { return images_; }
    void SetImages(TImageList* v);
    TImageList* StateImages() const { return stateImages_; }
    void SetStateImages(TImageList* v);

    bool ReadOnly = false;
    bool HideSelection = true;
    bool HotTrack = false;
    bool ShowLines = true, ShowRoot = true, ShowButtons = true;
    int Indent = 19;

    TTVChangedEvent OnChange;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVExpandedEvent OnDeletion;  // a node is about to be freed

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TTreeNodes;
    friend class TTreeNode;
    void InsertItem(TTreeNode* node);  // the node and its children into the control
    void RemoveItem(TTreeNode* node);  // the node's item (with its children) out of it
    void UpdateItem(TTreeNode* node);  // text, images, overlay
    void ForgetItems(TTreeNode* node);
    TTreeNodes items_;
    TTreeNode* selected_ = nullptr;
    TImageList* images_ = nullptr;
    TImageList* stateImages_ = nullptr;
    bool syncing_ = false;  // changes we make ourselves do not come back as events
    bool dragging_ = false, dragAccepted_ = false;
    TTreeNode* dragNode_ = nullptr;
    void EndDrag(bool drop, int X, int Y);
};
