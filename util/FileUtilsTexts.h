// The texts of the file routines' errors.
#pragma once

namespace FileUtilsText {
inline constexpr const char* CannotOpen = "Cannot open file %s";
inline constexpr const char* CannotCreate = "Cannot create file %s";
inline constexpr const char* ReadError = "Stream read error";
inline constexpr const char* WriteError = "Stream write error";
inline constexpr const char* CopyOntoItself = "Cannot copy file %s onto itself";
inline constexpr const char* CannotMove = "Cannot move file %s to %s";
inline constexpr const char* ShellCallFailed = "%s failed (error 0x%.8x)";
inline constexpr const char* NoSpecialFolder = "The shell has no folder %d";
}  // namespace FileUtilsText
