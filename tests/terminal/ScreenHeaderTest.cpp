// The formatter's real RTF on the real screen control under Wine: a whole-screen load that
// starts with RtfHeader shows the text in the screen colours, and single pasted pieces that
// start with the colour prefixes append at the end in theirs.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <richedit.h>

#include "tests/support/GuiTestSupport.h"
#include "FormatterFixture.h"
#include "controls/RichEditP.h"
#include "framework/gui/Form.h"

namespace {

constexpr COLORREF BlackRgb = RGB(0, 0, 0), BlueRgb = RGB(0, 0, 255), GreenRgb = RGB(0, 150, 0),
                   LightRedRgb = RGB(255, 50, 50);

class ScreenHeaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 500, 300);
        screen = new TRichEditP(form.get());
        screen->SetParent(form.get());
        screen->SetBounds(0, 0, 480, 260);
        form->Show();
        PumpPending();
    }
    void TearDown() override
    {
        form.reset();
        PumpPending();
    }

    std::vector<COLORREF> Colours()
    {
        const String text = screen->Text();
        std::vector<COLORREF> colours;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') continue;
            SendMessageA(screen->Handle(), EM_SETSEL, i, i + 1);
            CHARFORMATA cf{};
            cf.cbSize = sizeof cf;
            cf.dwMask = CFM_COLOR;
            SendMessageA(screen->Handle(), EM_GETCHARFORMAT, SCF_SELECTION,
                         reinterpret_cast<LPARAM>(&cf));
            colours.push_back((cf.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT)
                                                             : cf.crTextColor);
        }
        return colours;
    }

    void PasteAtEnd(const String& rtf)
    {
        SendMessageA(screen->Handle(), EM_SETSEL, -1, -1);
        screen->PutRtf(rtf, true);
    }

    std::unique_ptr<TForm> form;
    TRichEditP* screen = nullptr;
};

TEST_F(ScreenHeaderTest, WholeScreenLoadFromTheRealHeaderShowsTextAndColours)
{
    ResetFormatterState(1);
    String body = FormatBlock("Rx\r\x01") + FormatBlock("ok", 1);
    screen->PutRtf(Display.RtfHeader + body + "}", false);

    EXPECT_EQ(screen->Text(), "Rx<0D>\r\n<01>ok");
    EXPECT_EQ(Colours(), (std::vector<COLORREF>{GreenRgb, GreenRgb, LightRedRgb, LightRedRgb,
                                                LightRedRgb, LightRedRgb, LightRedRgb, LightRedRgb,
                                                LightRedRgb, LightRedRgb, BlackRgb, BlackRgb}));
}

TEST_F(ScreenHeaderTest, HeaderAfterAScreenFontChangeStillLoads)
{
    SetRtfHeaderFont(true, true, 14);
    ResetFormatterState(2);
    screen->PutRtf(Display.RtfHeader + FormatBlock("A", 1) + "}", false);
    EXPECT_EQ(screen->Text(), "<41>");
    EXPECT_EQ(Colours(), (std::vector<COLORREF>(4, BlueRgb)));
    SetRtfHeaderFont(false, false, 10);
}

TEST_F(ScreenHeaderTest, EachColourPrefixPieceAppendsAtTheEndInItsColour)
{
    screen->PutRtf(Display.RtfHeader + "}", false);
    PasteAtEnd(TxTextPrefix + "a}");
    PasteAtEnd(TxHexPrefix + "b}");
    PasteAtEnd(RxTextPrefix + "c}");
    PasteAtEnd(RxHexPrefix + "d}");
    EXPECT_EQ(screen->Text(), "abcd");
    EXPECT_EQ(Colours(), (std::vector<COLORREF>{BlackRgb, BlueRgb, GreenRgb, LightRedRgb}));
}

}  // namespace
