// Wildcard matching: "*" for any run of characters (also none), "?" for any one character.
#pragma once

#include "framework/Strings.h"

// The first position in S at which P matches, "?" matching any one character; 0 when none.
int FindPart(std::string_view P, std::string_view S);
// Whether S matches the pattern W; IgnoreCase compares both in upper case (the locale's).
bool IsWild(std::string_view S, std::string_view W, bool IgnoreCase);
