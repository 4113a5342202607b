// Capture To File on the real main window: what the file holds (received and typed bytes in the
// order they passed, never a file send), its ends (the menu, again, a disconnect) and a capture
// whose writes fail.
#include "FileSendFixture.h"

namespace filesend_test {
namespace {

class CaptureTest : public FileSendTest {
protected:
    void StartCapture(const std::string& Path)
    {
        ChooseFile(Path);
        Form1->miReceiveFileBinaryClick(Form1);
        ASSERT_NE(Transfer.CaptureFile, nullptr);
    }
    void PeerSends(const std::string& Bytes)
    {
        const std::int64_t before = Display.BytesIn;
        line.Write(Bytes);
        ASSERT_TRUE(WaitForBytesIn(before + std::int64_t(Bytes.size())));
    }
    void StartCaptureFails(const std::string& Path)
    {
        ChooseFile(Path);
        Form1->miReceiveFileBinaryClick(Form1);
    }
    // A key typed on the screen: captured, then sent.
    static void Type(char Key)
    {
        char key = Key;
        Form1->reScreenKeyPress(Form1->reScreen, key);
    }
    static void ExpectNoCapture()
    {
        EXPECT_EQ(Transfer.CaptureFile, nullptr);
        EXPECT_TRUE(Form1->miReceiveFileBinary->Visible());
        EXPECT_FALSE(Form1->miStopCapture->Visible());
    }
};

TEST_F(CaptureTest, HoldsReceivedAndTypedBytesInArrivalOrderButNoFileSend)
{
    const std::string path = InFolder("session.cap");
    StartCapture(path);
    EXPECT_EQ(Display.StatusMessageText, "Capturing to file: session.cap");
    EXPECT_FALSE(Form1->miReceiveFileBinary->Visible());
    EXPECT_TRUE(Form1->miStopCapture->Visible());

    PeerSends("abc");
    Type('x');
    PeerSends(std::string("d\0e", 3));
    Type('\xFF');
    // A file sent meanwhile goes to the port, not into the capture.
    EXPECT_EQ(line.ReadExactly(2, 5s), "x\xFF");
    const std::string sent = "not captured";
    PeerReader peer(line, sent.size());
    SendFileThroughMenu(MakeFile("sent.txt", sent));
    EXPECT_EQ(peer.Finish(), sent);
    PeerSends("f");

    Form1->miStopCaptureClick(Form1);
    ExpectNoCapture();
    // A second stop finds nothing to end.
    Form1->miStopCaptureClick(Form1);
    ExpectNoCapture();
    EXPECT_EQ(FileContents(path), std::string("abcxd\0e\xFF"
                                          "f",
                                          9));
}

TEST_F(CaptureTest, DisconnectClosesTheCaptureWithEverythingWritten)
{
    const std::string path = InFolder("cut.cap");
    StartCapture(path);
    PeerSends("hello");
    Form1->Connect_spbtnClick(Form1);
    ASSERT_FALSE(Connection.PortOpen);
    ExpectNoCapture();
    EXPECT_EQ(FileContents(path), "hello");
    // Closed for real: the file can go.
    EXPECT_TRUE(DeleteFileA(path.c_str()));
}

// A refused capture write used to raise inside the receive event, which ended the port's event
// thread: nothing more was received until a reconnect.
TEST_F(CaptureTest, AFailedWriteEndsTheCaptureNamingTheFileAndTheLineGoesOn)
{
    struct TRefusingCapture : TFileStream {
        using TFileStream::TFileStream;
        int Write(const void*, int) override { return 0; }
    };
    const std::string path = InFolder("refused.cap");
    StartCapture(path);
    delete Transfer.CaptureFile;
    Transfer.CaptureFile = new TRefusingCapture(path, fmCreate);
    script.Clear();

    PeerSends("abc");
    ExpectNoCapture();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text,
              "Capture stopped: the received and sent data could not be written to file:\n" + path);
    EXPECT_EQ(Boxes()[0].DlgType, mtError);
    PeerSends("more");
    EXPECT_EQ(Boxes().size(), 1u);
}

// A full disk shows only when the buffer goes to the system: the running status tick finds it.
TEST_F(CaptureTest, AFullDiskIsFoundByTheStatusTickWhichEndsTheCapture)
{
    const std::string path = "Z:\\dev\\full";
    StartCapture(path);
    script.Clear();
    PeerSends("buffered");
    ASSERT_TRUE(Form1->Timer2->Enabled());
    ASSERT_TRUE(qv::test::WaitUntil([] { return Transfer.CaptureFile == nullptr; }));
    ExpectNoCapture();
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text,
              "Capture stopped: the received and sent data could not be written to file:\n" + path);
}

TEST_F(CaptureTest, TheTickFlushPutsTheBytesInTheFileWhileTheCaptureRuns)
{
    const std::string path = InFolder("live.cap");
    StartCapture(path);
    PeerSends("now");
    Type('!');
    Form1->Timer2Timer(Form1->Timer2);
    EXPECT_EQ(FileContents(path), "now!");
    EXPECT_NE(Transfer.CaptureFile, nullptr);
}

TEST_F(CaptureTest, FilesThatCannotBeOpenedSayWhyAndNothingStarts)
{
    const std::string nowhere = InFolder("no such folder\\file.bin");
    StartCaptureFails(nowhere);
    SendFileThroughMenu(nowhere);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(boxes[0].Text, "Could not open file. File may be set to \"Read Only\"");
    EXPECT_EQ(boxes[1].Text, "Could not open file for reading:\n" + nowhere);
    EXPECT_EQ(boxes[1].DlgType, mtError);
    ExpectNoCapture();
    ExpectIdleWindow();
}

}  // namespace
}  // namespace filesend_test
