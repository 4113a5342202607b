// The text form of a variant, and array variants.
#include "framework/Variants.h"

#include <charconv>

#include "framework/Exceptions.h"

String VarToStr(const TVariant& V)
{
    if (const auto* s = std::get_if<String>(&V)) return *s;
    if (const auto* i = std::get_if<long long>(&V)) return IntToStr(*i);
    if (const auto* b = std::get_if<bool>(&V)) return *b ? "True" : "False";
    if (const auto* d = std::get_if<double>(&V)) {
        char buffer[64];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, *d).ptr;
        return String(buffer, end);
    }
    if (VarIsArray(V)) throw EVariantError(String("Invalid variant type conversion"));
    return "";
}

TVariant VarArrayOf(std::vector<TVariant> Values)
{
    auto array = std::make_shared<TVarArray>();
    array->Items = std::move(Values);
    return TVarArrayRef(std::move(array));
}

const std::vector<TVariant>& VarArrayItems(const TVariant& V)
{
    static const std::vector<TVariant> none;
    const auto* array = std::get_if<TVarArrayRef>(&V);
    return array && *array ? (*array)->Items : none;
}
