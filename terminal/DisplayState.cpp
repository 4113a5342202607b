// The reset of the display state behind the receive screen.
#include "terminal/DisplayState.h"

#include <cstring>

#include "framework/Streams.h"
#include "terminal/MainGlobals.h"
#include "terminal/WindowGlobals.h"

void ResetDisplayState(TDisplayReset Kind)
{
    if (PendingRtf) PendingRtf->Clear();
    if (WorkRtf) WorkRtf->Clear();
    ScreenColumn = 0;
    CurrentColour = -1;
    DisplayRecordCount = 0;
    if (Kind == TDisplayReset::NewSession) {
        BytesIn = 0;
        BytesOut = 0;
        std::memset(DisplayRecords, 0, sizeof DisplayRecords);
    }
}
