// The shell seam of the utility windows.
#include "dialogs/ShellCalls.h"

#include <shellapi.h>

#include <utility>

namespace {
TShellExecutor& InstalledExecutor()
{
    static TShellExecutor executor;
    return executor;
}
}  // namespace

INT_PTR ShellExecuteRequest(const TShellRequest& Request)
{
    if (InstalledExecutor()) return InstalledExecutor()(Request);
    return reinterpret_cast<INT_PTR>(
        ShellExecuteA(Request.Owner, Request.Verb.empty() ? nullptr : Request.Verb.c_str(),
                      Request.File.c_str(), nullptr, nullptr, Request.ShowCmd));
}

TShellExecutor SetShellExecutor(TShellExecutor Executor)
{
    return std::exchange(InstalledExecutor(), std::move(Executor));
}
