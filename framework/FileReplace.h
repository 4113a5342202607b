// Writing a whole file safely: the new contents go to a temporary file beside the target, which
// is renamed over it only when every write and the close succeeded. A failure leaves the old
// file as it was and no temporary file behind. Also the file checks and messages the INI file's
// own replacement shares.
#pragma once

#include <cstddef>
#include <filesystem>

#include "framework/Strings.h"

// Replaces FileName's contents with Size bytes at Data (creating the file when missing).
// Raises EFCreateError when the target is read-only, no regular file, or no file can be made
// in its folder, and EWriteError when a write, the close or the rename failed.
void WriteFileReplacing(const String& FileName, const void* Data, std::size_t Size);

namespace file_replace {
bool IsReadOnly(const std::filesystem::file_status& Status);
// The messages of the exceptions above.
String ReadOnlyText(const String& FileName);
String NotAFileText(const String& FileName);
String CannotCreateText(const String& FileName);
String CannotWriteText(const String& FileName);
}  // namespace file_replace
