// The peer's end of a virtual line. The line itself is made by the Linux helper qv-line,
// which this starts (Wine runs Linux programs from Win32); the peer then talks to the other
// pty through Z: and shares the line state file with the shim in the program's process.
#include "tests/support/VirtualLine.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "tests/support/WaitUntil.h"
#include "tools/lineshim/LineState.h"

namespace qv::test {
namespace {

// Linux termios bits, as the helper copies them (mingw has no <termios.h>).
constexpr std::uint32_t Csize = 0x30, Cstopb = 0x40, Parenb = 0x100, Parodd = 0x200;
constexpr std::uint32_t Cmspar = 0x40000000, Crtscts = 0x80000000;
constexpr std::uint32_t Ixon = 0x400, Ixoff = 0x1000;

std::string Env(const char* name)
{
    char buf[4096];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    if (n == 0 || n >= sizeof buf) return {};
    return std::string(buf, n);
}

// A Linux path as Wine's Z: drive shows it.
std::string ZPath(const std::string& unixPath)
{
    std::string p = "Z:" + unixPath;
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

std::string LastError(const std::string& what)
{
    return what + " (error " + std::to_string(GetLastError()) + ")";
}

bool ReadSmallFile(const std::string& path, std::string& out)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    char buf[1024];
    DWORD got = 0;
    BOOL ok = ReadFile(h, buf, sizeof buf, &got, nullptr);
    CloseHandle(h);
    if (!ok) return false;
    out.assign(buf, got);
    return true;
}

std::atomic<unsigned> lineSequence{0};

std::uint32_t Load(const std::uint32_t& field) { return __atomic_load_n(&field, __ATOMIC_ACQUIRE); }

}  // namespace

struct VirtualLine::Impl {
    std::string portName, devicePath, readyPath, statePath;
    int portNumber = 0;
    // Two synchronous handles on the peer's pty, so one thread may read while another writes.
    // (Wine applies COMMTIMEOUTS to synchronous reads only: an overlapped read never times out.)
    HANDLE peer = INVALID_HANDLE_VALUE;  // reads
    HANDLE peerOut = INVALID_HANDLE_VALUE;
    HANDLE owner = INVALID_HANDLE_VALUE;  // the helper finds this process by this open file
    HANDLE stateFile = INVALID_HANDLE_VALUE;
    HANDLE stateMapping = nullptr;
    QvLineState* state = nullptr;
    DWORD timeoutSet = 0xFFFFFFFEu;  // read time-out currently set on the peer handle

    ~Impl() { Remove(); }

    void Remove()
    {
        for (HANDLE* h : {&peer, &peerOut, &stateFile, &owner})
            if (*h != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(*h, INVALID_HANDLE_VALUE));
        if (state) UnmapViewOfFile(std::exchange(state, nullptr));
        if (stateMapping) CloseHandle(std::exchange(stateMapping, nullptr));
        if (!readyPath.empty()) {
            // Deleting the ready file asks the helper to remove the line; wait until it has, so
            // the next line of this process never meets a half-removed one.
            DeleteFileA(readyPath.c_str());
            if (!statePath.empty())
                WaitUntil(
                    [&] {
                        return GetFileAttributesA(statePath.c_str()) == INVALID_FILE_ATTRIBUTES;
                    },
                    std::chrono::milliseconds(2000));
            readyPath.clear();
        }
    }

    void SetReadTimeout(DWORD ms)
    {
        if (ms == timeoutSet) return;
        COMMTIMEOUTS t = {};
        // Returns as soon as any byte is there, or after ms; ms == 0 returns at once.
        t.ReadIntervalTimeout = MAXDWORD;
        t.ReadTotalTimeoutMultiplier = ms ? MAXDWORD : 0;
        t.ReadTotalTimeoutConstant = ms;
        if (!SetCommTimeouts(peer, &t))
            throw std::runtime_error(LastError("peer SetCommTimeouts failed"));
        timeoutSet = ms;
    }

    // Atomic, so tests may drive the lines from several threads.
    void Bump(std::uint32_t& counter) { __atomic_add_fetch(&counter, 1, __ATOMIC_ACQ_REL); }

    void SetInput(std::uint32_t bit, std::uint32_t& transitions, bool on)
    {
        const std::uint32_t old = on ? __atomic_fetch_or(&state->inputs, bit, __ATOMIC_ACQ_REL)
                                     : __atomic_fetch_and(&state->inputs, ~bit, __ATOMIC_ACQ_REL);
        if (((old & bit) != 0) != on) Bump(transitions);
    }
};

VirtualLine::VirtualLine() : impl_(std::make_unique<Impl>())
{
    const std::string helper = Env("QV_LINE_HELPER"), linesDir = Env("QV_LINE_DIR"),
                      prefix = Env("WINEPREFIX");
    if (helper.empty() || linesDir.empty() || prefix.empty())
        throw std::runtime_error("no virtual lines: run this test through tools/wine-run");
    CreateDirectoryA(ZPath(linesDir).c_str(), nullptr);

    // Windows pids are unique among the prefix's live processes; the tick count tells apart
    // a reused pid's leftovers.
    char name[96];
    std::snprintf(name, sizeof name, "/ready-%lu-%u-%lu.txt", GetCurrentProcessId(),
                  lineSequence.fetch_add(1), GetTickCount());
    const std::string readyUnix = linesDir + name;
    const std::string readyPath = ZPath(readyUnix);
    DeleteFileA(readyPath.c_str());
    std::string cmd = "\"" + ZPath(helper) + "\" --dosdevices \"" + prefix +
                      "/dosdevices\" --lines \"" + linesDir + "\" --ready \"" + readyUnix + "\"";

    // The helper watches the Linux process that holds the owner file open (the wineserver
    // aside): it removes the line when this process ends, even by a crash. Writing to the file
    // makes Wine hand this process its own fd of it.
    const std::string ownerUnix = readyUnix.substr(0, readyUnix.size() - 4) + ".owner";
    impl_->owner = CreateFileA(ZPath(ownerUnix).c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (impl_->owner == INVALID_HANDLE_VALUE || !WriteFile(impl_->owner, "x", 1, &written, nullptr))
        throw std::runtime_error(LastError("cannot make " + ownerUnix));
    cmd += " --owner \"" + ownerUnix + "\"";

    // Wine gives a Linux program /dev/null as stdin and this process's stdout and stderr; the
    // helper detaches from them itself.
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        throw std::runtime_error(LastError("cannot start the line helper " + helper));
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);

    std::string ready;
    if (!WaitUntil([&] { return ReadSmallFile(readyPath, ready); },
                   std::chrono::milliseconds(10000)))
        throw std::runtime_error("the line helper did not answer in " + readyUnix);
    impl_->readyPath = readyPath;
    std::istringstream in(ready);
    std::string status, port, ptsProgram, ptsPeer, state;
    in >> status >> port >> ptsProgram >> ptsPeer >> state;
    if (status != "ok") throw std::runtime_error("the line helper failed: " + ready);
    impl_->statePath = ZPath(state);
    impl_->portName = port;
    impl_->devicePath = "\\\\.\\" + port;
    impl_->portNumber = std::atoi(port.c_str() + 3);

    for (HANDLE* h : {&impl_->peer, &impl_->peerOut}) {
        *h = CreateFileA(ZPath(ptsPeer).c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (*h == INVALID_HANDLE_VALUE)
            throw std::runtime_error(LastError("cannot open the peer pty " + ptsPeer));
    }
    impl_->SetReadTimeout(0);

    impl_->stateFile = CreateFileA(impl_->statePath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    if (impl_->stateFile == INVALID_HANDLE_VALUE)
        throw std::runtime_error(LastError("cannot open " + state));
    impl_->stateMapping = CreateFileMappingA(impl_->stateFile, nullptr, PAGE_READWRITE, 0,
                                             QV_LINE_STATE_SIZE, nullptr);
    if (!impl_->stateMapping) throw std::runtime_error(LastError("cannot map " + state));
    impl_->state = static_cast<QvLineState*>(
        MapViewOfFile(impl_->stateMapping, FILE_MAP_WRITE, 0, 0, QV_LINE_STATE_SIZE));
    if (!impl_->state || impl_->state->magic != QV_LINE_MAGIC)
        throw std::runtime_error("bad line state file " + state);
}

VirtualLine::~VirtualLine() = default;

void VirtualLine::Unplug() { impl_->Remove(); }

const std::string& VirtualLine::PortName() const { return impl_->portName; }
const std::string& VirtualLine::DevicePath() const { return impl_->devicePath; }
int VirtualLine::PortNumber() const { return impl_->portNumber; }

void VirtualLine::Write(const void* data, std::size_t n)
{
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        DWORD chunk = n > 65536 ? 65536 : static_cast<DWORD>(n), done = 0;
        if (!WriteFile(impl_->peerOut, p, chunk, &done, nullptr))
            throw std::runtime_error(LastError("peer write failed"));
        p += done;
        n -= done;
    }
}

void VirtualLine::Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }

std::string VirtualLine::Read(std::size_t maxBytes, std::chrono::milliseconds timeout)
{
    std::string out(maxBytes, '\0');
    if (maxBytes == 0) return {};
    impl_->SetReadTimeout(static_cast<DWORD>(timeout.count() > 0 ? timeout.count() : 0));
    DWORD got = 0;
    if (!ReadFile(impl_->peer, out.data(), static_cast<DWORD>(maxBytes), &got, nullptr))
        throw std::runtime_error(LastError("peer read failed"));
    out.resize(got);
    return out;
}

std::string VirtualLine::ReadExactly(std::size_t n, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string out;
    while (out.size() < n) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) left = std::chrono::milliseconds(0);
        std::string part = Read(n - out.size(), left);
        out += part;
        if (part.empty() && left.count() == 0) break;
    }
    return out;
}

void VirtualLine::DiscardInput()
{
    while (!Read(65536, std::chrono::milliseconds(0)).empty()) {}
}

void VirtualLine::SetCts(bool on) { impl_->SetInput(QV_LINE_CTS, impl_->state->ctsCount, on); }
void VirtualLine::SetDsr(bool on) { impl_->SetInput(QV_LINE_DSR, impl_->state->dsrCount, on); }
void VirtualLine::SetRi(bool on) { impl_->SetInput(QV_LINE_RI, impl_->state->riCount, on); }
void VirtualLine::SetDcd(bool on) { impl_->SetInput(QV_LINE_DCD, impl_->state->dcdCount, on); }

LineOutputs VirtualLine::Outputs() const
{
    std::uint32_t o = Load(impl_->state->outputs);
    // The program ended without closing the port: its lines are down, as on a real port.
    const std::uint32_t shim = Load(impl_->state->shimPid);
    if (shim != 0 && shim == Load(impl_->state->shimGonePid)) o = 0;
    return {(o & QV_LINE_DTR) != 0, (o & QV_LINE_RTS) != 0, (o & QV_LINE_BRK) != 0};
}

std::uint32_t VirtualLine::OutputChanges() const { return Load(impl_->state->outputChanges); }
std::uint32_t VirtualLine::LinePolls() const { return Load(impl_->state->polls); }

void VirtualLine::InjectBreak() { impl_->Bump(impl_->state->breakCount); }
void VirtualLine::InjectFrameError() { impl_->Bump(impl_->state->frameCount); }
void VirtualLine::InjectParityError() { impl_->Bump(impl_->state->parityCount); }
void VirtualLine::InjectOverrun() { impl_->Bump(impl_->state->overrunCount); }

bool VirtualLine::ClearCommErrorReportsErrors() const
{
    return (Load(impl_->state->shimFeatures) & QV_SHIM_COMMSTATUS) != 0;
}

LineTermios VirtualLine::ProgramTermios(std::chrono::milliseconds timeout) const
{
    QvLineState* st = impl_->state;
    const std::uint32_t request = __atomic_add_fetch(&st->termiosRequest, 1, __ATOMIC_ACQ_REL);
    // A later request from another thread answers this one too.
    if (!WaitUntil(
            [&] { return static_cast<std::int32_t>(Load(st->termiosAnswer) - request) >= 0; },
            timeout))
        throw std::runtime_error("the line helper did not report the termios");
    // Data bits and parity as the shim kept them: the pty itself always says 8N.
    std::uint32_t cflag = st->cCflag;
    const std::uint32_t kept = Load(st->cflagSet);
    if (kept & QV_CFLAG_VALID) cflag = (cflag & ~QV_CFLAG_KEPT) | (kept & QV_CFLAG_KEPT);
    LineTermios t;
    t.baud = st->oSpeed;
    t.dataBits = 5 + static_cast<int>((cflag & Csize) >> 4);
    if (!(cflag & Parenb))
        t.parity = 'N';
    else if (cflag & Cmspar)
        t.parity = (cflag & Parodd) ? 'M' : 'S';
    else
        t.parity = (cflag & Parodd) ? 'O' : 'E';
    t.stopBits = (cflag & Cstopb) ? 2 : 1;
    t.rtsCts = (cflag & Crtscts) != 0;
    t.xonXoffOut = (st->cIflag & Ixon) != 0;
    t.xonXoffIn = (st->cIflag & Ixoff) != 0;
    return t;
}

}  // namespace qv::test
