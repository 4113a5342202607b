// File names and paths (both '\' and '/' separate folders, a drive ends in ':'), file
// existence, and the program's own path and command-line arguments.
#pragma once

#include <filesystem>

#include "framework/Strings.h"

// "C:\dir\name.ext" -> "name.ext"
String ExtractFileName(std::string_view FileName);
// "C:\dir\name.ext" -> "C:\dir\" (keeps the trailing separator)
String ExtractFilePath(std::string_view FileName);
// "C:\dir\name.ext" -> "C:\dir" (no trailing separator, except a drive root "C:\")
String ExtractFileDir(std::string_view FileName);
// "name.ext" -> ".ext"; "" when the name part has no '.'
String ExtractFileExt(std::string_view FileName);
// The extension of the name part replaced (or added); Extension includes its '.'.
String ChangeFileExt(std::string_view FileName, std::string_view Extension);
// Absolute form against the current folder, with "." and ".." resolved.
String ExpandFileName(std::string_view FileName);
// Adds the folder separator when missing.
String IncludeTrailingPathDelimiter(std::string_view Path);
bool FileExists(std::string_view FileName);
bool DirectoryExists(std::string_view Path);

// ParamStr(0) is the program's full file name; ParamStr(1..ParamCount()) its arguments,
// quotes removed; out of range: "".
int ParamCount();
String ParamStr(int Index);
// Tests set the arguments the program sees; the first entry plays ParamStr(0).
void SetProgramArguments(std::span<const String> Arguments);

// A file name as the standard library's file system functions take it. File names are code
// page 1252 text, as the platform's 8-bit file functions take them; the standard library
// would read bytes 0x80-0x9F as Latin-1 control characters instead.
std::filesystem::path FilePathOf(std::string_view FileName);
// A name beside the file that no other writer picks (a per-process random part and a count),
// for writing a new version that then replaces the file.
String TemporaryFileNameFor(std::string_view FileName);
