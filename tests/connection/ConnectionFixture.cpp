// The connection tests' main window.
#include "ConnectionFixture.h"

#include "framework/Streams.h"

namespace connection_test {

void ConnectionTest::SetUp()
{
    MainWindowHarness::SetUp();
    StartDisconnected();
    ASSERT_TRUE(script.Shown().empty());
}

void ConnectionTest::Choose(TComboBox* Combo, const char* Item)
{
    Combo->SetItemIndex(Combo->Items()->IndexOf(Item));
    ASSERT_EQ(Combo->Text(), Item);
    Combo->OnChange(Combo);
}

bool ConnectionTest::MemoHas(const std::string& Line) const
{
    const String text = "\r\n" + Form1->Memo1->Text() + "\r\n";
    return text.find("\r\n" + Line + "\r\n") != String::npos;
}

void ConnectionTest::ExpectConnectedWindow() const
{
    EXPECT_TRUE(Connection.PortOpen);
    EXPECT_EQ(Connection.ConnectToggle(), 1);
    EXPECT_EQ(Form1->Connect_spbtn->Hint, "Disconnect");
    EXPECT_FALSE(Form1->Connect1_mi->Enabled());
    EXPECT_TRUE(Form1->Disconnect1_mi->Enabled());
    EXPECT_FALSE(Form1->PortIndex->Enabled());
    EXPECT_TRUE(Form1->edtSend->Enabled());
    EXPECT_TRUE(Form1->LED_RTS->Lit());
    EXPECT_TRUE(Form1->LED_DTR->Lit());
}

void ConnectionTest::ExpectDisconnectedWindow() const
{
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_FALSE(Connection.PortOpen);
    EXPECT_EQ(Connection.ConnectToggle(), 0);
    EXPECT_EQ(Form1->Connect_spbtn->Hint, "Connect");
    EXPECT_TRUE(Form1->Connect1_mi->Enabled());
    EXPECT_FALSE(Form1->Disconnect1_mi->Enabled());
    EXPECT_TRUE(Form1->PortIndex->Enabled());
    EXPECT_FALSE(Form1->edtSend->Enabled());
    EXPECT_FALSE(Form1->SendData_btn->Enabled());
    EXPECT_EQ(Form1->StatusBar1->Panels(0)->Text(), "Disconnected");
    for (TLEDLabel* lamp : {Form1->LED_RTS, Form1->LED_DTR, Form1->LED_BRK, Form1->LED_CTS,
                            Form1->LED_DSR, Form1->LED_RI, Form1->LED_DCD, Form1->LED_BRKD})
        EXPECT_FALSE(lamp->Lit()) << lamp->Name;
}

}  // namespace connection_test
