// Wildcard matching: edge cases and a sweep against a reference matcher.
#include <gtest/gtest.h>

#include <random>

#include "ReferenceMatchers.h"
#include "util/Wildcards.h"

TEST(Wildcards, FindPartMatchesQuestionMarksAnywhere)
{
    EXPECT_EQ(FindPart("b?d", "abcde"), 2);
    EXPECT_EQ(FindPart("cd", "abcde"), 3);
    EXPECT_EQ(FindPart("??????", "abcde"), 0);
    EXPECT_EQ(FindPart("d?", "abcd"), 0);
    EXPECT_EQ(FindPart("?", ""), 0);
}

TEST(Wildcards, StarsAndQuestionMarksMatchAsDocumented)
{
    EXPECT_TRUE(IsWild("anything", "*", false));
    EXPECT_TRUE(IsWild("", "**", false));
    EXPECT_TRUE(IsWild("abbc", "a*c", false));
    EXPECT_FALSE(IsWild("abbd", "a*c", false));
    EXPECT_TRUE(IsWild("abc", "a?c", false));
    EXPECT_FALSE(IsWild("ac", "a?c", false));
    EXPECT_TRUE(IsWild("abXcdYef", "ab*cd*ef", false));
    EXPECT_TRUE(IsWild("abcdcdef", "ab*cd*ef", false));
    EXPECT_FALSE(IsWild("abc", "ab*bc", false));
    EXPECT_FALSE(IsWild("abc", "", false));
    EXPECT_FALSE(IsWild("", "?", false));
}

TEST(Wildcards, FlagComparesWithoutCase)
{
    EXPECT_TRUE(IsWild("x.ini", "*.ini", false));
    EXPECT_FALSE(IsWild("X.INI", "*.ini", false));
    EXPECT_TRUE(IsWild("X.INI", "*.ini", true));
}

TEST(Wildcards, StarInThePatternIsAWildcardEvenOverAStarInTheText)
{
    EXPECT_TRUE(IsWild("a*c", "a*", false));
    EXPECT_TRUE(IsWild("a*c", "a*c", false));
    EXPECT_TRUE(IsWild("a*bc", "a*c", false));
}

TEST(Wildcards, PatternLeftOverMatchesOnlyWhenItIsAStar)
{
    EXPECT_TRUE(IsWild("ab", "ab*", false));
    EXPECT_FALSE(IsWild("ab", "abc*", false));
    EXPECT_FALSE(IsWild("xa", "*a*b*", false));
    EXPECT_FALSE(IsWild("ab", "ab?", false));
}

TEST(Wildcards, AgreesWithAReferenceMatcher)
{
    std::mt19937 random(33);
    const char textLetters[] = "ab*?";
    const char patternLetters[] = "ab*?";
    for (int round = 0; round < 20000; ++round) {
        String s(random() % 7, ' ');
        for (char& c : s) c = textLetters[random() % 4];
        String w(random() % 7, ' ');
        for (char& c : w) c = patternLetters[random() % 4];
        // A text equal to its pattern matches by definition, whatever it holds.
        const bool expected = s == w || ReferenceWildMatch(s, w);
        ASSERT_EQ(IsWild(s, w, false), expected) << '"' << s << "\" \"" << w << '"';
    }
}
