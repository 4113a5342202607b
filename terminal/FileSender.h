// TFileSender: one file sent to the port, as Send File, Special Send File and a macro's file item
// send it: the open file, the block loop kept to the line's pace, the progress, and the boxes at
// the end. Each send configures what differs (TFileSendOptions); the window shows it through
// TFileSendHost.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/Strings.h"

class TFileStream;

// What a file send asks of the window: the port's baud rate of the moment (it may change during a
// send) and a block written (the count the port took); the progress bar's range, the send commands
// and the screen locked; the send bar naming the file (in place of the entry pane); the progress;
// and the end of the send, which closes the file and gives everything back (miStopSendingClick).
class TFileSendHost {
public:
    virtual ~TFileSendHost() = default;
    virtual std::uint32_t LineBaud() const = 0;
    virtual int WriteBlock(const char* Bytes, int Count) = 0;
    virtual void LockForFileSend(int ProgressRange) = 0;
    virtual void ShowSendBar(const String& FileName) = 0;
    virtual void SetSendProgress(int Position) = 0;
    virtual void EndFileSend() = 0;
};

// How a pause after a write ended: the send goes on, was stopped, or the pause could not be had.
enum class TFileSendPause { Go, Stop, Refused };

struct TFileSendOptions {
    // One byte a write, each followed by Pause; otherwise blocks of what the line carries in
    // 20 ms at the baud rate of the moment.
    bool ByteAtATime = false;
    // The file's passes: Repeats false is one pass; true repeats it Passes times, 0 until
    // stopped, an empty file ending it (Special Send File).
    bool Repeats = false;
    std::int32_t Passes = 1;
    // The wait after each write, once the queue has run; none when empty.
    std::function<TFileSendPause()> Pause;
    // A stop asked for in the send's own way (a macro run's Stop button); a closed file (Stop
    // Sending, a disconnect) and a closed port stop every send.
    std::function<bool()> StopAsked;
    // The boxes: "Successfully sent ..." after the whole file (then 50 ms before the progress bar
    // goes back), the empty file's warning, the port's refusal, and the refused pause timer for
    // a pause of CharDelayMs.
    bool SuccessBox = false;
    bool EmptyFileBox = false;
    bool PortRefusedBox = false;
    int CharDelayMs = 0;
};

class TFileSender {
public:
    TFileSender(TFileSendHost& Host, TFileSendOptions Options);
    ~TFileSender();
    TFileSender(const TFileSender&) = delete;
    TFileSender& operator=(const TFileSender&) = delete;

    // Opens the file to send; the "Could not open file for reading" box when it cannot. While
    // it is open, this is the running send (Transfer.FileSend).
    bool Open(const String& Name);
    // Sends it with its passes and boxes, and ends the send.
    void Run();
    // Ends the send's hold on the file: its loop stops at its next look (miStopSendingClick).
    void Close();
    bool Runs() const { return file_ != nullptr; }

private:
    struct TPass {
        std::int64_t Sent = 0;
        bool PortRefused = false;
        bool PauseRefused = false;
        bool Stopped = false;  // by StopAsked or Pause
    };
    void Begin();
    TPass SendPass();
    // The file closed or StopAsked.
    bool Stopped() const;
    // Waits, running the message queue, until the writes are within their lead of the line;
    // false when the send was stopped meanwhile.
    bool WaitForLine();
    // Whether the writes are within their lead of the line (a block is due).
    bool LineWantsBlock();
    double LineLead() const;
    // Runs the queue while the line has its lead and the send goes on; after a write, at least
    // one message, so Stop and the keys are handled whatever the line's state.
    void PumpWhileLineHasEnough(bool AtLeastOne = false);
    void ShowBoxesAfterEnd(const TPass& Pass);

    TFileSendHost& host_;
    TFileSendOptions options_;
    std::unique_ptr<TFileStream> file_;
    String name_;
    std::int64_t size_ = 0;
    std::vector<char> block_;
    // The longest message the send's queue passes handled lately, and when.
    double slowestMessage_ = 0;
    double slowestAt_ = 0;
};
