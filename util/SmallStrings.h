// Small text helpers of the utility layer that need no window system: class-name prefixes
// and C character buffers.
#pragma once

#include <memory>

#include "framework/Strings.h"

// The text without its first character when that is "T" or "t" and more follows ("TForm":
// "Form"); otherwise unchanged ("T" stays "T").
String DropT(const String& S);
// A new zero-terminated copy of S that the caller owns.
std::unique_ptr<char[]> StrPAlloc(const String& S);
// The text's characters, zero-terminated, for calls that want a C string.
inline char* StringToPChar(String& S) { return S.data(); }
