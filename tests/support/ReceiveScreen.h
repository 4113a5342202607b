// What the receive screen shows, read back by line, and what it should show of a block of
// bytes; waits for received bytes and for the display tick; and draining a line whose window
// stopped reading. Shared by the window's tests and the receive benchmark.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <richedit.h>

#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "tests/support/WaitUntil.h"

namespace qv::test {

// Until the window has counted N received bytes.
inline bool WaitForBytesIn(std::int64_t N,
                           std::chrono::milliseconds Timeout = std::chrono::seconds(10))
{
    return WaitUntil([&] { return Display.BytesIn >= N; }, Timeout);
}
// Until the display tick has run after the last read (it disables itself).
inline bool WaitForQuietScreen(std::chrono::milliseconds Timeout = std::chrono::seconds(10))
{
    return WaitUntil([&] { return !Form1->Timer1->Enabled() && Form1->Comm1->InQueCount() <= 0; },
                     Timeout);
}

// The line breaks in the text pending for the screen.
inline size_t PendingLineBreaks()
{
    const char* text = Display.PendingRtf->Memory();
    return static_cast<size_t>(std::count(text, text + Display.PendingRtf->Size(), '\r'));
}

// The screen's text, line by line (the closing paragraph of a whole load ends no line).
inline std::vector<std::string> ScreenLines()
{
    std::string text = Form1->reScreen->Text();
    while (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find("\r\n", start);
        lines.push_back(
            text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return lines;
}

// The colour of the screen character at Position, as the user sees it.
inline COLORREF ScreenColourAt(int Position)
{
    HWND screen = Form1->reScreen->Handle();
    SendMessageA(screen, EM_SETSEL, Position, Position + 1);
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    SendMessageA(screen, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return (format.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : format.crTextColor;
}

// Every character of the screen with its colour, in the control's own positions (a line break
// is one character there).
inline std::vector<std::pair<char, COLORREF>> ScreenCharacters()
{
    HWND screen = Form1->reScreen->Handle();
    std::vector<std::pair<char, COLORREF>> shown;
    for (int i = 0;; ++i) {
        char c[4] = {};
        TEXTRANGEA range{{i, i + 1}, c};
        if (SendMessageA(screen, EM_GETTEXTRANGE, 0, LPARAM(&range)) < 1) break;
        shown.emplace_back(c[0], ScreenColourAt(i));
    }
    return shown;
}

// What the screen shows of Bytes (no CR, LF, tab or NUL among them) received from a cleared
// screen: cells in Hexadecimal mode, the characters otherwise, wrapped at the line width;
// the last Lines lines of it.
inline std::vector<std::string> ExpectedLines(const std::string& Bytes, int Mode, size_t Columns,
                                              size_t Lines)
{
    std::string shown;
    for (unsigned char b : Bytes) {
        if (Mode == 2 || (Mode == 1 && (b < 0x20 || b >= 0x7F))) {
            char cell[6];
            std::snprintf(cell, sizeof cell, "<%02X>", b);
            shown += cell;
        } else {
            shown += char(b);
        }
    }
    std::vector<std::string> lines;
    for (size_t i = 0; i < shown.size(); i += Columns) lines.push_back(shown.substr(i, Columns));
    if (lines.size() > Lines)
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(Lines));
    return lines;
}

// Reads the program's side of a line (DevicePath) and drops what comes until Done: a peer
// blocked in a write to a window that no longer reads (an overload stop) can then finish.
inline void DrainProgramSideUntil(const std::string& DevicePath, const std::atomic<bool>& Done)
{
    HANDLE port =
        CreateFileA(DevicePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return;
    COMMTIMEOUTS quick{MAXDWORD, 0, 0, 0, 0};
    SetCommTimeouts(port, &quick);
    char sink[4096];
    DWORD got = 0;
    while (!Done) ReadFile(port, sink, sizeof sink, &got, nullptr);
    CloseHandle(port);
}

}  // namespace qv::test
