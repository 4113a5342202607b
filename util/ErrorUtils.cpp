// Raising the framework's errors for missing resources and failed system calls.
#include "util/ErrorUtils.h"

#include "util/WinUtilTexts.h"

void ResourceNotFound(LPCSTR ResID)
{
    const String name = IS_INTRESOURCE(ResID)
                            ? IntToStr(static_cast<long long>(reinterpret_cast<ULONG_PTR>(ResID)))
                            : String(ResID ? ResID : "");
    throw EResNotFound(WinUtilText::ResourceNotFound, name);
}

namespace {

String SystemMessage(DWORD Code)
{
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, Code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    String message(text ? text : "", n);
    if (text) LocalFree(text);
    // The system's messages end in a line break, which would dangle in a message box.
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message;
}

}  // namespace

void RaiseWin32Error(DWORD Code)
{
    if (Code == 0) return;
    EWin32Error error(WinUtilText::SystemError, static_cast<unsigned long>(Code),
                      SystemMessage(Code));
    error.ErrorCode = Code;
    throw error;
}

bool CheckWin32(bool Ok)
{
    if (!Ok) RaiseWin32Error(GetLastError());
    return Ok;
}
