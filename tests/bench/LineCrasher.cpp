// Helper program for the clean-up tests: makes a virtual line, reports its port in the file
// named by argv[2], then crashes ("crash") or waits to be terminated ("wait"); or opens the
// port argv[3] and raises DTR and RTS, reports "up", then crashes ("port-crash").
#include <windows.h>

#include <cstring>
#include <string>

#include "tests/support/VirtualLine.h"

int main(int argc, char** argv)
{
    if (argc < 3) return 2;
    if (std::strcmp(argv[1], "port-crash") == 0) {
        if (argc < 4) return 2;
        HANDLE port = CreateFileA(argv[3], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        if (port == INVALID_HANDLE_VALUE || !EscapeCommFunction(port, SETDTR) ||
            !EscapeCommFunction(port, SETRTS))
            return 3;
        HANDLE f = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, "up\n", 3, &written, nullptr);
        CloseHandle(f);
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    qv::test::VirtualLine line;
    const std::string report = line.PortName() + "\n";
    HANDLE f = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    CloseHandle(f);
    if (std::strcmp(argv[1], "crash") == 0) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    Sleep(INFINITE);
    return 0;
}
