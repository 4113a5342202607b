// A free file name in a folder. The mask is checked first: with no placeholder every probe
// would test the same name, and a "%s" would format the number as text.
#include "util/UniqueFileName.h"

#include <cctype>
#include <limits>

#include "framework/Exceptions.h"
#include "util/PathNames.h"

namespace {

constexpr const char* BadMaskText =
    "File name mask '%s' must hold exactly one integer placeholder (such as %%d)";

// No file name is longer than this, so neither is a sensible width or precision.
constexpr int MaxFieldSize = 255;

// Skips the digits of a width or precision at Pos; false when they exceed MaxFieldSize.
bool SkipSize(std::string_view Mask, std::size_t& Pos)
{
    int value = 0;
    while (Pos < Mask.size() && std::isdigit(static_cast<unsigned char>(Mask[Pos]))) {
        value = value * 10 + (Mask[Pos++] - '0');
        if (value > MaxFieldSize) return false;
    }
    return true;
}

}  // namespace

bool IsIntegerFileNameMask(std::string_view Mask)
{
    int placeholders = 0;
    for (std::size_t i = 0; i < Mask.size(); ++i) {
        if (Mask[i] != '%') continue;
        ++i;
        if (i < Mask.size() && Mask[i] == '%') continue;
        if (i < Mask.size() && Mask[i] == '-') ++i;
        if (!SkipSize(Mask, i)) return false;
        if (i < Mask.size() && Mask[i] == '.' && !SkipSize(Mask, ++i)) return false;
        if (i >= Mask.size()) return false;
        const char type = static_cast<char>(std::tolower(static_cast<unsigned char>(Mask[i])));
        if (type != 'd' && type != 'u' && type != 'x') return false;
        ++placeholders;
    }
    return placeholders == 1;
}

String GetUniqueFileNameInDir(std::string_view Path, std::string_view Mask,
                              const std::function<bool(const String&)>& Exists)
{
    if (!IsIntegerFileNameMask(Mask)) throw EConvertError(BadMaskText, Mask);
    const String folder = NormalDir(Path);
    for (long long n = 0; n <= std::numeric_limits<std::int32_t>::max(); ++n) {
        String name = Format(Mask, n);
        if (!Exists(folder + name)) return name;
    }
    return String();
}
