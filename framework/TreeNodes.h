// The tree node model: nodes with labels, images and data in a two-way ordered tree. It needs
// no window; a tree view that shows the nodes listens to every change as its mirror.
#pragma once

#include <vector>

#include "framework/Strings.h"

class TTreeNodes;
class TTreeNode;
class TTreeView;
struct _TREEITEM;  // the platform control's item, opaque here

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };

// The window side of a node collection: told of every change so it can follow the model.
class TTreeNodesMirror {
public:
    virtual void NodeInserted(TTreeNode* Node) = 0;  // the node and its children are new
    virtual void NodeRemoving(TTreeNode* Node) = 0;  // the node leaves its place (moved or freed)
    virtual void NodeChanged(TTreeNode* Node) = 0;   // text, images or overlay
    virtual void NodeFreeing(TTreeNode* Node) = 0;   // the node is about to be deleted
    virtual void NodeExpanding(TTreeNode* Node, bool Expand) = 0;
    virtual TTreeNode* SelectedNode() = 0;
    virtual void SelectNode(TTreeNode* Node) = 0;
    virtual void UpdateBracket(bool Begin) = 0;  // outermost begin and end only

protected:
    ~TTreeNodesMirror() = default;
};

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
    _TREEITEM* ItemId() const { return item_; }

private:
    friend class TTreeNodes;
    friend class TTreeView;
    TTreeNode(TTreeNodes* owner, String text) : text_(std::move(text)), owner_(owner) {}
    std::vector<TTreeNode*>& Siblings() const;
    void Changed();

    String text_;
    TTreeNodes* owner_;
    TTreeNode* parent_ = nullptr;
    std::vector<TTreeNode*> children_;
    int imageIndex_ = -1, selectedIndex_ = -1, stateIndex_ = -1, overlayIndex_ = -1;
    bool expanded_ = false;
    _TREEITEM* item_ = nullptr;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TTreeNodesMirror* Mirror = nullptr) : mirror_(Mirror) {}
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

    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    TTreeNode* Place(TTreeNode* node, TTreeNode* relative, TNodeAttachMode mode);
    TTreeNode* Added(TTreeNode* node, void* data);
    void Unlink(TTreeNode* node);
    void FreeNode(TTreeNode* node);
    TTreeNodesMirror* mirror_;
    std::vector<TTreeNode*> roots_;
    int updating_ = 0;
};
