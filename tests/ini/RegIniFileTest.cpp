// TRegIniFile on the current user's registry (under Wine): subkeys as sections, string values.
#include <gtest/gtest.h>

#include <random>

#include "framework/win/RegIniFile.h"

namespace {

class RegIniFile : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, Path.c_str()); }

    // The raw type and bytes of a stored value, read without the class under test.
    bool Raw(const String& section, const String& ident, DWORD& type, String& data)
    {
        char buffer[256];
        DWORD size = sizeof buffer;
        LONG rc = RegGetValueA(HKEY_CURRENT_USER, (Path + "\\" + section).c_str(), ident.c_str(),
                               RRF_RT_ANY, &type, buffer, &size);
        if (rc != ERROR_SUCCESS) return false;
        data.assign(buffer, size);
        return true;
    }

    String Path = "Software\\QvRegIniTest" + std::to_string(std::random_device{}());
};

}  // namespace

TEST_F(RegIniFile, ValuesAreStringsInSubkeysNamedAfterTheSection)
{
    TRegIniFile ini(Path);
    ini.WriteString("TForm1", "NormPos", "1,2,3,4");
    ini.WriteInteger("TForm1", "Flags", -3);
    ini.WriteBool("TForm1", "Visible", true);
    DWORD type = 0;
    String data;
    ASSERT_TRUE(Raw("TForm1", "NormPos", type, data));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data, String("1,2,3,4\0", 8));
    ASSERT_TRUE(Raw("TForm1", "Flags", type, data));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data, String("-3\0", 3));
    ASSERT_TRUE(Raw("TForm1", "Visible", type, data));
    EXPECT_EQ(data, String("1\0", 2));

    EXPECT_EQ(ini.ReadString("tform1", "normpos", ""), "1,2,3,4");
    EXPECT_EQ(ini.ReadInteger("TForm1", "Flags", 0), -3);
    EXPECT_TRUE(ini.ReadBool("TForm1", "Visible", false));
    EXPECT_EQ(ini.ReadInteger("TForm1", "NormPos", 9), 9);  // no integer
}

TEST_F(RegIniFile, QuotedAndPaddedTextIsStoredUnchanged)
{
    TRegIniFile ini(Path);
    ini.WriteString("S", "q", " \"quoted\" ");
    DWORD type = 0;
    String data;
    ASSERT_TRUE(Raw("S", "q", type, data));
    EXPECT_EQ(data, String(" \"quoted\" \0", 11));
    EXPECT_EQ(ini.ReadString("S", "q", ""), " \"quoted\" ");
}

TEST_F(RegIniFile, MissingKeysAndValuesGiveTheDefaults)
{
    TRegIniFile ini(Path);
    EXPECT_EQ(ini.ReadString("None", "x", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("None", "x", 42), 42);
    EXPECT_FALSE(ini.SectionExists("None"));
    EXPECT_TRUE(ini.ReadSections().empty());
    EXPECT_TRUE(ini.ReadSection("None").empty());
}

TEST_F(RegIniFile, SectionsListEraseAndDeleteKey)
{
    TRegIniFile ini(Path);
    ini.WriteString("A", "x", "1");
    ini.WriteString("A", "y", "2");
    ini.WriteString("B", "z", "3");
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.Count(), 2);
    EXPECT_NE(sections.IndexOf("b"), -1);
    EXPECT_EQ(ini.ReadSection("A").size(), 2u);
    ini.DeleteKey("A", "x");
    EXPECT_FALSE(ini.ValueExists("A", "x"));
    EXPECT_TRUE(ini.ValueExists("A", "y"));
    ini.EraseSection("B");
    EXPECT_FALSE(ini.SectionExists("B"));
    EXPECT_NO_THROW(ini.EraseSection("B"));
    EXPECT_NO_THROW(ini.DeleteKey("A", "x"));
}

TEST_F(RegIniFile, ReadOnlyAccessReadsButRefusesToWrite)
{
    TRegIniFile writer(Path);
    writer.WriteInteger("S", "FormVersion", 3);
    TRegIniFile reader(Path);
    reader.Access = KEY_READ;
    EXPECT_EQ(reader.ReadInteger("S", "FormVersion", 0), 3);
    EXPECT_THROW(reader.WriteInteger("S", "FormVersion", 4), ERegistryException);
    EXPECT_EQ(writer.ReadInteger("S", "FormVersion", 0), 3);
}
