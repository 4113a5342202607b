// What the file send and capture tests share: the main window connected to a virtual line, files
// in the test's folder, the open and save dialogs answered, a peer that reads what the program
// sends (and can press a menu command halfway), and a watch on the port's writes that records
// the window's state at each byte and can make the port refuse bytes.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/receive/ReceiveFixture.h"
#include "tests/support/ApiPatch.h"

namespace filesend_test {

using namespace std::chrono_literals;

// What the window showed when the port was asked to write a byte.
struct TWriteSnapshot {
    std::string Status;
    bool SendBarVisible;
    bool EntryPaneVisible;
    bool ScreenEnabled;
    bool StopSendingVisible;
    bool SendFileVisible;
};

// Watches the main thread's writes to the port (a character device) while it lives: they are
// counted, and the window's state at each is recorded whenever it changed; from write RefuseAfter +
// 1 on the port refuses them (a failed WriteFile, or with ShortWrites one that succeeds having
// written nothing).
class PortWriteWatch {
public:
    explicit PortWriteWatch(int RefuseAfter = -1, bool ShortWrites = false);

    int Count() const;
    // The window's states at the writes, each change once, in order.
    const std::vector<TWriteSnapshot>& States() const;
    // The distinct status texts seen at the writes, in order.
    std::vector<std::string> StatusTexts() const;

private:
    qv::test::ApiPatch patch_;
};

// Reads everything the program sends on its own thread, until Expected bytes came or, once the
// send has returned (Finish), the line is silent. With PostAt, it posts the main window the menu
// command Command once that many bytes arrived (the user's click in the middle of a send).
class PeerReader {
public:
    PeerReader(qv::test::VirtualLine& Line, size_t Expected, size_t PostAt = 0, UINT Command = 0);
    ~PeerReader();
    // Called when the send has returned: what arrived.
    std::string Finish();

private:
    std::atomic<bool> sendEnded_{false};
    std::thread thread_;
    std::string data_;
};

class FileSendTest : public receive_test::ReceiveTest {
protected:
    void SetUp() override
    {
        receive_test::ReceiveTest::SetUp();
        Start(2, 70);
        Form1->pnlStringEntry->SetVisible(true);
        outBefore_ = BytesOut;
    }
    void TearDown() override
    {
        delete CaptureFile;
        CaptureFile = nullptr;
        receive_test::ReceiveTest::TearDown();
    }

    std::string MakeFile(const std::string& Name, const std::string& Bytes)
    {
        const std::string path = InFolder(Name);
        WriteTextFile(path, Bytes);
        return path;
    }
    static std::string ReadFile(const std::string& Path)
    {
        TMemoryStream file;
        file.LoadFromFile(Path);
        return file.DataString();
    }
    static std::string RandomBytes(size_t n)
    {
        std::string s(n, '\0');
        std::uint32_t x = 2463534242u;
        for (auto& c : s) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            c = char(x);
        }
        return s;
    }

    // The user picks Path in the open (or save) dialog of the next command.
    void Choose(const std::string& Path)
    {
        script.AnswerDialog([Path](TCommonDialog& Dialog) {
            static_cast<TOpenDialog&>(Dialog).FileName = Path;
            return true;
        });
    }
    void SendFileThroughMenu(const std::string& Path)
    {
        Choose(Path);
        Form1->miSendFileBinaryClick(Form1);
    }
    std::int64_t BytesSent() const { return BytesOut - outBefore_; }

    // The boxes shown (the common dialogs left out).
    std::vector<TShownDialog> Boxes() const
    {
        std::vector<TShownDialog> boxes;
        for (const auto& shown : script.Shown())
            if (shown.Kind != TDialogKind::Common) boxes.push_back(shown);
        return boxes;
    }

    // The window back at rest after a send: the menus, the bar, the pane and the screen.
    static void ExpectIdleWindow()
    {
        EXPECT_EQ(SendFile, nullptr);
        EXPECT_FALSE(Form1->pnlSend->Visible());
        EXPECT_EQ(Form1->ProgressBar1->Position(), 0);
        EXPECT_TRUE(Form1->pnlStringEntry->Visible());
        EXPECT_FALSE(EntryPaneHidden);
        EXPECT_TRUE(Form1->miStringEntryPane->Enabled());
        EXPECT_TRUE(Form1->miSendFileBinary->Visible());
        EXPECT_TRUE(Form1->miSpxSendFileBinary->Visible());
        EXPECT_FALSE(Form1->miStopSending->Visible());
        EXPECT_TRUE(Form1->reScreen->Enabled());
    }

private:
    std::int64_t outBefore_ = 0;
};

}  // namespace filesend_test
