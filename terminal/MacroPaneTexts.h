// The texts the macro pane's editor and tree commands show the user, exact to the byte.
#pragma once

namespace MacroPaneText {
inline constexpr const char* EmptyName = "Error - name field is empty.\nReplaced with '?'.";
inline constexpr const char* CouldNotOpen = "Could not open file for reading:\n";
inline constexpr const char* CreateFolderFirst = "Please create a folder first.";
inline constexpr const char* DeletedFolder = "Cannot add to deleted folder.";
inline constexpr const char* ItemMarked = "Item is marked for deletion.";
inline constexpr const char* ClearQuestion =
    "Are you sure you wish to clear all entries in the Macro List?";
inline constexpr const char* ShowEditor = "Show Editor";
inline constexpr const char* HideEditor = "Hide Editor";
inline constexpr const char* NewItemName = "New";
inline constexpr const char* NewFolderName = "New Folder";
inline constexpr const char* FileNameCaption = "File name:";
inline constexpr const char* DataCaption = "Data:";
inline constexpr const char* CharDelayCaption = "Char Delay(ms):";
inline constexpr const char* SignalStateCaption = "Signal State:";
inline constexpr const char* DelayMsCaption = "Delay (ms):";
inline constexpr const char* DelaySecsCaption = "Delay (secs):";
inline constexpr const char* DelayMinsCaption = "Delay (mins):";
}  // namespace MacroPaneText
