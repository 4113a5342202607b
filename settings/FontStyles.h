// The screen font's style set as the settings record keeps it (a set of the four styles).
// Only bold and italic reach the settings file; underline and strike-out live for the run.
#pragma once

#include "framework/Sets.h"

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
