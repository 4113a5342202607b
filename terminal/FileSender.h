// TFileSender: one file sent to the port, as Send File, Special Send File and a macro's file item
// send it: the open file, the writes kept to the line's pace, the progress, the passes, and the
// boxes at the end. Each send configures what differs (TFileSendOptions); the window shows it
// through TFileSendHost.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "framework/Events.h"
#include "framework/Strings.h"

class TFileStream;

// What a file send asks of the window: the port's baud rate of the moment (it may change during a
// send) and a block written (the count the port took); whether the port's device is gone after a
// write it refused; the progress bar's range, the send commands and the screen locked; the send
// bar naming the file (in place of the entry pane); the progress; and the end of the send, which
// closes the file and gives everything back (miStopSendingClick).
class TFileSendHost {
public:
    virtual ~TFileSendHost() = default;
    virtual std::uint32_t LineBaud() const = 0;
    virtual int WriteBlock(const char* Bytes, int Count) = 0;
    virtual bool PortDeviceGone() = 0;
    virtual void LockForFileSend(int ProgressRange) = 0;
    virtual void ShowSendBar(const String& FileName) = 0;
    virtual void SetSendProgress(int Position) = 0;
    virtual void EndFileSend() = 0;
};

// Where the pause after a byte stands: over (the send goes on), still running, or the pause could
// not be had.
enum class TFileSendPause { Go, Wait, Refused };

struct TFileSendOptions {
    // One byte a write, each followed by the pause; otherwise blocks of what the line carries in
    // 20 ms at the baud rate of the moment.
    bool ByteAtATime = false;
    // The file's passes: Repeats false is one pass; true repeats it Passes times, 0 until
    // stopped, an empty file ending it (Special Send File).
    bool Repeats = false;
    std::int32_t Passes = 1;
    // The pause after each byte (ByteAtATime): StartPause begins it (false: its timer was
    // refused), PauseState is asked at each step until it is no longer Wait, EndPause ends it
    // (also early, when the send ends meanwhile). Its timer wakes the send (WakeFileSend).
    std::function<bool()> StartPause;
    std::function<TFileSendPause()> PauseState;
    std::function<void()> EndPause;
    // A stop asked for in the send's own way (a macro run's Stop button); a closed file (Stop
    // Sending, a disconnect) and a closed port stop every send.
    std::function<bool()> StopAsked;
    // The boxes: "Successfully sent ..." after the whole file (then 50 ms before the progress bar
    // goes back), the empty file's warning, the port's refusal, and for a refused pause either
    // PauseRefusedBox or the box telling the pause of CharDelayMs.
    bool SuccessBox = false;
    bool EmptyFileBox = false;
    bool PortRefusedBox = false;
    int CharDelayMs = 0;
    std::function<void()> PauseRefusedBox;
};

// Wakes the running send at once (a pause's timer ended); safe from any thread, and nothing when
// no send runs.
void WakeFileSend();

class TFileSender {
public:
    TFileSender(TFileSendHost& Host, TFileSendOptions Options);
    ~TFileSender();
    TFileSender(const TFileSender&) = delete;
    TFileSender& operator=(const TFileSender&) = delete;

    // Opens the file to send; the "Could not open file for reading" box when it cannot. While
    // it is open, this is the running send (Transfer.FileSend).
    bool Open(const String& Name);
    // Sends it with its passes and boxes, and ends the send; returns when the send has ended.
    void Run();
    // Ends the send's hold on the file: nothing more is written (miStopSendingClick).
    void Close();
    bool Runs() const { return file_ != nullptr; }

    // One step of the send, run by the send's clock through the message queue (whichever loop
    // runs it: the send's own, a menu's, a box's or a dialog's).
    void Step();

private:
    enum class TEnd {
        None,
        Whole,
        Stopped,
        PortClosed,
        PortRefused,
        DeviceGone,
        PauseRefused,
        FileError
    };
    void Begin();
    void StartPass();
    // The file's end reached: the pass's end, and the next pass or the send's end.
    void EndPass();
    // Writes while the line wants bytes; false when the send ended meanwhile.
    bool WriteWhileLineWants();
    void NoteProgress();
    void Finish(TEnd End);
    // The file closed or StopAsked.
    bool Stopped() const;
    // Whether the writes are within their lead of the line (a block is due).
    bool LineWantsBlock();
    double LineLead() const;
    void StartClock();
    void StopClock();
    void ShowBoxesAfterEnd();
    // A system dialog of the program opens, and has closed (the application's modal events).
    void DialogOpening(TObject* Sender);
    void DialogClosed(TObject* Sender);
    // The writer thread of a system dialog's time: Feed writes the blocks; StopFeeder ends it and
    // takes what it did into the send (with TakeEnd, also how it ended).
    void Feed();
    void StopFeeder(bool TakeEnd);

    TFileSendHost& host_;
    TFileSendOptions options_;
    std::unique_ptr<TFileStream> file_;
    String name_;
    // The file's size at the pass's start, and the bytes of the pass sent.
    std::int64_t size_ = 0;
    std::int64_t sent_ = 0;
    std::int64_t step_ = 0;
    std::int64_t mark_ = 0;
    bool endless_ = false;
    std::int32_t remaining_ = 0;
    bool pausing_ = false;
    bool inStep_ = false;
    TEnd end_ = TEnd::None;
    std::vector<char> block_;
    HWND window_ = nullptr;
    HANDLE clock_ = nullptr;
    // When the last step ran, and the longest wait between two steps lately (a long message
    // of whichever loop runs them), and when.
    double lastStep_ = 0;
    double slowestGap_ = 0;
    double slowestAt_ = 0;
    // The application's modal events as they were before the send, and the common dialogs open.
    TNotifyEvent outerDialogOpening_;
    TNotifyEvent outerDialogClosed_;
    bool watchingDialogs_ = false;
    int dialogsOpen_ = 0;
    std::thread feeder_;
    HANDLE feederStop_ = nullptr;
    // Written by the feeder, read once it has ended: the bytes the port took, and whether the
    // file's end came or the port refused a block.
    std::int64_t fed_ = 0;
    bool fedToEnd_ = false;
    bool fedRefused_ = false;
};
