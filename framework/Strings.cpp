// Text functions of the framework string: 1-based positions, numbers, case, blanks, and the
// checked Format.
#include "framework/Strings.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "framework/Exceptions.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char ToLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

int Pos(std::string_view Sub, std::string_view S) { return PosEx(Sub, S, 1); }

int PosEx(std::string_view Sub, std::string_view S, int Offset)
{
    if (Sub.empty() || Offset < 1 || static_cast<size_t>(Offset) > S.size()) return 0;
    size_t at = S.find(Sub, static_cast<size_t>(Offset - 1));
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

String Copy(std::string_view S, int Index, int Count)
{
    if (Index < 1) Index = 1;
    if (Count <= 0 || static_cast<size_t>(Index) > S.size()) return String();
    return String(S.substr(static_cast<size_t>(Index - 1), static_cast<size_t>(Count)));
}

void Delete(String& S, int Index, int Count)
{
    if (Index < 1 || Count <= 0 || static_cast<size_t>(Index) > S.size()) return;
    S.erase(static_cast<size_t>(Index - 1), static_cast<size_t>(Count));
}

void Insert(std::string_view Sub, String& S, int Index)
{
    if (Index < 1) Index = 1;
    size_t at = std::min(static_cast<size_t>(Index - 1), S.size());
    S.insert(at, Sub);
}

String IntToStr(long long Value) { return std::to_string(Value); }

String IntToHex(long long Value, int Digits)
{
    unsigned long long bits = static_cast<unsigned long long>(Value);
    if (Value < 0 && Value >= std::numeric_limits<int>::min()) bits &= 0xFFFFFFFFull;
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, bits, 16);
    String hex(buf, r.ptr);
    for (char& c : hex) c = ToUpper(c);
    if (Digits > 0 && hex.size() < static_cast<size_t>(Digits))
        hex.insert(0, static_cast<size_t>(Digits) - hex.size(), '0');
    return hex;
}

namespace {

bool ParseInt64(std::string_view S, long long& out, bool* isHex = nullptr)
{
    // Leading blanks are skipped, trailing ones are not a number's part: "12 " is no integer.
    while (!S.empty() && S.front() == ' ') S.remove_prefix(1);
    bool negative = false;
    if (!S.empty() && (S.front() == '-' || S.front() == '+')) {
        negative = S.front() == '-';
        S.remove_prefix(1);
    }
    int base = 10;
    if (!S.empty() && S.front() == '$') {
        base = 16;
        S.remove_prefix(1);
    } else if (S.size() > 1 && S[0] == '0' && (S[1] == 'x' || S[1] == 'X')) {
        base = 16;
        S.remove_prefix(2);
    }
    if (S.empty()) return false;
    if (isHex) *isHex = base == 16;
    unsigned long long magnitude = 0;
    auto r = std::from_chars(S.data(), S.data() + S.size(), magnitude, base);
    if (r.ec != std::errc() || r.ptr != S.data() + S.size()) return false;
    if (base == 16 && !negative) {
        // Hex text names a bit pattern: "$FFFFFFFF" is -1 as a 32-bit integer.
        out = static_cast<long long>(magnitude);
        return true;
    }
    if (magnitude >
        static_cast<unsigned long long>(std::numeric_limits<long long>::max()) + (negative ? 1 : 0))
        return false;
    out = negative ? static_cast<long long>(0ull - magnitude) : static_cast<long long>(magnitude);
    return true;
}

bool ParseInt32(std::string_view S, int& out)
{
    long long v;
    bool hex = false;
    if (!ParseInt64(S, v, &hex)) return false;
    // Hex patterns up to 32 bits wrap as the platform's integers do; decimal must fit.
    if (hex && v > std::numeric_limits<int>::max() && v <= 0xFFFFFFFFll) v -= 0x100000000ll;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
    out = static_cast<int>(v);
    return true;
}

}  // namespace

bool TryStrToInt(std::string_view S, int& Value) { return ParseInt32(S, Value); }

int StrToInt(std::string_view S)
{
    int v;
    if (!ParseInt32(S, v)) throw EConvertError("'%s' is not a valid integer value", S);
    return v;
}

int StrToIntDef(std::string_view S, int Default)
{
    int v;
    return ParseInt32(S, v) ? v : Default;
}

long long StrToInt64(std::string_view S)
{
    long long v;
    if (!ParseInt64(S, v)) throw EConvertError("'%s' is not a valid integer value", S);
    return v;
}

String FloatToStr(double Value) { return Format("%g", Value); }

String UpperCase(std::string_view S)
{
    String r(S);
    for (char& c : r) c = ToUpper(c);
    return r;
}

String LowerCase(std::string_view S)
{
    String r(S);
    for (char& c : r) c = ToLower(c);
    return r;
}

int CompareText(std::string_view A, std::string_view B)
{
    size_t n = std::min(A.size(), B.size());
    for (size_t i = 0; i < n; ++i) {
        int a = static_cast<unsigned char>(ToUpper(A[i]));
        int b = static_cast<unsigned char>(ToUpper(B[i]));
        if (a != b) return a - b;
    }
    return A.size() < B.size() ? -1 : (A.size() > B.size() ? 1 : 0);
}

bool SameText(std::string_view A, std::string_view B) { return CompareText(A, B) == 0; }

String TrimLeft(std::string_view S)
{
    size_t i = 0;
    while (i < S.size() && IsBlank(S[i])) ++i;
    return String(S.substr(i));
}

String TrimRight(std::string_view S)
{
    size_t n = S.size();
    while (n > 0 && IsBlank(S[n - 1])) --n;
    return String(S.substr(0, n));
}

String Trim(std::string_view S) { return TrimLeft(TrimRight(S)); }

String StringOfChar(char C, int Count)
{
    return Count > 0 ? String(static_cast<size_t>(Count), C) : String();
}

String StringReplaceAll(std::string_view S, std::string_view From, std::string_view To)
{
    if (From.empty()) return String(S);
    String r;
    size_t at = 0;
    for (;;) {
        size_t hit = S.find(From, at);
        if (hit == std::string_view::npos) break;
        r.append(S.substr(at, hit - at));
        r.append(To);
        at = hit + From.size();
    }
    r.append(S.substr(at));
    return r;
}

// ---- Format ------------------------------------------------------------------------------

namespace {

[[noreturn]] void BadFormat(std::string_view Fmt)
{
    throw EConvertError("Format '%s' invalid or incompatible with argument", Fmt);
}

void Pad(String& out, std::string_view body, int width, bool left)
{
    size_t fill = width > 0 && static_cast<size_t>(width) > body.size()
                      ? static_cast<size_t>(width) - body.size()
                      : 0;
    if (!left) out.append(fill, ' ');
    out.append(body);
    if (left) out.append(fill, ' ');
}

// Integer digits with a minimum digit count (the precision), sign kept in front.
String IntegerBody(const FormatArg::Value& v, char type, int precision, std::string_view fmt)
{
    bool negative = false;
    unsigned long long magnitude = 0;
    if (auto p = std::get_if<long long>(&v)) {
        if (type == 'd') {
            negative = *p < 0;
            magnitude = negative ? 0ull - static_cast<unsigned long long>(*p)
                                 : static_cast<unsigned long long>(*p);
        } else {
            // %u and %x show a negative 32-bit value as its bit pattern.
            magnitude = static_cast<unsigned long long>(*p);
            if (*p < 0 && *p >= std::numeric_limits<int>::min()) magnitude &= 0xFFFFFFFFull;
        }
    } else if (auto u = std::get_if<unsigned long long>(&v)) {
        magnitude = *u;
    } else if (auto c = std::get_if<char>(&v)) {
        magnitude = static_cast<unsigned char>(*c);
    } else {
        BadFormat(fmt);
    }
    char buf[32];
    auto r =
        std::to_chars(buf, buf + sizeof buf, magnitude, (type == 'x' || type == 'X') ? 16 : 10);
    String digits(buf, r.ptr);
    if (type == 'X')
        for (char& ch : digits) ch = ToUpper(ch);
    if (precision > 0 && digits.size() < static_cast<size_t>(precision))
        digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
    return negative ? "-" + digits : digits;
}

String FloatBody(const FormatArg::Value& v, char type, int precision, std::string_view fmt)
{
    double d;
    if (auto p = std::get_if<double>(&v))
        d = *p;
    else if (auto i = std::get_if<long long>(&v))
        d = static_cast<double>(*i);
    else if (auto u = std::get_if<unsigned long long>(&v))
        d = static_cast<double>(*u);
    else
        BadFormat(fmt);
    if (precision < 0) precision = (type == 'g') ? 15 : 2;
    precision = std::min(precision, 60);
    // The conversion text is built here from a fixed set; caller text never reaches printf.
    char conv[8] = {'%', '.', '*', type == 'n' ? 'f' : type, 0};
    char buf[512];
    int n = std::snprintf(buf, sizeof buf, conv, precision, d);
    if (n < 0) BadFormat(fmt);
    String body(buf, static_cast<size_t>(std::min(n, static_cast<int>(sizeof buf) - 1)));
    if (type == 'n') {
        // Thousands separators in the integer part.
        size_t start = (body[0] == '-') ? 1 : 0;
        size_t dot = body.find('.');
        size_t end = dot == String::npos ? body.size() : dot;
        for (size_t i = end; i > start + 3; i -= 3) body.insert(i - 3, 1, ',');
    }
    return body;
}

}  // namespace

String FormatArgs(std::string_view Fmt, std::span<const FormatArg> Args)
{
    String out;
    size_t next = 0;  // next argument for specifiers without an index
    size_t i = 0;
    auto takeArg = [&]() -> const FormatArg::Value& {
        if (next >= Args.size()) BadFormat(Fmt);
        return Args[next++].Get();
    };
    auto takeInt = [&]() -> int {
        const auto& v = takeArg();
        if (auto p = std::get_if<long long>(&v)) return static_cast<int>(*p);
        if (auto u = std::get_if<unsigned long long>(&v)) return static_cast<int>(*u);
        BadFormat(Fmt);
    };
    auto readNumber = [&](int& value) -> bool {
        if (i < Fmt.size() && Fmt[i] == '*') {
            ++i;
            value = takeInt();
            if (value > 100000 || value < -100000) BadFormat(Fmt);
            return true;
        }
        bool any = false;
        value = 0;
        while (i < Fmt.size() && Fmt[i] >= '0' && Fmt[i] <= '9') {
            value = value * 10 + (Fmt[i] - '0');
            if (value > 100000) BadFormat(Fmt);
            ++i;
            any = true;
        }
        return any;
    };

    while (i < Fmt.size()) {
        char c = Fmt[i++];
        if (c != '%') {
            out.push_back(c);
            continue;
        }
        if (i >= Fmt.size()) BadFormat(Fmt);
        if (Fmt[i] == '%') {
            out.push_back('%');
            ++i;
            continue;
        }
        // [index:]
        size_t save = i;
        int number = 0;
        if (Fmt[i] != '*' && readNumber(number) && i < Fmt.size() && Fmt[i] == ':') {
            next = static_cast<size_t>(number);
            ++i;
        } else {
            i = save;
        }
        bool left = false;
        if (i < Fmt.size() && Fmt[i] == '-') {
            left = true;
            ++i;
        }
        int width = 0;
        readNumber(width);
        if (width < 0) {
            left = true;
            width = -width;
        }
        int precision = -1;
        if (i < Fmt.size() && Fmt[i] == '.') {
            ++i;
            readNumber(precision);
        }
        if (i >= Fmt.size()) BadFormat(Fmt);
        char type = Fmt[i++];
        if (type >= 'A' && type <= 'Z' && type != 'X') type = ToLower(type);
        String body;
        switch (type) {
        case 'd':
        case 'u':
        case 'x':
        case 'X': body = IntegerBody(takeArg(), type, precision, Fmt); break;
        case 'f':
        case 'e':
        case 'g':
        case 'n': body = FloatBody(takeArg(), type, precision, Fmt); break;
        case 's': {
            const auto& v = takeArg();
            if (auto s = std::get_if<std::string_view>(&v))
                body = String(*s);
            else if (auto ch = std::get_if<char>(&v))
                body = String(1, *ch);
            else
                BadFormat(Fmt);
            if (precision >= 0 && body.size() > static_cast<size_t>(precision))
                body.resize(static_cast<size_t>(precision));
            break;
        }
        case 'c': {
            const auto& v = takeArg();
            if (auto ch = std::get_if<char>(&v))
                body = String(1, *ch);
            else if (auto p = std::get_if<long long>(&v))
                body = String(1, static_cast<char>(*p));
            else if (auto u = std::get_if<unsigned long long>(&v))
                body = String(1, static_cast<char>(*u));
            else
                BadFormat(Fmt);
            break;
        }
        case 'p': {
            const auto& v = takeArg();
            auto p = std::get_if<const void*>(&v);
            if (!p) BadFormat(Fmt);
            body = IntToHex(static_cast<long long>(reinterpret_cast<std::uintptr_t>(*p)),
                            static_cast<int>(2 * sizeof(void*)));
            break;
        }
        default: BadFormat(Fmt);
        }
        Pad(out, body, width, left);
    }
    return out;
}
