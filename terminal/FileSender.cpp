// The file send: its steps, run by a clock through the message queue, write blocks kept to the
// line's pace (or single bytes with their pauses), show the progress and go from pass to pass;
// the send's own call waits for the end and shows the boxes.
#include "terminal/FileSender.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <utility>

#include "framework/Exceptions.h"
#include "framework/Streams.h"
#include "framework/gui/Application.h"
#include "framework/gui/DialogService.h"
#include "framework/win/HelperWindow.h"
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
// The send's clock: a step is posted this often while the send runs.
constexpr UINT ClockMs = 5;

const UINT WM_QV_FILESENDSTEP = WM_APP + 0x0F5E;

// The running send's step window, and whether a step is already waiting in the queue (the clock
// and the pauses' timers post at most one).
std::atomic<HWND> StepWindow{nullptr};
std::atomic<bool> StepPosted{false};

LRESULT CALLBACK StepWindowProc(HWND Window, UINT Message, WPARAM wParam, LPARAM lParam)
{
    if (Message == WM_QV_FILESENDSTEP) {
        StepPosted = false;
        auto* sender = reinterpret_cast<TFileSender*>(GetWindowLongPtrA(Window, GWLP_USERDATA));
        if (sender) sender->Step();
        return 0;
    }
    return DefWindowProcA(Window, Message, wParam, lParam);
}

void CALLBACK ClockTick(void*, BOOLEAN) { WakeFileSend(); }

double SteadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

void WakeFileSend()
{
    const HWND window = StepWindow.load();
    if (window && !StepPosted.exchange(true)) PostMessageA(window, WM_QV_FILESENDSTEP, 0, 0);
}

TFileSender::TFileSender(TFileSendHost& Host, TFileSendOptions Options)
    : host_(Host),
      options_(std::move(Options))
{
}

TFileSender::~TFileSender()
{
    StopFeeder(false);
    StopClock();
    if (pausing_ && options_.EndPause) options_.EndPause();
    Close();
}

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
    StopFeeder(false);
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

// A menu, a message box or a dialog opened during the send runs a loop of its own, which holds
// the send's own call until it ends: a send that wrote from its own loop stopped for as long as a
// menu was held open (or left armed after one Esc), and a device with a receive time-out gave
// up. The steps come as messages, which every one of those loops dispatches; they never run the
// queue themselves, so no step runs inside another.
void TFileSender::StartClock()
{
    window_ = CreateHelperWindow("QvFileSendSteps", StepWindowProc, true);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    StepPosted = false;
    StepWindow = window_;
    // A timer of the thread pool, not a multimedia one: those time the pauses after a byte.
    if (!CreateTimerQueueTimer(&clock_, nullptr, ClockTick, nullptr, ClockMs, ClockMs,
                               WT_EXECUTEINTIMERTHREAD))
        clock_ = nullptr;
    lastStep_ = SteadySeconds();
    outerDialogOpening_ = std::exchange(Application->OnModalBegin,
                                        TNotifyEvent(this, &TFileSender::DialogOpening));
    outerDialogClosed_ =
        std::exchange(Application->OnModalEnd, TNotifyEvent(this, &TFileSender::DialogClosed));
    watchingDialogs_ = true;
    WakeFileSend();
}

void TFileSender::StopClock()
{
    if (watchingDialogs_) {
        Application->OnModalBegin = outerDialogOpening_;
        Application->OnModalEnd = outerDialogClosed_;
        watchingDialogs_ = false;
    }
    // Waits for a tick that runs: none comes once it has returned.
    if (clock_) DeleteTimerQueueTimer(nullptr, clock_, INVALID_HANDLE_VALUE);
    clock_ = nullptr;
    StepWindow = nullptr;
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

bool TFileSender::LineWantsBlock()
{
    const double now = SteadySeconds();
    Transfer.LineBusyUntil = std::max(Transfer.LineBusyUntil, now);
    return Transfer.LineBusyUntil - now <= LineLead();
}

// A whole-screen load of the echoed bytes (the display tick's, 30-120 ms under Wine with the
// screen full) holds the next step as long: with writes only 60 ms ahead the line ran dry in
// every load, and an echoing device's send went at 60-75 % of the line. The lead covers the
// longest wait between steps of the last second, so the line still has bytes when the next such
// load ends.
double TFileSender::LineLead() const
{
    return LineLeadSeconds + std::min(slowestGap_, LongestExtraLeadSeconds);
}

void TFileSender::StartPass()
{
    sent_ = 0;
    step_ = ProgressStep(size_);
    mark_ = step_;
    Display.StatusMessageText = ProgressStartText(size_);
}

// The share is of the file as it is now: a file that grew during the send went past 100 %. All
// of it is shown only at the pass's end (EndPass): a mark that falls on the size the pass began
// with showed 100 % and a full bar, and a file that had grown meanwhile went on and dropped back.
void TFileSender::NoteProgress()
{
    const std::int64_t now = std::max(size_, file_->Size());
    if (sent_ >= now) return;
    const std::int64_t shown =
        now > size_ ? static_cast<std::int64_t>(static_cast<double>(sent_) * size_ / now) : sent_;
    host_.SetSendProgress(ProgressBarUnits(shown, size_));
    Display.StatusMessageText = ProgressText(now, ProgressPercent(sent_, now));
}

void TFileSender::EndPass()
{
    // The file ended before its size was reached (a read error, or it shrank meanwhile): that is
    // a failed read, not a quiet end. A file that grew went out whole, to its new end.
    if (sent_ < size_) throw EReadError("Cannot read file \"%s\"", name_);
    host_.SetSendProgress(ProgressBarUnits(size_, size_));
    Display.StatusMessageText = ProgressText(sent_, 100);
    if (!options_.Repeats || (size_ == 0 && options_.EmptyFileBox)) {
        Finish(TEnd::Whole);
        return;
    }
    host_.SetSendProgress(0);
    if (!endless_) {
        if (remaining_ <= 0) {
            Finish(TEnd::Whole);
            return;
        }
        --remaining_;
    }
    file_->SetPosition(0);
    size_ = file_->Size();
    StartPass();
}

bool TFileSender::WriteWhileLineWants()
{
    while (LineWantsBlock()) {
        if (pausing_) {
            const TFileSendPause pause = options_.PauseState();
            if (pause == TFileSendPause::Wait) return true;
            pausing_ = false;
            options_.EndPause();
            if (pause == TFileSendPause::Refused) {
                Finish(TEnd::PauseRefused);
                return false;
            }
        }
        // The block is what the line carries in 20 ms at the baud of the moment: the baud may
        // change on an open port, and a block sized for 921,600 baud takes two seconds at 9,600.
        const std::uint32_t baud = host_.LineBaud();
        const int blockBytes = options_.ByteAtATime ? 1 : FileSendBlockBytes(baud);
        const int want = NextBlockBytes(blockBytes, sent_, mark_);
        if (block_.size() < static_cast<size_t>(want)) block_.resize(static_cast<size_t>(want));
        const int n = std::max(0, file_->Read(block_.data(), want));
        if (n == 0) {
            EndPass();
            return end_ == TEnd::None;
        }
        if (baud != 0) Transfer.LineBusyUntil += n * 10.0 / baud;
        // Bytes the port refuses or only partly takes end the send: the rest did not go out.
        const int written = std::max(0, host_.WriteBlock(block_.data(), n));
        Display.BytesOut += written;
        sent_ += written;
        if (written != n) {
            Finish(host_.PortDeviceGone() ? TEnd::DeviceGone : TEnd::PortRefused);
            return false;
        }
        if (sent_ == mark_) {
            NoteProgress();
            mark_ += step_;
        }
        if (options_.ByteAtATime && options_.StartPause) {
            if (!options_.StartPause()) {
                Finish(TEnd::PauseRefused);
                return false;
            }
            pausing_ = true;
        }
    }
    return true;
}

// A system dialog (a file's open or save dialog, the font, colour and print dialogs) holds the
// queue for 80-340 ms while it is built and again while it handles some of its own messages,
// and no step runs meanwhile: the line went idle twice with each. The program knows when it
// opens one: until it has closed, a thread of the send writes the blocks, kept to the line's
// pace as the steps keep them, and the steps wait. A send of single bytes with pauses stays with
// its steps: its pauses are the main thread's.
void TFileSender::DialogOpening(TObject* Sender)
{
    if (outerDialogOpening_) outerDialogOpening_(Sender);
    // A dialog opened from inside another leaves the feeder to the outer one.
    if (dialogsOpen_++ > 0) return;
    if (end_ != TEnd::None || !Runs() || options_.ByteAtATime) return;
    feederStop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!feederStop_) return;
    fed_ = 0;
    fedToEnd_ = false;
    fedRefused_ = false;
    try {
        feeder_ = std::thread([this] { Feed(); });
    } catch (...) {
        // No thread to be had: the steps go on as under a menu.
        CloseHandle(feederStop_);
        feederStop_ = nullptr;
    }
}

void TFileSender::DialogClosed(TObject* Sender)
{
    if (dialogsOpen_ > 0 && --dialogsOpen_ == 0) StopFeeder(true);
    if (outerDialogClosed_) outerDialogClosed_(Sender);
}

void TFileSender::Feed()
{
    try {
        while (WaitForSingleObject(feederStop_, 0) == WAIT_TIMEOUT) {
            if (!LineWantsBlock()) {
                WaitForSingleObject(feederStop_, 2);
                continue;
            }
            const std::uint32_t baud = host_.LineBaud();
            const int want = FileSendBlockBytes(baud);
            if (block_.size() < static_cast<size_t>(want)) block_.resize(static_cast<size_t>(want));
            const int n = std::max(0, file_->Read(block_.data(), want));
            if (n == 0) {
                fedToEnd_ = true;
                return;
            }
            if (baud != 0) Transfer.LineBusyUntil += n * 10.0 / baud;
            const int written = std::max(0, host_.WriteBlock(block_.data(), n));
            fed_ += written;
            if (written != n) {
                fedRefused_ = true;
                return;
            }
        }
    } catch (...) {
        // A failed read: the steps meet it again when the dialog has closed.
    }
}

void TFileSender::StopFeeder(bool TakeEnd)
{
    if (!feeder_.joinable()) return;
    SetEvent(feederStop_);
    feeder_.join();
    CloseHandle(feederStop_);
    feederStop_ = nullptr;
    sent_ += fed_;
    Display.BytesOut += fed_;
    // The dialog's time is no wait between two steps of a loop.
    lastStep_ = SteadySeconds();
    if (!TakeEnd || end_ != TEnd::None || !Runs()) return;
    try {
        if (fedRefused_)
            Finish(host_.PortDeviceGone() ? TEnd::DeviceGone : TEnd::PortRefused);
        else if (fedToEnd_)
            EndPass();
        else if (step_ > 0 && sent_ >= mark_) {
            NoteProgress();
            while (mark_ <= sent_) mark_ += step_;
        }
    } catch (...) {
        Finish(TEnd::FileError);
    }
}

void TFileSender::Step()
{
    if (inStep_ || end_ != TEnd::None || feeder_.joinable()) return;
    inStep_ = true;
    const double now = SteadySeconds();
    const double gap = now - lastStep_;
    if (gap >= slowestGap_ || now - slowestAt_ > SlowMessageMemorySeconds) {
        slowestGap_ = gap;
        slowestAt_ = now;
    }
    lastStep_ = now;
    try {
        if (Stopped())
            Finish(TEnd::Stopped);
        else if (!Connection.PortOpen)
            Finish(TEnd::PortClosed);
        else
            WriteWhileLineWants();
    } catch (...) {
        Finish(TEnd::FileError);
    }
    inStep_ = false;
}

void TFileSender::Finish(TEnd End)
{
    end_ = End;
    if (pausing_) {
        pausing_ = false;
        options_.EndPause();
    }
    // A step already posted, or posted by a last tick, finds the send ended.
    StepWindow = nullptr;
}

void TFileSender::Run()
{
    try {
        Begin();
        endless_ = options_.Repeats && options_.Passes == 0;
        remaining_ = options_.Passes - 1;
        if (options_.Repeats) {
            Application->ProcessMessages();
            if (Runs()) file_->SetPosition(0);
        }
    } catch (...) {
        end_ = TEnd::FileError;
    }
    if (end_ == TEnd::None && Runs()) {
        StartPass();
        StartClock();
        while (end_ == TEnd::None) {
            Application->ProcessMessages();
            if (end_ != TEnd::None) break;
            // Without its clock (the system refused the timer) the send steps from here.
            if (!clock_) WakeFileSend();
            MsgWaitForMultipleObjectsEx(0, nullptr, ClockMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
        StopFeeder(false);
        StopClock();
    }
    if (end_ == TEnd::FileError) {
        Application->MessageBox(MainText::FileErrorText, MainText::FileErrorCaption, MB_OKCANCEL);
        Display.StatusMessageText = MainText::FileErrorCaption;
        if (Runs()) host_.EndFileSend();
        return;
    }
    // The whole file went out, to its end as it was then: a file that grew counts as sent.
    if (end_ == TEnd::Whole && Runs()) {
        if (size_ == 0 && options_.EmptyFileBox)
            MessageDlg(MainText::EmptyFileHead + name_ + MainText::EmptyFileTail, mtWarning,
                       TMsgDlgButtons{mbOK});
        else if (options_.SuccessBox)
            MessageDlg(MainText::SentHead + CountToText(sent_) +
                           (sent_ == 1 ? MainText::SentOneByte : MainText::SentBytes) + name_,
                       mtInformation, TMsgDlgButtons{mbOK});
        if (options_.SuccessBox) Sleep(50);
        host_.SetSendProgress(0);
    }
    if (Runs()) host_.EndFileSend();
    ShowBoxesAfterEnd();
}

void TFileSender::ShowBoxesAfterEnd()
{
    if (end_ == TEnd::PortRefused && options_.PortRefusedBox)
        MessageDlg(MainText::PortRefusedHead + CountToText(sent_) + MainText::PortRefusedMiddle +
                       CountToText(size_) + MainText::PortRefusedTail + name_,
                   mtError, TMsgDlgButtons{mbOK});
    if (end_ != TEnd::PauseRefused) return;
    if (options_.PauseRefusedBox) {
        options_.PauseRefusedBox();
        return;
    }
    MessageDlg(MainText::PauseTimerRefusedHead + CountToText(options_.CharDelayMs) +
                   MainText::PauseTimerRefusedTail + CountToText(sent_) +
                   MainText::PortRefusedMiddle + CountToText(size_) + MainText::PortRefusedTail +
                   name_,
               mtError, TMsgDlgButtons{mbOK});
}
