// Start-up of the main window in the test's process: the settings file, the profile named on
// the command line (none, too many, missing, wrong type, in capitals), the window's class and
// captions, the library's cursors and the program's nine forms in their order, and failures
// that must not end start-up.
#include <stdexcept>

#include "app/LaterForms.h"
#include "app/ProgramMain.h"
#include "terminal/StartupErrors.h"
#include "tests/support/MainWindowHarness.h"
#include "util/AppForms.h"

namespace mainwindow_test {
namespace {

using MainWindowTest = qv::test::MainWindowHarness;

std::string WindowClass(HWND h)
{
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    return cls;
}

std::string WindowText(HWND h)
{
    char text[256] = {};
    GetWindowTextA(h, text, sizeof text);
    return text;
}

TEST_F(MainWindowTest, WithoutArgumentsReadsTheSettingsFileAndAsksNothing)
{
    WriteTextFile(SettingsPath(), SettingsText("19200", "COM5"));
    StartMainWindow();

    EXPECT_TRUE(script.Shown().empty());
    EXPECT_TRUE(SameText(Settings.ConfigFileName, SettingsPath()));
    EXPECT_EQ(Form1->Baud->Text(), "19200");
    EXPECT_EQ(Form1->PortIndex->Text(), "COM5");
    EXPECT_EQ(Form1->StatusBar1->Panels(0)->Text(), "Disconnected");
    EXPECT_EQ(WindowClass(Form1->Handle()), "TForm1");
    EXPECT_EQ(WindowText(Form1->Handle()), "Quorvalink Cobalt - RS232 Data Analyser");
    EXPECT_TRUE(Form1->Timer2->Enabled());
}

TEST_F(MainWindowTest, UnknownPortSettingsKeepTheCombosDefaultsWithOneWarningNamingTheFile)
{
    WriteTextFile(
        SettingsPath(),
        FontSection() +
            "[Serial Port Section]\r\nPORT=COM99\r\nBAUD=123\r\nDATA_BITS=5\r\n"
            "PARITY=ODD\r\nSTOP_BITS=3\r\n[General Section]\r\nAUTO_CONNECT_ON_START=0\r\n");
    StartMainWindow();

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->DlgType, mtWarning);
    EXPECT_EQ(box->Text, "Incorrect settings found for some options in configuration file:\n" +
                             SettingsPath() + "\n\nThese options will be set to use defaults.");
    EXPECT_EQ(Form1->PortIndex->Items()->Count(), 32);
    EXPECT_EQ(Form1->PortIndex->Items()->Strings(31), "COM32");
    EXPECT_EQ(Form1->PortIndex->Text(), "COM1");
    EXPECT_EQ(Form1->Baud->Text(), "9600");
    EXPECT_EQ(Form1->DataBitsBox->Text(), "8");
    EXPECT_EQ(Form1->ParityBox->Text(), "ODD");
    EXPECT_EQ(Form1->StopBitsBox->Text(), "1");
}

TEST_F(MainWindowTest, TwoArgumentsAreRefusedAndTheSettingsFileIsRead)
{
    WriteTextFile(SettingsPath(), SettingsText("19200"));
    WriteTextFile(InFolder("a.qvp"), SettingsText("38400"));
    SetArguments({InFolder("a.qvp"), InFolder("a.qvp")});
    StartMainWindow();

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Kind, TDialogKind::ShowMessage);
    EXPECT_EQ(box->Text,
              "Error - too many command line parameters supplied.\nStarting with defaults.");
    EXPECT_EQ(Form1->Baud->Text(), "19200");
    EXPECT_TRUE(SameText(Settings.ConfigFileName, SettingsPath()));
}

TEST_F(MainWindowTest, AMissingProfileIsNamedInAWarningAndTheSettingsFileIsRead)
{
    WriteTextFile(SettingsPath(), SettingsText("19200"));
    SetArguments({InFolder("Missing.qvp")});
    StartMainWindow();

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Kind, TDialogKind::MessageDlg);
    EXPECT_EQ(box->DlgType, mtWarning);
    EXPECT_EQ(box->Buttons, TMsgDlgButtons{mbOK});
    // The name is the lower-cased path's file name part.
    EXPECT_EQ(
        box->Text,
        "Incorrect file name (missing.qvp) specified in parameters. \nLoading defaults settings.\n"
        "Please check that the file exists.");
    EXPECT_EQ(Form1->Baud->Text(), "19200");
}

TEST_F(MainWindowTest, AnExistingFileThatIsNoProfileIsRefusedAndTheSettingsFileIsRead)
{
    WriteTextFile(SettingsPath(), SettingsText("19200"));
    WriteTextFile(InFolder("profile.txt"), SettingsText("38400"));
    SetArguments({InFolder("profile.txt")});
    StartMainWindow();

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->DlgType, mtError);
    EXPECT_EQ(box->Text,
              "Incorrect file loaded.\nOnly Quorvalink Profile (*.qvp) files are accepted.");
    EXPECT_EQ(Form1->Baud->Text(), "19200");
}

TEST_F(MainWindowTest, AProfileNamedInCapitalsIsLoadedInsteadOfTheSettingsFile)
{
    WriteTextFile(SettingsPath(), SettingsText("19200"));
    WriteTextFile(InFolder("LAB.QVP"), SettingsText("38400", "COM7"));
    SetArguments({InFolder("LAB.QVP")});
    StartMainWindow();

    EXPECT_TRUE(script.Shown().empty());
    EXPECT_EQ(Form1->Baud->Text(), "38400");
    EXPECT_EQ(Form1->PortIndex->Text(), "COM7");
    EXPECT_EQ(Settings.ConfigFileName, LowerCase(InFolder("LAB.QVP")));
    EXPECT_EQ(WindowText(Form1->Handle()), "Quorvalink Cobalt - RS232 Data Analyser");
}

TEST_F(MainWindowTest, ASettingsFileNamingAPortThatDoesNotExistStillShowsTheWindow)
{
    WriteTextFile(SettingsPath(),
                  SettingsText("9600", qv::test::UnmappedPort, "AUTO_CONNECT_ON_START=1\r\n"));
    StartMainWindow();

    const TShownDialog* box = OnlyDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->DlgType, mtInformation);
    EXPECT_EQ(box->Text, "Unable to access port COM3 (system error code: 2).\nPlease check that "
                         "COM3 exists on your PC/Laptop.");
    Form1->Show();
    EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_TRUE(Form1->Connect1_mi->Enabled());
    EXPECT_FALSE(Form1->Disconnect1_mi->Enabled());
    EXPECT_EQ(WindowText(Form1->Handle()), "Quorvalink Cobalt - RS232 Data Analyser");
    EXPECT_TRUE(Form1->Timer2->Enabled());
}

TEST_F(MainWindowTest, AnAutomaticConnectLeavesTheRaisedLinesLitWhenTheWindowIsShown)
{
    line.SetCts(true);
    line.SetDsr(true);
    WriteTextFile(SettingsPath(),
                  SettingsText("9600", line.PortName(), "AUTO_CONNECT_ON_START=1\r\n"));
    StartMainWindow();
    ASSERT_TRUE(script.Shown().empty()) << script.Shown().front().Text;
    ASSERT_TRUE(Form1->Comm1->Enabled());

    // A line change after the connect reaches the lamps only through the show's refresh
    // (the port's events are not built yet), so the refresh is what this checks.
    line.SetDcd(true);
    ASSERT_TRUE(qv::test::WaitUntil([&] { return Form1->Comm1->GetModemState(4); }));
    Form1->Show();

    EXPECT_TRUE(line.Rts());
    EXPECT_TRUE(line.Dtr());
    EXPECT_TRUE(Form1->LED_RTS->Lit());
    EXPECT_TRUE(Form1->LED_DTR->Lit());
    EXPECT_TRUE(Form1->LED_CTS->Lit());
    EXPECT_TRUE(Form1->LED_DSR->Lit());
    EXPECT_TRUE(Form1->LED_DCD->Lit());
    EXPECT_FALSE(Form1->LED_RI->Lit());
    EXPECT_FALSE(Form1->LED_BRK->Lit());
    EXPECT_FALSE(Form1->Connect1_mi->Enabled());
    EXPECT_TRUE(Form1->Disconnect1_mi->Enabled());
}

TEST_F(MainWindowTest, ShowingTheWindowWithThePortClosedDarkensAllLamps)
{
    WriteTextFile(SettingsPath(), SettingsText("9600"));
    StartMainWindow();
    Form1->LED_CTS->SetState(true);
    Form1->LED_RTS->SetState(true);
    Form1->reScreen->SetModified(true);
    Form1->Show();

    for (TLEDLabel* lamp : {Form1->LED_DTR, Form1->LED_RTS, Form1->LED_BRK, Form1->LED_RI,
                            Form1->LED_CTS, Form1->LED_DCD, Form1->LED_BRKD, Form1->LED_DSR})
        EXPECT_FALSE(lamp->Lit()) << lamp->Name;
    EXPECT_FALSE(Form1->reScreen->Modified());
}

TEST(StartupFailureText, APortErrorIsShownAsThePortSaysItWhereverItHappened)
{
    auto port = std::make_exception_ptr(
        EPortConnectError(String("Error updating DataControlBlock (Error: 87)")));
    EXPECT_EQ(StartupFailureText(port, true), "Error updating DataControlBlock (Error: 87)");
    EXPECT_EQ(StartupFailureText(port, false), "Error updating DataControlBlock (Error: 87)");
}

TEST(StartupFailureText, OtherFailuresOfAProfileAreCorruptButTheSettingsFileNamesTheCause)
{
    auto other = std::make_exception_ptr(EOutOfResources(String("Failed to load stream.")));
    EXPECT_EQ(StartupFailureText(other, true), "File type not recognised or corrupt.");
    EXPECT_EQ(StartupFailureText(other, false), "Failed to load stream.");
    auto foreign = std::make_exception_ptr(std::runtime_error("bad"));
    EXPECT_EQ(StartupFailureText(foreign, false), "bad");
}

class ProgramFormsTest : public MainWindowTest {};

TEST_F(ProgramFormsTest, TheLibraryCursorsAndTheNineFormsInOrderWithTheMainWindowFirst)
{
    CreateProgramForms();

    EXPECT_EQ(Application->Title, "Quorvalink CE");
    EXPECT_EQ(Application->MainForm(), Form1);
    const char* expected[][2] = {
        {"TForm1", "Quorvalink Cobalt - RS232 Data Analyser"},
        {"TfrmProp", "Settings"},
        {"TAboutBox", "About"},
        {"TReadmeForm", "User Notes"},
        {"TfrmStringEntryHelp", "Help Screen"},
        {"TASCII_tbl", "ASCII Table"},
        {"TOKBottomDlg", "Notation Converter (32-bit)"},
        {"TAdvSendFile_dlg", "Special Send File - Options"},
        {"TForm2", "Visual Scripting In Progress..."},
    };
    ASSERT_EQ(Application->ComponentCount(), 9);
    for (int i = 0; i < 9; ++i) {
        auto* form = dynamic_cast<TForm*>(Application->Components(i));
        ASSERT_TRUE(form) << i;
        EXPECT_EQ(form->ClassName(), expected[i][0]);
        EXPECT_EQ(WindowClass(form->Handle()), expected[i][0]);
        EXPECT_EQ(WindowText(form->Handle()), expected[i][1]);
    }
    EXPECT_EQ(frmProp, Application->Components(1));
    EXPECT_EQ(Form2, Application->Components(8));
    // The library's cursors come from the program's own resources.
    EXPECT_NE(Screen->Cursors(LibHandCursor), Screen->Cursors(crDefault));
    EXPECT_NE(Screen->Cursors(LibDragCursor), Screen->Cursors(crDefault));
}

}  // namespace
}  // namespace mainwindow_test
