// The main window's Win32-side shared state and the unit start-up that builds it.
#include "terminal/WindowGlobals.h"

#include "framework/Streams.h"
#include "terminal/MainGlobals.h"

String ModeChangeQuestion;
TMemoryStream* PendingRtf = nullptr;
TMemoryStream* WorkRtf = nullptr;
TFileStream* CaptureFile = nullptr;
bool CtrlCharMenuUsed = false;
TFileStream* SendFile = nullptr;
std::uint64_t SendSerial = 0;
bool EntryPaneHidden = false;
double ConnectTime = 0;
bool PortOpen = false;
std::int32_t ConnectToggle = 0;
String StatusMessageText;
String CaretInfoText;
String ByteInfoText;
String CommErrorText;
std::int32_t CommErrorTicks = 0;
std::uint8_t EntrySendBuffer[EntrySendBufferSize];

void InitMainGlobals()
{
    static bool done = false;
    if (done) return;
    done = true;
    ModeChangeQuestion = "Changing to this mode will reset the communication\nbuffers and clear "
                         "the screen. Are you sure you want \nto continue?";
    // The header and the colour prefixes are built with their globals (MainGlobals.cpp).
    PendingRtf = new TMemoryStream;  // live for the whole run
    WorkRtf = new TMemoryStream;
    ConnectTime = 0;
    StatusMessageText.clear();
    CaretInfoText.clear();
    ByteInfoText.clear();
}
