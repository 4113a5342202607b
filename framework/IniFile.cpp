// TIniFile: loading a profile file into a TIniDocument and replacing it safely on write.
#include "framework/IniFile.h"
#include "framework/FileReplace.h"

#include "framework/FileNames.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

using namespace file_replace;

namespace {

String CannotOpenText(const String& f) { return "Cannot open file \"" + f + "\""; }

}  // namespace

struct TIniFile::TPending {
    String Name;
    std::ofstream Stream;
};

TIniFile::TIniFile(const String& FileName) : TCustomIniFile(FileName)
{
    fs::path path = FilePathOf(FileName);
    std::error_code ec;
    fs::file_status st = fs::status(path, ec);
    if (st.type() == fs::file_type::not_found) return;
    if (ec || st.type() == fs::file_type::directory) throw EFOpenError(CannotOpenText(FileName));

    std::ifstream in(path, std::ios::binary);
    if (!in) throw EFOpenError(CannotOpenText(FileName));
    String text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw EFOpenError(CannotOpenText(FileName));
    FDocument = TIniDocument(text);
}

TIniFile::~TIniFile()
{
    try {
        UpdateFile();
    } catch (...) {
        // Nobody is left to tell; UpdateFile has already removed its temporary file.
    }
}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) const
{
    return FDocument.Value(Section, Ident).value_or(Default);
}

bool TIniFile::SectionExists(const String& Section) const
{
    return FDocument.SectionExists(Section);
}

bool TIniFile::ValueExists(const String& Section, const String& Ident) const
{
    return FDocument.Value(Section, Ident).has_value();
}

std::vector<String> TIniFile::ReadSection(const String& Section) const
{
    return FDocument.KeyNames(Section);
}

std::vector<String> TIniFile::ReadSections() const { return FDocument.SectionNames(); }

void TIniFile::BeginChange()
{
    if (FPending) return;
    fs::path path = FilePathOf(FileName());
    std::error_code ec;
    fs::file_status st = fs::status(path, ec);
    if (st.type() != fs::file_type::not_found) {
        if (st.type() != fs::file_type::regular) throw EFCreateError(NotAFileText(FileName()));
        // Renaming would replace a read-only file on some systems; it must stay untouched.
        if (IsReadOnly(st)) throw EFCreateError(ReadOnlyText(FileName()));
    }
    auto pending = std::make_unique<TPending>();
    pending->Name = TemporaryFileNameFor(FileName());
    pending->Stream.open(FilePathOf(pending->Name), std::ios::binary | std::ios::trunc);
    if (!pending->Stream) throw EFCreateError(CannotCreateText(FileName()));
    FPending = std::move(pending);
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value)
{
    BeginChange();
    FDocument.SetValue(Section, Ident, Value);
}

void TIniFile::EraseSection(const String& Section)
{
    BeginChange();
    FDocument.EraseSection(Section);
}

void TIniFile::DeleteKey(const String& Section, const String& Ident)
{
    BeginChange();
    FDocument.DeleteKey(Section, Ident);
}

void TIniFile::DiscardTemporary() noexcept
{
    if (!FPending) return;
    if (FPending->Stream.is_open()) FPending->Stream.close();
    std::error_code ec;
    fs::remove(FilePathOf(FPending->Name), ec);
    FPending.reset();
}

void TIniFile::UpdateFile()
{
    if (!FPending) return;
    fs::path path = FilePathOf(FileName()), temp = FilePathOf(FPending->Name);
    String text = FDocument.Text();
    FPending->Stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    FPending->Stream.flush();
    bool written = static_cast<bool>(FPending->Stream);
    FPending->Stream.close();
    written = written && !FPending->Stream.fail();

    std::error_code ec;
    fs::file_status st = fs::status(path, ec);
    if (st.type() == fs::file_type::regular) {
        // The file may have turned read-only since the first change.
        if (IsReadOnly(st)) {
            DiscardTemporary();
            throw EFCreateError(ReadOnlyText(FileName()));
        }
        fs::permissions(temp, st.permissions(), ec);
    }
    if (written) {
        fs::rename(temp, path, ec);
        written = !ec;
    }
    if (!written) {
        DiscardTemporary();
        throw EWriteError(CannotWriteText(FileName()));
    }
    FPending.reset();
}
