// One variant from a list of values.
#include "util/VariantArrays.h"

TVariant MakeVariant(std::span<const TVariant> Values)
{
    if (Values.empty()) return TVariant();
    if (Values.size() == 1) return Values.front();
    return VarArrayOf(std::vector<TVariant>(Values.begin(), Values.end()));
}
