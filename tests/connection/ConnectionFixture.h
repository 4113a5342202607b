// What the connection tests share: the main window on a fresh virtual line, and patches of this
// executable's import table that make the port's system calls fail (or watch them) on demand.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "tests/mainwindow/MainWindowFixture.h"
#include "tests/support/ApiPatch.h"
#include "tests/support/VirtualLine.h"

namespace connection_test {

using namespace std::chrono_literals;

using qv::test::ApiPatch;

// CreateFileA fails with Error for Path only; every other file opens as usual.
class OpenFailure {
public:
    OpenFailure(const std::string& Path, DWORD Error);
    ~OpenFailure();

private:
    std::unique_ptr<ApiPatch> patch_;
};

// SetCommState, or EscapeCommFunction (all functions, or only Function), fail with
// ERROR_NOT_SUPPORTED while the object lives.
class RefuseDcb {
public:
    RefuseDcb();
    ~RefuseDcb();

private:
    std::unique_ptr<ApiPatch> patch_;
};
class RefuseEscape {
public:
    explicit RefuseEscape(DWORD Function = 0);
    ~RefuseEscape();

private:
    std::unique_ptr<ApiPatch> patch_;
};

// Records every DCB the program writes (and still writes it).
class DcbRecorder {
public:
    DcbRecorder();
    ~DcbRecorder();
    int Writes() const;
    DCB Last() const;

private:
    std::unique_ptr<ApiPatch> patch_;
};

// The main window, shown, with the settings file's defaults (9600 8N1, no auto-connect) and a
// virtual line whose COM number the port combo can choose.
class ConnectionTest : public mainwindow_test::MainWindowTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Chooses the line in the port combo and connects; asserts the connection is made.
    void ConnectToLine();
    void ChooseLine() { Form1->PortIndex->SetItemIndex(line->PortNumber() - 1); }
    // The user's pick in a combo: the item, then the change event.
    static void Choose(TComboBox* Combo, const char* Item);
    bool MemoHas(const std::string& Line) const;
    // The window's connected or disconnected look, in full.
    void ExpectConnectedWindow() const;
    void ExpectDisconnectedWindow() const;

    std::unique_ptr<qv::test::VirtualLine> line;
};

}  // namespace connection_test
