// The progress control registry: library code drives any progress indicator through the names
// of its maximum, minimum and current-value properties, registered per control class.
#pragma once

#include "framework/Strings.h"
#include "util/ClassRefs.h"

// Longer property names are cut to this many characters.
constexpr std::size_t ProgressPropNameMax = 63;

// Appends a record; the registry starts with the progress bar's "Max", "Min", "Position".
void RegisterProgressControl(const TClassRef& AClass, const String& MaxPropName,
                             const String& MinPropName, const String& ProgressPropName);
// Removes every record of AClass and of the classes derived from it.
void UnRegisterProgressControl(const TClassRef& AClass);
// Whether a record applies to Control's class (false for no control).
bool SupportsProgressControl(const TObject* Control);

// Each sets the published property the record names: only integer, floating-point and
// variant properties are accepted. True when the property was set.
bool SetProgressMax(TObject* Control, int Value);
bool SetProgressMin(TObject* Control, int Value);
bool SetProgressValue(TObject* Control, int Value);
