// The scans of Maxmin: each starts from element 0 and keeps the first strictly better one.
#include "richedit/Maxmin.h"

#include <utility>

#include "framework/Exceptions.h"
#include "framework/VariantCompare.h"
#include "richedit/RichEditTexts.h"

namespace {

template <class T, class Better>
T Pick(std::span<const T> values, Better better)
{
    // Reading element 0 of an empty array would read past it.
    if (values.empty()) throw EListError(String(RichEditText::EmptyList));
    T kept = values[0];
    for (const T& v : values)
        if (better(v, kept)) kept = v;
    return kept;
}

constexpr auto Greater = [](const auto& a, const auto& b) { return a > b; };
constexpr auto Less = [](const auto& a, const auto& b) { return a < b; };

}  // namespace

void SwapInt(std::int32_t& A, std::int32_t& B) { std::swap(A, B); }
void SwapInt64(std::int64_t& A, std::int64_t& B) { std::swap(A, B); }
void SwapLong(std::int32_t& A, std::int32_t& B) { std::swap(A, B); }

std::int32_t Max(std::int32_t A, std::int32_t B) { return A < B ? B : A; }
std::int32_t Min(std::int32_t A, std::int32_t B) { return A < B ? A : B; }

std::int32_t MaxInteger(std::span<const std::int32_t> v) { return Pick(v, Greater); }
std::int32_t MinInteger(std::span<const std::int32_t> v) { return Pick(v, Less); }
std::int64_t MaxInt64(std::span<const std::int64_t> v) { return Pick(v, Greater); }
std::int64_t MinInt64(std::span<const std::int64_t> v) { return Pick(v, Less); }
long double MaxFloat(std::span<const long double> v) { return Pick(v, Greater); }
long double MinFloat(std::span<const long double> v) { return Pick(v, Less); }
TDateTime MaxDateTime(std::span<const TDateTime> v) { return Pick(v, Greater); }
TDateTime MinDateTime(std::span<const TDateTime> v) { return Pick(v, Less); }

TVariant MaxOf(std::span<const TVariant> v)
{
    return Pick(v, [](const TVariant& a, const TVariant& b) {
        return VarCompareValue(a, b) == vrGreaterThan;
    });
}

TVariant MinOf(std::span<const TVariant> v)
{
    return Pick(v, [](const TVariant& a, const TVariant& b) {
        return VarCompareValue(a, b) == vrLessThan;
    });
}
