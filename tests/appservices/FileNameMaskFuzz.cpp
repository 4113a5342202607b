// Fuzzes the file name mask check: every mask it accepts formats a number without error, and
// the free name found for it is the mask formatted with the first number not taken.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/Exceptions.h"
#include "util/UniqueFileName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view mask(reinterpret_cast<const char*>(data), size);
    const bool accepted = IsIntegerFileNameMask(mask);
    try {
        int probes = 0;
        const String name =
            GetUniqueFileNameInDir("dir", mask, [&](const String&) { return ++probes < 3; });
        if (!accepted || name != Format(mask, 2)) std::abort();
    } catch (const EConvertError&) {
        if (accepted) std::abort();
    }
    return 0;
}
