// A script that runs on with the macro editor shown (a bad data string shows it): what the user
// does meanwhile, by mouse clicks on the tool bars and keys into the fields, lands on the node
// the editor shows and never on the line; the device's end of the line logs what was sent.
#include <cctype>
#include <functional>

#include "MacroPaneFixture.h"
#include "terminal/Escapes.h"
#include "terminal/MacroRunner.h"
#include "tests/support/FileSendHelpers.h"
#include "tests/support/UserActions.h"

namespace macropane_test {
namespace {

using namespace std::chrono_literals;

// The user at work while the run goes on: called every 20 ms from the thread's queue (which
// the run's waits and the boxes run) until it says it is done.
std::function<bool()> UserStep;
void CALLBACK RunUserStep(HWND, UINT, UINT_PTR Id, DWORD)
{
    static bool inside = false;
    if (inside) return;
    if (!UserStep) {
        KillTimer(nullptr, Id);
        return;
    }
    inside = true;
    const bool done = UserStep();
    inside = false;
    if (done) {
        KillTimer(nullptr, Id);
        UserStep = nullptr;
    }
}

class MacroRunWithEditorTest : public MacroPaneTest {
protected:
    void TearDown() override
    {
        UserStep = nullptr;
        MacroPaneTest::TearDown();
    }
    // Folder F: D1 (a data string with bad hex digits), File (ten bytes, 60 ms a byte), then
    // Rest. Shown, connected, the editor hidden, the folder expanded.
    void StartOnList(const std::string& Rest)
    {
        fileBytes_ = qv::test::RandomBytes(10);
        const std::string path = MakeFile("small.bin", fileBytes_);
        StartWithList("+|_F|_|_|_|_|_\r\n"
                      "-|_D1|_Data String|_|_0|_|_X\\zz\r\n"
                      "-|_File|_File|_|_60|_|_" +
                      path + "\r\n" + Rest);
        Form1->Show();
        ConnectToLine();
        ASSERT_FALSE(Form1->ScrollBox->Visible());
        Form1->ActionTreeExpandExecute(Form1);
    }
    TTreeNode* Named(const char* Name)
    {
        for (TTreeNode* n = Items().GetFirstNode(); n; n = n->GetNext())
            if (NodeInfo(n) && NodeInfo(n)->MacroName == Name) return n;
        return nullptr;
    }
    void ClickOn(const char* Name) { MousePress(LabelPoint(Named(Name))); }
    // What the user does from now on, step by step, while the run goes on.
    static void WhileRunning(std::function<bool()> Step)
    {
        UserStep = std::move(Step);
        SetTimer(nullptr, 0, 20, RunUserStep);
    }
    // A letter or digit key, pressed where the focus is.
    static void Type(char Key)
    {
        qv::test::PostKey(GetFocus(), static_cast<WORD>(std::toupper(Key)));
    }
    // The file item is being sent, and it has been (the delay after it runs).
    struct TFileWatch {
        bool Seen = false;
        bool Sending() { return Seen = Seen || Transfer.FileSend; }
        bool Done() { return Seen && !Transfer.FileSend; }
    };
    // All the device got, once the line has been quiet for a while.
    std::string DeviceLog()
    {
        std::string log;
        for (std::string got; !(got = line.Read(256, 300ms)).empty();) log += got;
        return log;
    }

    std::string fileBytes_;
};

// Added during the file item, a folder takes the name typed while the delay after it runs;
// the walk on to the delay and the last item does not take the editor along.
TEST_F(MacroRunWithEditorTest, ANameTypedWhileTheScriptRunsOnGoesToTheNodeTheUserAdded)
{
    StartOnList("-|_Long|_Delay in ms|_|_1000|_|_\r\n"
                "-|_D2|_Data String|_|_0|_|_end\r\n");
    ClickOn("D1");
    TFileWatch file;
    int step = 0;
    WhileRunning([&] {
        if (step == 0 && file.Sending()) {
            PostClick(Form1->Tr_NewFolder_btn);
            step = 1;
        } else if (step == 1 && file.Done()) {
            HWND name = Form1->EditMacroName->Handle();
            PostMessageA(name, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
            PostMessageA(name, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
            PostMessageA(name, EM_SETSEL, 0, -1);
            step = 2;
        } else if (step == 2) {
            for (char c : std::string("temp")) Type(c);
            return true;
        }
        return false;
    });
    Press(Form1->Tr_SendScript_btn);
    ASSERT_EQ(step, 2);
    ASSERT_FALSE(MacroRun.MacroRunActive);
    Press(Form1->Tr_OK_btn);

    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text, EscapeText::InvalidHex);
    ASSERT_NE(Named("temp"), nullptr);
    EXPECT_EQ(Named("temp")->Level(), 0);
    EXPECT_NE(Named("Long"), nullptr);
    EXPECT_NE(Named("D2"), nullptr);
    EXPECT_EQ(NodeInfo(Named("D1"))->MacroData, "X\\zz");
    EXPECT_EQ(DeviceLog(), fileBytes_ + "end");
}

// Keys typed into the data field the bad string opened, during the file item, during the delay
// after it, and after the breakpoint's box, all go into the field.
TEST_F(MacroRunWithEditorTest, KeysTypedIntoTheEditorDuringARunNeverReachTheDevice)
{
    StartOnList("-|_Long|_Delay in ms|_|_1000|_|_\r\n"
                "-|_Wait|_Data String|_|_0|_|_end\r\n");
    ClickOn("Wait");
    Press(Form1->TR_breakpnt_btn);
    ClickOn("D1");
    TFileWatch file;
    std::string keys = "abcd";
    WhileRunning([&] {
        // Two keys while the file goes out, two once it went.
        if ((keys.size() > 2 && file.Sending()) || (keys.size() <= 2 && file.Done())) {
            Type(keys[0]);
            keys.erase(0, 1);
        }
        return keys.empty();
    });
    Press(Form1->Tr_SendScript_btn);
    ASSERT_TRUE(keys.empty());
    Type('e');
    Type('f');
    qv::test::PumpMessages();

    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Boxes()[1].Text, MacroText::BreakpointReached);
    EXPECT_EQ(Form1->EditData->Text(), "X\\abcdef");
    EXPECT_EQ(GetFocus(), Form1->EditData->Handle());
    EXPECT_EQ(DeviceLog(), fileBytes_);
}

// After a bad data string and then a breakpoint, the tree's selection is the node the editor
// shows, and Mark For Deletion marks that node.
TEST_F(MacroRunWithEditorTest, AfterARunEndsAtABreakpointMarkActsOnTheNodeTheEditorShows)
{
    StartOnList("-|_Wait|_Data String|_|_0|_|_end\r\n");
    ClickOn("Wait");
    Press(Form1->TR_breakpnt_btn);
    ClickOn("D1");
    Press(Form1->Tr_SendScript_btn);
    ASSERT_EQ(Boxes().size(), 2u);
    ASSERT_EQ(Form1->EditMacroName->Text(), "D1");
    EXPECT_EQ(Form1->TreeView->Selected(), Named("D1"));

    Press(Form1->Tr_Delete_btn);
    EXPECT_TRUE(NodeMarkedForDeletion(Named("D1")));
    EXPECT_FALSE(NodeMarkedForDeletion(Named("Wait")));
    EXPECT_EQ(DeviceLog(), fileBytes_);
}

// A step's error box ends the endless command once answered (it would come back at once,
// leaving no moment for Stop); the script that runs once goes on past it.
TEST_F(MacroRunWithEditorTest, AnErrorBoxEndsTheEndlessCommandButNotTheScript)
{
    StartOnList("-|_Bad|_Data String|_|_0|_|_Q\\\r\n"
                "-|_Lost|_File|_|_0|_|_" +
                InFolder("missing.bin") + "\r\n-|_D2|_Data String|_|_0|_|_end\r\n");
    for (const char* start : {"Bad", "Lost"}) {
        SCOPED_TRACE(start);
        script.Clear();
        if (Form1->ScrollBox->Visible()) Press(Form1->Tr_edit_tbn);
        ClickOn(start);
        // The test's own way out of a run that would never end.
        WhileRunning([this] {
            if (Boxes().size() < 3) return false;
            Form1->stop_tbtnClick(nullptr);
            return true;
        });
        Press(Form1->Tr_SendScriptRpt_btn);
        UserStep = nullptr;
        EXPECT_EQ(Boxes().size(), 1u);
        EXPECT_FALSE(MacroRun.MacroRunActive);
        EXPECT_TRUE(Form1->Tr_SendScriptRpt_btn->Enabled());
        EXPECT_EQ(DeviceLog(), "");
    }
    script.Clear();
    if (Form1->ScrollBox->Visible()) Press(Form1->Tr_edit_tbn);
    ClickOn("Bad");
    Press(Form1->Tr_SendScript_btn);
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(DeviceLog(), "end");
}

}  // namespace
}  // namespace macropane_test
