// The tree services of the Windows program: questions and messages through the dialog service,
// record IDs from the platform's GUID generator, labels compared in the user's locale.
#include "macros/MacroServicesWin.h"

#include <windows.h>
#include <objbase.h>

#include "framework/gui/DialogService.h"

namespace {
std::uint32_t GuidFirstField()
{
    GUID guid{};
    // A failed generator leaves the zero GUID: nothing relies on IDs being unique.
    if (FAILED(CoCreateGuid(&guid))) return 0;
    return static_cast<std::uint32_t>(guid.Data1);
}

int CompareInLocale(const String& a, const String& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) -
           CSTR_EQUAL;
}
}  // namespace

TMacroTreeServices WindowTreeServices()
{
    return {GuidFirstField, CompareInLocale,
            [](const String& text, const String& caption) {
                return DialogService().MessageBox(text, caption, MB_YESNO | MB_ICONQUESTION) ==
                       IDYES;
            },
            [](const String& text) { ShowMessage(text); }, [] { Beep(); }};
}
