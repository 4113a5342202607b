// TRichEditP: the screen rich edit control. A rich edit that tells its owner when its view
// scrolls vertically (OnVertScroll) and moves RTF or plain text between itself and any stream.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "framework/gui/RichEdit.h"
#include "framework/Streams.h"

using TDropFilesEvent = TClosure<void(HDROP Drop)>;

class TRichEditP : public TRichEdit {
public:
    explicit TRichEditP(TComponent* AOwner);

    // Streams Stream (from its position) into the control: RTF, or plain text; with Selection
    // it replaces the selection (inserts at the caret), otherwise the whole content.
    // EOutOfResources "Failed to load stream." when the control reports a stream error.
    void PasteFromStream(TStream* Stream, bool Selection, bool PlainText, bool PlainRtf);
    // Writes the content (or the selection) at Stream's position.
    // EOutOfResources "Failed to save stream." when the control reports a stream error.
    void CopyToStream(TStream* Stream, bool Selection, bool PlainText, bool NoObjects,
                      bool PlainRtf);
    void CopyRtfTo(TRichEditP& Dest, bool Selection, bool ReplaceSelection);
    String GetRtf(bool Selection);
    void PutRtf(const String& Rtf, bool Selection);

    // Kept as it always was: it only shows "Alignment" and changes nothing.
    void SetAlignment(TAlignment Value);

    // Fired with this control as Sender for a scroll-bar scroll and for the control's own
    // EN_VSCROLL; one movement may fire it more than once.
    TNotifyEvent OnVertScroll;

    // False: the control never erases its background (a screen that paints its whole area
    // itself only flickers when erased first).
    bool EraseBackground = true;
    // Files dropped on the control (which must accept files: DragAcceptFiles). The handler
    // owns the drop handle and gives it back with DragFinish. Unassigned: the control's own
    // handling.
    TDropFilesEvent OnDropFiles;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateWnd() override;

private:
    void WMVScroll(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMDropFiles(TMessage& Message);
    void CNCommand(TMessage& Message);
};
