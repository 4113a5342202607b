// A text combined with a key by XOR, the key repeated along the text; XorEncode writes the
// result as hexadecimal digits, XorDecode reads them back.
#pragma once

#include "framework/Strings.h"

// Each character of S XOR the key character at the same position; an empty key returns S.
String XorString(std::string_view Key, std::string_view S);
// The same combination as two lower-case hexadecimal digits per character.
String XorEncode(std::string_view Key, std::string_view S);
// Pairs of hexadecimal digits back to characters (a pair that is no number gives the code
// 32, an odd last digit is ignored), each combined with the key.
String XorDecode(std::string_view Key, std::string_view S);
