// The status tick: the time since the connect in the first panel from the first tick on, the
// midnight text once the day has turned, and the RI lamp following the ring line by polling.
#include "ModemLinesFixture.h"
#include "framework/DateTime.h"

namespace modemlines_test {
namespace {

TDateTime clockNow = 0;
TDateTime TestClock() { return clockNow; }

class StatusTickTest : public ModemLinesTest {
protected:
    void SetUp() override
    {
        clockNow = EncodeDate(2026, 12, 7) + EncodeTime(23, 0, 0, 0);
        SetClock(&TestClock);
        ModemLinesTest::SetUp();
    }
    void TearDown() override
    {
        ModemLinesTest::TearDown();
        SetClock(nullptr);
    }
};

TEST_F(StatusTickTest, TheFirstPanelCountsTheTimeSinceTheConnectUntilMidnightNullifiesIt)
{
    ConnectToLine();
    EXPECT_TRUE(qv::test::WaitUntil([&] { return Panel(0) == "Connected 0:00:00"; }));

    clockNow += EncodeTime(0, 59, 7, 999);
    Form1->Timer2Timer(Form1);
    EXPECT_EQ(Panel(0), "Connected 0:59:07");

    clockNow = EncodeDate(2026, 12, 8) + EncodeTime(0, 0, 1, 0);
    Form1->Timer2Timer(Form1);
    EXPECT_EQ(Panel(0), "Connected - time nullified!");
    EXPECT_EQ(Form1->StatusBar1->Panels(0)->Width(), 128);

    Form1->Connect_spbtnClick(Form1);
    EXPECT_EQ(Panel(0), "Disconnected");
    Form1->Timer2Timer(Form1);
    EXPECT_EQ(Panel(0), "Disconnected");
    ConnectToLine();
    clockNow += EncodeTime(10, 0, 0, 0);
    Form1->Timer2Timer(Form1);
    EXPECT_EQ(Panel(0), "Connected 10:00:00");
}

TEST_F(StatusTickTest, TheRiLampFollowsTheRingLineByTheTickAlone)
{
    ConnectToLine();
    line.SetRi(true);
    ASSERT_TRUE(qv::test::WaitUntil([&] { return Form1->LED_RI->Lit(); }));
    Form1->LED_RI->SetState(false);
    Form1->Timer2Timer(Form1);
    EXPECT_TRUE(Form1->LED_RI->Lit());
    Form1->Comm1->Close();
    Form1->Timer2Timer(Form1);
    EXPECT_FALSE(Form1->LED_RI->Lit());
}

}  // namespace
}  // namespace modemlines_test
