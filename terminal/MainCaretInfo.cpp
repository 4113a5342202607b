// The cursor inspector: on every selection change of the receive screen (and after every
// shortened rebuild) the position text and the byte under a one-byte selection, for status bar
// panels 1 and 3.
#include <richedit.h>

#include <algorithm>
#include <memory>

#include "terminal/CaretInfo.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"

namespace {

constexpr int SelTextBufferSize = 68096;

// The selected text, read piece by piece into a buffer of SelTextBufferSize: a whole-screen
// selection is far longer than the buffer. A piece spans at most half the buffer's positions, so
// even a control that wrote two characters for every position it counts stays inside it.
void ReadSelectedText(HWND Screen, TScreenSelection& S)
{
    if (S.SelMin >= S.SelMax) return;
    const std::unique_ptr<char[]> buffer(new char[SelTextBufferSize]);
    constexpr std::int32_t PiecePositions = (SelTextBufferSize - 1) / 2;
    for (std::int32_t from = S.SelMin; from < S.SelMax;) {
        const std::int32_t to = std::min(S.SelMax, from + PiecePositions);
        TEXTRANGEA range{{from, to}, buffer.get()};
        const auto got = static_cast<std::int32_t>(
            SendMessageA(Screen, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
        if (got <= 0) break;
        const char* text = buffer.get();
        if (S.Copied == 0) S.First = text[0];
        S.Last = text[got - 1];
        S.Copied += got;
        S.LineBreaks += static_cast<std::int32_t>(
            std::count_if(text, text + got, [](char c) { return c == '\r' || c == '\n'; }));
        from = to;
    }
}

}  // namespace

void TForm1::reScreenSelectionChange(TObject* Sender)
{
    RepaintGutter();
    HWND screen = reScreen->Handle();
    CHARRANGE range{};
    SendMessageA(screen, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    Label1->SetCaption("Min:" + IntToStr(range.cpMin) + " Max:" + IntToStr(range.cpMax));

    TScreenSelection selection;
    selection.SelMin = range.cpMin;
    selection.SelMax = range.cpMax;
    ReadSelectedText(screen, selection);
    if (selection.Copied == 0 && range.cpMax > range.cpMin) return;
    Label1->SetCaption("Copied:" + IntToStr(selection.Copied));

    const std::int32_t probe = CaretProbe(range.cpMin, range.cpMax);
    selection.Line0 = static_cast<std::int32_t>(SendMessageA(screen, EM_EXLINEFROMCHAR, 0, probe));
    selection.LineStart = static_cast<std::int32_t>(
        SendMessageA(screen, EM_LINEINDEX, static_cast<WPARAM>(selection.Line0), 0));

    Display.CaretInfoText = CaretInfoFor(selection, Display.TextMode());
    Display.ByteInfoText =
        ByteInfoFor(ByteUnderSelection(selection, Display.TextMode(), Display.DisplayRecords,
                                       DisplayRecordCapacity),
                    Display.TextMode());
}
