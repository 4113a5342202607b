// The font families installed on the system, as font choosers list them, and the position of a
// family name among them.
#pragma once

#include <vector>

#include "framework/Strings.h"

// Every installed family once, sorted without regard to case. Read afresh on each call, so a
// font installed while the program runs is seen.
std::vector<String> InstalledFontNames();

// Position of Name among InstalledFontNames(), compared without regard to case; -1 when no
// such family is installed.
int FindFontIndex(const String& Name);
