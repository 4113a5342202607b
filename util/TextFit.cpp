// Shortening a text to a width.
#include "util/TextFit.h"

String MinimizeText(const String& Text, const TTextMeasure& Width, int MaxWidth)
{
    String result = Text;
    for (int removed = 1; Width(result) > MaxWidth && removed <= Length(Text); ++removed)
        result = Text.substr(0, Text.size() - static_cast<size_t>(removed)) + "...";
    return result;
}
