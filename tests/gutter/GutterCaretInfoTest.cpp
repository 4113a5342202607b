// The cursor inspector and the gutter on the real main window, bytes fed from the peer: the
// byte under a selection in each display mode, the position text, the right byte after the
// oldest lines were trimmed, a selection longer than the copy buffer, and the gutter's width
// and numbers read back by pixels.
#include <algorithm>

#include "framework/gui/Canvas.h"
#include "terminal/CaretInfo.h"
#include "terminal/ScreenView.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/PeerWriter.h"
#include "tests/support/ReceiveScreen.h"

namespace gutter_test {
namespace {

using qv::test::ExpectedLines;
using qv::test::ScreenLines;
using qv::test::WaitForBytesIn;
using qv::test::WaitForQuietScreen;

class GutterInspectorTest : public qv::test::MainWindowHarness {
protected:
    void TearDown() override
    {
        writer.Stop();
        MainWindowHarness::TearDown();
    }
    void Receive(const std::string& Bytes)
    {
        writer.Send(Bytes);
        ASSERT_TRUE(WaitForBytesIn(static_cast<std::int64_t>(Bytes.size())));
        ASSERT_TRUE(WaitForQuietScreen());
    }
    // A selection made as the user makes it: the screen reports it to the inspector.
    static void Select(int From, int To)
    {
        SendMessageA(Form1->reScreen->Handle(), EM_SETSEL, From, To);
    }
    static int LineStart(int Line)
    {
        return static_cast<int>(SendMessageA(Form1->reScreen->Handle(), EM_LINEINDEX, Line, 0));
    }

    qv::test::PeerWriter writer{line};
};

TEST_F(GutterInspectorTest, InHexModeExactlyACellsTwoDigitsNameItsByte)
{
    Start(2, 70);
    Receive("A<");
    ASSERT_EQ(ScreenLines(), (std::vector<std::string>{"<41><3C>"}));

    Select(1, 3);
    EXPECT_EQ(Display.ByteInfoText, "B: 01000001, D: 65, H: 41, Ch: A");
    EXPECT_EQ(Display.CaretInfoText, "Ln: 1, Col: 3, Sel: 2");
    Form1->UpdateStatusCounters(true);
    EXPECT_EQ(Form1->StatusBar1->Panels(1)->Text(), "Ln: 1, Col: 3, Sel: 2");
    EXPECT_EQ(Form1->StatusBar1->Panels(3)->Text(), "B: 01000001, D: 65, H: 41, Ch: A");

    Select(0, 2);  // "<4"
    EXPECT_EQ(Display.ByteInfoText, "");
    Select(2, 3);  // "1"
    EXPECT_EQ(Display.ByteInfoText, "");
    Select(5, 7);  // the digits of <3C> hold '<' itself
    EXPECT_EQ(Display.ByteInfoText, "");

    Select(0, 0);
    EXPECT_EQ(Display.CaretInfoText, "Ln: 1, Col: 1, Sel: 0");
    EXPECT_EQ(Display.ByteInfoText, "");
}

TEST_F(GutterInspectorTest, InMixedModeOnePrintableCharacterNamesItsByteAndACellDigitNothing)
{
    Start(1, 70);
    Receive("x\x01y");
    ASSERT_EQ(ScreenLines(), (std::vector<std::string>{"x<01>y"}));
    Select(0, 1);
    EXPECT_EQ(Display.ByteInfoText, "B: 01111000, D: 120, H: 78, Ch: x");
    Select(5, 6);
    EXPECT_EQ(Display.ByteInfoText, "B: 01111001, D: 121, H: 79, Ch: y");
    Select(2, 3);
    EXPECT_EQ(Display.ByteInfoText, "");
}

TEST_F(GutterInspectorTest, InTextModeThePositionIsTheLineAloneAndTheByteHasNoCharacter)
{
    Start(0, 4);
    Receive("abcdefgh");
    ASSERT_EQ(ScreenLines(), (std::vector<std::string>{"abcd", "efgh"}));
    const int second = LineStart(1);
    Select(second + 1, second + 2);
    EXPECT_EQ(Display.CaretInfoText, "ASCII/Text Line: 2");
    EXPECT_EQ(Display.ByteInfoText, "B: 01100110, D: 102, H: 66");
    Select(second, second + 2);
    EXPECT_EQ(Display.ByteInfoText, "");
}

TEST_F(GutterInspectorTest, AfterTheOldestLinesAreTrimmedEveryCharacterStillNamesItsOwnByte)
{
    Start(1, 8, 5);
    std::string sent;
    for (int i = 0; i < 8 * 9 + 3; ++i) sent += char('A' + i % 58);
    Receive(sent);
    const auto lines = ScreenLines();
    ASSERT_EQ(lines, ExpectedLines(sent, 1, 8, 5));
    // The rebuild that trimmed the lines ran the inspector with the caret at the end.
    EXPECT_EQ(Display.CaretInfoText, "Ln: 5, Col: 4, Sel: 0");
    for (int line = 0; line < static_cast<int>(lines.size()); ++line) {
        for (int col = 0; col < static_cast<int>(lines[line].size()); ++col) {
            const int at = LineStart(line) + col;
            Select(at, at + 1);
            const char shown = lines[line][col];
            EXPECT_EQ(Display.ByteInfoText, ByteInfoFor(std::uint8_t(shown), false))
                << line << "," << col;
        }
    }
}

TEST_F(GutterInspectorTest, ASelectionLongerThanTheCopyBufferIsCountedWhole)
{
    Start(2, 70);
    std::string text;
    for (int i = 0; i < 1000; ++i) text += std::string(99, char('a' + i % 26)) + "\r\n";
    Form1->reScreen->SetText(text);
    Select(0, -1);
    // 1,000 lines of 99 characters; the screen's last line break counts as a line break.
    EXPECT_NE(Display.CaretInfoText.find(", Sel: 99000"), String::npos) << Display.CaretInfoText;
    EXPECT_EQ(Display.ByteInfoText, "");
}

// The gutter drawn into a bitmap of the panel's size.
class TGutterPicture {
public:
    TGutterPicture()
    {
        bitmap_.SetSize(Form1->PanelLine->Width(), Form1->PanelLine->Height());
        // On the panel's colour, as the gutter stands on it.
        bitmap_.Canvas()->Brush()->SetColor(Form1->PanelLine->Color());
        bitmap_.Canvas()->FillRect(Rect(0, 0, bitmap_.Width(), bitmap_.Height()));
        saved_ = Form1->GutterCanvas;
        Form1->GutterCanvas = bitmap_.Canvas();
    }
    ~TGutterPicture() { Form1->GutterCanvas = saved_; }
    TBitmap& Bitmap() { return bitmap_; }

private:
    TBitmap bitmap_;
    TCanvas* saved_;
};

// The numbers From, From + 1, ... one per text line from the top, as many as fit, drawn the
// way a gutter shows them.
// The screen's line height: the control's, once it has two lines.
int LineHeight()
{
    return ScreenLineHeight(Form1->reScreen->Handle(), Form1->GutterCanvas->TextHeight("1"));
}

void DrawNumbers(TBitmap& Into, int From, int Rows, int Hidden = 0)
{
    TCanvas* c = Into.Canvas();
    c->Brush()->SetColor(Form1->PanelLine->Color());
    c->FillRect(Rect(0, 0, Into.Width(), Into.Height()));
    c->Font()->Assign(Form1->reScreen->Font());
    c->Font()->SetColor(clBlack);
    const int h = LineHeight();
    // Each number in a cell of the line's height on four blanks at least.
    const int blanks = c->TextWidth("    ");
    for (int i = 0; i < Rows; ++i) {
        const String number = IntToStr(From + i);
        const int y = i * h + 2 - Hidden;
        c->TextRect(Rect(2, y, 2 + std::max(blanks, c->TextWidth(number)), y + h), 2, y, number);
    }
}

bool SamePixels(TBitmap& A, TBitmap& B)
{
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x)
            if (A.Canvas()->Pixel(x, y) != B.Canvas()->Pixel(x, y)) return false;
    return true;
}

TEST_F(GutterInspectorTest, TheGutterIsFourDigitsWidePast999LinesAndNumbersTheVisibleLines)
{
    Start(2, 70);
    Form1->PanelLine->SetVisible(true);
    const int digit = Form1->GutterCanvas->TextWidth("0");
    std::string text;
    for (int i = 0; i < 49; ++i) text += "line\r\n";
    Form1->reScreen->SetText(text + "last");
    const int h = LineHeight();
    Form1->PaintBox1Paint(Form1->PaintBox1);
    EXPECT_EQ(Form1->PanelLine->Width(), 2 * digit + 7);
    for (int i = 0; i < 1150; ++i) text += "line\r\n";
    Form1->reScreen->SetText(text + "last");
    Form1->PaintBox1Paint(Form1->PaintBox1);
    EXPECT_EQ(Form1->PanelLine->Width(), 4 * digit + 7);

    HWND screen = Form1->reScreen->Handle();
    SendMessageA(screen, EM_LINESCROLL, 0,
                 1000 - SendMessageA(screen, EM_GETFIRSTVISIBLELINE, 0, 0));
    const int first = static_cast<int>(SendMessageA(screen, EM_GETFIRSTVISIBLELINE, 0, 0));
    ASSERT_GT(first, 900);
    const int rows = Form1->PanelLine->Height() / h - 1;
    ASSERT_GT(rows, 2);

    TGutterPicture drawn;
    Form1->PaintBox1Paint(Form1->PaintBox1);
    TBitmap expected, shifted;
    expected.SetSize(drawn.Bitmap().Width(), drawn.Bitmap().Height());
    shifted.SetSize(drawn.Bitmap().Width(), drawn.Bitmap().Height());
    DrawNumbers(expected, first + 1, rows);
    DrawNumbers(shifted, first + 2, rows);
    EXPECT_TRUE(SamePixels(drawn.Bitmap(), expected));
    EXPECT_FALSE(SamePixels(drawn.Bitmap(), shifted));

    // A scroll repaints the gutter with the new first line.
    SendMessageA(screen, WM_VSCROLL, SB_LINEDOWN, 0);
    const int now = static_cast<int>(SendMessageA(screen, EM_GETFIRSTVISIBLELINE, 0, 0));
    ASSERT_NE(now, first);
    TBitmap after;
    after.SetSize(drawn.Bitmap().Width(), drawn.Bitmap().Height());
    DrawNumbers(after, now + 1, rows);
    EXPECT_TRUE(SamePixels(drawn.Bitmap(), after));
}

TEST_F(GutterInspectorTest, AScrollThatEndsBetweenTwoLinesComesToRestOnAWholeLine)
{
    Start(2, 70);
    std::string text;
    for (int i = 0; i < 300; ++i) text += "line\r\n";
    Form1->reScreen->SetText(text);
    HWND screen = Form1->reScreen->Handle();
    const int h = LineHeight();
    SendMessageA(screen, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3 * h + 5), 0);
    // Once the scroll is over: the window moves the view when its queue runs.
    EXPECT_TRUE(qv::test::WaitUntil([&] { return GetScrollPos(screen, SB_VERT) == 3 * h; }));
    EXPECT_EQ(SendMessageA(screen, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
}

// Typing at the end of a full screen: the line being typed stays wholly in view (a view resting
// on whole lines there showed a few pixels of it whenever the screen's height was not a whole
// number of lines), and the gutter's numbers sit on the lines, wherever the view starts.
TEST_F(GutterInspectorTest, TypingPastAFullScreenKeepsTheNewestLineInViewAndTheGutterOnTheLines)
{
    Start(0, 70);
    Form1->PanelLine->SetVisible(true);
    HWND screen = Form1->reScreen->Handle();
    const int height = Form1->PanelLine->Height();
    ASSERT_GT(height / LineHeight(), 3);
    TGutterPicture drawn;
    auto lastLineInView = [&] {
        POINTL at{};
        SendMessageA(screen, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at),
                     GetWindowTextLengthA(screen));
        RECT client{};
        GetClientRect(screen, &client);
        return at.y >= 0 && at.y + LineHeight() <= client.bottom;
    };
    const std::string typed = "fox\r";
    for (int i = 0; i < height / LineHeight() + 3; ++i) {
        for (char c : typed) {
            SendMessageA(screen, WM_CHAR, static_cast<unsigned char>(c), 0);
            ASSERT_TRUE(lastLineInView()) << "line " << i << ", key " << int(c);
        }
    }
    // The screen scrolled with the typing, and the gutter numbers the lines it shows.
    const int first = static_cast<int>(SendMessageA(screen, EM_GETFIRSTVISIBLELINE, 0, 0));
    ASSERT_GE(first, 3);
    const int h = LineHeight();
    const int hidden = GetScrollPos(screen, SB_VERT) % h;
    int rows = 0;
    while ((rows + 2) * h - hidden <= height) ++rows;
    TBitmap expected;
    expected.SetSize(drawn.Bitmap().Width(), drawn.Bitmap().Height());
    DrawNumbers(expected, first + 1, rows, hidden);
    EXPECT_TRUE(SamePixels(drawn.Bitmap(), expected));
}

}  // namespace
}  // namespace gutter_test
