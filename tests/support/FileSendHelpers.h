// What the file send and capture suites compose with the main window harness: a watch on the
// port's writes that records the window's state at each byte and can make the port refuse bytes,
// a peer that reads what the program sends (and can press a menu command halfway), test files'
// bytes, and the window's look at rest after a send.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/ApiPatch.h"
#include "tests/support/UserActions.h"
#include "tests/support/VirtualLine.h"

namespace qv::test {

// What the window showed when the port was asked to write a byte.
struct TWriteSnapshot {
    std::string Status;
    bool SendBarVisible;
    bool EntryPaneVisible;
    bool ScreenEnabled;
    bool StopSendingVisible;
    bool SendFileVisible;
    int Progress;
    int ProgressMax;
};

// Watches the main thread's writes to the port (a character device) while it lives: they are
// counted, and the window's state at each is recorded whenever it changed; from write RefuseAfter +
// 1 on the port refuses them (a failed WriteFile, or with ShortWrites one that succeeds having
// written nothing).
class PortWriteWatch {
public:
    explicit PortWriteWatch(int RefuseAfter = -1, bool ShortWrites = false);

    int Count() const;
    // Each write's start, in seconds of the steady clock, and its byte count.
    const std::vector<std::pair<double, unsigned long>>& Writes() const;
    // The window's states at the writes, each change once, in order.
    const std::vector<TWriteSnapshot>& States() const;
    // The distinct status texts seen at the writes, in order.
    std::vector<std::string> StatusTexts() const;

private:
    ApiPatch patch_;
};

// Reads everything the program sends on its own thread, until Expected bytes came or, once the
// send has returned (Finish), the line is silent. With PostAt, it posts the main window the menu
// command Command once that many bytes arrived (the user's click in the middle of a send).
class PeerReader {
public:
    PeerReader(VirtualLine& Line, size_t Expected, size_t PostAt = 0, UINT Command = 0);
    ~PeerReader();
    // What has arrived so far, and a wait (at most Seconds) until Count more than now have: the
    // user's thread waits so while it holds a menu or a box open.
    size_t Arrived() const { return arrived_; }
    bool WaitForMore(size_t Count, double Seconds = 20) const;
    // Called when the send has returned: what arrived.
    std::string Finish();

private:
    std::atomic<bool> sendEnded_{false};
    std::atomic<size_t> arrived_{0};
    std::thread thread_;
    std::string data_;
};

// The user drops a menu down on Form with Alt+E and keeps it so until More bytes have arrived,
// then closes it with Esc (the bar stays armed) and keeps it armed until More bytes more have
// arrived, then leaves it with a second Esc. Call it from the user's thread while the send runs on
// the form's thread.
struct TMenuHold {
    bool Dropped = false;     // the menu dropped down
    bool FedDropped = false;  // More bytes came while it was, and it still was then
    bool Armed = false;       // after one Esc the bar stayed armed
    bool FedArmed = false;    // More bytes came while it was, and it still was then
    bool Left = false;        // the second Esc left the menu
};
TMenuHold HoldMenuWhileFed(const PeerReader& Peer, HWND Form, DWORD FormThread, size_t More,
                           double Seconds = 20);

// n pseudo-random bytes, the same each run.
std::string RandomBytes(size_t n);
// The whole content of the file at Path.
std::string FileContents(const std::string& Path);

// The window back at rest after a send: the menus, the bar, the pane and the screen.
void ExpectIdleWindow();

}  // namespace qv::test
