// Splitting a command line into the program name and its parameters, as the platform's
// start-up code quotes them.
#pragma once

#include <string_view>

#include "framework/Strings.h"

// The first token becomes ProgramName; the others are joined into Params, one blank between
// them, each token holding a blank put back in double quotes. Blanks are characters 1 to 32;
// a double quote opens a part that runs to the next one (or to the end) and may hold blanks.
// Tokens may be of any length.
void SplitCommandLine(std::string_view CommandLine, String& ProgramName, String& Params);
