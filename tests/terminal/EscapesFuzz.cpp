// Fuzzes the send-string escape parser: no crash, never more bytes than characters, every
// error's selection inside the text, and a text without backslashes comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "terminal/Escapes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const std::string text(reinterpret_cast<const char*>(Data), Size);
    std::vector<std::uint8_t> out(Size + 1);
    const TEscapeResult r = ParseEscapeText(text, out.data());
    if (r.Count > Size) std::abort();
    if (r.Error != TEscapeError::None) {
        if (r.Count != 0 || r.ErrorLength == 0 || r.ErrorStart + r.ErrorLength > Size) std::abort();
        if (text.find('\\') == std::string::npos) std::abort();
    } else if (text.find('\\') == std::string::npos) {
        if (r.Count != Size || std::string(out.begin(), out.begin() + Size) != text) std::abort();
    }
    return 0;
}
