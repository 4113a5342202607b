// Received bytes on the screen: a single byte or a reply pasted at once, more by the display tick,
// the line limit with its record trimming, reads in bounded pieces, the tail of a burst read
// without a further port event, text lines shown in time, the final screen equal to the last lines
// sent, and a screen whose lines moved up drawn as it would be drawn anew.
#include "ReceiveFixture.h"
#include "tests/support/ApiPatch.h"
#include "tests/support/ProcessHeap.h"

namespace receive_test {
namespace {

// A capture file that remembers the size of every write: one write per read of the port.
struct TCountingCapture : TFileStream {
    using TFileStream::TFileStream;
    int Write(const void* Buffer, int Count) override
    {
        writes.push_back(Count);
        return TFileStream::Write(Buffer, Count);
    }
    std::vector<int> writes;
};

// The screen's pixels once everything due is drawn, those of the caret (which blinks) as blank.
std::vector<std::uint32_t> ScreenPixels()
{
    HWND screen = Form1->reScreen->Handle();
    UpdateWindow(screen);
    RECT r{};
    GetClientRect(screen, &r);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = GetDC(screen);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + r.right * r.bottom);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(screen, dc);
    POINT caret{};
    if (GetFocus() == screen && GetCaretPos(&caret)) {
        const int h = Form1->GutterCanvas->TextHeight("1");
        for (int y = std::max<int>(0, caret.y); y < std::min<int>(r.bottom, caret.y + h); ++y)
            for (int x = std::max<int>(0, caret.x - 1); x < std::min<int>(r.right, caret.x + 3);
                 ++x)
                pixels[size_t(y) * size_t(r.right) + size_t(x)] = 0;
    }
    return pixels;
}

// Counts the paint messages a window gets while it lives.
class TPaintCount {
public:
    explicit TPaintCount(HWND Window) : window_(Window)
    {
        counted_ = 0;
        previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TPaintCount::Procedure)));
    }
    ~TPaintCount()
    {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    }
    int Count() const { return counted_; }

private:
    static LRESULT CALLBACK Procedure(HWND Window, UINT Message, WPARAM W, LPARAM L)
    {
        if (Message == WM_PAINT) ++counted_;
        return CallWindowProcA(previous_, Window, Message, W, L);
    }
    static inline int counted_ = 0;
    static inline WNDPROC previous_ = nullptr;
    HWND window_;
};

std::string PrintableBytes(size_t n, unsigned seed = 0)
{
    std::string s;
    for (size_t i = 0; i < n; ++i) s += char(0x20 + (i * 7 + seed) % 95);
    return s;
}

// A byte, and a device's reply on a quiet line, show at once, the reply's line ends as a whole
// load shows them; a burst waits for the tick.
TEST_F(ReceiveTest, AByteAndAReplyArePastedAtOnceAndABurstWaitsForTheTick)
{
    Start(0, 70);
    // The tick is kept far away: whatever shows up before it was pasted at once.
    Form1->Timer1->SetInterval(600000);
    line.Write("A");
    ASSERT_TRUE(qv::test::WaitUntil([] { return Form1->reScreen->Text() == "A"; }));
    line.Write("OK\r\n");
    ASSERT_TRUE(WaitForBytesIn(5));
    EXPECT_FALSE(Form1->Timer1->Enabled());
    // CR and LF each end a line.
    EXPECT_EQ(Form1->reScreen->Text(), "AOK\r\n\r\n");
    ExpectAWholeLoadShowsTheSame();

    const std::string burst = PrintableBytes(200);
    line.Write(burst);
    ASSERT_TRUE(WaitForBytesIn(205));
    EXPECT_TRUE(Form1->Timer1->Enabled());
    Form1->Timer1->Timer();
    std::vector<std::string> expected{"AOK", ""};
    for (const std::string& l : ExpectedLines(burst, 0, 70, 100)) expected.push_back(l);
    EXPECT_TRUE(ScreenShows(expected));
}

// Single bytes are pasted at once, also those that end a line or break it (a cell split over
// two lines, CR and LF): the screen they build is the one the tick's whole load gives.
TEST_F(ReceiveTest, SingleBytesArePastedAtOnceAndBuildTheScreenAWholeLoadGives)
{
    Start(1, 6);
    Form1->Timer1->SetInterval(600000);
    SendSingly("abc\x01"
               "de\rf\ngh\x7f"
               "ij\r\nk\tl");
    EXPECT_EQ(ScreenLines().size(), 8u);
    ExpectAWholeLoadShowsTheSame();
}

// At the line limit each single byte that begins a line cuts the screen's top line, in place:
// the last lines stay, as a whole load of them shows them.
TEST_F(ReceiveTest, SingleBytesAtTheLineLimitKeepTheLastLinesAsAWholeLoadShowsThem)
{
    Start(2, 8, 5);
    Form1->Timer1->SetInterval(600000);
    const std::string bytes = PrintableBytes(40);
    SendSingly(bytes);
    EXPECT_TRUE(ScreenShows(ExpectedLines(bytes, 2, 8, 5)));
    ExpectAWholeLoadShowsTheSame();
}

// A line pasted at the end of a whole load stands as high as the load's lines, its text in the
// same size.
TEST_F(ReceiveTest, PastedAndLoadedLinesHaveOneHeightAndSize)
{
    Start(0, 0, 60);
    HWND screen = Form1->reScreen->Handle();
    LoadLines(20);
    const std::int64_t in = Display.BytesIn;
    line.Write("pasted\r");
    ASSERT_TRUE(WaitForBytesIn(in + 7));
    ASSERT_FALSE(Form1->Timer1->Enabled());
    auto top = [&](int Line) {
        POINTL at{};
        SendMessageA(screen, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at),
                     SendMessageA(screen, EM_LINEINDEX, Line, 0));
        return at.y;
    };
    auto size = [&](int Line) {
        const LRESULT start = SendMessageA(screen, EM_LINEINDEX, Line, 0);
        SendMessageA(screen, EM_SETSEL, start, start + 1);
        CHARFORMAT2A format{};
        format.cbSize = sizeof format;
        SendMessageA(screen, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format.yHeight;
    };
    EXPECT_EQ(top(21) - top(20), top(1) - top(0));
    EXPECT_EQ(size(20), size(0));
}

// The screen's frame drawings (its scroll bars, its edge) while the hook below is in place.
// The screen's frame drawn whole, or one of its scroll bars drawn alone (by setting it with
// its drawing asked for).
int framePaints = 0;
LRESULT CALLBACK CountFramePaints(int Code, WPARAM W, LPARAM L)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(L);
    if (Code == HC_ACTION && call->message == WM_NCPAINT && call->hwnd == Form1->reScreen->Handle())
        ++framePaints;
    return CallNextHookEx(nullptr, Code, W, L);
}
extern "C" void* SetScrollInfoSlot __asm__("__imp__SetScrollInfo@16");
using TSetScrollInfo = int(WINAPI*)(HWND, int, LPCSCROLLINFO, BOOL);
TSetScrollInfo originalSetScrollInfo = nullptr;
int WINAPI CountScrollBarDrawings(HWND Window, int Bar, LPCSCROLLINFO Info, BOOL Redraw)
{
    if (Redraw && Window == Form1->reScreen->Handle()) ++framePaints;
    return originalSetScrollInfo(Window, Bar, Info, Redraw);
}

// A reply's new line draws the screen's scroll bar again when its thumb moved, and not when
// the line limit cut the top line and left the scroll bar as it was (each drawing of it costs
// Wine's control 7-9 ms); a frame that was due before the reply is drawn all the same.
TEST_F(ReceiveTest, AReplyDrawsTheScrollBarAgainOnlyWhereItChanged)
{
    Start(2, 0, 60);
    HWND screen = Form1->reScreen->Handle();
    LoadLines(50);
    // Where the thumb is drawn.
    auto thumb = [&] {
        SCROLLBARINFO bar{};
        bar.cbSize = sizeof bar;
        GetScrollBarInfo(screen, OBJID_VSCROLL, &bar);
        return std::vector<int>{bar.xyThumbTop, bar.xyThumbBottom};
    };
    ASSERT_TRUE(GetWindowLongA(screen, GWL_STYLE) & WS_VSCROLL)
        << "the screen has more lines than it shows";

    struct Hook {
        HHOOK h =
            SetWindowsHookExA(WH_CALLWNDPROC, &CountFramePaints, nullptr, GetCurrentThreadId());
        ~Hook() { UnhookWindowsHookEx(h); }
    } hook;
    qv::test::ApiPatch bars(&SetScrollInfoSlot, reinterpret_cast<void*>(&CountScrollBarDrawings));
    originalSetScrollInfo = reinterpret_cast<TSetScrollInfo>(bars.Original());
    // The frame drawings made once everything due is drawn, since the last call.
    auto framesDrawn = [&] {
        UpdateWindow(screen);
        return std::exchange(framePaints, 0);
    };
    framesDrawn();
    std::int64_t in = Display.BytesIn;
    auto reply = [&] {
        // After a quiet line, as a device answers.
        LineQuiet();
        line.Write("OK\r\n");
        in += 4;
        return WaitForBytesIn(in) && !Form1->Timer1->Enabled();
    };
    // Below the limit each line moves the thumb.
    for (int i = 0; i < 4; ++i) {
        const std::vector<int> before = thumb();
        ASSERT_TRUE(reply());
        ASSERT_NE(thumb(), before);
        EXPECT_GE(framesDrawn(), 1) << "reply " << i;
    }
    while (SendMessageA(screen, EM_GETLINECOUNT, 0, 0) < 60) ASSERT_TRUE(reply());
    ASSERT_EQ(SendMessageA(screen, EM_GETLINECOUNT, 0, 0), 60);
    ASSERT_TRUE(reply());
    framesDrawn();
    // At the limit the top line goes: the scroll bar stays as it is drawn.
    for (int i = 0; i < 4; ++i) {
        const std::vector<int> before = thumb();
        ASSERT_TRUE(reply());
        ASSERT_EQ(thumb(), before);
        EXPECT_EQ(framesDrawn(), 0) << "reply " << i;
    }
    // A frame to be drawn when the reply comes (a resize, another window gone) is drawn. It is
    // asked for once the reply waits, read ahead, with its event in the window's queue: the
    // paste then comes before the window's next paint.
    LineQuiet();
    line.Write("OK\r\n");
    in += 4;
    const auto waiting = [] {
        return Form1->Comm1->InQueCount() >= 4 &&
               (HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE) != 0;
    };
    for (const auto end = std::chrono::steady_clock::now() + 10s;
         !waiting() && std::chrono::steady_clock::now() < end;)
        Sleep(1);
    ASSERT_TRUE(waiting());
    RedrawWindow(screen, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    ASSERT_TRUE(WaitForBytesIn(in));
    EXPECT_GE(framesDrawn(), 1);
}

// Bytes the port left in its queue are read by the tick, and its load shows them: the tick
// comes again only when more bytes come, not while (or right after) that load.
TEST_F(ReceiveTest, BytesTheTickReadsItselfAreShownByItsLoadWithNoFurtherTickDue)
{
    Start(2, 70);
    Form1->Timer1->SetInterval(600000);
    const TCommRxCharEvent handler = Form1->Comm1->OnRxChar;
    Form1->Comm1->OnRxChar = nullptr;
    const std::string burst = PrintableBytes(300);
    line.Write(burst);
    ASSERT_TRUE(qv::test::WaitUntil(
        [&] { return Form1->Comm1->InQueCount() == static_cast<int>(burst.size()); }));
    Form1->Comm1->OnRxChar = handler;

    Form1->Timer1->SetEnabled(true);
    Form1->Timer1->Timer();
    EXPECT_EQ(Display.BytesIn, static_cast<std::int64_t>(burst.size()));
    EXPECT_TRUE(ScreenShows(ExpectedLines(burst, 2, 70, 100)));
    EXPECT_FALSE(Form1->Timer1->Enabled());
}

TEST_F(ReceiveTest, AnEventWithAnEmptyQueueMakesNoPassAndATickWithNothingPendingDoesNothing)
{
    Start(2, 70);
    Form1->Receive.RxPassCounter = 1;
    Form1->Comm1RxChar(Form1->Comm1, 0);
    EXPECT_EQ(Form1->Receive.RxPassCounter, 1);
    Form1->Timer1->SetEnabled(true);
    Form1->Timer1->Timer();
    EXPECT_EQ(Form1->reScreen->Text(), "");
    EXPECT_EQ(Display.PendingRtf->Size(), 0);
}

// 100 line breaks pending with the limit 100: the first line goes, 99 breaks stay, and the
// records of the dropped line go with it; the kept lines start with their "N" record.
TEST_F(ReceiveTest, TheLineLimitKeepsTheLastLinesAndTrimsTheRecordsInMixedMode)
{
    Start(1, 8, 100);
    const std::string sent = PrintableBytes(8 * 100 + 1);
    writer.Send(sent);
    ASSERT_TRUE(WaitForBytesIn(static_cast<std::int64_t>(sent.size())));
    ASSERT_TRUE(WaitForQuietScreen());

    EXPECT_EQ(PendingLineBreaks(), 99u);
    EXPECT_TRUE(ScreenShows(ExpectedLines(sent, 1, 8, 100)));
    ASSERT_EQ(Display.DisplayRecordCount, 8u * 99 + 1);
    for (std::uint32_t i = 0; i < Display.DisplayRecordCount; ++i) {
        EXPECT_EQ(RecordKind(Display.DisplayRecords[i]),
                  i % 8 == 0 ? RecordNewLine : RecordContinues)
            << i;
        EXPECT_EQ(char(RecordByte(Display.DisplayRecords[i])), sent[8 + i]) << i;
    }
}

TEST_F(ReceiveTest, TheLineLimitKeepsTheLastLinesAndTrimsTheRecordsInHexadecimalMode)
{
    Start(2, 8, 100);
    std::string sent;
    for (int i = 0; i < 2 * 100 + 1; ++i) sent += char(0x30 + i % 40);
    writer.Send(sent);
    ASSERT_TRUE(WaitForBytesIn(static_cast<std::int64_t>(sent.size())));
    ASSERT_TRUE(WaitForQuietScreen());

    EXPECT_EQ(PendingLineBreaks(), 99u);
    EXPECT_TRUE(ScreenShows(ExpectedLines(sent, 2, 8, 100)));
    ASSERT_EQ(Display.DisplayRecordCount, 8u * 99 + 4);
    const char cell[] = "<..>";
    for (std::uint32_t i = 0; i < Display.DisplayRecordCount; ++i) {
        EXPECT_EQ(RecordKind(Display.DisplayRecords[i]), i % 8 == 0 ? RecordNewLine : RecordHexCell)
            << i;
        const char byte = char(RecordByte(Display.DisplayRecords[i]));
        EXPECT_EQ(byte, cell[i % 4] == '.' ? sent[2 + i / 4] : cell[i % 4]) << i;
    }
}

TEST_F(ReceiveTest, ALongBurstIsReadInBoundedPiecesOverSeveralPassesAndCapturedWhole)
{
    Start(2, 88, 200);
    const std::string path = InFolder("capture.bin");
    auto* capture = new TCountingCapture(path, fmCreate);
    Transfer.CaptureFile = capture;
    std::string sent;
    for (int i = 0; i < 40000; ++i)
        if (i * 31 % 256 != '\r' && i * 31 % 256 != '\n') sent += char(i * 31 % 256);
    writer.Send(sent);
    ASSERT_TRUE(WaitForBytesIn(static_cast<std::int64_t>(sent.size()), 20s));
    ASSERT_TRUE(WaitForQuietScreen());
    Transfer.CaptureFile = nullptr;

    EXPECT_EQ(Display.BytesIn, static_cast<std::int64_t>(sent.size()));
    EXPECT_GT(capture->writes.size(), 2u);
    EXPECT_LE(*std::max_element(capture->writes.begin(), capture->writes.end()), 5003);
    delete capture;
    TMemoryStream file;
    file.LoadFromFile(path);
    EXPECT_TRUE(file.DataString() == sent);
    EXPECT_TRUE(ScreenShows(ExpectedLines(sent, 2, 88, 200)));
}

// Wide tabs format to far more than a read's bytes: the read is formatted in pieces, and every
// piece reaches the screen.
TEST_F(ReceiveTest, AReadFormattedInPiecesShowsEveryPiece)
{
    Start(0, 80, 200, "SPACES_FOR_TAB=40\r\n");
    const std::string path = InFolder("capture.bin");
    auto* capture = new TCountingCapture(path, fmCreate);
    Transfer.CaptureFile = capture;
    std::string sent;
    for (int i = 0; i < 2000; ++i) sent += i % 2 ? "\tX" : "\tY";
    line.Write(sent);
    ASSERT_TRUE(WaitForBytesIn(static_cast<std::int64_t>(sent.size())));
    ASSERT_TRUE(WaitForQuietScreen());
    Transfer.CaptureFile = nullptr;
    const int largestRead = *std::max_element(capture->writes.begin(), capture->writes.end());
    delete capture;

    std::string shown;
    for (char c : sent) shown += c == '\t' ? std::string(40, ' ') : std::string(1, c);
    std::vector<std::string> expected;
    for (size_t i = 0; i < shown.size(); i += 80) expected.push_back(shown.substr(i, 80));
    expected.erase(expected.begin(), expected.end() - 200);
    EXPECT_TRUE(ScreenShows(expected));
    // About 1,300 tabs fit the output buffer's worst case: a larger read took several pieces.
    EXPECT_GT(largestRead, 1400) << "no read was large enough to need pieces";
}

// A handler that ends its passes with bytes still queued: the peer then stays quiet, so no
// port event comes for them; they must reach the screen all the same.
TEST_F(ReceiveTest, BytesLeftQueuedAfterTheHandlersPassesAreShownWithoutAnotherEvent)
{
    Start(0, 80, 200);
    Form1->Receive.RxPassCounter = 1;  // the next event makes one pass only
    const std::string sent = PrintableBytes(12000, 3);
    line.Write(sent);  // one write, then nothing more
    ASSERT_TRUE(WaitForBytesIn(static_cast<std::int64_t>(sent.size())));
    ASSERT_TRUE(WaitForQuietScreen());
    EXPECT_TRUE(ScreenShows(ExpectedLines(sent, 0, 80, 200)));
}

// Ordinary text lines, CR LF, at a modest rate, shown while they come: with both newline flags
// a line end makes an empty line after each text line. The bounds are loose (a loaded machine); the
// figures are the receive benchmark's.
TEST_F(ReceiveTest, TextLinesAtAModestRateAreShownWhileTheyComeAndTheWindowKeepsAnswering)
{
    Start(0, 88, 100);
    std::string sent;
    std::vector<std::string> expected;
    for (int i = 0; sent.size() < 40000; ++i) {
        const std::string text = PrintableBytes(70, unsigned(i));
        sent += text + "\r\n";
        expected.push_back(text);
        expected.push_back("");
    }
    expected.push_back("");  // the CR and the LF each end a line: the last line end leaves two
    expected.erase(expected.begin(), expected.end() - 100);
    while (!expected.empty() && expected.back().empty()) expected.pop_back();

    std::atomic<bool> stop{false}, writerDone{false};
    std::atomic<long long> longestAnswerMs{0};
    HWND window = Form1->Handle();
    // About 20,000 bytes a second, as a device sends them: 100 bytes every 5 ms.
    std::thread writer([&] {
        for (size_t at = 0; at < sent.size() && !stop; at += 100) {
            line.Write(sent.data() + at, std::min<size_t>(100, sent.size() - at));
            std::this_thread::sleep_for(5ms);
        }
        writerDone = true;
    });
    std::thread probe([&] {
        while (!stop) {
            const auto start = std::chrono::steady_clock::now();
            DWORD_PTR result = 0;
            SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
            const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count();
            if (ms > longestAnswerMs) longestAnswerMs = ms;
            std::this_thread::sleep_for(20ms);
        }
    });
    // The screen is drawn while the lines come (the display tick loads it ten times a second),
    // not only once they stop.
    TPaintCount paints(Form1->reScreen->Handle());
    // The peer's writes block while the window lags: a window that keeps up lets it finish in
    // about 2 s, one held to a few thousand bytes a second needs about 15.
    const bool allIn =
        qv::test::WaitUntil([&] { return writerDone.load(); }, 10s) &&
        qv::test::WaitUntil([&] { return Display.BytesIn == std::int64_t(sent.size()); }, 5s);
    const int paintsWhileSending = paints.Count();
    stop = true;
    qv::test::WaitUntil([] { return false; }, 50ms);  // the probe's last message is answered
    probe.join();
    if (!allIn && !writerDone) qv::test::DrainProgramSideUntil(line.DevicePath(), writerDone);
    writer.join();

    ASSERT_TRUE(allIn) << Display.BytesIn << " of " << sent.size() << " bytes read";
    ASSERT_TRUE(WaitForQuietScreen());
    EXPECT_TRUE(ScreenShows(expected));
    EXPECT_LT(longestAnswerMs, 2000) << "the window was unresponsive";
    EXPECT_GE(paintsWhileSending, 5) << "the screen was not drawn while the lines came";
}

// Under traffic the display tick loads the whole screen up to ten times a second, for hours: a
// load may leave nothing in the process heap, where every later allocation of the control would
// have to step over it. Text lines end in an empty line, which the screen keeps.
TEST_F(ReceiveTest, WholeScreenLoadsLeaveTheProcessHeapAsItWasAndKeepTheLastEmptyLine)
{
    Start(0, 88, 100);
    std::string sent;
    std::vector<std::string> expected;
    for (int i = 0; i < 120; ++i) {
        expected.push_back(PrintableBytes(70, unsigned(i)));
        sent += expected.back() + "\r\n";
        expected.push_back("");  // CR and LF each end a line
    }
    expected.push_back("");
    expected.erase(expected.begin(), expected.end() - 100);
    writer.Send(sent);
    ASSERT_TRUE(WaitForBytesIn(std::int64_t(sent.size())));
    ASSERT_TRUE(WaitForQuietScreen());
    HWND screen = Form1->reScreen->Handle();
    // The control's undo list fills first: a hundred entries at most. (Drawn or not, a load
    // leaves the same.)
    for (int i = 0; i < 101; ++i) Form1->ReloadScreenFromPending();
    const long before = qv::test::ProcessHeapCensus().busy;
    for (int i = 0; i < 100; ++i) Form1->ReloadScreenFromPending();
    UpdateWindow(screen);
    EXPECT_LT(qv::test::ProcessHeapCensus().busy - before, 40);  // 200 more before the mend
    EXPECT_EQ(SendMessageA(screen, EM_GETLINECOUNT, 0, 0), 100);
    while (expected.back().empty()) expected.pop_back();
    EXPECT_TRUE(ScreenShows(expected));
}

class FinalScreen : public ReceiveTest, public ::testing::WithParamInterface<int> {};

TEST_P(FinalScreen, IsTheLastLinesSent)
{
    const int mode = GetParam();
    Start(mode, 64, 50);
    std::string sent;
    // Bytes that end no line and expand to nothing else, so lines wrap by width alone.
    for (int i = 0; i < 30000; ++i) {
        const char b = char(mode == 0 ? 0x20 + i % 95 : (i * 13 + 1) % 256);
        if (b != '\r' && b != '\n') sent += b;
    }
    writer.Send(sent);
    ASSERT_TRUE(WaitForBytesIn(static_cast<std::int64_t>(sent.size()), 20s));
    ASSERT_TRUE(WaitForQuietScreen());
    EXPECT_TRUE(ScreenShows(ExpectedLines(sent, mode, 64, 50)));
}

INSTANTIATE_TEST_SUITE_P(EveryMode, FinalScreen, ::testing::Values(0, 1, 2));

class MovedScreenTest : public ReceiveTest {
protected:
    // Keys typed, each echoed by the peer (two colours in turn), the screen compared after every
    // few keys with the screen drawn anew: new lines move the drawn lines up instead of drawing
    // them again, and a line limit cuts the top line in place.
    void TypeEchoedAndCompare(int Keys)
    {
        HWND screen = Form1->reScreen->Handle();
        ASSERT_EQ(GetFocus(), screen);
        const std::string typed = "the quick brown fox jumps over 13 lazy dogs\r";
        for (int i = 0; i < Keys; ++i) {
            const char key = typed[size_t(i) % typed.size()];
            SendMessageA(screen, WM_CHAR, static_cast<unsigned char>(key), 0);
            ASSERT_EQ(line.ReadExactly(1, 2000ms), std::string(1, key));
            const std::int64_t in = Display.BytesIn;
            line.Write(std::string(1, key));
            ASSERT_TRUE(WaitForBytesIn(in + 1));
            if (i % 3 != 2) continue;
            const std::vector<std::uint32_t> drawn = ScreenPixels();
            InvalidateRect(screen, nullptr, FALSE);
            ASSERT_TRUE(ScreenPixels() == drawn) << "after key " << i;
        }
    }
};

TEST_F(MovedScreenTest, LinesMovedUpByNewLinesAndCutsAtTheLimitLookAsDrawnAnew)
{
    Start(2, 0, 40);
    TypeEchoedAndCompare(400);
    HWND screen = Form1->reScreen->Handle();
    EXPECT_GE(SendMessageA(screen, EM_GETFIRSTVISIBLELINE, 0, 0), 5);
    EXPECT_EQ(SendMessageA(screen, EM_GETLINECOUNT, 0, 0), 40);
}

// A limit below the screen's height: each cut moves the lines up with the view at the top. In
// Text mode, where the line feeds go in as plain text.
TEST_F(MovedScreenTest, LinesMovedUpByCutsOnAScreenLongerThanTheLimitLookAsDrawnAnew)
{
    Start(0, 0, 6);
    TypeEchoedAndCompare(90);
    EXPECT_EQ(SendMessageA(Form1->reScreen->Handle(), EM_GETLINECOUNT, 0, 0), 6);
}

}  // namespace
}  // namespace receive_test
