// Send File while the user works in the program's own modal loops: a menu dropped down with the
// keyboard and then left armed after one Esc, a modal form (the About box) and a system dialog
// (the capture's save dialog). The line must go on getting bytes in each, as a device with a
// receive time-out needs.
#include "FileSendFixture.h"

#include <atomic>
#include <functional>
#include <thread>

#include "dialogs/AboutBox.h"
#include "framework/gui/CommonDialogs.h"

namespace filesend_test {
namespace {

using qv::test::PeerReader;
using qv::test::ShownDialog;

// What comes in a quarter second at 115,200 baud, and the time allowed for it (a send held by the
// modal loop sends nothing at all).
constexpr size_t Quarter = 2880;
constexpr double Allowed = 20;

// The send's own file choice, which the script answers; the other common dialogs are the
// platform's, as a user meets them.
bool TheSendsFileChoice(const TCommonDialog& Dialog) { return &Dialog == Form1->sendOpenDialog; }

class SendUnderModalTest : public FileSendTest {
protected:
    void SetUp() override
    {
        FileSendTest::SetUp();
        Form1->Comm1->SetBaudRate(115200);
        mainThread_ = GetCurrentThreadId();
    }

    // Sends Bytes through the menu command while User acts from its own thread, as the user
    // does with the keyboard and the mouse; what the peer got.
    std::string SendWhileUserActs(const std::string& Bytes,
                                  const std::function<void(PeerReader&)>& User)
    {
        const std::string path = MakeFile("modal.bin", Bytes);
        ChooseFile(path);
        TPlatformDialogs dialogs(TheSendsFileChoice);
        PeerReader peer(line, Bytes.size());
        std::atomic<bool> userDone{false};
        std::thread user([&] {
            if (peer.WaitForMore(Quarter, Allowed)) User(peer);
            userDone = true;
        });
        PostMessageA(Form1->Handle(), WM_COMMAND, Form1->miSendFileBinary->Command(), 0);
        // The command runs the send inside this wait.
        qv::test::WaitUntil(
            [&] { return userDone && BytesSent() > 0 && Transfer.FileSend == nullptr; }, 60s);
        user.join();
        return peer.Finish();
    }

    DWORD mainThread_ = 0;
};

TEST_F(SendUnderModalTest, TheLineIsFedWhileAMenuIsDroppedDownAndWhileItsBarStaysArmedAfterEsc)
{
    const std::string bytes = RandomBytes(60000);
    qv::test::TMenuHold menu;
    const HWND form = Form1->Handle();
    const std::string arrived = SendWhileUserActs(bytes, [&](PeerReader& peer) {
        menu = qv::test::HoldMenuWhileFed(peer, form, mainThread_, Quarter, Allowed);
    });
    EXPECT_TRUE(menu.Dropped);
    EXPECT_TRUE(menu.FedDropped);
    EXPECT_TRUE(menu.Armed);
    EXPECT_TRUE(menu.FedArmed);
    EXPECT_TRUE(menu.Left);
    EXPECT_TRUE(arrived == bytes);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text,
              "Successfully sent 60000 bytes from file:\n" + InFolder("modal.bin"));
    ExpectIdleWindow();
}

TEST_F(SendUnderModalTest, TheLineIsFedWhileTheAboutBoxAndTheCapturesSaveDialogAreUp)
{
    Application->CreateForm(AboutBox);
    const HWND about = AboutBox->Handle();
    const HWND form = Form1->Handle();
    const UINT aboutCommand = Form1->HelpAbout->Command();
    const UINT captureCommand = Form1->miReceiveFileBinary->Command();
    const std::string bytes = RandomBytes(60000);
    bool aboutUp = false, fedAbout = false, stillAbout = false;
    bool saveUp = false, fedSave = false, stillSave = false;
    const std::string arrived = SendWhileUserActs(bytes, [&](PeerReader& peer) {
        PostMessageA(form, WM_COMMAND, aboutCommand, 0);
        aboutUp = qv::test::WaitUntil([&] { return IsWindowVisible(about) != 0; }, 10s);
        fedAbout = peer.WaitForMore(Quarter, Allowed);
        stillAbout = IsWindowVisible(about) != 0;
        PostMessageA(about, WM_CLOSE, 0, 0);
        qv::test::WaitUntil([&] { return !IsWindowVisible(about); }, 10s);
        PostMessageA(form, WM_COMMAND, captureCommand, 0);
        HWND save = nullptr;
        saveUp =
            qv::test::WaitUntil([&] { return (save = ShownDialog(mainThread_)) != nullptr; }, 20s);
        fedSave = peer.WaitForMore(Quarter, Allowed);
        stillSave = save && IsWindowVisible(save);
        if (save) PostMessageA(save, WM_COMMAND, IDCANCEL, 0);
        qv::test::WaitUntil([&] { return ShownDialog(mainThread_) == nullptr; }, 10s);
    });
    EXPECT_TRUE(aboutUp && stillAbout);
    EXPECT_TRUE(fedAbout);
    EXPECT_TRUE(saveUp && stillSave);
    EXPECT_TRUE(fedSave);
    EXPECT_TRUE(arrived == bytes);
    EXPECT_EQ(Transfer.CaptureFile, nullptr);
    ExpectIdleWindow();
}

// A system dialog holds the queue while it is built, and again while it handles some long
// messages of its own: no step of the send ran meanwhile, and the line went idle each time.
TEST_F(SendUnderModalTest, TheLineIsFedWhileASystemDialogHoldsTheQueue)
{
    const std::string bytes = RandomBytes(60000);
    const std::string path = MakeFile("held.bin", bytes);
    PeerReader peer(line, bytes.size(), Quarter, Form1->miFileSaveAs->Command());
    bool fedWhileHeld = false;
    ChooseFile(path);
    script.AnswerDialog([&](TCommonDialog&) {
        // The dialog being built: this thread handles nothing until the device has had a
        // quarter second's bytes more (or the time allowed has passed), then it is cancelled.
        const size_t until = peer.Arrived() + Quarter;
        const DWORD start = GetTickCount();
        while (peer.Arrived() < until && GetTickCount() - start < Allowed * 1000) Sleep(1);
        fedWhileHeld = peer.Arrived() >= until;
        return false;
    });
    Form1->miSendFileBinaryClick(Form1);
    const std::string arrived = peer.Finish();
    EXPECT_TRUE(fedWhileHeld);
    EXPECT_TRUE(arrived == bytes);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text, "Successfully sent 60000 bytes from file:\n" + path);
    EXPECT_EQ(script.Shown().size(), 3u);
    ExpectIdleWindow();
}

// The device taken away while the user holds the Edit menu dropped down during a send: the
// disconnect ended the send, whose menu items were hidden and shown again by emptying the menus,
// which destroyed the menu dropped down under its own loop; Wine then ended the program. The
// menu then closes by itself and the box naming the port comes up once the menu's loop has
// ended: shown from inside the loop, it came up under the menu still drawn open, and the loop
// kept the mouse from its OK.
TEST_F(SendUnderModalTest, ADeviceLostUnderADroppedMenuEndsTheSendClosesTheMenuAndThenNamesThePort)
{
    const std::string bytes = RandomBytes(400000);
    const std::string path = MakeFile("lost.bin", bytes);
    ChooseFile(path);
    TPlatformDialogs dialogs(TheSendsFileChoice);
    const HWND form = Form1->Handle();
    const std::string port = line.PortName();
    std::atomic<bool> userDone{false};
    bool dropped = false, disconnected = false, closed = false, left = false;
    std::thread user([&] {
        size_t got = 0;
        for (int i = 0; i < 100 && got < Quarter; ++i) got += line.Read(1 << 16, 100ms).size();
        qv::test::PostKey(form, 'E', true);
        dropped = qv::test::WaitUntil([&] { return qv::test::MenuDroppedDown(mainThread_); }, 10s);
        line.Unplug();
        disconnected = qv::test::WaitUntil([] { return !Connection.PortOpen; }, 20s);
        closed = qv::test::WaitUntil([&] { return !qv::test::InMenuLoop(mainThread_); }, 5s);
        left = closed;
        // A menu left open: Esc closes it, a second one leaves the bar. A key that reaches the
        // window while the lost device's box runs the queue is not the menu's: the user presses
        // it again.
        for (int i = 0; i < 20 && !left; ++i) {
            qv::test::PostKey(form, VK_ESCAPE);
            left = qv::test::WaitUntil([&] { return !qv::test::InMenuLoop(mainThread_); }, 1s);
        }
        userDone = true;
    });
    PostMessageA(form, WM_COMMAND, Form1->miSendFileBinary->Command(), 0);
    qv::test::WaitUntil([&] { return userDone && Transfer.FileSend == nullptr; }, 60s);
    user.join();
    ASSERT_TRUE(dropped);
    EXPECT_TRUE(disconnected);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(left);
    EXPECT_EQ(dialogs.BoxesInMenuLoop, 0);
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_TRUE(Form1->Connect1_mi->Enabled());
    EXPECT_EQ(Form1->StatusBar1->Panels(0)->Text(), "Disconnected");
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text.rfind(MainText::DeviceLostHead + port, 0), 0u) << boxes[0].Text;
    ExpectIdleWindow();
    // Once the menu's loop has ended, the menus show the send's items as they now are.
    const HMENU bar = Form1->MainMenu1->Handle();
    EXPECT_NE(GetMenuState(bar, Form1->miSendFileBinary->Command(), MF_BYCOMMAND), UINT(-1));
    EXPECT_EQ(GetMenuState(bar, Form1->miStopSending->Command(), MF_BYCOMMAND), UINT(-1));
}

}  // namespace
}  // namespace filesend_test
