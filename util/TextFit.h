// Shortening a text to a width with a trailing "...", measured by any measure (a canvas's
// text width, or a fixed-pitch measure in tests).
#pragma once

#include <functional>
#include <string_view>

#include "framework/Strings.h"

using TTextMeasure = std::function<int(std::string_view Text)>;

// The text itself when it fits in MaxWidth; else the longest front part of it followed by
// "..." that fits; "..." alone when no front part does.
String MinimizeText(const String& Text, const TTextMeasure& Width, int MaxWidth);
