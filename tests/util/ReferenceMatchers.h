// Plain, obviously right models that the string utilities are checked against: a wildcard
// matcher by dynamic programming and a split of a text into words and fields.
#pragma once

#include <string_view>
#include <vector>

#include "framework/Strings.h"
#include "util/CharSet.h"

inline bool ReferenceWildMatch(std::string_view S, std::string_view W)
{
    // matches[i]: the pattern read so far matches the first i characters of S.
    std::vector<char> matches(S.size() + 1, 0);
    matches[0] = 1;
    for (char p : W) {
        std::vector<char> next(S.size() + 1, 0);
        for (size_t i = 0; i <= S.size(); ++i) {
            if (p == '*')
                next[i] = matches[i] || (i > 0 && next[i - 1]);
            else if (i > 0)
                next[i] = matches[i - 1] && (p == '?' || p == S[i - 1]);
        }
        matches.swap(next);
    }
    return matches[S.size()] != 0;
}

struct ReferenceSplit {
    std::vector<String> Words;    // maximal runs of non-delimiters
    std::vector<int> WordStarts;  // 1-based
    std::vector<String> Fields;   // every delimiter ends a field
};

inline ReferenceSplit SplitByDelimiters(std::string_view S, const TCharSet& D)
{
    ReferenceSplit split;
    split.Fields.emplace_back();
    for (size_t i = 0; i < S.size(); ++i) {
        if (D.Contains(S[i])) {
            split.Fields.emplace_back();
            continue;
        }
        split.Fields.back() += S[i];
        if (i == 0 || D.Contains(S[i - 1])) {
            split.Words.emplace_back();
            split.WordStarts.push_back(static_cast<int>(i) + 1);
        }
        split.Words.back() += S[i];
    }
    return split;
}
