// The tokenizer: runs of the delimiter count as one, end delimiters are dropped, and every
// call past the last token yields empty results.
#include <gtest/gtest.h>

#include "macros/StringTokenizer.h"

namespace {
std::vector<std::string> Drain(StringTokenizer& t)
{
    std::vector<std::string> tokens;
    while (t.countTokens() > 0) {
        tokens.push_back(t.nextToken());
        EXPECT_FALSE(tokens.back().empty()) << "a token is never empty";
    }
    EXPECT_EQ(t.nextToken(), "");
    EXPECT_EQ(t.remainingString(), "");
    return tokens;
}
}  // namespace

TEST(StringTokenizer, RunsOfTheDelimiterCountAsOneAndEndsAreDropped)
{
    StringTokenizer runs("||a||b|", "|");
    EXPECT_EQ(runs.remainingString(), "a|b");
    EXPECT_EQ(Drain(runs), (std::vector<std::string>{"a", "b"}));

    StringTokenizer onlyDelimiters("|||", "|");
    EXPECT_EQ(onlyDelimiters.countTokens(), 0);
    EXPECT_EQ(Drain(onlyDelimiters), std::vector<std::string>{});

    StringTokenizer single("|a|", "|");
    EXPECT_EQ(Drain(single), std::vector<std::string>{"a"});

    StringTokenizer wide("::a::::::b::", "::");
    EXPECT_EQ(Drain(wide), (std::vector<std::string>{"a", "b"}));
    StringTokenizer shorterThanDelimiter("a", "::");
    EXPECT_EQ(Drain(shorterThanDelimiter), std::vector<std::string>{"a"});
}

TEST(StringTokenizer, EmptyTextOrDelimiterHoldsNoTokens)
{
    StringTokenizer noDelimiter("a|b", "");
    EXPECT_EQ(noDelimiter.countTokens(), 0);
    EXPECT_EQ(Drain(noDelimiter), std::vector<std::string>{});
    StringTokenizer noText("", "|");
    EXPECT_EQ(Drain(noText), std::vector<std::string>{});
}

TEST(StringTokenizer, RemainingStringIsTheUnreadRestWithItsDelimiters)
{
    StringTokenizer t("a|b|c", "|");
    EXPECT_EQ(t.countTokens(), 3);
    EXPECT_EQ(t.nextToken(), "a");
    EXPECT_EQ(t.remainingString(), "b|c");
    EXPECT_EQ(t.countTokens(), 2);
    EXPECT_EQ(t.remainingString(), "b|c");  // reading the rest changes nothing
}
