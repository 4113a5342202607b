// TIniFile on real files: reading, batching of writes, and safe replacement on failure.
#include <gtest/gtest.h>

#include <cstdio>

#include "framework/IniFile.h"
#include "tests/support/TempFolder.h"

TEST(IniFileReading, MissingFileReadsEmptyAndIsNotCreatedWithoutWrites)
{
    TTempFolder dir;
    String name = dir.File("none.ini");
    {
        TIniFile ini(name);
        EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");
        EXPECT_EQ(ini.ReadInteger("S", "k", 7), 7);
        EXPECT_TRUE(ini.ReadBool("S", "k", true));
        EXPECT_TRUE(ini.ReadSections().empty());
    }
    EXPECT_FALSE(std::filesystem::exists(name));
}

TEST(IniFileReading, BinaryFileReadsWithoutFailing)
{
    TTempFolder dir;
    String name = dir.File("bin.ini");
    String bytes;
    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 167 + 13) & 0xFF);
    WriteFileBytes(name, bytes + "\n[S]\nk=v\n");
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadString("S", "k", ""), "v");
}

TEST(IniFileReading, FolderInPlaceOfTheFileRaisesOpenError)
{
    TTempFolder dir;
    std::filesystem::create_directory(dir.Path / "folder.ini");
    EXPECT_THROW(TIniFile ini(dir.File("folder.ini")), EFOpenError);
}

TEST(IniFileWriting, ChangesReachTheFileAtUpdateFileOrDestruction)
{
    TTempFolder dir;
    String name = dir.File("w.ini");
    WriteFileBytes(name, "[S]\nk=old\n");
    {
        TIniFile ini(name);
        ini.WriteString("S", "k", "new");
        ini.WriteInteger("S", "n", -12);
        EXPECT_EQ(ini.ReadString("S", "k", ""), "new");
        EXPECT_EQ(ReadFileBytes(name), "[S]\nk=old\n");
        ini.UpdateFile();
        EXPECT_EQ(ReadFileBytes(name), "[S]\r\nk=new\r\nn=-12\r\n");
        ini.WriteBool("T", "b", true);
    }
    EXPECT_EQ(ReadFileBytes(name), "[S]\r\nk=new\r\nn=-12\r\n[T]\r\nb=1\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u) << "a temporary file was left behind";
}

TEST(IniFileWriting, LongValuesAndQuotedBlanksSurviveTheFile)
{
    TTempFolder dir;
    String name = dir.File("long.ini");
    const String values[] = {String(2047, 'v'), String(5000, 'w'), "  \"both\"  ", "'"};
    for (const String& v : values) {
        {
            TIniFile ini(name);
            ini.WriteString("S", "k", v);
        }
        EXPECT_EQ(TIniFile(name).ReadString("S", "k", "<none>"), v);
    }
}

TEST(IniFileWriting, FileNamesAreCodePage1252TextAsTheFileFunctionsTakeThem)
{
    TTempFolder dir;
    String name = dir.File("caf\xE9 \x80 \x9F.ini");
    {
        TIniFile ini(name);
        ini.WriteString("S", "k", "v");
    }
    std::FILE* f = std::fopen(name.c_str(), "rb");  // the platform's 8-bit file name service
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(TIniFile(name).ReadString("S", "k", ""), "v");
}

TEST(IniFileWriting, EraseAndDeleteAreWrittenToo)
{
    TTempFolder dir;
    String name = dir.File("e.ini");
    WriteFileBytes(name, "[A]\nx=1\ny=2\n[B]\nz=3\n");
    {
        TIniFile ini(name);
        ini.DeleteKey("A", "x");
        ini.EraseSection("B");
    }
    EXPECT_EQ(ReadFileBytes(name), "[A]\r\ny=2\r\n");
    TStringList keys;
    keys.Add("stale");
    TIniFile(name).ReadSection("a", keys);
    EXPECT_EQ(keys.Count(), 1);
    EXPECT_EQ(keys[0], "y");
}

TEST(IniFileFailures, ReadOnlyFileRaisesAtTheFirstWriteAndStaysUntouched)
{
    TTempFolder dir;
    String name = dir.File("ro.ini");
    WriteFileBytes(name, "[S]\nk=old\n");
    SetReadOnly(name, true);
    {
        TIniFile ini(name);
        EXPECT_THROW(ini.WriteString("S", "k", "new"), EFCreateError);
        EXPECT_THROW(ini.DeleteKey("S", "k"), EFCreateError);
    }
    EXPECT_EQ(ReadFileBytes(name), "[S]\nk=old\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(IniFileFailures, MissingFolderRaisesAtTheFirstWrite)
{
    TTempFolder dir;
    String name = dir.File("no such folder/x.ini");
    TIniFile ini(name);
    EXPECT_THROW(ini.WriteString("S", "k", "v"), EFCreateError);
    EXPECT_NO_THROW(ini.UpdateFile());  // nothing pending after the refused write
}

TEST(IniFileFailures, FileTurnedReadOnlyBeforeUpdateRaisesAndKeepsIt)
{
    TTempFolder dir;
    String name = dir.File("late.ini");
    WriteFileBytes(name, "[S]\nk=old\n");
    TIniFile ini(name);
    ini.WriteString("S", "k", "new");
    SetReadOnly(name, true);
    EXPECT_THROW(ini.UpdateFile(), EFCreateError);
    EXPECT_EQ(ReadFileBytes(name), "[S]\nk=old\n");
    EXPECT_EQ(dir.EntryCount(), 1u) << "a temporary file was left behind";
}

TEST(IniFileFailures, FailedReplaceRaisesAndLeavesNoTemporaryFile)
{
    TTempFolder dir;
    String name = dir.File("gone.ini");
    TIniFile ini(name);
    ini.WriteString("S", "k", "v");
    // A folder (not empty) now stands where the file is to go: the rename must fail.
    std::filesystem::create_directory(name);
    WriteFileBytes(name + "/inside", "x");
    EXPECT_THROW(ini.UpdateFile(), EWriteError);
    EXPECT_EQ(dir.EntryCount(), 1u) << "a temporary file was left behind";
    EXPECT_EQ(ReadFileBytes(name + "/inside"), "x");
}
