// TFormPlacement on real forms and a private registry key: the first run, the save on close
// and the restore on show, the order against the form's own events, version gating, a form
// never shown, values of another screen size or pixel density, exceptions in a restore, and
// MDI frames and children.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/gui/Application.h"
#include "framework/gui/Canvas.h"
#include "framework/gui/Form.h"
#include "placement/FormPlacement.h"
#include "placement/PlacementValues.h"
#include "tests/placement/PlacementTestSupport.h"

namespace {

std::vector<std::string> journal;

}  // namespace

// A form as the program writes one: its own handlers first, the placement built after them.
class TPlacedForm : public TForm {
public:
    TFormPlacement* FormPlacement1;
    bool AllowClose = true;

    TPlacedForm(const String& Key, TFormBorderStyle Border, TPosition Where, int Version = 0)
        : TForm(nullptr)
    {
        SetBorderStyle(Border);
        Position = Where;
        SetBounds(100, 100, 320, 200);
        OnShow = Closure(this, &TPlacedForm::FormShow);
        OnCloseQuery = Closure(this, &TPlacedForm::FormCloseQuery);
        OnDestroy = Closure(this, &TPlacedForm::FormDestroy);
        FormPlacement1 = new TFormPlacement(this);
        FormPlacement1->BeginLoading();
        FormPlacement1->Name = "FormPlacement1";
        FormPlacement1->UseRegistry = true;
        FormPlacement1->SetIniFileName(Key);
        FormPlacement1->Version = Version;
        FormPlacement1->OnSavePlacement = Closure(this, &TPlacedForm::Saved);
        FormPlacement1->OnRestorePlacement = Closure(this, &TPlacedForm::Restored);
        FormPlacement1->EndLoading();
        DoCreate();
    }
    void FormShow(TObject*) { journal.push_back("form show"); }
    void FormCloseQuery(TObject*, bool& CanClose)
    {
        journal.push_back("form closequery");
        CanClose = AllowClose;
    }
    void FormDestroy(TObject*) { journal.push_back("form destroy"); }
    void Saved(TObject*) { journal.push_back("saved"); }
    void Restored(TObject*)
    {
        journal.push_back("restored");
        if (ThrowOnRestore) throw Exception(String("restore failed"));
    }
    bool ThrowOnRestore = false;
};

// A dialog-style form of its own class, so its section is its own.
class TPlacedDialog : public TPlacedForm {
public:
    explicit TPlacedDialog(const String& Key) : TPlacedForm(Key, bsDialog, poScreenCenter) {}
};

namespace {

class FormPlacementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        journal.clear();
        Application->OnException = Closure(this, &FormPlacementTest::Caught);
    }
    void TearDown() override { Application->OnException = nullptr; }
    void Caught(TObject*, Exception& E) { exceptions.push_back(E.Message); }

    TPrivateKey key;
    std::vector<String> exceptions;
};

// Notes the names written, in order.
class TRecordingIni : public TCustomIniFile {
public:
    TRecordingIni() : TCustomIniFile("") {}
    String ReadString(const String&, const String&, const String& Default) const override
    {
        return Default;
    }
    bool SectionExists(const String&) const override { return false; }
    bool ValueExists(const String&, const String&) const override { return false; }
    std::vector<String> ReadSection(const String&) const override { return {}; }
    std::vector<String> ReadSections() const override { return {}; }
    void WriteString(const String&, const String& Ident, const String&) override
    {
        Written.push_back(Ident);
    }
    void EraseSection(const String&) override {}
    void DeleteKey(const String&, const String&) override {}
    std::vector<String> Written;
};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_F(FormPlacementTest, FirstRunOpensAMainStyleFormMaximizedAndADialogCentred)
{
    auto main = std::make_unique<TPlacedForm>(key.Path, bsSizeable, poDefault);
    main->Show();
    EXPECT_TRUE(IsZoomed(main->Handle()));

    auto dialog = std::make_unique<TPlacedDialog>(key.Path);
    dialog->Show();
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_FALSE(IsZoomed(dialog->Handle()));
    EXPECT_EQ(dialog->Left(), area.left + (area.right - area.left - dialog->Width()) / 2);
    EXPECT_EQ(dialog->Width(), 320);
    // A show only reads.
    EXPECT_TRUE(key.Names("TPlacedForm").empty());
}

TEST_F(FormPlacementTest, CloseWritesTheValuesInOrderAndTheNextShowRestoresThem)
{
    const String suffix = ScreenSizeSuffix();
    RECT stored{};
    {
        TPlacedForm form(key.Path, bsSizeable, poDesigned);
        form.Show();
        form.SetBounds(40, 50, 420, 260);
        stored = NormalRect(form.Handle());
        form.Close();
        EXPECT_FALSE(form.Visible());
    }
    // The registry lists names sorted.
    const std::vector<String> expected = {
        "Flags",   "FormVersion",      "MinMaxPos",     "MinMaxPos" + suffix,
        "NormPos", "NormPos" + suffix, "PixelsPerInch", "ShowCmd",
        "Visible"};
    EXPECT_EQ(key.Names("TPlacedForm"), expected);
    EXPECT_EQ(key.Read("TPlacedForm", "NormPos"), "40,50,460,310");
    EXPECT_EQ(key.Read("TPlacedForm", "NormPos" + suffix), "40,50,460,310");
    EXPECT_EQ(key.Read("TPlacedForm", "ShowCmd"), "1");
    EXPECT_EQ(key.Read("TPlacedForm", "Visible"), "0");
    EXPECT_EQ(key.Read("TPlacedForm", "PixelsPerInch"), IntToStr(TFont::PixelsPerInch()));

    TPlacedForm again(key.Path, bsSizeable, poDesigned);
    again.Show();
    EXPECT_TRUE(SameRect(NormalRect(again.Handle()), stored));
    EXPECT_EQ(again.Left(), 40);
    EXPECT_EQ(again.Width(), 420);

    // The state comes back too.
    again.SetWindowState(wsMaximized);
    again.Close();
    EXPECT_EQ(key.Read("TPlacedForm", "ShowCmd"), "3");
    again.Show();
    EXPECT_TRUE(IsZoomed(again.Handle()));
    EXPECT_TRUE(SameRect(NormalRect(again.Handle()), stored));
}

TEST_F(FormPlacementTest, ValuesAreWrittenInTheirOrderWithTheScreenSizeFirst)
{
    TRecordingIni ini;
    TPlacedForm form(key.Path, bsSizeable, poDesigned);
    WriteFormPlacementValues(&form, &ini, "S");
    const String suffix = ScreenSizeSuffix();
    EXPECT_EQ(ini.Written,
              (std::vector<String>{"Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos" + suffix,
                                   "MinMaxPos", "NormPos" + suffix, "NormPos"}));
}

TEST_F(FormPlacementTest, RunsBeforeTheFormsShowAfterItsCloseQueryAndBeforeItsDestroy)
{
    {
        TPlacedForm form(key.Path, bsSizeable, poDesigned);
        form.Show();
        form.AllowClose = false;
        form.Close();  // refused: nothing saved
        form.AllowClose = true;
        form.Close();
        form.Show();  // open again when destroyed: saved once more, marked visible
    }
    const std::vector<std::string> expected = {"restored",        "form show", "form closequery",
                                               "form closequery", "saved",     "restored",
                                               "form show",       "saved",     "form destroy"};
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(key.Read("TPlacedForm", "Visible"), "1");

    journal.clear();
    {
        TPlacedForm form(key.Path, bsSizeable, poDesigned);
        form.Show();
        form.Close();
    }
    // A closed form is not saved again on its destruction.
    EXPECT_EQ(journal, (std::vector<std::string>{"restored", "form show", "form closequery",
                                                 "saved", "form destroy"}));
    EXPECT_EQ(key.Read("TPlacedForm", "Visible"), "0");
}

TEST_F(FormPlacementTest, AFormNeverShownLeavesTheStorageAlone)
{
    key.Write("TPlacedForm", "NormPos", "1,2,3,4");
    {
        TPlacedForm form(key.Path, bsSizeable, poDesigned);
    }
    EXPECT_EQ(key.Names("TPlacedForm"), std::vector<String>{"NormPos"});

    // Inactive: neither read nor written by the events, but an explicit save writes.
    TPlacedForm form(key.Path, bsSizeable, poDesigned);
    form.FormPlacement1->Active = false;
    form.Show();
    EXPECT_EQ(form.Left(), 100);
    form.Close();
    EXPECT_EQ(key.Names("TPlacedForm").size(), 1u);
    form.FormPlacement1->SaveFormPlacement();
    EXPECT_EQ(key.Read("TPlacedForm", "NormPos"), "100,100,420,300");
}

TEST_F(FormPlacementTest, AStoredVersionBelowTheFormsVersionIsNotRestored)
{
    key.Write("TPlacedForm", "FormVersion", "0");
    key.Write("TPlacedForm", "NormPos", "10,20,330,220");
    key.Write("TPlacedForm", "ShowCmd", "3");
    {
        TPlacedForm form(key.Path, bsSizeable, poDesigned, 1);
        form.Show();
        EXPECT_EQ(form.Left(), 100);
        EXPECT_FALSE(IsZoomed(form.Handle()));
        EXPECT_EQ(journal, (std::vector<std::string>{"form show"}));
        form.Close();
    }
    EXPECT_EQ(key.Read("TPlacedForm", "FormVersion"), "1");
    TPlacedForm form(key.Path, bsSizeable, poDesigned, 1);
    form.Show();
    EXPECT_EQ(form.Left(), 100);
    EXPECT_EQ(journal.back(), "form show");
    EXPECT_EQ(journal[journal.size() - 2], "restored");
}

TEST_F(FormPlacementTest, AnExceptionInTheRestoreIsReportedAndTheFormStillShows)
{
    TPlacedForm form(key.Path, bsSizeable, poDesigned);
    form.ThrowOnRestore = true;
    form.Show();
    EXPECT_EQ(exceptions, std::vector<String>{"restore failed"});
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_EQ(journal, (std::vector<std::string>{"restored", "form show"}));
    form.Close();  // the restore counts as done: the close saves
    EXPECT_NE(key.Read("TPlacedForm", "NormPos"), "<none>");
}

TEST_F(FormPlacementTest, AnotherScreenSizeUsesThePlainValueAnotherDensityOnlyTheState)
{
    key.Write("TPlacedForm", "NormPos(1x1)", "1,1,101,101");
    key.Write("TPlacedForm", "NormPos", "30,40,350,240");
    key.Write("TPlacedForm", "ShowCmd", "1");
    {
        TPlacedForm form(key.Path, bsSizeable, poDesigned);
        form.Show();
        EXPECT_EQ(form.Left(), 30);
        EXPECT_EQ(form.Top(), 40);
    }
    const String suffix = ScreenSizeSuffix();
    key.Write("TPlacedForm", "NormPos" + suffix, "60,70,380,270");
    key.Write("TPlacedForm", "PixelsPerInch", IntToStr(TFont::PixelsPerInch() + 24));
    key.Write("TPlacedForm", "ShowCmd", "3");
    TPlacedForm form(key.Path, bsSizeable, poDesigned);
    form.Show();
    EXPECT_TRUE(IsZoomed(form.Handle()));
    EXPECT_EQ(NormalRect(form.Handle()).left, 100);

    key.Write("TPlacedForm", "PixelsPerInch", IntToStr(TFont::PixelsPerInch()));
    key.Write("TPlacedForm", "ShowCmd", "4");  // no state: the form's default (normal)
    TPlacedForm other(key.Path, bsSizeable, poDesigned);
    other.Show();
    EXPECT_FALSE(IsZoomed(other.Handle()));
    EXPECT_EQ(other.Left(), 60);
}

TEST_F(FormPlacementTest, ADialogKeepsItsSizeAndReopensAtItsCornerInsteadOfTheCentre)
{
    key.Write("TPlacedDialog", "NormPos", "25,35,900,900");
    TPlacedDialog dialog(key.Path);
    dialog.Show();
    EXPECT_EQ(dialog.Left(), 25);
    EXPECT_EQ(dialog.Top(), 35);
    EXPECT_EQ(dialog.Width(), 320);
    EXPECT_EQ(dialog.Height(), 200);
    EXPECT_EQ(dialog.Position, poDesigned);
}

TEST_F(FormPlacementTest, AnMdiFrameOpensMaximizedAndAMinimizedChildReopensMinimizedInItsPlace)
{
    TForm* frame = nullptr;
    Application->CreateForm(frame);  // the main form
    frame->SetFormStyle(fsMDIForm);
    auto* placement = new TFormPlacement(frame);
    placement->BeginLoading();
    placement->UseRegistry = true;
    placement->SetIniFileName(key.Path);
    placement->EndLoading();
    frame->Show();
    EXPECT_TRUE(IsZoomed(frame->Handle()));  // nothing stored yet
    {
        TPlacedForm child(key.Path, bsSizeable, poDesigned);
        child.SetFormStyle(fsMDIChild);
        child.Show();
        EXPECT_EQ(GetParent(child.Handle()), frame->ClientHandle());
        child.SetWindowState(wsMinimized);
        child.Close();
    }
    EXPECT_EQ(StrToIntDef(key.Read("TPlacedForm", "Flags"), 0) & WPF_SETMINPOSITION,
              WPF_SETMINPOSITION);
    {
        // The next child of the class takes the stored state as it is shown.
        TPlacedForm again(key.Path, bsSizeable, poDesigned);
        again.SetFormStyle(fsMDIChild);
        again.Show();
        EXPECT_TRUE(IsIconic(again.Handle()));
    }
    delete frame;
}

TEST_F(FormPlacementTest, TheDefaultKeyIsNamedAfterTheProgram)
{
    EXPECT_EQ(GetDefaultIniRegKey(), "Software\\placement_tests");
    DefCompanyName = "Co";
    EXPECT_EQ(GetDefaultIniRegKey(), "Software\\Co\\placement_tests");
    DefCompanyName.clear();
    TPlacedForm form(key.Path, bsSizeable, poDesigned);
    EXPECT_EQ(form.FormPlacement1->IniSection(), "TPlacedForm");
    EXPECT_EQ(GetDefaultSection(form.FormPlacement1), "TPlacedForm.FormPlacement1");
}

TEST_F(FormPlacementTest, LinksHearTheSaveAndRestoreWithTheStorageOpen)
{
    struct TListener {
        TIniLink Link;
        std::vector<String> Heard;
        void Save(TObject*) { Heard.push_back(Link.GetIniObject() ? "save open" : "save closed"); }
        void Load(TObject*) { Heard.push_back(Link.GetIniObject() ? "load open" : "load closed"); }
    } listener;
    listener.Link.OnSave = Closure(&listener, &TListener::Save);
    listener.Link.OnLoad = Closure(&listener, &TListener::Load);
    {
        TPlacedForm form(key.Path, bsSizeable, poDesigned);
        listener.Link.SetStorage(form.FormPlacement1);
        EXPECT_EQ(listener.Link.GetRootSection(), "");
        form.FormPlacement1->SetIniSection("Mine");
        EXPECT_EQ(listener.Link.GetRootSection(), "Mine\\");
        form.Show();
        form.Close();
    }
    EXPECT_EQ(listener.Heard, (std::vector<String>{"load open", "save open"}));
    EXPECT_EQ(listener.Link.Storage(), nullptr);  // the placement let it go
    EXPECT_NE(key.Read("Mine", "NormPos"), "<none>");
}

TEST_F(FormPlacementTest, EraseSectionsTakesTheSectionAndItsSubsectionsOnly)
{
    for (const char* s : {"Mine", "Mine.Edit1_Lines", "Mine\\Sub", "Mine2", "Other"})
        key.Write(s, "x", "1");
    TPlacedForm form(key.Path, bsSizeable, poDesigned);
    form.FormPlacement1->SetIniSection("Mine");
    form.FormPlacement1->EraseSections();
    EXPECT_EQ(key.Read("Mine", "x"), "<none>");
    EXPECT_EQ(key.Read("Mine.Edit1_Lines", "x"), "<none>");
    EXPECT_EQ(key.Read("Mine2", "x"), "1");
    EXPECT_EQ(key.Read("Other", "x"), "1");
}
