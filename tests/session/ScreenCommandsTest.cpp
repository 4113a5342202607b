// The screen's commands on the real window: find forward with its end message, save as rich text
// and reopen it, a save that must not replace a read-only file, copy, and a cancelled print.
#include "framework/Streams.h"
#include "framework/gui/Clipboard.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/ReceiveScreen.h"

namespace session_test {
namespace {

using qv::test::WaitForBytesIn;
using qv::test::WaitForQuietScreen;

class ScreenCommandsTest : public qv::test::MainWindowHarness {};

// Each character of the screen with its colour, as the user sees them.
std::vector<std::pair<char, COLORREF>> ColouredText(HWND Screen)
{
    std::vector<std::pair<char, COLORREF>> out;
    const int length = static_cast<int>(SendMessageA(Screen, WM_GETTEXTLENGTH, 0, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(Screen, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    for (int i = 0; i < length; ++i) {
        if (text[static_cast<size_t>(i)] == '\r' || text[static_cast<size_t>(i)] == '\n') continue;
        out.emplace_back(text[static_cast<size_t>(i)], qv::test::ScreenColourAt(i));
    }
    return out;
}

std::string FileText(const std::string& Path)
{
    TFileStream file(Path, fmOpenRead);
    std::string text(static_cast<size_t>(file.Size()), '\0');
    file.ReadBuffer(text.data(), static_cast<int>(text.size()));
    return text;
}

TEST_F(ScreenCommandsTest, FindContinuesAfterTheLastMatchAndEndsWithItsMessage)
{
    Start(0, 70);
    Form1->reScreen->SetText("alpha Alpha beta\r\nalpha");
    Form1->FindDialog1->FindText = "alpha";
    Form1->FindDialog1->Options = TFindOptions{frDown, frMatchCase};

    Form1->FindDialog1Find(Form1->FindDialog1);
    EXPECT_EQ(Form1->reScreen->SelStart(), 0);
    EXPECT_EQ(Form1->reScreen->SelLength(), 5);
    Form1->FindDialog1Find(Form1->FindDialog1);
    EXPECT_EQ(Form1->reScreen->SelText(), "alpha");
    EXPECT_GT(Form1->reScreen->SelStart(), 12);
    const int last = Form1->reScreen->SelStart();
    ASSERT_TRUE(script.Shown().empty());

    Form1->FindDialog1Find(Form1->FindDialog1);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Text, "Finished searching the screen!");
    EXPECT_EQ(script.Last().DlgType, mtInformation);
    EXPECT_EQ(Form1->reScreen->SelStart(), last);
}

TEST_F(ScreenCommandsTest, SaveAsWritesRichTextThatReopensWithTheSameTextAndColours)
{
    Start(1, 70);
    line.Write(std::string("ok\x01\xff", 4));
    ASSERT_TRUE(WaitForBytesIn(4));
    ASSERT_TRUE(WaitForQuietScreen());
    HWND screen = Form1->reScreen->Handle();
    const auto before = ColouredText(screen);
    ASSERT_FALSE(before.empty());

    const std::string path = InFolder("screen.rtf");
    script.AnswerDialog([&](TCommonDialog& d) {
        static_cast<TSaveDialog&>(d).FileName = path;
        return true;
    });
    Form1->miFileSaveAsClick(Form1);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Caption, "TSaveDialog");
    ASSERT_EQ(FileText(path).rfind("{\\rtf", 0), 0u);
    // The file ends with the rich text's closing brace: nothing after it.
    EXPECT_EQ(FileText(path).back(), '}');

    Form1->Clear_spbtnClick(Form1);
    {
        TFileStream file(path, fmOpenRead);
        Form1->reScreen->PasteFromStream(&file, false, false, false);
    }
    EXPECT_EQ(ColouredText(screen), before);

    // Save writes to the same file again without asking.
    Form1->miFileSaveClick(Form1);
    EXPECT_EQ(script.Shown().size(), 1u);
}

TEST_F(ScreenCommandsTest, ASaveOverAReadOnlyFileFailsWithAMessageAndKeepsTheOldFile)
{
    Start(0, 70);
    Form1->reScreen->SetText("new text");
    const std::string path = InFolder("kept.rtf");
    WriteTextFile(path, "old contents");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);

    script.AnswerDialog([&](TCommonDialog& d) {
        static_cast<TSaveDialog&>(d).FileName = path;
        return true;
    });
    Form1->miFileSaveAsClick(Form1);
    ASSERT_EQ(script.Shown().size(), 2u);
    EXPECT_EQ(script.Last().DlgType, mtError);
    EXPECT_EQ(script.Last().Text, "Unable to save the screen to file:\n" + path);
    EXPECT_EQ(FileText(path), "old contents");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The bytes of a clipboard block, as a program that pastes it sees them.
std::string ClipboardBlock(UINT Format)
{
    std::string bytes;
    if (!OpenClipboard(nullptr)) return bytes;
    if (HANDLE block = GetClipboardData(Format)) {
        bytes.assign(static_cast<const char*>(GlobalLock(block)), GlobalSize(block));
        GlobalUnlock(block);
    }
    CloseClipboard();
    return bytes;
}

// Each block holds the selection and its terminating zero, nothing after it: another program
// pastes what was selected, not the control's spare bytes.
TEST_F(ScreenCommandsTest, CopyPutsExactlyTheSelectionOnTheClipboardAsRichAndPlainText)
{
    Start(0, 70);
    std::string text;
    for (int i = 0; i < 12; ++i) text += "copied line " + std::to_string(i) + "\r\n";
    text += "last";
    Form1->reScreen->SetText(text);
    Form1->SelectAll1Click(Form1);
    EXPECT_EQ(Form1->reScreen->SelText(), text);
    Form1->EditCopyClick(Form1);
    EXPECT_EQ(Clipboard()->AsText(), text);
    EXPECT_EQ(ClipboardBlock(CF_TEXT), text + '\0');
    std::wstring wide(text.begin(), text.end());
    wide += L'\0';
    EXPECT_EQ(ClipboardBlock(CF_UNICODETEXT),
              std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2));
    const std::string rtf = ClipboardBlock(RegisterClipboardFormatA("Rich Text Format"));
    ASSERT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    EXPECT_EQ(rtf.substr(rtf.size() - 2), std::string("}\0", 2));
}

TEST_F(ScreenCommandsTest, ACancelledPrintDialogPrintsNothing)
{
    Start(0, 70);
    Form1->reScreen->SetText("not printed");
    script.Cancel();
    Form1->miFilePrintClick(Form1);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Caption, "TPrintDialog");
}

}  // namespace
}  // namespace session_test
