// The receive path's user-visible texts (overload stops and a failed screen update), exact to
// the byte. Tests compare against these.
#pragma once

namespace ReceiveText {
inline constexpr const char* ProcessingDelays = "Error - unable to process data because of delays.";
inline constexpr const char* RecordsDelayed =
    "Error (RTD) - processing delayed.\nDisconnected to prevent overflow.";
inline constexpr const char* UpdateFailed = "Error Updating Screen";
}  // namespace ReceiveText
