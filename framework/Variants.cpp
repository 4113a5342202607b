// The text form of a variant.
#include "framework/Variants.h"

#include <charconv>

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
    return "";
}
