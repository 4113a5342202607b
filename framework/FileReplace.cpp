// Writing a whole file through a temporary file renamed over the target.
#include "framework/FileReplace.h"

#include <fstream>
#include <system_error>

#include "framework/Exceptions.h"
#include "framework/FileNames.h"

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

}  // namespace file_replace

using namespace file_replace;

void WriteFileReplacing(const String& FileName, const void* Data, std::size_t Size)
{
    const fs::path path = FilePathOf(FileName);
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    const bool exists = st.type() != fs::file_type::not_found;
    if (exists && st.type() != fs::file_type::regular) throw EFCreateError(NotAFileText(FileName));
    // Renaming would replace a read-only file on some systems; it must stay untouched.
    if (exists && IsReadOnly(st)) throw EFCreateError(ReadOnlyText(FileName));

    const String tempName = TemporaryFileNameFor(FileName);
    const fs::path temp = FilePathOf(tempName);
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
