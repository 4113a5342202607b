// The ASCII table's generated pages read back as an RTF reader sees them: each page one whole
// document (no character of the table breaks its structure), one row per code, every column
// under its header, the names as listed.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "dialogs/AsciiTableText.h"

namespace {

// The text of a document as rows: groups, control words and symbols, \par and \tab; the font
// and colour tables skipped. Fails the test when the outer group closes before the end.
std::vector<std::string> Rows(const std::string& rtf)
{
    std::vector<std::string> rows(1);
    std::vector<bool> skipping{false};
    for (size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            skipping.push_back(skipping.back());
        } else if (c == '}') {
            if (skipping.size() == 1) {
                ADD_FAILURE() << "a brace closes a group that was never opened";
                return rows;
            }
            skipping.pop_back();
            if (skipping.size() == 1) {
                EXPECT_EQ(i, rtf.size() - 1) << "document ends early";
            }
        } else if (c == '\\' && i + 1 < rtf.size() && !std::isalpha(rtf[i + 1])) {
            ++i;
            if (!skipping.back()) rows.back() += rtf[i];
        } else if (c == '\\') {
            size_t end = i + 1;
            while (end < rtf.size() && std::isalpha(rtf[end])) ++end;
            const std::string word = rtf.substr(i + 1, end - i - 1);
            while (end < rtf.size() && (std::isdigit(rtf[end]) || rtf[end] == '-')) ++end;
            if (end < rtf.size() && rtf[end] == ' ') ++end;
            i = end - 1;
            if (word == "fonttbl" || word == "colortbl") skipping.back() = true;
            if (skipping.back()) continue;
            if (word == "par") rows.emplace_back();
            if (word == "tab") rows.back() += '\t';
        } else if (c != '\r' && c != '\n' && !skipping.back()) {
            rows.back() += c;
        }
    }
    EXPECT_EQ(skipping.size(), 1u) << "unbalanced groups";
    return rows;
}

void ExpectColumns(const std::vector<std::string>& rows, int first, const std::string& header)
{
    const size_t hex = header.find("Hex"), binary = header.find("Binary"),
                 name = header.find("Name");
    for (size_t r = 0; r < rows.size(); ++r) {
        const int code = first + static_cast<int>(r);
        char dec[8], hexDigits[8];
        std::snprintf(dec, sizeof dec, "%4d", code);
        std::snprintf(hexDigits, sizeof hexDigits, "%02X", code);
        const std::string& row = rows[r];
        ASSERT_GT(row.size(), name) << code;
        EXPECT_EQ(row.substr(0, 4), dec) << "decimal ends under \"Dec\"";
        EXPECT_EQ(row.substr(hex, 2), hexDigits) << code;
        const std::string bits = row.substr(binary, 9);
        EXPECT_EQ(bits[4], ' ') << code;
        EXPECT_EQ(std::stoi(bits.substr(0, 4) + bits.substr(5), nullptr, 2), code) << code;
        EXPECT_NE(row[name], ' ') << code;
        EXPECT_EQ(row[name - 1], ' ') << code;
    }
}

TEST(AsciiTableText, EachPageIsOneDocumentWithEveryColumnUnderItsHeader)
{
    const auto control = Rows(AsciiControlTableRtf());
    const auto standard = Rows(AsciiStandardTableRtf());
    ASSERT_EQ(control.size(), 32u);
    ASSERT_EQ(standard.size(), 96u);
    ExpectColumns(control, 0, AsciiControlHeader);
    ExpectColumns(standard, 32, AsciiStandardHeader);
}

TEST(AsciiTableText, NamesAreTheMnemonicsWithTheirKeysAndTheCharactersThemselves)
{
    const auto control = Rows(AsciiControlTableRtf());
    const auto standard = Rows(AsciiStandardTableRtf());
    const size_t name = std::string(AsciiControlHeader).find("Name");
    auto controlName = [&](int code) { return control[code].substr(name); };
    auto standardName = [&](int code) { return standard[code - 32].substr(name); };
    EXPECT_EQ(controlName(0), "NULL\t^@");
    EXPECT_EQ(controlName(8), "Backspace\t^H");
    EXPECT_EQ(controlName(27), "ESC\t^[");
    EXPECT_EQ(controlName(28), "FS\t^\\");
    EXPECT_EQ(controlName(31), "US\t^_");
    EXPECT_EQ(standardName(32), "space");
    EXPECT_EQ(standardName(92), "\\");
    EXPECT_EQ(standardName(105), "i");
    EXPECT_EQ(standardName(123), "{");
    EXPECT_EQ(standardName(125), "}");
    EXPECT_EQ(standardName(127), "delete");
}

}  // namespace
