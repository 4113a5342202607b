// A private folder under the temporary path for one test, removed afterwards, with helpers to
// write and read whole files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <windows.h>

class FileTestFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        root = std::filesystem::temp_directory_path() /
               ("qv_files_" + std::to_string(GetCurrentProcessId()) + "_" + test->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
    }
    void TearDown() override
    {
        // Read-only files would stop the removal.
        std::error_code ec;
        for (auto& e : std::filesystem::recursive_directory_iterator(root, ec))
            if (!e.is_symlink())
                SetFileAttributesA(e.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(root, ec);
    }
    std::string Path(const std::string& Name) const { return (root / Name).string(); }
    std::string Write(const std::string& Name, const std::string& Content)
    {
        std::ofstream(Path(Name), std::ios::binary) << Content;
        return Path(Name);
    }
    static std::string Read(const std::string& FileName)
    {
        std::ifstream in(FileName, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static bool Exists(const std::string& FileName)
    {
        return GetFileAttributesA(FileName.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::filesystem::path root;
};
