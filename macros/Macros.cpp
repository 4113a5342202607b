// The macro runner's platform-free decisions: control-signal texts and delay texts.
#include "macros/Macros.h"

#include <charconv>

std::optional<TSignalLines> ParseControlSignal(const String& Text)
{
    // The editor's list: the pairs have two blanks after the comma when RTS is on, one when
    // it is off, and only the exact text switches anything.
    static const struct {
        const char* Text;
        TSignalLines Lines;
    } Signals[] = {
        {"RTS OFF", {0, -1}},         {"RTS ON", {1, -1}},          {"DTR OFF", {-1, 0}},
        {"DTR ON", {-1, 1}},          {"RTS OFF, DTR OFF", {0, 0}}, {"RTS OFF, DTR ON", {0, 1}},
        {"RTS ON,  DTR OFF", {1, 0}}, {"RTS ON,  DTR ON", {1, 1}},
    };
    for (const auto& s : Signals)
        if (Text == s.Text) return s.Lines;
    return std::nullopt;
}

std::optional<std::int32_t> ParseDelayMs(const String& Text)
{
    if (Text.empty()) return 0;
    const char* first = Text.data();
    const char* last = Text.data() + Text.size();
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc{} || end != last || first == last) return std::nullopt;
    return value;
}
