// Command-line splitting: quoting, blanks and long tokens.
#include <gtest/gtest.h>

#include "util/CommandLine.h"

namespace {

struct Split {
    String Program, Params;
};

Split SplitOf(std::string_view line)
{
    Split s;
    SplitCommandLine(line, s.Program, s.Params);
    return s;
}

}  // namespace

TEST(SplitCommandLine, QuotedPartWithBlankIsOneParameterQuotedAgain)
{
    const Split s = SplitOf(R"(prog.exe "a b" c)");
    EXPECT_EQ(s.Program, "prog.exe");
    EXPECT_EQ(s.Params, R"("a b" c)");
}

TEST(SplitCommandLine, QuotesInsideATokenJoinItsPartsAndAreDropped)
{
    const Split s = SplitOf("\t \"C:\\Program Files\\q.exe\"   x\"y z\"w  \"\" \r\n");
    EXPECT_EQ(s.Program, "C:\\Program Files\\q.exe");
    EXPECT_EQ(s.Params, "\"xy zw\"");
}

TEST(SplitCommandLine, BlankOrEmptyLineGivesNothing)
{
    for (std::string_view line : {"", "   ", "\"\"", " \"\" \t"}) {
        const Split s = SplitOf(line);
        EXPECT_EQ(s.Program, "") << line;
        EXPECT_EQ(s.Params, "") << line;
    }
}

TEST(SplitCommandLine, UnclosedQuoteRunsToTheEnd)
{
    const Split s = SplitOf("p \"open to the end");
    EXPECT_EQ(s.Program, "p");
    EXPECT_EQ(s.Params, "\"open to the end\"");
}

// Tokens used to be collected in a 256-character buffer.
TEST(SplitCommandLine, TokensLongerThan255CharactersStayWhole)
{
    const String longPath(1000, 'p');
    const String longArg = String(300, 'a') + " " + String(300, 'b');
    const Split s = SplitOf(longPath + " \"" + longArg + "\" z");
    EXPECT_EQ(s.Program, longPath);
    EXPECT_EQ(s.Params, "\"" + longArg + "\" z");
}
