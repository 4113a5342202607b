// TRichEdit: the platform's rich edit control (class "RICHEDIT" of RICHED32.DLL unless a
// descendant names another) with lines, selection, change events, search and printing.
#pragma once

// Its text limit is raised at creation: the control's default would cut streamed text
// silently.

#include <richedit.h>

#include <algorithm>

#include "framework/Sets.h"
#include "framework/StringList.h"
#include "framework/gui/RichEditInput.h"
#include "framework/gui/TextControls.h"

class TStream;

// Wine's rich edit ends the rich text it streams out with a zero byte after the closing
// brace, which a file or the clipboard would keep. Rich text has no zero bytes of its own:
// zeros are held back until text follows them, so what is passed on ends with the brace.
class TRichTextZeros {
public:
    // Passes Data on through Write(const char*, int), holding back its trailing zeros.
    template <class TWrite>
    void Pass(const char* Data, int Count, TWrite Write)
    {
        const int text = static_cast<int>(RichTextLength(Data, static_cast<size_t>(Count)));
        if (text > 0) {
            static const char zeros[64] = {};
            for (; held_ > 0; held_ -= std::min(held_, 64)) Write(zeros, std::min(held_, 64));
            Write(Data, text);
        }
        held_ += Count - text;
    }
    // Size less the zero bytes at its end.
    static size_t RichTextLength(const char* Data, size_t Size)
    {
        while (Size > 0 && Data[Size - 1] == '\0') --Size;
        return Size;
    }

private:
    int held_ = 0;
};

enum TSearchType { stWholeWord, stMatchCase };
using TSearchTypes = TSet<TSearchType>;

class TRichEdit : public TCustomEdit {
public:
    explicit TRichEdit(TComponent* AOwner);
    ~TRichEdit() override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    // Lines; LoadFromStream/SaveToStream move RTF (plain text when PlainText).
    TStrings* Lines() { return lines_; }
    bool PlainText = false;
    bool HideSelection = true;
    // Style changes after the window exists make it again (the content is kept).
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool BorderVisible() const { return border_; }  // the sunken edge
    void SetBorderVisible(bool v);

    int SelStart() override;
    void SetSelStart(int v) override;
    int SelLength() override;
    void SetSelLength(int v) override;
    String SelText() override;
    void SetSelText(const String& v) override;

    // Position of SearchStr in [StartPos, StartPos + Length), or -1.
    int FindText(const String& SearchStr, int StartPos, int Length, TSearchTypes Options);
    // Prints the whole text on the printer, one document named Caption.
    void Print(const String& Caption);

    // The whole content streamed in (replacing it) or out, in the format PlainText says.
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);

    TNotifyEvent OnSelectionChange;

    // The window class and the library that registers it; set before the window exists.
    String RichEditClass = "RICHEDIT";
    String RichEditLibrary = "RICHED32.DLL";

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void SelectionChange();

    // EM_STREAMIN / EM_STREAMOUT with the given SF_/SFF_ format, from or to Stream at its
    // position; a stream error (the control's, or the stream's own exception, which never
    // crosses the callback) raises EOutOfResources "Failed to load/save stream.".
    void StreamIn(TStream* Stream, UINT Format);
    void StreamOut(TStream* Stream, UINT Format);

private:
    TStrings* lines_;
    TScrollStyle scrollBars_ = ssBoth;
    bool wordWrap_ = true;
    bool border_ = true;
    String savedRtf_;  // the content kept across a recreated window
    bool hasSaved_ = false;
    TRichEditInput input_;
};
