// A fresh folder for one test's files, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

class TTempFolder {
public:
    TTempFolder()
    {
        std::random_device rd;
        Path = std::filesystem::temp_directory_path() /
               ("qvtest-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(Path);
    }
    ~TTempFolder()
    {
        std::error_code ec;
        for (auto& e : std::filesystem::recursive_directory_iterator(Path, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(Path, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    std::string File(const std::string& name) const { return (Path / name).string(); }
    std::size_t EntryCount() const
    {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(Path), {}));
    }

    std::filesystem::path Path;
};

inline void WriteFileBytes(const std::string& name, const std::string& bytes)
{
    std::ofstream out(std::filesystem::path(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFileBytes(const std::string& name)
{
    std::ifstream in(std::filesystem::path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void SetReadOnly(const std::string& name, bool readOnly)
{
    using std::filesystem::perms;
    std::filesystem::permissions(
        name, perms::owner_write | perms::group_write | perms::others_write,
        readOnly ? std::filesystem::perm_options::remove : std::filesystem::perm_options::add);
}
