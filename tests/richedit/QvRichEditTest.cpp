// The editor control under Wine: library start-up and the older library paths, re-creation,
// text modes, selection after replacement, undo levels, attributes on the real control, lines,
// and loads and saves through streams, conversions and files (compared on text and
// attributes, never on RTF bytes, which differ between platforms).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "tests/support/GuiTestSupport.h"
#include "framework/Exceptions.h"
#include "framework/Streams.h"
#include "framework/gui/Form.h"
#include "richedit/QvRichEdit.h"
#include "richedit/RichEditLibrary.h"
#include "richedit/RichEditTexts.h"
#include "tests/support/DialogScript.h"
#include "tests/support/UserActions.h"

namespace {

String ReadFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return String(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::filesystem::path& p, const String& text)
{
    std::ofstream(p, std::ios::binary) << text;
}

// Reads at most ChunkBytes per call, so the test chooses where chunk edges fall.
template <int ChunkBytes>
class TShortReadConversion : public TConversion {
public:
    int ConvertReadStream(TStream* Stream, char* Buffer, int BufSize) override
    {
        return TConversion::ConvertReadStream(Stream, Buffer, std::min(BufSize, ChunkBytes));
    }
};

// Fails its first read (as a converter meeting the wrong format would), then reads plainly.
int failuresLeft = 0;
class TFailOnceConversion : public TConversion {
public:
    int ConvertReadStream(TStream* Stream, char* Buffer, int BufSize) override
    {
        if (failuresLeft > 0) {
            --failuresLeft;
            throw EReadError(String("not this format"));
        }
        return TConversion::ConvertReadStream(Stream, Buffer, BufSize);
    }
    int ConvertWriteStream(TStream* Stream, const char* Buffer, int BufSize) override
    {
        if (failuresLeft > 0) throw EWriteError(String("disk full"));
        return TConversion::ConvertWriteStream(Stream, Buffer, BufSize);
    }
};

class QvRichEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RichEditStartup();
        dir = std::filesystem::temp_directory_path() /
              ("qvrichedit-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(dir);
    }
    void MakeForm()
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 300);
        re = NewEdit();
        form->Show();
        PumpPending();
    }
    void TearDown() override
    {
        form.reset();
        PumpPending();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    TQvRichEdit* NewEdit()
    {
        auto* e = new TQvRichEdit(form.get());
        e->SetParent(form.get());
        e->SetBounds(10, 10, 300, 120);
        return e;
    }
    String Path(const char* name) { return (dir / name).string(); }
    static String ClassOf(TWinControl* c)
    {
        char name[64]{};
        GetClassNameA(c->Handle(), name, sizeof name);
        return name;
    }
    std::filesystem::path dir;
    std::unique_ptr<TForm> form;
    TQvRichEdit* re = nullptr;
};

TEST_F(QvRichEditTest, StartupChoosesVersionThreeUnderWineAndRegistersClipboardFormats)
{
    EXPECT_EQ(RichEditVersion, 3);
    EXPECT_NE(RichEditClipboardFormats.EmbeddedObject, 0u);
    EXPECT_EQ(RichEditClipboardFormats.RichText, RegisterClipboardFormatA("Rich Text Format"));
    EXPECT_NE(RichEditClipboardFormats.RichTextNoObjects, RichEditClipboardFormats.RichText);
    MakeForm();
    EXPECT_EQ(ClassOf(re), "RichEdit20A");
    // A living control keeps its library: the version is locked.
    EXPECT_THROW(OverrideRichEditVersion(1), EInvalidOperation);
    EXPECT_THROW(OverrideRichEditVersion(4), EInvalidOperation);
}

TEST_F(QvRichEditTest, RecreationKeepsTextFormattingAndModified)
{
    MakeForm();
    re->Lines()->SetText("first\r\nsecond");
    re->SetSelection(0, 5, false);
    re->SelAttributes()->SetStyle({fsBold});
    re->SetModified(true);
    re->SetSelectionBar(false);  // makes the window again
    EXPECT_EQ(re->Lines()->Count(), 2);
    EXPECT_EQ(re->Lines()->Get(1), "second");
    EXPECT_TRUE(re->Modified());
    re->SetSelection(1, 2, false);
    EXPECT_TRUE(re->SelAttributes()->Style().Contains(fsBold));
    re->SetModified(false);
    re->SetHideScrollBars(false);
    EXPECT_FALSE(re->Modified());
    EXPECT_EQ(re->Lines()->Get(0), "first");
}

TEST_F(QvRichEditTest, SwitchingPlainTextKeepsTheTextAndDropsTheFormatting)
{
    MakeForm();
    re->Lines()->SetText("one\r\ntwo");
    re->SetSelection(0, 3, false);
    re->SelAttributes()->SetStyle({fsItalic});
    re->SetPlainText(true);
    EXPECT_TRUE(re->PlainText());
    EXPECT_EQ(re->Lines()->Count(), 2);
    EXPECT_EQ(re->Lines()->Get(0), "one");
    TMemoryStream saved;
    re->Lines()->SaveToStream(&saved);
    EXPECT_EQ(saved.DataString().find("\\rtf"), String::npos);  // a plain save now
    re->SetPlainText(false);
    EXPECT_EQ(re->Lines()->Get(1), "two");
}

TEST_F(QvRichEditTest, ReplacedTextIsSelectedWithABreakCountingAsOneCharacter)
{
    MakeForm();
    re->SetText("0123");
    re->SetSelection(1, 3, false);
    re->SetSelText("ab\r\ncd");
    const CHARRANGE sel = re->GetSelection();
    EXPECT_EQ(sel.cpMin, 1);
    EXPECT_EQ(sel.cpMax, 6);  // a, b, the break, c, d
    EXPECT_EQ(re->SelText(), "ab\rcd");

    // The lines insert without selecting what they inserted.
    re->Lines()->Add("tail");
    EXPECT_EQ(re->SelLength(), 0);
}

TEST_F(QvRichEditTest, UndoLimitBelowTwoGivesSingleLevelUndoWithoutUndoableReplacements)
{
    form = std::make_unique<TForm>(nullptr);
    auto* single = NewEdit();
    single->SetUndoLimit(1);
    auto* multi = NewEdit();
    form->Show();
    PumpPending();
    EXPECT_EQ(single->UndoLimit(), 1);
    EXPECT_EQ(multi->UndoLimit(), 100);
    for (TQvRichEdit* e : {single, multi}) {
        e->ClearUndo();
        e->SetSelText("typed");
    }
    EXPECT_EQ(SendMessageA(single->Handle(), EM_CANUNDO, 0, 0), 0);
    EXPECT_NE(SendMessageA(multi->Handle(), EM_CANUNDO, 0, 0), 0);
    multi->Undo();
    EXPECT_EQ(multi->Text(), "");
    EXPECT_TRUE(multi->CanRedo());
}

TEST_F(QvRichEditTest, NameSizeStyleAndCharsetRoundTripOnTheControl)
{
    MakeForm();
    re->SetText("some text");
    re->SetSelection(0, 4, false);
    TQvTextAttributes* a = re->SelAttributes();
    a->SetName("Courier New");
    a->SetSize(14);
    a->SetStyle({fsBold, fsUnderline});
    a->SetCharset(ANSI_CHARSET);
    a->SetOffset(-2);
    EXPECT_EQ(a->Name(), "Courier New");
    EXPECT_EQ(a->Size(), 14);
    EXPECT_EQ(a->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(a->Charset(), ANSI_CHARSET);
    EXPECT_EQ(a->Offset(), -2);
    EXPECT_TRUE(a->ConsistentAttributes().Contains(caBold));
    // Bold alone clears the underline written before.
    a->SetStyle({fsBold});
    EXPECT_EQ(a->Style(), TFontStyles{fsBold});
    // The rest of the text kept its own attributes.
    re->SetSelection(5, 9, false);
    EXPECT_NE(a->Size(), 14);
    EXPECT_TRUE(a->Style().Empty());

    a->SetColor(clRed);
    EXPECT_EQ(a->Color(), clRed);
    a->SetColor(clDefault);
    EXPECT_EQ(a->Color(), clWindowText);
}

TEST_F(QvRichEditTest, DefaultAttributesFollowTheFont)
{
    MakeForm();
    re->Font()->SetName("Courier New");
    re->Font()->SetSize(13);
    re->Font()->SetStyle({fsItalic});
    EXPECT_EQ(re->DefAttributes()->Name(), "Courier New");
    EXPECT_EQ(re->DefAttributes()->Size(), 13);
    EXPECT_EQ(re->DefAttributes()->Style(), TFontStyles{fsItalic});
    re->SetText("typed");
    re->SetSelection(1, 2, false);
    EXPECT_EQ(re->SelAttributes()->Size(), 13);
}

TEST_F(QvRichEditTest, AttributesReadZeroWithoutAWindow)
{
    form = std::make_unique<TForm>(nullptr);
    auto* e = new TQvRichEdit(form.get());
    EXPECT_EQ(e->SelAttributes()->Size(), 0);
    EXPECT_EQ(e->SelAttributes()->Name(), "");
    EXPECT_EQ(e->SelAttributes()->Color(), clBlack);
    EXPECT_EQ(e->SelAttributes()->BackColor(), clWindow);
    EXPECT_TRUE(e->GetSelectionType().Empty());
    EXPECT_EQ(e->WordAtCursor(), "");
    EXPECT_FALSE(e->HandleAllocated());
}

TEST_F(QvRichEditTest, ParagraphNumberingIndentsAndTabStopsTakeEffect)
{
    MakeForm();
    re->SetText("item");
    TQvParaAttributes* p = re->Paragraph();
    p->SetLeftIndent(4);
    p->SetNumbering(nsBullet);
    EXPECT_EQ(p->Numbering(), nsBullet);
    EXPECT_EQ(p->LeftIndent(), 10);
    p->SetNumbering(nsNone);
    EXPECT_EQ(p->LeftIndent(), 0);
    p->SetTab(0, 36);
    EXPECT_EQ(p->TabCount(), 1);
    EXPECT_EQ(p->Tab(0), 36);
    EXPECT_THROW(p->SetTab(32, 1), EListError);
    p->SetAlignment(paCenter);
    EXPECT_EQ(p->Alignment(), paCenter);
    for (TQvNumberingStyle style : {nsPeriod, nsEnclosed, nsSimple, nsParenthesis}) {
        p->SetNumberingStyle(style);
        EXPECT_EQ(p->NumberingStyle(), style);
    }
}

TEST_F(QvRichEditTest, SelectionAndRangeReadersStayInsideTheirBuffers)
{
    MakeForm();
    re->SetText("hello world");
    re->SetSelection(6, 11, false);
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(re->GetSelTextBuf(buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "wor");
    EXPECT_EQ(re->GetSelTextBuf(buffer, 0), 0);
    EXPECT_EQ(re->GetTextRange(6, 11), "world");
    EXPECT_EQ(re->GetTextRange(5, 2), "");
    EXPECT_EQ(re->GetTextRange(3, -1), "");
    EXPECT_EQ(re->GetCaretPos().x, 11);  // from the selection's end
    re->SetSelection(8, 8, false);
    EXPECT_EQ(re->WordAtCursor(), "world");
    EXPECT_EQ(re->GetCharPos(0).y, re->GetCharPos(3).y);
    EXPECT_LT(re->GetCharPos(0).x, re->GetCharPos(3).x);
}

TEST_F(QvRichEditTest, MaxLengthZeroGivesTheLargestLimit)
{
    MakeForm();
    re->SetMaxLength(0);
    EXPECT_EQ(SendMessageA(re->Handle(), EM_GETLIMITTEXT, 0, 0), 0xFFFFFF);
    re->SetMaxLength(5);
    EXPECT_EQ(SendMessageA(re->Handle(), EM_GETLIMITTEXT, 0, 0), 5);
}

TEST_F(QvRichEditTest, LinesCountGetPutInsertAndDelete)
{
    MakeForm();
    EXPECT_EQ(re->Lines()->Count(), 0);
    re->SetText("a\r");
    EXPECT_EQ(re->Lines()->Count(), 1);
    re->Lines()->SetText("one\r\ntwo\r\nthree");
    re->Lines()->Put(1, "TWO");
    re->Lines()->Insert(0, "zero");
    re->Lines()->Delete(2);
    EXPECT_EQ(re->Lines()->Count(), 3);
    EXPECT_EQ(re->Lines()->Text(), "zero\r\none\r\nthree\r\n");
    re->SetWordWrap(false);
    re->Lines()->SetText(String(5000, 'x'));
    EXPECT_EQ(re->Lines()->Get(0).size(), 4096u);
    EXPECT_THROW(re->Lines()->Get(7), EListError);
}

TEST_F(QvRichEditTest, SelectionChangeFiresForTheCaretButNotWhileLinesAreAdded)
{
    MakeForm();
    struct Counter : TObject {
        int changes = 0;
        void Changed(TObject*) { ++changes; }
    } counter;
    re->OnSelectionChange = TNotifyEvent(&counter, &Counter::Changed);
    re->SetText("abc");
    re->SetSelStart(0);
    re->SetFocus();
    counter.changes = 0;
    TypeKey(re, VK_END);
    EXPECT_GT(counter.changes, 0);

    TStringList more;
    more.Add("two");
    more.Add("three");
    counter.changes = 0;
    re->Lines()->AddStrings(&more);
    EXPECT_EQ(counter.changes, 0);
    EXPECT_EQ(re->Lines()->Text(), "abc\r\ntwo\r\nthree\r\n");
    TypeKey(re, VK_HOME);  // the handler is back
    EXPECT_GT(counter.changes, 0);
}

TEST_F(QvRichEditTest, ReadingDirectionFromTheFormReachesTheControlAndMirrorsItsParagraph)
{
    MakeForm();
    re->SetText("abc");
    re->SelectAll();
    re->Paragraph()->SetAlignment(paCenter);
    form->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(re->BiDiMode(), bdRightToLeft);
    EXPECT_TRUE(re->ParentBiDiMode());
    const LONG ex = GetWindowLongA(re->Handle(), GWL_EXSTYLE);
    EXPECT_EQ(ex & (WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT),
              WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT);
    // Alignment (left) again, mirrored for the right-to-left window.
    EXPECT_EQ(re->Paragraph()->Alignment(), paRightJustify);
    form->SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(GetWindowLongA(re->Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING, 0);
    EXPECT_EQ(re->Paragraph()->Alignment(), paLeftJustify);
    // A right-aligned control mirrors to the left; a centred one stays centred.
    for (auto [own, mirrored] :
         {std::pair{taRightJustify, paLeftJustify}, std::pair{taCenter, paCenter}}) {
        re->SetAlignment(own);
        form->SetBiDiMode(bdRightToLeft);
        EXPECT_EQ(re->Paragraph()->Alignment(), mirrored) << own;
        form->SetBiDiMode(bdLeftToRight);
    }
}

// Run only by a ctest entry of its own, in a process with a Chinese system locale
// (tests/richedit/CMakeLists.txt).
class FarEastSystem : public QvRichEditTest {};

TEST_F(FarEastSystem, TheControlsWindowLeavesTheFontsCharsetToTheControl)
{
    ASSERT_EQ(GetACP(), 936u) << "not a Chinese system: LC_CTYPE=zh_CN.UTF-8 is needed";
    form = std::make_unique<TForm>(nullptr);
    re = NewEdit();
    re->Font()->SetCharset(ANSI_CHARSET);
    form->Show();
    EXPECT_EQ(re->Font()->Charset(), DEFAULT_CHARSET);
}

TEST_F(QvRichEditTest, LoneCrAndLfLoadAsBreaksIncludingAtChunkEdges)
{
    TQvCustomRichEdit::RegisterConversionFormat("chunk3", true,
                                                &NewConversion<TShortReadConversion<3>>);
    // Chunks "ab\r" "cd\r" "\nef" "\ngh" "\r": breaks at and across every edge.
    WriteFile(dir / "breaks.chunk3", "ab\rcd\r\nef\ngh\r");
    MakeForm();
    re->Lines()->LoadFromFile(Path("breaks.chunk3"));
    EXPECT_EQ(re->Lines()->Text(), "ab\r\ncd\r\nef\r\ngh\r\n");
    EXPECT_EQ(re->SelStart(), 0);

    TMemoryStream plain;
    plain.WriteString("x\ny\rz");
    plain.SetPosition(0);
    re->SetStreamFormat(sfPlainText);
    re->Lines()->LoadFromStream(&plain);
    EXPECT_EQ(re->Lines()->Count(), 3);
}

TEST_F(QvRichEditTest, FailedLoadRetriesInTheOtherFormatAndKeepsASelectionLoadAnInsert)
{
    TQvCustomRichEdit::RegisterConversionFormat("once", false, &NewConversion<TFailOnceConversion>);
    WriteFile(dir / "insert.once", "INSERTED");
    MakeForm();
    re->SetText("keep");
    re->SetStreamMode({smSelection});
    re->SetSelection(4, 4, false);
    failuresLeft = 1;
    re->Lines()->LoadFromFile(Path("insert.once"));
    EXPECT_EQ(re->Text(), "keepINSERTED");
    EXPECT_NE(re->Lines()->Converter(), nullptr);  // kept for later loads

    // Both attempts failing: the error, and the converter is dropped.
    re->SetStreamMode({});
    failuresLeft = 2;
    try {
        re->Lines()->LoadFromFile(Path("insert.once"));
        ADD_FAILURE() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message, RichEditText::LoadStream);
    }
    EXPECT_EQ(re->Lines()->Converter(), nullptr);
    EXPECT_EQ(re->StreamFormat(), sfDefault);
}

TEST_F(QvRichEditTest, FailedSaveLeavesTheNotesFileAsItWas)
{
    TQvCustomRichEdit::RegisterConversionFormat("fragile", false,
                                                &NewConversion<TFailOnceConversion>);
    WriteFile(dir / "notes.fragile", "old notes");
    MakeForm();
    re->SetText("new notes");
    failuresLeft = 1;
    try {
        re->Lines()->SaveToFile(Path("notes.fragile"));
        ADD_FAILURE() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.Message, RichEditText::SaveStream);
    }
    failuresLeft = 0;
    EXPECT_EQ(ReadFile(dir / "notes.fragile"), "old notes");
    std::size_t files = 0;
    for ([[maybe_unused]] auto& f : std::filesystem::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 1u);  // no temporary file left behind
}

TEST_F(QvRichEditTest, NotesFileSavedAndLoadedKeepsTextAndAttributes)
{
    MakeForm();
    re->SetStreamMode({smNoObjects});
    re->Lines()->SetText("Title line\r\nbody text");
    re->SetSelection(0, 5, false);
    re->SelAttributes()->SetStyle({fsBold});
    re->SelAttributes()->SetSize(16);
    re->SelAttributes()->SetName("Courier New");
    re->Lines()->SaveToFile(Path("notes.rtf"));
    re->Lines()->SaveToFile(Path("notes.TXT"));

    auto* copy = NewEdit();
    copy->SetStreamMode({smNoObjects});
    copy->Lines()->LoadFromFile(Path("notes.rtf"));
    EXPECT_EQ(copy->Lines()->Text(), re->Lines()->Text());
    copy->SetSelection(1, 2, false);
    EXPECT_EQ(copy->SelAttributes()->Style(), TFontStyles{fsBold});
    EXPECT_EQ(copy->SelAttributes()->Size(), 16);
    EXPECT_EQ(copy->SelAttributes()->Name(), "Courier New");
    copy->SetSelection(12, 13, false);
    EXPECT_TRUE(copy->SelAttributes()->Style().Empty());

    // The file ends with the rich text's closing brace: nothing after it.
    const String saved = ReadFile(dir / "notes.rtf");
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(saved.back(), '}');

    // The upper-case extension still finds the plain-text record.
    EXPECT_EQ(ReadFile(dir / "notes.TXT"), "Title line\r\nbody text\r\n");
}

// Wine's own word step to the right over the end of a line leaves its selection on the next
// paragraph with the offsets of this one: on the last line past the end of the text, where the
// next edit (its link detection) or the next step read through a null paragraph.
TEST_F(QvRichEditTest, WordStepsAndDoubleClickedWordsStayOnTheirLine)
{
    MakeForm();
    ASSERT_TRUE(re->AutoURLDetect());
    re->SetFocus();
    re->SetText("first line\r\nhello world");
    // The line break is one position.
    const int end = 22;
    HWND h = re->Handle();
    auto ctrlRight = [&] {
        qv::test::TCtrlHeld ctrl;
        SendMessageA(h, WM_KEYDOWN, VK_RIGHT, 1);
        SendMessageA(h, WM_KEYUP, VK_RIGHT, 0xC0000001);
    };
    re->SetSelection(end - 3, end - 3, false);
    for (int i = 0; i < 3; ++i) ctrlRight();
    EXPECT_EQ(re->SelStart(), end);
    EXPECT_EQ(re->SelLength(), 0);
    re->SetSelection(7, 7, false);
    ctrlRight();
    ctrlRight();
    EXPECT_EQ(re->SelStart(), 11) << "the start of the next line";

    auto doubleClick = [&](int Position) {
        const TPoint p = re->GetCharPos(Position);
        const LPARAM at = MAKELPARAM(p.x + 2, p.y + 3);
        SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(h, WM_LBUTTONUP, 0, at);
        SendMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageA(h, WM_LBUTTONUP, 0, at);
    };
    doubleClick(8);
    EXPECT_EQ(re->SelText(), "line");
    doubleClick(1);
    EXPECT_EQ(re->SelText(), "first ");
    doubleClick(end - 2);
    EXPECT_EQ(re->SelText(), "world");
    SendMessageA(h, WM_KEYDOWN, VK_DELETE, 1);
    SendMessageA(h, WM_KEYUP, VK_DELETE, 0xC0000001);
    EXPECT_EQ(re->Text(), "first line\r\nhello ");
}

TEST_F(QvRichEditTest, UnicodeAndOemTextLoadWithTheirLineBreaks)
{
    MakeForm();
    re->SetStreamFormat(sfPlainText);
    re->SetStreamMode({smUnicode});
    const char16_t wide[] = u"a\nb\rc";
    TMemoryStream unicode;
    unicode.WriteBuffer(wide, sizeof wide - sizeof(char16_t));
    unicode.SetPosition(0);
    re->Lines()->LoadFromStream(&unicode);
    EXPECT_EQ(re->Lines()->Text(), "a\r\nb\r\nc\r\n");

    re->SetStreamMode({});
    re->SetStreamFormat(sfDefault);
    TQvCustomRichEdit::RegisterConversionFormat("oem", true, &NewConversion<TOEMConversion>);
    WriteFile(dir / "dos.oem", "gr\x81n\r\n");  // u-umlaut in the OEM code page
    re->Lines()->LoadFromFile(Path("dos.oem"));
    EXPECT_EQ(re->Lines()->Get(0), "gr\xFCn");
    re->Lines()->SaveToFile(Path("back.oem"));
    EXPECT_EQ(ReadFile(dir / "back.oem"), "gr\x81n\r\n");
}

class QvRichEditOlderLibraryTest : public QvRichEditTest {};

TEST_F(QvRichEditOlderLibraryTest, VersionOneUsesRicheditClassCrLfLinesAndBulletsOnly)
{
    OverrideRichEditVersion(1);
    MakeForm();
    EXPECT_EQ(ClassOf(re), "RICHEDIT");
    re->Lines()->Add("one");
    re->Lines()->Add("two");
    EXPECT_EQ(re->Text(), "one\r\ntwo\r\n");
    EXPECT_EQ(re->Lines()->Get(1), "two");
    re->SetSelection(0, 0, false);
    re->SetSelText("x\r\ny");
    EXPECT_EQ(re->GetSelection().cpMax, 4);  // a break is two positions here
    re->Paragraph()->SetNumbering(nsArabicNumbers);
    EXPECT_EQ(re->Paragraph()->Numbering(), nsBullet);
    EXPECT_FALSE(re->CanRedo());
    EXPECT_EQ(re->UndoName(), unUnknown);
    re->SelAttributes()->SetLink(true);
    EXPECT_FALSE(re->SelAttributes()->Link());
    re->SetModified(true);
    re->SetSelectionBar(false);
    EXPECT_TRUE(re->Modified());
    EXPECT_EQ(re->Lines()->Get(0), "x");

    // Searches only go down: the dialog hides the direction buttons.
    TDialogScript script;
    TFindDialog* dialog = re->FindDialog("two");
    EXPECT_TRUE(dialog->Options.Contains(frHideUpDown));
    EXPECT_TRUE(dialog->Options.Contains(frDown));
    EXPECT_GE(re->FindText("one", 0, re->GetTextLen(), {TRichSearchType::stBackward}), 0);
}

TEST_F(QvRichEditOlderLibraryTest, VersionTwoUsesTheNewerClassAndPackedCharPositions)
{
    OverrideRichEditVersion(2);
    MakeForm();
    EXPECT_EQ(ClassOf(re), "RichEdit20A");
    re->SetText("abc def");
    const TPoint first = re->GetCharPos(0), later = re->GetCharPos(4);
    EXPECT_LT(first.x, later.x);
    EXPECT_EQ(first.y, later.y);
    EXPECT_EQ(re->Paragraph()->HeadingStyle(), 0);
}

}  // namespace
