// Writing a whole file through a temporary file renamed over the target.
#include "framework/FileReplace.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

#include "framework/Exceptions.h"

namespace fs = std::filesystem;

namespace file_replace {

String ReadOnlyText(const String& f) { return "Cannot write file \"" + f + "\": it is read-only"; }
String NotAFileText(const String& f) { return "Cannot write file \"" + f + "\": it is not a file"; }
String CannotCreateText(const String& f)
{
    return "Cannot write file \"" + f + "\": cannot create a file in its folder";
}
String CannotWriteText(const String& f) { return "Cannot write file \"" + f + "\""; }

bool IsReadOnly(const fs::file_status& st)
{
    return (st.permissions() & (fs::perms::owner_write | fs::perms::group_write |
                                fs::perms::others_write)) == fs::perms::none;
}

// A name beside the target that no other writer picks: a per-process random part and a count.
String TemporaryNameFor(const String& FileName)
{
    static const unsigned seed = std::random_device{}();
    static std::atomic<unsigned> count{0};
    char tail[32];
    std::snprintf(tail, sizeof tail, ".~%08x%04x.tmp", seed, count++ & 0xFFFFu);
    return FileName + tail;
}

#ifdef _WIN32
// File names are code page 1252 text, as the platform's 8-bit file functions take them; the
// standard library would read bytes 0x80-0x9F as Latin-1 control characters instead.
fs::path PathOf(const String& name)
{
    static const wchar_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    std::wstring wide;
    for (unsigned char c : name)
        wide += c >= 0x80 && c < 0xA0 ? high[c - 0x80] : static_cast<wchar_t>(c);
    return fs::path(wide);
}
#else
fs::path PathOf(const String& name) { return fs::path(name); }
#endif

}  // namespace file_replace

using namespace file_replace;

void WriteFileReplacing(const String& FileName, const void* Data, std::size_t Size)
{
    const fs::path path = PathOf(FileName);
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    const bool exists = st.type() != fs::file_type::not_found;
    if (exists && st.type() != fs::file_type::regular) throw EFCreateError(NotAFileText(FileName));
    // Renaming would replace a read-only file on some systems; it must stay untouched.
    if (exists && IsReadOnly(st)) throw EFCreateError(ReadOnlyText(FileName));

    const String tempName = TemporaryNameFor(FileName);
    const fs::path temp = PathOf(tempName);
    bool written;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) throw EFCreateError(CannotCreateText(FileName));
        out.write(static_cast<const char*>(Data), static_cast<std::streamsize>(Size));
        out.flush();
        written = static_cast<bool>(out);
        out.close();
        written = written && !out.fail();
    }
    if (written && exists) fs::permissions(temp, st.permissions(), ec);
    if (written) {
        fs::rename(temp, path, ec);
        written = !ec;
    }
    if (!written) {
        fs::remove(temp, ec);
        throw EWriteError(CannotWriteText(FileName));
    }
}
