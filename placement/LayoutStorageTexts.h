// The texts of the MDI children and grid layouts: the refusal and the INI names.
#pragma once

namespace LayoutStorageText {
inline constexpr const char* NoMdiForms = "Cannot create form. No MDI forms are currently active";
inline constexpr const char* MdiSection = "MDI Children";
inline constexpr const char* CountKey = "Count";
inline constexpr const char* ItemKey = "Item%d";
}  // namespace LayoutStorageText
