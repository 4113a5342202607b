// TList: a list of untyped pointers (the lamps' list of live lamps and the like). The list
// owns nothing; indexes count from 0 and are checked.
#pragma once

#include <vector>

#include "framework/Object.h"

class TList : public TObject {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    void* Items(int Index) const;
    void Put(int Index, void* Item);
    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    // Removes the first occurrence; returns its former index, or -1.
    int Remove(void* Item);
    int IndexOf(const void* Item) const;
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }
    void Clear() { items_.clear(); }

private:
    void CheckIndex(int Index, int Limit) const;
    std::vector<void*> items_;
};
