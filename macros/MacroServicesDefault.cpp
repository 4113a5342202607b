// The tree services where there is no window: the services in use until a program installs
// its own (the native build's tests and fuzzing keep them). There is nobody to ask, so a
// question is answered No and a message goes nowhere.
#include <cstring>
#include <random>

#include "macros/TreeUtil.h"

TMacroTreeServices& MacroTreeServices()
{
    static TMacroTreeServices services{
        [] {
            static std::mt19937 generator{std::random_device{}()};
            return static_cast<std::uint32_t>(generator());
        },
        [](const String& a, const String& b) { return std::strcoll(a.c_str(), b.c_str()); },
        [](const String&, const String&) { return false; }, [](const String&) {}, [] {}};
    return services;
}
