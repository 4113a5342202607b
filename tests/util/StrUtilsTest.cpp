// Text, word and command-line routines of the string utilities.
#include <gtest/gtest.h>

#include <random>

#include "ReferenceMatchers.h"
#include "util/LocaleServices.h"
#include "util/StrUtils.h"

namespace {

const TCharSet Comma{','};

}  // namespace

TEST(StrUtilsText, BlankRoutinesTouchOnlyTheCharacter32)
{
    EXPECT_EQ(DelRSpace("\t a b \t"), "\t a b \t");
    EXPECT_EQ(DelRSpace("  a b  "), "a b");
    EXPECT_EQ(DelBSpace("  a "), "a ");
    EXPECT_EQ(DelESpace("  a "), "  a");
    EXPECT_EQ(DelRSpace("   "), "");
    EXPECT_EQ(DelSpace1("a   b  c "), "a b c ");
    EXPECT_EQ(DelSpace(" a b "), "ab");
    EXPECT_EQ(Tab2Space("a\tb\t", 2), "a  b  ");
    EXPECT_TRUE(IsEmptyStr("", TCharSet{' '}));
    EXPECT_TRUE(IsEmptyStr(" \t ", TCharSet(" \t")));
    EXPECT_FALSE(IsEmptyStr(" x ", TCharSet{' '}));
}

TEST(StrUtilsText, ReplaceStrNeverSearchesTheInsertedText)
{
    EXPECT_EQ(ReplaceStr("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceStr("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(ReplaceStr("abc", "", "x"), "abc");
}

TEST(StrUtilsText, PaddingNeverCuts)
{
    EXPECT_EQ(LeftStr("abcdef", 3), "abcdef");
    EXPECT_EQ(RightStr("ab", 4), "  ab");
    EXPECT_EQ(LeftStr("ab", 4), "ab  ");
    EXPECT_EQ(AddChar('0', "7", 3), "007");
    EXPECT_EQ(AddCharR('.', "7", 3), "7..");
    EXPECT_EQ(CenterStr("ab", 7), "  ab   ");
    EXPECT_EQ(CenterStr("abc", 8), "   abc  ");
    EXPECT_EQ(CenterStr("abcdef", 3), "abcdef");
    EXPECT_EQ(MakeStr('x', -1), "");
    EXPECT_EQ(MS('x', 3), "xxx");
}

TEST(StrUtilsText, NPosCountsOverlappingOccurrences)
{
    EXPECT_EQ(NPos("aa", "aaaa", 2), 2);
    EXPECT_EQ(NPos("aa", "aaaa", 3), 3);
    EXPECT_EQ(NPos("aa", "aaaa", 4), 0);
    EXPECT_EQ(NPos("aa", "aaaa", 0), 0);
    EXPECT_EQ(NPos("", "aaaa", 1), 0);
}

TEST(StrUtilsText, Copy2SymbDelLeavesTheSymbolAtTheFrontOfTheRest)
{
    String s = "key=value";
    EXPECT_EQ(Copy2SymbDel(s, '='), "key");
    EXPECT_EQ(s, "=value");
    s = "one   two three";
    EXPECT_EQ(Copy2SpaceDel(s), "one");
    EXPECT_EQ(s, "two three");
    s = "alone";
    EXPECT_EQ(Copy2SymbDel(s, '='), "alone");
    EXPECT_EQ(s, "");
    EXPECT_EQ(Copy2Space("a b"), "a");
}

TEST(StrUtilsText, QuotedStringRoundTripsThroughExtractQuotedString)
{
    EXPECT_EQ(QuotedString("it's", '\''), "'it''s'");
    EXPECT_EQ(ExtractQuotedString("'it''s'", '\''), "it's");
    EXPECT_EQ(ExtractQuotedString("plain", '\''), "plain");
    EXPECT_EQ(ExtractQuotedString("'a'b", '\''), "a");
    EXPECT_EQ(ExtractQuotedString("'open", '\''), "open");
    for (const char* s : {"", "'", "''", "a'b''c'", "x"})
        EXPECT_EQ(ExtractQuotedString(QuotedString(s, '\''), '\''), s) << s;
}

TEST(StrUtilsText, Numb2USAGroupsDigitsButNeverTheSign)
{
    EXPECT_EQ(Numb2USA("1234567"), "1,234,567");
    EXPECT_EQ(Numb2USA("123"), "123");
    EXPECT_EQ(Numb2USA("1234"), "1,234");
    EXPECT_EQ(Numb2USA(""), "");
    EXPECT_EQ(Numb2USA("-123"), "-123");
    EXPECT_EQ(Numb2USA("-1234"), "-1,234");
}

TEST(StrUtilsText, ProperCaseUpperCasesTheFirstLetterOfEachWord)
{
    EXPECT_EQ(AnsiProperCase("hELLO wORLD,again", TCharSet(" ,")), "Hello World,Again");
    EXPECT_EQ(AnsiProperCase("", TCharSet(" ")), "");
}

TEST(StrUtilsText, LocaleBoundRoutinesGoThroughTheLocaleServices)
{
    static const TLocaleServices Marked = {
        [](std::string_view s) { return "oem:" + String(s); },
        [](std::string_view s) { return "ansi:" + String(s); },
        [](std::string_view, std::string_view, bool ignoreCase) { return ignoreCase ? 1 : -1; },
        [](std::string_view s) { return String(s.size(), 'U'); },
        [](std::string_view s) {
            String marked(s);
            for (char& c : marked)
                if (c != ' ') c = 'l';
            return marked;
        }};
    SetLocaleServices(&Marked);
    EXPECT_EQ(StrToOem("x"), "oem:x");
    EXPECT_EQ(OemToAnsiStr("x"), "ansi:x");
    EXPECT_EQ(CompStr("a", "a"), -1);
    EXPECT_EQ(CompText("a", "a"), 1);
    EXPECT_EQ(AnsiProperCase("ab cd", TCharSet{' '}), "Ul Ul");
    SetLocaleServices(nullptr);
    EXPECT_EQ(CompStr("a", "a"), 0);
}

TEST(StrUtilsWords, WordsAreMaximalRunsOfNonDelimiters)
{
    EXPECT_EQ(WordPosition(2, ",,a,,bc", Comma), 6);
    EXPECT_EQ(ExtractWord(2, ",,a,,bc", Comma), "bc");
    EXPECT_EQ(ExtractWord(3, "a,bc", Comma), "");
    EXPECT_EQ(WordCount("", Comma), 0);
    EXPECT_EQ(WordCount(",,,", Comma), 0);
    EXPECT_EQ(WordPosition(0, "a", Comma), 0);
    int pos = -1;
    EXPECT_EQ(ExtractWordPos(3, "a,bc", Comma, pos), "");
    EXPECT_EQ(pos, 0);
    EXPECT_TRUE(IsWordPresent("bc", ",,a,,bc", Comma));
    EXPECT_FALSE(IsWordPresent("BC", ",,a,,bc", Comma));
    EXPECT_FALSE(IsWordPresent("", ",,", Comma));
}

TEST(StrUtilsWords, DelimitedFieldsKeepEmptyOnes)
{
    EXPECT_EQ(ExtractDelimited(2, "a,,c", Comma), "");
    EXPECT_EQ(ExtractDelimited(3, "a,,c", Comma), "c");
    EXPECT_EQ(ExtractDelimited(4, "a,,c", Comma), "");
    EXPECT_EQ(ExtractDelimited(0, "a,,c", Comma), "");
    int pos = 1;
    EXPECT_EQ(ExtractSubstr("ab,,c", pos, Comma), "ab");
    EXPECT_EQ(pos, 4);
    EXPECT_EQ(ExtractSubstr("ab,,c", pos, Comma), "");
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(ExtractSubstr("ab,,c", pos, Comma), "c");
    EXPECT_EQ(pos, 6);
    EXPECT_EQ(ExtractSubstr("ab,,c", pos, Comma), "");
    EXPECT_EQ(pos, 6);
}

TEST(StrUtilsWords, WordAndFieldFunctionsAgreeWithAReferenceSplit)
{
    const TCharSet delimiters(" ,");
    std::mt19937 random(33);
    for (int round = 0; round < 3000; ++round) {
        String s(random() % 12, ' ');
        for (char& c : s) c = " ,ab"[random() % 4];
        const ReferenceSplit split = SplitByDelimiters(s, delimiters);
        const int words = static_cast<int>(split.Words.size());
        ASSERT_EQ(WordCount(s, delimiters), words) << '"' << s << '"';
        for (int n = 1; n <= words + 1; ++n) {
            const String word = n <= words ? split.Words[n - 1] : String();
            ASSERT_EQ(ExtractWord(n, s, delimiters), word) << '"' << s << "\" " << n;
            ASSERT_EQ(WordPosition(n, s, delimiters), n <= words ? split.WordStarts[n - 1] : 0);
        }
        const int fields = static_cast<int>(split.Fields.size());
        for (int n = 1; n <= fields + 1; ++n)
            ASSERT_EQ(ExtractDelimited(n, s, delimiters),
                      n <= fields ? split.Fields[n - 1] : String())
                << '"' << s << "\" " << n;
    }
}

TEST(StrUtilsCommandLine, SwitchValueFollowsItsSwitch)
{
    const String args[] = {"prog.exe", "-port", "COM2", "/Baud", "9600", "-last"};
    SetProgramArguments(args);
    const TCharSet switches{'-', '/'};
    EXPECT_EQ(GetCmdLineArg("port", switches), "COM2");
    EXPECT_EQ(GetCmdLineArg("PORT", switches), "COM2");
    EXPECT_EQ(GetCmdLineArg("baud", switches), "9600");
    EXPECT_EQ(GetCmdLineArg("last", switches), "");
    EXPECT_EQ(GetCmdLineArg("none", switches), "");
    // Without switch characters every parameter is a switch named by all but its first
    // character.
    EXPECT_EQ(GetCmdLineArg("OM2", TCharSet()), "/Baud");
    const String bare[] = {"prog.exe", "-", "port", "x"};
    SetProgramArguments(bare);
    EXPECT_EQ(GetCmdLineArg("", switches), "");
    SetProgramArguments({});
}
