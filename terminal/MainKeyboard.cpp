// The keyboard send path: every byte sent by hand (typed keys, the control-character menu, the
// string entry pane, macro data strings) goes through reScreenKeyPress, which sends it, copies
// it to the capture and echoes it in the sent colours. Also the screen's key-down filter.
#include "framework/Streams.h"
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

void TForm1::reScreenKeyPress(TObject* Sender, char& Key)
{
    char c = Key;
    // Whatever happens to it, the screen control never inserts the character itself.
    Key = 0;
    if (!Comm1->Enabled()) {
        if (Connection.CtrlCharMenuUsed || !Settings.AutoConnectOnKeypress) {
            MessageDlg(MainText::NotConnected, mtInformation, TMsgDlgButtons{mbOK});
            return;
        }
        Connect_spbtnClick(this);
        if (!Comm1->Enabled()) return;
    }
    // Nothing is sent while BREAK is held.
    if (LED_BRK->Lit()) return;

    const bool echo = !Settings.ShowInputOnly;
    const auto byte = static_cast<std::uint8_t>(c);
    const bool hexCell = byte == 0x0D || (!Display.TextMode() &&
                                          (byte < 0x20 || byte > 0x7E || Display.DisplayMode == 2));

    // A byte the port did not take was not sent: it is neither echoed, counted nor captured
    // (so the capture is written once the port took it), and the status bar says so (the port
    // keeps its own reason).
    if (Comm1->Write(&c, 1) == 1) {
        CaptureTypedByte(byte);
        if (!echo) {
            ++Display.BytesOut;
        } else {
            EchoSentByte(Sender, byte, hexCell ? TxHexPrefix : TxTextPrefix);
        }
    } else {
        Display.StatusMessageText = MainText::SendRefused;
        StatusBar1->Panels(4)->SetText(Display.StatusMessageText);
    }
    // Received text may have piled up meanwhile, whether this byte went out or not.
    CheckReceiveBacklog();
}

void TForm1::reScreenKeyDown(TObject* Sender, WORD& Key, TShiftState Shift)
{
    // Backspace must not delete screen text: the character event that follows sends 0x08.
    if (Key == VK_BACK) {
        Key = 0;
        return;
    }
    // The control's own Ctrl shortcuts must not run: select-all, copy, paste, centre and
    // right-align, and whatever else a rich edit takes with Ctrl and a letter (Wine's also cuts,
    // undoes, redoes and shows a "Style dump" box). The character event that follows sends the
    // control code like any other key.
    if (Shift.Contains(ssCtrl) && Key >= 'A' && Key <= 'Z') {
        switch (Key) {
        case 'A': Key = 1; return;
        case 'C': Key = 3; return;
        case 'V': Key = 22; return;
        case 'E': Key = 5; return;
        case 'R': Key = 18; return;
        default: Key = 0; return;
        }
    }
    if (Shift.Contains(ssAlt) && Key == VK_RETURN)
        SetWindowState(WindowState() != wsNormal ? wsNormal : wsMaximized);
}

void TForm1::NULL_00Click(TObject* Sender)
{
    Connection.CtrlCharMenuUsed = true;
    for (int code = 0; code < 32; ++code) {
        if (CtrlCharItems[code] != Sender) continue;
        char key = static_cast<char>(code);
        reScreenKeyPress(Sender, key);
        return;
    }
}
