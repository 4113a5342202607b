// Port system calls made to fail (or watched) while an object lives, through patches of this
// executable's import table: the failures Wine cannot produce on a virtual line.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "tests/support/ApiPatch.h"

namespace qv::test {

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

}  // namespace qv::test
