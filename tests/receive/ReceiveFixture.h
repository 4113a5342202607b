// What the receive path's tests share: the main window connected to a virtual line in a chosen
// display mode and line width, the peer's sends, and the screen as the user sees it.
#pragma once

#include <richedit.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "MainWindowFixture.h"
#include "framework/Streams.h"
#include "terminal/DisplayState.h"
#include "terminal/MainGlobals.h"
#include "terminal/ReceiveTexts.h"
#include "tests/receive/ScreenModel.h"
#include "tests/support/VirtualLine.h"

namespace receive_test {

using namespace std::chrono_literals;

class ReceiveTest : public mainwindow_test::MainWindowTest {
protected:
    // Mode 0 ASCII/Text, 1 Mixed, 2 Hexadecimal; Columns characters per screen line, 0 for the
    // width fitted to the screen.
    void Start(int Mode, int Columns, int Lines = 100, const std::string& MoreDisplay = "")
    {
        const std::string width =
            Columns > 0 ? "\r\nCOLUMNS=" + std::to_string(Columns) + "\r\nAUTO_ADJUST_COLS=0"
                        : std::string("\r\nAUTO_ADJUST_COLS=1");
        WriteTextFile(SettingsPath(),
                      SettingsText("115200") +
                          "[Display Section]\r\nDISPLAY_MODE=" + std::to_string(Mode) +
                          "\r\nLINES=" + std::to_string(Lines) + width + "\r\n" + MoreDisplay);
        // One test process may run several tests: the display state starts afresh.
        ResetDisplayState(TDisplayReset::NewSession);
        StartMainWindow();
        Form1->Show();
        ASSERT_TRUE(script.Shown().empty());
        if (Columns > 0) {
            ASSERT_EQ(CharsPerLine, static_cast<std::uint32_t>(Columns));
        }
        ASSERT_EQ(DisplayMode, Mode);
        Form1->PortIndex->SetItemIndex(line.PortNumber() - 1);
        Form1->Connect_spbtnClick(Form1);
        ASSERT_TRUE(Form1->Comm1->Enabled());
        Form1->Receive.Reset();
    }

    void TearDown() override
    {
        StopWriter();
        if (savedWork_) {
            delete WorkRtf;
            WorkRtf = savedWork_;
        }
        CaptureFile = nullptr;
        mainwindow_test::MainWindowTest::TearDown();
    }

    // The peer sends Bytes from its own thread in pieces (a large block would fill the line
    // while the window, on this thread, is the one to read it).
    void Send(std::string Bytes)
    {
        StopWriter();
        stopWriting_ = false;
        writerDone_ = false;
        writer_ = std::thread([this, bytes = std::move(Bytes)] {
            try {
                for (size_t i = 0; i < bytes.size() && !stopWriting_; i += 4096)
                    line.Write(bytes.data() + i, std::min<size_t>(4096, bytes.size() - i));
            } catch (...) {
            }
            writerDone_ = true;
        });
    }
    bool WriterDone() const { return writerDone_; }

    // Ends the peer's sending; when the window no longer reads (its port closed), the rest of
    // the line is read here so the peer's last write returns.
    void StopWriter()
    {
        if (!writer_.joinable()) return;
        stopWriting_ = true;
        if (!qv::test::WaitUntil([&] { return writerDone_.load(); }, 2s)) {
            if (Form1 && Form1->Comm1->Enabled()) Form1->Comm1->Close();
            qv::test::DrainProgramSideUntil(line.DevicePath(), writerDone_);
        }
        writer_.join();
    }

    bool WaitForBytesIn(std::int64_t n, std::chrono::milliseconds timeout = 10s)
    {
        return qv::test::WaitUntil([&] { return BytesIn >= n; }, timeout);
    }
    // Until the display tick has run after the last read (it disables itself).
    bool WaitForQuietScreen(std::chrono::milliseconds timeout = 10s)
    {
        return qv::test::WaitUntil(
            [&] { return !Form1->Timer1->Enabled() && Form1->Comm1->InQueCount() <= 0; }, timeout);
    }

    static std::vector<std::string> ScreenLines() { return qv::test::ScreenLines(); }

    static std::vector<std::string> ExpectedLines(const std::string& bytes, int Mode,
                                                  size_t Columns, size_t Lines)
    {
        return qv::test::ExpectedLines(bytes, Mode, Columns, Lines);
    }

    // The screen against the expected lines, reporting only the first difference.
    static ::testing::AssertionResult ScreenShows(const std::vector<std::string>& expected)
    {
        const std::vector<std::string> shown = ScreenLines();
        for (size_t i = 0; i < std::min(shown.size(), expected.size()); ++i)
            if (shown[i] != expected[i])
                return ::testing::AssertionFailure() << "line " << i << " is \"" << shown[i]
                                                     << "\", expected \"" << expected[i] << "\"";
        if (shown.size() != expected.size())
            return ::testing::AssertionFailure()
                   << shown.size() << " lines shown, " << expected.size() << " expected";
        return ::testing::AssertionSuccess();
    }

    // Sends Bytes one at a time, each read before the next goes, and expects each shown at once.
    void SendSingly(const std::string& Bytes)
    {
        const std::int64_t before = BytesIn;
        for (size_t i = 0; i < Bytes.size(); ++i) {
            line.Write(Bytes.substr(i, 1));
            ASSERT_TRUE(WaitForBytesIn(before + std::int64_t(i) + 1));
            ASSERT_FALSE(Form1->Timer1->Enabled()) << "byte " << i << " waits for the tick";
        }
    }

    // The screen's text and colours as they are, then as a whole load of the pending text
    // shows them: the same.
    static void ExpectAWholeLoadShowsTheSame()
    {
        const std::string shown = Form1->reScreen->Text();
        // The control counts a line break as two characters, as the text has it.
        std::vector<COLORREF> colours;
        for (int i = 0; i < int(shown.size()); ++i) colours.push_back(qv::test::ScreenColourAt(i));
        Form1->ReloadScreenFromPending();
        EXPECT_EQ(Form1->reScreen->Text(), shown);
        for (int i = 0; i < int(shown.size()); ++i) {
            if (shown[size_t(i)] == '\r' || shown[size_t(i)] == '\n') continue;
            EXPECT_EQ(qv::test::ScreenColourAt(i), colours[size_t(i)]) << "character " << i;
        }
    }

    static size_t PendingLineBreaks()
    {
        const char* text = PendingRtf->Memory();
        return static_cast<size_t>(std::count(text, text + PendingRtf->Size(), '\r'));
    }

    // Puts a work stream in place whose reads fail, so every screen update through it fails;
    // with Failures, only that many reads fail. A passing fault is what a test that mends the
    // screen afterwards means: the display tick may run before the test gets to mend it.
    void BreakScreenUpdates(int Failures = -1)
    {
        struct TFailingStream : TMemoryStream {
            explicit TFailingStream(int Failures) : failures(Failures) {}
            int Read(void* Buffer, int Count) override
            {
                if (failures == 0) return TMemoryStream::Read(Buffer, Count);
                if (failures > 0) --failures;
                throw EReadError(String("injected read failure"));
            }
            int failures;
        };
        savedWork_ = WorkRtf;
        WorkRtf = new TFailingStream(Failures);
    }
    void MendScreenUpdates()
    {
        delete WorkRtf;
        WorkRtf = savedWork_;
        savedWork_ = nullptr;
    }

    qv::test::VirtualLine line;

private:
    std::thread writer_;
    std::atomic<bool> stopWriting_{false};
    std::atomic<bool> writerDone_{true};
    TMemoryStream* savedWork_ = nullptr;
};

}  // namespace receive_test
