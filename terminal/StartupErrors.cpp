// The messages for failures while settings are loaded or applied.
#include "terminal/StartupErrors.h"

#include "framework/gui/DialogService.h"
#include "terminal/MainTexts.h"

String StartupFailureText(std::exception_ptr Error, bool WhileLoadingProfile)
{
    try {
        std::rethrow_exception(Error);
    } catch (EPortConnectError& e) {
        return e.Message;
    } catch (Exception& e) {
        return WhileLoadingProfile ? String(MainText::ProfileCorrupt) : e.Message;
    } catch (std::exception& e) {
        return WhileLoadingProfile ? String(MainText::ProfileCorrupt) : String(e.what());
    } catch (...) {
        return MainText::ProfileCorrupt;
    }
}

void ReportStartupFailure(const String& Text) { MessageDlg(Text, mtError, TMsgDlgButtons{mbOK}); }
