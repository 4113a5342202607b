// The receive path's own state: its read and formatting buffers, the passes it carries from one
// port event to the next, and what the screen waits for. One per main window (TForm1::Receive).
#pragma once

#include <cstdint>

// One read from the port and a NUL after it.
inline constexpr int RawRxBufferSize = 5004;
// The formatter's output for one read (or one piece of it), and two NULs after it.
inline constexpr int FormattedBufferSize = 60048;

struct TReceiveView {
    TReceiveView() { Reset(); }

    // Written by the receive handler only.
    std::uint8_t RawRxBuffer[RawRxBufferSize];
    // Written by the receive handler and the echo of a sent byte.
    char FormattedBuffer[FormattedBufferSize];
    // Passes the receive handler made, carried from one port event to the next (it makes one or
    // two per event). Written by the receive handler only.
    std::int32_t RxPassCounter;

    // True while an overload stop disconnects and shows its message: both let messages run, and
    // a display tick in between would count and cut the pending text under the stop's feet.
    bool OverloadStopRunning;

    // A read that goes to the display tick leaves the screen as it is until that tick's load,
    // which replaces the whole screen: its line feeds are not inserted. Its drawing is not
    // turned off meanwhile: turned off at every such read and on again at the tick, it was off
    // whenever the window could have painted, and under steady traffic (20,000 bytes a second of
    // text lines) the screen was drawn only when the traffic paused. Cleared by a whole-screen
    // load, a paste and the tick.
    bool ScreenAwaitingTick;

    // The pending text holds what the screen does not show (a read left to the tick, a failed
    // paste, a shortening without a load) until the display tick's whole-screen load: the
    // screen's lines may not be the pending text's, and a line-limit cut must load the screen
    // anew instead of cutting it in place. Set with the tick each such change schedules; cleared
    // when the tick runs.
    bool LoadDue;

    // When the last read was made (GetTickCount), and the bytes read since the line was last
    // quiet: what tells a reply, pasted at once, from a burst, left to the tick. Written by the
    // receive handler only.
    std::uint32_t LastReadAt;
    std::uint32_t BytesSinceQuiet;

    // A new window's state: no passes carried, nothing awaited.
    void Reset()
    {
        RxPassCounter = 0;
        OverloadStopRunning = false;
        ScreenAwaitingTick = false;
        LoadDue = false;
        LastReadAt = 0;
        BytesSinceQuiet = 0;
    }
};
