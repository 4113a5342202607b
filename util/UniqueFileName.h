// A free file name in a folder, from a mask with one integer placeholder ("Doc%d.txt").
#pragma once

#include <functional>
#include <string_view>

#include "framework/Strings.h"

// The first name Format(Mask, n) for n = 0, 1, 2, ... that Exists does not find in Path (the
// name alone, without the folder); empty when every n up to the largest integer is taken.
// EConvertError when Mask does not hold exactly one integer placeholder (%d, %u or %x, with
// a width and precision of at most 255; "%%" is a plain percent sign).
String GetUniqueFileNameInDir(std::string_view Path, std::string_view Mask,
                              const std::function<bool(const String&)>& Exists = FileExists);

// Whether Mask holds exactly one integer placeholder and no other.
bool IsIntegerFileNameMask(std::string_view Mask);
