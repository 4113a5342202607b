// The placement storage layer natively: line-break escaping, quoted values and multi-line
// values through a real INI file, the per-screen-size values and their fallback.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "framework/Exceptions.h"
#include "framework/IniFile.h"
#include "placement/IniStorage.h"
#include "placement/PlacementTexts.h"
#include "tests/support/TempFolder.h"

namespace {

String FileText(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(IniLineBreaks, EachKindOfBreakBecomesOneEscapeAndComesBackAsCrLf)
{
    EXPECT_EQ(StrToIniStr("a\r\nb"), "a\\nb");
    EXPECT_EQ(StrToIniStr("a\n\r\nb"), "a\\n\\nb");  // LF CR is one break, the LF another
    EXPECT_EQ(StrToIniStr("a\rb\nc"), "a\\nb\\nc");
    EXPECT_EQ(StrToIniStr(String("a\nb\0c", 5)), "a\\nb");  // stops at a NUL
    EXPECT_EQ(IniStrToStr("a\\nb"), "a\r\nb");
    EXPECT_EQ(IniStrToStr("a\\tb\\"), "a\\tb\\");
}

TEST(IniLineBreaks, DoublingTextIsNeverCutAndOverlongInputIsRefused)
{
    const String breaks(MaxIniLine, '\n');
    const String escaped = StrToIniStr(breaks);
    EXPECT_EQ(escaped.size(), 2u * MaxIniLine);
    EXPECT_EQ(IniStrToStr(String(escaped, 0, MaxIniLine)).size(), static_cast<size_t>(MaxIniLine));

    for (auto convert : {&StrToIniStr, &IniStrToStr}) {
        try {
            convert(String(MaxIniLine + 1, 'x'));
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, PlacementText::LineTooLong);
        }
    }
}

TEST(IniStorageValues, QuotedAndMultiLineValuesRoundTripThroughAnIniFile)
{
    TTempFolder dir;
    const String name = dir.File("p.ini");
    {
        TIniFile ini(name);
        IniWriteString(&ini, "S", "dq", "\"quoted\"");
        IniWriteString(&ini, "S", "sq", "'single'");
        IniWriteString(&ini, "S", "lines", "one\r\ntwo\nthree");
        IniWriteString(&ini, "S", "long", String(5000, 'y'));  // no breaks: any length
        IniWriteString(&ini, "S", "after", "x");
    }
    const String text = FileText(name);
    EXPECT_NE(text.find("dq=\"\"quoted\"\"\r\n"), String::npos);  // one more pair on disk
    EXPECT_NE(text.find("lines=\\lines:one\\r\\ntwo\\nthree\r\n"), String::npos);
    EXPECT_EQ(text.find("\ntwo"), String::npos);  // no bogus key from the second line

    TIniFile ini(name);
    EXPECT_EQ(IniReadString(&ini, "S", "dq", ""), "\"quoted\"");
    EXPECT_EQ(IniReadString(&ini, "S", "sq", ""), "'single'");
    EXPECT_EQ(IniReadString(&ini, "S", "lines", ""), "one\r\ntwo\nthree");
    EXPECT_EQ(IniReadString(&ini, "S", "long", "").size(), 5000u);
    EXPECT_EQ(IniReadString(&ini, "S", "after", ""), "x");
    EXPECT_EQ(ini.ReadSection("S").size(), 5u);
}

TEST(IniStorageValues, BackslashesAndEveryKindOfLineBreakComeBackAsWritten)
{
    TTempFolder dir;
    const String name = dir.File("p.ini");
    const String texts[] = {"C:\\new", "\\\\server\\n\\", "C:\\new\r\n\\r\n\rx\n\r",
                            "\\lines:plain", "\\lines:two\r\nlines"};
    {
        TIniFile ini(name);
        for (size_t i = 0; i < std::size(texts); ++i)
            IniWriteString(&ini, "S", "t" + std::to_string(i), texts[i]);
    }
    // A text without a line break is stored as it is: files written before read back the same.
    EXPECT_NE(FileText(name).find("t0=C:\\new\r\n"), String::npos);
    TIniFile ini(name);
    for (size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(IniReadString(&ini, "S", "t" + std::to_string(i), ""), texts[i]) << i;
    EXPECT_EQ(IniReadString(&ini, "S", "absent", "\\lines:a\\nb"), "\\lines:a\\nb");
}

TEST(IniStorageValues, NoStorageGivesDefaultsAndWritesNothing)
{
    EXPECT_EQ(IniReadString(nullptr, "S", "k", "d"), "d");
    EXPECT_EQ(IniReadInteger(nullptr, "S", "k", 7), 7);
    EXPECT_TRUE(IniReadBool(nullptr, "S", "k", true));
    IniWriteString(nullptr, "S", "k", "v");
    IniEraseSection(nullptr, "S");
}

TEST(IniStorageValues, PlacementValueIsKeptPerScreenSizeAndFallsBackToTheLatest)
{
    TTempFolder dir;
    TIniFile ini(dir.File("p.ini"));
    WritePlacementValue(&ini, "TForm1", "NormPos", "(1024x768)", "1,2,3,4");
    WritePlacementValue(&ini, "TForm1", "NormPos", "(800x600)", "5,6,7,8");
    EXPECT_EQ(ini.ReadString("TForm1", "NormPos(1024x768)", ""), "1,2,3,4");
    EXPECT_EQ(ReadPlacementValue(&ini, "TForm1", "NormPos", "(1024x768)"), "1,2,3,4");
    EXPECT_EQ(ReadPlacementValue(&ini, "TForm1", "NormPos", "(1280x1024)"), "5,6,7,8");
    EXPECT_EQ(ReadPlacementValue(&ini, "TForm1", "MinMaxPos", "(1280x1024)"), "");
}
