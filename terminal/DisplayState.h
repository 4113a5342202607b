// The one reset of the display state behind the receive screen (pending and work text, column,
// colour, records, counters): what Clear Screen and New Session empty. The screen commands, the
// display mode switches, the reconnect after an overload stop, the tests and the benchmarks
// all reset through it. The screen control's own text is the window's to empty.
#pragma once

enum class TDisplayReset {
    // Clear Screen: the pending and work text, the column, the colour and the record count.
    // The counters and the records' contents stay.
    ClearScreen,
    // New Session: all of ClearScreen, both byte counters and every record zeroed.
    NewSession,
};

void ResetDisplayState(TDisplayReset Kind);
