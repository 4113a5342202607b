// The framework's text type: 8-bit text (code page 1252) in a std::string.
// The program's algorithms count character positions from 1; the helpers here keep that
// arithmetic readable without off-by-one conversions scattered through the callers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

using String = std::string;

// ---- 1-based positions -------------------------------------------------------------------
// Position of the first occurrence of Sub in S, counted from 1; 0 when absent or Sub empty.
int Pos(std::string_view Sub, std::string_view S);
// Like Pos, but the search starts at position Offset (1-based); 0 when absent.
int PosEx(std::string_view Sub, std::string_view S, int Offset = 1);
// Count characters from 1-based Index; out-of-range parts are cut off, never an error.
String Copy(std::string_view S, int Index, int Count);
// Removes Count characters from 1-based Index; out-of-range parts are ignored.
void Delete(String& S, int Index, int Count);
// Inserts Sub in front of 1-based Index (past the end: appended, below 1: prepended).
void Insert(std::string_view Sub, String& S, int Index);
// The character at 1-based Index (no range check beyond the standard library's).
inline char& CharAt(String& S, int Index) { return S[static_cast<size_t>(Index - 1)]; }
inline char CharAt(std::string_view S, int Index) { return S[static_cast<size_t>(Index - 1)]; }
inline int Length(std::string_view S) { return static_cast<int>(S.size()); }

// ---- numbers -----------------------------------------------------------------------------
String IntToStr(long long Value);
// Upper-case hex digits, at least Digits of them (zero-padded); negative values as two's
// complement of 32 bits, as the platform's 32-bit integers print.
String IntToHex(long long Value, int Digits);
// Decimal, or hexadecimal with a leading "$" or "0x"; leading blanks allowed.
// Anything else, or a value outside 32 bits, raises EConvertError.
int StrToInt(std::string_view S);
int StrToIntDef(std::string_view S, int Default);
// Same without raising: false and Value untouched on bad text.
bool TryStrToInt(std::string_view S, int& Value);
long long StrToInt64(std::string_view S);
String FloatToStr(double Value);

// ---- case and blanks (ASCII letters only; other code page 1252 letters are kept) -----
String UpperCase(std::string_view S);
String LowerCase(std::string_view S);
// Case-insensitive comparisons (ASCII letters): <0, 0, >0 like strcmp.
int CompareText(std::string_view A, std::string_view B);
bool SameText(std::string_view A, std::string_view B);
// Trim removes control characters and blanks (bytes up to 32) from both ends.
String Trim(std::string_view S);
String TrimLeft(std::string_view S);
String TrimRight(std::string_view S);
String StringOfChar(char C, int Count);
// Every occurrence of From replaced by To (From empty: S unchanged).
String StringReplaceAll(std::string_view S, std::string_view From, std::string_view To);

// ---- Format ------------------------------------------------------------------------------
// A checked, type-safe Format: the format text is parsed here, never handed to printf, and
// each specifier must match its argument's kind, else EConvertError. Specifiers:
//   %[index:][-][width][.precision]type   type: d u x X (integers), s (text), c (char),
//   f e g n (floating point), p (pointer), %% (a percent sign); width/precision may be *.
// %d takes signed or unsigned integers; %s takes text; %c takes a char or an integer.
class FormatArg {
public:
    FormatArg(bool v) : v_(static_cast<long long>(v)) {}
    FormatArg(char v) : v_(v) {}
    FormatArg(signed char v) : v_(static_cast<long long>(v)) {}
    FormatArg(unsigned char v) : v_(static_cast<long long>(v)) {}
    FormatArg(short v) : v_(static_cast<long long>(v)) {}
    FormatArg(unsigned short v) : v_(static_cast<long long>(v)) {}
    FormatArg(int v) : v_(static_cast<long long>(v)) {}
    FormatArg(unsigned v) : v_(static_cast<unsigned long long>(v)) {}
    FormatArg(long v) : v_(static_cast<long long>(v)) {}
    FormatArg(unsigned long v) : v_(static_cast<unsigned long long>(v)) {}
    FormatArg(long long v) : v_(v) {}
    FormatArg(unsigned long long v) : v_(v) {}
    FormatArg(double v) : v_(v) {}
    FormatArg(float v) : v_(static_cast<double>(v)) {}
    FormatArg(long double v) : v_(static_cast<double>(v)) {}
    FormatArg(const char* v) : v_(std::string_view(v ? v : "")) {}
    FormatArg(std::string_view v) : v_(v) {}
    FormatArg(const String& v) : v_(std::string_view(v)) {}
    FormatArg(const void* v) : v_(v) {}
    using Value =
        std::variant<long long, unsigned long long, double, std::string_view, char, const void*>;
    const Value& Get() const { return v_; }

private:
    Value v_;
};

String FormatArgs(std::string_view Fmt, std::span<const FormatArg> Args);

template <class... A>
String Format(std::string_view Fmt, const A&... Args)
{
    if constexpr (sizeof...(A) == 0) {
        return FormatArgs(Fmt, {});
    } else {
        const FormatArg list[] = {FormatArg(Args)...};
        return FormatArgs(Fmt, list);
    }
}

// File names, paths and the program's arguments live in FileNames.h; included here because
// callers reach for them together with the text functions.
#include "framework/FileNames.h"
