// The text forms of published properties and their storage through read, write and erase
// events.
#include "placement/PropsStorage.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "framework/Collections.h"
#include "framework/FloatText.h"
#include "util/CharSet.h"
#include "util/StrUtils.h"

String sPropNameDelimiter = "_";
TComponent* (*FindGlobalComponent)(std::string_view Name) = nullptr;

namespace {

const TCharSet SetDelimiters{' ', ',', '[', ']'};
const String NullReference = "(null)";

bool IsStringKind(TTypeKind K) { return K == tkString || K == tkLString || K == tkWString; }
bool IsCharKind(TTypeKind K) { return K == tkChar || K == tkWChar; }

bool IsStoredKind(TTypeKind K)
{
    switch (K) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkFloat:
    case tkString:
    case tkSet:
    case tkClass:
    case tkWChar:
    case tkLString:
    case tkVariant:
    case tkInt64: return true;
    default: return false;
    }
}

// The shortest text that reads back as the same value (of the property's own precision),
// always with ".", whatever the locale.
String FloatText(double Value, TFloatType Type)
{
    char buffer[64];
    const auto end =
        Type == ftSingle
            ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(Value)).ptr
            : std::to_chars(buffer, buffer + sizeof buffer, Value).ptr;
    return String(buffer, end);
}

long long TextToInt64(const String& Text)
{
    long long value = 0;
    const auto* first = Text.data();
    const auto* last = Text.data() + Text.size();
    if (first != last && *first == '+') ++first;
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last ? value : 0;
}

// Puts the storage's handled object back when a form data call is done with another.
struct THandledObject {
    TObject*& Slot;
    TObject* Saved;
    ~THandledObject() { Slot = Saved; }
};

int IndexOfName(const std::vector<String>& Names, std::string_view Name)
{
    for (size_t i = 0; i < Names.size(); ++i)
        if (SameText(Names[i], Name)) return static_cast<int>(i);
    return -1;
}

}  // namespace

// ---- TPropInfoList ------------------------------------------------------------------------

TPropInfoList::TPropInfoList(const TObject* AObject, TTypeKinds Filter)
    : list_(GetPropList(AObject, Filter))
{
}

bool TPropInfoList::Contains(const TPropInfo* P) const
{
    return std::any_of(list_.begin(), list_.end(), [P](const TPropInfo* q) {
        return q->Kind == P->Kind && SameText(q->Name, P->Name);
    });
}

const TPropInfo* TPropInfoList::Find(std::string_view AName) const
{
    for (const TPropInfo* p : list_)
        if (SameText(p->Name, AName)) return p;
    return nullptr;
}

void TPropInfoList::Delete(int Index) { list_.erase(list_.begin() + Index); }

void TPropInfoList::Intersect(const TPropInfoList& List)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (!List.Contains(Items(i))) Delete(i);
}

// ---- events -----------------------------------------------------------------------------------

String TPropsStorage::ReadString(const String& ASection, const String& Item, const String& Default)
{
    return OnReadString ? OnReadString(ASection, Item, Default) : String();
}

void TPropsStorage::WriteString(const String& ASection, const String& Item, const String& Value)
{
    if (OnWriteString) OnWriteString(ASection, Item, Value);
}

void TPropsStorage::EraseSection(const String& ASection)
{
    if (OnEraseSection) OnEraseSection(ASection);
}

// ---- text forms -------------------------------------------------------------------------------

String TPropsStorage::PropText(const TPropInfo* P)
{
    TObject* o = AObject;
    switch (P->Kind) {
    case tkInteger:
    case tkInt64: return IntToStr(P->GetOrd(o));
    case tkChar:
    case tkWChar: return String(1, static_cast<char>(P->GetOrd(o)));
    case tkEnumeration: {
        const long long v = P->GetOrd(o);
        return v >= 0 && v < static_cast<long long>(P->Names.size()) ? P->Names[size_t(v)] : "";
    }
    case tkFloat: return FloatText(P->GetFloat(o), P->FloatType);
    case tkSet: {
        const auto bits = static_cast<unsigned long long>(P->GetOrd(o));
        String text = "[";
        for (size_t i = 0; i < P->Names.size() && i < 64; ++i) {
            if (!(bits & (1ull << i))) continue;
            if (text.size() > 1) text += ",";
            text += P->Names[i];
        }
        return text + "]";
    }
    case tkString:
    case tkLString: return P->GetStr(o);
    case tkVariant: return VarToStr(P->GetVar(o));
    default: return "";
    }
}

void TPropsStorage::LoadText(const TPropInfo* P, const String& Text)
{
    TObject* o = AObject;
    switch (P->Kind) {
    case tkInteger: P->SetOrd(o, StrToIntDef(Text, 0)); break;
    case tkInt64: P->SetOrd(o, TextToInt64(Text)); break;
    case tkChar:
    case tkWChar:
        if (!Text.empty()) P->SetOrd(o, static_cast<unsigned char>(Text[0]));
        break;
    case tkEnumeration:
        if (int i = IndexOfName(P->Names, Text); i >= 0) P->SetOrd(o, i);
        break;
    case tkFloat: {
        double value = 0;
        if (!TryStrToFloat(Text, value)) value = 0;
        P->SetFloat(o, value);
        break;
    }
    case tkSet: {
        unsigned long long bits = 0;
        const int words = WordCount(Text, SetDelimiters);
        for (int w = 1; w <= words; ++w) {
            const int i = IndexOfName(P->Names, ExtractWord(w, Text, SetDelimiters));
            if (i >= 0 && i < 64) bits |= 1ull << i;
        }
        P->SetOrd(o, static_cast<long long>(bits));
        break;
    }
    case tkString:
    case tkLString: P->SetStr(o, Text); break;
    case tkVariant: P->SetVar(o, TVariant(Text)); break;
    default: break;
    }
}

void TPropsStorage::StoreAnyProperty(const TPropInfo* PropInfo)
{
    if (!PropInfo || !AObject || !IsStoredKind(PropInfo->Kind)) return;
    if (PropInfo->Kind == tkClass) {
        StoreClassProperty(PropInfo);
        return;
    }
    const String text = Trim(PropText(PropInfo));
    // Trimmed, a blank character is empty and is not stored.
    if (!text.empty() || IsStringKind(PropInfo->Kind) || PropInfo->Kind == tkWChar)
        WriteString(Section, GetItemName(PropInfo->Name), text);
}

void TPropsStorage::LoadAnyProperty(const TPropInfo* PropInfo)
{
    if (!PropInfo || !AObject || !IsStoredKind(PropInfo->Kind)) return;
    if (PropInfo->Kind == tkClass) {
        LoadClassProperty(PropInfo);
        return;
    }
    const String current = PropText(PropInfo);
    String text;
    if (!current.empty() || IsStringKind(PropInfo->Kind) || IsCharKind(PropInfo->Kind))
        text = Trim(ReadString(Section, GetItemName(PropInfo->Name), current));
    LoadText(PropInfo, text);
}

void TPropsStorage::WriteProperty(TObject* Instance, const TPropInfo& Prop)
{
    const THandledObject restore{AObject, AObject};
    AObject = Instance;
    StoreAnyProperty(&Prop);
}

void TPropsStorage::ReadProperty(TObject* Instance, const TPropInfo& Prop)
{
    const THandledObject restore{AObject, AObject};
    AObject = Instance;
    LoadAnyProperty(&Prop);
}

// ---- class properties ---------------------------------------------------------------------------

std::unique_ptr<TPropsStorage> TPropsStorage::Nested(TObject* Object, const String& ASection,
                                                     const String& APrefix)
{
    std::unique_ptr<TPropsStorage> nested(CreateStorage());
    nested->AObject = Object;
    nested->Owner = Owner;
    nested->Section = ASection;
    nested->Prefix = APrefix;
    nested->OnReadString = OnReadString;
    nested->OnWriteString = OnWriteString;
    nested->OnEraseSection = OnEraseSection;
    return nested;
}

void TPropsStorage::StoreClassProperty(const TPropInfo* P)
{
    TObject* value = P->GetObj(AObject);
    const String item = GetItemName(P->Name);
    if (auto* lines = dynamic_cast<TStrings*>(value)) {
        const String section = Format("%s.%s", Section, item);
        EraseSection(section);
        // The count is written also for an empty list, so loading it empties the list.
        WriteString(section, "Count", IntToStr(lines->Count()));
        for (int i = 0; i < lines->Count(); ++i)
            WriteString(section, Format("Item%d", i), lines->Strings(i));
        return;
    }
    if (P->ComponentReference || dynamic_cast<TComponent*>(value)) {
        auto* component = dynamic_cast<TComponent*>(value);
        String text = NullReference;
        if (component) {
            text = component->Name;
            TComponent* owner = component->Owner();
            if (owner && owner != Owner) {
                String ownerName = owner->Name;
                if (ownerName.empty()) {
                    ownerName = owner->ClassName();
                    if (!ownerName.empty() && ownerName[0] == 'T') ownerName.erase(0, 1);
                }
                text = Format("%s.%s", ownerName, text);
            }
        }
        WriteString(Section, item, text);
        return;
    }
    if (auto* collection = dynamic_cast<TCollection*>(value)) {
        const String name = Prefix + P->Name;
        const String section = Format("%s.%s", Section, name);
        EraseSection(section);
        WriteString(Section, Format("%s.%s", name, "Count"), IntToStr(collection->Count()));
        for (int i = 0; i < collection->Count(); ++i) {
            auto nested =
                Nested(collection->Items(i), section, Format("Item%d", i) + sPropNameDelimiter);
            for (const TPropInfo* q : GetPropList(collection->Items(i)))
                nested->StoreAnyProperty(q);
        }
        return;
    }
    if (value) {
        auto nested = Nested(value, Section, Prefix + P->Name);
        for (const TPropInfo* q : GetPropList(value)) nested->StoreAnyProperty(q);
    }
}

void TPropsStorage::LoadClassProperty(const TPropInfo* P)
{
    TObject* value = P->GetObj(AObject);
    const String item = GetItemName(P->Name);
    if (auto* lines = dynamic_cast<TStrings*>(value)) {
        const String section = Format("%s.%s", Section, item);
        const String count = Trim(ReadString(section, "Count", ""));
        if (count.empty()) return;  // nothing stored: the list keeps its lines
        const int n = StrToIntDef(count, 0);
        lines->BeginUpdate();
        try {
            lines->Clear();
            for (int i = 0; i < n; ++i) lines->Add(ReadString(section, Format("Item%d", i), ""));
        } catch (...) {
            lines->EndUpdate();
            throw;
        }
        lines->EndUpdate();
        return;
    }
    if (P->ComponentReference || dynamic_cast<TComponent*>(value)) {
        if (!P->SetObj) return;
        const String text = Trim(ReadString(Section, item, ""));
        if (text.empty()) return;
        if (SameText(text, NullReference)) {
            P->SetObj(AObject, nullptr);
            return;
        }
        TComponent* owner = Owner;
        String name = text;
        if (const int dot = Pos(".", text); dot > 0) {
            const String ownerName = Trim(Copy(text, 1, dot - 1));
            name = Copy(text, dot + 1, Length(text));
            owner = FindGlobalComponent ? FindGlobalComponent(ownerName) : nullptr;
            if (!owner && Owner && SameText(Owner->Name, ownerName)) owner = Owner;
        }
        if (owner) P->SetObj(AObject, owner->FindComponent(Trim(name)));
        return;
    }
    if (auto* collection = dynamic_cast<TCollection*>(value)) {
        const String name = Prefix + P->Name;
        const String section = Format("%s.%s", Section, name);
        const String count = Trim(ReadString(Section, Format("%s.%s", name, "Count"), ""));
        if (count.empty()) return;
        collection->Clear();
        const int n = StrToIntDef(count, 0);
        for (int i = 0; i < n; ++i) {
            TCollectionItem* added = collection->Add();
            auto nested = Nested(added, section, Format("Item%d", i) + sPropNameDelimiter);
            for (const TPropInfo* q : GetPropList(added)) nested->LoadAnyProperty(q);
        }
        return;
    }
    if (value) {
        auto nested = Nested(value, Section, Prefix + P->Name);
        for (const TPropInfo* q : GetPropList(value)) nested->LoadAnyProperty(q);
    }
}

// ---- lists of properties
// --------------------------------------------------------------------------

void TPropsStorage::StoreProperties(const TStrings& PropNames)
{
    const TPropInfoList props(AObject, tkAny);
    for (int i = 0; i < PropNames.Count(); ++i) StoreAnyProperty(props.Find(PropNames[i]));
}

void TPropsStorage::LoadProperties(const TStrings& PropNames)
{
    const TPropInfoList props(AObject, tkAny);
    for (int i = 0; i < PropNames.Count(); ++i) LoadAnyProperty(props.Find(PropNames[i]));
}

void TPropsStorage::StoreObjectsProps(TComponent* AComponent, TStrings& StoredList)
{
    ObjectsProps(AComponent, StoredList, true);
}

void TPropsStorage::LoadObjectsProps(TComponent* AComponent, TStrings& StoredList)
{
    ObjectsProps(AComponent, StoredList, false);
}

void TPropsStorage::ObjectsProps(TComponent* AComponent, TStrings& StoredList, bool Store)
{
    UpdateStoredList(AComponent, StoredList, false);
    std::map<String, TPropInfoList> lists;  // by component name, one per component
    for (int i = 0; i < StoredList.Count(); ++i) {
        auto* component = dynamic_cast<TComponent*>(StoredList.Objects(i));
        if (component && !lists.count(UpperCase(component->Name)))
            lists.emplace(UpperCase(component->Name), TPropInfoList(component, tkAny));
    }
    Owner = AComponent;
    struct TRestore {
        TPropsStorage* Storage;
        ~TRestore() { Storage->Owner = nullptr; }
    } restore{this};
    for (int i = 0; i < StoredList.Count(); ++i) {
        String compName, propName;
        auto* component = dynamic_cast<TComponent*>(StoredList.Objects(i));
        if (!component || !ParseStoredItem(StoredList[i], compName, propName)) continue;
        AObject = component;
        Prefix = component->Name + sPropNameDelimiter;
        auto list = lists.find(UpperCase(component->Name));
        if (list == lists.end()) continue;
        const TPropInfo* prop = list->second.Find(propName);
        if (Store)
            StoreAnyProperty(prop);
        else
            LoadAnyProperty(prop);
    }
}

// ---- stored lists
// ----------------------------------------------------------------------------------

String CreateStoredItem(const String& CompName, const String& PropName)
{
    if (CompName.empty() || PropName.empty()) return "";
    return CompName + "." + PropName;
}

bool ParseStoredItem(const String& Item, String& CompName, String& PropName)
{
    const int dot = Pos(".", Item);
    if (Item.empty() || dot == 0) return false;
    CompName = Trim(Copy(Item, 1, dot - 1));
    PropName = Trim(Copy(Item, dot + 1, Length(Item)));
    return !CompName.empty() && !PropName.empty();
}

void UpdateStoredList(TComponent* AComponent, TStrings& StoredList, bool FromForm)
{
    for (int i = StoredList.Count() - 1; i >= 0; --i) {
        String compName, propName;
        if (!ParseStoredItem(StoredList[i], compName, propName)) {
            StoredList.Delete(i);
            continue;
        }
        if (FromForm) {
            TComponent* component = AComponent ? AComponent->FindComponent(compName) : nullptr;
            if (component)
                StoredList.SetObjectAt(i, component);
            else
                StoredList.Delete(i);
        } else if (auto* component = dynamic_cast<TComponent*>(StoredList.Objects(i))) {
            StoredList.Put(i, CreateStoredItem(component->Name, propName));
        } else {
            StoredList.Delete(i);
        }
    }
}
