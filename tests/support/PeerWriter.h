// The peer sending a block to the main window from a thread of its own, in pieces: a large block
// would fill the line while the window, on the test's thread, is the one to read it.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "tests/support/VirtualLine.h"

namespace qv::test {

class PeerWriter {
public:
    explicit PeerWriter(VirtualLine& Line) : line_(Line) {}
    ~PeerWriter() { Stop(); }
    PeerWriter(const PeerWriter&) = delete;
    PeerWriter& operator=(const PeerWriter&) = delete;

    // Sends Bytes (after ending a send still going).
    void Send(std::string Bytes);
    bool Done() const { return done_; }
    // Ends the sending; when the window no longer reads (its port closed), the rest of the line
    // is read here so the peer's last write returns. A suite stops it before the window goes.
    void Stop();

private:
    VirtualLine& line_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{true};
};

}  // namespace qv::test
