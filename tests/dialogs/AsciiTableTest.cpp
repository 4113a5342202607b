// The ASCII table window opened from the Help menu: its two pages as the rich edits show them
// (every code once, whatever the showing), their colours and font, the pop-up's Ctrl+A and
// Ctrl+C, Esc, Alt+O.
#include <richedit.h>

#include "DialogsFixture.h"
#include "dialogs/AsciiTable.h"
#include "framework/gui/Clipboard.h"
#include "tests/support/GuiTestSupport.h"

namespace dialogs_test {
namespace {

std::vector<std::string> Lines(TRichEditP* Table)
{
    std::vector<std::string> lines;
    const std::string text = Table->Text();
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// The character format of Length characters of Line from Column.
CHARFORMATA FormatAt(TRichEditP* Table, int Line, size_t Column, int Length)
{
    const int start = static_cast<int>(SendMessageA(Table->Handle(), EM_LINEINDEX, Line, 0));
    Table->SetSelStart(start + static_cast<int>(Column));
    Table->SetSelLength(Length);
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(Table->Handle(), EM_GETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format));
    return format;
}

class AsciiTableTest : public DialogsTest {
protected:
    void SetUp() override
    {
        DialogsTest::SetUp();
        Application->CreateForm(ASCII_tbl);
    }
};

TEST_F(AsciiTableTest, ThePagesHoldEveryCodeOnceUnderTheHeadersWhateverTheShowing)
{
    Form1->ASCIITable1Click(Form1->ASCIITable1);
    ASSERT_TRUE(ASCII_tbl->Visible());
    EXPECT_EQ(ASCII_tbl->ClientWidth(), 379);
    EXPECT_EQ(ASCII_tbl->ClientHeight(), 308);
    ASCII_tbl->Close();
    Form1->ASCIITable1Click(Form1->ASCIITable1);
    Form1->ASCIITable1Click(Form1->ASCIITable1);  // open already: only to the front

    const auto control = Lines(ASCII_tbl->ASCII_re1);
    const auto standard = Lines(ASCII_tbl->ASCII_re2);
    ASSERT_EQ(control.size(), 32u);
    ASSERT_EQ(standard.size(), 96u);
    const std::string header = ASCII_tbl->Label2->Caption();
    const size_t name = header.find("Name");
    EXPECT_EQ(standard[105 - 32], " 105    69    0110 1001   i");
    EXPECT_EQ(standard[105 - 32].substr(header.find("Hex"), 2), "69");
    EXPECT_EQ(standard[92 - 32].substr(name), "\\");
    EXPECT_EQ(standard[123 - 32].substr(name), "{");
    EXPECT_EQ(standard[125 - 32].substr(name), "}");
    EXPECT_EQ(standard[127 - 32], " 127    7F    0111 1111   delete");
    EXPECT_EQ(control[0], "   0    00    0000 0000   NULL\t^@");
    EXPECT_EQ(control[28].substr(std::string(ASCII_tbl->Label1->Caption()).find("Name")),
              "FS\t^\\");
    EXPECT_EQ(ASCII_tbl->ASCII_re1->SelStart(), 0);
    EXPECT_EQ(ASCII_tbl->ASCII_re2->SelStart(), 0);
}

TEST_F(AsciiTableTest, CodesAreBoldBinaryNavyNamesGreenInTenPointCourierNew)
{
    ASCII_tbl->Show();
    TRichEditP* table = ASCII_tbl->ASCII_re2;
    const CHARFORMATA code = FormatAt(table, 105 - 32, 1, 3);
    EXPECT_TRUE(code.dwEffects & CFE_BOLD);
    EXPECT_STREQ(code.szFaceName, "Courier New");
    EXPECT_EQ(code.yHeight, 200);
    const CHARFORMATA binary = FormatAt(table, 105 - 32, 14, 9);
    EXPECT_EQ(binary.crTextColor, RGB(0, 0, 128));
    EXPECT_FALSE(binary.dwEffects & CFE_BOLD);
    EXPECT_EQ(FormatAt(table, 105 - 32, 26, 1).crTextColor, RGB(0, 128, 0));
}

TEST_F(AsciiTableTest, CtrlAThenCtrlCCopiesTheWholeStandardPageAsRichTextAndEscOrOKCloses)
{
    ASCII_tbl->Show();
    ASCII_tbl->ASCII_page_ctrl->SetActivePage(ASCII_tbl->TabSheet2);
    Clipboard()->Clear();
    CtrlKey(ASCII_tbl->ASCII_re2, 'A');
    EXPECT_EQ(ASCII_tbl->ASCII_re2->SelStart(), 0);
    EXPECT_GE(ASCII_tbl->ASCII_re2->SelLength(), ASCII_tbl->ASCII_re2->GetTextLen());
    CtrlKey(ASCII_tbl->ASCII_re2, 'C');
    EXPECT_TRUE(Clipboard()->HasFormat(RegisterClipboardFormatA("Rich Text Format")));
    EXPECT_EQ(Clipboard()->AsText(), ASCII_tbl->ASCII_re2->Text());
    EXPECT_EQ(ASCII_tbl->ASCII_re1->SelLength(), 0);

    SendMessageA(ASCII_tbl->ASCII_re2->Handle(), WM_CHAR, VK_ESCAPE, 1);
    EXPECT_FALSE(ASCII_tbl->Visible());
    ASCII_tbl->Show();
    ClickOn(ASCII_tbl->sbtnOK);
    EXPECT_FALSE(ASCII_tbl->Visible());
}

TEST_F(AsciiTableTest, AltOClosesTheTableAsItsOKButtonDoes)
{
    Form1->ASCIITable1Click(Form1->ASCIITable1);
    ASSERT_TRUE(qv::test::WaitUntil([] { return ASCII_tbl->Active(); }));
    ASCII_tbl->ASCII_re1->SetFocus();
    AltKey('O');
    EXPECT_FALSE(ASCII_tbl->Visible());
}

TEST_F(AsciiTableTest, TheWindowComesBackWhereItWasClosed)
{
    ASCII_tbl->Show();
    ASCII_tbl->SetBounds(37, 41, ASCII_tbl->Width(), ASCII_tbl->Height());
    ASCII_tbl->Close();
    ASCII_tbl->SetBounds(300, 200, ASCII_tbl->Width(), ASCII_tbl->Height());
    ASCII_tbl->Show();
    EXPECT_EQ(ASCII_tbl->Left(), 37);
    EXPECT_EQ(ASCII_tbl->Top(), 41);
    EXPECT_EQ(ASCII_tbl->ClientWidth(), 379);
}

}  // namespace
}  // namespace dialogs_test
