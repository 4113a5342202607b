// The port's line errors, written to the status bar's message panel (which blinks them), and
// its receive-flag and transmit-empty events, noted in the diagnostics memo on request.
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

namespace {

struct TLineErrorWord {
    int Flag;
    const char* Word;
};

// In the order the words are written; any other bit is ignored.
constexpr TLineErrorWord LineErrorWords[] = {
    {CE_RXOVER, MainText::ErrorRxOver},     {CE_OVERRUN, MainText::ErrorOverrun},
    {CE_RXPARITY, MainText::ErrorRxParity}, {CE_FRAME, MainText::ErrorFrame},
    {CE_BREAK, MainText::ErrorBreak},       {CE_TXFULL, MainText::ErrorTxFull},
};

}  // namespace

void TForm1::Comm1Error(TObject* Sender, int Errors)
{
    Connection.CommErrorTicks = 0;
    Connection.CommErrorText = MainText::CommsError;
    if (Errors == 0) Connection.CommErrorText += MainText::ErrorUndefined;
    bool first = true;
    for (const TLineErrorWord& e : LineErrorWords) {
        if ((Errors & e.Flag) == 0) continue;
        if (!first) Connection.CommErrorText += MainText::ErrorSeparator;
        Connection.CommErrorText += e.Word;
        first = false;
    }
    Display.StatusMessageText = Connection.CommErrorText;
    // The bytes around an error may be waiting with no receive event of their own to come.
    Comm1RxChar(Sender, 0);
}

void TForm1::Comm1RxFlag(TObject* Sender)
{
    if (ShowCommEventTicked()) Memo1->Lines()->Add(MainText::RxFlagEvent);
}

void TForm1::Comm1TxEmpty(TObject* Sender)
{
    if (ShowCommEventTicked()) Memo1->Lines()->Add(MainText::TxEmptyEvent);
}
