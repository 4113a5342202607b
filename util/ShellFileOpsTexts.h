// The texts of the folder browser and the shell file operation.
#pragma once

namespace ShellFileOpsText {
inline constexpr const char* Help = "&Help";
inline constexpr const char* NoRoot = "The shell has no folder %d to browse";
}  // namespace ShellFileOpsText
