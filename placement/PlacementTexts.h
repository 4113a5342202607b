// The placement library's messages, exact to the byte.
#pragma once

namespace PlacementText {
inline constexpr const char* LineTooLong = "Line too long";
inline constexpr const char* DuplicateName = "String list does not allow duplicates";
}  // namespace PlacementText
