// TCollection: an owned, ordered list of items of one class (TCollectionItem), each knowing
// its collection and index; a collection makes its own items, so a reader can add them.
#pragma once

#include <functional>
#include <vector>

#include "framework/Object.h"

class TCollection;

class TCollectionItem : public TPersistent {
public:
    // Adds itself to Collection (when given).
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    int Index() const;
    // The name an editor shows: the class name when the item has none of its own.
    virtual String GetDisplayName() const { return ClassName(); }
    virtual void SetDisplayName(const String& Value) {}

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
};

class TCollection : public TPersistent {
public:
    using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
    // ItemFactory makes one new item in the collection given to it.
    explicit TCollection(TItemFactory ItemFactory) : factory_(std::move(ItemFactory)) {}
    ~TCollection() override;

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError for an index out of range.
    TCollectionItem* Items(int Index) const;
    TCollectionItem* Add() { return factory_(this); }
    void Clear();
    // The items' copies of Source's items (same count, each assigned).
    void Assign(TPersistent* Source) override;
    // Told when an item's name or value changed (a hook for editors; nothing here).
    virtual void Changed() {}

private:
    friend class TCollectionItem;
    TItemFactory factory_;
    std::vector<TCollectionItem*> items_;
};
