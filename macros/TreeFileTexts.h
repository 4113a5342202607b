// The texts the macro list file shows the user.
#pragma once

namespace TreeFileText {
inline constexpr const char* SaveFailed = "Error - could not save data to file.";
inline constexpr const char* OutOfMemory = "Out of memory!";
inline constexpr const char* DeletedFolder = "Cannot add to deleted folder.";
inline constexpr const char* FieldDelimiterRefused =
    "The character \"|\" cannot be stored in a macro list; the entry was not added.";
}  // namespace TreeFileText
