// The order of two variants across their kinds.
#include "framework/VariantCompare.h"

#include <optional>

#include "framework/Exceptions.h"
#include "framework/FloatText.h"

namespace {

template <class T>
TVariantRelationship Order(const T& a, const T& b)
{
    if (a < b) return vrLessThan;
    if (b < a) return vrGreaterThan;
    return vrEqual;
}

// The value of a number kind; none for the other kinds.
std::optional<double> Number(const TVariant& V)
{
    if (const auto* i = std::get_if<long long>(&V)) return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&V)) return *d;
    if (const auto* b = std::get_if<bool>(&V)) return *b ? 1.0 : 0.0;
    return std::nullopt;
}

double TextAsNumber(const String& S)
{
    double v = 0;
    if (!TryStrToFloat(S, v)) throw EConvertError("Cannot compare '%s' with a number", S);
    return v;
}

}  // namespace

TVariantRelationship VarCompareValue(const TVariant& A, const TVariant& B)
{
    const bool emptyA = VarIsEmpty(A), emptyB = VarIsEmpty(B);
    if (emptyA || emptyB) return emptyA == emptyB ? vrEqual : emptyA ? vrLessThan : vrGreaterThan;
    // Two integers compare exactly (a double holds only 53 bits of one).
    const auto* intA = std::get_if<long long>(&A);
    const auto* intB = std::get_if<long long>(&B);
    if (intA && intB) return Order(*intA, *intB);
    const auto* textA = std::get_if<String>(&A);
    const auto* textB = std::get_if<String>(&B);
    if (textA && textB) return Order(*textA, *textB);
    const std::optional<double> numberA = Number(A), numberB = Number(B);
    if (numberA && numberB) return Order(*numberA, *numberB);
    if (textA && numberB) return Order(TextAsNumber(*textA), *numberB);
    if (numberA && textB) return Order(*numberA, TextAsNumber(*textB));
    throw EConvertError(String("Variants of these kinds cannot be compared"));
}
