// What the connection tests share: the main window on the settings file's defaults beside the
// harness's line, the user's pick in a combo, the window's connected and disconnected looks, and
// the port faults.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/MainWindowHarness.h"
#include "tests/support/PortFaults.h"

namespace connection_test {

using namespace std::chrono_literals;

using qv::test::DcbRecorder;
using qv::test::OpenFailure;
using qv::test::RefuseDcb;
using qv::test::RefuseEscape;

// The main window, shown, with the settings file's defaults (9600 8N1, no auto-connect) and a
// virtual line whose COM number the port combo can choose.
class ConnectionTest : public qv::test::MainWindowHarness {
protected:
    void SetUp() override;

    // The user's pick in a combo: the item, then the change event.
    static void Choose(TComboBox* Combo, const char* Item);
    bool MemoHas(const std::string& Line) const;
    // The window's connected or disconnected look, in full.
    void ExpectConnectedWindow() const;
    void ExpectDisconnectedWindow() const;
};

}  // namespace connection_test
