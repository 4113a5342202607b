// The wildcard matcher: a pattern is cut at its stars into parts; each middle part is found at
// its first place from where the previous one ended, and the last part must end the text.
#include "util/Wildcards.h"

#include "util/LocaleServices.h"

namespace {

constexpr char AnyRun = '*';
constexpr char AnyOne = '?';

bool PartMatchesAt(std::string_view P, std::string_view S, size_t At)
{
    for (size_t k = 0; k < P.size(); ++k)
        if (P[k] != AnyOne && P[k] != S[At + k]) return false;
    return true;
}

}  // namespace

int FindPart(std::string_view P, std::string_view S)
{
    if (P.find(AnyOne) == std::string_view::npos) return Pos(P, S);
    if (P.size() > S.size()) return 0;
    for (size_t at = 0; at + P.size() <= S.size(); ++at)
        if (PartMatchesAt(P, S, at)) return static_cast<int>(at) + 1;
    return 0;
}

bool IsWild(std::string_view S, std::string_view W, bool IgnoreCase)
{
    if (W == S) return true;
    String pattern(W);
    for (size_t twin; (twin = pattern.find("**")) != String::npos;) pattern.erase(twin, 1);
    if (pattern == "*") return true;
    String text(S);
    if (IgnoreCase) {
        text = Locale().UpperCase(text);
        pattern = Locale().UpperCase(pattern);
    }
    if (text.empty() || pattern.empty()) return false;

    size_t i = 0;  // in text
    size_t j = 0;  // in pattern
    while (i < text.size() && j < pattern.size()) {
        // A star in the pattern is a wildcard even where the text holds a star of its own.
        if (pattern[j] == AnyRun) {
            const size_t nextStar = pattern.find(AnyRun, j + 1);
            const std::string_view part = std::string_view(pattern).substr(
                j + 1, nextStar == String::npos ? String::npos : nextStar - j - 1);
            if (nextStar == String::npos) {
                if (part.empty()) return true;
                const size_t rest = text.size() - i;
                return rest >= part.size() && PartMatchesAt(part, text, text.size() - part.size());
            }
            j = nextStar;
            const int found = FindPart(part, std::string_view(text).substr(i));
            if (found == 0) return false;
            i += static_cast<size_t>(found) - 1 + part.size();
        } else if (pattern[j] == AnyOne || pattern[j] == text[i]) {
            ++i;
            ++j;
        } else {
            return false;
        }
    }
    // Characters of the pattern left over match nothing unless they are a single star: "ab"
    // is no match for "abc*".
    if (i < text.size()) return false;
    return j == pattern.size() || (j + 1 == pattern.size() && pattern[j] == AnyRun);
}
