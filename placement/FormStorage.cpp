// The form storage: stored component properties and named values, saved and restored in the
// placement's section while its storage object is open.
#include "placement/FormStorage.h"

#include "framework/Exceptions.h"
#include "framework/TypeInfo.h"
#include "framework/gui/Application.h"
#include "framework/gui/ControlProps.h"
#include "placement/PlacementTexts.h"
#include "placement/PropsStorage.h"
#include "util/XorStrings.h"

namespace {

// A stored "Owner.Name" reference names one of the application's forms.
TComponent* FindApplicationComponent(std::string_view Name)
{
    return Application ? Application->FindComponent(Name) : nullptr;
}

}  // namespace

// ---- TStoredValue -------------------------------------------------------------------------

TFormStorage* TStoredValue::Storage() const
{
    auto* values = dynamic_cast<TStoredValues*>(Collection());
    return values ? values->Storage() : nullptr;
}

void TStoredValue::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TStoredValue*>(Source);
    if (!other) {
        TCollectionItem::Assign(Source);
        return;
    }
    Value = other->Value;
    SetDisplayName(other->Name());
    KeyString = other->KeyString;
}

String TStoredValue::GetDisplayName() const
{
    return name_.empty() ? TCollectionItem::GetDisplayName() : name_;
}

void TStoredValue::SetDisplayName(const String& Value)
{
    auto* values = dynamic_cast<TStoredValues*>(Collection());
    if (!Value.empty() && !SameText(Value, name_) && values && values->IndexOf(Value) >= 0)
        throw Exception(PlacementText::DuplicateName);
    name_ = Value;
    if (Collection()) Collection()->Changed();
}

void TStoredValue::Save()
{
    TFormStorage* storage = Storage();
    if (!storage) return;
    TVariant saved = Value;
    if (OnSave) OnSave(this, saved);
    String text = VarToStr(saved);
    if (!KeyString.empty()) text = XorEncode(KeyString, text);
    storage->WriteString(name_, text);
}

void TStoredValue::Restore()
{
    TFormStorage* storage = Storage();
    if (!storage) return;
    String fallback = VarToStr(Value);
    if (!KeyString.empty()) fallback = XorEncode(KeyString, fallback);
    String text = storage->ReadString(name_, fallback);
    if (!KeyString.empty()) text = XorDecode(KeyString, text);
    TVariant restored(text);
    if (OnRestore) OnRestore(this, restored);
    Value = restored;
}

// ---- TStoredValues ------------------------------------------------------------------------

TStoredValues::TStoredValues(TFormStorage* AStorage)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TStoredValue(c); }),
      storage_(AStorage)
{
}

int TStoredValues::IndexOf(std::string_view Name) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(GetItem(i)->Name(), Name)) return i;
    return -1;
}

TStoredValue* TStoredValues::GetValue(std::string_view Name) const
{
    const int i = IndexOf(Name);
    return i >= 0 ? GetItem(i) : nullptr;
}

void TStoredValues::SetValue(std::string_view Name, TStoredValue* Item)
{
    if (TStoredValue* value = GetValue(Name)) value->Assign(Item);
}

void TStoredValues::SaveValues()
{
    for (int i = 0; i < Count(); ++i) GetItem(i)->Save();
}

void TStoredValues::RestoreValues()
{
    for (int i = 0; i < Count(); ++i) GetItem(i)->Restore();
}

// ---- TFormStorage --------------------------------------------------------------------------

TFormStorage::TFormStorage(TComponent* AOwner) : TFormPlacement(AOwner), storedValues_(this)
{
    RegisterControlProps();
    RegisterProps();
    FindGlobalComponent = &FindApplicationComponent;
}

void TFormStorage::RegisterProps()
{
    static bool registered = false;
    if (registered) return;
    registered = true;
    RegisterPublished<TFormStorage>({
        ObjProp<TFormStorage>("StoredProps",
                              [](TFormStorage* s) -> TObject* { return &s->storedProps_; }),
        ObjProp<TFormStorage>("StoredValues",
                              [](TFormStorage* s) -> TObject* { return &s->storedValues_; }),
    });
    RegisterPublished<TStoredValue>({
        StrProp<TStoredValue>(
            "Name", [](TStoredValue* v) { return v->Name(); },
            [](TStoredValue* v, const String& s) { v->SetName(s); }),
        VarProp<TStoredValue>(
            "Value", [](TStoredValue* v) { return v->Value; },
            [](TStoredValue* v, const TVariant& x) { v->Value = x; }),
        StrProp<TStoredValue>(
            "KeyString", [](TStoredValue* v) { return v->KeyString; },
            [](TStoredValue* v, const String& s) { v->KeyString = s; }),
    });
}

void TFormStorage::WriteState(TWriter& Writer)
{
    UpdateStoredList(Owner(), storedProps_, false);
    TFormPlacement::WriteState(Writer);
}

TFormStorage::~TFormStorage() { Destroying(); }

void TFormStorage::SetStoredProps(TStrings* Value)
{
    storedProps_.Assign(Value);
    WatchStoredComponents();
}

void TFormStorage::WatchStoredComponents()
{
    for (int i = 0; i < storedProps_.Count(); ++i)
        if (auto* component = dynamic_cast<TComponent*>(storedProps_.Objects(i)))
            FreeNotification(component);
}

void TFormStorage::Loaded()
{
    TFormPlacement::Loaded();
    UpdateStoredList(Owner(), storedProps_, true);
    WatchStoredComponents();
}

void TFormStorage::Notification(TComponent* AComponent, TOperation Operation)
{
    TFormPlacement::Notification(AComponent, Operation);
    if (Operation != opRemove || ComponentState().Contains(csDestroying)) return;
    for (int i = storedProps_.Count() - 1; i >= 0; --i)
        if (storedProps_.Objects(i) == AComponent) storedProps_.Delete(i);
}

void TFormStorage::SavePlacement()
{
    TFormPlacement::SavePlacement();
    SaveProperties();
    storedValues_.SaveValues();
}

void TFormStorage::RestorePlacement()
{
    TFormPlacement::RestorePlacement();
    restored_ = true;
    try {
        RestoreProperties();
    } catch (...) {
        // The properties not loaded yet keep their values; the named values still come back.
    }
    storedValues_.RestoreValues();
}

void TFormStorage::SaveProperties()
{
    TPropsStorage storage;
    storage.Section = IniSection();
    storage.OnWriteString =
        Closure(static_cast<TFormPlacement*>(this), &TFormPlacement::DoWriteString);
    if (IniObject()) storage.OnEraseSection = Closure(IniObject(), &TCustomIniFile::EraseSection);
    storage.StoreObjectsProps(Owner(), storedProps_);
}

void TFormStorage::RestoreProperties()
{
    TPropsStorage storage;
    storage.Section = IniSection();
    storage.OnReadString =
        Closure(static_cast<TFormPlacement*>(this), &TFormPlacement::DoReadString);
    if (IniObject()) storage.OnEraseSection = Closure(IniObject(), &TCustomIniFile::EraseSection);
    storage.LoadObjectsProps(Owner(), storedProps_);
}
