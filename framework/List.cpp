// TList of untyped pointers.
#include "framework/List.h"

#include <algorithm>

#include "framework/Exceptions.h"

void TList::CheckIndex(int Index, int Limit) const
{
    if (Index < 0 || Index >= Limit) throw EListError("List index out of bounds (%d)", Index);
}

void* TList::Items(int Index) const
{
    CheckIndex(Index, Count());
    return items_[static_cast<size_t>(Index)];
}

void TList::Put(int Index, void* Item)
{
    CheckIndex(Index, Count());
    items_[static_cast<size_t>(Index)] = Item;
}

int TList::Add(void* Item)
{
    items_.push_back(Item);
    return Count() - 1;
}

void TList::Insert(int Index, void* Item)
{
    CheckIndex(Index, Count() + 1);
    items_.insert(items_.begin() + Index, Item);
}

void TList::Delete(int Index)
{
    CheckIndex(Index, Count());
    items_.erase(items_.begin() + Index);
}

int TList::Remove(void* Item)
{
    int at = IndexOf(Item);
    if (at >= 0) Delete(at);
    return at;
}

int TList::IndexOf(const void* Item) const
{
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1, Count());
    CheckIndex(Index2, Count());
    std::swap(items_[static_cast<size_t>(Index1)], items_[static_cast<size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex) return;
    CheckIndex(CurIndex, Count());
    CheckIndex(NewIndex, Count());
    void* item = items_[static_cast<size_t>(CurIndex)];
    items_.erase(items_.begin() + CurIndex);
    items_.insert(items_.begin() + NewIndex, item);
}
