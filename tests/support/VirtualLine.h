// The test's end of a virtual null-modem line: a pty pair whose program end is mapped as a
// COM port in the Wine prefix, with modem lines served by the line shim. One per test need.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qv::test {

// The program-side pty's termios as Linux sees it (what a DCB really set on the device).
struct LineTermios {
    std::uint32_t baud = 0;   // output speed in bits per second
    int dataBits = 0;         // 5..8
    char parity = 'N';        // 'N', 'E', 'O', 'M' (mark), 'S' (space)
    int stopBits = 0;         // 1 or 2
    bool rtsCts = false;      // CRTSCTS
    bool xonXoffOut = false;  // IXON
    bool xonXoffIn = false;   // IXOFF
};

// Lines the program drives (the peer's view). Closing the port drops all three.
struct LineOutputs {
    bool dtr = false;
    bool rts = false;
    bool brk = false;
};

// A COM number the bench never maps: opening it must fail with ERROR_FILE_NOT_FOUND.
inline constexpr const char* UnmappedPort = "COM3";
inline constexpr const char* UnmappedDevicePath = "\\\\.\\COM3";

class VirtualLine {
public:
    // Creates the line (a few ms). Throws std::runtime_error when the bench cannot make one
    // (not run through tools/wine-run, or no free COM number).
    VirtualLine();
    // Removes the line: the COM mapping disappears. A line also disappears by itself when
    // the test process ends, even by a crash.
    ~VirtualLine();
    // Takes the line away as an unplugged device goes: the helper ends, closing the far end of
    // the program's pty (the program's reads and waits then fail or end with nothing), and the
    // COM mapping disappears. Nothing of the peer may be used afterwards.
    void Unplug();
    VirtualLine(const VirtualLine&) = delete;
    VirtualLine& operator=(const VirtualLine&) = delete;

    // The program's end: "COM12" and "\\.\COM12" (for CreateFile).
    const std::string& PortName() const;
    const std::string& DevicePath() const;
    int PortNumber() const;

    // Peer data. Write sends every byte or throws. Read returns what arrived within the
    // time-out, at most maxBytes (empty when nothing came). ReadExactly keeps reading until
    // n bytes or the time-out; it returns what it got (check the size). One thread may read
    // while another writes (e.g. a large block); the line controls are safe from any thread.
    void Write(const void* data, std::size_t n);
    void Write(std::string_view bytes);
    std::string Read(std::size_t maxBytes, std::chrono::milliseconds timeout);
    std::string ReadExactly(std::size_t n, std::chrono::milliseconds timeout);
    // Discards whatever the program sent and the peer has not read.
    void DiscardInput();

    // Inputs of the program's port (GetCommModemStatus, EV_CTS/EV_DSR/EV_RING/EV_RLSD).
    // A change is seen by a pending WaitCommEvent only if it lasts more than ~1 ms.
    void SetCts(bool on);
    void SetDsr(bool on);
    void SetRi(bool on);
    void SetDcd(bool on);

    // Outputs as the program drives them (EscapeCommFunction, SetCommState, SetCommBreak).
    LineOutputs Outputs() const;
    bool Dtr() const { return Outputs().dtr; }
    bool Rts() const { return Outputs().rts; }
    bool Break() const { return Outputs().brk; }
    // Counts every change of DTR, RTS or BREAK by the program (so short pulses are seen).
    std::uint32_t OutputChanges() const;
    // Counts Wine's polls of the lines: it grows while a WaitCommEvent is pending, so a test
    // can wait until the program really waits before it changes a line.
    std::uint32_t LinePolls() const;

    // Line conditions the program sees as EV_BREAK / EV_ERR and in ClearCommError
    // (CE_BREAK, CE_FRAME, CE_RXPARITY, CE_OVERRUN). No data byte is added.
    void InjectBreak();
    void InjectFrameError();
    void InjectParityError();
    void InjectOverrun();
    // True when this Wine lets ClearCommError report the injected errors (the shim's
    // Wine-specific step is active); EV_BREAK/EV_ERR work without it.
    bool ClearCommErrorReportsErrors() const;

    // Reads the program-side pty's termios now (after what the program set so far).
    // Throws std::runtime_error when the bench does not answer within the time-out.
    LineTermios
    ProgramTermios(std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qv::test
