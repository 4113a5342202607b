// The tree services of the Windows program: questions and messages through the dialog service,
// record IDs from the platform's GUID generator, labels compared in the user's locale. The main
// window installs them (MacroTreeServices() = WindowTreeServices()).
#pragma once

#include "macros/TreeUtil.h"

TMacroTreeServices WindowTreeServices();
