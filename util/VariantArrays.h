// Building one variant from a list of values, as the library's callers pass several values
// where one variant is expected.
#pragma once

#include <span>

#include "framework/Variants.h"

// One value: that value; two or more: an array variant of them; none: an empty variant.
TVariant MakeVariant(std::span<const TVariant> Values);
