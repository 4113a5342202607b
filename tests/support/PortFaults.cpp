// The port faults: each patches one import of this executable and keeps its state here (one
// patch of each kind at a time, on the main thread).
#include "tests/support/PortFaults.h"

#include <cstring>

extern "C" void* CreateFileASlot __asm__("__imp__CreateFileA@28");
extern "C" void* SetCommStateSlot __asm__("__imp__SetCommState@8");
extern "C" void* EscapeCommFunctionSlot __asm__("__imp__EscapeCommFunction@8");

namespace qv::test {
namespace {

std::string failingPath;
DWORD failingError = 0;
void* realCreateFileA = nullptr;
void* realSetCommState = nullptr;
void* realEscape = nullptr;
DWORD refusedFunction = 0;
int dcbWrites = 0;
DCB lastDcb = {};

HANDLE WINAPI FakeCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                              DWORD disposition, DWORD flags, HANDLE tmpl)
{
    if (name && _stricmp(name, failingPath.c_str()) == 0) {
        SetLastError(failingError);
        return INVALID_HANDLE_VALUE;
    }
    using Fn = HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    return reinterpret_cast<Fn>(realCreateFileA)(name, access, share, sa, disposition, flags, tmpl);
}

BOOL WINAPI RefusedSetCommState(HANDLE, LPDCB)
{
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL WINAPI RefusedEscape(HANDLE h, DWORD function)
{
    if (refusedFunction != 0 && function != refusedFunction) {
        using Fn = BOOL(WINAPI*)(HANDLE, DWORD);
        return reinterpret_cast<Fn>(realEscape)(h, function);
    }
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL WINAPI RecordingSetCommState(HANDLE h, LPDCB dcb)
{
    ++dcbWrites;
    lastDcb = *dcb;
    using Fn = BOOL(WINAPI*)(HANDLE, LPDCB);
    return reinterpret_cast<Fn>(realSetCommState)(h, dcb);
}

}  // namespace

OpenFailure::OpenFailure(const std::string& Path, DWORD Error)
{
    failingPath = Path;
    failingError = Error;
    patch_ =
        std::make_unique<ApiPatch>(&CreateFileASlot, reinterpret_cast<void*>(&FakeCreateFileA));
    realCreateFileA = patch_->Original();
}
OpenFailure::~OpenFailure() = default;

RefuseDcb::RefuseDcb()
    : patch_(std::make_unique<ApiPatch>(&SetCommStateSlot,
                                        reinterpret_cast<void*>(&RefusedSetCommState)))
{
}
RefuseDcb::~RefuseDcb() = default;

RefuseEscape::RefuseEscape(DWORD Function)
{
    refusedFunction = Function;
    patch_ = std::make_unique<ApiPatch>(&EscapeCommFunctionSlot,
                                        reinterpret_cast<void*>(&RefusedEscape));
    realEscape = patch_->Original();
}
RefuseEscape::~RefuseEscape() = default;

DcbRecorder::DcbRecorder()
{
    dcbWrites = 0;
    lastDcb = {};
    patch_ = std::make_unique<ApiPatch>(&SetCommStateSlot,
                                        reinterpret_cast<void*>(&RecordingSetCommState));
    realSetCommState = patch_->Original();
}
DcbRecorder::~DcbRecorder() = default;
int DcbRecorder::Writes() const { return dcbWrites; }
DCB DcbRecorder::Last() const { return lastDcb; }

}  // namespace qv::test
