// The modem lines on the main window's lamps: the input lamps follow the port's line events,
// a detected break lights BRKD until the break timer clears it, and the three output lamps
// (clicked, or F7, F8, F9) switch DTR, RTS and BREAK on an open port.
#include "terminal/Main.h"

// ---- input lamps --------------------------------------------------------------------------------

void TForm1::RefreshModemLeds()
{
    if (!Comm1->Enabled()) return;
    LED_CTS->SetState(Comm1->GetModemState(1));
    LED_DSR->SetState(Comm1->GetModemState(2));
    LED_RI->SetState(Comm1->GetModemState(3));
    LED_DCD->SetState(Comm1->GetModemState(4));
}

void TForm1::Comm1Cts(TObject* Sender) { LED_CTS->SetState(Comm1->GetModemState(1)); }
void TForm1::Comm1Dsr(TObject* Sender) { LED_DSR->SetState(Comm1->GetModemState(2)); }
void TForm1::Comm1Ring(TObject* Sender) { LED_RI->SetState(Comm1->GetModemState(3)); }
void TForm1::Comm1Rlsd(TObject* Sender) { LED_DCD->SetState(Comm1->GetModemState(4)); }

// ---- detected breaks ----------------------------------------------------------------------------

void TForm1::Comm1Break(TObject* Sender)
{
    LED_BRKD->SetState(true);
    // A running timer is not restarted: a break during its interval is cleared with the first.
    Timer_BRKD->SetEnabled(true);
}

void TForm1::Timer_BRKDTimer(TObject* Sender)
{
    if (!Comm1->Enabled() || !LED_BRKD->Lit()) return;
    // The timer stops before the port is asked: a device that refuses to clear BREAK gives one
    // error box, not a new one every interval (and a pile of them under a modal box's loop).
    LED_BRKD->SetState(false);
    Timer_BRKD->SetEnabled(false);
    Comm1->SetBREAKState(false);
    // The clear releases a BREAK the user set too: its lamp goes dark with it, or it would
    // claim a held line that is gone and the next toggle would "clear" a clear line.
    LED_BRK->SetState(false);
}

// ---- output toggles -----------------------------------------------------------------------------

namespace {

// The lamp is the only record of the output's state. The port is switched first: a refusal
// raises before the lamp changes, so the lamp never shows a state the line does not have.
template <class Switch>
void ToggleOutput(TComm& Port, TLEDLabel& Lamp, Switch SetState)
{
    if (!Port.Enabled()) return;
    const bool on = !Lamp.Lit();
    (Port.*SetState)(on);
    Lamp.SetState(on);
}

}  // namespace

void TForm1::LED_RTSMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    ToggleOutput(*Comm1, *LED_RTS, &TComm::SetRTSState);
}
void TForm1::LED_DTRMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    ToggleOutput(*Comm1, *LED_DTR, &TComm::SetDTRState);
}
void TForm1::LED_BRKMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    ToggleOutput(*Comm1, *LED_BRK, &TComm::SetBREAKState);
}
void TForm1::RTSExecute(TObject* Sender) { ToggleOutput(*Comm1, *LED_RTS, &TComm::SetRTSState); }
void TForm1::DTRExecute(TObject* Sender) { ToggleOutput(*Comm1, *LED_DTR, &TComm::SetDTRState); }
void TForm1::BreakExecute(TObject* Sender)
{
    ToggleOutput(*Comm1, *LED_BRK, &TComm::SetBREAKState);
}
