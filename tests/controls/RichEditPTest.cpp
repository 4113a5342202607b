// The screen rich edit under Wine: RTF and text streamed in and out (compared by text and
// colours, not bytes), the formatter's colour-prefix pieces appended at the end, stream
// errors, a megabyte of RTF, and the vertical-scroll event from both paths.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include <richedit.h>

#include "tests/support/GuiTestSupport.h"
#include "controls/RichEditP.h"
#include "framework/Exceptions.h"
#include "framework/gui/Form.h"
#include "tests/support/DialogScript.h"

namespace {

// A whole-screen document as the program loads it; the empty font entry is ";" because
// Wine drops everything after "{}" there.
const String ScreenHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{;}}"
    "{\\colortbl\\red000\\green000\\blue000;\\red0\\green0\\blue255;\\red0\\green150\\blue000;"
    "\\red255\\green050\\blue050;\\red100\\green100\\blue100;\\red255\\green0\\blue0;"
    "\\red255\\green255\\blue255;                         }\\fs24\\cf0 ";

// A single pasted byte as the display formatter writes it: a group that opens with the colour
// table (without the font table's closing braces), the colour word, the text, "}".
String ColourPiece(char digit, const String& text)
{
    return String("{{\\colortbl\\red000\\green000\\blue000;\\red0\\green0\\blue255;"
                  "\\red0\\green150\\blue000;"
                  "\\red255\\green050\\blue050;\\red100\\green100\\blue100;\\red255\\green0\\blue0;"
                  "\\red255\\green255\\blue255;                         }\\cf") +
           digit + ' ' + text + "}";
}

constexpr COLORREF BlackRgb = RGB(0, 0, 0), BlueRgb = RGB(0, 0, 255), GreenRgb = RGB(0, 150, 0),
                   LightRedRgb = RGB(255, 50, 50);

// Throws from Read or Write, as a failing file stream would.
class TFailingStream : public TMemoryStream {
public:
    int Read(void*, int) override { throw EReadError(String("disk gone")); }
    int Write(const void*, int) override { throw EWriteError(String("disk full")); }
};

class RichEditPTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 300);
        re = NewEdit();
        form->Show();
        PumpPending();
    }
    void TearDown() override
    {
        form.reset();
        PumpPending();
    }
    TRichEditP* NewEdit()
    {
        auto* e = new TRichEditP(form.get());
        e->SetParent(form.get());
        e->SetBounds(10, 10, 300, 120);
        return e;
    }
    static LRESULT Send(TRichEditP* e, UINT msg, WPARAM w = 0, LPARAM l = 0)
    {
        return SendMessageA(e->Handle(), msg, w, l);
    }

    // The text colour of every character that is not part of a line break.
    static std::vector<COLORREF> Colours(TRichEditP* e)
    {
        const String text = e->Text();
        std::vector<COLORREF> colours;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n') continue;
            colours.push_back(ColourAt(e, static_cast<int>(i)));
        }
        return colours;
    }
    static COLORREF ColourAt(TRichEditP* e, int pos)
    {
        Send(e, EM_SETSEL, pos, pos + 1);
        CHARFORMATA cf{};
        cf.cbSize = sizeof cf;
        cf.dwMask = CFM_COLOR;
        Send(e, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        return (cf.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : cf.crTextColor;
    }
    static void CaretToEnd(TRichEditP* e) { Send(e, EM_SETSEL, -1, -1); }

    std::unique_ptr<TForm> form;
    TRichEditP* re = nullptr;
};

TEST_F(RichEditPTest, PutRtfThenGetRtfRoundTripKeepsTextAndColours)
{
    re->PutRtf(ScreenHeader + "\\cf2 Rx\\par\r\\cf3 41 42\\par\r\\cf0 Tx\\cf1 0D}", false);
    ASSERT_EQ(re->Text(), "Rx\r\n41 42\r\nTx0D");
    const std::vector<COLORREF> expected{GreenRgb,    GreenRgb,    LightRedRgb, LightRedRgb,
                                         LightRedRgb, LightRedRgb, LightRedRgb, BlackRgb,
                                         BlackRgb,    BlueRgb,     BlueRgb};
    ASSERT_EQ(Colours(re), expected);

    TRichEditP* copy = NewEdit();
    copy->PutRtf(re->GetRtf(false), false);
    EXPECT_EQ(copy->Text(), re->Text());
    EXPECT_EQ(Colours(copy), expected);
}

TEST_F(RichEditPTest, ColourPiecePastedAsSelectionAppendsAtTheEndInItsColour)
{
    re->PutRtf(ScreenHeader + "\\cf2 AB}", false);
    CaretToEnd(re);
    re->PutRtf(ColourPiece('3', "C"), true);
    CaretToEnd(re);
    re->PutRtf(ColourPiece('0', "D"), true);
    CaretToEnd(re);
    // A piece that carries the formatter's line break sequence.
    re->PutRtf(ColourPiece('1', "E\\par\r\\cf2 F"), true);
    EXPECT_EQ(re->Text(), "ABCDE\r\nF");
    EXPECT_EQ(Colours(re), (std::vector<COLORREF>{GreenRgb, GreenRgb, LightRedRgb, BlackRgb,
                                                  BlueRgb, GreenRgb}));
}

TEST_F(RichEditPTest, PasteWithoutSelectionReplacesEverythingAndWithSelectionReplacesOnlyIt)
{
    re->PutRtf(ScreenHeader + "\\cf0 Hello world}", false);
    Send(re, EM_SETSEL, 6, 11);
    re->PutRtf(ColourPiece('2', "there"), true);
    EXPECT_EQ(re->Text(), "Hello there");
    re->PutRtf(ScreenHeader + "\\cf1 new}", false);
    EXPECT_EQ(re->Text(), "new");
}

TEST_F(RichEditPTest, EmptyPutRtfEmptiesTheControlAndReportsTheRejectedStream)
{
    // The 1.0 class takes only data that opens with "{" as RTF; a lone NUL is a stream error.
    re->PutRtf(ScreenHeader + "\\cf0 something}", false);
    try {
        re->PutRtf("", false);
        FAIL() << "no exception";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message, "Failed to load stream.");
    }
    EXPECT_EQ(re->Text(), "");
}

TEST_F(RichEditPTest, GetRtfIsExactlyTheBytesTheControlStreamed)
{
    re->PutRtf(ScreenHeader + "\\cf2 abc\\par\r\\cf3 def}", false);
    TMemoryStream stream;
    re->CopyToStream(&stream, false, false, false, false);
    const String rtf = re->GetRtf(false);
    EXPECT_EQ(rtf, stream.DataString());
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u);
    // Nothing is added, and the zero byte the control writes after its closing brace is not
    // kept: the rich text ends with the brace.
    EXPECT_EQ(rtf.find('\0'), String::npos);
    EXPECT_EQ(rtf.back(), '}');
}

TEST_F(RichEditPTest, CopyToStreamWritesTextOrRtfByTheFormatTable)
{
    re->PutRtf(ScreenHeader + "\\cf2 one\\par\r\\cf3 two}", false);
    auto copy = [&](bool selection, bool plainText, bool noObjects) {
        TMemoryStream s;
        s.WriteString("XY");  // the copy goes at the stream's position
        re->CopyToStream(&s, selection, plainText, noObjects, false);
        EXPECT_EQ(s.DataString().substr(0, 2), "XY");
        return s.DataString().substr(2);
    };
    EXPECT_EQ(copy(false, true, true), "one\r\ntwo");   // SF_TEXT
    EXPECT_EQ(copy(false, true, false), "one\r\ntwo");  // SF_TEXTIZED: no objects to textize
    EXPECT_EQ(copy(false, false, true).rfind("{\\rtf", 0), 0u);   // SF_RTFNOOBJS
    EXPECT_EQ(copy(false, false, false).rfind("{\\rtf", 0), 0u);  // SF_RTF
    Send(re, EM_SETSEL, 1, 3);
    EXPECT_EQ(copy(true, true, true), "ne");
}

TEST_F(RichEditPTest, PlainTextPasteTakesTextAsItIs)
{
    TMemoryStream s;
    s.WriteString("{\\rtf1 not parsed}");
    s.SetPosition(0);
    re->PasteFromStream(&s, false, true, false);
    EXPECT_EQ(re->Text(), "{\\rtf1 not parsed}");
}

TEST_F(RichEditPTest, PasteReadsFromTheStreamsCurrentPosition)
{
    TMemoryStream s;
    s.WriteString("skip" + ScreenHeader + "\\cf1 kept}");
    s.SetPosition(4);
    re->PasteFromStream(&s, false, false, false);
    EXPECT_EQ(re->Text(), "kept");
}

TEST_F(RichEditPTest, CopyRtfToPastesTheSelectionIntoTheOtherControl)
{
    re->PutRtf(ScreenHeader + "\\cf2 abc\\cf3 def}", false);
    TRichEditP* dest = NewEdit();
    dest->PutRtf(ScreenHeader + "\\cf0 [xx]}", false);
    Send(re, EM_SETSEL, 2, 4);
    Send(dest, EM_SETSEL, 1, 3);
    re->CopyRtfTo(*dest, true, true);
    EXPECT_EQ(dest->Text(), "[cd]");
    EXPECT_EQ(Colours(dest), (std::vector<COLORREF>{BlackRgb, GreenRgb, LightRedRgb, BlackRgb}));

    re->CopyRtfTo(*dest, false, false);
    EXPECT_EQ(dest->Text(), "abcdef");
}

TEST_F(RichEditPTest, StreamErrorsRaiseTheFixedTextsAndLeaveTheControlUsable)
{
    re->PutRtf(ScreenHeader + "\\cf0 before}", false);
    TFailingStream bad;
    try {
        re->PasteFromStream(&bad, false, false, false);
        FAIL() << "no exception";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message, "Failed to load stream.");
    }
    try {
        re->CopyToStream(&bad, false, false, false, false);
        FAIL() << "no exception";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message, "Failed to save stream.");
    }
    re->PutRtf(ScreenHeader + "\\cf0 after}", false);
    EXPECT_EQ(re->Text(), "after");
}

TEST_F(RichEditPTest, AMegabyteOfRtfStreamsInAndOutUnchanged)
{
    // Lines of 80 characters alternating between the received colours, well past the class's
    // default 32,767-character limit.
    String rtf = ScreenHeader, text;
    rtf.reserve(1100000);
    int lines = 0;
    while (rtf.size() < 1024 * 1024) {
        const char digit = lines % 2 ? '3' : '2';
        String line(80, static_cast<char>('A' + lines % 26));
        line.replace(0, 6, std::to_string(100000 + lines));
        rtf += String("\\cf") + digit + ' ' + line + "\\par\r";
        text += line + "\r\n";
        ++lines;
    }
    rtf += "\\cf0 end}";
    text += "end";

    // Wine's class does not cut streamed text at its default limit, Windows' does: the
    // raised limit is checked as well as the text.
    EXPECT_GE(Send(re, EM_GETLIMITTEXT), 0x7FFFFFF0);
    re->PutRtf(rtf, false);
    ASSERT_EQ(re->Text().size(), text.size());
    EXPECT_TRUE(re->Text() == text);

    TMemoryStream plain;
    re->CopyToStream(&plain, false, true, true, false);
    EXPECT_TRUE(plain.DataString() == text);

    TRichEditP* copy = NewEdit();
    copy->PutRtf(re->GetRtf(false), false);
    EXPECT_TRUE(copy->Text() == text);
    const int lastLine = (lines - 1) * 82;
    EXPECT_EQ(ColourAt(copy, 0), GreenRgb);
    EXPECT_EQ(ColourAt(copy, 82), LightRedRgb);
    EXPECT_EQ(ColourAt(copy, lastLine), (lines - 1) % 2 ? LightRedRgb : GreenRgb);
    EXPECT_EQ(ColourAt(copy, static_cast<int>(text.size()) - 1), BlackRgb);
}

class ScrollCounter : public TObject {
public:
    void VertScroll(TObject* Sender)
    {
        ++Count;
        LastSender = Sender;
    }
    int Count = 0;
    TObject* LastSender = nullptr;
};

// Scrolls by the scroll bar (WM_VSCROLL to the control: its own path, and the EN_VSCROLL the
// control then sends its parent) and by a message that scrolls without the scroll bar (only
// the notification's path); each movement must reach the handler.
void ExpectBothScrollPaths(TRichEditP* re, HWND parent, ScrollCounter& counter)
{
    counter.Count = 0;
    SendMessageA(re->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(counter.Count, 2);
    EXPECT_EQ(counter.LastSender, re);

    counter.Count = 0;
    SendMessageA(re->Handle(), EM_LINESCROLL, 0, 3);
    EXPECT_EQ(counter.Count, 1);

    // Other notifications reflected from the parent do not fire it.
    counter.Count = 0;
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(0, EN_CHANGE),
                 reinterpret_cast<LPARAM>(re->Handle()));
    EXPECT_EQ(counter.Count, 0);
}

TEST_F(RichEditPTest, OnVertScrollFiresFromTheScrollBarAndFromTheControlsNotification)
{
    ScrollCounter counter;
    re->OnVertScroll = Closure(&counter, &ScrollCounter::VertScroll);
    String rtf = ScreenHeader;
    for (int i = 0; i < 100; ++i) rtf += "\\cf2 line " + std::to_string(i) + "\\par\r";
    re->PutRtf(rtf + "}", false);
    ExpectBothScrollPaths(re, form->Handle(), counter);
    EXPECT_GT(Send(re, EM_GETFIRSTVISIBLELINE), 0);
}

TEST_F(RichEditPTest, OnVertScrollKeepsFiringAfterTheWindowIsRecreated)
{
    ScrollCounter counter;
    re->OnVertScroll = Closure(&counter, &ScrollCounter::VertScroll);
    String rtf = ScreenHeader;
    for (int i = 0; i < 100; ++i) rtf += "\\cf3 line " + std::to_string(i) + "\\par\r";
    re->PutRtf(rtf + "}", false);
    HWND before = re->Handle();

    re->SetBorderVisible(false);  // a changed border recreates the window
    ASSERT_NE(re->Handle(), before);
    EXPECT_TRUE(Send(re, EM_GETEVENTMASK) & ENM_SCROLL);
    EXPECT_GE(Send(re, EM_GETLIMITTEXT), 0x7FFFFFF0);
    ExpectBothScrollPaths(re, form->Handle(), counter);
    // The content, colours included, came through the recreation.
    EXPECT_EQ(re->Text().substr(0, 8), "line 0\r\n");
    EXPECT_EQ(ColourAt(re, 0), LightRedRgb);
}

TEST_F(RichEditPTest, SetAlignmentOnlyShowsItsMessage)
{
    TDialogScript script;
    re->PutRtf(ScreenHeader + "\\cf0 text}", false);
    re->SetAlignment(taCenter);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(script.Last().Text, "Alignment");
    PARAFORMAT pf{};
    pf.cbSize = sizeof pf;
    Send(re, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    EXPECT_NE(pf.wAlignment, PFA_CENTER);
}

}  // namespace
