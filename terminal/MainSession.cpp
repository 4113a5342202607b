// New Session and Clear Screen, the status bar's counters and message panel with the line-error
// blink, and the window's resize handler.
#include "framework/Streams.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

void TForm1::FileNewClick(TObject* Sender)
{
    Display.StatusMessageText.clear();
    Memo1->SetText("Activity List:");
    reScreen->SetText("");
    reScreen->SetModified(false);
    Display.Reset(TDisplayReset::NewSession);
    UpdateStatusCounters(false);
    Display.CaretInfoText.clear();
}

void TForm1::Clear_spbtnClick(TObject* Sender)
{
    reScreen->SetText("");
    reScreen->SetModified(false);
    Display.Reset(TDisplayReset::ClearScreen);
    PaintBox1->Invalidate();
    Display.StatusMessageText.clear();
}

void TForm1::UpdateStatusCounters(bool Keep)
{
    if (!Keep) {
        Display.BytesIn = 0;
        Display.BytesOut = 0;
        Display.DisplayRecordCount = 0;
    }
    StatusBar1->Panels(1)->SetText(Display.CaretInfoText);
    StatusBar1->Panels(2)->SetText(MainText::CountersOut + IntToStr(Display.BytesOut) +
                                   MainText::CountersIn + IntToStr(Display.BytesIn) +
                                   MainText::CountersTotal +
                                   IntToStr(Display.BytesOut + Display.BytesIn));
    StatusBar1->Panels(3)->SetText(Display.ByteInfoText);

    // A line error's text is shown and hidden in turn, a tick each, four times, then stays
    // hidden; any other message stays until it is replaced or cleared.
    TStatusPanel* message = StatusBar1->Panels(4);
    if (Display.StatusMessageText == Connection.CommErrorText) {
        message->SetText(Display.StatusMessageText);
        Display.StatusMessageText = MainText::BlankMessage;
    } else if (Display.StatusMessageText == MainText::BlankMessage) {
        // Counted only as far as the blink needs: a long quiet session never wraps it.
        // The fourth hiding is the last: the text is not put back for a fifth showing, which
        // would then stay on the panel.
        if (Connection.CommErrorTicks < 4) {
            ++Connection.CommErrorTicks;
            message->SetText(MainText::BlankMessage);
            if (Connection.CommErrorTicks < 4) Display.StatusMessageText = Connection.CommErrorText;
        }
    } else {
        message->SetText(Display.StatusMessageText);
    }
    Memo1->Clear();
}

void TForm1::ClearStatusBarMessages1Click(TObject* Sender)
{
    Display.StatusMessageText.clear();
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
