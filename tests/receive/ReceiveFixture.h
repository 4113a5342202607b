// What the receive path's tests share: the main window connected to the harness's line in a
// chosen display mode and line width, the peer's writer, and the screen as the user sees it
// against what it should show.
#pragma once

#include <richedit.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/Streams.h"
#include "terminal/MainGlobals.h"
#include "terminal/ReceiveTexts.h"
#include "tests/support/BrokenScreenUpdates.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/PeerWriter.h"
#include "tests/support/ReceiveScreen.h"

namespace receive_test {

using namespace std::chrono_literals;

using qv::test::BrokenScreenUpdates;
using qv::test::ExpectedLines;
using qv::test::PendingLineBreaks;
using qv::test::ScreenLines;
using qv::test::WaitForBytesIn;
using qv::test::WaitForQuietScreen;

class ReceiveTest : public qv::test::MainWindowHarness {
protected:
    void TearDown() override
    {
        writer.Stop();
        MainWindowHarness::TearDown();
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
        const std::int64_t before = Display.BytesIn;
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

    // The display tick kept far away, Count lines ("line 0" CR, ...) sent in one burst and shown
    // by the tick's whole load; the line is then quiet, so what comes next is a reply.
    void LoadLines(int Count)
    {
        Form1->Timer1->SetInterval(600000);
        std::string lines;
        for (int i = 0; i < Count; ++i) lines += "line " + std::to_string(i) + "\r";
        const std::int64_t in = Display.BytesIn + std::int64_t(lines.size());
        line.Write(lines);
        ASSERT_TRUE(WaitForBytesIn(in));
        Form1->Timer1->Timer();
        LineQuiet();
    }
    // As if the line had been quiet for a second.
    static void LineQuiet() { Form1->Receive.LastReadAt = GetTickCount() - 1000; }

    qv::test::PeerWriter writer{line};
};

}  // namespace receive_test
