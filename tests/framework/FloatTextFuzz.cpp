// Fuzzes floating-point text: any text either reads as a finite number or raises
// EConvertError, and a number read is written with fixed decimals that read back as that
// number rounded, and write the same again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/Exceptions.h"
#include "framework/FloatText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const int digits = data[0] % 8;
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    double value = 0;
    try {
        value = StrToFloat(text);
    } catch (const EConvertError&) {
        return 0;
    }
    if (!std::isfinite(value)) std::abort();
    const String fixed = FormatFixed(value, digits);
    double back = 0;
    if (!TryStrToFloat(fixed, back)) std::abort();
    // Half a unit of the last decimal, with room for the double's own rounding.
    const double tolerance = 0.5 * std::pow(10.0, -digits) * (1 + 1e-9) + std::fabs(value) * 1e-15;
    if (std::fabs(back - value) > tolerance) std::abort();
    if (FormatFixed(back, digits) != fixed) std::abort();
    return 0;
}
