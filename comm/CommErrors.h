// The port's error texts, exact to the byte, and the one function that raises them.
#pragma once

#include <string_view>

namespace CommText {
inline constexpr std::string_view PortAlreadyOpen = "Port already assigned (open) (Error: %d)";
inline constexpr std::string_view SetupCommFailed =
    "Error initializing Read/Write Buffers (Error: %d)";
inline constexpr std::string_view TimeoutsFailed = "Error updating CommTimeouts (Error: %d)";
inline constexpr std::string_view DcbFailed = "Error updating DataControlBlock (Error: %d)";
inline constexpr std::string_view EscapeFailed = "EscapeCommFunction failure (Error: %d)";
inline constexpr std::string_view PortNotOpen = "Port not open (Error: %d)";
}  // namespace CommText

// Raises the framework's base Exception with Text formatted with Code (a system error, or -1
// for the port's own state errors).
[[noreturn]] void RaiseCommError(std::string_view Text, long Code);
