// Floating-point numbers as text: strict reading of decimal notation, and writing with a
// fixed number of decimals as the mask "0.00" does (rounded the way people round).
#pragma once

#include <string_view>

#include "framework/Strings.h"

// An optional sign, digits with at most one ".", an optional exponent ("1.5e-3"); blanks
// around it are allowed. Anything else ("", "-", "1,5", "inf", "nan") or a value beyond the
// range of a double raises EConvertError.
double StrToFloat(std::string_view S);
// Same without raising: false and Value untouched on bad text.
bool TryStrToFloat(std::string_view S, double& Value);

// Value with Digits decimals (held within 0 to 18): at least one digit before the point, no
// point when Digits is 0, no minus sign when the result is all zeros. Rounding is half away
// from zero on the value's shortest decimal form, so 2.675 with two decimals gives "2.68"
// (the binary value lies just below it). Infinities and NaN give "INF", "-INF" and "NAN".
String FormatFixed(double Value, int Digits);
