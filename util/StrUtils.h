// Free functions on the framework's strings: trimming and deleting characters, padding,
// searching, comparing, case, quoting, words over a set of delimiters, and the value of a
// switch on the command line. Positions count from 1; 0 means "not found".
#pragma once

#include "framework/Strings.h"
#include "util/CharSet.h"

// ---- code page, emptiness, replacing and deleting ----------------------------------------
// The text in the OEM code page / back in the ANSI code page, same length.
String StrToOem(std::string_view S);
String OemToAnsiStr(std::string_view S);
// True when every character of S is in E (an empty S too).
bool IsEmptyStr(std::string_view S, const TCharSet& E);
// Every T in S from the left, without overlap, replaced by R; R is not searched again.
String ReplaceStr(std::string_view S, std::string_view T, std::string_view R);
String DelChars(std::string_view S, char C);
String DelSpace(std::string_view S);
// Leading / trailing / leading and trailing blanks removed: the character 32 only.
String DelBSpace(std::string_view S);
String DelESpace(std::string_view S);
String DelRSpace(std::string_view S);
// Every run of blanks shortened to one blank.
String DelSpace1(std::string_view S);
// Every TAB replaced by N blanks (no tab stops).
String Tab2Space(std::string_view S, int N);

// ---- making, padding and searching -------------------------------------------------------
// N copies of C; empty for N below 1.
String MakeStr(char C, int N);
String MS(char C, int N);
// Position of the N-th occurrence of T in S, occurrences overlapping; 0 when fewer.
int NPos(std::string_view T, std::string_view S, int N);
// S padded with C on the left / right to length N; never cut.
String AddChar(char C, std::string_view S, int N);
String AddCharR(char C, std::string_view S, int N);
// Padding with blanks on the right / left; never cutting.
String LeftStr(std::string_view S, int N);
String RightStr(std::string_view S, int N);
String CenterStr(std::string_view S, int N);

// ---- comparing, case and quoting ---------------------------------------------------------
// -1, 0 or 1 by the user's locale; CompText ignores case.
int CompStr(std::string_view S, std::string_view T);
int CompText(std::string_view S, std::string_view T);
// The text before the first C, all of S when there is none.
String Copy2Symb(std::string_view S, char C);
String Copy2Space(std::string_view S);
// The same, and S becomes the rest from that C on, without leading blanks.
String Copy2SymbDel(String& S, char C);
String Copy2SpaceDel(String& S);
// Lower case, then the first character of every word in upper case (the locale's mapping).
String AnsiProperCase(std::string_view S, const TCharSet& D);
String QuotedString(std::string_view S, char Q);
// When S starts with Q: the text up to the closing quote, doubled quotes halved; else S.
String ExtractQuotedString(std::string_view S, char Q);
// Thousands separated by ",": 1234567 gives 1,234,567.
String Numb2USA(std::string_view S);

// ---- words: maximal runs of characters not in D ------------------------------------------
int WordCount(std::string_view S, const TCharSet& D);
// Position of the N-th word's first character; 0 when there are fewer words.
int WordPosition(int N, std::string_view S, const TCharSet& D);
String ExtractWord(int N, std::string_view S, const TCharSet& D);
// The same, and Pos := the word's position (0 when missing).
String ExtractWordPos(int N, std::string_view S, const TCharSet& D, int& Pos);
// The N-th field when every delimiter ends a field (two in a row enclose an empty one).
String ExtractDelimited(int N, std::string_view S, const TCharSet& D);
// The text from Pos up to the next delimiter; Pos moves past that delimiter.
String ExtractSubstr(std::string_view S, int& Pos, const TCharSet& D);
// Whether one of the words of S equals T exactly.
bool IsWordPresent(std::string_view T, std::string_view S, const TCharSet& D);

// ---- command line ------------------------------------------------------------------------
// The parameter after the switch named T (case ignored), a switch being a parameter of two
// or more characters whose first is in E (any parameter when E is empty); "" when absent.
String GetCmdLineArg(std::string_view T, const TCharSet& E);
