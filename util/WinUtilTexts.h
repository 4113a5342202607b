// The utility layer's user-visible texts, in one table: the messages of the errors it raises
// and of its notices. Exact to the byte; tests compare with them.
#pragma once

namespace WinUtilText {
inline constexpr const char* ResourceNotFound = "Resource %s not found";
inline constexpr const char* SystemError = "System error %d: %s";
inline constexpr const char* NotImplemented = "Function not yet implemented";
}  // namespace WinUtilText
