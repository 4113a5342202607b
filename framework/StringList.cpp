// TStrings' shared operations and TStringList.
#include "framework/StringList.h"

#include <algorithm>

#include "framework/Exceptions.h"
#include "framework/Streams.h"

// ---- TStrings ----------------------------------------------------------------------------

void TStrings::Put(int Index, const String& S)
{
    TObject* object = ObjectAt(Index);
    Delete(Index);
    InsertObject(Index, S, object);
}

int TStrings::Add(const String& S)
{
    int at = Count();
    Insert(at, S);
    return at;
}

int TStrings::AddObject(const String& S, TObject* AObject)
{
    int at = Add(S);
    SetObjectAt(at, AObject);
    return at;
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject)
{
    Insert(Index, S);
    SetObjectAt(Index, AObject);
}

void TStrings::AddStrings(const TStrings* Source)
{
    BeginUpdate();
    try {
        for (int i = 0; i < Source->Count(); ++i) AddObject(Source->Get(i), Source->ObjectAt(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::IndexOf(std::string_view S) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(Get(i), S)) return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const
{
    for (int i = 0; i < Count(); ++i)
        if (ObjectAt(i) == AObject) return i;
    return -1;
}

String TStrings::Text() const
{
    String r;
    for (int i = 0; i < Count(); ++i) {
        r += Get(i);
        r += "\r\n";
    }
    return r;
}

void TStrings::SetText(std::string_view Value)
{
    BeginUpdate();
    try {
        Clear();
        size_t at = 0;
        while (at < Value.size()) {
            size_t end = Value.find_first_of("\r\n", at);
            if (end == std::string_view::npos) end = Value.size();
            Add(String(Value.substr(at, end - at)));
            at = end;
            if (at < Value.size() && Value[at] == '\r') {
                ++at;
                if (at < Value.size() && Value[at] == '\n') ++at;
            } else if (at < Value.size()) {
                ++at;  // a lone LF
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::LoadFromStream(TStream* Stream)
{
    std::int64_t rest = Stream->Size() - Stream->Position();
    String text(rest > 0 ? static_cast<size_t>(rest) : 0, '\0');
    if (!text.empty()) Stream->ReadBuffer(text.data(), static_cast<int>(text.size()));
    SetText(text);
}

void TStrings::SaveToStream(TStream* Stream) { Stream->WriteString(Text()); }

void TStrings::LoadFromFile(const String& FileName)
{
    TFileStream file(FileName, fmOpenRead);
    LoadFromStream(&file);
}

void TStrings::SaveToFile(const String& FileName)
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(&file);
}

void TStrings::Assign(TPersistent* Source)
{
    if (auto other = dynamic_cast<TStrings*>(Source)) {
        if (other == this) return;
        BeginUpdate();
        try {
            Clear();
            AddStrings(other);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::BeginUpdate()
{
    if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

// ---- TStringList -------------------------------------------------------------------------

void TStringList::CheckIndex(int Index, int Limit) const
{
    if (Index < 0 || Index >= Limit) throw EListError("List index out of bounds (%d)", Index);
}

String TStringList::Get(int Index) const
{
    CheckIndex(Index, Count());
    return items_[static_cast<size_t>(Index)].first;
}

void TStringList::Put(int Index, const String& S)
{
    if (sorted_) throw EListError(String("Operation not allowed on sorted list"));
    CheckIndex(Index, Count());
    Changing();
    items_[static_cast<size_t>(Index)].first = S;
    Changed();
}

TObject* TStringList::ObjectAt(int Index) const
{
    CheckIndex(Index, Count());
    return items_[static_cast<size_t>(Index)].second;
}

void TStringList::SetObjectAt(int Index, TObject* AObject)
{
    CheckIndex(Index, Count());
    Changing();
    items_[static_cast<size_t>(Index)].second = AObject;
    Changed();
}

void TStringList::Insert(int Index, const String& S)
{
    if (sorted_) throw EListError(String("Operation not allowed on sorted list"));
    CheckIndex(Index, Count() + 1);
    Changing();
    items_.insert(items_.begin() + Index, {S, nullptr});
    Changed();
}

void TStringList::Delete(int Index)
{
    CheckIndex(Index, Count());
    Changing();
    items_.erase(items_.begin() + Index);
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

int TStringList::Add(const String& S)
{
    if (!sorted_) {
        int at = Count();
        Insert(at, S);
        return at;
    }
    int at;
    if (Find(S, at)) {
        if (Duplicates == dupIgnore) return at;
        if (Duplicates == dupError)
            throw EListError(String("String list does not allow duplicates"));
    }
    Changing();
    items_.insert(items_.begin() + at, {S, nullptr});
    Changed();
    return at;
}

int TStringList::IndexOf(std::string_view S) const
{
    if (sorted_) {
        int at;
        return Find(S, at) ? at : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (Compare(items_[static_cast<size_t>(i)].first, S) == 0) return i;
    return -1;
}

void TStringList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1, Count());
    CheckIndex(Index2, Count());
    Changing();
    std::swap(items_[static_cast<size_t>(Index1)], items_[static_cast<size_t>(Index2)]);
    Changed();
}

int TStringList::Compare(std::string_view A, std::string_view B) const
{
    return caseSensitive_ ? A.compare(B) : CompareText(A, B);
}

void TStringList::Sort()
{
    Changing();
    std::stable_sort(items_.begin(), items_.end(), [this](const auto& a, const auto& b) {
        return Compare(a.first, b.first) < 0;
    });
    Changed();
}

bool TStringList::Find(std::string_view S, int& Index) const
{
    // The first of equal entries, so IndexOf on a list with duplicates finds the first.
    int lo = 0, hi = Count();
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (Compare(items_[static_cast<size_t>(mid)].first, S) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    Index = lo;
    return lo < Count() && Compare(items_[static_cast<size_t>(lo)].first, S) == 0;
}

void TStringList::SetSorted(bool Value)
{
    if (Value == sorted_) return;
    if (Value) Sort();
    sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value)
{
    if (Value == caseSensitive_) return;
    caseSensitive_ = Value;
    if (sorted_) Sort();
}

void TStringList::SetUpdateState(bool Updating)
{
    if (Updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing()
{
    if (UpdateCount() == 0) OnChanging(this);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0) OnChange(this);
}
