// INI text reading and editing: profile-file matching rules, in-place edits, exact round trips.
#include <gtest/gtest.h>

#include "framework/IniDocument.h"
#include "framework/IniFile.h"

namespace {

String Read(const TIniDocument& d, const String& s, const String& k)
{
    return d.Value(s, k).value_or("<none>");
}

}  // namespace

TEST(IniReading, SectionsAndKeysMatchWithoutRegardToCase)
{
    TIniDocument d("[Serial Port Section]\r\nPort=COM3\r\n[\xC9t\xE9]\r\ncl\xE9=1\r\n");
    EXPECT_EQ(Read(d, "serial port SECTION", "port"), "COM3");
    EXPECT_EQ(Read(d, "\xE9T\xC9", "CL\xC9"), "1");  // code page 1252 letters fold too
    EXPECT_EQ(Read(d, "Serial Port", "Port"), "<none>");
}

TEST(IniReading, BlanksAroundNamesAndValuesAreTrimmed)
{
    TIniDocument d("  [ Sec ]  \n\t key \t=  a  b \t\n");
    EXPECT_EQ(Read(d, "Sec", "key"), "a  b");
    EXPECT_EQ(Read(d, " Sec ", " key "), "a  b");
}

TEST(IniReading, OnePairOfMatchingQuotesIsStripped)
{
    TIniDocument d("[S]\na=\"x y\"\nb='x'\nc=\"\"q\"\"\nd=\"x'\ne=\"\nf= ' padded ' \n");
    EXPECT_EQ(Read(d, "S", "a"), "x y");
    EXPECT_EQ(Read(d, "S", "b"), "x");
    EXPECT_EQ(Read(d, "S", "c"), "\"q\"");
    EXPECT_EQ(Read(d, "S", "d"), "\"x'");
    EXPECT_EQ(Read(d, "S", "e"), "\"");
    EXPECT_EQ(Read(d, "S", "f"), " padded ");
}

TEST(IniReading, FirstOfDuplicateKeysAndSectionsWins)
{
    TIniDocument d("[S]\nk=1\nk=2\n[T]\nonly=t\n[s]\nk=3\nlater=4\n");
    EXPECT_EQ(Read(d, "S", "k"), "1");
    EXPECT_EQ(Read(d, "S", "later"), "<none>");
    EXPECT_EQ(d.SectionNames(), (std::vector<String>{"S", "T"}));
    EXPECT_EQ(d.KeyNames("S"), (std::vector<String>{"k"}));
}

TEST(IniReading, MissingKeyDiffersFromEmptyValue)
{
    TIniDocument d("[S]\nempty=\nnovalue\n;k=commented\n");
    EXPECT_EQ(Read(d, "S", "empty"), "");
    EXPECT_EQ(Read(d, "S", "novalue"), "<none>");
    EXPECT_EQ(Read(d, "S", ";k"), "<none>");
    EXPECT_EQ(Read(d, "S", "k"), "<none>");
    EXPECT_EQ(Read(d, "Missing", "empty"), "<none>");
}

TEST(IniReading, KeysBeforeTheFirstSectionBelongToNone)
{
    TIniDocument d("k=0\n[S]\nk=1\n");
    EXPECT_EQ(Read(d, "S", "k"), "1");
    EXPECT_EQ(Read(d, "", "k"), "<none>");
}

TEST(IniReading, CrLfLfAndCrLineEndsReadAlike)
{
    for (const char* eol : {"\r\n", "\n", "\r"}) {
        String text = String("[A]") + eol + "x=1" + eol + eol + "[B]" + eol + "y=2";
        TIniDocument d(text);
        EXPECT_EQ(Read(d, "A", "x"), "1") << "line end " << int(eol[0]);
        EXPECT_EQ(Read(d, "B", "y"), "2") << "line end " << int(eol[0]);
    }
}

TEST(IniReading, LeadingUtf8MarkDoesNotHideTheFirstSection)
{
    TIniDocument d("\xEF\xBB\xBF[S]\r\nk=1\r\n");
    EXPECT_EQ(Read(d, "S", "k"), "1");
    d.SetValue("S", "k", "2");
    EXPECT_EQ(d.Text(), "\xEF\xBB\xBF[S]\r\nk=2\r\n");
}

TEST(IniIntegers, DecimalAndHexadecimalFormsAreAccepted)
{
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"42", true, 42},
        {"-42", true, -42},
        {"+7", true, 7},
        {"0x10", true, 16},
        {"0X1f", true, 31},
        {"0xFFFFFFFF", true, -1},
        {"0x7FFFFFFF", true, INT32_MAX},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"007", true, 7},
        {"", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {"0x", false, 0},
        {"0x123456789", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"1 2", false, 0},
        {"-", false, 0},
        {"0xG", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t v = 12345;
        EXPECT_EQ(TryParseIniInteger(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(IniEditing, ChangedKeyIsReplacedInPlaceAndEveryOtherLineStays)
{
    TIniDocument d(
        "; settings\n[S]\n  Port = COM1 \n; note\nunknown=keep me\nbare line\n\n[T]\nx=1\n");
    d.SetValue("s", "PORT", "COM2");
    EXPECT_EQ(d.Text(), "; settings\r\n[S]\r\nPort=COM2\r\n; note\r\nunknown=keep me\r\nbare "
                        "line\r\n\r\n[T]\r\nx=1\r\n");
}

TEST(IniEditing, NewKeyIsAppendedToItsSectionBeforeSeparatingBlankLines)
{
    TIniDocument d("[S]\na=1\n\n\n[T]\nx=1\n");
    d.SetValue("S", "b", "2");
    d.SetValue("T", "y", "2");
    EXPECT_EQ(d.Text(), "[S]\r\na=1\r\nb=2\r\n\r\n\r\n[T]\r\nx=1\r\ny=2\r\n");
}

TEST(IniEditing, NewSectionIsAppendedAtTheEndWithKeysInWrittenOrder)
{
    TIniDocument d("[S]\na=1\n");
    d.SetValue("New", "k2", "b");
    d.SetValue("New", "k1", "a");
    EXPECT_EQ(d.Text(), "[S]\r\na=1\r\n[New]\r\nk2=b\r\nk1=a\r\n");
    TIniDocument empty;
    empty.SetValue("A", "k", "v");
    EXPECT_EQ(empty.Text(), "[A]\r\nk=v\r\n");
}

TEST(IniEditing, TextValuesRoundTripExactly)
{
    const String values[] = {
        "",
        "plain",
        " lead",
        "trail ",
        "\tboth\t",
        "\"quoted\"",
        "'single'",
        "\"",
        "'",
        "\"\"",
        "\"mixed'",
        "  \"  ",
        "a=b=c",
        ";not a comment",
        "[not a section]",
        "\x80\xFF\xE9",
        String(2047, 'x'),
        String(10000, 'y'),
        String("nul\0inside", 10),
    };
    TIniDocument d;
    for (const String& v : values) {
        d.SetValue("S", "k", v);
        EXPECT_EQ(Read(TIniDocument(d.Text()), "S", "k"), v) << v;
    }
}

TEST(IniEditing, QuotesAreAddedOnlyWhenTheReaderWouldChangeTheValue)
{
    EXPECT_EQ(TIniDocument::EncodeValue("COM1"), "COM1");
    EXPECT_EQ(TIniDocument::EncodeValue("a \"b\" c"), "a \"b\" c");
    EXPECT_EQ(TIniDocument::EncodeValue(" x"), "\" x\"");
    EXPECT_EQ(TIniDocument::EncodeValue("'x'"), "\"'x'\"");
}

TEST(IniEditing, NamesAndValuesThatWouldBreakTheLayoutAreRefused)
{
    TIniDocument d("[S]\nk=1\n");
    EXPECT_THROW(d.SetValue("S", "k", "two\r\n[Injected]"), EIniFileError);
    EXPECT_THROW(d.SetValue("S", "k", "lf\nonly"), EIniFileError);
    EXPECT_THROW(d.SetValue("S", "a=b", "1"), EIniFileError);
    EXPECT_THROW(d.SetValue("S", ";c", "1"), EIniFileError);
    EXPECT_THROW(d.SetValue("S", "", "1"), EIniFileError);
    EXPECT_THROW(d.SetValue("A]B", "k", "1"), EIniFileError);
    EXPECT_THROW(d.SetValue("", "k", "1"), EIniFileError);
    EXPECT_EQ(d.Text(), "[S]\r\nk=1\r\n");
}

TEST(IniEditing, EraseSectionRemovesEveryCopyAndDeleteKeyEveryDuplicate)
{
    TIniDocument d("[S]\nk=1\nK=2\nj=3\n[T]\nx=1\n[s]\nk=4\n");
    EXPECT_TRUE(d.DeleteKey("S", "k"));
    EXPECT_EQ(Read(d, "S", "k"), "<none>");
    EXPECT_EQ(Read(d, "S", "j"), "3");
    EXPECT_FALSE(d.DeleteKey("S", "k"));
    EXPECT_TRUE(d.EraseSection("S"));
    EXPECT_FALSE(d.SectionExists("S"));
    EXPECT_EQ(d.Text(), "[T]\r\nx=1\r\n");
    EXPECT_FALSE(d.EraseSection("S"));
}
