// Command-line splitting.
#include "util/CommandLine.h"

#include <cstddef>

namespace {

bool IsBlank(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 1 && b <= 32;
}

// Reads the next token from Pos on; false when only blanks (or nothing) are left. A token
// that is nothing but quotes ("" or a lone " at the end) is no token.
bool NextToken(std::string_view Line, std::size_t& Pos, String& Token)
{
    for (;;) {
        Token.clear();
        while (Pos < Line.size() && IsBlank(Line[Pos])) ++Pos;
        if (Pos >= Line.size() || Line[Pos] == '\0') return false;
        while (Pos < Line.size() && Line[Pos] != '\0' && !IsBlank(Line[Pos])) {
            if (Line[Pos] == '"') {
                ++Pos;
                while (Pos < Line.size() && Line[Pos] != '"' && Line[Pos] != '\0')
                    Token += Line[Pos++];
                if (Pos < Line.size() && Line[Pos] == '"') ++Pos;
            } else {
                Token += Line[Pos++];
            }
        }
        if (!Token.empty()) return true;
    }
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
