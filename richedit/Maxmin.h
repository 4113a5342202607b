// Maximum, minimum and swap over integers, 64-bit integers, floating values, date-times and
// variants.
// The array forms keep the first element strictly beyond the value kept so far.
#pragma once

#include <cstdint>
#include <span>

#include "framework/DateTime.h"
#include "framework/Variants.h"

void SwapInt(std::int32_t& A, std::int32_t& B);
void SwapInt64(std::int64_t& A, std::int64_t& B);
void SwapLong(std::int32_t& A, std::int32_t& B);

std::int32_t Max(std::int32_t A, std::int32_t B);
std::int32_t Min(std::int32_t A, std::int32_t B);

// An empty array raises EListError (there is no element to start from).
std::int32_t MaxInteger(std::span<const std::int32_t> Values);
std::int32_t MinInteger(std::span<const std::int32_t> Values);
std::int64_t MaxInt64(std::span<const std::int64_t> Values);
std::int64_t MinInt64(std::span<const std::int64_t> Values);
long double MaxFloat(std::span<const long double> Values);
long double MinFloat(std::span<const long double> Values);
TDateTime MaxDateTime(std::span<const TDateTime> Values);
TDateTime MinDateTime(std::span<const TDateTime> Values);
// Variants of mixed kinds are ordered as VarCompareValue orders them: Empty lowest, numbers
// (Booleans as 0 and 1) by value, strings by their bytes, a string against a number as the
// number it reads as (EConvertError when it reads as none).
TVariant MaxOf(std::span<const TVariant> Values);
TVariant MinOf(std::span<const TVariant> Values);
