// Each test process gets a desktop of its own before it makes any window, so that tests
// running in parallel cannot take activation or focus from each other.
#include <windows.h>

#include <string>

namespace {

struct PrivateDesktop {
    PrivateDesktop()
    {
        const std::string name = "qv-gui-tests-" + std::to_string(GetCurrentProcessId());
        if (HDESK desk = CreateDesktopA(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr))
            SetThreadDesktop(desk);
    }
} privateDesktop;

}  // namespace
