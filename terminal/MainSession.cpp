// New Session (the full reset of the screen, streams, records and counters) and the window's
// resize handler. The other screen commands are not built yet.
#include <cstring>

#include "framework/Streams.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/WindowGlobals.h"

void TForm1::FileNewClick(TObject* Sender)
{
    StatusMessageText.clear();
    Memo1->SetText("Activity List:");
    reScreen->SetText("");
    CurrentColour = -1;
    reScreen->SetModified(false);
    DisplayRecordCount = 0;
    ScreenColumn = 0;
    if (PendingRtf) PendingRtf->Clear();
    if (WorkRtf) WorkRtf->Clear();
    // The counters' part of the status refresh; the panels follow at the next status tick.
    BytesIn = 0;
    BytesOut = 0;
    DisplayRecordCount = 0;
    std::memset(DisplayRecords, 0, sizeof DisplayRecords);
    CaretInfoText.clear();
}

void TForm1::FormResize(TObject* Sender)
{
    const int w = IconPanel->Width() + ConfigPanel->Width() + 226;
    LedPanel->SetVisible(w <= Width() + 65);
    LedPanel2->SetVisible(w <= Width() - 18);
    if (Visible() && Comm1->Enabled() && reScreen->CanFocus()) reScreen->SetFocus();
    if (GutterCanvas) AdjustColumns();
}
