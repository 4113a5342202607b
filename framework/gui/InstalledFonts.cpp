// The installed font families, enumerated through the screen's device context.
#include "framework/gui/InstalledFonts.h"

#include <windows.h>

#include <algorithm>

namespace {

int CALLBACK AddFamily(const LOGFONTA* Font, const TEXTMETRICA*, DWORD, LPARAM List)
{
    reinterpret_cast<std::vector<String>*>(List)->push_back(Font->lfFaceName);
    return 1;
}

}  // namespace

std::vector<String> InstalledFontNames()
{
    std::vector<String> names;
    HDC dc = GetDC(nullptr);
    if (!dc) return names;
    LOGFONTA all{};
    all.lfCharSet = DEFAULT_CHARSET;
    // One call lists each family once per character set it covers: duplicates go below.
    EnumFontFamiliesExA(dc, &all, AddFamily, reinterpret_cast<LPARAM>(&names), 0);
    ReleaseDC(nullptr, dc);

    auto less = [](const String& a, const String& b) { return CompareText(a, b) < 0; };
    auto same = [](const String& a, const String& b) { return SameText(a, b); };
    std::sort(names.begin(), names.end(), less);
    names.erase(std::unique(names.begin(), names.end(), same), names.end());
    return names;
}

int FindFontIndex(const String& Name)
{
    const std::vector<String> names = InstalledFontNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], Name)) return static_cast<int>(i);
    return -1;
}
