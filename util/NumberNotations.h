// Integers in hexadecimal, any base from 2 to 36, Roman numerals and binary digits, and back.
#pragma once

#include "framework/Strings.h"

// N (as unsigned 32 bits) in upper-case hexadecimal with at least A digits.
String Dec2Hex(int N, int A);
String D2H(int N, int A);
// S read as hexadecimal ("$" put in front unless S holds one); 0 when S is no number.
int Hex2Dec(std::string_view S);
int H2D(std::string_view S);
// N (as unsigned 32 bits) in base B, digits 0-9 then A-Z, padded with '0' to A characters;
// empty for a base outside 2..36.
String Dec2Numb(int N, int A, int B);
// S read in base B without checking its digits, 32-bit arithmetic that wraps; 0 for a base
// outside 2..36.
int Numb2Dec(std::string_view S, int B);
// 0 to 9 for "0"-"9", 10 to 15 for "a"-"f" and "A"-"F", -1 for any other character.
int HexDigitValue(char C);
// Empty for N below 1.
String IntToRoman(int N);
// Either case, a leading '-' for negative; 0 when S holds any other character.
int RomanToInt(std::string_view S);
// The lowest D bits of N (D capped at 32) as '0'/'1', a blank in front of every bit position
// that is a multiple of G counted from the right; G below 1 means no grouping.
String IntToBin(int N, int D, int G);
