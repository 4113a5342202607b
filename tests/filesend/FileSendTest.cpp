// Send File on the real main window: the bytes at the peer, the counters, the progress texts,
// the window's state during and after a send, and its ends (the last byte, Stop, a disconnect,
// a port that refuses the data, a file that fails to be read).
#include "FileSendFixture.h"

#include <atomic>
#include <functional>
#include <thread>

#include "terminal/FileSendProgress.h"

extern "C" void* WriteFileSlot __asm__("__imp__WriteFile@20");

namespace filesend_test {
namespace {

// A byte per write held a megabyte to some two minutes: the send writes blocks, and still shows
// every twentieth.
TEST_F(FileSendTest, ALargeFileArrivesByteExactInBlocksWithTwentyProgressStepsAndASuccessBox)
{
    Form1->Comm1->SetBaudRate(921600);
    const std::string bytes = RandomBytes(1 << 20);
    const std::string path = MakeFile("mega.bin", bytes);
    PortWriteWatch watch;
    PeerReader peer(line, bytes.size());
    SendFileThroughMenu(path);
    const std::string arrived = peer.Finish();

    EXPECT_EQ(arrived.size(), bytes.size());
    EXPECT_TRUE(arrived == bytes);
    EXPECT_EQ(BytesSent(), std::int64_t(bytes.size()));
    EXPECT_LT(watch.Count(), int(bytes.size() / 100));
    // During the send: the bar shown, the entry pane hidden, the screen and the menus disabled.
    ASSERT_FALSE(watch.States().empty());
    const TWriteSnapshot& during = watch.States().front();
    EXPECT_TRUE(during.SendBarVisible);
    EXPECT_FALSE(during.EntryPaneVisible);
    EXPECT_FALSE(during.ScreenEnabled);
    EXPECT_TRUE(during.StopSendingVisible);
    EXPECT_FALSE(during.SendFileVisible);
    EXPECT_EQ(Form1->edtFile->Text(), "Sending file, " + path);
    // The start's 0 %, then one text per twentieth, each a higher percentage below 100.
    const std::vector<std::string> texts = watch.StatusTexts();
    ASSERT_EQ(texts.size(), 21u);
    EXPECT_EQ(texts[0], "File size: 1048576 bytes, Completed: 0%");
    int last = 0;
    for (size_t i = 1; i < texts.size(); ++i) {
        const std::string head = "File size: 1048576 bytes, Completed:";
        ASSERT_EQ(texts[i].substr(0, head.size()), head);
        const int percent = std::stoi(texts[i].substr(head.size()));
        EXPECT_GT(percent, last);
        EXPECT_LT(percent, 100);
        last = percent;
    }
    EXPECT_EQ(Display.StatusMessageText, "File size: 1048576 bytes, Completed:100%");

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Successfully sent 1048576 bytes from file:\n" + path);
    EXPECT_EQ(boxes[0].DlgType, mtInformation);
    ExpectIdleWindow();
}

// A device that echoes every byte, as the run command's line does, on a fast line: the send
// wrote on while the echo piled up unread, until the device waited for room to echo, took no
// more bytes, and the send's write never ended (the test then hangs until its time-out).
TEST_F(FileSendTest, AFileSentToADeviceThatEchoesEveryByteArrivesWholeAndItsEchoIsRead)
{
    Form1->Comm1->SetBaudRate(921600);
    const std::string bytes = RandomBytes(256 << 10);
    const std::string path = MakeFile("echoed.bin", bytes);
    const std::int64_t inBefore = Display.BytesIn;
    std::atomic<bool> ended{false};
    std::string arrived;
    std::thread device([&] {
        while (arrived.size() < bytes.size()) {
            const std::string got = line.Read(1 << 16, 200ms);
            if (got.empty() && ended) break;
            arrived += got;
            if (!got.empty()) line.Write(got);
        }
    });
    SendFileThroughMenu(path);
    ended = true;
    device.join();

    EXPECT_TRUE(arrived == bytes);
    EXPECT_EQ(BytesSent(), std::int64_t(bytes.size()));
    EXPECT_TRUE(WaitForBytesIn(inBefore + std::int64_t(bytes.size())));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text, "Successfully sent 262144 bytes from file:\n" + path);
}

TEST_F(FileSendTest, SmallFilesShowOnlyTheStartAndTheEndAndOneByteSaysByte)
{
    for (const std::string& bytes : {std::string("Z"), std::string("0123456789abcdefghi")}) {
        script.Clear();
        const std::string path = MakeFile("small.txt", bytes);
        const std::string size = std::to_string(bytes.size());
        PortWriteWatch watch;
        PeerReader peer(line, bytes.size());
        SendFileThroughMenu(path);
        EXPECT_EQ(peer.Finish(), bytes);

        EXPECT_EQ(watch.StatusTexts(),
                  std::vector<std::string>{"File size: " + size + " bytes, Completed: 0%"});
        EXPECT_EQ(Display.StatusMessageText, "File size: " + size + " bytes, Completed:100%");
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, "Successfully sent " + size +
                                     (bytes.size() == 1 ? " byte" : " bytes") + " from file:\n" +
                                     path);
        ExpectIdleWindow();
    }
}

TEST_F(FileSendTest, AnEmptyFileWarnsAndNeverShowsTheSendBar)
{
    const std::string path = MakeFile("empty.bin", "");
    PortWriteWatch watch;
    SendFileThroughMenu(path);

    EXPECT_EQ(watch.Count(), 0);
    EXPECT_EQ(Form1->edtFile->Text(), "");
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "File: " + path + " is empty\n0 bytes sent.");
    EXPECT_EQ(boxes[0].DlgType, mtWarning);
    EXPECT_EQ(BytesSent(), 0);
    ExpectIdleWindow();
}

// The virtual line, like a driver under Wine, takes whatever is written: a send that wrote as
// fast as it could ran far ahead of a slow line, and a Stop then waited for the line to drain.
TEST_F(FileSendTest, TheSendKeepsToThePaceOfTheLine)
{
    Form1->Comm1->SetBaudRate(9600);  // 960 bytes a second
    const std::string bytes = RandomBytes(2400);
    const std::string path = MakeFile("paced.bin", bytes);
    PortWriteWatch watch;
    PeerReader peer(line, bytes.size());
    SendFileThroughMenu(path);
    EXPECT_EQ(peer.Finish(), bytes);

    // Before each write, no more has gone than the line carried since the first, with room for
    // the longest lead (60 ms, and up to 200 ms more while the queue has long messages to
    // handle) and a block. A slow machine only writes later: it cannot fail this.
    const auto& writes = watch.Writes();
    ASSERT_FALSE(writes.empty());
    double before = 0;
    for (const auto& [at, count] : writes) {
        EXPECT_LE(before, (at - writes[0].first) * 960 + 0.260 * 960 + 19 + 1) << "at " << at;
        before += count;
    }
}

TEST_F(FileSendTest, StopDuringASendEndsSilentlyRestoresThePaneAndLeavesTheBarAtZero)
{
    const std::string bytes = RandomBytes(200000);
    const std::string path = MakeFile("half.bin", bytes);
    PeerReader peer(line, bytes.size(), 10000, Form1->miStopSending->Command());
    SendFileThroughMenu(path);
    const std::string arrived = peer.Finish();

    EXPECT_GE(arrived.size(), 10000u);
    EXPECT_LT(arrived.size(), bytes.size());
    EXPECT_TRUE(arrived == bytes.substr(0, arrived.size()));
    EXPECT_EQ(BytesSent(), std::int64_t(arrived.size()));
    EXPECT_TRUE(Boxes().empty());
    ExpectIdleWindow();
    EXPECT_TRUE(Form1->Comm1->Enabled());
}

TEST_F(FileSendTest, DisconnectDuringASendEndsItWithoutAMessage)
{
    const std::string bytes = RandomBytes(200000);
    const std::string path = MakeFile("cut.bin", bytes);
    PeerReader peer(line, bytes.size(), 10000, Form1->Disconnect1_mi->Command());
    SendFileThroughMenu(path);
    const std::string arrived = peer.Finish();

    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_FALSE(Connection.PortOpen);
    EXPECT_LT(arrived.size(), bytes.size());
    EXPECT_TRUE(arrived == bytes.substr(0, arrived.size()));
    EXPECT_TRUE(Boxes().empty());
    ExpectIdleWindow();
}

// The device pulled out during a send refuses the writes before the port's reader finds it gone:
// the send showed its own "the port did not accept the data" box under the lost device's.
TEST_F(FileSendTest, ADeviceLostDuringASendShowsOnlyTheLostDeviceBox)
{
    Form1->Comm1->SetBaudRate(115200);
    const std::string bytes = RandomBytes(200000);
    const std::string path = MakeFile("unplugged.bin", bytes);
    std::thread device([&] {
        size_t got = 0;
        while (got < 5000) got += line.Read(1 << 16, 200ms).size();
        line.Unplug();
    });
    SendFileThroughMenu(path);
    device.join();
    ASSERT_TRUE(qv::test::WaitUntil([] { return !Form1->Comm1->Enabled(); }, 10s));
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u) << boxes.back().Text;
    EXPECT_EQ(boxes[0].Text.rfind(MainText::DeviceLostHead + line.PortName(), 0), 0u)
        << boxes[0].Text;
    EXPECT_LT(BytesSent(), std::int64_t(bytes.size()));
    ExpectIdleWindow();
}

TEST_F(FileSendTest, ClosingTheWindowDuringASendEndsTheSendAndTheWindowCloses)
{
    const std::string bytes = RandomBytes(200000);
    const std::string path = MakeFile("closed.bin", bytes);
    script.Answer(mrYes);  // "You are currently connected ... disconnect now?"
    PeerReader peer(line, bytes.size(), 10000, Form1->FileExit->Command());
    SendFileThroughMenu(path);
    const std::string arrived = peer.Finish();

    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(Connection.PortOpen);
    EXPECT_LT(arrived.size(), bytes.size());
    EXPECT_TRUE(arrived == bytes.substr(0, arrived.size()));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text, MainText::DisconnectQuestion);
    EXPECT_EQ(Transfer.FileSend, nullptr);
}

// The port's refusal used to pass unseen: the loop went on and the success box followed. The
// bytes of the writes the port took count; those of the refused one do not.
TEST_F(FileSendTest, APortThatRefusesOrShortWritesEndsTheSendWithAnErrorAndNoSuccess)
{
    const std::string bytes = RandomBytes(1000);
    const std::string path = MakeFile("refused.bin", bytes);
    for (const bool shortWrites : {false, true}) {
        script.Clear();
        const std::int64_t before = Display.BytesOut;
        std::string arrived;
        {
            PortWriteWatch watch(3, shortWrites);
            PeerReader peer(line, bytes.size());
            SendFileThroughMenu(path);
            arrived = peer.Finish();
            EXPECT_EQ(watch.Count(), 4);
        }
        ASSERT_GT(arrived.size(), 3u);
        EXPECT_LT(arrived.size(), bytes.size());
        EXPECT_TRUE(arrived == bytes.substr(0, arrived.size()));
        EXPECT_EQ(Display.BytesOut - before, std::int64_t(arrived.size()));
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u) << shortWrites;
        EXPECT_EQ(boxes[0].Text, "Sending stopped: the port did not accept the data.\n" +
                                     std::to_string(arrived.size()) +
                                     " of 1000 bytes sent from file:\n" + path);
        EXPECT_EQ(boxes[0].DlgType, mtError);
        ExpectIdleWindow();
    }
}

// The "File Error" box as the send shows it, the send ended and the window back at rest.
void ExpectFileErrorEnd(const std::vector<TShownDialog>& Boxes)
{
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Kind, TDialogKind::MessageBox);
    EXPECT_EQ(Boxes[0].Text,
              "Can't perform one of the following file operations: Find, Read, Close.");
    EXPECT_EQ(Boxes[0].Caption, "File Error");
    EXPECT_EQ(Boxes[0].Flags & MB_TYPEMASK, UINT(MB_OKCANCEL));
    EXPECT_EQ(Display.StatusMessageText, "File Error");
}

// A pipe has no size to take: the send cannot start, and says so.
TEST_F(FileSendTest, AFileWhoseSizeCannotBeTakenEndsWithTheFileErrorBox)
{
    const std::string pipe = "\\\\.\\pipe\\qv-send-" + std::to_string(GetCurrentProcessId());
    HANDLE server = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096,
                                     4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    SendFileThroughMenu(pipe);
    CloseHandle(server);
    ExpectFileErrorEnd(Boxes());
    EXPECT_EQ(BytesSent(), 0);
    ExpectIdleWindow();
}

// Another program changing the file while it is sent: Change runs at the tenth port write.
struct {
    void* real = nullptr;
    int writes = 0;
    std::function<void()> Change;
} fileChange;

BOOL WINAPI ChangingWriteFile(HANDLE h, LPCVOID buffer, DWORD count, LPDWORD written,
                              LPOVERLAPPED overlapped)
{
    if (GetFileType(h) == FILE_TYPE_CHAR && ++fileChange.writes == 10) fileChange.Change();
    using Fn = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    return reinterpret_cast<Fn>(fileChange.real)(h, buffer, count, written, overlapped);
}

HANDLE OpenForOtherProgram(const std::string& Path, DWORD Access)
{
    return CreateFileA(Path.c_str(), Access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

// Runs Send with the file changed during it; what reached the peer.
template <class Line>
std::string SendWhileChanged(Line& On, std::size_t Expected, const std::function<void()>& Send)
{
    fileChange.writes = 0;
    qv::test::ApiPatch patch(&WriteFileSlot, reinterpret_cast<void*>(&ChangingWriteFile));
    fileChange.real = patch.Original();
    PeerReader peer(On, Expected);
    Send();
    return peer.Finish();
}

// Runs Send with the file at Path, whose Bytes grow by More during it (as another program appends
// them); what reached the peer.
template <class Line>
std::string SendWhileGrowing(Line& On, const std::string& Path, const std::string& Bytes,
                             const std::string& More, const std::function<void()>& Send)
{
    fileChange.Change = [&] {
        HANDLE file = OpenForOtherProgram(Path, FILE_APPEND_DATA);
        DWORD appended = 0;
        WriteFile(file, More.data(), DWORD(More.size()), &appended, nullptr);
        CloseHandle(file);
    };
    return SendWhileChanged(On, Bytes.size() + More.size(), Send);
}

// A file that gives fewer bytes than its size used to end the send quietly, as if stopped.
TEST_F(FileSendTest, AFileCutShortDuringTheSendEndsWithTheFileErrorBox)
{
    const std::string bytes = RandomBytes(20000);
    const std::string path = MakeFile("shrinking.bin", bytes);
    fileChange.Change = [&] {
        HANDLE file = OpenForOtherProgram(path, GENERIC_WRITE);
        SetEndOfFile(file);
        CloseHandle(file);
    };
    const std::string arrived =
        SendWhileChanged(line, bytes.size(), [&] { SendFileThroughMenu(path); });
    EXPECT_LT(arrived.size(), bytes.size());
    EXPECT_TRUE(arrived == bytes.substr(0, arrived.size()));
    ExpectFileErrorEnd(Boxes());
    ExpectIdleWindow();
}

// The send goes on to the file's end, as it is then, and that is a whole send: a file that grew
// used to end with the "File Error" box, then with no box at all while the status climbed to
// "Completed:150%". The share is of the file as it is now.
TEST_F(FileSendTest, AFileThatGrowsDuringTheSendGoesOutToItsNewEndWithTheCompletionBox)
{
    Form1->Comm1->SetBaudRate(921600);
    const std::string bytes = RandomBytes(64 << 10);
    const std::string more = RandomBytes(60000).substr(0, 40000) + "tail";
    const std::string path = MakeFile("growing.bin", bytes);
    PortWriteWatch watch;
    const std::string arrived =
        SendWhileGrowing(line, path, bytes, more, [&] { SendFileThroughMenu(path); });
    ASSERT_GE(fileChange.writes, 10);
    EXPECT_TRUE(arrived == bytes + more);
    EXPECT_EQ(BytesSent(), std::int64_t(arrived.size()));
    const std::string size = std::to_string(arrived.size());
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Successfully sent " + size + " bytes from file:\n" + path);
    EXPECT_EQ(boxes[0].DlgType, mtInformation);
    for (const std::string& text : watch.StatusTexts()) {
        const size_t colon = text.rfind(':');
        ASSERT_NE(colon, std::string::npos) << text;
        EXPECT_LE(std::stoi(text.substr(colon + 1)), 100) << text;
    }
    EXPECT_EQ(Display.StatusMessageText, "File size: " + size + " bytes, Completed:100%");
    ExpectIdleWindow();
}

// A file of twenty equal steps reaches its last mark at the size it had at the start: one that
// had grown meanwhile showed "Completed:100%" with a full bar while it went on, then dropped back.
TEST_F(FileSendTest, AFileThatGrowsDuringTheSendShowsAllOfItSentOnlyAtItsEnd)
{
    Form1->Comm1->SetBaudRate(921600);
    const std::string bytes = RandomBytes(64000);
    const std::string more = RandomBytes(50000);
    const std::string path = MakeFile("grows20.bin", bytes);
    PortWriteWatch watch;
    const std::string arrived =
        SendWhileGrowing(line, path, bytes, more, [&] { SendFileThroughMenu(path); });
    ASSERT_GE(fileChange.writes, 10);
    ASSERT_TRUE(arrived == bytes + more);
    ASSERT_GT(watch.States().size(), 1u);
    for (const TWriteSnapshot& at : watch.States()) {
        EXPECT_EQ(at.Status.find("Completed:100%"), std::string::npos) << at.Status;
        EXPECT_LT(at.Progress, at.ProgressMax) << at.Status;
    }
    EXPECT_EQ(Display.StatusMessageText,
              "File size: " + std::to_string(arrived.size()) + " bytes, Completed:100%");
    ExpectIdleWindow();
}

// The baud may be lowered on an open port during a send. The send's blocks were sized for the
// baud at its start: from 921,600 to 9,600 each took two seconds of the line, and the send slept
// through them with the window frozen, so a Stop waited for the block.
TEST_F(FileSendTest, StopAfterTheBaudWasLoweredDuringASendEndsItAtOnce)
{
    Form1->Comm1->SetBaudRate(921600);
    const std::string bytes = RandomBytes(1 << 20);
    const std::string path = MakeFile("slowed.bin", bytes);
    HWND baud = Form1->Baud->Handle();
    HWND stop = Form1->btnStopFileSend->Handle();
    const WPARAM slow = WPARAM(Form1->Baud->Items()->IndexOf("9600"));
    std::atomic<bool> ended{false};
    std::atomic<double> stopAt{0};
    std::string arrived;
    // The device: once 20,000 bytes came, the user picks 9,600 in the list; once a byte was sent
    // at that rate, the user clicks Stop.
    std::thread device([&] {
        bool slowed = false;
        for (;;) {
            const std::string got = line.Read(1 << 16, 200ms);
            if (got.empty() && ended) break;
            arrived += got;
            if (!slowed && arrived.size() >= 20000) {
                slowed = true;
                DWORD_PTR result = 0;
                SendMessageTimeoutA(baud, CB_SETCURSEL, slow, 0, SMTO_NORMAL, 30000, &result);
                SendMessageTimeoutA(GetParent(baud), WM_COMMAND,
                                    MAKEWPARAM(GetDlgCtrlID(baud), CBN_SELCHANGE), LPARAM(baud),
                                    SMTO_NORMAL, 30000, &result);
            }
            // The change started a new session: the counter counts from it.
            if (slowed && stopAt == 0 && Display.BytesOut > 0) {
                stopAt = std::chrono::duration<double>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count();
                PostMessageA(stop, BM_CLICK, 0, 0);
            }
        }
    });
    PortWriteWatch watch;
    SendFileThroughMenu(path);
    ended = true;
    device.join();

    EXPECT_EQ(Form1->Comm1->BaudRate(), 9600u);
    ASSERT_NE(stopAt.load(), 0);
    EXPECT_LT(arrived.size(), bytes.size());
    EXPECT_TRUE(arrived == bytes.substr(0, arrived.size()));
    // After the click, no more than a block sized for the fast line went out.
    unsigned long afterStop = 0;
    for (const auto& [at, count] : watch.Writes())
        if (at >= stopAt) afterStop += count;
    EXPECT_LT(afterStop, unsigned(FileSendBlockBytes(921600)));
    EXPECT_TRUE(Boxes().empty());
    ExpectIdleWindow();
}

TEST_F(FileSendTest, WithThePortClosedBothCommandsSayNotConnectedAndOpenNothing)
{
    Form1->Connect_spbtnClick(Form1);
    ASSERT_FALSE(Connection.PortOpen);
    script.Clear();
    Form1->miSendFileBinaryClick(Form1);
    Form1->miReceiveFileBinaryClick(Form1);
    ASSERT_EQ(script.Shown().size(), 2u);
    for (const auto& shown : script.Shown()) {
        EXPECT_EQ(shown.Text, MainText::NotConnected);
        EXPECT_EQ(shown.DlgType, mtInformation);
    }
    EXPECT_EQ(Transfer.FileSend, nullptr);
    EXPECT_EQ(Transfer.CaptureFile, nullptr);
}

}  // namespace
}  // namespace filesend_test
