// Folder names with and without their closing backslash, as the file routines join them.
#pragma once

#include <string_view>

#include "framework/Strings.h"

// DirName ready to have a file name appended: empty stays empty, a name ending in ":" or "\"
// is kept, a single drive letter gets ":\", anything else gets "\".
String NormalDir(std::string_view DirName);
// DirName without one closing backslash; a drive's root ("C:\") and names of one character
// are kept.
String RemoveBackSlash(std::string_view DirName);
