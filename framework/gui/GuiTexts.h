// The window layer's own user-visible texts, in one table: captions of the message dialogs
// and the messages of the exceptions it raises. Exact to the byte; tests compare with them.
#pragma once

namespace GuiText {
// Message dialog captions, by kind (mtWarning, mtError, mtInformation, mtConfirmation).
inline constexpr const char* WarningCaption = "Warning";
inline constexpr const char* ErrorCaption = "Error";
inline constexpr const char* InformationCaption = "Information";
inline constexpr const char* ConfirmCaption = "Confirm";

inline constexpr const char* UnknownException = "Unknown exception";
inline constexpr const char* CanvasNoDrawing = "Canvas does not allow drawing";
inline constexpr const char* BitmapNotFound = "Bitmap resource not found: %s";
inline constexpr const char* OutOfSystemResources = "Out of system resources";
inline constexpr const char* OutOfMemory = "Out of memory";
inline constexpr const char* ClipboardOpen = "Cannot open clipboard";
inline constexpr const char* ClipboardWrite = "Cannot write to the clipboard";
inline constexpr const char* ImageListCreate = "Failed to create image list";
inline constexpr const char* OwnParent = "A control cannot be its own parent";
inline constexpr const char* NoParentWindow = "Control '%s' has no parent window";
inline constexpr const char* WindowCreate = "Error creating window (class %s)";
inline constexpr const char* NoMDIForm = "Cannot create form. No MDI forms are currently active";
inline constexpr const char* VisibleModal = "Cannot make a visible window modal";
inline constexpr const char* MenuInserted = "Menu item already inserted";
inline constexpr const char* NoDefaultPrinter = "There is no default printer currently selected";
inline constexpr const char* PrintingInProgress = "Printing in progress";
inline constexpr const char* NotPrinting = "Printer is not currently printing";
inline constexpr const char* StreamLoad = "Failed to load stream.";
inline constexpr const char* StreamSave = "Failed to save stream.";
inline constexpr const char* ListIndex = "List index out of bounds (%d)";
inline constexpr const char* LibraryLoad = "Cannot load %s";
inline constexpr const char* NoTimers = "Not enough timers available";
}  // namespace GuiText
