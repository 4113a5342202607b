// The locale services of the platform-free build: no OEM code page, byte order, ASCII case.
#include "util/LocaleServices.h"

namespace {

String Unchanged(std::string_view S) { return String(S); }

int CompareBytes(std::string_view A, std::string_view B, bool IgnoreCase)
{
    int order = IgnoreCase ? CompareText(A, B) : A.compare(B);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

const TLocaleServices PortableServices = {Unchanged, Unchanged, CompareBytes, UpperCase, LowerCase};

}  // namespace

const TLocaleServices& SystemLocaleServices() { return PortableServices; }
