// Folder names with and without their closing backslash, file name validity, and the name
// lists handed to the shell's file operation.
#include <gtest/gtest.h>

#include "util/PathNames.h"

using namespace std::string_literals;

TEST(PathNames, NormalDirAppendsWhatAFileNameNeeds)
{
    EXPECT_EQ(NormalDir(""), "");
    EXPECT_EQ(NormalDir("C"), "C:\\");
    EXPECT_EQ(NormalDir("c"), "c:\\");
    EXPECT_EQ(NormalDir("C:"), "C:");
    EXPECT_EQ(NormalDir("C:\\Work\\"), "C:\\Work\\");
    EXPECT_EQ(NormalDir("C:\\Work"), "C:\\Work\\");
    EXPECT_EQ(NormalDir("1"), "1\\");
}

TEST(PathNames, RemoveBackSlashKeepsDriveRootsAndSingleCharacters)
{
    EXPECT_EQ(RemoveBackSlash("C:\\"), "C:\\");
    EXPECT_EQ(RemoveBackSlash("C:\\a\\"), "C:\\a");
    EXPECT_EQ(RemoveBackSlash("\\"), "\\");
    EXPECT_EQ(RemoveBackSlash(""), "");
    EXPECT_EQ(RemoveBackSlash("ab\\\\"), "ab\\");
}

TEST(PathNames, ValidFileNameRejectsOnlyTheReservedCharacters)
{
    EXPECT_TRUE(ValidFileName("*.txt"));
    EXPECT_TRUE(ValidFileName("a?b"));
    EXPECT_FALSE(ValidFileName(""));
    for (const char* bad : {"a|b", "a<b", "a>b", "a\"b", "a[b", "a]b"})
        EXPECT_FALSE(ValidFileName(bad)) << bad;
}

TEST(PathNames, ShellNameListSplitsOnlyTheOperatorsOwnLists)
{
    EXPECT_EQ(ShellNameList("a.txt;b.txt|c", true), "a.txt\0b.txt\0c\0\0"s);
    EXPECT_EQ(ShellNameList("C:\\x;y.txt", false), "C:\\x;y.txt\0\0"s);
    EXPECT_EQ(ShellNameList("", true), "");
}
