// TStrings, the interface of every list of text lines (memo lines, combo items, rich edit
// lines), and TStringList, the plain in-memory list with optional sorting.
#pragma once

#include <utility>
#include <vector>

#include "framework/Events.h"
#include "framework/Object.h"

class TStream;

class TStrings : public TPersistent {
public:
    // The core a descendant provides; indexes count from 0 and are checked (EListError).
    // (No method here is named like a <windows.h> macro, e.g. GetObject, so the class reads
    // the same in every unit.)
    virtual int Count() const = 0;
    virtual String Get(int Index) const = 0;
    virtual void Put(int Index, const String& S);  // default: Delete + Insert, object kept
    virtual TObject* ObjectAt(int Index) const { return nullptr; }
    virtual void SetObjectAt(int Index, TObject* AObject) {}
    virtual void Insert(int Index, const String& S) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    String Strings(int Index) const { return Get(Index); }
    String operator[](int Index) const { return Get(Index); }
    TObject* Objects(int Index) const { return ObjectAt(Index); }

    virtual int Add(const String& S);  // returns the new line's index
    int AddObject(const String& S, TObject* AObject);
    void InsertObject(int Index, const String& S, TObject* AObject);
    virtual void AddStrings(const TStrings* Source);
    // First line equal to S (case-insensitive), or -1.
    virtual int IndexOf(std::string_view S) const;
    int IndexOfObject(const TObject* AObject) const;

    // Every line followed by CR LF. SetText splits at CR LF, LF or a lone CR; a final line
    // break adds no empty line.
    virtual String Text() const;
    virtual void SetText(std::string_view Value);

    virtual void LoadFromStream(TStream* Stream);  // the rest of Stream as Text
    virtual void SaveToStream(TStream* Stream);    // Text at Stream's position
    virtual void LoadFromFile(const String& FileName);
    virtual void SaveToFile(const String& FileName);

    // Copies lines and objects from another TStrings.
    void Assign(TPersistent* Source) override;

    // Nested updates: descendants that redraw on change hear only the outermost pair.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

protected:
    virtual void SetUpdateState(bool Updating) {}

private:
    int updateCount_ = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    int Count() const override { return static_cast<int>(items_.size()); }
    String Get(int Index) const override;
    void Put(int Index, const String& S) override;
    TObject* ObjectAt(int Index) const override;
    void SetObjectAt(int Index, TObject* AObject) override;
    void Insert(int Index, const String& S) override;  // EListError on a sorted list
    void Delete(int Index) override;
    void Clear() override;
    int Add(const String& S) override;  // a sorted list inserts in order, minding Duplicates
    int IndexOf(std::string_view S) const override;

    void Exchange(int Index1, int Index2);
    void Sort();
    // Binary search of a sorted list: true and the index when found, else the insert index.
    bool Find(std::string_view S, int& Index) const;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    TDuplicates Duplicates = dupIgnore;
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool Updating) override;
    int Compare(std::string_view A, std::string_view B) const;

private:
    void Changing();
    void Changed();
    void CheckIndex(int Index, int Limit) const;

    std::vector<std::pair<String, TObject*>> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
};
