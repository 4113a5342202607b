// Applying the settings record to the main window: display mode, port combos, screen font (it
// must be installed and of fixed pitch), string entry pane, automatic connect, line width,
// caption and the status tick.
#include <algorithm>
#include <exception>

#include "framework/gui/InstalledFonts.h"
#include "settings/Properties.h"
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"
#include "terminal/StartupErrors.h"

namespace {

// The width a line can take on the screen without sliding it sideways: the formatting
// rectangle, less a pixel for the caret after a full line, and less the vertical scroll bar
// while it is not shown (it comes once the screen is full, and narrows the rectangle).
int ScreenLineWidth(HWND Screen)
{
    RECT format{};
    SendMessageA(Screen, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    int width = format.right - format.left - 1;
    if ((GetWindowLongA(Screen, GWL_STYLE) & WS_VSCROLL) == 0)
        width -= GetSystemMetrics(SM_CXVSCROLL);
    return width;
}

// Selects the first item equal to Text, ignoring case; false (combo unchanged) when none is.
bool SelectItem(TComboBox* Combo, const String& Text)
{
    for (int i = 0; i < Combo->Items()->Count(); ++i)
        if (SameText(Combo->Items()->Strings(i), Text)) {
            Combo->SetItemIndex(i);
            return true;
        }
    return false;
}

// A screen of columns needs every character as wide as every other: the widest capital and
// the narrowest mark must measure the same in the named font.
bool IsFixedPitch(TCanvas* Canvas, const String& FontName)
{
    TFont saved;
    saved.Assign(Canvas->Font());
    Canvas->Font()->SetName(FontName);
    const bool fixed = Canvas->TextWidth("X") == Canvas->TextWidth("'");
    Canvas->Font()->Assign(&saved);
    return fixed;
}

}  // namespace

void TForm1::ApplySettings()
{
    int bad = 0;

    if (Settings.DisplayMode >= 0 && Settings.DisplayMode <= 2) {
        Display.DisplayMode = Settings.DisplayMode;
    } else {
        Settings.DisplayMode = 0;
        Display.DisplayMode = 0;
        ++bad;
    }

    if (!SelectItem(PortIndex, Settings.Port)) ++bad;
    if (!SelectItem(Baud, Settings.Baud)) ++bad;
    if (!SelectItem(DataBitsBox, Settings.DataBits)) ++bad;
    if (!SelectItem(ParityBox, Settings.Parity)) ++bad;
    if (!SelectItem(StopBitsBox, Settings.StopBits)) ++bad;

    // A font that is not installed would be replaced by whatever the system finds closest,
    // so it is not applied at all.
    if (FindFontIndex(Settings.FontName) == -1) {
        Settings.FontName = FontDialog->Font()->Name();
        ShowMessage(MainText::FontNotFound);
        ++bad;
    } else {
        if (IsFixedPitch(GutterCanvas, Settings.FontName)) {
            FontDialog->Font()->SetName(Settings.FontName);
        } else {
            ShowMessage(MainText::FontNotFixedPitch);
            Settings.FontName = FontDialog->Font()->Name();
        }
        ApplyScreenFont(false);
    }

    pnlStringEntry->SetVisible(Settings.StringEntryPaneVisible);
    Panel7->SetVisible(!Settings.StringEntryPaneVisible);
    edtSend->SetText(Settings.StringEntryPane);

    // A port that raises while it opens must not cost the rest of the settings: the steps
    // after the connect still run and the port's own message goes to the caller afterwards.
    String connectError;
    bool connectFailed = false;
    if (Settings.AutoConnectOnStart) {
        try {
            Connect_spbtnClick(this);
        } catch (Exception& e) {
            connectFailed = true;
            connectError = e.Message;
        } catch (std::exception& e) {
            connectFailed = true;
            connectError = e.what();
        }
    }

    AdjustColumns();
    reScreen->SetModified(false);
    if (bad > 0)
        MessageDlg(BadSettingsMessage(Settings.ConfigFileName), mtWarning, TMsgDlgButtons{mbOK});
    SetCaption(MainText::SettingsCaption);
    Timer2->SetEnabled(true);

    if (connectFailed) throw EPortConnectError(connectError);
}

void TForm1::AdjustColumns()
{
    GutterCanvas->Font()->Assign(reScreen->Font());
    const int sixteen = GutterCanvas->TextWidth("ABCDEFGHIJKLMNOP");
    const int w = sixteen / 16;
    if (Settings.AutoAdjustCols && w > 0) {
        // Unsigned on purpose: a screen narrower than the margin gives a huge count that the
        // clamp turns into the widest line.
        std::uint32_t chars = (static_cast<std::uint32_t>(reScreen->Width()) -
                               static_cast<std::uint32_t>(w / 2 + 12)) /
                              static_cast<std::uint32_t>(w);
        // That margin can be narrower than the screen's border, scroll bar and caret: a full
        // line was then a few pixels wider than the screen, and in Hexadecimal mode the view
        // slid sideways at every line end, the whole screen redrawn for each key. No more
        // columns than a full line shows whole.
        const int usable = reScreen->HandleAllocated() ? ScreenLineWidth(reScreen->Handle()) : 0;
        if (usable > 0)
            chars = std::min(chars, static_cast<std::uint32_t>(usable) * 16u /
                                        static_cast<std::uint32_t>(sixteen));
        if (chars < static_cast<std::uint32_t>(MinColumns)) chars = MinColumns;
        if (chars > static_cast<std::uint32_t>(MaxColumns)) chars = MaxColumns;
        Display.CharsPerLine = chars;
        Settings.Columns = static_cast<std::int32_t>(chars);
    } else {
        Display.CharsPerLine = static_cast<std::uint32_t>(Settings.Columns);
    }
}
