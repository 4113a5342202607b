// Command-line splitting.
#include "util/CommandLine.h"

#include <cstddef>

namespace {

bool IsBlank(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 1 && b <= 32;
}

// Reads the token starting at or after Pos; false when only blanks (or nothing) are left.
bool NextToken(std::string_view Line, std::size_t& Pos, String& Token)
{
    Token.clear();
    for (;;) {
        while (Pos < Line.size() && IsBlank(Line[Pos])) ++Pos;
        // An empty pair of quotes in front of a token is dropped with the blanks.
        if (Pos + 1 < Line.size() && Line[Pos] == '"' && Line[Pos + 1] == '"') {
            Pos += 2;
            continue;
        }
        break;
    }
    if (Pos >= Line.size() || Line[Pos] == '\0') return false;
    while (Pos < Line.size() && Line[Pos] != '\0' && !IsBlank(Line[Pos])) {
        if (Line[Pos] == '"') {
            ++Pos;
            while (Pos < Line.size() && Line[Pos] != '"') Token += Line[Pos++];
            if (Pos < Line.size()) ++Pos;
        } else {
            Token += Line[Pos++];
        }
    }
    return true;
}

bool HasBlank(std::string_view S)
{
    for (char c : S)
        if (IsBlank(c)) return true;
    return false;
}

}  // namespace

void SplitCommandLine(std::string_view CommandLine, String& ProgramName, String& Params)
{
    ProgramName.clear();
    Params.clear();
    std::size_t pos = 0;
    String token;
    if (!NextToken(CommandLine, pos, token)) return;
    ProgramName = token;
    while (NextToken(CommandLine, pos, token)) {
        if (!Params.empty()) Params += ' ';
        if (HasBlank(token))
            Params += '"' + token + '"';
        else
            Params += token;
    }
}
