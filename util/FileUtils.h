// File and path routines: folders, copying and moving with an optional progress control,
// size, date and attributes, deleting by mask and clearing folders, system folders, short and
// long names, byte-range locks and shell links. Paths are 8-bit text of the platform.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include <windows.h>

#include "framework/DateTime.h"
#include "framework/Object.h"
#include "framework/Strings.h"
#include "util/PathNames.h"

// These are names of the file routines here, not the platform's A/W switches: a caller wanting
// the platform's calls names them with their A suffix.
#undef CopyFile
#undef CopyFileEx
#undef MoveFile
#undef MoveFileEx

namespace Fileutil {

// Whether Name exists and is a folder.
bool DirExists(std::string_view Name);
// Creates DirName and every missing parent; a failure to create is not reported.
void ForceDirectories(std::string_view DirName);

// Copies FileName to DestName (a folder name receives the file under its own name), keeping
// the file's date; Progress, when it is a registered progress control, follows the copy.
// EFOpenError, EFCreateError, EReadError or EWriteError on failure; a copy onto the file
// itself is refused (EFCreateError) rather than truncating it. With ShellDialog the shell
// copies, with its own progress and questions; EAbort when it fails or the user cancels.
void CopyFile(std::string_view FileName, std::string_view DestName, TObject* Progress = nullptr);
void CopyFileEx(std::string_view FileName, std::string_view DestName, bool OverwriteReadOnly,
                bool ShellDialog, TObject* Progress = nullptr);
// The platform's move; when that fails and the target does not exist, a copy and a delete. An
// existing target is never replaced: EWin32Error then, and for a missing source. The copy's errors
// pass on, the source keeping its read-only bit.
void MoveFile(std::string_view FileName, std::string_view DestName);
void MoveFileEx(std::string_view FileName, std::string_view DestName, bool ShellDialog);

// The size of the file, -1 when there is none or it is a folder.
std::int64_t GetFileSize(std::string_view FileName);
// The file's time of last change (local time); NullDate when it cannot be read.
TDateTime FileDateTime(std::string_view FileName);
// Whether the attributes can be read and hold every bit of Attr.
bool HasAttr(std::string_view FileName, DWORD Attr);

// Deletes the files (not folders) that FileMask matches; false when nothing matches or a
// deletion fails (it stops there). Only "." and ".." are skipped.
bool DeleteFiles(std::string_view FileMask);
// DeleteFiles on each mask while all succeed; true for an empty list.
bool DeleteFilesEx(const std::vector<String>& FileMasks);
// Deletes everything in Path (read-only files too), and Path itself with Delete. A junction or
// symbolic link inside is removed as a link, never followed. False when Path is missing or
// anything could not be removed (the walk goes on).
bool ClearDir(std::string_view Path, bool Delete);

String GetTempDir();
String GetWindowsDir();
String GetSystemDir();

// The long (or short) name of the first match of a search on FileName; the other form when
// the wanted one is empty; empty when nothing matches.
String ShortToLongFileName(std::string_view FileName);
String LongToShortFileName(std::string_view FileName);
// The same for every component of Path after the first (the drive).
String ShortToLongPath(std::string_view Path);
String LongToShortPath(std::string_view Path);

// 0 on success, else the platform's error code.
DWORD FileLock(HANDLE Handle, std::uint32_t Offset, std::uint32_t LockSize);
DWORD FileUnlock(HANDLE Handle, std::uint32_t Offset, std::uint32_t LockSize);
DWORD FileLock(HANDLE Handle, std::int64_t Offset, std::int64_t LockSize);
DWORD FileUnlock(HANDLE Handle, std::int64_t Offset, std::int64_t LockSize);

// The path of a special shell folder (a CSIDL_ code); Exception when the shell has none.
String SpecialFolderPath(int Folder);
// Creates (or replaces) DisplayName.lnk in the special folder, pointing at FileName with its
// first icon. Exception with the failing step's code on any failure.
void CreateFileLink(std::string_view FileName, std::string_view DisplayName, int Folder);
void DeleteFileLink(std::string_view DisplayName, int Folder);
// The target of a link file (for checking links), empty when it cannot be read.
String ResolveFileLink(std::string_view LinkName);

}  // namespace Fileutil
