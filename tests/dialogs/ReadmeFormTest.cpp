// The user notes editor from the main window: the notes file next to the program loaded on
// each showing (formatting kept through save, close and show), Save enabled exactly while
// modified, a file that cannot be written reported and the text kept modified, the Ctrl
// shortcuts that never type control bytes, closing dropping unsaved changes, links through
// the shell seam.
#include <fstream>
#include <iterator>
#include <vector>

#include "DialogsFixture.h"
#include "dialogs/ReadmeForm.h"
#include "dialogs/ShellCalls.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/UserActions.h"

namespace dialogs_test {
namespace {

class ReadmeFormTest : public DialogsTest {
protected:
    void SetUp() override
    {
        DialogsTest::SetUp();
        Application->CreateForm(ReadmeForm);
        notes = ReadmeForm->RichEdit_readme;
    }
    void TearDown() override
    {
        SetFileAttributesA(InFolder("notes.rtf").c_str(), FILE_ATTRIBUTE_NORMAL);
        DialogsTest::TearDown();
    }
    void Type(char Key) { SendMessageA(notes->Handle(), WM_CHAR, static_cast<BYTE>(Key), 1); }
    // Ctrl+letter as typed: the key going down with Ctrl held, then its control character.
    void CtrlType(char Letter)
    {
        CtrlKey(notes, static_cast<WORD>(Letter));
        SendMessageA(notes->Handle(), WM_CHAR, static_cast<WPARAM>(Letter - 'A' + 1), 1);
    }
    void ShowNotes()
    {
        Form1->Readme_sbtnClick(Form1->Readme_sbtn);
        ASSERT_TRUE(ReadmeForm->Visible());
    }
    static std::string FileText(const std::string& Path)
    {
        std::ifstream in(Path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    TQvRichEdit* notes = nullptr;
};

TEST_F(ReadmeFormTest, SavedNotesKeepTheirFormattingThroughCloseAndShow)
{
    ShowNotes();
    ASSERT_EQ(script.Shown().size(), 1u);  // no notes file yet
    EXPECT_EQ(script.Last().Caption, "Error loading Notes.rtf");
    EXPECT_EQ(script.Last().Text, "Could not find file or it is being used by another program.");
    EXPECT_EQ(notes->Text(), "");

    notes->SetFocus();
    for (char c : std::string("plain ")) Type(c);
    CtrlType('B');
    for (char c : std::string("bold")) Type(c);
    EXPECT_TRUE(ReadmeForm->sbtnBold->Down());
    EXPECT_TRUE(ReadmeForm->sbtnSave->Enabled());
    CtrlType('S');
    EXPECT_FALSE(ReadmeForm->sbtnSave->Enabled());
    EXPECT_FALSE(notes->Modified());

    ReadmeForm->sbtnCloseClick(ReadmeForm->sbtnClose);
    EXPECT_FALSE(ReadmeForm->Visible());
    notes->SetText("");
    ShowNotes();
    EXPECT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(notes->Text(), "plain bold");
    notes->SetSelStart(7);
    notes->SetSelLength(2);
    EXPECT_TRUE(notes->SelAttributes()->Style().Contains(fsBold));
    notes->SetSelStart(1);
    notes->SetSelLength(2);
    EXPECT_FALSE(notes->SelAttributes()->Style().Contains(fsBold));
    EXPECT_FALSE(ReadmeForm->sbtnSave->Enabled());
    EXPECT_EQ(ReadmeForm->ClientWidth(), 512);
    EXPECT_EQ(ReadmeForm->ClientHeight(), 400);
}

TEST_F(ReadmeFormTest, CtrlShortcutsToggleTheStylesAndTypeNoControlBytes)
{
    WriteTextFile(InFolder("notes.rtf"), "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 x}");
    ShowNotes();
    notes->SetSelStart(1);
    for (char letter : {'B', 'I', 'U'}) CtrlType(letter);
    EXPECT_TRUE(ReadmeForm->sbtnBold->Down());
    EXPECT_TRUE(ReadmeForm->sbtnItalics->Down());
    EXPECT_TRUE(ReadmeForm->sbtnUnderline->Down());
    CtrlType('B');
    EXPECT_FALSE(ReadmeForm->sbtnBold->Down());
    Type('y');
    EXPECT_EQ(notes->Text(), "xy");
    notes->SetSelStart(1);
    notes->SetSelLength(1);
    const TFontStyles typed = notes->SelAttributes()->Style();
    EXPECT_FALSE(typed.Contains(fsBold));
    EXPECT_TRUE(typed.Contains(fsItalic));
    EXPECT_TRUE(typed.Contains(fsUnderline));
}

TEST_F(ReadmeFormTest, CtrlBracketsStepTheSizeFromTheSizeOfTheSelection)
{
    WriteTextFile(InFolder("notes.rtf"), "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs40 text}");
    ShowNotes();
    notes->SelectAll();
    ASSERT_EQ(ReadmeForm->FontSize->Text(), "20");
    // Ctrl+] and Ctrl+[ as typed: the bracket key down with Ctrl, then its control character.
    CtrlKey(notes, VK_OEM_6);
    SendMessageA(notes->Handle(), WM_CHAR, 29, 1);
    EXPECT_EQ(ReadmeForm->FontSize->Text(), "21");
    EXPECT_EQ(notes->SelAttributes()->Size(), 21);
    for (int i = 0; i < 2; ++i) {
        CtrlKey(notes, VK_OEM_4);
        SendMessageA(notes->Handle(), WM_CHAR, 27, 1);
    }
    EXPECT_EQ(notes->SelAttributes()->Size(), 19);
    EXPECT_EQ(notes->Text(), "text");
}

// Wine's control shows a debugging box ("Style dump") for Ctrl+W: the editor never gives it
// the key.
TEST_F(ReadmeFormTest, CtrlWOpensNoBoxAndTypesNothing)
{
    WriteTextFile(InFolder("notes.rtf"), "{\\rtf1\\ansi x}");
    ShowNotes();
    qv::test::TStrayBoxes boxes;
    CtrlType('W');
    EXPECT_EQ(boxes.Captions(), std::vector<std::string>{});
    EXPECT_EQ(notes->Text(), "x");
}

TEST_F(ReadmeFormTest, AFileThatCannotBeWrittenIsReportedAndTheNotesStayModified)
{
    WriteTextFile(InFolder("notes.rtf"), "{\\rtf1\\ansi kept}");
    ShowNotes();
    EXPECT_FALSE(ReadmeForm->sbtnSave->Enabled());
    Type('!');
    EXPECT_TRUE(ReadmeForm->sbtnSave->Enabled());

    ASSERT_TRUE(SetFileAttributesA(InFolder("notes.rtf").c_str(), FILE_ATTRIBUTE_READONLY));
    ReadmeForm->sbtnSaveClick(ReadmeForm->sbtnSave);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Caption, "Error writing to Notes.rtf");
    EXPECT_TRUE(notes->Modified());
    SetFileAttributesA(InFolder("notes.rtf").c_str(), FILE_ATTRIBUTE_NORMAL);
    script.Clear();

    // Held open without sharing, as another program editing it would.
    HANDLE held = CreateFileA(InFolder("notes.rtf").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ReadmeForm->sbtnSaveClick(ReadmeForm->sbtnSave);
    CloseHandle(held);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Caption, "Error writing to Notes.rtf");
    EXPECT_EQ(script.Last().Text,
              "File may be set to \"read only\" or being used by another program.");
    EXPECT_TRUE(notes->Modified());
    EXPECT_TRUE(ReadmeForm->sbtnSave->Enabled());

    // Closing drops the change without a question; the next showing has the file as saved.
    ReadmeForm->sbtnCloseClick(ReadmeForm->sbtnClose);
    ShowNotes();
    EXPECT_EQ(notes->Text(), "kept");
    EXPECT_EQ(script.Shown().size(), 1u);
}

TEST_F(ReadmeFormTest, AltSOnTheDisabledSaveButtonSavesNothing)
{
    const std::string file = "{\\rtf1\\ansi kept}";
    WriteTextFile(InFolder("notes.rtf"), file);
    ShowNotes();
    notes->SetFocus();
    ASSERT_FALSE(ReadmeForm->sbtnSave->Enabled());
    // The notes changed behind the editor's back: a save would write them over the file.
    notes->SetText("changed");
    notes->SetModified(false);
    AltKey('S');
    EXPECT_EQ(FileText(InFolder("notes.rtf")), file);

    // Enabled, the same letter saves.
    Type('!');
    ASSERT_TRUE(ReadmeForm->sbtnSave->Enabled());
    AltKey('S');
    EXPECT_NE(FileText(InFolder("notes.rtf")), file);
}

TEST_F(ReadmeFormTest, ALinkGoesToTheShellAndOneItCannotOpenIsABadUrl)
{
    std::vector<String> opened;
    TShellExecutor previous = SetShellExecutor([&](const TShellRequest& Request) {
        opened.push_back(Request.File);
        return INT_PTR{Request.File == "http://example.com/ok" ? 42 : SE_ERR_FNF};
    });
    ReadmeForm->RichEdit_readmeURLClick(notes, "http://example.com/ok", mbLeft);
    ReadmeForm->RichEdit_readmeURLClick(notes, "http://example.com/ok", mbRight);
    EXPECT_TRUE(script.Shown().empty());
    ReadmeForm->RichEdit_readmeURLClick(notes, "nowhere:x", mbLeft);
    SetShellExecutor(previous);
    EXPECT_EQ(opened, (std::vector<String>{"http://example.com/ok", "nowhere:x"}));
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Text, "Bad URL or incorrect file location.");
    EXPECT_EQ(script.Last().DlgType, mtError);
}

TEST_F(ReadmeFormTest, PlaceInStringEntryPaneNeedsTheVisiblePaneAndASelection)
{
    WriteTextFile(InFolder("notes.rtf"), "{\\rtf1\\ansi AT\\\\r note}");
    ShowNotes();
    Form1->pnlStringEntry->SetVisible(true);
    notes->SetSelStart(0);
    notes->SetSelLength(0);
    ReadmeForm->UN_popupPopup(ReadmeForm->UN_popup);
    EXPECT_FALSE(ReadmeForm->miPlaceQVP->Enabled());
    notes->SetSelLength(4);
    Form1->pnlStringEntry->SetVisible(false);
    ReadmeForm->UN_popupPopup(ReadmeForm->UN_popup);
    EXPECT_FALSE(ReadmeForm->miPlaceQVP->Enabled());
    EXPECT_FALSE(ReadmeForm->N4->Enabled());
    Form1->pnlStringEntry->SetVisible(true);
    ReadmeForm->UN_popupPopup(ReadmeForm->UN_popup);
    EXPECT_TRUE(ReadmeForm->miPlaceQVP->Enabled());
    EXPECT_TRUE(ReadmeForm->N4->Enabled());
    ReadmeForm->miPlaceQVP->Click();
    EXPECT_EQ(Form1->edtSend->Text(), "AT\\r");
}

TEST_F(ReadmeFormTest, TheSizeFieldTakesDigitsOnlyAndTheFontDialogSetsTheSelection)
{
    WriteTextFile(InFolder("notes.rtf"), "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 text}");
    ShowNotes();
    notes->SelectAll();
    ReadmeForm->FontSize->SetText("0");
    EXPECT_EQ(notes->SelAttributes()->Size(), 10);
    ReadmeForm->FontSize->SetText("14");
    EXPECT_EQ(notes->SelAttributes()->Size(), 14);
    for (char key : {'a', '\b', '7'}) {
        char typed = key;
        ReadmeForm->FontSizeKeyPress(ReadmeForm->FontSize, typed);
        EXPECT_EQ(typed, key == '7' ? '7' : '\0');
    }

    script.AnswerDialog([](TCommonDialog& Dialog) {
        auto& font = dynamic_cast<TFontDialog&>(Dialog);
        font.Font()->SetSize(20);
        font.Font()->SetStyle(TFontStyles{fsUnderline});
        return true;
    });
    CtrlType('F');
    EXPECT_EQ(notes->Text(), "text");
    EXPECT_EQ(notes->SelAttributes()->Size(), 20);
    EXPECT_TRUE(notes->SelAttributes()->Style().Contains(fsUnderline));
    EXPECT_EQ(ReadmeForm->FontSize->Text(), "20");
}

}  // namespace
}  // namespace dialogs_test
