// The lamps: input lines the peer raises and drops light and darken theirs, a break from the
// peer lights BRKD for one timer interval, and F7/F8/F9 and the lamp clicks drive DTR, RTS and
// BREAK on the line, lamp after port, and never on a closed port or against a refusal.
#include <chrono>

#include "ModemLinesFixture.h"

namespace modemlines_test {
namespace {

struct InputCase {
    const char* name;
    void (qv::test::VirtualLine::*set)(bool);
    TLEDLabel* TForm1::*lamp;
};

TEST_F(ModemLinesTest, EachInputLineRaisedAndDroppedByThePeerLightsAndDarkensItsLamp)
{
    ConnectToLine();
    // The status tick polls RI: stopped, so every lamp here follows the port's events alone.
    Form1->Timer2->SetEnabled(false);
    const InputCase cases[] = {{"CTS", &qv::test::VirtualLine::SetCts, &TForm1::LED_CTS},
                               {"DSR", &qv::test::VirtualLine::SetDsr, &TForm1::LED_DSR},
                               {"RI", &qv::test::VirtualLine::SetRi, &TForm1::LED_RI},
                               {"DCD", &qv::test::VirtualLine::SetDcd, &TForm1::LED_DCD}};
    for (const InputCase& c : cases) {
        TLEDLabel* lamp = Form1->*c.lamp;
        ASSERT_FALSE(lamp->Lit()) << c.name;
        ASSERT_TRUE(WaitForLineWait());
        (line.*c.set)(true);
        EXPECT_TRUE(qv::test::WaitUntil([&] { return lamp->Lit(); })) << c.name;
        ASSERT_TRUE(WaitForLineWait());
        (line.*c.set)(false);
        EXPECT_TRUE(qv::test::WaitUntil([&] { return !lamp->Lit(); })) << c.name;
    }
}

TEST_F(ModemLinesTest, ABreakFromThePeerLightsBrkdForOneTimerIntervalThenTheTimerStops)
{
    ConnectToLine();
    ASSERT_TRUE(WaitForLineWait());
    line.InjectBreak();
    ASSERT_TRUE(qv::test::WaitUntil([&] { return Form1->LED_BRKD->Lit(); }));
    const auto lit = std::chrono::steady_clock::now();
    EXPECT_TRUE(Form1->Timer_BRKD->Enabled());
    ASSERT_TRUE(qv::test::WaitUntil([&] { return !Form1->LED_BRKD->Lit(); }, 6s));
    const auto shown = std::chrono::steady_clock::now() - lit;
    EXPECT_GE(shown, 1500ms);  // not at once: one interval, give or take the wait's own delay
    EXPECT_LT(shown, 4s);
    EXPECT_FALSE(Form1->Timer_BRKD->Enabled());
    EXPECT_FALSE(line.Break());
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(ModemLinesTest, ReleasingADetectedBreakDarkensTheBreakTheUserHeldToo)
{
    ConnectToLine();
    PressKey(VK_F9);
    ASSERT_TRUE(qv::test::WaitUntil([&] { return line.Break(); }));
    ASSERT_TRUE(Form1->LED_BRK->Lit());
    ASSERT_TRUE(WaitForLineWait());
    line.InjectBreak();
    ASSERT_TRUE(qv::test::WaitUntil([&] { return Form1->LED_BRKD->Lit(); }));
    ASSERT_TRUE(qv::test::WaitUntil([&] { return !Form1->LED_BRKD->Lit(); }, 6s));
    // Before the mend BRK stayed lit over a clear line, and the next F9 "cleared" it again.
    EXPECT_FALSE(line.Break());
    EXPECT_FALSE(Form1->LED_BRK->Lit());
    PressKey(VK_F9);
    EXPECT_TRUE(qv::test::WaitUntil([&] { return line.Break() && Form1->LED_BRK->Lit(); }));
}

struct OutputCase {
    const char* name;
    WORD key;
    TLEDLabel* TForm1::*lamp;
    bool qv::test::LineOutputs::*output;
};
const OutputCase Outputs[] = {{"DTR", VK_F7, &TForm1::LED_DTR, &qv::test::LineOutputs::dtr},
                              {"RTS", VK_F8, &TForm1::LED_RTS, &qv::test::LineOutputs::rts},
                              {"BRK", VK_F9, &TForm1::LED_BRK, &qv::test::LineOutputs::brk}};

TEST_F(ModemLinesTest, EachKeyAndEachClickSwitchesItsLineAndTwiceRestoresIt)
{
    ConnectToLine();
    for (const OutputCase& c : Outputs) {
        TLEDLabel* lamp = Form1->*c.lamp;
        const bool before = line.Outputs().*c.output;
        ASSERT_EQ(lamp->Lit(), before) << c.name;
        for (bool byKey : {true, false}) {
            for (int press = 1; press <= 2; ++press) {
                const bool expected = press == 1 ? !before : before;
                if (byKey)
                    PressKey(c.key);
                else
                    ClickLamp(lamp);
                EXPECT_TRUE(qv::test::WaitUntil([&] {
                    return line.Outputs().*c.output == expected && lamp->Lit() == expected;
                })) << c.name
                    << (byKey ? " key, press " : " click, press ") << press;
            }
        }
    }
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(ModemLinesTest, ARefusedSwitchLeavesTheLampAndShowsThePortsErrorText)
{
    ConnectToLine();
    {
        qv::test::RefuseEscape refuse(CLRRTS);
        PressKey(VK_F8);
        ClickLamp(Form1->LED_RTS);
    }
    ASSERT_EQ(script.Shown().size(), 2u);
    for (const TShownDialog& shown : script.Shown())
        EXPECT_EQ(shown.Text, "EscapeCommFunction failure (Error: 50)");
    EXPECT_TRUE(Form1->LED_RTS->Lit());
    EXPECT_TRUE(line.Rts());
}

TEST_F(ModemLinesTest, OnAClosedPortTheKeysAndClicksDoNothing)
{
    for (const OutputCase& c : Outputs) {
        PressKey(c.key);
        ClickLamp(Form1->*c.lamp);
        EXPECT_FALSE((Form1->*c.lamp)->Lit()) << c.name;
    }
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_EQ(line.OutputChanges(), 0u);
}

}  // namespace
}  // namespace modemlines_test
