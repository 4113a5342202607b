// The file routines on real files in a private folder: copies with their date and progress,
// copies onto a folder and onto the file itself, moves that must not replace a target,
// deleting by mask, clearing folders with read-only files and links, short and long names,
// lock conflicts and shell links.
#include <gtest/gtest.h>

#include <functional>

#include "framework/Exceptions.h"
#include "framework/gui/CommonControls.h"
#include "tests/fileutils/FileTestFolder.h"
#include "tests/support/WaitUntil.h"
#include <shlobj.h>

#include "util/FileUtils.h"

using namespace Fileutil;

namespace {

class FileUtils : public FileTestFolder {};

std::string Pattern(std::size_t Size)
{
    std::string s(Size, '\0');
    for (std::size_t i = 0; i < Size; ++i) s[i] = static_cast<char>(i * 7 + i / 251);
    return s;
}

// Runs a host program with these arguments (file names given in Windows form are turned into
// host names first) and waits until Done holds.
std::string HostName(const std::string& Name)
{
    using UnixName = char*(CDECL*)(const WCHAR*);
    auto unixName = reinterpret_cast<UnixName>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    if (!unixName) return std::string();
    std::wstring wide(Name.begin(), Name.end());
    char* unix = unixName(wide.c_str());
    std::string result = unix ? unix : "";
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

bool RunHost(std::string Command, const std::function<bool()>& Done)
{
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, Command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // A host process's handle tells nothing of its end: wait for its effect.
    return qv::test::WaitUntil(Done);
}

// A link to a folder. Wine shows the host's symbolic links as reparse points but cannot make
// one itself, so there the host's ln makes it.
bool MakeFolderLink(const std::string& Link, const std::string& Target)
{
    auto exists = [&] { return GetFileAttributesA(Link.c_str()) != INVALID_FILE_ATTRIBUTES; };
    if (CreateSymbolicLinkA(Link.c_str(), Target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) && exists())
        return true;
    const std::string target = HostName(Target), link = HostName(Link);
    return !target.empty() && RunHost("Z:\\bin\\ln -s \"" + target + "\" \"" + link + "\"", exists);
}

void SetWriteTime(const std::string& FileName, WORD Year, WORD Month, WORD Day)
{
    SYSTEMTIME t{Year, Month, 0, Day, 3, 4, 6, 0};
    FILETIME local, utc;
    SystemTimeToFileTime(&t, &local);
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE h =
        CreateFileA(FileName.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
}

}  // namespace

TEST_F(FileUtils, CopyOntoAFolderKeepsNameContentAndDateWithProgress)
{
    const std::string content = Pattern(20000);  // more than two copy buffers
    const std::string source = Write("data.bin", content);
    SetWriteTime(source, 2020, 1, 2);
    CreateDirectoryA(Path("dest").c_str(), nullptr);
    TProgressBar progress(nullptr);
    CopyFile(source, Path("dest"), &progress);
    const std::string copy = Path("dest\\data.bin");
    EXPECT_EQ(Read(copy), content);
    EXPECT_DOUBLE_EQ(FileDateTime(copy), FileDateTime(source));
    EXPECT_EQ(progress.Max(), 20000);
    EXPECT_EQ(progress.Position(), 0);
    EXPECT_EQ(GetFileSize(copy), 20000);
    EXPECT_EQ(GetFileSize(Path("dest")), -1);
    EXPECT_EQ(GetFileSize(Path("none")), -1);
    EXPECT_EQ(FileDateTime(Path("none")), 0.0);
}

TEST_F(FileUtils, CopyMakesMissingFoldersAndClearsReadOnlyWhenAsked)
{
    const std::string source = Write("a.txt", "new");
    const std::string target = Path("x\\y\\a.txt");
    CopyFile(source, target);
    EXPECT_EQ(Read(target), "new");
    Write("x\\y\\a.txt", "old");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    // (Wine run as root writes read-only files anyway, so only the bit is checked.)
    CopyFileEx(source, target, true, false);
    EXPECT_EQ(Read(target), "new");
    EXPECT_FALSE(HasAttr(target, FILE_ATTRIBUTE_READONLY));
}

TEST_F(FileUtils, CopyOntoItselfNeverTruncatesAndMissingSourceIsReported)
{
    const std::string source = Write("same.txt", "keep me");
    for (const std::string& dest : {source, Path(".\\same.txt"), Path("")}) {
        EXPECT_THROW(CopyFile(source, dest), EFCreateError) << dest;
        EXPECT_EQ(Read(source), "keep me");
    }
    try {
        CopyFile(Path("missing.txt"), Path("b.txt"));
        ADD_FAILURE() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(String(e.what()), "Cannot open file " + Path("missing.txt"));
    }
}

TEST_F(FileUtils, MoveNeverReplacesAnExistingTargetAndKeepsReadOnlyOnFailure)
{
    const std::string source = Write("m.txt", "moving");
    const std::string target = Write("t.txt", "already here");
    EXPECT_THROW(MoveFile(source, target), EWin32Error);
    EXPECT_EQ(Read(target), "already here");
    EXPECT_EQ(Read(source), "moving");

    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(MoveFile(source, Path("no\"such<name")), EStreamError);
    EXPECT_TRUE(HasAttr(source, FILE_ATTRIBUTE_READONLY));

    MoveFile(source, Path("moved.txt"));
    EXPECT_FALSE(Exists(source));
    EXPECT_EQ(Read(Path("moved.txt")), "moving");
}

TEST_F(FileUtils, DeleteFilesTakesDotNamesLeavesFoldersAndIsFalseWhenNothingMatches)
{
    Write(".hidden.log", "1");
    Write("b.log", "2");
    Write("keep.txt", "3");
    CreateDirectoryA(Path("dir.log").c_str(), nullptr);
    EXPECT_TRUE(DeleteFiles(Path("*.log")));
    EXPECT_FALSE(Exists(Path(".hidden.log")));
    EXPECT_FALSE(Exists(Path("b.log")));
    EXPECT_TRUE(Exists(Path("keep.txt")));
    EXPECT_TRUE(DirExists(Path("dir.log")));
    EXPECT_FALSE(DeleteFiles(Path("*.nothing")));
    EXPECT_TRUE(DeleteFilesEx({}));
    EXPECT_FALSE(DeleteFilesEx({Path("*.nothing"), Path("keep.txt")}));
    EXPECT_TRUE(Exists(Path("keep.txt")));
}

TEST_F(FileUtils, ClearDirRemovesReadOnlyFilesAndNeverFollowsALink)
{
    CreateDirectoryA(Path("outside").c_str(), nullptr);
    const std::string outside = Write("outside\\precious.txt", "keep");
    ForceDirectories(Path("tree\\sub\\deep\\"));
    ASSERT_TRUE(DirExists(Path("tree\\sub\\deep")));
    Write("tree\\.profile", "x");
    Write("tree\\sub\\deep\\ro.txt", "x");
    SetFileAttributesA(Path("tree\\sub\\deep\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(ClearDir(Path("tree"), false));
    EXPECT_TRUE(DirExists(Path("tree\\sub")));
    EXPECT_FALSE(Exists(Path("tree\\.profile")));
    EXPECT_FALSE(Exists(Path("tree\\sub\\deep\\ro.txt")));

    const std::string link = Path("tree\\link");
    if (!MakeFolderLink(link, Path("outside")))
        GTEST_SKIP() << "no folder link could be made: the link case was not run";
    const bool cleared = ClearDir(Path("tree"), true);
    EXPECT_EQ(Read(outside), "keep");
    // Wine cannot remove a host link through either call: then the result says so.
    EXPECT_EQ(cleared, !Exists(link));
    if (Exists(link))
        RunHost("Z:\\bin\\rm \"" + HostName(link) + "\"", [&] { return !Exists(link); });
    else
        EXPECT_FALSE(DirExists(Path("tree")));
    EXPECT_TRUE(ClearDir(Path("tree"), true));
    EXPECT_FALSE(ClearDir(Path("tree"), true));
}

TEST_F(FileUtils, ShortAndLongNamesRoundTrip)
{
    const std::string longName = Write("A long file name.text", "x");
    const String shortName = LongToShortPath(longName);
    EXPECT_EQ(ExtractFileName(shortName).size() <= 12, true) << shortName;
    EXPECT_EQ(lstrcmpiA(ShortToLongPath(shortName).c_str(), longName.c_str()), 0) << shortName;
    EXPECT_EQ(ShortToLongFileName(Path("missing")), "");
}

TEST_F(FileUtils, LockedRangeConflictsUntilUnlocked)
{
    const std::string name = Write("locked.bin", Pattern(64));
    auto open = [&] {
        return CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    };
    HANDLE first = open(), second = open();
    EXPECT_EQ(FileLock(first, 0u, 10u), 0u);
    EXPECT_EQ(FileLock(second, 5u, 10u), static_cast<DWORD>(ERROR_LOCK_VIOLATION));
    EXPECT_EQ(FileUnlock(first, 0u, 10u), 0u);
    EXPECT_EQ(FileLock(second, 5u, 10u), 0u);
    const std::int64_t farOffset = std::int64_t(5) << 32;
    EXPECT_EQ(FileLock(first, farOffset, std::int64_t(100)), 0u);
    EXPECT_EQ(FileLock(second, farOffset + 50, std::int64_t(1)),
              static_cast<DWORD>(ERROR_LOCK_VIOLATION));
    EXPECT_EQ(FileLock(second, std::int64_t(50), std::int64_t(1)), 0u);  // the high word counts
    EXPECT_EQ(FileUnlock(first, farOffset, std::int64_t(100)), 0u);
    EXPECT_NE(FileUnlock(first, farOffset, std::int64_t(100)), 0u);
    CloseHandle(first);
    CloseHandle(second);
}

TEST_F(FileUtils, LinkResolvesToItsTarget)
{
    const std::string target = Write("target.txt", "x");
    const String display = "qv link test " + std::to_string(GetCurrentProcessId());
    CreateFileLink(target, display, CSIDL_APPDATA);
    const String link = SpecialFolderPath(CSIDL_APPDATA) + "\\" + display + ".lnk";
    EXPECT_EQ(lstrcmpiA(ResolveFileLink(link).c_str(), target.c_str()), 0);
    DeleteFileLink(display, CSIDL_APPDATA);
    EXPECT_FALSE(Exists(link));
}
