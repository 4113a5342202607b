// The three display modes: the menu commands (asking before a switch between text and the byte
// modes clears the screen) and the menu's check marks.
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"

void TForm1::SwitchDisplayMode(std::int32_t Mode)
{
    // Text and bytes cannot share a screen: crossing between them starts a new session. Mixed
    // and Hexadecimal switch at once and keep what is shown.
    const bool crossing =
        Mode == 0 ? Display.DisplayMode != 0 : Display.DisplayMode != 1 && Display.DisplayMode != 2;
    if (crossing) {
        if (MessageDlg(MainText::ModeChangeQuestion, mtConfirmation, TMsgDlgButtons{mbYes, mbNo}) !=
            mrYes)
            return;
        FileNewClick(this);
    }
    Display.DisplayMode = Mode;
    Settings.DisplayMode = Mode;
}

void TForm1::mi_ASCIIModeClick(TObject* Sender) { SwitchDisplayMode(0); }

void TForm1::mi_MixedModeClick(TObject* Sender) { SwitchDisplayMode(1); }

void TForm1::mi_HexModeClick(TObject* Sender) { SwitchDisplayMode(2); }

void TForm1::Mode1Click(TObject* Sender)
{
    mi_HexMode->SetChecked(Display.DisplayMode == 2);
    mi_MixedMode->SetChecked(Display.DisplayMode == 1);
    mi_ASCIIMode->SetChecked(Display.DisplayMode != 1 && Display.DisplayMode != 2);
}
