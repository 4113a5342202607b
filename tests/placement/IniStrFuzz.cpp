// Fuzzes the line-break escaping of stored text: any text up to the limit escapes without a
// line break left in it and comes back with every break as CR LF; longer text is refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/Exceptions.h"
#include "placement/IniStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    String escaped;
    try {
        escaped = StrToIniStr(text);
    } catch (const Exception&) {
        if (size <= static_cast<size_t>(MaxIniLine)) std::abort();
        return 0;
    }
    if (escaped.find_first_of("\r\n") != String::npos) std::abort();
    // Without backslashes of its own (up to the first NUL), the text comes back with its line
    // breaks as CR LF.
    const std::string_view body = text.substr(0, text.find('\0'));
    if (body.find('\\') != std::string_view::npos ||
        escaped.size() > static_cast<size_t>(MaxIniLine))
        return 0;
    String expected;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\r' && body[i] != '\n') {
            expected += body[i];
            continue;
        }
        expected += "\r\n";
        const char pair = body[i] == '\r' ? '\n' : '\r';
        if (i + 1 < body.size() && body[i + 1] == pair) ++i;
    }
    if (IniStrToStr(escaped) != expected) std::abort();
    return 0;
}
