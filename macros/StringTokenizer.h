// Splits one text into tokens at a delimiter string; the macro list file reads its fields with
// it. Runs of the delimiter count as one and a delimiter at either end is dropped, so an empty
// field between two delimiters never yields an empty token.
#pragma once

#include <string>

class StringTokenizer {
public:
    // An empty text or an empty delimiter holds no tokens.
    StringTokenizer(std::string text, std::string delimiter);
    ~StringTokenizer();

    int countTokens() const;  // tokens still to come
    std::string nextToken();  // empty once no token is left
    // The next token and everything after it, delimiters included.
    std::string remainingString() const { return remainingText; }

private:
    std::string remainingText;
    std::string delimiter;
};
