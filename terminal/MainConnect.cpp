// The connect toggle: opening the port with the tool bar's line settings (explaining a failed
// open) and closing it again, and the input lamps read from the port. The live parameter
// changes of the combos are not built yet.
#include "framework/DateTime.h"
#include "settings/Properties.h"
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "terminal/MainTexts.h"
#include "terminal/WindowGlobals.h"

namespace {

// The explanation of a failed open, for the three errors a user can do something about.
String OpenFailureText(DWORD error, const String& port)
{
    const String code = Format(MainText::SystemErrorCode, static_cast<int>(error));
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return MainText::NoSuchPortHead + port + code + MainText::NoSuchPortMiddle + port + MainText::NoSuchPortTail;
    case ERROR_ACCESS_DENIED:
        return MainText::PortDeniedHead + port + code + MainText::PortDeniedMiddle + port + ".";
    case ERROR_SHARING_VIOLATION:
        return MainText::PortSharingHead + port + MainText::PortSharingMiddle + code + MainText::PortSharingTail + port + ".";
    default:
        return String();
    }
}

}  // namespace

void TForm1::Connect_spbtnClick(TObject* Sender)
{
    if (ConnectToggle == 0) {
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

        SetLastError(0);
        Comm1->Open();
        DWORD error = GetLastError();
        if (Comm1->Enabled()) error = 0;
        const String explanation = OpenFailureText(error, port);
        if (!explanation.empty()) MessageDlg(explanation, mtInformation, TMsgDlgButtons{mbOK});

        TCommOptions options = Comm1->Options();
        if (Settings.CheckParity) {
            options << coParityCheck;
            options >> coErrorChar;
            Comm1->SetOptions(options);
        } else {
            options >> coParityCheck;
            options >> coErrorChar;
            Comm1->SetOptions(options);
            Comm1->EventChars()->SetErrorChar(0);
        }

        if (Comm1->Enabled()) {
            Comm1->SetRTSState(true);
            Comm1->SetDTRState(true);
            LED_RTS->SetState(true);
            LED_DTR->SetState(true);
            RefreshModemLeds();
            PortOpen = true;
            Connect_spbtn->Hint = MainText::DisconnectHint;
            Connect_spbtn->SetCaption(Connect_spbtn2->Caption());
            ConnectToggle = 1;
            Connect1_mi->SetEnabled(false);
            Disconnect1_mi->SetEnabled(true);
            SendData_btn->SetEnabled(!edtSend->Text().empty());
            edtSend->SetEnabled(true);
            ConnectTime = Time();
            Memo1->Lines()->Add("Open " + port + " OK");
            PortIndex->SetEnabled(false);
            if (reScreen->CanFocus()) reScreen->SetFocus();
        }
        return;
    }

    if (!Comm1->Enabled()) {
        Memo1->Lines()->Add("Port has not been opened!");
        ConnectToggle = 0;
        return;
    }
    if (miStopSending->Visible()) miStopSendingClick(this);
    Comm1->Close();
    stop_tbtnClick(this);
    // Events the port had already handed over are delivered before the lamps go dark.
    for (int i = 0; i < 10; ++i) Application->ProcessMessages();
    for (TLEDLabel* lamp : {LED_RTS, LED_DTR, LED_BRK, LED_CTS, LED_DSR, LED_RI, LED_DCD, LED_BRKD})
        lamp->SetState(false);
    Connect_spbtn->Hint = MainText::ConnectHint;
    Connect_spbtn->SetCaption(DisConnect_spbtn1->Caption());
    const bool open = Comm1->Enabled();
    Connect1_mi->SetEnabled(!open);
    Disconnect1_mi->SetEnabled(open);
    SendData_btn->SetEnabled(open);
    edtSend->SetEnabled(open);
    if (!open) {
        Memo1->Lines()->Add("Close " + Comm1->DeviceName() + " OK");
        StatusBar1->Panels(0)->SetText(MainText::Disconnected);
        Stop_btn->SetEnabled(false);
        miStopCaptureClick(this);
        PortIndex->SetEnabled(true);
        PortOpen = false;
    }
    ConnectToggle = 0;
}

void TForm1::RefreshModemLeds()
{
    if (!Comm1->Enabled()) return;
    LED_CTS->SetState(Comm1->GetModemState(1));
    LED_DSR->SetState(Comm1->GetModemState(2));
    LED_RI->SetState(Comm1->GetModemState(3));
    LED_DCD->SetState(Comm1->GetModemState(4));
}
