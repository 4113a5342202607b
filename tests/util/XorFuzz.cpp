// Fuzzes the XOR routines: decoding undoes encoding for any key and text, and decoding any
// text at all stays within it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "util/XorStrings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = std::min<size_t>(data[0] % 16, input.size());
    const std::string_view key = input.substr(0, split);
    const std::string_view text = input.substr(split);
    if (XorDecode(key, XorEncode(key, text)) != text) std::abort();
    if (XorString(key, XorString(key, text)) != text) std::abort();
    if (XorDecode(key, text).size() != text.size() / 2) std::abort();
    return 0;
}
