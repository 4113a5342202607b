// TRegIniFile: INI-style reads and writes on subkeys and string values of a registry key.
#include "framework/win/RegIniFile.h"

#include "framework/IniFile.h"

namespace {

// The messages of this unit's exceptions.
String CannotWriteText(const String& path, const String& ident)
{
    return "Failed to set data for \"" + ident + "\" in registry key \"" + path + "\"";
}
String CannotCreateText(const String& path)
{
    return "Failed to create registry key \"" + path + "\"";
}
String CannotEraseText(const String& path)
{
    return "Failed to delete registry key \"" + path + "\"";
}

// An open registry key, closed when it goes.
class TKey {
public:
    TKey() = default;
    ~TKey()
    {
        if (FKey) RegCloseKey(FKey);
    }
    TKey(const TKey&) = delete;
    TKey& operator=(const TKey&) = delete;
    HKEY* Out() { return &FKey; }
    HKEY Get() const { return FKey; }
    explicit operator bool() const { return FKey != nullptr; }

private:
    HKEY FKey = nullptr;
};

// Read access within whatever the caller allowed: a KEY_READ object must still read.
REGSAM ReadAccess(REGSAM access) { return access & KEY_READ ? access & KEY_READ : KEY_READ; }

bool OpenForReading(HKEY root, const String& path, REGSAM access, TKey& key)
{
    return RegOpenKeyExA(root, path.c_str(), 0, ReadAccess(access), key.Out()) == ERROR_SUCCESS;
}

bool QueryString(HKEY key, const String& ident, String& value)
{
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExA(key, ident.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    // The value may change between the two calls; retry on a grown one.
    for (;;) {
        String buffer(size + 1, '\0');
        DWORD got = size;
        rc = RegQueryValueExA(key, ident.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (rc == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
        buffer.resize(got);
        // Stored strings normally end in a NUL; one that does not is taken whole.
        std::size_t nul = buffer.find('\0');
        value = nul == String::npos ? buffer : buffer.substr(0, nul);
        return true;
    }
}

}  // namespace

String TRegIniFile::SectionPath(const String& Section) const
{
    if (FileName().empty()) return Section;
    if (Section.empty()) return FileName();
    return FileName() + "\\" + Section;
}

String TRegIniFile::ReadString(const String& Section, const String& Ident,
                               const String& Default) const
{
    TKey key;
    String value;
    if (!OpenForReading(RootKey, SectionPath(Section), Access, key) ||
        !QueryString(key.Get(), Ident, value))
        return Default;
    return value;
}

bool TRegIniFile::SectionExists(const String& Section) const
{
    TKey key;
    return OpenForReading(RootKey, SectionPath(Section), Access, key);
}

bool TRegIniFile::ValueExists(const String& Section, const String& Ident) const
{
    TKey key;
    return OpenForReading(RootKey, SectionPath(Section), Access, key) &&
           RegQueryValueExA(key.Get(), Ident.c_str(), nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
}

std::vector<String> TRegIniFile::ReadSection(const String& Section) const
{
    std::vector<String> names;
    TKey key;
    if (!OpenForReading(RootKey, SectionPath(Section), Access, key)) return names;
    char name[16384];  // the registry's longest value name, 16,383 characters
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumValueA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

std::vector<String> TRegIniFile::ReadSections() const
{
    std::vector<String> names;
    TKey key;
    if (!OpenForReading(RootKey, FileName(), Access, key)) return names;
    char name[256];  // the registry's longest key name, 255 characters
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

void TRegIniFile::WriteString(const String& Section, const String& Ident, const String& Value)
{
    String path = SectionPath(Section);
    TKey key;
    if (RegCreateKeyExA(RootKey, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, Access, nullptr,
                        key.Out(), nullptr) != ERROR_SUCCESS)
        throw ERegistryException(CannotCreateText(path));
    if (RegSetValueExA(key.Get(), Ident.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(Value.c_str()),
                       static_cast<DWORD>(Value.size() + 1)) != ERROR_SUCCESS)
        throw ERegistryException(CannotWriteText(path, Ident));
}

void TRegIniFile::EraseSection(const String& Section)
{
    TKey parent;
    if (RegOpenKeyExA(RootKey, FileName().c_str(), 0, Access, parent.Out()) != ERROR_SUCCESS)
        return;
    LONG rc = RegDeleteTreeA(parent.Get(), Section.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        throw ERegistryException(CannotEraseText(SectionPath(Section)));
    rc = RegDeleteKeyA(parent.Get(), Section.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        throw ERegistryException(CannotEraseText(SectionPath(Section)));
}

void TRegIniFile::DeleteKey(const String& Section, const String& Ident)
{
    TKey key;
    if (RegOpenKeyExA(RootKey, SectionPath(Section).c_str(), 0, Access, key.Out()) != ERROR_SUCCESS)
        return;
    LONG rc = RegDeleteValueA(key.Get(), Ident.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        throw ERegistryException(CannotWriteText(SectionPath(Section), Ident));
}
