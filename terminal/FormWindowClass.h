// Forms whose windows carry their own class name ("TForm1"), so that other programs, and our
// tests, can find them by class.
#pragma once

#include "framework/gui/Control.h"

// Registers ClassName once (a plain window class like the framework's own) and makes Params
// create the window of that class; the framework takes the window over as usual.
void UseFormWindowClass(TCreateParams& Params, const char* ClassName);
