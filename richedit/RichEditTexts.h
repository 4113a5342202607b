// The messages of the rich text editor unit, exact to the byte; tests compare against them.
#pragma once

namespace RichEditText {
inline constexpr const char* LoadStream = "Failed to Load Stream";
inline constexpr const char* SaveStream = "Failed to Save Stream";
inline constexpr const char* LineInsertion = "RichEdit line insertion error";
inline constexpr const char* EmptyList = "Maxmin: empty list";
inline constexpr const char* TabIndex = "Tab index out of range (%d)";
inline constexpr const char* VersionRange = "Rich edit version out of range (%d)";
inline constexpr const char* VersionLocked =
    "The rich edit version cannot change while a rich edit control exists";
inline constexpr const char* EmptyFindText = "Search text is empty";
inline constexpr const char* ObjectProperties = "%s Properties";
inline constexpr const char* ObjectLocation = "%s - %s";
inline constexpr const char* InvalidLinkSource = "Cannot link to an invalid source.";
inline constexpr const char* BreakLinkUnsupported = "Break link operation is not supported.";
inline constexpr const char* LinkProperties = "Link Properties";
}  // namespace RichEditText
