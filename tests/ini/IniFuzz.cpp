// Fuzz target for the INI reader: any bytes parse; writing the text back and reading it again
// changes nothing; a value written under names taken from the input reads back exactly.
#include <cstdint>
#include <cstdlib>

#include "framework/IniDocument.h"
#include "framework/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    String text(reinterpret_cast<const char*>(data), size);
    TIniDocument doc(text);

    // Every section and key the reader finds can be looked up again.
    for (const String& section : doc.SectionNames()) {
        if (!doc.SectionExists(section)) std::abort();
        for (const String& key : doc.KeyNames(section)) {
            auto value = doc.Value(section, key);
            if (!value) std::abort();
            std::int32_t n;
            (void)TryParseIniInteger(*value, n);
        }
    }

    // Written text is a fixed point of reading.
    String once = doc.Text();
    if (TIniDocument(once).Text() != once) std::abort();

    // Names and a value cut from the input: stored values read back unchanged.
    std::size_t a = size / 3, b = 2 * size / 3;
    String section = text.substr(0, a), key = text.substr(a, b - a), value = text.substr(b);
    try {
        doc.SetValue(section, key, value);
    } catch (const EIniFileError&) {
        return 0;
    }
    TIniDocument again(doc.Text());
    auto back = again.Value(section, key);
    if (!back || *back != value) std::abort();
    again.DeleteKey(section, key);
    if (again.Value(section, key)) std::abort();
    again.EraseSection(section);
    if (again.SectionExists(section)) std::abort();
    return 0;
}
