// Published properties of objects stored as text through read, write and erase events, so
// any key-value store can hold them: each property kind has its text form (integers decimal,
// enumerations by identifier, sets "[a,b]", floats with ".", string lists in a section of
// their own, component references by name, collections and nested objects by prefix).
#pragma once

#include <vector>

#include "framework/Component.h"
#include "framework/Events.h"
#include "framework/StringList.h"
#include "framework/TypeInfo.h"

// Put between a component's name and its property's in a stored key (Edit1_Text).
extern String sPropNameDelimiter;

// Finds a form (or another top-level component) by name for a stored "Owner.Name"
// reference; unset, only the storage's owner component is searched.
extern TComponent* (*FindGlobalComponent)(std::string_view Name);

// The published properties of one object, restricted to some kinds.
class TPropInfoList {
public:
    TPropInfoList(const TObject* AObject, TTypeKinds Filter);

    int Count() const { return static_cast<int>(list_.size()); }
    const TPropInfo* Items(int Index) const { return list_[static_cast<size_t>(Index)]; }
    // Same kind and the same name ignoring case.
    bool Contains(const TPropInfo* P) const;
    const TPropInfo* Find(std::string_view AName) const;
    void Delete(int Index);
    // Keeps only the properties List also has.
    void Intersect(const TPropInfoList& List);

private:
    std::vector<const TPropInfo*> list_;
};

using TReadStrEvent =
    TClosure<String(const String& ASection, const String& Item, const String& Default)>;
using TWriteStrEvent =
    TClosure<void(const String& ASection, const String& Item, const String& Value)>;
using TEraseSectEvent = TClosure<void(const String& ASection)>;

// Also the form data of components (TComponent::WriteState, ReadState): each property goes
// through StoreAnyProperty or LoadAnyProperty of its component.
class TPropsStorage : public TObject, public TWriter, public TReader {
public:
    TPropsStorage() = default;

    TObject* AObject = nullptr;   // whose properties are stored
    TComponent* Owner = nullptr;  // owner of the components named in references
    String Prefix;                // in front of every property name
    String Section;
    TReadStrEvent OnReadString;
    TWriteStrEvent OnWriteString;
    TEraseSectEvent OnEraseSection;

    virtual String ReadString(const String& ASection, const String& Item, const String& Default);
    virtual void WriteString(const String& ASection, const String& Item, const String& Value);
    virtual void EraseSection(const String& ASection);
    virtual String GetItemName(const String& APropName) { return Prefix + APropName; }
    virtual TPropsStorage* CreateStorage() { return new TPropsStorage; }

    void StoreAnyProperty(const TPropInfo* PropInfo);
    void LoadAnyProperty(const TPropInfo* PropInfo);
    void StoreProperties(const TStrings& PropNames);
    void LoadProperties(const TStrings& PropNames);
    // StoredList: lines "Component.Property" whose objects are the components.
    void StoreObjectsProps(TComponent* AComponent, TStrings& StoredList);
    void LoadObjectsProps(TComponent* AComponent, TStrings& StoredList);

    void WriteProperty(TObject* Instance, const TPropInfo& Prop) override;
    void ReadProperty(TObject* Instance, const TPropInfo& Prop) override;

private:
    String PropText(const TPropInfo* P);
    void LoadText(const TPropInfo* P, const String& Text);
    void StoreClassProperty(const TPropInfo* P);
    void LoadClassProperty(const TPropInfo* P);
    // A storage for a nested object, with this one's events, owner and section.
    std::unique_ptr<TPropsStorage> Nested(TObject* Object, const String& ASection,
                                          const String& APrefix);
    void ObjectsProps(TComponent* AComponent, TStrings& StoredList, bool Store);
};

// "Comp.Prop", or empty when either is empty.
String CreateStoredItem(const String& CompName, const String& PropName);
// Splits "Comp.Prop" at the first "." (both trimmed); true only when both are non-empty.
bool ParseStoredItem(const String& Item, String& CompName, String& PropName);
// FromForm: each line's object becomes the component it names (lines naming none are
// dropped); otherwise each line is rewritten from its object's current name (lines without
// an object are dropped). Lines that do not parse are dropped either way.
void UpdateStoredList(TComponent* AComponent, TStrings& StoredList, bool FromForm);
