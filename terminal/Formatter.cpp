// The display formatter FormatToRtf with its companions FormatHexCell and ExpandTab.
// It runs for every received block and every echoed key, so the state is copied into a local
// run record for the call (char stores could alias the globals and keep them out of registers)
// and written back before anything outside is called and at the end.
#include "terminal/Formatter.h"

#include <array>
#include <cstring>

#include "settings/Settings.h"
#include "terminal/MainGlobals.h"

TFormatterHost* FormatterHost = nullptr;

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

// What a byte turns into in the current mode.
enum TByteClass : std::uint8_t { Plain, Escaped, HexCell, Dropped, Tab, CarriageReturn, LineFeed };

// A byte as it appears on a line it fits on: its characters, screen columns and records. Bytes
// of the first three classes take the common path straight from this table (no branch on the
// class: received binary in Mixed mode switches between text and cells at random).
struct TItem {
    char Bytes[4];
    std::uint8_t Length;
    std::uint8_t Width;
    bool Hex;
    TByteClass Class;
};

struct TModeTable {
    TItem Items[256];
    std::uint32_t Records[256][4];
};

// escapes: DisplayMode is not 2; hexAll: DisplayMode is 2; text: DisplayMode is 0.
constexpr TModeTable BuildModeTable(bool text, bool hexAll)
{
    TModeTable t{};
    for (int b = 0; b < 256; ++b) {
        TItem& it = t.Items[b];
        std::uint32_t* rec = t.Records[b];
        const auto byte = std::uint8_t(b);
        it.Class = Plain;
        if (!hexAll && (b == '\\' || b == '{' || b == '}'))
            it.Class = Escaped;
        else if (!text && (hexAll || b < 0x20 || b >= 0x7F))
            it.Class = HexCell;
        else if (text && b == 0)
            it.Class = Dropped;
        else if (text && b == 9)
            it.Class = Tab;
        else if (text && b == 13)
            it.Class = CarriageReturn;
        else if (text && b == 10)
            it.Class = LineFeed;
        if (it.Class == HexCell) {
            it.Bytes[0] = '<';
            it.Bytes[1] = HexDigits[b >> 4];
            it.Bytes[2] = HexDigits[b & 15];
            it.Bytes[3] = '>';
            it.Length = 4;
            it.Width = 4;
            it.Hex = true;
            rec[0] = DisplayRecord(RecordHexCell, '<');
            rec[1] = rec[2] = DisplayRecord(RecordHexCell, byte);
            rec[3] = DisplayRecord(RecordHexCell, '>');
        } else if (it.Class == Escaped) {
            it.Bytes[0] = '\\';
            it.Bytes[1] = char(b);
            it.Length = 2;
            it.Width = 1;
            rec[0] = DisplayRecord(RecordContinues, byte);
        } else if (it.Class == Plain) {
            it.Bytes[0] = char(b);
            it.Length = 1;
            it.Width = 1;
            rec[0] = DisplayRecord(RecordContinues, byte);
        }
    }
    return t;
}

constexpr TModeTable TextTable = BuildModeTable(true, false);
constexpr TModeTable MixedTable = BuildModeTable(false, false);
constexpr TModeTable HexTable = BuildModeTable(false, true);

struct TFormatRun {
    char* Out;
    std::size_t Pos;
    std::uint32_t RecordCount;
    std::uint32_t Column;
    std::uint32_t LineWidth;
    std::int32_t Colour;
    char TextDigit;
    char HexDigit;
    bool CrFlag;
    bool LfFlag;
    bool Text;
    std::int32_t TabBlanks;
    std::uint32_t NewLines;

    void AddRecord(std::uint32_t kind, std::uint8_t held)
    {
        Display.DisplayRecords[RecordCount++] = DisplayRecord(kind, held);
    }

    void PutColourWord(char digit)
    {
        Out[Pos] = '\\';
        Out[Pos + 1] = 'c';
        Out[Pos + 2] = 'f';
        Out[Pos + 3] = digit;
        Out[Pos + 4] = ' ';
        Pos += 5;
        Colour = digit;
    }

    void PutLineBreak(char digit)
    {
        std::memcpy(Out + Pos, RtfLineBreakHead, 8);
        Out[Pos + 8] = digit;
        Out[Pos + 9] = ' ';
        Pos += RtfLineBreakLength;
        Colour = digit;
    }

    void PutItem(std::uint8_t b, bool escaped)
    {
        if (escaped) Out[Pos++] = '\\';
        Out[Pos++] = char(b);
    }

    // The character rule: one screen column for a character or an escaped pair.
    void PutCharacter(std::uint8_t b, bool escaped)
    {
        if (Column >= LineWidth) {
            PutLineBreak(TextDigit);
            PutItem(b, escaped);
            AddRecord(RecordNewLine, b);
            Column = 1;
            if (Text && b == 10 && (CrFlag || LfFlag)) Column = 0;
        } else {
            if (Colour != TextDigit) PutColourWord(TextDigit);
            PutItem(b, escaped);
            AddRecord(RecordContinues, b);
            ++Column;
        }
    }

    void PutCellCharacter(char c, std::uint8_t held)
    {
        if (Column >= LineWidth) {
            PutLineBreak(HexDigit);
            Out[Pos++] = c;
            AddRecord(RecordNewLine, held);
            Column = 1;
        } else {
            Out[Pos++] = c;
            AddRecord(RecordHexCell, held);
            ++Column;
        }
    }

    void WriteBack() const
    {
        Display.ScreenColumn = Column;
        Display.CurrentColour = Colour;
        Display.DisplayRecordCount = RecordCount;
    }
};

// A CR or LF cell whose newline flag is set ends the line, in every mode.
inline void EndLineAfterCell(TFormatRun& r, std::uint8_t b)
{
    if ((b == 13 && r.CrFlag) || (b == 10 && r.LfFlag)) {
        r.Column = r.LineWidth;
        r.Colour = -1;
    }
}

// "\cf", digit, blank, and three bytes of padding, for one fixed-size store.
inline std::uint64_t ColourWord(char digit)
{
    const char word[8] = {'\\', 'c', 'f', digit, ' ', 0, 0, 0};
    std::uint64_t w;
    std::memcpy(&w, word, 8);
    return w;
}

// "<", two hex digits, ">", each under the wrap rule, so a cell may be split over two lines.
// (A cell that fits on its line never comes here: the main loop writes it from the table.)
inline void FormatHexCell(TFormatRun& r, std::uint8_t b)
{
    const char high = HexDigits[b >> 4], low = HexDigits[b & 15];
    if (r.Column >= r.LineWidth && r.LineWidth >= 4) {
        // A cell that starts the next line whole (the usual case after a CR or LF cell).
        r.PutLineBreak(r.HexDigit);
        r.Out[r.Pos] = '<';
        r.Out[r.Pos + 1] = high;
        r.Out[r.Pos + 2] = low;
        r.Out[r.Pos + 3] = '>';
        r.Pos += 4;
        std::uint32_t* rec = Display.DisplayRecords + r.RecordCount;
        rec[0] = DisplayRecord(RecordNewLine, '<');
        rec[1] = rec[2] = DisplayRecord(RecordHexCell, b);
        rec[3] = DisplayRecord(RecordHexCell, '>');
        r.RecordCount += 4;
        r.Column = 4;
    } else {
        r.PutCellCharacter('<', '<');
        r.PutCellCharacter(high, b);
        r.PutCellCharacter(low, b);
        r.PutCellCharacter('>', '>');
    }
    EndLineAfterCell(r, b);
}

// The blanks of a tab, without a colour word of their own.
inline void ExpandTab(TFormatRun& r)
{
    for (std::int32_t i = 0; i < r.TabBlanks; ++i) {
        if (r.Column >= r.LineWidth) {
            r.PutLineBreak(r.TextDigit);
            r.Out[r.Pos++] = ' ';
            r.AddRecord(RecordNewLine, ' ');
            r.Column = 1;
        } else {
            r.Out[r.Pos++] = ' ';
            r.AddRecord(RecordContinues, ' ');
            ++r.Column;
        }
    }
}

}  // namespace

std::uint32_t FormatToRtf(TObject* Sender, const std::uint8_t* Input, char* Output,
                          std::size_t OutputSize, std::uint8_t Direction, std::uint32_t Count,
                          std::uint32_t* BytesTaken, std::uint32_t* NewLines)
{
    TFormatRun r;
    r.Out = Output;
    r.Pos = 0;
    r.CrFlag = Settings.NewLineOnCR;
    r.LfFlag = Settings.NewLineOnLF;
    if (Direction == 1) {
        r.TextDigit = '0';
        r.HexDigit = '1';
        Display.BytesOut += Count;
    } else {
        r.TextDigit = '2';
        r.HexDigit = '3';
    }
    r.Text = Display.TextMode();
    if (r.Text) Display.DisplayRecordCount = 0;
    r.RecordCount = Display.DisplayRecordCount;
    r.Column = Display.ScreenColumn;
    r.LineWidth = Display.CharsPerLine;
    r.Colour = Display.CurrentColour;
    r.NewLines = 0;
    // SpacesForTab comes from the settings file unchecked. 0 means no blanks; a negative value
    // is taken as 0, and the bound keeps a tab's records within the table's reserve above the
    // stop threshold and its bytes within the worst case reserved per input byte.
    const std::int32_t spaces = Settings.SpacesForTab;
    r.TabBlanks = spaces < 0 ? 0 : spaces > MaxTabBlanks ? MaxTabBlanks : spaces;
    static_assert(RecordStopThreshold + MaxTabBlanks < DisplayRecordCapacity);

    const TModeTable& table =
        r.Text ? TextTable : (Display.DisplayMode == 2 ? HexTable : MixedTable);
    const std::uint64_t textWord = ColourWord(r.TextDigit), hexWord = ColourWord(r.HexDigit);

    // Input is taken only while the worst case of one more byte, and the NUL, still fit.
    std::size_t worst =
        5 + 4 * (RtfLineBreakLength + 1);  // colour word, cell split at every character
    if (r.Text && std::size_t(r.TabBlanks) * (RtfLineBreakLength + 1) > worst)
        worst = std::size_t(r.TabBlanks) * (RtfLineBreakLength + 1);

    std::uint32_t i = 0;
    for (; i < Count; ++i) {
        if (r.RecordCount > RecordStopThreshold) {
            r.WriteBack();
            if (FormatterHost)
                FormatterHost->StopForOverflow(Sender, FormatterText::ProcessingDelayed);
            if (OutputSize > 0) Output[0] = '\0';
            if (BytesTaken) *BytesTaken = Count;
            if (NewLines) *NewLines = r.NewLines;
            return 0;
        }
        if (r.Pos + worst >= OutputSize) break;

        const std::uint8_t b = Input[i];
        const TItem& it = table.Items[b];
        if (it.Class <= HexCell && r.Column < r.LineWidth && r.LineWidth - r.Column >= it.Width) {
            // Fits on the line: colour word when the colour changes, the item, its records. The
            // stores are of fixed size (the room reserved per byte and per record covers them);
            // only the advances depend on the byte.
            const char digit = it.Hex ? r.HexDigit : r.TextDigit;
            const std::uint64_t word = it.Hex ? hexWord : textWord;
            std::memcpy(r.Out + r.Pos, &word, 8);
            r.Pos += r.Colour != digit ? 5 : 0;
            r.Colour = digit;
            std::memcpy(r.Out + r.Pos, it.Bytes, 4);
            r.Pos += it.Length;
            std::memcpy(Display.DisplayRecords + r.RecordCount, table.Records[b],
                        sizeof table.Records[b]);
            r.RecordCount += it.Width;
            r.Column += it.Width;
            if ((b == 13 || b == 10) && it.Hex) [[unlikely]]
                EndLineAfterCell(r, b);
            continue;
        }
        switch (it.Class) {
        case Plain: r.PutCharacter(b, false); break;
        case Escaped: r.PutCharacter(b, true); break;
        case HexCell:
            if (r.Colour != r.HexDigit) r.PutColourWord(r.HexDigit);
            FormatHexCell(r, b);
            break;
        case Dropped: break;
        case Tab: ExpandTab(r); break;
        case CarriageReturn:
            if (r.CrFlag) {
                r.Column = r.LineWidth;
                ++r.NewLines;
            }
            // A CR is written as a line feed byte, even when it ends no line.
            r.PutCharacter(10, false);
            break;
        case LineFeed:
            if (r.LfFlag) {
                r.Column = r.LineWidth;
                ++r.NewLines;
            }
            r.PutCharacter(10, false);
            break;
        }
    }

    if (OutputSize > 0) Output[r.Pos] = '\0';
    r.WriteBack();
    if (i < Count && Direction == 1)
        Display.BytesOut -= Count - i;  // the rest is counted when it comes again
    if (BytesTaken) *BytesTaken = i;
    if (NewLines) *NewLines = r.NewLines;
    return std::uint32_t(r.Pos);
}
