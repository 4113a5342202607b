// What the user is told when loading or applying settings fails: while the program starts,
// after a dropped profile, after a profile named on the command line. Start-up never ends on
// such a failure; the message names the real cause where one is known.
#pragma once

#include <exception>

#include "framework/Exceptions.h"

// Raised by ApplySettings when its automatic connect failed; carries the port's own text
// ("Error updating DataControlBlock (Error: 87)"), which the user sees unchanged.
class EPortConnectError : public Exception {
public:
    using Exception::Exception;
};

// The text for a failure: a port that would not open speaks for itself; anything else while
// a profile is read is "File type not recognised or corrupt."; anything else while the
// settings file is read shows its own message.
String StartupFailureText(std::exception_ptr Error, bool WhileLoadingProfile);

// An error box with one OK button.
void ReportStartupFailure(const String& Text);
