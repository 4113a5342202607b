// The screen font and colour on the real main window: the settings font's checks at start-up,
// the font dialog's choice redrawing text already on the screen, a failed redraw, the
// installed-font look-up, the automatic line width and the background colour.
#include <string>

#include "framework/gui/InstalledFonts.h"
#include "terminal/MainGlobals.h"
#include "tests/support/BrokenScreenUpdates.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/ReceiveScreen.h"
#include "tests/support/BenchFonts.h"

namespace screenfont_test {
namespace {

using qv::test::ExpectedLines;
using qv::test::ScreenLines;
using qv::test::WaitForBytesIn;
using qv::test::WaitForQuietScreen;

using qv::test::BenchFixedFont;
using qv::test::BenchProportionalFont;

const char* const MissingFont = "Qv Invented Family";

// Widths of "X" and "'" in a font of that name, straight from the platform.
std::pair<int, int> MarkWidths(const char* Name)
{
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, Name);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE x{}, mark{};
    GetTextExtentPoint32A(dc, "X", 1, &x);
    GetTextExtentPoint32A(dc, "'", 1, &mark);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return {x.cx, mark.cx};
}

// The character format of one screen character.
CHARFORMATA CharFormatAt(int Position)
{
    HWND screen = Form1->reScreen->Handle();
    SendMessageA(screen, EM_SETSEL, Position, Position + 1);
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(screen, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

bool EndsWith(const std::string& Text, const std::string& Tail)
{
    return Text.size() >= Tail.size() &&
           Text.compare(Text.size() - Tail.size(), Tail.size(), Tail) == 0;
}

// A font dialog the user confirms with the given size and style (the name is kept).
std::function<bool(TCommonDialog&)> ChooseFont(int Size, TFontStyles Style)
{
    return [=](TCommonDialog& Dialog) {
        TFont* font = static_cast<TFontDialog&>(Dialog).Font();
        font->SetSize(Size);
        font->SetStyle(Style);
        return true;
    };
}

class ScreenFontTest : public qv::test::MainWindowHarness {
protected:
    // The bench's settings text with another font name.
    static std::string WithFont(std::string Text, const std::string& Name)
    {
        const std::string bench = std::string("FONT_NAME=") + BenchFixedFont;
        Text.replace(Text.find(bench), bench.size(), "FONT_NAME=" + Name);
        return Text;
    }
};

TEST(InstalledFonts, TheBenchHasAFixedPitchAndAProportionalFamily)
{
    ASSERT_GE(FindFontIndex(BenchFixedFont), 0);
    ASSERT_GE(FindFontIndex(BenchProportionalFont), 0);
    const auto fixed = MarkWidths(BenchFixedFont);
    const auto proportional = MarkWidths(BenchProportionalFont);
    EXPECT_EQ(fixed.first, fixed.second);
    EXPECT_NE(proportional.first, proportional.second);
}

TEST(InstalledFonts, AFamilyIsFoundInAnyLetterCaseAndAnInventedOneIsNot)
{
    const int index = FindFontIndex(BenchFixedFont);
    ASSERT_GE(index, 0);
    EXPECT_EQ(InstalledFontNames()[static_cast<size_t>(index)], BenchFixedFont);
    EXPECT_EQ(FindFontIndex("dejavu SANS mono"), index);
    EXPECT_EQ(FindFontIndex(MissingFont), -1);
    EXPECT_EQ(FindFontIndex(""), -1);
}

TEST_F(ScreenFontTest, DisplayModeSevenAndAMissingFontGiveTheFontMessageAndOneWarning)
{
    WriteTextFile(SettingsPath(), WithFont(SettingsText("9600"), MissingFont) +
                                      "[Display Section]\r\nDISPLAY_MODE=7\r\n");
    Display.DisplayMode = 2;
    StartMainWindow();

    ASSERT_EQ(script.Shown().size(), 2u);
    EXPECT_EQ(script.Shown()[0].Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(script.Shown()[0].Text, "Error - font name is incorrect or not found.");
    EXPECT_EQ(script.Shown()[1].DlgType, mtWarning);
    EXPECT_EQ(script.Shown()[1].Text,
              "Incorrect settings found for some options in configuration file:\n" +
                  SettingsPath() + "\n\nThese options will be set to use defaults.");
    EXPECT_EQ(Display.DisplayMode, 0);
    EXPECT_TRUE(Display.TextMode());
    EXPECT_EQ(Settings.DisplayMode, 0);
    // The missing font is not applied: the screen keeps its own, which the settings now name.
    EXPECT_EQ(Settings.FontName, Form1->reScreen->Font()->Name());
    EXPECT_NE(Settings.FontName, MissingFont);
    EXPECT_NE(Form1->reScreen->Font()->Size(), Settings.FontSize);
}

TEST_F(ScreenFontTest, AProportionalFontGetsOnlyItsOwnMessageAndTheOldFontStays)
{
    WriteTextFile(SettingsPath(), WithFont(SettingsText("9600"), BenchProportionalFont));
    const String before = "Courier New";  // the screen's font from the form data
    StartMainWindow();

    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(script.Last().Text,
              "Error - font in configuration is not\na fixed pitch font. Using defaults.");
    EXPECT_EQ(Form1->reScreen->Font()->Name(), before);
    EXPECT_EQ(Settings.FontName, before);
}

TEST_F(ScreenFontTest, BoldItalicTenPointsRebuildTheHeaderAndRedrawTheTextKeepingItsColours)
{
    Start(1, 70);
    EXPECT_EQ(Form1->reScreen->Font()->Name(), BenchFixedFont);
    line.Write(std::string("ab\x01", 3));
    ASSERT_TRUE(WaitForBytesIn(3));
    ASSERT_TRUE(WaitForQuietScreen());
    const auto before = ScreenLines();
    ASSERT_EQ(before, ExpectedLines(std::string("ab\x01", 3), 1, 70, 100));

    int minSize = 0, maxSize = 0;
    String offered;
    script.AnswerDialog([&](TCommonDialog& Dialog) {
        auto& fonts = static_cast<TFontDialog&>(Dialog);
        minSize = fonts.MinFontSize;
        maxSize = fonts.MaxFontSize;
        offered = fonts.Font()->Name();
        return ChooseFont(10, TFontStyles{fsBold, fsItalic})(Dialog);
    });
    Form1->EditFontClick(Form1);

    EXPECT_EQ(minSize, 7);
    EXPECT_EQ(maxSize, 48);
    EXPECT_EQ(offered, BenchFixedFont);
    EXPECT_TRUE(EndsWith(Display.RtfHeader, "\\b\\i\\fs20 ")) << Display.RtfHeader;
    EXPECT_EQ(Settings.FontSize, 10);
    EXPECT_TRUE(Settings.FontStyle.Contains(fsBold) && Settings.FontStyle.Contains(fsItalic));
    EXPECT_EQ(ScreenLines(), before);

    const CHARFORMATA text = CharFormatAt(0);
    EXPECT_STREQ(text.szFaceName, BenchFixedFont);
    EXPECT_EQ(text.yHeight, 200);
    EXPECT_TRUE(text.dwEffects & CFE_BOLD);
    EXPECT_TRUE(text.dwEffects & CFE_ITALIC);
    EXPECT_EQ(text.crTextColor, RGB(0, 150, 0));
    const CHARFORMATA hexCell = CharFormatAt(3);
    EXPECT_EQ(hexCell.yHeight, 200);
    EXPECT_EQ(hexCell.crTextColor, RGB(255, 50, 50));
    const size_t end = Form1->reScreen->Text().size();

    // Cancel changes nothing.
    const String header = Display.RtfHeader;
    script.Cancel();
    Form1->EditFontClick(Form1);
    EXPECT_EQ(Display.RtfHeader, header);
    EXPECT_EQ(Settings.FontSize, 10);
    EXPECT_EQ(Form1->reScreen->Text().size(), end);
}

TEST_F(ScreenFontTest, AFailedRedrawSaysSoAndTheNextFontChangeShowsTheScreenAgain)
{
    Start(2, 70);
    line.Write("abc");
    ASSERT_TRUE(WaitForBytesIn(3));
    ASSERT_TRUE(WaitForQuietScreen());
    const auto before = ScreenLines();

    qv::test::BrokenScreenUpdates broken(1);
    script.AnswerDialog(ChooseFont(12, TFontStyles{}));
    Form1->EditFontClick(Form1);
    EXPECT_EQ(script.Last().Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(script.Last().Text, "Error Updating Screen");
    EXPECT_EQ(Form1->reScreen->Text(), "");
    EXPECT_TRUE(EndsWith(Display.RtfHeader, "\\fs24 "));

    script.AnswerDialog(ChooseFont(11, TFontStyles{}));
    Form1->EditFontClick(Form1);
    EXPECT_EQ(script.Last().Kind, TDialogKind::Common);
    EXPECT_EQ(ScreenLines(), before);
    EXPECT_EQ(CharFormatAt(0).yHeight, 220);
}

TEST_F(ScreenFontTest, AutomaticColumnsFollowTheWindowAndTheFontSize)
{
    WriteTextFile(SettingsPath(),
                  WithFont(SettingsText("9600"), std::string(BenchFixedFont) + "\r\nFONT_SIZE=10") +
                      "[Display Section]\r\nCOLUMNS=30\r\nAUTO_ADJUST_COLS=1\r\n");
    StartMainWindow();
    Form1->Show();
    ASSERT_TRUE(script.Shown().empty());

    Form1->SetWidth(700);
    const std::uint32_t narrow = Display.CharsPerLine;
    Form1->SetWidth(1000);
    const std::uint32_t wide = Display.CharsPerLine;
    EXPECT_GT(narrow, 4u);
    EXPECT_GT(wide, narrow);
    EXPECT_LE(wide, 90u);
    EXPECT_EQ(Settings.Columns, static_cast<std::int32_t>(wide));

    script.AnswerDialog(ChooseFont(20, TFontStyles{}));
    Form1->EditFontClick(Form1);
    EXPECT_LT(Display.CharsPerLine, wide);
    EXPECT_EQ(Settings.Columns, static_cast<std::int32_t>(Display.CharsPerLine));

    // Fixed columns stay as set, whatever the width.
    Settings.AutoAdjustCols = false;
    Settings.Columns = 30;
    Form1->SetWidth(600);
    EXPECT_EQ(Display.CharsPerLine, 30u);
}

// Every line of Hexadecimal mode is full: at the automatic width each one must lie inside the
// screen, before and after the vertical scroll bar comes, or the view slides sideways at every
// line end (at 700 pixels the width's margin left a full line 5 pixels too wide).
TEST_F(ScreenFontTest, FullLinesOfTheAutomaticWidthLieInsideTheScreen)
{
    Start(2, 0);
    HWND screen = Form1->reScreen->Handle();
    auto x = [&](int Position) {
        POINTL at{};
        SendMessageA(screen, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), Position);
        return static_cast<int>(at.x);
    };

    for (int width : {700, 757, 830}) {
        Form1->SetWidth(width);
        Form1->Clear_spbtnClick(Form1);
        // Sixty full lines of cells: more than the screen shows.
        const std::int64_t before = Display.BytesIn;
        const std::string bytes(Display.CharsPerLine * 60 / 4, '\x5A');
        line.Write(bytes);
        ASSERT_TRUE(WaitForBytesIn(before + static_cast<std::int64_t>(bytes.size())));
        ASSERT_TRUE(WaitForQuietScreen());
        ASSERT_NE(GetWindowLongA(screen, GWL_STYLE) & WS_VSCROLL, 0) << width;

        EXPECT_EQ(GetScrollPos(screen, SB_HORZ), 0) << width;
        RECT format{};
        SendMessageA(screen, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        const int first = static_cast<int>(SendMessageA(screen, EM_LINEINDEX, 1, 0));
        const int length = static_cast<int>(SendMessageA(screen, EM_LINELENGTH, first, 0));
        ASSERT_EQ(length, static_cast<int>(Display.CharsPerLine)) << width;
        const int cell = x(first + 1) - x(first);
        EXPECT_LE(x(first + length - 1) + cell, format.right)
            << width << " px, " << Display.CharsPerLine << " columns";
    }
}

TEST_F(ScreenFontTest, TheBackgroundColourChangesForTheRunOnlyWhenConfirmed)
{
    WriteTextFile(SettingsPath(), SettingsText("9600"));
    StartMainWindow();
    const TSettings settings = Settings;

    script.AnswerDialog([](TCommonDialog& Dialog) {
        static_cast<TColorDialog&>(Dialog).Color = clYellow;
        return true;
    });
    Form1->Background1Click(Form1);
    EXPECT_EQ(Form1->reScreen->Color(), clYellow);
    // The control itself took it: setting it again returns the colour it had.
    EXPECT_EQ(SendMessageA(Form1->reScreen->Handle(), EM_SETBKGNDCOLOR, 0, RGB(255, 255, 0)),
              RGB(255, 255, 0));

    script.Cancel();
    Form1->Background1Click(Form1);
    EXPECT_EQ(Form1->reScreen->Color(), clYellow);
    EXPECT_EQ(Settings.FontName, settings.FontName);
}

}  // namespace
}  // namespace screenfont_test
