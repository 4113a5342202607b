// The tree node model; every change is passed on to the collection's mirror, if it has one.
#include "framework/TreeNodes.h"

#include <algorithm>

// ---- TTreeNode ---------------------------------------------------------------------------
std::vector<TTreeNode*>& TTreeNode::Siblings() const
{
    return parent_ ? parent_->children_ : owner_->roots_;
}

void TTreeNode::Changed()
{
    if (TTreeNodesMirror* mirror = owner_->mirror_) mirror->NodeChanged(this);
}

void TTreeNode::SetText(const String& v)
{
    text_ = v;
    Changed();
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
    Changed();
}
void TTreeNode::SetSelectedIndex(int v)
{
    selectedIndex_ = v;
    Changed();
}
void TTreeNode::SetStateIndex(int v)
{
    stateIndex_ = v;
    Changed();
}
void TTreeNode::SetOverlayIndex(int v)
{
    overlayIndex_ = v;
    Changed();
}

bool TTreeNode::Selected() const
{
    TTreeNodesMirror* mirror = owner_->mirror_;
    return mirror && mirror->SelectedNode() == this;
}

void TTreeNode::SetSelected(bool v)
{
    TTreeNodesMirror* mirror = owner_->mirror_;
    if (!mirror) return;
    if (v)
        mirror->SelectNode(this);
    else if (mirror->SelectedNode() == this)
        mirror->SelectNode(nullptr);
}

void TTreeNode::Expand(bool Recurse)
{
    expanded_ = true;
    if (TTreeNodesMirror* mirror = owner_->mirror_) mirror->NodeExpanding(this, true);
    if (Recurse)
        for (TTreeNode* c : children_) c->Expand(true);
}

void TTreeNode::Collapse(bool Recurse)
{
    expanded_ = false;
    if (TTreeNodesMirror* mirror = owner_->mirror_) mirror->NodeExpanding(this, false);
    if (Recurse)
        for (TTreeNode* c : children_) c->Collapse(true);
}

void TTreeNode::MoveTo(TTreeNode* Destination, TNodeAttachMode Mode)
{
    if (Destination == this || (Destination && Destination->IsChildOf(this))) return;
    TTreeNodesMirror* mirror = owner_->mirror_;
    TTreeNode* wasSelected = mirror ? mirror->SelectedNode() : nullptr;
    if (mirror) mirror->NodeRemoving(this);
    owner_->Unlink(this);
    owner_->Place(this, Destination, Mode);
    if (mirror) {
        mirror->NodeInserted(this);
        if (wasSelected && (wasSelected == this || wasSelected->IsChildOf(this)))
            mirror->SelectNode(wasSelected);
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

TTreeNode* TTreeNodes::Added(TTreeNode* node, void* data)
{
    node->Data = data;
    if (mirror_) mirror_->NodeInserted(node);
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
    return Added(Place(new TTreeNode(this, S), Sibling, naAdd), Data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const String& S)
{
    return Added(Place(new TTreeNode(this, S), Sibling, naAddFirst), nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, void* Data)
{
    return Added(Place(new TTreeNode(this, S), Parent, naAddChild), Data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const String& S)
{
    return Added(Place(new TTreeNode(this, S), Parent, naAddChildFirst), nullptr);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const String& S, void* Data)
{
    return Added(Place(new TTreeNode(this, S), Sibling, naInsert), Data);
}

void TTreeNodes::FreeNode(TTreeNode* node)
{
    auto children = node->children_;
    for (TTreeNode* c : children) FreeNode(c);
    node->children_.clear();
    if (mirror_) mirror_->NodeFreeing(node);
    delete node;
}

void TTreeNodes::Delete(TTreeNode* Node)
{
    if (!Node) return;
    if (mirror_) mirror_->NodeRemoving(Node);
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
    if (updating_++ == 0 && mirror_) mirror_->UpdateBracket(true);
}

void TTreeNodes::EndUpdate()
{
    if (--updating_ == 0 && mirror_) mirror_->UpdateBracket(false);
}
