// File and path routines over the platform's 8-bit calls.
#include "util/FileUtils.h"

#include <memory>

#include <shlobj.h>

#include "framework/Exceptions.h"
#include "util/FileUtilsTexts.h"
#include "util/ProgressControls.h"
#include "util/ShellFileOps.h"

namespace Fileutil {

namespace {

constexpr DWORD CopyBufferSize = 8192;

struct HandleCloser {
    void operator()(HANDLE h) const
    {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

struct FindCloser {
    void operator()(HANDLE h) const { FindClose(h); }
};
using FindHandle = std::unique_ptr<void, FindCloser>;

bool FindFirst(std::string_view Name, WIN32_FIND_DATAA& Data)
{
    HANDLE h = FindFirstFileA(String(Name).c_str(), &Data);
    if (h == INVALID_HANDLE_VALUE) return false;
    FindClose(h);
    return true;
}

// The name after the last "\" or ":".
String NamePart(std::string_view FileName)
{
    const auto at = FileName.find_last_of("\\:");
    return String(at == std::string_view::npos ? FileName : FileName.substr(at + 1));
}

bool IsDotEntry(const char* Name)
{
    return std::string_view(Name) == "." || std::string_view(Name) == "..";
}

bool SameFolder(std::string_view A, std::string_view B)
{
    return lstrcmpiA(ExtractFilePath(ExpandFileName(A)).c_str(),
                     ExtractFilePath(ExpandFileName(B)).c_str()) == 0;
}

// The shell's copy or move, with its own progress and questions.
void ShellCopyOrMove(std::string_view FileName, std::string_view DestName, bool Move,
                     bool NoConfirmation)
{
    TQvFileOperator op(nullptr);
    op.SingleNames = true;  // a ";" inside one file name is part of that name
    op.Source = String(FileName);
    op.Destination = String(DestName);
    op.Operation = !Move ? foCopy : SameFolder(FileName, DestName) ? foRename : foMove;
    op.Options >> flAllowUndo;
    if (NoConfirmation) op.Options << flNoConfirmation;
    if (!op.Execute() || op.Aborted) Abort();
}

bool SameFile(HANDLE Source, std::string_view DestName)
{
    FileHandle dest(CreateFileA(String(DestName).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (dest.get() == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    if (!GetFileInformationByHandle(Source, &a) || !GetFileInformationByHandle(dest.get(), &b))
        return false;
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

DWORD LockResult(BOOL Ok) { return Ok ? 0 : GetLastError(); }

void CheckShell(HRESULT Result, const char* Step)
{
    if (FAILED(Result))
        throw Exception(FileUtilsText::ShellCallFailed, Step, static_cast<unsigned>(Result));
}

// COM for the length of one call; a thread that has it already keeps it.
class ComScope {
public:
    ComScope() : result_(CoInitialize(nullptr)) {}
    ~ComScope()
    {
        if (SUCCEEDED(result_)) CoUninitialize();
    }

private:
    HRESULT result_;
};

template <class I>
struct ComReleaser {
    void operator()(I* p) const { p->Release(); }
};
template <class I>
using ComPtr = std::unique_ptr<I, ComReleaser<I>>;

}  // namespace

bool DirExists(std::string_view Name)
{
    const DWORD attr = GetFileAttributesA(String(Name).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

void ForceDirectories(std::string_view DirName)
{
    if (DirName.empty()) return;
    String dir =
        DirName.back() == '\\' ? String(DirName.substr(0, DirName.size() - 1)) : String(DirName);
    if (dir.size() < 3 || DirExists(dir)) return;
    const auto at = dir.find_last_of("\\:");
    if (at != String::npos) {
        const String parent = dir.substr(0, at + 1);
        if (parent != dir) ForceDirectories(parent);
    }
    CreateDirectoryA(dir.c_str(), nullptr);
}

void CopyFile(std::string_view FileName, std::string_view DestName, TObject* Progress)
{
    CopyFileEx(FileName, DestName, false, false, Progress);
}

void CopyFileEx(std::string_view FileName, std::string_view DestName, bool OverwriteReadOnly,
                bool ShellDialog, TObject* Progress)
{
    if (ShellDialog && NewStyleControls) {
        ShellCopyOrMove(FileName, DestName, false, OverwriteReadOnly);
        return;
    }
    const String source(FileName);
    String dest(DestName);
    if (DirExists(dest)) dest = NormalDir(dest) + NamePart(source);

    const std::int64_t size = GetFileSize(source);
    FileHandle in(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (in.get() == INVALID_HANDLE_VALUE) throw EFOpenError(FileUtilsText::CannotOpen, source);
    // Creating the destination anew would empty the very file being read.
    if (SameFile(in.get(), dest)) throw EFCreateError(FileUtilsText::CopyOntoItself, source);
    SetProgressMax(Progress, static_cast<int>(size));
    SetProgressMin(Progress, 0);
    SetProgressValue(Progress, 0);
    struct ProgressReset {
        TObject* progress;
        ~ProgressReset() { SetProgressValue(progress, 0); }
    } progressReset{Progress};

    ForceDirectories(ExtractFilePath(ExpandFileName(dest)));
    if (OverwriteReadOnly) {
        const DWORD attr = GetFileAttributesA(dest.c_str());
        if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesA(dest.c_str(), attr & ~FILE_ATTRIBUTE_READONLY);
    }
    FileHandle out(CreateFileA(dest.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out.get() == INVALID_HANDLE_VALUE) throw EFCreateError(FileUtilsText::CannotCreate, dest);

    auto buffer = std::make_unique<char[]>(CopyBufferSize);
    std::int64_t copied = 0;
    DWORD count = 0;
    do {
        if (!ReadFile(in.get(), buffer.get(), CopyBufferSize, &count, nullptr))
            throw EReadError(String(FileUtilsText::ReadError));
        copied += count;
        DWORD written = 0;
        if (count > 0 &&
            (!WriteFile(out.get(), buffer.get(), count, &written, nullptr) || written != count))
            throw EWriteError(String(FileUtilsText::WriteError));
        SetProgressValue(Progress, static_cast<int>(copied));
    } while (count == CopyBufferSize);

    FILETIME created{}, accessed{}, written{};
    if (GetFileTime(in.get(), &created, &accessed, &written))
        SetFileTime(out.get(), nullptr, nullptr, &written);
}

void MoveFile(std::string_view FileName, std::string_view DestName)
{
    const String source(FileName), dest(DestName);
    if (MoveFileA(source.c_str(), dest.c_str())) return;
    const DWORD error = GetLastError();
    const DWORD attr = GetFileAttributesA(source.c_str());
    // The copy would replace whatever is there: it only runs for a target that does not exist
    // yet (the platform's move copies across volumes by itself).
    const bool fallback = attr != INVALID_FILE_ATTRIBUTES &&
                          GetFileAttributesA(dest.c_str()) == INVALID_FILE_ATTRIBUTES;
    if (!fallback) {
        EWin32Error e(FileUtilsText::CannotMove, source, dest);
        e.ErrorCode = error;
        throw e;
    }
    if (attr & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(source.c_str(), attr & ~FILE_ATTRIBUTE_READONLY);
    try {
        CopyFile(source, ExpandFileName(dest));
    } catch (...) {
        SetFileAttributesA(source.c_str(), attr);
        throw;
    }
    DeleteFileA(source.c_str());
}

void MoveFileEx(std::string_view FileName, std::string_view DestName, bool ShellDialog)
{
    if (ShellDialog && NewStyleControls)
        ShellCopyOrMove(FileName, DestName, true, true);
    else
        MoveFile(FileName, DestName);
}

std::int64_t GetFileSize(std::string_view FileName)
{
    WIN32_FIND_DATAA data;
    if (!FindFirst(FileName, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TDateTime FileDateTime(std::string_view FileName)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(String(FileName).c_str(), GetFileExInfoStandard, &data)) return 0.0;
    FILETIME local;
    SYSTEMTIME t;
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) ||
        !FileTimeToSystemTime(&local, &t))
        return 0.0;
    return EncodeDate(t.wYear, t.wMonth, t.wDay) +
           EncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

bool HasAttr(std::string_view FileName, DWORD Attr)
{
    const DWORD attr = GetFileAttributesA(String(FileName).c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & Attr) == Attr;
}

bool DeleteFiles(std::string_view FileMask)
{
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA(ExpandFileName(FileMask).c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) return false;
    const String folder = ExtractFilePath(FileMask);
    do {
        // Only the two navigation entries are skipped: ".profile" is a file like any other.
        if (IsDotEntry(data.cFileName)) continue;
        if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | 0x8 /* volume label */)) continue;
        if (!DeleteFileA((folder + data.cFileName).c_str())) return false;
    } while (FindNextFileA(find.get(), &data));
    return true;
}

bool DeleteFilesEx(const std::vector<String>& FileMasks)
{
    for (const String& mask : FileMasks)
        if (!DeleteFiles(mask)) return false;
    return true;
}

bool ClearDir(std::string_view Path, bool Delete)
{
    if (!DirExists(Path)) return false;
    bool result = true;
    const String folder = NormalDir(Path);
    WIN32_FIND_DATAA data;
    bool searchEnded = false;
    {
        FindHandle find(FindFirstFileA((folder + "*.*").c_str(), &data));
        if (find.get() == INVALID_HANDLE_VALUE) {
            searchEnded = GetLastError() == ERROR_FILE_NOT_FOUND;
        } else {
            do {
                if (IsDotEntry(data.cFileName) || data.dwFileAttributes == 0x8) continue;
                const String name = folder + data.cFileName;
                const DWORD attr = data.dwFileAttributes;
                if (attr & FILE_ATTRIBUTE_REPARSE_POINT) {
                    // A junction or symbolic link: its target lies outside this tree.
                    const BOOL removed = (attr & FILE_ATTRIBUTE_DIRECTORY)
                                             ? RemoveDirectoryA(name.c_str())
                                             : DeleteFileA(name.c_str());
                    if (!removed) result = false;
                } else if (attr & FILE_ATTRIBUTE_DIRECTORY) {
                    if (!ClearDir(name, Delete)) result = false;
                } else {
                    if (attr & FILE_ATTRIBUTE_READONLY)
                        SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_ARCHIVE);
                    if (!DeleteFileA(name.c_str())) result = false;
                }
            } while (FindNextFileA(find.get(), &data));
            searchEnded = GetLastError() == ERROR_NO_MORE_FILES;
        }
    }
    const bool bareDrive = Path.size() == 2 && Path[1] == ':';
    if (Delete && result && searchEnded && !bareDrive &&
        !RemoveDirectoryA(RemoveBackSlash(Path).c_str()))
        result = false;
    return result;
}

String GetTempDir()
{
    char buffer[1024];
    const DWORD n = GetTempPathA(sizeof buffer, buffer);
    return String(buffer, n < sizeof buffer ? n : 0);
}

String GetWindowsDir()
{
    char buffer[1024];
    const UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
    return String(buffer, n < sizeof buffer ? n : 0);
}

String GetSystemDir()
{
    char buffer[1024];
    const UINT n = GetSystemDirectoryA(buffer, sizeof buffer);
    return String(buffer, n < sizeof buffer ? n : 0);
}

String ShortToLongFileName(std::string_view FileName)
{
    WIN32_FIND_DATAA data;
    if (!FindFirst(FileName, data)) return String();
    return data.cFileName[0] ? String(data.cFileName) : String(data.cAlternateFileName);
}

String LongToShortFileName(std::string_view FileName)
{
    WIN32_FIND_DATAA data;
    if (!FindFirst(FileName, data)) return String();
    return data.cAlternateFileName[0] ? String(data.cAlternateFileName) : String(data.cFileName);
}

namespace {

String ConvertPath(std::string_view Path, String (*Convert)(std::string_view))
{
    String result, sofar;
    std::size_t start = 0;
    bool first = true;
    while (start <= Path.size()) {
        auto end = Path.find('\\', start);
        if (end == std::string_view::npos) end = Path.size();
        const String part(Path.substr(start, end - start));
        sofar += first ? part : "\\" + part;
        if (first) {
            result = part;
        } else {
            // A component that cannot be found is kept as written, not dropped.
            const String converted = part.empty() ? part : Convert(sofar);
            result += "\\" + (converted.empty() ? part : converted);
        }
        first = false;
        start = end + 1;
    }
    return result;
}

}  // namespace

String ShortToLongPath(std::string_view Path) { return ConvertPath(Path, ShortToLongFileName); }
String LongToShortPath(std::string_view Path) { return ConvertPath(Path, LongToShortFileName); }

DWORD FileLock(HANDLE Handle, std::uint32_t Offset, std::uint32_t LockSize)
{
    return LockResult(LockFile(Handle, Offset, 0, LockSize, 0));
}

DWORD FileUnlock(HANDLE Handle, std::uint32_t Offset, std::uint32_t LockSize)
{
    return LockResult(UnlockFile(Handle, Offset, 0, LockSize, 0));
}

DWORD FileLock(HANDLE Handle, std::int64_t Offset, std::int64_t LockSize)
{
    return LockResult(LockFile(Handle, static_cast<DWORD>(Offset), static_cast<DWORD>(Offset >> 32),
                               static_cast<DWORD>(LockSize), static_cast<DWORD>(LockSize >> 32)));
}

DWORD FileUnlock(HANDLE Handle, std::int64_t Offset, std::int64_t LockSize)
{
    return LockResult(UnlockFile(Handle, static_cast<DWORD>(Offset),
                                 static_cast<DWORD>(Offset >> 32), static_cast<DWORD>(LockSize),
                                 static_cast<DWORD>(LockSize >> 32)));
}

String SpecialFolderPath(int Folder)
{
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, Folder, &items)) || !items)
        throw Exception(FileUtilsText::NoSpecialFolder, Folder);
    char path[MAX_PATH] = "";
    const BOOL ok = SHGetPathFromIDListA(items, path);
    CoTaskMemFree(items);
    if (!ok) throw Exception(FileUtilsText::NoSpecialFolder, Folder);
    return String(path);
}

void CreateFileLink(std::string_view FileName, std::string_view DisplayName, int Folder)
{
    ComScope com;
    IShellLinkA* rawLink = nullptr;
    CheckShell(CoCreateInstance(CLSID_ShellLink, nullptr,
                                CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&rawLink)),
               "CoCreateInstance");
    ComPtr<IShellLinkA> link(rawLink);
    IPersistFile* rawFile = nullptr;
    CheckShell(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile)),
               "QueryInterface");
    ComPtr<IPersistFile> file(rawFile);
    const String linkName = SpecialFolderPath(Folder) + "\\" + String(DisplayName) + ".lnk";
    const String target(FileName);
    CheckShell(link->SetPath(target.c_str()), "IShellLink::SetPath");
    CheckShell(link->SetIconLocation(target.c_str(), 0), "IShellLink::SetIconLocation");
    WCHAR wideName[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, linkName.c_str(), -1, wideName, MAX_PATH))
        CheckShell(HRESULT_FROM_WIN32(GetLastError()), "MultiByteToWideChar");
    CheckShell(file->Save(wideName, TRUE), "IPersistFile::Save");
}

void DeleteFileLink(std::string_view DisplayName, int Folder)
{
    DeleteFileA((SpecialFolderPath(Folder) + "\\" + String(DisplayName) + ".lnk").c_str());
}

String ResolveFileLink(std::string_view LinkName)
{
    ComScope com;
    IShellLinkA* rawLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&rawLink))))
        return String();
    ComPtr<IShellLinkA> link(rawLink);
    IPersistFile* rawFile = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&rawFile))))
        return String();
    ComPtr<IPersistFile> file(rawFile);
    WCHAR wideName[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, String(LinkName).c_str(), -1, wideName, MAX_PATH) ||
        FAILED(file->Load(wideName, STGM_READ)))
        return String();
    char path[MAX_PATH] = "";
    if (FAILED(link->GetPath(path, MAX_PATH, nullptr, 0))) return String();
    return String(path);
}

}  // namespace Fileutil
