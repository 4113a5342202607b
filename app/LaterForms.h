// The program's other windows, created at start-up after the main window. Until each one is
// built, it is an empty window with its class name and caption.
#pragma once

#include "dialogs/AboutBox.h"
#include "dialogs/AsciiTable.h"
#include "dialogs/MacroScriptForm.h"
#include "dialogs/NotationConverter.h"
#include "dialogs/ReadmeForm.h"
#include "dialogs/StringEntryHelp.h"
#include "framework/gui/Form.h"
#include "settings/PropertiesForm.h"

// One empty form: the window class is the form's class name.
class TPlainLaterForm : public TForm {
public:
    TPlainLaterForm(TComponent* AOwner, const char* WindowClass, const char* Caption);

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    const char* windowClass_;
};

#define QV_LATER_FORM(Class, Caption)                                                              \
    class Class : public TPlainLaterForm {                                                         \
    public:                                                                                        \
        explicit Class(TComponent* AOwner) : TPlainLaterForm(AOwner, #Class, Caption) {}           \
    }

QV_LATER_FORM(TAdvSendFile_dlg, "Special Send File - Options");

#undef QV_LATER_FORM

extern TAdvSendFile_dlg* AdvSendFile_dlg;
