// File name functions and the program's arguments.
#include <gtest/gtest.h>

#include "framework/FileNames.h"

TEST(FileNames, SplitsBackslashAndDrivePaths)
{
    EXPECT_EQ(ExtractFileName("C:\\dir\\name.ext"), "name.ext");
    EXPECT_EQ(ExtractFilePath("C:\\dir\\name.ext"), "C:\\dir\\");
    EXPECT_EQ(ExtractFileDir("C:\\dir\\name.ext"), "C:\\dir");
    EXPECT_EQ(ExtractFileDir("C:\\name.ext"), "C:\\");
    EXPECT_EQ(ExtractFileName("C:name"), "name");
    EXPECT_EQ(ExtractFileExt("C:\\dir\\name.tar.qvp"), ".qvp");
    EXPECT_EQ(ExtractFileExt("C:\\dir.x\\name"), "");
    EXPECT_EQ(ExtractFileName("a/b/c.txt"), "c.txt");
}

TEST(FileNames, ChangeFileExtReplacesOrAdds)
{
    EXPECT_EQ(ChangeFileExt("C:\\a\\prog.exe", ".ini"), "C:\\a\\prog.ini");
    EXPECT_EQ(ChangeFileExt("C:\\a.b\\prog", ".ini"), "C:\\a.b\\prog.ini");
    EXPECT_EQ(ChangeFileExt("prog.exe", ""), "prog");
}

TEST(FileNames, ExpandFileNameMakesAbsoluteAndNormal)
{
    String full = ExpandFileName("x/../y.txt");
    EXPECT_EQ(ExtractFileName(full), "y.txt");
    EXPECT_EQ(ExpandFileName(full), full);
    EXPECT_EQ(Pos("..", full), 0);
#ifdef _WIN32
    // Profile paths from the command line come in either separator; the result uses '\'.
    EXPECT_EQ(ExpandFileName("C:\\a\\b\\..\\c.qvp"), "C:\\a\\c.qvp");
    EXPECT_EQ(ExpandFileName("C:/a/./c.qvp"), "C:\\a\\c.qvp");
#endif
}

TEST(FileNames, FileExistsTellsFilesFromFoldersAndMissingNames)
{
    String program = ParamStr(0);
    EXPECT_TRUE(FileExists(program));
    EXPECT_FALSE(DirectoryExists(program));
    EXPECT_TRUE(DirectoryExists(ExtractFilePath(program)));
    EXPECT_TRUE(DirectoryExists(ExtractFileDir(program)));
    EXPECT_FALSE(FileExists(ExtractFilePath(program)));
    EXPECT_FALSE(FileExists(program + ".missing"));
    EXPECT_FALSE(FileExists(""));
}

TEST(ProgramArguments, ParamStrZeroIsTheProgramAndOutOfRangeIsEmpty)
{
    EXPECT_TRUE(FileExists(ParamStr(0)));
    String saved0 = ParamStr(0);
    const String args[] = {"C:\\prog.exe", "profile.qvp"};
    SetProgramArguments(args);
    EXPECT_EQ(ParamCount(), 1);
    EXPECT_EQ(ParamStr(1), "profile.qvp");
    EXPECT_EQ(ParamStr(2), "");
    EXPECT_EQ(ParamStr(-1), "");
}
