// The receive path: bytes read from the port are captured, formatted into the pending screen
// text and shown, a single byte or a short reply pasted at once, anything more by the display
// tick's whole-screen load (during a burst the screen is drawn once per tick); the screen keeps
// to its line limit.
// Also the formatter's overflow stop.
#include <richedit.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <string>

#include "framework/Streams.h"
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/ReceiveTexts.h"
#include "terminal/ScreenLines.h"
#include "terminal/ScreenView.h"

namespace {

constexpr int MaxReadBytes = RawRxBufferSize - 1;
// Above this many pending bytes a pass counts the lines itself instead of waiting for the tick.
constexpr std::int64_t BacklogCheckBytes = 100000;
// A shortening that would drop records from a table this full stops instead (RTD).
constexpr std::uint32_t RecordTrimLimit = 219999;
// The diagnostics memo is emptied by the tick beyond this many characters.
constexpr int MemoLimit = 32000;
// A line is quiet after this long without a read: the display tick's interval.
constexpr DWORD QuietMs = 100;
// The most a reply pasted at once may hold: a screen line at its widest and a CR LF.
constexpr std::uint32_t ReplyBytes = MaxColumns + 2;
// Closes a whole-screen load, which has no final line break to end it (see
// LoadScreenFromWorkRtf).
constexpr char ScreenClosing[] = "}";

// The line limit as the display uses it: the settings record holds 2..200 once read, and a
// record never read (0) must not make every pass cut the screen.
std::uint32_t LineLimit()
{
    return static_cast<std::uint32_t>(std::clamp(Settings.Lines, MinLines, MaxLines));
}

void CaretToEnd(HWND Screen)
{
    const int end = ScreenTextLength(Screen);
    SendMessageA(Screen, EM_SETSEL, end, end);
}

// Whether a read of N bytes is pasted at the end of the screen at once rather than left to the
// display tick, which draws the screen once per interval whatever the rate: a single byte
// (typing speed) and a reply, the first bytes after the line has been quiet for a tick's time
// up to a screen line at its widest and its line end, both only while the screen shows all the
// pending text (pasted on a screen that awaits the tick's load, they showed out of place until
// it). Left to the tick, a device's "OK" and its line end, or a line it sends now and then,
// showed a tick (100-130 ms) after they came.
bool ShowReadAtOnce(TReceiveView& Receive, int N)
{
    const DWORD now = GetTickCount();
    if (now - Receive.LastReadAt >= QuietMs) Receive.BytesSinceQuiet = 0;
    Receive.LastReadAt = now;
    // Counted no further than the bound: a burst of hours would wrap.
    Receive.BytesSinceQuiet = std::min(
        Receive.BytesSinceQuiet + static_cast<std::uint32_t>(std::clamp(N, 0, MaxReadBytes)),
        ReplyBytes + 1);
    if (N <= 0 || Receive.LoadDue || Receive.ScreenAwaitingTick) return false;
    return N == 1 || Receive.BytesSinceQuiet <= ReplyBytes;
}

// The display tick is to load the whole screen: the pending text holds what the screen does not
// show.
void ScheduleScreenLoad(TForm1& Form)
{
    Form.Receive.LoadDue = true;
    Form.Timer1->SetEnabled(true);
}

// WorkRtf := RtfHeader + Body (Size bytes, ending in the pending text's NUL), with the NUL
// replaced by the closing, rewound for the screen.
void FillWorkRtf(const char* Body, std::int64_t Size)
{
    Display.WorkRtf->Clear();
    Display.WorkRtf->WriteString(Display.RtfHeader);
    Display.WorkRtf->WriteBuffer(Body, static_cast<int>(Size));
    Display.WorkRtf->Seek(-1, soCurrent);
    Display.WorkRtf->WriteString(ScreenClosing);
    Display.WorkRtf->SetPosition(0);
}

// A whole-screen load: no selection or scroll notifications and no drawing while it runs,
// one repaint afterwards, on every path; the screen awaits the tick no more.
class TScreenLoad {
public:
    TScreenLoad(HWND Screen, TReceiveView& Receive)
        : screen_(Screen),
          receive_(Receive),
          bars_(ScreenScrollBars(Screen))
    {
        oldMask_ = SendMessageA(screen_, EM_SETEVENTMASK, 0, 0);
        SendMessageA(screen_, WM_SETREDRAW, FALSE, 0);
    }
    ~TScreenLoad()
    {
        receive_.ScreenAwaitingTick = false;
        SendMessageA(screen_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(screen_, nullptr, FALSE);
        DrawChangedScrollBars(screen_, bars_);
        SendMessageA(screen_, EM_SETEVENTMASK, 0, oldMask_);
    }
    TScreenLoad(const TScreenLoad&) = delete;
    TScreenLoad& operator=(const TScreenLoad&) = delete;

private:
    HWND screen_;
    TReceiveView& receive_;
    TScreenScrollBars bars_;
    LRESULT oldMask_;
};

// Whether the screen shows the pending text as it is (no load due) and has a line for each of
// its Lines line ends and the last one: its lines are then the pending text's.
bool ScreenHasPendingLines(HWND Screen, const TReceiveView& Receive, std::uint32_t Lines)
{
    return !Receive.LoadDue && !Receive.ScreenAwaitingTick &&
           SendMessageA(Screen, EM_GETLINECOUNT, 0, 0) == static_cast<LRESULT>(Lines) + 1;
}

// Removes the screen's first Lines lines (the screen does not wrap: its lines are the
// formatter's), the caret at the end and in view; the characters removed. Held: the caller
// holds the screen's drawing (a paste's), and draws what moved.
int CutScreenTop(HWND Screen, std::uint32_t Lines, bool Held)
{
    const LRESULT end = SendMessageA(Screen, EM_LINEINDEX, Lines, 0);
    if (end <= 0) return 0;
    const LRESULT mask = SendMessageA(Screen, EM_SETEVENTMASK, 0, 0);
    // The kept lines stay as they were drawn: at the end of the text the view keeps showing
    // them, and nothing is drawn again; a view that had the cut lines in it moves up.
    const int last = ScreenTextLength(Screen) - 1;
    std::optional<TScreenHold> hold;
    if (!Held) hold.emplace(Screen, last);
    SendMessageA(Screen, EM_SETSEL, 0, end);
    SendMessageA(Screen, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
    CaretToEnd(Screen);
    SendMessageA(Screen, EM_SCROLLCARET, 0, 0);
    if (hold) hold->Release(last - static_cast<int>(end), INT_MAX);
    SendMessageA(Screen, EM_SETEVENTMASK, 0, mask);
    return static_cast<int>(end);
}

// An echo, single byte or reply added at the end: no scroll or selection notifications
// while the caret is brought into view and the text goes in, and, for text that scrolls, no
// drawing either; afterwards the lines above the paste keep their pixels (TScreenHold) and the
// rest is drawn. Each scroll of a paste used to draw the screen and the gutter at once, and the
// scroll handler's move back to whole lines scrolled again: some ten scrolls and paints per
// typed key, 20-50 ms a key. Each selection change (the caret put at the end, then after the
// text) redrew the gutter and read the inspector's text again, about 2 ms a paste. Finish runs
// each handler once, after the paste, still undrawn.
class TQuietPaste {
public:
    // HoldDrawing false: for text that scrolls nothing (no new line, the last line in view),
    // which then draws only itself. Drawing turned off and on makes Wine's next paint of the
    // screen cost 4-5 ms more, and this is the path of every typed key.
    TQuietPaste(TForm1& Form, bool HoldDrawing)
        : form_(Form),
          screen_(Form.reScreen->Handle()),
          pasteAt_(ScreenTextLength(screen_))
    {
        oldMask_ = SendMessageA(screen_, EM_SETEVENTMASK, 0, 0);
        SendMessageA(screen_, EM_SETEVENTMASK, 0, oldMask_ & ~HeldBack);
        if (HoldDrawing) hold_.emplace(screen_, pasteAt_ - 1);
        scrollPos_ = GetScrollPos(screen_, SB_VERT);
    }
    // The lines above the pasted text are drawn already, the view moved up or not, also when
    // the top lines were cut meanwhile; a screen loaded anew is drawn whole.
    ~TQuietPaste()
    {
        SendMessageA(screen_, EM_SETEVENTMASK, 0, oldMask_);
        if (hold_ && cutFromTop_ >= 0)
            hold_->Release(pasteAt_ - 1 - cutFromTop_,
                           ScreenCharTop(screen_, pasteAt_ - cutFromTop_));
    }
    bool HoldsDrawing() const { return hold_.has_value(); }
    // Characters cut from the screen's top during the paste; -1: the screen was loaded anew.
    int* CutFromTop() { return &cutFromTop_; }
    // After the paste: the notifications are back on, and the scroll handler runs if the view
    // moved, the selection handler if it was to run at all (the caret always moves).
    void Finish()
    {
        SendMessageA(screen_, EM_SETEVENTMASK, 0, oldMask_);
        if ((oldMask_ & ENM_SCROLL) != 0 && GetScrollPos(screen_, SB_VERT) != scrollPos_)
            form_.reScreenVertScroll(form_.reScreen);
        if ((oldMask_ & ENM_SELCHANGE) != 0) form_.reScreenSelectionChange(form_.reScreen);
    }
    TQuietPaste(const TQuietPaste&) = delete;
    TQuietPaste& operator=(const TQuietPaste&) = delete;

private:
    static constexpr LRESULT HeldBack = ENM_SCROLL | ENM_SELCHANGE;
    TForm1& form_;
    HWND screen_;
    int pasteAt_;
    std::optional<TScreenHold> hold_;
    LRESULT oldMask_;
    int scrollPos_;
    int cutFromTop_ = 0;
};

}  // namespace

// ---- the receive handler ----------------------------------------------------------------------

void TForm1::Comm1RxChar(TObject* Sender, DWORD Count)
{
    // No "Com1RxChar" line in the diagnostics memo for every event: nobody sees the memo, and
    // a word-wrapped edit of up to 32,000 characters made every event cost several times its
    // read and formatting under load.
    int queued = Comm1->InQueCount();
    if (queued <= 0) return;

    std::uint8_t* const raw = Receive.RawRxBuffer;
    char* const formatted = Receive.FormattedBuffer;
    for (;;) {
        ++Receive.RxPassCounter;
        const int n = Comm1->Read(reinterpret_cast<char*>(raw),
                                  static_cast<unsigned long>(std::min(queued, MaxReadBytes)));
        if (n < 0) return;
        Display.BytesIn += n;
        CaptureBytes(raw, n);
        raw[n] = 0;

        // A read that cannot be pasted at once is shown by the tick's load: nothing of it is
        // drawn before.
        const bool pasteNow = ShowReadAtOnce(Receive, n);
        if (!pasteNow) Receive.ScreenAwaitingTick = true;

        // A read can format to more than the buffer holds (a tab of many blanks per byte):
        // it is formatted and appended in pieces. A reply is always one piece.
        std::uint32_t done = 0;
        std::uint32_t m = 0;
        int pieces = 0;
        do {
            ++pieces;
            std::uint32_t taken = 0;
            m = FormatToRtf(Sender, raw + done, formatted, FormattedBufferSize - 1, 0,
                            static_cast<std::uint32_t>(n) - done, &taken);
            formatted[m] = 0;
            formatted[m + 1] = 0;
            AppendToPendingRtf(formatted, m);
            if (taken == 0) break;
            done += taken;
        } while (done < static_cast<std::uint32_t>(n));

        // A pass only keeps the pending text short here; the screen is loaded by the paste's
        // check below or by the tick, not twice (a whole-screen load is the path's main cost).
        if (Display.PendingRtf->Size() > BacklogCheckBytes) CheckReceiveBacklog(false);

        if (pasteNow && pieces == 1) {
            const std::uint8_t first = raw[0];
            const bool hexCell = Display.DisplayMode == 2 ||
                                 (Display.DisplayMode == 1 && (first < 0x20 || first >= 0x7F));
            // The piece's line breaks show as they are: the control keeps each of them, also
            // the last, when it pastes. (The formatter's line feeds for the screen, put in
            // first, gave a reply's line ends before its text, and a received line end an
            // extra line, until the next whole-screen load.)
            PasteAtScreenEnd(hexCell ? RxHexPrefix : RxTextPrefix, formatted, m);
            CheckReceiveBacklog();
        } else {
            Receive.ScreenAwaitingTick = true;
            ScheduleScreenLoad(*this);
        }

        queued = Comm1->InQueCount();
        if (queued <= 0) return;
        if (Receive.RxPassCounter < 2) continue;
        Receive.RxPassCounter = 0;
        // The port signals only new bytes: what is left now would wait for the next byte the
        // peer sends, perhaps for ever. The tick reads it (the screen shows what was read).
        Timer1->SetEnabled(true);
        return;
    }
}

// ---- pending text and the immediate paste ----------------------------------------------------

void AppendToPendingRtf(const char* Piece, std::uint32_t Length)
{
    if (Display.PendingRtf->Position() != 0) Display.PendingRtf->Seek(-1, soCurrent);
    Display.PendingRtf->WriteBuffer(Piece, static_cast<int>(Length) + 1);
}

void TForm1::PasteAtScreenEnd(const String& Prefix, const char* Formatted, std::uint32_t Length)
{
    Display.WorkRtf->Clear();
    Display.WorkRtf->WriteString(Prefix);
    Display.WorkRtf->WriteBuffer(Formatted, static_cast<int>(Length));
    Display.WorkRtf->WriteString("}");
    // A failed paste is reported like a failed whole-screen load, here where it is known what
    // failed (escaping, it would reach only the application's general display), and the tick
    // then shows the byte from the pending text.
    try {
        HWND screen = reScreen->Handle();
        Receive.ScreenAwaitingTick = false;
        const bool newLine = std::search(Formatted, Formatted + Length, RtfLineBreakHead,
                                         RtfLineBreakHead + 4) != Formatted + Length;
        TQuietPaste quiet(
            *this,
            newLine || ScreenRoomBelowLastLine(
                           screen, ScreenLineHeight(screen, GutterCanvas->TextHeight("1"))) < 0);
        CaretToEnd(screen);
        SendMessageA(screen, EM_SCROLLCARET, 0, 0);
        Display.WorkRtf->SetPosition(0);
        reScreen->PasteFromStream(Display.WorkRtf, true, false, false);
        // A new line at the line limit: the top line goes while the drawing is still held, so
        // the screen and its scroll bar are drawn once. Drawn apart, each drawing of Wine's
        // scroll bar cost 7-9 ms, and the cut held and released the drawing a second time.
        if (quiet.HoldsDrawing()) *quiet.CutFromTop() = CutScreenTopWithPaste();
        quiet.Finish();
    } catch (...) {
        ShowMessage(ReceiveText::UpdateFailed);
        ScheduleScreenLoad(*this);
    }
    Display.WorkRtf->Clear();
}

void TForm1::EchoSentByte(TObject* Sender, std::uint8_t Byte, const String& Prefix)
{
    // The byte's line break, if it makes one, is in its text and shows as it is, as a received
    // one does. (The formatter's line feed for the screen, put in first, gave an echoed Enter
    // in ASCII/Text mode a second line end, an empty line until the next whole-screen load.)
    char* const formatted = Receive.FormattedBuffer;
    const std::uint32_t n = FormatToRtf(Sender, &Byte, formatted, FormattedBufferSize - 1, 1, 1);
    formatted[n] = 0;
    AppendToPendingRtf(formatted, n);
    PasteAtScreenEnd(Prefix, formatted, n);
}

// ---- the display tick -------------------------------------------------------------------------

void TForm1::Timer1Timer(TObject* Sender)
{
    if (Receive.OverloadStopRunning) return;  // still enabled: it comes again after the stop
    Timer1->SetEnabled(false);
    Receive.LoadDue = false;
    // Whatever this tick finds to load, the screen waits no more.
    struct Release {
        TReceiveView& receive;
        ~Release() { receive.ScreenAwaitingTick = false; }
    } release{Receive};
    if (!ShowCommEventTicked() && GetWindowTextLengthA(Memo1->Handle()) > MemoLimit)
        Memo1->SetText("");

    // Bytes a receive handler left in the queue (see its end).
    if (Comm1->InQueCount() > 0) {
        Comm1RxChar(Comm1, 0);
        // The load below shows what that read, so it leaves no load due. Left enabled, the
        // tick came again 100 ms after this one began, at once when the load took that long: in
        // a flood in Hexadecimal mode (loads of 40-100 ms, more on a busy machine) the window
        // went from one load to the next with a hand-over or two between them, read far less
        // than came, and held the device back for seconds.
        Timer1->SetEnabled(false);
        Receive.LoadDue = false;
    }

    if (Display.PendingRtf->Size() == 0) return;
    std::uint32_t lines = BuildLineOffsets(Display.PendingRtf->Memory(), 0);
    if (lines == MaxPendingLines) lines = StopForDelays();
    if (lines < LineLimit()) {
        ReloadScreenFromPending();
    } else {
        RebuildScreenFromPending(lines);
    }
    // Bytes still queued are read by the next tick, a whole interval after this load.
    if (Comm1->InQueCount() > 0) Timer1->SetEnabled(true);
}

// ---- line limit and screen loads ----------------------------------------------------------------

void TForm1::CheckReceiveBacklog(bool LoadScreen)
{
    if (Display.PendingRtf->Size() == 0) return;
    std::uint32_t lines = BuildLineOffsets(Display.PendingRtf->Memory(), 0);
    if (lines == MaxPendingLines) lines = StopForDelays();
    if (lines >= LineLimit()) {
        RebuildScreenFromPending(lines, LoadScreen);
    }
}

void TForm1::ReloadScreenFromPending()
{
    FillWorkRtf(Display.PendingRtf->Memory(), Display.PendingRtf->Size());
    LoadScreenFromWorkRtf(true);
}

int TForm1::CutScreenTopWithPaste()
{
    if (Display.PendingRtf->Size() == 0) return 0;
    const std::uint32_t lines = BuildLineOffsets(Display.PendingRtf->Memory(), 0);
    // The overload stops and a whole-screen load show or draw on their own: not inside a hold.
    if (lines == MaxPendingLines || lines < LineLimit() ||
        (!Display.TextMode() && Display.DisplayRecordCount >= RecordTrimLimit) ||
        !ScreenHasPendingLines(reScreen->Handle(), Receive, lines))
        return 0;
    int cut = 0;
    RebuildScreenFromPending(lines, true, &cut);
    return cut;
}

void TForm1::RebuildScreenFromPending(std::uint32_t Lines, bool LoadScreen, int* CutInHold)
{
    if (Display.PendingRtf->Size() == 0) return;
    const std::uint32_t skip =
        Lines == MaxPendingLines ? MaxPendingLines : Lines - (LineLimit() - 1);
    const std::uint32_t offset = BuildLineOffsets(Display.PendingRtf->Memory(), 1, skip);

    // The kept tail, its NUL included, becomes the screen and the whole pending text. A screen
    // that already shows every pending line only loses its top lines: loading the kept ones
    // anew cost a whole-screen load (30-100 ms) for each line a typed echo or a single byte
    // added at the limit.
    const bool cutInPlace = LoadScreen && ScreenHasPendingLines(reScreen->Handle(), Receive, Lines);
    TMemoryStream& pending = *Display.PendingRtf;
    const std::int64_t tail = pending.Size() - offset;
    if (LoadScreen && !cutInPlace) FillWorkRtf(pending.Memory() + offset, tail);
    std::memmove(pending.Memory(), pending.Memory() + offset, static_cast<size_t>(tail));
    pending.SetSize(tail);
    pending.Seek(0, soEnd);

    if (!Display.TextMode() && skip != 0) {
        if (Display.DisplayRecordCount >= RecordTrimLimit) {
            Display.WorkRtf->Clear();
            StopForOverflow(this, ReceiveText::RecordsDelayed);
            return;
        }
        DropLeadingLineRecords(skip);
    }

    if (!LoadScreen) {
        ScheduleScreenLoad(*this);
        return;
    }
    if (cutInPlace) {
        const int cut = CutScreenTop(reScreen->Handle(), skip, CutInHold != nullptr);
        // Inside a paste the paste's end tells the gutter and the inspector; a load does it
        // itself.
        if (CutInHold)
            *CutInHold += cut;
        else
            reScreenSelectionChange(this);
    } else {
        LoadScreenFromWorkRtf(false);
        if (CutInHold) *CutInHold = -1;
    }
}

// Replaces the screen with WorkRtf, notifications and redraw off, and empties WorkRtf. A failed
// load says "Error Updating Screen" and leaves an empty, usable screen, whether it ran from the
// display tick or inside the port's receive event (the shortened rebuild).
void TForm1::LoadScreenFromWorkRtf(bool PlainRtf)
{
    HWND screen = reScreen->Handle();
    {
        TScreenLoad load(screen, Receive);
        try {
            // The old content goes first, by a replacement that keeps no undo: replaced by the
            // stream-in itself, it left the control's heap fragmented, and under Wine each load
            // took longer as a run went on (22 ms at first, 52 ms after a thousand loads;
            // emptied first, about 33 ms throughout: bench/receive/screen_load_timing.exe).
            SendMessageA(screen, EM_SETSEL, 0, -1);
            SendMessageA(screen, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
            // The text then replaces the empty selection. A stream-in that replaces the whole
            // content removes the text's last line break itself (so the load had to end with
            // one), and under Wine each such removal left the emptied last line's text, two
            // blocks of 16 and 256 bytes, in the process heap for good: at ten loads a second
            // some 0.15 MiB a minute, the heap's free space cut into ever more pieces. The
            // screen's text, colours, lines and caret format are the same either way.
            reScreen->PasteFromStream(Display.WorkRtf, true, false, PlainRtf);
            CaretToEnd(screen);
            SendMessageA(screen, EM_SCROLLCARET, 0, 0);
        } catch (...) {
            ShowMessage(ReceiveText::UpdateFailed);
            reScreen->SetText("");
        }
    }
    Display.WorkRtf->Clear();
    // The load moved the view and the caret with the screen's notifications off: the gutter
    // (which takes the width for the new line count) and the inspector follow them here. A
    // caret already at the end before the load, as after a font change, would not move again.
    reScreenSelectionChange(this);
}

// The 64,000-line stop; the lines are counted again afterwards, as the disconnect and the
// message let messages run (a New Session among them empties the pending text).
std::uint32_t TForm1::StopForDelays()
{
    StopForOverflow(this, ReceiveText::ProcessingDelays);
    return BuildLineOffsets(Display.PendingRtf->Memory(), 0);
}

// ---- the formatter's overflow stop ------------------------------------------------------------

void TForm1::StopForOverflow(TObject* Sender, const String& Message)
{
    struct Running {
        bool& flag;
        bool was = flag;
        explicit Running(bool& Flag) : flag(Flag) { flag = true; }
        ~Running() { flag = was; }
    } running(Receive.OverloadStopRunning);
    // The pending text and the records are still full: the next connect clears them first, or
    // its first block would stop the line again.
    displayNeedsReset_ = true;
    // The toggle connects when it is off: a port already closed stays closed.
    if (Connection.ConnectToggle() != 0) Connect_spbtnClick(Sender);
    ShowMessage(Message);
}
