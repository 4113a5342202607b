// Fuzzes the wildcard matcher against the reference matcher: the first byte splits the input
// into text and pattern, the second sets the case flag.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ReferenceMatchers.h"
#include "util/Wildcards.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);
    const size_t split = std::min<size_t>(data[0], input.size());
    const bool ignoreCase = data[1] & 1;
    const std::string_view text = input.substr(0, split);
    const std::string_view pattern = input.substr(split);
    const bool expected =
        text == pattern || (ignoreCase ? ReferenceWildMatch(UpperCase(text), UpperCase(pattern))
                                       : ReferenceWildMatch(text, pattern));
    if (IsWild(text, pattern, ignoreCase) != expected) std::abort();
    return 0;
}
