// File name functions, file existence and the program's arguments. The program's names use
// '\' but '/' is accepted as a separator too (the platform accepts both).
#include "framework/FileNames.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <vector>
#ifdef _WIN32
#include <sys/stat.h>
#include <sys/types.h>
#endif

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Index just past the last folder separator or drive colon: where the name part starts.
size_t NameStart(std::string_view FileName)
{
    size_t i = FileName.size();
    while (i > 0 && !IsSeparator(FileName[i - 1]) && FileName[i - 1] != ':') --i;
    return i;
}

// Index of the extension's '.', or npos when the name part has none.
size_t ExtStart(std::string_view FileName)
{
    size_t start = NameStart(FileName);
    size_t dot = FileName.rfind('.');
    return (dot == std::string_view::npos || dot < start) ? std::string_view::npos : dot;
}

}  // namespace

String ExtractFileName(std::string_view FileName)
{
    return String(FileName.substr(NameStart(FileName)));
}

String ExtractFilePath(std::string_view FileName)
{
    return String(FileName.substr(0, NameStart(FileName)));
}

String ExtractFileDir(std::string_view FileName)
{
    size_t n = NameStart(FileName);
    // Keep the separator of a root ("C:\", "\") so the result still names the root.
    if (n > 0 && IsSeparator(FileName[n - 1]) && n > 1 && FileName[n - 2] != ':') --n;
    return String(FileName.substr(0, n));
}

String ExtractFileExt(std::string_view FileName)
{
    size_t dot = ExtStart(FileName);
    return dot == std::string_view::npos ? String() : String(FileName.substr(dot));
}

String ChangeFileExt(std::string_view FileName, std::string_view Extension)
{
    size_t dot = ExtStart(FileName);
    String r(FileName.substr(0, dot == std::string_view::npos ? FileName.size() : dot));
    r.append(Extension);
    return r;
}

String ExpandFileName(std::string_view FileName)
{
    if (FileName.empty()) return String();
#ifdef _WIN32
    // The runtime library's ANSI call: names stay in the program's code page, which the
    // standard library's path conversion does not promise.
    char full[_MAX_PATH * 4];
    if (_fullpath(full, String(FileName).c_str(), sizeof full)) return String(full);
    return String(FileName);
#else
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(FileName), ec);
    if (ec) return String(FileName);
    return p.lexically_normal().string();
#endif
}

String IncludeTrailingPathDelimiter(std::string_view Path)
{
    String r(Path);
#ifdef _WIN32
    if (r.empty() || !IsSeparator(r.back())) r.push_back('\\');
#else
    if (r.empty() || !IsSeparator(r.back())) r.push_back('/');
#endif
    return r;
}

namespace {

// 1 for a file, 2 for a folder, 0 when nothing is there.
int Kind(std::string_view Name)
{
    if (Name.empty()) return 0;
#ifdef _WIN32
    String path(Name);
    // The runtime's stat refuses a folder name ending in a separator, except a root.
    while (path.size() > 1 && IsSeparator(path.back()) && path[path.size() - 2] != ':')
        path.pop_back();
    struct _stat64 st;
    if (_stat64(path.c_str(), &st) != 0) return 0;
    return (st.st_mode & _S_IFDIR) ? 2 : (st.st_mode & _S_IFREG) ? 1 : 0;
#else
    std::error_code ec;
    auto status = std::filesystem::status(std::filesystem::path(Name), ec);
    if (ec) return 0;
    return std::filesystem::is_directory(status)      ? 2
           : std::filesystem::is_regular_file(status) ? 1
                                                      : 0;
#endif
}

}  // namespace

bool FileExists(std::string_view FileName) { return Kind(FileName) == 1; }

bool DirectoryExists(std::string_view Path) { return Kind(Path) == 2; }

// ---- program arguments -------------------------------------------------------------------

namespace {

std::mutex argumentsLock;
std::vector<String> arguments;
bool argumentsRead = false;

void ReadArguments()
{
#ifdef _WIN32
    // The runtime library has split the command line by the platform's quoting rules.
    for (int i = 0; i < __argc; ++i) arguments.emplace_back(__argv[i] ? __argv[i] : "");
    // The runtime library keeps the program's full file name (from the module, not argv[0]).
    const char* program = _pgmptr;
    if (program && *program) {
        if (arguments.empty()) arguments.emplace_back();
        arguments[0] = program;  // the full file name, however the program was started
    }
#else
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    String all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t at = 0;
    while (at < all.size()) {
        size_t end = all.find('\0', at);
        if (end == String::npos) end = all.size();
        arguments.emplace_back(all.substr(at, end - at));
        at = end + 1;
    }
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        if (arguments.empty()) arguments.emplace_back();
        arguments[0] = exe.string();
    }
#endif
    argumentsRead = true;
}

}  // namespace

int ParamCount()
{
    std::lock_guard<std::mutex> hold(argumentsLock);
    if (!argumentsRead) ReadArguments();
    return arguments.empty() ? 0 : static_cast<int>(arguments.size()) - 1;
}

String ParamStr(int Index)
{
    std::lock_guard<std::mutex> hold(argumentsLock);
    if (!argumentsRead) ReadArguments();
    if (Index < 0 || static_cast<size_t>(Index) >= arguments.size()) return String();
    return arguments[static_cast<size_t>(Index)];
}

void SetProgramArguments(std::span<const String> Arguments)
{
    std::lock_guard<std::mutex> hold(argumentsLock);
    arguments.assign(Arguments.begin(), Arguments.end());
    argumentsRead = true;
}

String TemporaryFileNameFor(std::string_view FileName)
{
    static const unsigned seed = std::random_device{}();
    static std::atomic<unsigned> count{0};
    char tail[32];
    std::snprintf(tail, sizeof tail, ".~%08x%04x.tmp", seed, count++ & 0xFFFFu);
    return String(FileName) + tail;
}

#ifdef _WIN32
std::filesystem::path FilePathOf(std::string_view name)
{
    static const wchar_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::wstring wide;
    for (unsigned char c : name)
        wide += c >= 0x80 && c < 0xA0 ? high[c - 0x80] : static_cast<wchar_t>(c);
    return std::filesystem::path(wide);
}
#else
std::filesystem::path FilePathOf(std::string_view name) { return std::filesystem::path(name); }
#endif
