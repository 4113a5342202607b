// The locale services of the Windows build: the system's OEM conversion, locale comparison
// and case mapping in the thread's locale.
#include <windows.h>

#include "util/LocaleServices.h"

namespace {

String AnsiToOem(std::string_view S)
{
    String r(S);
    if (!r.empty()) CharToOemBuffA(r.data(), r.data(), static_cast<DWORD>(r.size()));
    return r;
}

String OemToAnsi(std::string_view S)
{
    String r(S);
    if (!r.empty()) OemToCharBuffA(r.data(), r.data(), static_cast<DWORD>(r.size()));
    return r;
}

int CompareInLocale(std::string_view A, std::string_view B, bool IgnoreCase)
{
    DWORD flags = SORT_STRINGSORT | (IgnoreCase ? NORM_IGNORECASE : 0);
    // An empty view may hold no pointer at all; the system wants one.
    const char* a = A.empty() ? "" : A.data();
    const char* b = B.empty() ? "" : B.data();
    int order = CompareStringA(GetThreadLocale(), flags, a, static_cast<int>(A.size()), b,
                               static_cast<int>(B.size()));
    // The system answers 1, 2 or 3 for less, equal and greater; 0 on failure, which is never
    // expected for well-formed lengths and is then taken as the bytes' own order.
    if (order == 0) order = A.compare(B) < 0 ? 1 : (A == B ? 2 : 3);
    return order - 2;
}

String UpperInLocale(std::string_view S)
{
    String r(S);
    if (!r.empty()) CharUpperBuffA(r.data(), static_cast<DWORD>(r.size()));
    return r;
}

String LowerInLocale(std::string_view S)
{
    String r(S);
    if (!r.empty()) CharLowerBuffA(r.data(), static_cast<DWORD>(r.size()));
    return r;
}

const TLocaleServices SystemServices = {AnsiToOem, OemToAnsi, CompareInLocale, UpperInLocale,
                                        LowerInLocale};

}  // namespace

const TLocaleServices& SystemLocaleServices() { return SystemServices; }
