// The utility layer's user-visible texts, in one table: the messages of the errors it raises
// and of its notices, and the library's string resources. Exact to the byte; tests compare
// with them.
#pragma once

namespace WinUtilText {
inline constexpr const char* ResourceNotFound = "Resource %s not found";
inline constexpr const char* SystemError = "System error %d: %s";
inline constexpr const char* NotImplemented = "Function not yet implemented";

// The library's texts in the program's string table (res/LibStrings.rc, which must say the
// same), by resource id.
struct TLibString {
    unsigned Id;
    const char* Text;
};
inline constexpr unsigned NotImplementedId = 61257;
inline constexpr TLibString LibStrings[] = {
    {61254, "Details"},
    {61255, "Could not load '%s' library"},
    {61256, "File specified is not an executable file, dynamic-link library, or icon file"},
    {NotImplementedId, NotImplemented},
    {61258, "Previous Month|"},
    {61259, "Previous Year|"},
    {61260, "Next Month|"},
    {61261, "Next Year|"},
    {61262, "Select a Date"},
    {61263, "All files (*.*)|*.*"},
    {61264, "Browse"},
};
}  // namespace WinUtilText
