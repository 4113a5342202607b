// Fuzzes the checked Format with arbitrary format text against a fixed set of arguments:
// it may raise EConvertError, but must never read past its arguments or its text.
#include <cstddef>
#include <cstdint>

#include "framework/Exceptions.h"
#include "framework/Strings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view fmt(reinterpret_cast<const char*>(data), size);
    try {
        Format(fmt, 42, "text", 3.5, 'c', -7LL, 99u);
    } catch (const EConvertError&) {
    }
    try {
        Format(fmt);
    } catch (const EConvertError&) {
    }
    return 0;
}
