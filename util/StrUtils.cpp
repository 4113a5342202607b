// The text, word and command-line routines of the string utilities.
#include "util/StrUtils.h"

#include "util/LocaleServices.h"

namespace {

constexpr char Blank = ' ';

size_t Index(int Pos) { return static_cast<size_t>(Pos - 1); }

}  // namespace

String StrToOem(std::string_view S) { return Locale().AnsiToOem(S); }

String OemToAnsiStr(std::string_view S) { return Locale().OemToAnsi(S); }

bool IsEmptyStr(std::string_view S, const TCharSet& E)
{
    for (char c : S)
        if (!E.Contains(c)) return false;
    return true;
}

String ReplaceStr(std::string_view S, std::string_view T, std::string_view R)
{
    return StringReplaceAll(S, T, R);
}

String DelChars(std::string_view S, char C)
{
    String r;
    r.reserve(S.size());
    for (char c : S)
        if (c != C) r += c;
    return r;
}

String DelSpace(std::string_view S) { return DelChars(S, Blank); }

String DelBSpace(std::string_view S)
{
    size_t first = S.find_first_not_of(Blank);
    return first == std::string_view::npos ? String() : String(S.substr(first));
}

String DelESpace(std::string_view S)
{
    size_t last = S.find_last_not_of(Blank);
    return last == std::string_view::npos ? String() : String(S.substr(0, last + 1));
}

String DelRSpace(std::string_view S) { return DelBSpace(DelESpace(S)); }

String DelSpace1(std::string_view S)
{
    String r;
    r.reserve(S.size());
    for (char c : S)
        if (c != Blank || r.empty() || r.back() != Blank) r += c;
    return r;
}

String Tab2Space(std::string_view S, int N)
{
    const String blanks = MakeStr(Blank, N);
    String r;
    for (char c : S) {
        if (c == '\t')
            r += blanks;
        else
            r += c;
    }
    return r;
}

String MakeStr(char C, int N) { return StringOfChar(C, N); }

String MS(char C, int N) { return MakeStr(C, N); }

int NPos(std::string_view T, std::string_view S, int N)
{
    if (N < 1) return 0;
    int found = 0;
    for (int count = 0; count < N; ++count) {
        found = PosEx(T, S, found + 1);
        if (found == 0) return 0;
    }
    return found;
}

String AddChar(char C, std::string_view S, int N)
{
    return Length(S) < N ? MakeStr(C, N - Length(S)) + String(S) : String(S);
}

String AddCharR(char C, std::string_view S, int N)
{
    return Length(S) < N ? String(S) + MakeStr(C, N - Length(S)) : String(S);
}

String LeftStr(std::string_view S, int N) { return AddCharR(Blank, S, N); }

String RightStr(std::string_view S, int N) { return AddChar(Blank, S, N); }

String CenterStr(std::string_view S, int N)
{
    if (Length(S) >= N) return String(S);
    String r = MakeStr(Blank, N / 2 - Length(S) / 2) + String(S);
    return AddCharR(Blank, r, N);
}

int CompStr(std::string_view S, std::string_view T) { return Locale().Compare(S, T, false); }

int CompText(std::string_view S, std::string_view T) { return Locale().Compare(S, T, true); }

String Copy2Symb(std::string_view S, char C) { return String(S.substr(0, S.find(C))); }

String Copy2Space(std::string_view S) { return Copy2Symb(S, Blank); }

String Copy2SymbDel(String& S, char C)
{
    String head = Copy2Symb(S, C);
    S = DelBSpace(std::string_view(S).substr(head.size()));
    return head;
}

String Copy2SpaceDel(String& S) { return Copy2SymbDel(S, Blank); }

String AnsiProperCase(std::string_view S, const TCharSet& D)
{
    const TLocaleServices& locale = Locale();
    String r = locale.LowerCase(S);
    size_t i = 0;
    while (i < r.size()) {
        while (i < r.size() && D.Contains(r[i])) ++i;
        if (i < r.size()) r[i] = locale.UpperCase(std::string_view(&r[i], 1))[0];
        while (i < r.size() && !D.Contains(r[i])) ++i;
    }
    return r;
}

String QuotedString(std::string_view S, char Q)
{
    const char quote[1] = {Q};
    const std::string_view q(quote, 1);
    return String(q) + StringReplaceAll(S, q, String(2, Q)) + String(q);
}

String ExtractQuotedString(std::string_view S, char Q)
{
    if (S.empty() || S.front() != Q) return String(S);
    // The quoted text ends at the first quote that is not doubled; what follows is no part
    // of it.
    String r;
    for (size_t i = 1; i < S.size(); ++i) {
        if (S[i] == Q) {
            if (i + 1 >= S.size() || S[i + 1] != Q) break;
            ++i;
        }
        r += S[i];
    }
    return r;
}

String Numb2USA(std::string_view S)
{
    // A sign is no digit: "-123" stays "-123" rather than gaining a separator after the sign.
    String r;
    if (!S.empty() && (S.front() == '-' || S.front() == '+')) {
        r += S.front();
        S.remove_prefix(1);
    }
    for (size_t i = 0; i < S.size(); ++i) {
        if (i > 0 && (S.size() - i) % 3 == 0) r += ',';
        r += S[i];
    }
    return r;
}

// ---- words -------------------------------------------------------------------------------

int WordCount(std::string_view S, const TCharSet& D)
{
    int count = 0;
    size_t i = 0;
    while (i < S.size()) {
        while (i < S.size() && D.Contains(S[i])) ++i;
        if (i < S.size()) ++count;
        while (i < S.size() && !D.Contains(S[i])) ++i;
    }
    return count;
}

int WordPosition(int N, std::string_view S, const TCharSet& D)
{
    int count = 0;
    size_t i = 0;
    while (i < S.size() && count != N) {
        while (i < S.size() && D.Contains(S[i])) ++i;
        if (i < S.size()) {
            if (++count == N) return static_cast<int>(i) + 1;
        }
        while (i < S.size() && !D.Contains(S[i])) ++i;
    }
    return 0;
}

String ExtractWordPos(int N, std::string_view S, const TCharSet& D, int& Pos)
{
    Pos = WordPosition(N, S, D);
    if (Pos == 0) return String();
    size_t end = Index(Pos);
    while (end < S.size() && !D.Contains(S[end])) ++end;
    return String(S.substr(Index(Pos), end - Index(Pos)));
}

String ExtractWord(int N, std::string_view S, const TCharSet& D)
{
    int pos = 0;
    return ExtractWordPos(N, S, D, pos);
}

String ExtractDelimited(int N, std::string_view S, const TCharSet& D)
{
    String r;
    int field = 0;
    for (char c : S) {
        if (field == N) break;
        if (D.Contains(c))
            ++field;
        else if (field == N - 1)
            r += c;
    }
    return r;
}

String ExtractSubstr(std::string_view S, int& Pos, const TCharSet& D)
{
    if (Pos < 1) Pos = 1;
    size_t end = Index(Pos);
    if (end >= S.size()) return String();
    while (end < S.size() && !D.Contains(S[end])) ++end;
    String r(S.substr(Index(Pos), end - Index(Pos)));
    Pos = static_cast<int>(end < S.size() ? end + 1 : end) + 1;
    return r;
}

bool IsWordPresent(std::string_view T, std::string_view S, const TCharSet& D)
{
    size_t i = 0;
    while (i < S.size()) {
        while (i < S.size() && D.Contains(S[i])) ++i;
        const size_t start = i;
        while (i < S.size() && !D.Contains(S[i])) ++i;
        if (i > start && S.substr(start, i - start) == T) return true;
    }
    return false;
}

// ---- command line ------------------------------------------------------------------------

String GetCmdLineArg(std::string_view T, const TCharSet& E)
{
    const int count = ParamCount();
    for (int i = 1; i < count; ++i) {
        const String p = ParamStr(i);
        const bool isSwitch = E.Empty() || (p.size() >= 2 && E.Contains(p[0]));
        if (isSwitch && SameText(std::string_view(p).substr(p.empty() ? 0 : 1), T))
            return ParamStr(i + 1);
    }
    return String();
}
