// Reading and writing floating-point text.
#include "framework/FloatText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "framework/Exceptions.h"

namespace {

constexpr const char* NotAFloat = "'%s' is not a valid floating point value";
constexpr int MaxDigits = 18;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The grammar is checked here: the standard readers also take "inf", "nan" and hex floats.
bool WellFormed(std::string_view s)
{
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t exponentDigits = 0;
        while (i < s.size() && IsDigit(s[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == s.size();
}

}  // namespace

bool TryStrToFloat(std::string_view S, double& Value)
{
    const String text = Trim(S);
    if (!WellFormed(text)) return false;
    std::string_view body(text);
    if (body.front() == '+') body.remove_prefix(1);  // from_chars takes no plus sign
    double v = 0;
    const auto r = std::from_chars(body.data(), body.data() + body.size(), v);
    if (r.ec != std::errc() || r.ptr != body.data() + body.size() || !std::isfinite(v))
        return false;
    Value = v;
    return true;
}

double StrToFloat(std::string_view S)
{
    double v;
    if (!TryStrToFloat(S, v)) throw EConvertError(NotAFloat, S);
    return v;
}

String FormatFixed(double Value, int Digits)
{
    if (std::isnan(Value)) return "NAN";
    if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
    Digits = std::clamp(Digits, 0, MaxDigits);

    // The shortest decimal form that reads back as Value: "d.ddde+xx".
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(Value),
                                 std::chars_format::scientific);
    const std::string_view sci(buffer, static_cast<size_t>(r.ptr - buffer));
    const size_t e = sci.find('e');
    String mantissa;
    for (char c : sci.substr(0, e))
        if (IsDigit(c)) mantissa += c;
    // Digits of mantissa before the decimal point (zero or negative: the value is below 1).
    int integerDigits = std::atoi(String(sci.substr(e + 1)).c_str()) + 1;

    const int keep = integerDigits + Digits;
    if (keep < 0) {
        mantissa.clear();
    } else if (keep < static_cast<int>(mantissa.size())) {
        const bool roundUp = mantissa[static_cast<size_t>(keep)] >= '5';
        mantissa.resize(static_cast<size_t>(keep));
        if (roundUp) {
            int i = keep - 1;
            for (; i >= 0 && mantissa[static_cast<size_t>(i)] == '9'; --i)
                mantissa[static_cast<size_t>(i)] = '0';
            if (i >= 0) {
                ++mantissa[static_cast<size_t>(i)];
            } else {
                mantissa.insert(mantissa.begin(), '1');
                ++integerDigits;
            }
        }
    }
    auto digitAt = [&](int index) {
        return index >= 0 && index < static_cast<int>(mantissa.size())
                   ? mantissa[static_cast<size_t>(index)]
                   : '0';
    };

    String text(integerDigits > 0 ? 0 : 1, '0');
    for (int i = 0; i < integerDigits; ++i) text += digitAt(i);
    if (Digits > 0) {
        text += '.';
        for (int i = 0; i < Digits; ++i) text += digitAt(integerDigits + i);
    }
    const bool allZero = text.find_first_of("123456789") == String::npos;
    if (Value < 0 && !allZero) text.insert(text.begin(), '-');
    return text;
}
