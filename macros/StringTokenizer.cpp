// The tokenizer normalises its text once, in the constructor; the readers only cut its front.
#include "macros/StringTokenizer.h"

#include <utility>

StringTokenizer::StringTokenizer(std::string text, std::string delim)
{
    if (text.empty() || delim.empty()) return;
    remainingText = std::move(text);
    delimiter = std::move(delim);
    const size_t length = delimiter.size();
    for (size_t i = remainingText.find(delimiter); i != std::string::npos;
         i = remainingText.find(delimiter, i + length)) {
        while (remainingText.compare(i + length, length, delimiter) == 0)
            remainingText.erase(i + length, length);
    }
    if (remainingText.compare(0, length, delimiter) == 0) remainingText.erase(0, length);
    if (remainingText.size() >= length &&
        remainingText.compare(remainingText.size() - length, length, delimiter) == 0)
        remainingText.erase(remainingText.size() - length);
}

StringTokenizer::~StringTokenizer()
{
    remainingText.clear();
    delimiter.clear();
}

int StringTokenizer::countTokens() const
{
    if (remainingText.empty()) return 0;
    int count = 1;
    for (size_t i = remainingText.find(delimiter); i != std::string::npos;
         i = remainingText.find(delimiter, i + delimiter.size()))
        ++count;
    return count;
}

std::string StringTokenizer::nextToken()
{
    if (remainingText.empty()) return {};
    const size_t at = remainingText.find(delimiter);
    if (at == std::string::npos) return std::exchange(remainingText, {});
    std::string token = remainingText.substr(0, at);
    remainingText.erase(0, at + delimiter.size());
    return token;
}
