// The screen font and colour: the settings font (or one chosen in the font dialog) put on the
// screen with the RTF header rebuilt for it and the screen shown again in it, and the screen's
// background colour for the run.
#include <richedit.h>

#include "framework/Streams.h"
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"

void TForm1::ApplyScreenFont(bool ShowDialog)
{
    TFont* font = FontDialog->Font();
    font->SetName(Settings.FontName);
    font->SetCharset(Settings.FontCharset);
    font->SetSize(Settings.FontSize);
    font->SetStyle(Settings.FontStyle);
    if (ShowDialog && !FontDialog->Execute()) return;

    reScreen->Clear();
    reScreen->Font()->Assign(font);
    Settings.FontName = font->Name();
    Settings.FontCharset = font->Charset();
    Settings.FontSize = font->Size();
    Settings.FontStyle = font->Style();
    SetRtfHeaderFont(Settings.FontStyle.Contains(fsBold), Settings.FontStyle.Contains(fsItalic),
                     Settings.FontSize);

    // The receive path's whole-screen load: a failure says so and leaves an empty, usable
    // screen. An empty pending text has nothing to show; the screen is already clear.
    if (Display.PendingRtf->Size() > 0) ReloadScreenFromPending();
    HWND screen = reScreen->Handle();
    const LRESULT end = SendMessageA(screen, WM_GETTEXTLENGTH, 0, 0);
    SendMessageA(screen, EM_SETSEL, end, end);
    SendMessageA(screen, EM_SCROLLCARET, 0, 0);

    FormResize(this);
}

void TForm1::EditFontClick(TObject* Sender) { ApplyScreenFont(true); }

// The colour lasts for the run: it is not kept in the settings.
void TForm1::Background1Click(TObject* Sender)
{
    if (ColorDialog1->Execute()) reScreen->SetColor(ColorDialog1->Color);
}
