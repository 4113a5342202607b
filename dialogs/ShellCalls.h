// The one way the utility windows hand something to the shell (a link, a mail address, the
// system information tool): ShellExecuteA behind a replaceable function, so tests record the
// calls and launch nothing.
#pragma once

#include <functional>

#include <windows.h>

#include "framework/Strings.h"

struct TShellRequest {
    HWND Owner = nullptr;
    String Verb;  // empty: the file's default action
    String File;
    int ShowCmd = SW_SHOWNORMAL;
};

// ShellExecuteA's result: above 32 when the shell took the request, an error code otherwise.
INT_PTR ShellExecuteRequest(const TShellRequest& Request);

using TShellExecutor = std::function<INT_PTR(const TShellRequest&)>;
// Replaces the platform's ShellExecuteA (an empty function puts it back); returns the one it
// replaces.
TShellExecutor SetShellExecutor(TShellExecutor Executor);
