// Fuzz target for the settings reader: any file loads silently within the clamps, and saving
// into it and loading again gives the same record.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "settings/Properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // One scratch file per fuzzing process, removed when the process exits.
    static const struct TScratch {
        String Name = (std::filesystem::temp_directory_path() /
                       ("qv-settings-fuzz-" + std::to_string(getpid()) + ".ini"))
                          .string();
        ~TScratch() { std::remove(Name.c_str()); }
    } scratch;
    const String& file = scratch.Name;
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    bool shown = false;
    auto show = [&](const String&) { shown = true; };

    Settings = TSettings{};
    LoadSettings(file, show);
    if (shown) std::abort();
    const TSettings& s = Settings;
    if (s.Lines < MinLines || s.Lines > MaxLines || s.Columns < MinColumns ||
        s.Columns > MaxColumns || s.FontSize < MinFontSize || s.FontSize > MaxFontSize ||
        (s.FontStyle.Bits() & ~3u) != 0)
        std::abort();
    if (ClampSpacesForTab(s.SpacesForTab) < 1 || ClampSpacesForTab(s.SpacesForTab) > 40)
        std::abort();

    TSettings loaded = Settings;
    SaveSettings(file, show);
    if (shown) std::abort();
    Settings = TSettings{};
    LoadSettings(file, show);
    if (shown || !(Settings == loaded)) std::abort();
    return 0;
}
