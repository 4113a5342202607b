// The placement library's messages, exact to the byte.
#pragma once

namespace PlacementText {
inline constexpr const char* LineTooLong = "Line too long";
}  // namespace PlacementText
