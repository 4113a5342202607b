// TFormStorage: a form placement that also keeps chosen published properties of the form's
// components ("Edit1.Text") and free-standing named values (TStoredValue, optionally XOR-keyed)
// in the same storage section, saved and restored with the placement.
#pragma once

#include "framework/Collections.h"
#include "framework/StringList.h"
#include "framework/Variants.h"
#include "placement/FormPlacement.h"

class TFormStorage;
class TStoredValue;

using TStoredValueEvent = TClosure<void(TStoredValue* Sender, TVariant& Value)>;

class TStoredValue : public TCollectionItem {
public:
    explicit TStoredValue(TCollection* Collection) : TCollectionItem(Collection) {}

    const String& Name() const { return name_; }
    // Raises "String list does not allow duplicates" when another value has the name.
    void SetName(const String& Value) { SetDisplayName(Value); }
    TVariant Value;
    // When set, the text is XOR-encoded with it on disk.
    String KeyString;
    TStoredValueEvent OnSave;
    TStoredValueEvent OnRestore;

    void Assign(TPersistent* Source) override;
    String GetDisplayName() const override;
    void SetDisplayName(const String& Value) override;
    void Clear() { Value = TVariant(); }
    bool IsValueStored() const { return !VarIsEmpty(Value); }
    virtual void Save();
    virtual void Restore();

private:
    TFormStorage* Storage() const;
    String name_;
};

class TStoredValues : public TCollection {
public:
    explicit TStoredValues(TFormStorage* AStorage);

    TFormStorage* Storage() const { return storage_; }
    // The first value with this name (ignoring case), or -1.
    int IndexOf(std::string_view Name) const;
    TStoredValue* GetItem(int Index) const { return static_cast<TStoredValue*>(Items(Index)); }
    void SetItem(int Index, TStoredValue* Item) { Items(Index)->Assign(Item); }
    TStoredValue* GetValue(std::string_view Name) const;
    // Assigns to the value of this name; nothing when there is none.
    void SetValue(std::string_view Name, TStoredValue* Item);
    TStoredValue* AddValue() { return static_cast<TStoredValue*>(Add()); }
    virtual void SaveValues();
    virtual void RestoreValues();

private:
    TFormStorage* storage_;
};

class TFormStorage : public TFormPlacement {
public:
    explicit TFormStorage(TComponent* AOwner);
    ~TFormStorage() override;

    // Lines "Component.Property"; each line's object is that component once loaded.
    TStringList* StoredProps() { return &storedProps_; }
    void SetStoredProps(TStrings* Value);
    TStoredValues* StoredValues() { return &storedValues_; }
    void SetStoredValues(TStoredValues* Value) { storedValues_.Assign(Value); }

    // Form data keeps the lines under the components' current names.
    void WriteState(TWriter& Writer) override;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SavePlacement() override;
    void RestorePlacement() override;
    virtual void SaveProperties();
    virtual void RestoreProperties();

private:
    static void RegisterProps();
    void WatchStoredComponents();
    TStringList storedProps_;
    TStoredValues storedValues_;
};
