// The file send's loop: a block at a time to the port, kept to the line's pace, with one pass of
// the message queue after each write (so Stop, a disconnect, a baud change or the keys reach the
// loop), its progress, its passes and its end.
#include "terminal/FileSender.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "framework/Exceptions.h"
#include "framework/Streams.h"
#include "framework/gui/Application.h"
#include "framework/gui/DialogService.h"
#include "terminal/FileSendProgress.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

namespace {

// How far the block writes may run ahead of what the line has carried: three blocks, and more
// while the queue has a long message to handle (see LineLead).
constexpr double LineLeadSeconds = 0.060;
// The most the lead grows by for a long message, and how long one is remembered.
constexpr double LongestExtraLeadSeconds = 0.200;
constexpr double SlowMessageMemorySeconds = 1.0;
// The longest sleep of the wait for the line between two passes of the queue. The wait wakes at
// once for the user's keys and mouse, not for each hand-over of received bytes (a device that
// echoes hands some over every millisecond): the passes take those in larger pieces.
constexpr double LongestWaitSeconds = 0.020;

// The user's keys and mouse, or a command (Stop Sending), wait in the queue: they are handled
// before the next block, as when each write ran the whole queue.
bool UserWaiting()
{
    MSG msg;
    return HIWORD(GetQueueStatus(QS_INPUT)) != 0 ||
           PeekMessageA(&msg, nullptr, WM_COMMAND, WM_COMMAND, PM_NOREMOVE | PM_NOYIELD);
}

double SteadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

TFileSender::TFileSender(TFileSendHost& Host, TFileSendOptions Options)
    : host_(Host),
      options_(std::move(Options))
{
}

TFileSender::~TFileSender() { Close(); }

bool TFileSender::Open(const String& Name)
{
    try {
        file_ = std::make_unique<TFileStream>(Name, fmOpenRead);
    } catch (EStreamError&) {
        MessageDlg(MainText::CannotOpenForReading + Name, mtError, TMsgDlgButtons{mbOK});
        return false;
    }
    name_ = Name;
    Transfer.FileSend = this;
    return true;
}

void TFileSender::Close()
{
    file_.reset();
    if (Transfer.FileSend == this) Transfer.FileSend = nullptr;
}

bool TFileSender::Stopped() const
{
    return !Runs() || (options_.StopAsked && options_.StopAsked());
}

void TFileSender::Begin()
{
    size_ = file_->Size();
    host_.LockForFileSend(ProgressBarUnits(size_, size_));
    std::uint8_t byte = 0;
    if (file_->Read(&byte, 1) == 1) {
        host_.ShowSendBar(name_);
        file_->SetPosition(0);
    }
}

// On Windows a write ends as its bytes go out, so this never waits there. Under Wine a write ends
// once the driver has taken the bytes, and a write it cannot take at once waits until its buffer
// has all but emptied: a file send ran up to a pty's 64 KB ahead of a 19,200 baud line, and a Stop
// clicked then was handled half a minute later. The queue runs meanwhile: a block booked before
// the baud was lowered takes the line far longer than its pass of the queue.
bool TFileSender::WaitForLine()
{
    for (;;) {
        if (!LineWantsBlock()) {
            const double ahead = Transfer.LineBusyUntil - SteadySeconds() - LineLead();
            const double wait = std::min(ahead, LongestWaitSeconds);
            MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::ceil(wait * 1000)),
                                        QS_INPUT, MWMO_INPUTAVAILABLE);
        }
        if (Stopped()) return false;
        const bool wanted = LineWantsBlock();
        PumpWhileLineHasEnough();
        if (Stopped()) return false;
        if (wanted || LineWantsBlock()) return true;
    }
}

bool TFileSender::LineWantsBlock()
{
    const double now = SteadySeconds();
    Transfer.LineBusyUntil = std::max(Transfer.LineBusyUntil, now);
    return Transfer.LineBusyUntil - now <= LineLead();
}

// A whole-screen load of the echoed bytes (the display tick's, 30-120 ms under Wine with the
// screen full) holds the send as long: with writes only 60 ms ahead the line ran dry in every
// load, and an echoing device's send went at 60-75 % of the line. The lead covers the longest
// message of the last second, so the line still has bytes when the next such load ends.
double TFileSender::LineLead() const
{
    return LineLeadSeconds + std::min(slowestMessage_, LongestExtraLeadSeconds);
}

// The queue is handled a message at a time, each timed, and only while the line has its lead:
// under a steady echo the hand-overs kept a pass of the whole queue going for a quarter of a
// second, the next block unwritten.
void TFileSender::PumpWhileLineHasEnough(bool AtLeastOne)
{
    double started = SteadySeconds();
    bool first = true;
    Application->ProcessMessagesWhile([&] {
        const double now = SteadySeconds();
        if (!first) {
            const double took = now - started;
            if (took >= slowestMessage_ || now - slowestAt_ > SlowMessageMemorySeconds) {
                slowestMessage_ = took;
                slowestAt_ = now;
            }
        }
        const bool more =
            !Stopped() && ((first && AtLeastOne) || !LineWantsBlock() || UserWaiting());
        first = false;
        started = now;
        return more;
    });
}

TFileSender::TPass TFileSender::SendPass()
{
    TPass pass;
    const std::int64_t step = ProgressStep(size_);
    std::int64_t mark = step;
    Display.StatusMessageText = ProgressStartText(size_);
    while (Connection.PortOpen) {
        if (!WaitForLine() && Runs()) {
            pass.Stopped = true;
            return pass;
        }
        // The block is what the line carries in 20 ms at the baud of the moment: the baud may
        // change on an open port, and a block sized for 921,600 baud takes two seconds at 9,600.
        const std::uint32_t baud = host_.LineBaud();
        const int blockBytes = options_.ByteAtATime ? 1 : FileSendBlockBytes(baud);
        const int want = NextBlockBytes(blockBytes, pass.Sent, mark);
        if (block_.size() < static_cast<size_t>(want)) block_.resize(static_cast<size_t>(want));
        const int n = Runs() ? std::max(0, file_->Read(block_.data(), want)) : 0;
        if (n == 0) break;
        if (baud != 0) Transfer.LineBusyUntil += n * 10.0 / baud;
        // Bytes the port refuses or only partly takes end the send: the rest did not go out.
        const int written = std::max(0, host_.WriteBlock(block_.data(), n));
        Display.BytesOut += written;
        pass.Sent += written;
        if (written != n) {
            pass.PortRefused = true;
            return pass;
        }
        if (!Stopped()) PumpWhileLineHasEnough(true);
        if (Runs() && Stopped()) {
            pass.Stopped = true;
            return pass;
        }
        if (Runs() && options_.Pause) {
            const TFileSendPause pause = options_.Pause();
            if (pause == TFileSendPause::Refused) {
                pass.PauseRefused = true;
                return pass;
            }
            if (pause == TFileSendPause::Stop || (Runs() && Stopped())) {
                pass.Stopped = true;
                return pass;
            }
        }
        // Ended while the queue ran (Stop Sending, a disconnect): the file is closed, and the
        // progress bar stays at the end's 0.
        if (!Runs()) break;
        if (pass.Sent == mark) {
            host_.SetSendProgress(ProgressBarUnits(pass.Sent, size_));
            mark += step;
            Display.StatusMessageText = ProgressText(size_, ProgressPercent(pass.Sent, size_));
        }
    }
    // The file ended before its size was reached (a read error, or it shrank meanwhile): that is
    // a failed read, not a quiet end. A file that grew went out whole, to its new end.
    if (Runs() && Connection.PortOpen && pass.Sent < size_)
        throw EReadError("Cannot read file \"%s\"", name_);
    return pass;
}

void TFileSender::Run()
{
    TPass pass;
    try {
        Begin();
        bool endless = options_.Repeats && options_.Passes == 0;
        std::int32_t remaining = options_.Passes - 1;
        if (options_.Repeats) {
            Application->ProcessMessages();
            if (Runs()) file_->SetPosition(0);
        }
        // A port that closed without the disconnect (which ends the send) would otherwise start
        // empty passes for ever.
        while (Runs() && Connection.PortOpen) {
            pass = SendPass();
            if (pass.PortRefused || pass.PauseRefused || pass.Stopped) break;
            if (pass.Sent == size_) {
                host_.SetSendProgress(ProgressBarUnits(size_, size_));
                Display.StatusMessageText = ProgressText(size_, 100);
                if (size_ == 0 && options_.EmptyFileBox) {
                    MessageDlg(MainText::EmptyFileHead + name_ + MainText::EmptyFileTail, mtWarning,
                               TMsgDlgButtons{mbOK});
                    remaining = 0;
                    endless = false;
                } else if (options_.SuccessBox) {
                    MessageDlg(MainText::SentHead + CountToText(size_) +
                                   (size_ == 1 ? MainText::SentOneByte : MainText::SentBytes) +
                                   name_,
                               mtInformation, TMsgDlgButtons{mbOK});
                }
                if (options_.SuccessBox) Sleep(50);
            }
            host_.SetSendProgress(0);
            if (!options_.Repeats) break;
            Application->ProcessMessages();
            if (!Runs()) break;
            file_->SetPosition(0);
            if (!endless) {
                if (remaining <= 0) break;
                --remaining;
            }
        }
    } catch (...) {
        Application->MessageBox(MainText::FileErrorText, MainText::FileErrorCaption, MB_OKCANCEL);
        Display.StatusMessageText = MainText::FileErrorCaption;
        if (Runs()) host_.EndFileSend();
        return;
    }
    if (Runs()) host_.EndFileSend();
    ShowBoxesAfterEnd(pass);
}

void TFileSender::ShowBoxesAfterEnd(const TPass& Pass)
{
    if (Pass.PortRefused && options_.PortRefusedBox)
        MessageDlg(MainText::PortRefusedHead + CountToText(Pass.Sent) +
                       MainText::PortRefusedMiddle + CountToText(size_) +
                       MainText::PortRefusedTail + name_,
                   mtError, TMsgDlgButtons{mbOK});
    if (Pass.PauseRefused)
        MessageDlg(MainText::PauseTimerRefusedHead + CountToText(options_.CharDelayMs) +
                       MainText::PauseTimerRefusedTail + CountToText(Pass.Sent) +
                       MainText::PortRefusedMiddle + CountToText(size_) +
                       MainText::PortRefusedTail + name_,
                   mtError, TMsgDlgButtons{mbOK});
}
