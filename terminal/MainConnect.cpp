// The connect toggle (opening the port with the tool bar's line settings, explaining a failed
// open, and closing it again), and the live line-setting changes of the tool bar's combos with
// their keys.
#include <exception>

#include "framework/DateTime.h"
#include "framework/Streams.h"
#include "settings/Properties.h"
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "terminal/MainTexts.h"
#include "terminal/MainGlobals.h"

namespace {

// The explanation of a failed open. The three errors a user can do something about have their
// own texts; any other code used to pass in silence, which left the user guessing why nothing
// happened, so it gets the plain failure with its code.
String OpenFailureText(DWORD error, const String& port)
{
    const String code = Format(MainText::SystemErrorCode, static_cast<int>(error));
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return MainText::NoSuchPortHead + port + code + MainText::NoSuchPortMiddle + port +
               MainText::NoSuchPortTail;
    case ERROR_ACCESS_DENIED:
        return MainText::PortDeniedHead + port + code + MainText::PortDeniedMiddle + port + ".";
    case ERROR_SHARING_VIOLATION:
        return MainText::PortSharingHead + port + MainText::PortSharingMiddle + code +
               MainText::PortSharingTail + port + ".";
    default: return MainText::OpenFailedHead + port + code;
    }
}

// Parity checking from the settings. Done while the port is still closed, so the open's own
// DCB write carries it: edited after the open (with no rewrite) it reached the device only at
// the next line-setting change or the next connect.
void ApplyParityCheckOption(TComm& port)
{
    TCommOptions options = port.Options();
    options >> coErrorChar;
    if (Settings.CheckParity) {
        options << coParityCheck;
        port.SetOptions(options);
    } else {
        options >> coParityCheck;
        port.SetOptions(options);
        port.EventChars()->SetErrorChar(0);
    }
}

}  // namespace

// ---- connect and disconnect -------------------------------------------------------------------

void TForm1::Connect_spbtnClick(TObject* Sender)
{
    if (Connection.ConnectToggle() == 0)
        ConnectPort();
    else
        DisconnectPort();
}

void TForm1::ConnectPort()
{
    if (Comm1->Enabled()) {
        Memo1->Lines()->Add("Port has already been opened!");
        return;
    }
    const String port = PortIndex->Text();
    Comm1->SetDeviceName("\\\\.\\" + port);
    Comm1->SetBaudRate(static_cast<std::uint32_t>(StrToIntDef(Baud->Text(), 9600)));
    Comm1->SetDataBits(static_cast<TDataBits>(DataBitsBox->ItemIndex() + 2));
    Comm1->SetStopBits(StopBitsBox->ItemIndex() == 0 ? sb10 : sb20);
    Comm1->SetParity(static_cast<TParity>(ParityBox->ItemIndex()));
    ApplyParityCheckOption(*Comm1);

    // Any error from here to the end leaves the window disconnected with the port closed, and
    // goes on to the application's exception display: a port left open behind a window that
    // says "Connect" could be neither used nor closed again from the window.
    try {
        const DWORD error = Comm1->Open();
        if (!Comm1->Enabled()) {
            MessageDlg(OpenFailureText(error, port), mtInformation, TMsgDlgButtons{mbOK});
            return;
        }

        Comm1->SetRTSState(true);
        Comm1->SetDTRState(true);
        LED_RTS->SetState(true);
        LED_DTR->SetState(true);
        RefreshModemLeds();
        if (displayNeedsReset_) {
            Clear_spbtnClick(this);
            displayNeedsReset_ = false;
            Memo1->Lines()->Add(MainText::DisplayResetAfterStop);
        }
        Connection.PortOpen = true;
        Connect_spbtn->SetGlyph(Connect_spbtn2->Glyph());
        Connect_spbtn->SetCaption(Connect_spbtn2->Caption());
        Connect_spbtn->Hint = MainText::DisconnectHint;
        Connect1_mi->SetEnabled(false);
        Disconnect1_mi->SetEnabled(true);
        SendData_btn->SetEnabled(!edtSend->Text().empty());
        edtSend->SetEnabled(true);
        Connection.ConnectTime = Time();
        Memo1->Lines()->Add("Open " + port + " OK");
        PortIndex->SetEnabled(false);
        if (reScreen->CanFocus()) reScreen->SetFocus();
    } catch (...) {
        Comm1->Close();
        ShowDisconnected();
        throw;
    }
}

void TForm1::DisconnectPort()
{
    if (!Comm1->Enabled()) {
        Memo1->Lines()->Add("Port has not been opened!");
        // The toggle stood at disconnect over a closed port (a second disconnect while the
        // first lets the queue run): the window is marked closed, so the next click connects.
        Connection.PortOpen = false;
        return;
    }
    if (miStopSending->Visible()) miStopSendingClick(this);
    Comm1->Close();
    stop_tbtnClick(this);
    // The queue runs ten times, as a disconnect always has, so what is already posted (keys,
    // ticks, menu commands) is handled before the lamps go dark. The port's own hand-overs
    // reach no handler any more: Close cut the event thread off first.
    for (int i = 0; i < 10; ++i) Application->ProcessMessages();
    if (!Comm1->Enabled()) {
        Memo1->Lines()->Add("Close " + Comm1->DeviceName() + " OK");
        // Disabling Stop is what ends a running string-entry send.
        Stop_btn->SetEnabled(false);
        miStopCaptureClick(this);
        // A disconnect always ends a capture: the file is closed here too, so the capture
        // never outlives the connection whatever its stop command does.
        delete Transfer.CaptureFile;
        Transfer.CaptureFile = nullptr;
        ShowDisconnected();
    }
    // A connect that ran among the queued events has opened the port again and shown it as
    // connected: the window already tells the truth.
}

void TForm1::Comm1DeviceLost(TObject* Sender, int Error)
{
    // A port the window does not show as connected has nothing to take back.
    if (!Comm1->Enabled() || Connection.ConnectToggle() == 0) return;
    String port = Comm1->DeviceName();
    if (port.rfind("\\\\.\\", 0) == 0) port.erase(0, 4);
    // Left open, the port said "Connected" while nothing could arrive any more. The disconnect
    // comes first, so the window tells the truth while the box is up.
    Connect_spbtnClick(this);
    const String text = MainText::DeviceLostHead + port + MainText::DeviceLostMiddle +
                        Format(MainText::SystemErrorCode, Error) + MainText::DeviceLostTail;
    TMenu::AfterMenuLoop([text] { MessageDlg(text, mtInformation, TMsgDlgButtons{mbOK}); });
}

void TForm1::ShowDisconnected()
{
    for (TLEDLabel* lamp : {LED_RTS, LED_DTR, LED_BRK, LED_CTS, LED_DSR, LED_RI, LED_DCD, LED_BRKD})
        lamp->SetState(false);
    Connect_spbtn->SetGlyph(DisConnect_spbtn1->Glyph());
    Connect_spbtn->SetCaption(DisConnect_spbtn1->Caption());
    Connect_spbtn->Hint = MainText::ConnectHint;
    Connect1_mi->SetEnabled(true);
    Disconnect1_mi->SetEnabled(false);
    SendData_btn->SetEnabled(false);
    edtSend->SetEnabled(false);
    StatusBar1->Panels(0)->SetText(MainText::Disconnected);
    PortIndex->SetEnabled(true);
    Connection.PortOpen = false;
}

// ---- live line settings -----------------------------------------------------------------------

namespace {

// Every DCB write lowers DTR and RTS: a line-setting change on an open port raises again what
// the lamps say was raised before it. A setting the driver rejects is put back everywhere it
// was written (the port's stored value, the combo, the settings record): otherwise the port
// would keep a value that is not in force, and choosing it again would look like no change
// and never retry.
template <class Apply, class Rollback>
void ChangeLineSetting(TForm1& form, Apply apply, Rollback rollback)
{
    const bool open = form.Comm1->Enabled();
    const bool rts = form.LED_RTS->Lit();
    const bool dtr = form.LED_DTR->Lit();
    auto reassert = [&] {
        if (!open) return;
        form.Comm1->SetRTSState(rts);
        form.Comm1->SetDTRState(dtr);
    };
    try {
        apply();
    } catch (...) {
        const std::exception_ptr rejected = std::current_exception();
        // The old value goes back into the port even if the device refuses it again; the
        // first refusal is the one reported.
        try {
            rollback();
        } catch (...) {
        }
        try {
            reassert();
            form.RefreshModemLeds();
        } catch (...) {
        }
        std::rethrow_exception(rejected);
    }
    reassert();
    form.RefreshModemLeds();
}

}  // namespace

void TForm1::ParityBoxChange(TObject* Sender)
{
    if (!Comm1->Enabled()) return;
    const TParity chosen = static_cast<TParity>(ParityBox->ItemIndex());
    const TParity old = Comm1->Parity();
    if (chosen == old) return;
    ChangeLineSetting(
        *this, [&] { Comm1->SetParity(chosen); },
        [&] {
            ParityBox->SetItemIndex(old);
            Comm1->SetParity(old);
        });
    FileNewClick(this);
}

void TForm1::DataBitsBoxChange(TObject* Sender)
{
    if (!Comm1->Enabled()) return;
    const TDataBits chosen = static_cast<TDataBits>(DataBitsBox->ItemIndex() + 2);
    const TDataBits old = Comm1->DataBits();
    if (chosen == old) return;
    const String oldSetting = Settings.DataBits;
    ChangeLineSetting(
        *this,
        [&] {
            Comm1->SetDataBits(chosen);
            Settings.DataBits = DataBitsBox->Text();
        },
        [&] {
            Settings.DataBits = oldSetting;
            DataBitsBox->SetItemIndex(old - 2);
            Comm1->SetDataBits(old);
        });
    FileNewClick(this);
}

void TForm1::BaudChange(TObject* Sender)
{
    if (!Comm1->Enabled()) return;
    const std::uint32_t chosen = static_cast<std::uint32_t>(StrToIntDef(Baud->Text(), 9600));
    const std::uint32_t old = Comm1->BaudRate();
    if (chosen == old) return;
    const String oldSetting = Settings.Baud;
    ChangeLineSetting(
        *this,
        [&] {
            Settings.Baud = Baud->Text();
            Comm1->SetBaudRate(chosen);
        },
        [&] {
            Settings.Baud = oldSetting;
            Baud->SetItemIndex(Baud->Items()->IndexOf(IntToStr(static_cast<int>(old))));
            Comm1->SetBaudRate(old);
        });
    FileNewClick(this);
}

void TForm1::StopBitsBoxChange(TObject* Sender)
{
    const TStopBits chosen = StopBitsBox->ItemIndex() == 0 ? sb10 : sb20;
    const TStopBits old = Comm1->StopBits();
    ChangeLineSetting(
        *this, [&] { Comm1->SetStopBits(chosen); },
        [&] {
            StopBitsBox->SetItemIndex(old == sb10 ? 0 : 1);
            Comm1->SetStopBits(old);
        });
}

void TForm1::PortIndexChange(TObject* Sender)
{
    // The connect prefixes the device path again.
    if (!Comm1->Enabled()) Comm1->SetDeviceName(PortIndex->Text());
}

// ---- keys of the combos -----------------------------------------------------------------------

void TForm1::PortIndexKeyPress(TObject* Sender, char& Key)
{
    if (Key < '1' || Key > '9') return;
    PortIndex->SetItemIndex(Key - '1');
    PortIndexChange(Sender);
}

namespace {

// Space opens a closed list and closes an open one; the key goes no further.
void ToggleListOnSpace(TComboBox* combo, char& Key)
{
    if (Key != ' ') return;
    combo->SetDroppedDown(!combo->DroppedDown());
    Key = 0;
}

}  // namespace

void TForm1::BaudKeyPress(TObject* Sender, char& Key) { ToggleListOnSpace(Baud, Key); }
void TForm1::DataBitsBoxKeyPress(TObject* Sender, char& Key)
{
    ToggleListOnSpace(DataBitsBox, Key);
}
void TForm1::ParityBoxKeyPress(TObject* Sender, char& Key) { ToggleListOnSpace(ParityBox, Key); }
void TForm1::StopBitsBoxKeyPress(TObject* Sender, char& Key)
{
    ToggleListOnSpace(StopBitsBox, Key);
}
