// The texts of the application form services.
#pragma once

namespace AppFormsText {
inline constexpr const char* NoMdiForms = "Cannot create form. No MDI forms are currently active";
inline constexpr const char* MdiSection = "MDI Children";
inline constexpr const char* CountKey = "Count";
inline constexpr const char* ItemKey = "Item%d";
}  // namespace AppFormsText
