// TVariant: a value of one of a few kinds, an array of such values, or empty. Stored named
// values of the form storage hold one; their text form is what goes to the storage.
#pragma once

#include <memory>
#include <variant>
#include <vector>

#include "framework/Strings.h"

struct TVarArray;
// An array's elements are shared by its copies and never changed once made, so a copy
// behaves as a value of its own.
using TVarArrayRef = std::shared_ptr<const TVarArray>;

using TVariant = std::variant<std::monostate, String, long long, double, bool, TVarArrayRef>;

struct TVarArray {
    std::vector<TVariant> Items;
};

inline bool VarIsEmpty(const TVariant& V) { return std::holds_alternative<std::monostate>(V); }
inline bool VarIsArray(const TVariant& V) { return std::holds_alternative<TVarArrayRef>(V); }
// An array variant of these values.
TVariant VarArrayOf(std::vector<TVariant> Values);
// The elements of an array variant (none for any other kind).
const std::vector<TVariant>& VarArrayItems(const TVariant& V);
// Empty gives "", numbers decimal (a double in its shortest exact form), Booleans
// "True"/"False"; an array has no text (EVariantError).
String VarToStr(const TVariant& V);
