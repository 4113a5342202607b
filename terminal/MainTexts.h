// The main window's user-visible texts (start-up, profiles, closing, connection), exact to
// the byte. Tests compare against these.
#pragma once

namespace MainText {
inline constexpr const char* ApplicationTitle = "Quorvalink CE";
inline constexpr const char* InitialCaption = "Quorvalink - RS232 Data Analyser / Visual Scripter";
inline constexpr const char* SettingsCaption = "Quorvalink Cobalt - RS232 Data Analyser";
inline constexpr const char* Disconnected = "Disconnected";

// ---- command line and dropped profiles ---------------------------------------------------
inline constexpr const char* TooManyParameters =
    "Error - too many command line parameters supplied.\nStarting with defaults.";
inline constexpr const char* MissingProfileHead = "Incorrect file name (";
inline constexpr const char* MissingProfileTail =
    ") specified in parameters. \nLoading defaults settings.\nPlease check that the file exists.";
inline constexpr const char* NotAProfile =
    "Incorrect file loaded.\nOnly Quorvalink Profile (*.qvp) files are accepted.";
inline constexpr const char* ProfileCorrupt = "File type not recognised or corrupt.";
inline constexpr const char* TooManyDropped = "Drag and drop error - too many files!";
inline constexpr const char* DroppedProfile =
    "Drag and drop detected. Loading Profile information from file:\n";
inline constexpr const char* DroppedWrongType = "Drag and drop error - incorrect file type.\nOnly "
                                                "Quorvalink Profile (*.qvp) files are accepted.";
inline constexpr const char* ProfileExtension = ".qvp";
// A profile export that cannot create its file: the head, the file's name, the tail.
inline constexpr const char* ExportFailedHead = "Could not export settings to file \"";
inline constexpr const char* ExportFailedTail = "\" \nFile may be set to \"Read Only\" access.";

// ---- closing -----------------------------------------------------------------------------
inline constexpr const char* DisconnectQuestion =
    "You are currently connected.\nAre you sure you want to disconnect now?";
inline constexpr const char* QuitQuestion = "Are you sure you want to quit?";
inline constexpr const char* QuitCaption = "Quit Program?";

// ---- settings ----------------------------------------------------------------------------
inline constexpr const char* BadSettingsHead = "Incorrect settings found for some options ";
inline constexpr const char* BadSettingsMiddle = "in configuration file:\n";
inline constexpr const char* BadSettingsTail = "\n\nThese options will be set to use defaults.";
inline constexpr const char* FontNotFound = "Error - font name is incorrect or not found.";
inline constexpr const char* FontNotFixedPitch =
    "Error - font in configuration is not\na fixed pitch font. Using defaults.";

// ---- connection --------------------------------------------------------------------------
inline constexpr const char* NotConnected =
    "No connection has been made.\nPress the connect button or F2 to start.";
inline constexpr const char* SystemErrorCode = " (system error code: %d).";
inline constexpr const char* NoSuchPortHead = "Unable to access port ";
inline constexpr const char* NoSuchPortMiddle = "\nPlease check that ";
inline constexpr const char* NoSuchPortTail = " exists on your PC/Laptop.";
inline constexpr const char* PortDeniedHead = "Unable to connect to port ";
inline constexpr const char* PortDeniedMiddle =
    "\nPlease check if another program or process is already \nusing (connected to) ";
inline constexpr const char* PortSharingHead = "Unable to connect to port ";
inline constexpr const char* PortSharingMiddle = " - sharing violation";
inline constexpr const char* PortSharingTail =
    "\nAnother program or process may already be using (connected to) ";
// Any other failed open: the head, the port and the code text.
inline constexpr const char* OpenFailedHead = "Unable to connect to port ";
inline constexpr const char* ConnectHint = "Connect";
// A device that went away while connected (an unplugged adapter, a far end that closed the
// line): the head, the port, the code text, the tail.
inline constexpr const char* DeviceLostHead = "Port ";
inline constexpr const char* DeviceLostMiddle = " is no longer available";
inline constexpr const char* DeviceLostTail =
    "\nThe device may have been unplugged or switched off. The port has been disconnected.";
// The reconnect after an overload stop starts on a cleared screen; the diagnostics memo says so.
inline constexpr const char* DisplayResetAfterStop = "Display reset after an overload stop";
inline constexpr const char* DisconnectHint = "Disconnect";

// ---- status bar, display modes and screen commands ---------------------------------------
// The display mode question, asked before a switch between text and the byte modes.
inline constexpr const char* ModeChangeQuestion =
    "Changing to this mode will reset the communication\nbuffers and clear the screen. Are you "
    "sure you want \nto continue?";
inline constexpr const char* CountersOut = "Bytes Out:";
inline constexpr const char* CountersIn = "  In:";
inline constexpr const char* CountersTotal = "  Total:";
inline constexpr const char* BlankMessage = "     ";
// A byte the port did not take: shown in the status bar, neither echoed nor counted.
inline constexpr const char* SendRefused = "Send error - the port did not take the data.";
inline constexpr const char* EntryTruncated = "Too many characters - truncated to 300 max.";
inline constexpr const char* FindFinished = "Finished searching the screen!";
inline constexpr const char* SaveFailedHead = "Unable to save the screen to file:\n";

// ---- modem lines, line errors and the status tick ----------------------------------------
inline constexpr const char* CommsError = "Comms Error:";
inline constexpr const char* ErrorUndefined = " UNDEFINED/BREAK";
inline constexpr const char* ErrorRxOver = " RXOVER";
inline constexpr const char* ErrorOverrun = " OVERRUN";
inline constexpr const char* ErrorRxParity = " RXPARITY";
inline constexpr const char* ErrorFrame = " FRAME";
inline constexpr const char* ErrorBreak = " BREAK";
inline constexpr const char* ErrorTxFull = " TXFULL";
inline constexpr const char* ErrorSeparator = ",";
inline constexpr const char* RxFlagEvent = "RxFlag  ";
inline constexpr const char* TxEmptyEvent = "TxEmpty  ";
inline constexpr const char* ConnectedFor = "Connected %d:%.2d:%.2d";
inline constexpr const char* TimeNullified = "Connected - time nullified!";

// ---- file send and capture ---------------------------------------------------------------
inline constexpr const char* SendingFile = "Sending file, ";
inline constexpr const char* CannotOpenForReading = "Could not open file for reading:\n";
inline constexpr const char* ProgressSizeHead = "File size: ";
inline constexpr const char* ProgressSizeTail = " bytes,";
// The pass starts with a blank before its 0; the later steps have none.
inline constexpr const char* ProgressStart = " Completed: 0%";
inline constexpr const char* ProgressCompleted = " Completed:";
inline constexpr const char* EmptyFileHead = "File: ";
inline constexpr const char* EmptyFileTail = " is empty\n0 bytes sent.";
inline constexpr const char* SentHead = "Successfully sent ";
inline constexpr const char* SentOneByte = " byte from file:\n";
inline constexpr const char* SentBytes = " bytes from file:\n";
inline constexpr const char* FileErrorText =
    "Can't perform one of the following file operations: Find, Read, Close.";
inline constexpr const char* FileErrorCaption = "File Error";
// A port that refuses a byte ends the send: the file did not all go out.
inline constexpr const char* PortRefusedHead =
    "Sending stopped: the port did not accept the data.\n";
inline constexpr const char* PortRefusedMiddle = " of ";
inline constexpr const char* PortRefusedTail = " bytes sent from file:\n";
// A pause after each byte that gets no timer (too short for one, or refused by the system)
// ends a special send: waiting for a tick that never comes could not be stopped.
inline constexpr const char* PauseTimerRefusedHead =
    "Sending stopped: the system gave no timer for a pause of ";
inline constexpr const char* PauseTimerRefusedTail = " ms after each character.\n";
inline constexpr const char* CapturingTo = "Capturing to file: ";
inline constexpr const char* CaptureOpenFailed =
    "Could not open file. File may be set to \"Read Only\"";
// A capture write the system refuses (disk full, file gone) ends the capture.
inline constexpr const char* CaptureWriteFailed =
    "Capture stopped: the received and sent data could not be written to file:\n";

// ---- View menu ---------------------------------------------------------------------------
inline constexpr const char* FullScreen = "F&ull Screen";
inline constexpr const char* ExitFullScreen = "Exit F&ull Screen";
}  // namespace MainText
