// The program's other windows, created at start-up after the main window, in this order: the
// options dialog, the About box, the user notes, the string entry help, the ASCII table, the
// notation converter, the special send options and the script form.
#pragma once

#include "dialogs/AboutBox.h"
#include "dialogs/AsciiTable.h"
#include "dialogs/MacroScriptForm.h"
#include "dialogs/NotationConverter.h"
#include "dialogs/ReadmeForm.h"
#include "dialogs/PacedSendOptions.h"
#include "dialogs/StringEntryHelp.h"
#include "settings/PropertiesForm.h"
