// Save All Settings, profile export and import on the real main window connected to a virtual
// line: what is written, what an import does to the connection, cancelled dialogs, and exports
// that fail without harming the file they were to replace.
#include <fstream>
#include <iterator>

#include "macros/TreeUtil.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/ReceiveScreen.h"

namespace profiles_test {
namespace {

using qv::test::WaitForBytesIn;
using qv::test::WaitForQuietScreen;

const std::string MacroList = "[MACRO_LIST]\r\n"
                              "!|_1|_0|_300|_400\r\n"
                              "+|_Modem|_|_AT commands|_|_|_\r\n"
                              "-|_Reset|_Data String|_Send ATZ|_100|_|_ATZ\\r\r\n"
                              "-|_Raise RTS|_Control Signal|_|_|_RTS ON|_\r\n";

std::string FileText(const std::string& Path)
{
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Has(const std::string& Text, const std::string& Part)
{
    return Text.find(Part) != std::string::npos;
}

// A file dialog the user confirms on Path.
std::function<bool(TCommonDialog&)> PickFile(const std::string& Path)
{
    return [Path](TCommonDialog& Dialog) {
        static_cast<TOpenDialog&>(Dialog).FileName = Path;
        return true;
    };
}

std::vector<String> TreeLabels()
{
    std::vector<String> labels;
    TTreeNodes& items = *Form1->TreeView->Items();
    for (TTreeNode* node = items.GetFirstNode(); node; node = node->GetNext())
        labels.push_back(node->Text());
    return labels;
}

class ProfilesTest : public qv::test::MainWindowHarness {
protected:
    void StartWithMacros()
    {
        WriteTextFile(InFolder("qvmacros.ini"), MacroList);
        Start(0, 70);
    }
    // A profile on the test's line; AutoConnect is what it says about connecting.
    std::string WriteProfile(const std::string& Name, const std::string& Baud, bool AutoConnect)
    {
        const std::string path = InFolder(Name);
        WriteTextFile(path, SettingsText(Baud, line.PortName(),
                                         std::string("AUTO_CONNECT_ON_START=") +
                                             (AutoConnect ? "1" : "0") + "\r\n"));
        return path;
    }
    static void Choose(TComboBox* Combo, const char* Item)
    {
        Combo->SetItemIndex(Combo->Items()->IndexOf(Item));
    }
};

TEST_F(ProfilesTest, SaveAllSettingsWritesComboAndEntryValuesNeverPutInSettingsAndTheMacroList)
{
    StartWithMacros();
    Choose(Form1->Baud, "19200");
    Form1->edtSend->SetText("ATZ\\r");
    ASSERT_EQ(Settings.Baud, "115200");
    DeleteFileA(InFolder("qvmacros.ini").c_str());

    Form1->Save1Click(Form1->Save1);

    const std::string ini = FileText(SettingsPath());
    EXPECT_TRUE(Has(ini, "BAUD=19200\r\n"));
    EXPECT_TRUE(Has(ini, "PORT=" + line.PortName() + "\r\n"));
    EXPECT_TRUE(Has(ini, "STRING_ENTRY_PANE=ATZ\\r\r\n"));
    EXPECT_EQ(Settings.ConfigFileName, SettingsPath());
    const std::string macros = FileText(InFolder("qvmacros.ini"));
    EXPECT_TRUE(Has(macros, "+|_Modem|"));
    EXPECT_TRUE(Has(macros, "-|_Reset|"));
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(ProfilesTest, SaveAllSettingsAsksBeforePurgingMarkedMacrosAndNoKeepsTheListFile)
{
    StartWithMacros();
    NodeInfo(Form1->TreeView->Items()->GetFirstNode()->Item(0))->Deleted = 1;

    script.Answer(IDNO);
    Form1->Save1Click(Form1->Save1);
    ASSERT_EQ(script.Shown().size(), 2u);  // the question, then the refusal's beep
    EXPECT_EQ(script.Shown()[0].Text, "Are you sure you wish to make permanent changes?");
    EXPECT_EQ(script.Shown()[0].Caption, "Found items marked for deletion");
    EXPECT_EQ(FileText(InFolder("qvmacros.ini")), MacroList);
    EXPECT_TRUE(Has(FileText(SettingsPath()), "[Font Section]"));

    script.Answer(IDYES);
    Form1->Save1Click(Form1->Save1);
    EXPECT_FALSE(Has(FileText(InFolder("qvmacros.ini")), "Reset"));
    EXPECT_EQ(Form1->TreeView->Items()->Count(), 2);
}

TEST_F(ProfilesTest, ImportWhileConnectedStartsANewSessionAndReconnectsOnlyWhenTheProfileAsks)
{
    Start(0, 70);
    line.Write("abc");
    ASSERT_TRUE(WaitForBytesIn(3));

    script.AnswerDialog(PickFile(WriteProfile("connect.qvp", "19200", true)));
    Form1->ImportfromProfile1Click(Form1);
    EXPECT_TRUE(Form1->Comm1->Enabled());
    EXPECT_EQ(Display.BytesIn, 0);
    EXPECT_EQ(Form1->reScreen->Text(), "");
    EXPECT_EQ(Settings.ConfigFileName, InFolder("connect.qvp"));
    EXPECT_EQ(Form1->Baud->Text(), "19200");
    EXPECT_EQ(line.ProgramTermios().baud, 19200u);

    script.AnswerDialog(PickFile(WriteProfile("stay.qvp", "9600", false)));
    Form1->ImportfromProfile1Click(Form1);
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_EQ(Settings.ConfigFileName, InFolder("stay.qvp"));
    EXPECT_EQ(script.Shown().size(), 2u);  // the two file dialogs, nothing else
}

TEST_F(ProfilesTest, CancellingEitherFileDialogChangesNothing)
{
    Start(0, 70);
    line.Write("abc");
    ASSERT_TRUE(WaitForBytesIn(3));
    ASSERT_TRUE(WaitForQuietScreen());
    const String shown = Form1->reScreen->Text();

    script.Cancel();
    Form1->ImportfromProfile1Click(Form1);
    script.Cancel();
    Form1->ExportProfileClick(Form1);

    EXPECT_TRUE(Form1->Comm1->Enabled());
    EXPECT_EQ(Display.BytesIn, 3);
    EXPECT_EQ(Form1->reScreen->Text(), shown);
    EXPECT_EQ(Settings.ConfigFileName, SettingsPath());
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(InFolder("*.qvp").c_str(), &found);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST_F(ProfilesTest, ExportThenImportGivesTheSameRecordAndMacroList)
{
    StartWithMacros();
    Choose(Form1->ParityBox, "EVEN");
    Form1->edtSend->SetText("hello");
    Settings.Lines = 42;
    Settings.ShowInputOnly = true;
    Settings.AutoConnectOnStart = false;
    const std::string profile = InFolder("mine.qvp");
    WriteTextFile(profile, "[Old]\r\nstale=1\r\n");

    script.AnswerDialog(PickFile(profile));
    Form1->ExportProfileClick(Form1);
    EXPECT_EQ(Settings.ConfigFileName, SettingsPath());
    EXPECT_FALSE(Has(FileText(profile), "stale"));
    TSettings exported = Settings;
    const std::vector<String> labels = TreeLabels();

    Choose(Form1->ParityBox, "NONE");
    Settings.Lines = 7;
    Settings.ShowInputOnly = false;
    script.AnswerDialog(PickFile(profile));
    Form1->ImportfromProfile1Click(Form1);

    exported.ConfigFileName = profile;
    exported.ParityReplaceCh = '?';
    exported.Accepted = Settings.Accepted;
    EXPECT_EQ(Settings, exported);
    EXPECT_EQ(Form1->ParityBox->Text(), "EVEN");
    EXPECT_EQ(TreeLabels(), labels);
}

TEST_F(ProfilesTest, AFailedExportLeavesTheExistingProfileAsItWas)
{
    Start(0, 70);
    const std::string profile = InFolder("kept.qvp");
    const std::string old = SettingsText("4800");
    WriteTextFile(profile, old);

    SetFileAttributesA(profile.c_str(), FILE_ATTRIBUTE_READONLY);
    script.AnswerDialog(PickFile(profile));
    Form1->ExportProfileClick(Form1);
    SetFileAttributesA(profile.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(script.Shown().size(), 2u);
    EXPECT_EQ(script.Last().DlgType, mtError);
    EXPECT_EQ(script.Last().Text, "Could not export settings to file \"kept.qvp\" \nFile may be "
                                  "set to \"Read Only\" access.");
    EXPECT_EQ(FileText(profile), old);

    // Open elsewhere without leave to be replaced: the new text cannot take its place.
    HANDLE held = CreateFileA(profile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    script.Clear();
    script.AnswerDialog(PickFile(profile));
    Form1->ExportProfileClick(Form1);
    CloseHandle(held);
    ASSERT_EQ(script.Shown().size(), 2u);
    EXPECT_EQ(script.Last().Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(script.Last().Text, "Failed to write to configuration file:\n" + profile);
    EXPECT_EQ(FileText(profile), old);
}

}  // namespace
}  // namespace profiles_test
