// Line errors: each kind the peer injects is named in the status bar's message panel, which
// blinks it; the words of several errors come in a fixed order, joined by commas.
#include "ModemLinesFixture.h"

namespace modemlines_test {
namespace {

TEST_F(ModemLinesTest, EachLineErrorFromThePeerIsNamedInTheMessagePanelAndBlinks)
{
    ConnectToLine();
    // Known once the port is open; without it every error reads as UNDEFINED/BREAK.
    ASSERT_TRUE(line.ClearCommErrorReportsErrors());
    struct {
        void (qv::test::VirtualLine::*inject)();
        std::string text;
    } const cases[] = {{&qv::test::VirtualLine::InjectFrameError, "Comms Error: FRAME"},
                       {&qv::test::VirtualLine::InjectParityError, "Comms Error: RXPARITY"},
                       {&qv::test::VirtualLine::InjectOverrun, "Comms Error: OVERRUN"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WaitForLineWait());
        (line.*c.inject)();
        EXPECT_TRUE(qv::test::WaitUntil([&] { return Panel(4) == c.text; })) << c.text;
        EXPECT_TRUE(qv::test::WaitUntil([&] { return Panel(4) == "     "; })) << c.text;
        EXPECT_TRUE(qv::test::WaitUntil([&] { return Panel(4) == c.text; })) << c.text;
    }
    EXPECT_TRUE(Form1->Comm1->Enabled());
}

TEST_F(ModemLinesTest, TheWordsOfSeveralErrorsComeInFixedOrderJoinedByCommasAndNoneIsUndefined)
{
    ConnectToLine();
    struct {
        int errors;
        std::string text;
    } const cases[] = {
        {0, "Comms Error: UNDEFINED/BREAK"},
        {CE_RXOVER | CE_RXPARITY | CE_BREAK, "Comms Error: RXOVER, RXPARITY, BREAK"},
        // Bits without a word are left out.
        {CE_TXFULL | CE_FRAME | CE_OVERRUN | CE_DNS, "Comms Error: OVERRUN, FRAME, TXFULL"},
        {CE_IOE, "Comms Error:"},
    };
    for (const auto& c : cases) {
        Connection.CommErrorTicks = 3;
        Form1->Comm1Error(Form1->Comm1, c.errors);
        EXPECT_EQ(Connection.CommErrorText, c.text);
        EXPECT_EQ(Display.StatusMessageText, c.text);
        EXPECT_EQ(Connection.CommErrorTicks, 0);
    }
}

}  // namespace
}  // namespace modemlines_test
