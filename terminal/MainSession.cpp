// New Session and Clear Screen, the status bar's counters and message panel with the line-error
// blink, and the window's resize handler.
#include "framework/Streams.h"
#include "terminal/DisplayState.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"
#include "terminal/WindowGlobals.h"

void TForm1::FileNewClick(TObject* Sender)
{
    StatusMessageText.clear();
    Memo1->SetText("Activity List:");
    reScreen->SetText("");
    reScreen->SetModified(false);
    ResetDisplayState(TDisplayReset::NewSession);
    UpdateStatusCounters(false);
    CaretInfoText.clear();
}

void TForm1::Clear_spbtnClick(TObject* Sender)
{
    reScreen->SetText("");
    reScreen->SetModified(false);
    ResetDisplayState(TDisplayReset::ClearScreen);
    PaintBox1->Invalidate();
    StatusMessageText.clear();
}

void TForm1::UpdateStatusCounters(bool Keep)
{
    if (!Keep) {
        BytesIn = 0;
        BytesOut = 0;
        DisplayRecordCount = 0;
    }
    StatusBar1->Panels(1)->SetText(CaretInfoText);
    StatusBar1->Panels(2)->SetText(MainText::CountersOut + IntToStr(BytesOut) +
                                   MainText::CountersIn + IntToStr(BytesIn) +
                                   MainText::CountersTotal + IntToStr(BytesOut + BytesIn));
    StatusBar1->Panels(3)->SetText(ByteInfoText);

    // A line error's text is shown and hidden in turn, a tick each, four times, then stays
    // hidden; any other message stays until it is replaced or cleared.
    TStatusPanel* message = StatusBar1->Panels(4);
    if (StatusMessageText == CommErrorText) {
        message->SetText(StatusMessageText);
        StatusMessageText = MainText::BlankMessage;
    } else if (StatusMessageText == MainText::BlankMessage) {
        // Counted only as far as the blink needs: a long quiet session never wraps it.
        // The fourth hiding is the last: the text is not put back for a fifth showing, which
        // would then stay on the panel.
        if (CommErrorTicks < 4) {
            ++CommErrorTicks;
            message->SetText(MainText::BlankMessage);
            if (CommErrorTicks < 4) StatusMessageText = CommErrorText;
        }
    } else {
        message->SetText(StatusMessageText);
    }
    Memo1->Clear();
}

void TForm1::ClearStatusBarMessages1Click(TObject* Sender)
{
    StatusMessageText.clear();
    StatusBar1->Panels(4)->SetText("");
}

void TForm1::FormResize(TObject* Sender)
{
    const int w = IconPanel->Width() + ConfigPanel->Width() + 226;
    LedPanel->SetVisible(w <= Width() + 65);
    LedPanel2->SetVisible(w <= Width() - 18);
    if (Visible() && Comm1->Enabled() && reScreen->CanFocus()) reScreen->SetFocus();
    if (GutterCanvas) AdjustColumns();
}
