// Shared by the port tests: a port opened on a fresh virtual line, counts of this process's
// threads and handles (to find leaks), and a patch that makes one system call fail on demand.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "comm/Comm.h"
#include "tests/support/ApiPatch.h"
#include "tests/support/ProcessCounts.h"
#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

namespace commtest {

using namespace std::chrono_literals;

using qv::test::HandleCount;
using qv::test::ThreadCount;

// The message of the exception Call raises, or "" when it raises none.
template <class F>
std::string RaisedMessage(F&& Call)
{
    try {
        Call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

using qv::test::ApiPatch;

// A port on its own virtual line, closed; Open() opens it.
class PortOnLine {
public:
    PortOnLine() : port(std::make_unique<TComm>(nullptr))
    {
        port->SetDeviceName(line.DevicePath());
    }
    qv::test::VirtualLine line;
    std::unique_ptr<TComm> port;
};

}  // namespace commtest

// The import-table slots the tests patch.
extern "C" void* SetupCommSlot __asm__("__imp__SetupComm@12");
extern "C" void* SetCommTimeoutsSlot __asm__("__imp__SetCommTimeouts@8");
extern "C" void* SetCommStateSlot __asm__("__imp__SetCommState@8");
extern "C" void* WaitCommEventSlot __asm__("__imp__WaitCommEvent@12");
extern "C" void* EscapeCommFunctionSlot __asm__("__imp__EscapeCommFunction@8");
extern "C" void* ReadFileSlot __asm__("__imp__ReadFile@20");
extern "C" void* PurgeCommSlot __asm__("__imp__PurgeComm@8");
