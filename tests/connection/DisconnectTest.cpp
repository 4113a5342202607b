// Disconnecting: the port closes, the lines drop, all eight lamps go dark and the window shows
// "Disconnected"; from inside a receive handler too; and whatever runs on the connection (a loop
// reading PortOpen, a string-entry send reading Stop, a capture) ends with it; and a device that
// goes away while connected disconnects the same way.
#include "ConnectionFixture.h"

#include <atomic>
#include <thread>

#include "framework/Streams.h"

namespace connection_test {
namespace {

TEST_F(ConnectionTest, DisconnectClosesThePortDropsTheLinesAndDarkensAllEightLamps)
{
    ConnectToLine();
    for (TLEDLabel* lamp : {Form1->LED_BRK, Form1->LED_CTS, Form1->LED_DSR, Form1->LED_RI,
                            Form1->LED_DCD, Form1->LED_BRKD})
        lamp->SetState(true);
    Form1->Connect_spbtnClick(Form1);
    ExpectDisconnectedWindow();
    EXPECT_TRUE(MemoHas("Close " + line.DevicePath() + " OK"));
    EXPECT_TRUE(qv::test::WaitUntil([&] { return !line.Dtr() && !line.Rts(); }));
    // And round again.
    ConnectToLine();
    ExpectConnectedWindow();
}

TEST_F(ConnectionTest, DisconnectOfAPortClosedElsewhereOnlyResetsTheToggle)
{
    ConnectToLine();
    Form1->Comm1->Close();
    Form1->Connect_spbtnClick(Form1);
    EXPECT_TRUE(MemoHas("Port has not been opened!"));
    EXPECT_EQ(Connection.ConnectToggle(), 0);
    ConnectToLine();
    ExpectConnectedWindow();
}

// A receive handler that disconnects, as the display path's overload stop does.
class DisconnectingReceiver : public TObject {
public:
    void RxChar(TObject*, DWORD)
    {
        ++calls;
        if (disconnect) Form1->Connect_spbtnClick(Form1);
    }
    int calls = 0;
    bool disconnect = true;
};

TEST_F(ConnectionTest, DisconnectFromInsideTheReceiveHandlerEndsTheEvents)
{
    DisconnectingReceiver receiver;
    Form1->Comm1->OnRxChar = TCommRxCharEvent(&receiver, &DisconnectingReceiver::RxChar);
    ConnectToLine();
    line.Write("abc");
    ASSERT_TRUE(qv::test::WaitUntil([&] { return !Form1->Comm1->Enabled(); }));
    ExpectDisconnectedWindow();
    EXPECT_TRUE(qv::test::WaitUntil([&] { return !line.Dtr() && !line.Rts(); }));
    line.Write("more");
    qv::test::WaitUntil([] { return false; }, 200ms);
    EXPECT_EQ(receiver.calls, 1);
    // The port works again after such a close: events come (the bytes sent meanwhile first).
    receiver.disconnect = false;
    ConnectToLine();
    line.Write("x");
    EXPECT_TRUE(qv::test::WaitUntil([&] { return receiver.calls >= 2; }));
    EXPECT_TRUE(Form1->Comm1->Enabled());
    Form1->Comm1->OnRxChar = nullptr;
}

TEST_F(ConnectionTest, DisconnectEndsALoopOnPortOpenAStringSendAndACapture)
{
    ConnectToLine();
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string capture =
        std::string(temp) + "qv_conn_capture_" + std::to_string(GetCurrentProcessId()) + ".bin";
    Transfer.CaptureFile = new TFileStream(capture, fmCreate);
    Form1->Stop_btn->SetEnabled(true);

    // A send loop as the file sends run it: one byte, then the message queue, while PortOpen.
    // The disconnect arrives as the user's menu command among the queued messages.
    PostMessageA(Form1->Handle(), WM_COMMAND, Form1->Disconnect1_mi->Command(), 0);
    int passes = 0;
    char byte = 'z';
    while (Connection.PortOpen && passes < 100000) {
        Form1->Comm1->Write(&byte, 1);
        Application->ProcessMessages();
        ++passes;
    }
    EXPECT_LT(passes, 100000);
    ExpectDisconnectedWindow();
    EXPECT_FALSE(Form1->Stop_btn->Enabled());
    EXPECT_EQ(Transfer.CaptureFile, nullptr);
    // The capture file was really closed: it can be deleted now.
    EXPECT_TRUE(DeleteFileA(capture.c_str()));
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(ConnectionTest, ADeviceGoneDuringAFloodDisconnectsKeepingWhatCameAndNamesThePort)
{
    ConnectToLine();
    const std::string capture = InFolder("gone.bin");
    Transfer.CaptureFile = new TFileStream(capture, fmCreate);
    std::atomic<bool> flooding{true};
    std::thread peer([&] {
        std::string block;
        for (int i = 0; i < 40; ++i)
            block += "a line of text from the device " + std::to_string(i) + "\r\n";
        while (flooding) line.Write(block);
    });
    const bool came = qv::test::WaitUntil([&] { return Display.BytesIn > 100000; }, 20s);
    flooding = false;
    peer.join();
    ASSERT_TRUE(came);
    // Pulled with bytes still on their way.
    line.Unplug();
    ASSERT_TRUE(qv::test::WaitUntil([&] { return !Form1->Comm1->Enabled(); }, 10s))
        << "still shown connected";
    ExpectDisconnectedWindow();
    const std::vector<TShownDialog> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    const TShownDialog& box = boxes[0];
    EXPECT_EQ(box.DlgType, mtInformation);
    const String named = MainText::DeviceLostHead + line.PortName() + MainText::DeviceLostMiddle +
                         " (system error code: ";
    EXPECT_EQ(box.Text.rfind(named, 0), 0u) << box.Text;
    EXPECT_NE(box.Text.find(MainText::DeviceLostTail), String::npos) << box.Text;

    // What came stays: the screen (the display tick shows the last of it), the counter, and
    // every counted byte in the closed capture.
    EXPECT_EQ(Transfer.CaptureFile, nullptr);
    const std::int64_t counted = Display.BytesIn;
    EXPECT_TRUE(qv::test::WaitUntil([] {
        return Form1->reScreen->Text().find("a line of text from the device") != String::npos;
    }));
    EXPECT_EQ(Display.BytesIn, counted);
    {
        TFileStream file(capture, fmOpenRead);
        EXPECT_EQ(file.Size(), counted);
    }
    EXPECT_TRUE(DeleteFileA(capture.c_str()));
}

}  // namespace
}  // namespace connection_test
