// The status tick: every 250 ms the RI lamp (the one input lamp polled), the time since the
// connect in the status bar's first panel, and the counters and message of the others.
#include "framework/DateTime.h"
#include "framework/Streams.h"
#include "terminal/Main.h"
#include "terminal/MainTexts.h"
#include "terminal/MainGlobals.h"

namespace {

// The diagnostics memo is emptied by the tick beyond this many characters.
constexpr int MemoLimit = 4000;
// Wide enough for the midnight text.
constexpr int NullifiedPanelWidth = 128;

}  // namespace

void TForm1::Timer2Timer(TObject* Sender)
{
    LED_RI->SetState(Comm1->GetModemState(3));

    if (Comm1->Enabled()) {
        // Both are times of day: after midnight the connect time lies ahead and the elapsed
        // time is unknown.
        const TDateTime now = Time();
        TStatusPanel* panel = StatusBar1->Panels(0);
        if (now >= Connection.ConnectTime) {
            Word hours = 0, minutes = 0, seconds = 0, msecs = 0;
            DecodeTime(now - Connection.ConnectTime, hours, minutes, seconds, msecs);
            panel->SetText(Format(MainText::ConnectedFor, static_cast<int>(hours),
                                  static_cast<int>(minutes), static_cast<int>(seconds)));
        } else {
            panel->SetWidth(NullifiedPanelWidth);
            panel->SetText(MainText::TimeNullified);
        }
    }

    UpdateStatusCounters(true);
    if (GetWindowTextLengthA(Memo1->Handle()) > MemoLimit) Memo1->Clear();
    // A crash loses at most one tick of capture, and a full disk is found within one.
    FlushCapture();
}
