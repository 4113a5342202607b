// The screen rich edit control: streaming through EM_STREAMIN/EM_STREAMOUT and the vertical
// scroll notification from both of its paths.
#include "controls/RichEditP.h"

#include <memory>

#include <richedit.h>

#include "framework/Exceptions.h"
#include "framework/gui/DialogService.h"

namespace {

// The unit's user-visible text; the stream errors' texts are the rich edit's own.
constexpr const char* AlignmentProperty = "Alignment";

constexpr UINT SfText = 1, SfRtf = 2, SfRtfNoObjs = 3, SfTextized = 4;
constexpr UINT SffPlainRtf = 0x4000, SffSelection = 0x8000;
constexpr UINT EnVScroll = 0x602;
constexpr LPARAM EnmScroll = 4;

}  // namespace

TRichEditP::TRichEditP(TComponent* AOwner) : TRichEdit(AOwner) {}

void TRichEditP::CreateWnd()
{
    TRichEdit::CreateWnd();
    // EN_VSCROLL reaches the parent only with ENM_SCROLL in the mask; a recreated window
    // starts without it, so it is set on every creation.
    const LRESULT mask = SendMessageA(Handle(), EM_GETEVENTMASK, 0, 0);
    SendMessageA(Handle(), EM_SETEVENTMASK, 0, mask | EnmScroll);
}

void TRichEditP::PasteFromStream(TStream* Stream, bool Selection, bool PlainText, bool PlainRtf)
{
    UINT format = PlainText ? SfText : SfRtf;
    if (Selection) format |= SffSelection;
    if (PlainRtf) format |= SffPlainRtf;
    StreamIn(Stream, format);
}

void TRichEditP::CopyToStream(TStream* Stream, bool Selection, bool PlainText, bool NoObjects,
                              bool PlainRtf)
{
    UINT format;
    if (PlainText)
        format = NoObjects ? SfText : SfTextized;
    else
        format = NoObjects ? SfRtfNoObjs : SfRtf;
    if (Selection) format |= SffSelection;
    if (PlainRtf) format |= SffPlainRtf;
    StreamOut(Stream, format);
}

void TRichEditP::CopyRtfTo(TRichEditP& Dest, bool Selection, bool ReplaceSelection)
{
    auto stream = std::make_unique<TMemoryStream>();
    CopyToStream(stream.get(), Selection, false, false, false);
    stream->SetPosition(0);
    Dest.PasteFromStream(stream.get(), ReplaceSelection, false, false);
}

String TRichEditP::GetRtf(bool Selection)
{
    auto stream = std::make_unique<TMemoryStream>();
    CopyToStream(stream.get(), Selection, false, false, false);
    return stream->DataString();
}

void TRichEditP::PutRtf(const String& Rtf, bool Selection)
{
    auto stream = std::make_unique<TMemoryStream>();
    // The text and its terminating NUL, as the control has always been given it.
    stream->WriteBuffer(Rtf.c_str(), static_cast<int>(Rtf.size()) + 1);
    stream->SetPosition(0);
    PasteFromStream(stream.get(), Selection, false, false);
}

void TRichEditP::SetAlignment(TAlignment) { ShowMessage(AlignmentProperty); }

void TRichEditP::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_VSCROLL: WMVScroll(m); return;
    case CN_COMMAND: CNCommand(m); return;
    default: TRichEdit::Dispatch(m); return;
    }
}

void TRichEditP::WMVScroll(TMessage& m)
{
    TRichEdit::Dispatch(m);
    if (OnVertScroll) OnVertScroll(this);
}

void TRichEditP::CNCommand(TMessage& m)
{
    TRichEdit::Dispatch(m);
    if (HIWORD(m.WParam) == EnVScroll && OnVertScroll) OnVertScroll(this);
}
