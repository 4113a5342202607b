// System services of the utility layer: environment, libraries and servers, waits that keep
// the message loop running, pending messages, and the platform's version text.
#pragma once

#include <cstdint>

#include <windows.h>

#include "framework/Strings.h"

// The variable's value, whatever its length; empty when it is not set.
String GetEnvVar(const String& Name);
// The first character upper-cased by the platform's rules for the user's code page.
String AnsiUpperFirstChar(const String& S);

// Loads a library without the system's "file not found" box; EWin32Error when it fails.
HMODULE LoadDLL(const String& Name);
// Loads the module and runs its DllRegisterServer; true only when that entry exists and
// reports success.
bool RegisterServer(const String& ModuleName);
// Lets the system free the OLE libraries nobody uses any more.
void FreeUnusedOle();
// Tells the user a feature is not implemented (information box) and aborts silently.
[[noreturn]] void NotImplemented();

// Removes one pending Msg for Window (nullptr: any of the thread's); a removed WM_QUIT is
// posted again with its exit code, so the application still ends.
void KillMessage(HWND Window, UINT Msg);
// Waits Milliseconds while the application handles its messages; 0 handles them once.
void Delay(std::uint32_t Milliseconds);

// "Windows NT 6.01.7601 Service Pack 1": platform, major, minor, build, service pack.
String GetWindowsVersion();
