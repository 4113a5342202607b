// The tree view: the node model (framework/TreeNodes.h) mirrored into the platform's tree
// control.
#pragma once

// A TTreeView puts every change of its nodes into its control while it has one, and builds
// the control again from the model when its window is made again.

#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "framework/Events.h"
#include "framework/TreeNodes.h"
#include "framework/gui/Control.h"

class TImageList;

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

class TTreeView : public TWinControl, private TTreeNodesMirror {
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
    void NodeInserted(TTreeNode* Node) override { InsertItem(Node); }
    void NodeRemoving(TTreeNode* Node) override { RemoveItem(Node); }
    void NodeChanged(TTreeNode* Node) override { UpdateItem(Node); }
    void NodeFreeing(TTreeNode* Node) override;
    void NodeExpanding(TTreeNode* Node, bool Expand) override;
    TTreeNode* SelectedNode() override { return selected_; }
    void SelectNode(TTreeNode* Node) override;
    void UpdateBracket(bool Begin) override;
    void InsertItem(TTreeNode* node);  // the node and its children into the control
    void RemoveItem(TTreeNode* node);  // the node's item (with its children) out of it
    void UpdateItem(TTreeNode* node);  // text, images, overlay
    void ForgetItems(TTreeNode* node);
    void FollowCaret();  // the control's caret, moved without a notification, as the selection
    LRESULT CustomDraw(NMTVCUSTOMDRAW& Draw);  // the overlays drawn whole
    TTreeNodes items_;
    TTreeNode* selected_ = nullptr;
    TImageList* images_ = nullptr;
    TImageList* stateImages_ = nullptr;
    bool syncing_ = false;  // changes we make ourselves do not come back as events
    // A collapse was reported inside the control's handling of a message; the caret it moves
    // is read once that handling is over.
    bool collapsed_ = false;
    int handling_ = 0;
    bool dragging_ = false, dragAccepted_ = false;
    TTreeNode* dragNode_ = nullptr;
    void EndDrag(bool drop, int X, int Y);
    LPARAM KeyboardMenuPoint();  // where the context menu opens for a key, in screen pixels
};
