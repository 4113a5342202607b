// The texts the macro tree operations show the user.
#pragma once

namespace TreeText {
inline constexpr const char* DeleteAllItems =
    "Are you sure you wish to permanently delete all items?";
inline constexpr const char* DeleteAllItemsCaption = "Folder contains macro entries";
inline constexpr const char* SaveMarkedItems = "Are you sure you wish to make permanent changes?";
inline constexpr const char* SaveMarkedItemsCaption = "Found items marked for deletion";
}  // namespace TreeText
