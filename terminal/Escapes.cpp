// The send-string escape parser.
#include "terminal/Escapes.h"

#include "util/NumberNotations.h"

TEscapeResult ParseEscapeText(std::string_view Source, std::uint8_t* Destination)
{
    TEscapeResult result;
    const std::uint32_t size = static_cast<std::uint32_t>(Source.size());
    std::uint32_t k = 0;
    for (std::uint32_t i = 0; i < size;) {
        const char c = Source[i];
        if (c != '\\') {
            Destination[k++] = static_cast<std::uint8_t>(c);
            ++i;
            continue;
        }
        if (i + 1 >= size) return {0, TEscapeError::Incomplete, i, 1};
        const char c1 = Source[i + 1];
        switch (c1) {
        case 'n':
            Destination[k++] = 0x0A;
            i += 2;
            continue;
        case 'r':
            Destination[k++] = 0x0D;
            i += 2;
            continue;
        case 't':
            Destination[k++] = 0x09;
            i += 2;
            continue;
        case '\\':
            Destination[k++] = 0x5C;
            i += 2;
            continue;
        default: break;
        }
        // A bad escape selects the two characters after the backslash; at the end of the text
        // only one is there to select.
        if (i + 2 >= size) return {0, TEscapeError::Invalid, i + 1, 1};
        const int high = HexDigitValue(c1), low = HexDigitValue(Source[i + 2]);
        if (high < 0 || low < 0) return {0, TEscapeError::InvalidHex, i + 1, 2};
        Destination[k++] = static_cast<std::uint8_t>(16 * high + low);
        i += 3;
    }
    result.Count = k;
    return result;
}

const char* EscapeErrorText(TEscapeError Error)
{
    switch (Error) {
    case TEscapeError::Incomplete: return EscapeText::Incomplete;
    case TEscapeError::Invalid: return EscapeText::Invalid;
    case TEscapeError::InvalidHex: return EscapeText::InvalidHex;
    default: return nullptr;
    }
}
