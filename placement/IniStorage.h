// The storage layer under window placement: one value read or written through an INI file or
// the registry-as-INI (both TCustomIniFile), and the escaping of line breaks in stored text.
// Platform-free: the registry class is only ever seen through its base.
#pragma once

#include <cstdint>

#include "framework/CustomIniFile.h"
#include "framework/StringList.h"
#include "framework/Strings.h"

// Texts longer than this are refused by the two conversions below ("Line too long").
constexpr int MaxIniLine = 4096;

// Every line break (CR LF, LF CR, lone CR, lone LF) as backslash + "n". Stops at a NUL.
String StrToIniStr(std::string_view Str);
// Every backslash + "n" as CR LF; everything else copied. Stops at a NUL.
String IniStrToStr(std::string_view Str);

// Each takes the storage as it is: an INI file, a registry-as-INI, or nullptr, for which the
// reads give Default and the writes do nothing. Every text reads back exactly as written. The
// registry holds it as it is; an INI file too, unless it has line breaks: then it is stored
// marked and escaped, so it never splits an INI line into a bogus key.
String IniReadString(const TCustomIniFile* Ini, const String& Section, const String& Ident,
                     const String& Default);
void IniWriteString(TCustomIniFile* Ini, const String& Section, const String& Ident,
                    const String& Value);
std::int32_t IniReadInteger(const TCustomIniFile* Ini, const String& Section, const String& Ident,
                            std::int32_t Default);
void IniWriteInteger(TCustomIniFile* Ini, const String& Section, const String& Ident,
                     std::int32_t Value);
bool IniReadBool(const TCustomIniFile* Ini, const String& Section, const String& Ident,
                 bool Default);
void IniWriteBool(TCustomIniFile* Ini, const String& Section, const String& Ident, bool Value);
void IniEraseSection(TCustomIniFile* Ini, const String& Section);
void IniDeleteKey(TCustomIniFile* Ini, const String& Section, const String& Ident);
void IniReadSections(const TCustomIniFile* Ini, TStrings& Strings);

// Value under Name + Suffix, then under Name, so each screen size keeps its own while the
// plain name holds the latest.
void WritePlacementValue(TCustomIniFile* Ini, const String& Section, const String& Name,
                         const String& Suffix, const String& Value);
// Name + Suffix, or Name when that is empty.
String ReadPlacementValue(const TCustomIniFile* Ini, const String& Section, const String& Name,
                          const String& Suffix);
