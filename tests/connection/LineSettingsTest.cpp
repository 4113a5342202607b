// Line settings changed from the tool bar: on an open port each reaches the device at once and
// the lines come back as the lamps show; equal values and a closed port change nothing (but the
// stop bits, which are always stored); a value the driver refuses is put back everywhere, so
// choosing it again retries; and the combos' keys.
#include "ConnectionFixture.h"

#include "framework/gui/Application.h"
#include "terminal/MainGlobals.h"

namespace connection_test {
namespace {

TEST_F(ConnectionTest, EachLiveChangeReachesTheDeviceAndRaisesTheLinesAgain)
{
    ConnectToLine();
    struct Case {
        TComboBox* combo;
        const char* item;
        bool newSession;
    };
    for (const Case& c :
         {Case{Form1->Baud, "19200", true}, Case{Form1->DataBitsBox, "7", true},
          Case{Form1->ParityBox, "ODD", true}, Case{Form1->StopBitsBox, "2", false}}) {
        SCOPED_TRACE(c.combo->Name + " " + c.item);
        Display.BytesIn = 7;
        const std::uint32_t changes = line.OutputChanges();
        Choose(c.combo, c.item);
        // The DCB write dropped both lines; they are up again.
        EXPECT_GE(line.OutputChanges(), changes + 2);
        EXPECT_TRUE(line.Dtr());
        EXPECT_TRUE(line.Rts());
        EXPECT_EQ(Display.BytesIn, c.newSession ? 0 : 7);
    }
    const qv::test::LineTermios t = line.ProgramTermios();
    EXPECT_EQ(t.baud, 19200u);
    EXPECT_EQ(t.dataBits, 7);
    EXPECT_EQ(t.parity, 'O');
    EXPECT_EQ(t.stopBits, 2);
    EXPECT_EQ(Settings.Baud, "19200");
    EXPECT_EQ(Settings.DataBits, "7");
    EXPECT_EQ(Settings.Parity, "NONE");  // parity is not written to the settings
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(ConnectionTest, LiveChangeRaisesOnlyTheLinesTheLampsShowRaised)
{
    ConnectToLine();
    Form1->Comm1->SetRTSState(false);
    Form1->LED_RTS->SetState(false);
    Choose(Form1->ParityBox, "EVEN");
    EXPECT_FALSE(line.Rts());
    EXPECT_TRUE(line.Dtr());
    EXPECT_FALSE(Form1->LED_RTS->Lit());
    EXPECT_TRUE(Form1->LED_DTR->Lit());
}

TEST_F(ConnectionTest, ChoosingTheValueInForceDoesNothing)
{
    ConnectToLine();
    Display.BytesIn = 5;
    DcbRecorder dcbs;
    Choose(Form1->Baud, "9600");
    Choose(Form1->DataBitsBox, "8");
    Choose(Form1->ParityBox, "NONE");
    EXPECT_EQ(dcbs.Writes(), 0);
    EXPECT_EQ(Display.BytesIn, 5);
}

TEST_F(ConnectionTest, OnAClosedPortOnlyTheStopBitsAreStored)
{
    Choose(Form1->Baud, "19200");
    Choose(Form1->DataBitsBox, "7");
    Choose(Form1->ParityBox, "EVEN");
    Choose(Form1->StopBitsBox, "2");
    EXPECT_EQ(Form1->Comm1->BaudRate(), 9600u);
    EXPECT_EQ(Form1->Comm1->DataBits(), db8);
    EXPECT_EQ(Form1->Comm1->Parity(), paNone);
    EXPECT_EQ(Form1->Comm1->StopBits(), sb20);
    EXPECT_EQ(Settings.Baud, "9600");
    // The next connect takes them all.
    ConnectToLine();
    const qv::test::LineTermios t = line.ProgramTermios();
    EXPECT_EQ(t.baud, 19200u);
    EXPECT_EQ(t.dataBits, 7);
    EXPECT_EQ(t.parity, 'E');
}

TEST_F(ConnectionTest, ARefusedSettingIsPutBackEverywhereAndChoosingItAgainRetries)
{
    ConnectToLine();
    struct Case {
        TComboBox* combo;
        const char* item;
        const char* old;
    };
    for (const Case& c :
         {Case{Form1->Baud, "38400", "9600"}, Case{Form1->DataBitsBox, "6", "8"},
          Case{Form1->ParityBox, "MARK", "NONE"}, Case{Form1->StopBitsBox, "2", "1"}}) {
        SCOPED_TRACE(c.combo->Name);
        {
            RefuseDcb refused;
            try {
                Choose(c.combo, c.item);
                ADD_FAILURE() << "the refusal was not reported";
            } catch (const std::exception& e) {
                EXPECT_STREQ(e.what(), "Error updating DataControlBlock (Error: 50)");
            }
        }
        EXPECT_EQ(c.combo->Text(), c.old);
        EXPECT_TRUE(line.Dtr());
        EXPECT_TRUE(line.Rts());
        // Chosen again with a driver that takes it, it is really applied.
        Choose(c.combo, c.item);
    }
    EXPECT_EQ(Form1->Comm1->BaudRate(), 38400u);
    EXPECT_EQ(Settings.Baud, "38400");
    EXPECT_EQ(Settings.DataBits, "6");
    const qv::test::LineTermios t = line.ProgramTermios();
    EXPECT_EQ(t.baud, 38400u);
    EXPECT_EQ(t.dataBits, 6);
    EXPECT_EQ(t.parity, 'M');
    EXPECT_EQ(t.stopBits, 2);
}

TEST_F(ConnectionTest, ARefusedSettingLeavesThePortAndSettingsWithTheValueInForce)
{
    ConnectToLine();
    {
        RefuseDcb refused;
        EXPECT_THROW(Choose(Form1->Baud, "57600"), std::exception);
        EXPECT_THROW(Choose(Form1->DataBitsBox, "7"), std::exception);
        EXPECT_THROW(Choose(Form1->ParityBox, "ODD"), std::exception);
    }
    EXPECT_EQ(Form1->Comm1->BaudRate(), 9600u);
    EXPECT_EQ(Form1->Comm1->DataBits(), db8);
    EXPECT_EQ(Form1->Comm1->Parity(), paNone);
    EXPECT_EQ(Settings.Baud, "9600");
    EXPECT_EQ(Settings.DataBits, "8");
    const qv::test::LineTermios t = line.ProgramTermios();
    EXPECT_EQ(t.baud, 9600u);
    EXPECT_EQ(t.dataBits, 8);
    EXPECT_EQ(t.parity, 'N');
}

TEST_F(ConnectionTest, DigitKeysInThePortComboChooseCom1ToCom9)
{
    HWND combo = Form1->PortIndex->Handle();
    SendMessageA(combo, WM_CHAR, '4', 0);
    EXPECT_EQ(Form1->PortIndex->Text(), "COM4");
    EXPECT_EQ(Form1->Comm1->DeviceName(), "COM4");
    SendMessageA(combo, WM_CHAR, '0', 0);
    EXPECT_EQ(Form1->PortIndex->Text(), "COM4");
    SendMessageA(combo, WM_CHAR, '9', 0);
    EXPECT_EQ(Form1->PortIndex->Text(), "COM9");
    EXPECT_EQ(Form1->Comm1->DeviceName(), "COM9");
}

TEST_F(ConnectionTest, SpaceOpensAndClosesTheListOfTheSettingCombos)
{
    for (TComboBox* c : {Form1->Baud, Form1->DataBitsBox, Form1->ParityBox, Form1->StopBitsBox}) {
        SCOPED_TRACE(c->Name);
        const String before = c->Text();
        SendMessageA(c->Handle(), WM_CHAR, ' ', 0);
        EXPECT_TRUE(c->DroppedDown());
        SendMessageA(c->Handle(), WM_CHAR, ' ', 0);
        EXPECT_FALSE(c->DroppedDown());
        EXPECT_EQ(c->Text(), before);
    }
}

}  // namespace
}  // namespace connection_test
