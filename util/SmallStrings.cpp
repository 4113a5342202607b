// Small text helpers.
#include "util/SmallStrings.h"

#include <cstring>

String DropT(const String& S)
{
    if (S.size() > 1 && (S[0] == 'T' || S[0] == 't')) return S.substr(1);
    return S;
}

std::unique_ptr<char[]> StrPAlloc(const String& S)
{
    auto buffer = std::make_unique<char[]>(S.size() + 1);
    std::memcpy(buffer.get(), S.c_str(), S.size() + 1);
    return buffer;
}
