// A font's style set (bold, italic, underline, strike-out), shared by the canvas fonts and the
// settings record, which keeps the screen font without depending on the window layer.
#pragma once

#include "framework/Sets.h"

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
