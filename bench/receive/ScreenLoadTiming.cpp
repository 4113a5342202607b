// The whole-screen load alone, as the display tick makes it: 100 lines of hex cells streamed as
// RTF into a bare rich edit of the screen's kind, again and again, timed per 200 loads with the
// repaint after them and the process's memory. Shows what one load costs and whether it slows
// down over a long run (under Wine 8 it does: the heap the control allocates from fragments).
//   tools/wine-run --build-dir=<build> bench/receive/screen_load_timing.exe [LOADS] [WAY]
// LOADS: 1000 by default. WAY: 0 the stream-in replaces the content (default); 1 the content is
// first deleted by a replacement that keeps no undo; 2 the control's undo limit is 0; 3 as 1,
// with text lines and the empty lines their line ends make instead of hex cells; 4 as the
// program loads: as 1, the text then replacing the empty selection, without a final line break
// (a load that replaces the whole content and removes that break itself leaves two blocks in
// the process heap under Wine: ways 0, 1 and 3 leave them at every load).
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct TSource {
    const std::string* text;
    size_t at;
};

DWORD CALLBACK StreamFromString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    auto* source = reinterpret_cast<TSource*>(cookie);
    const size_t n =
        std::min<size_t>(static_cast<size_t>(count), source->text->size() - source->at);
    std::memcpy(buffer, source->text->data() + source->at, n);
    source->at += n;
    *done = static_cast<LONG>(n);
    return 0;
}

double MemoryMiB()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv)
{
    const int loads = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int way = argc > 2 ? std::atoi(argv[2]) : 0;
    LoadLibraryA("RICHED32.DLL");
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700,
                                 nullptr, nullptr, nullptr, nullptr);
    const DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                        ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | ES_READONLY;
    HWND screen = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", style, 0, 0, 880, 650, frame,
                                  nullptr, nullptr, nullptr);
    SendMessageA(screen, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
    HFONT font =
        CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, FIXED_PITCH, "Courier New");
    SendMessageA(screen, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    if (way == 2) SendMessageA(screen, EM_SETUNDOLIMIT, 0, 0);

    const std::string header =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{;}}{\\colortbl\\red000\\green000"
        "\\blue000;\\red0\\green0\\blue255;\\red0\\green150\\blue000;\\red255\\green050\\blue050;}"
        "\\fs20 ";
    double loadSum = 0, withPaintSum = 0;
    for (int load = 0; load < loads; ++load) {
        std::string rtf = header;
        char cell[8];
        for (int line = 0; line < 100; ++line) {
            if (way == 3) {
                // Text lines, each followed by the empty line its LF makes.
                rtf += "\\par\r\\cf2 ";
                if (line % 2 == 0)
                    for (int c = 0; c < 70; ++c) rtf += char('a' + (load + line + c) % 26);
                continue;
            }
            rtf += "\\par\r\\cf3 ";
            for (int c = 0; c < 22; ++c) {
                std::snprintf(cell, sizeof cell, "<%02X>", (load * 7 + line * 13 + c) & 255);
                rtf += cell;
            }
        }
        rtf += way == 4 ? "}" : "\\par }";

        const auto start = std::chrono::steady_clock::now();
        const LRESULT mask = SendMessageA(screen, EM_SETEVENTMASK, 0, 0);
        SendMessageA(screen, WM_SETREDRAW, FALSE, 0);
        if (way == 1 || way == 3 || way == 4) {
            SendMessageA(screen, EM_SETSEL, 0, -1);
            SendMessageA(screen, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
        }
        TSource source{&rtf, 0};
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, StreamFromString};
        SendMessageA(screen, EM_STREAMIN, SF_RTF | SFF_PLAINRTF | (way == 4 ? SFF_SELECTION : 0),
                     reinterpret_cast<LPARAM>(&stream));
        const int end = GetWindowTextLengthA(screen);
        SendMessageA(screen, EM_SETSEL, end, end);
        SendMessageA(screen, EM_SCROLLCARET, 0, 0);
        SendMessageA(screen, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(screen, nullptr, FALSE);
        SendMessageA(screen, EM_SETEVENTMASK, 0, mask);
        const auto loaded = std::chrono::steady_clock::now();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        const auto painted = std::chrono::steady_clock::now();
        loadSum += std::chrono::duration<double, std::milli>(loaded - start).count();
        withPaintSum += std::chrono::duration<double, std::milli>(painted - start).count();
        if (load % 200 == 199) {
            std::printf(
                "loads %5d..%5d: load %5.1f ms, with the repaint %5.1f ms, memory %.1f MiB\n",
                load - 199, load, loadSum / 200, withPaintSum / 200, MemoryMiB());
            std::fflush(stdout);
            loadSum = withPaintSum = 0;
        }
    }
    DestroyWindow(frame);
    DeleteObject(font);
    return 0;
}
