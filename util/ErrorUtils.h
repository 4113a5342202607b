// Raising the framework's errors for missing resources and failed system calls.
#pragma once

#include <windows.h>

#include "framework/Exceptions.h"

// EResNotFound naming the resource: its name, or its decimal number for a numeric identifier
// (MAKEINTRESOURCE).
[[noreturn]] void ResourceNotFound(LPCSTR ResID);
// EWin32Error with the system's message for Code and ErrorCode set; 0 does nothing.
void RaiseWin32Error(DWORD Code);
// Raises the calling thread's last error when Ok is false; returns Ok.
bool CheckWin32(bool Ok);
inline String ResStr(const String& S) { return S; }
