// The owned item list of a collection.
#include "framework/Collections.h"

#include <algorithm>

#include "framework/Exceptions.h"

TCollectionItem::TCollectionItem(TCollection* Collection) : collection_(Collection)
{
    if (Collection) Collection->items_.push_back(this);
}

TCollectionItem::~TCollectionItem()
{
    if (!collection_) return;
    auto& items = collection_->items_;
    items.erase(std::remove(items.begin(), items.end(), this), items.end());
}

int TCollectionItem::Index() const
{
    if (!collection_) return -1;
    const auto& items = collection_->items_;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

TCollection::~TCollection() { Clear(); }

TCollectionItem* TCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (%d)", Index);
    return items_[static_cast<size_t>(Index)];
}

void TCollection::Clear()
{
    while (!items_.empty()) delete items_.back();
}

void TCollection::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TCollection*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    Clear();
    for (int i = 0; i < other->Count(); ++i) Add()->Assign(other->Items(i));
}
