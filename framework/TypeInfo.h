// Published properties: for each class that has them, a list of (name, kind, getter, setter)
// registered once, so code can read and set properties it knows only by name (the form
// storage keeps "Edit1.Text" lines). Only what a class registers is published; a class sees
// its own registrations and those of every base class, in registration order.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/Object.h"
#include "framework/Sets.h"
#include "framework/Variants.h"

enum TTypeKind {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString,
    tkWString,
    tkVariant,
    tkArray,
    tkRecord,
    tkInterface,
    tkInt64,
    tkDynArray
};
using TTypeKinds = TSet<TTypeKind>;
// Every kind a property can have.
constexpr TTypeKinds tkAny = TTypeKinds::FromBits(~std::uint32_t(1));

enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// One published property. Each kind uses one pair of accessors: ordinal kinds (integer,
// character, enumeration as the value's index, set as its bits, 64-bit integer) Ord, floats
// Float, strings Str, variants Var, classes Obj.
struct TPropInfo {
    String Name;
    TTypeKind Kind = tkUnknown;
    // The identifiers of an enumeration's values, or of a set's element type, by index.
    std::vector<String> Names;
    TFloatType FloatType = ftDouble;
    // A class property that refers to a component owned elsewhere (it may be none), as
    // against an object the property's owner keeps (a font, a list of lines).
    bool ComponentReference = false;

    std::function<long long(TObject*)> GetOrd;
    std::function<void(TObject*, long long)> SetOrd;
    std::function<double(TObject*)> GetFloat;
    std::function<void(TObject*, double)> SetFloat;
    std::function<String(TObject*)> GetStr;
    std::function<void(TObject*, const String&)> SetStr;
    std::function<TVariant(TObject*)> GetVar;
    std::function<void(TObject*, const TVariant&)> SetVar;
    std::function<TObject*(TObject*)> GetObj;
    std::function<void(TObject*, TObject*)> SetObj;
    // Whether the property goes into form data for this object (empty: always).
    std::function<bool(const TObject*)> Stored;
};

// Form data (TComponent::WriteState and ReadState): the place one published property of an
// object is written to, and read back from, in the property's own text form.
class TWriter {
public:
    virtual ~TWriter() = default;
    virtual void WriteProperty(TObject* Instance, const TPropInfo& Prop) = 0;
};

class TReader {
public:
    virtual ~TReader() = default;
    virtual void ReadProperty(TObject* Instance, const TPropInfo& Prop) = 0;
};

// Registers Props as published by every object for which IsA holds (and so by its
// descendants). Registration happens once per class, at start-up.
void RegisterPublished(std::function<bool(const TObject*)> IsA, std::vector<TPropInfo> Props);

template <class C>
void RegisterPublished(std::vector<TPropInfo> Props)
{
    RegisterPublished([](const TObject* o) { return dynamic_cast<const C*>(o) != nullptr; },
                      std::move(Props));
}

// The published properties of Object whose kind is in Filter (none for no object).
std::vector<const TPropInfo*> GetPropList(const TObject* Object, TTypeKinds Filter = tkAny);
// The published property of Object with this name (ignoring case), or nullptr.
const TPropInfo* GetPropInfo(const TObject* Object, std::string_view Name);

// ---- building TPropInfo entries for a class C with lambdas over C* --------------------------
//   RegisterPublished<TEdit>({StrProp<TEdit>("Text", [](TEdit* e) { return e->Text(); },
//                                            [](TEdit* e, const String& v) { e->SetText(v); })});

template <class C>
TPropInfo OrdProp(const String& Name, TTypeKind Kind, std::function<long long(C*)> Get,
                  std::function<void(C*, long long)> Set, std::vector<String> Names = {})
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = Kind;
    p.Names = std::move(Names);
    p.GetOrd = [Get](TObject* o) { return Get(static_cast<C*>(o)); };
    p.SetOrd = [Set](TObject* o, long long v) { Set(static_cast<C*>(o), v); };
    return p;
}

template <class C>
TPropInfo BoolProp(const String& Name, std::function<bool(C*)> Get,
                   std::function<void(C*, bool)> Set)
{
    return OrdProp<C>(
        Name, tkEnumeration, [Get](C* c) -> long long { return Get(c) ? 1 : 0; },
        [Set](C* c, long long v) { Set(c, v != 0); }, {"False", "True"});
}

template <class C>
TPropInfo FloatProp(const String& Name, TFloatType Type, std::function<double(C*)> Get,
                    std::function<void(C*, double)> Set)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkFloat;
    p.FloatType = Type;
    p.GetFloat = [Get](TObject* o) { return Get(static_cast<C*>(o)); };
    p.SetFloat = [Set](TObject* o, double v) { Set(static_cast<C*>(o), v); };
    return p;
}

template <class C>
TPropInfo StrProp(const String& Name, std::function<String(C*)> Get,
                  std::function<void(C*, const String&)> Set, TTypeKind Kind = tkLString)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = Kind;
    p.GetStr = [Get](TObject* o) { return Get(static_cast<C*>(o)); };
    p.SetStr = [Set](TObject* o, const String& v) { Set(static_cast<C*>(o), v); };
    return p;
}

template <class C>
TPropInfo VarProp(const String& Name, std::function<TVariant(C*)> Get,
                  std::function<void(C*, const TVariant&)> Set)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkVariant;
    p.GetVar = [Get](TObject* o) { return Get(static_cast<C*>(o)); };
    p.SetVar = [Set](TObject* o, const TVariant& v) { Set(static_cast<C*>(o), v); };
    return p;
}

// An object the property's owner keeps (Set may be empty: such a property is read-only and
// its object is changed in place).
template <class C>
TPropInfo ObjProp(const String& Name, std::function<TObject*(C*)> Get,
                  std::function<void(C*, TObject*)> Set = nullptr, bool ComponentReference = false)
{
    TPropInfo p;
    p.Name = Name;
    p.Kind = tkClass;
    p.ComponentReference = ComponentReference;
    p.GetObj = [Get](TObject* o) { return Get(static_cast<C*>(o)); };
    if (Set) p.SetObj = [Set](TObject* o, TObject* v) { Set(static_cast<C*>(o), v); };
    return p;
}
