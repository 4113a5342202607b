// TVariant: a value of one of a few kinds, or empty. Stored named values of the form storage
// hold one; their text form is what goes to the storage.
#pragma once

#include <variant>

#include "framework/Strings.h"

using TVariant = std::variant<std::monostate, String, long long, double, bool>;

inline bool VarIsEmpty(const TVariant& V) { return std::holds_alternative<std::monostate>(V); }
// Empty gives "", numbers decimal (a double in its shortest exact form), Booleans
// "True"/"False".
String VarToStr(const TVariant& V);
