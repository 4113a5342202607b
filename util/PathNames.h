// Folder names with and without their closing backslash, as the file routines join them.
#pragma once

#include <string>
#include <string_view>

#include "framework/Strings.h"

// DirName ready to have a file name appended: empty stays empty, a name ending in ":" or "\"
// is kept, a single drive letter gets ":\", anything else gets "\".
String NormalDir(std::string_view DirName);
// DirName without one closing backslash; a drive's root ("C:\") and names of one character
// are kept.
String RemoveBackSlash(std::string_view DirName);

// False for an empty name and for one holding any of < > " [ ] |; wildcards are allowed.
bool ValidFileName(std::string_view FileName);

// A name list as the shell's file operation takes it: each name ended by a NUL, the list by
// one more (an empty text gives an empty list). With Split, ";" and "|" separate names;
// without, Text is one name, whatever it holds.
std::string ShellNameList(std::string_view Text, bool Split);
