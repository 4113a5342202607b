// The macro runner and its run commands end to end on the main window connected to a virtual
// line: data strings and files reach the peer byte-exact, escape errors point at the bad
// characters, breakpoints, the end of the list and the loop guard end runs, Stop (a mouse click
// too) ends a long delay at once, one run at a time, and a reload inside a run does not pull
// nodes from under it.
#include <windows.h>

#include <mmsystem.h>
#include <commctrl.h>

#include <functional>
#include <thread>
#include <vector>

#include "macros/TreeUtil.h"
#include "terminal/Escapes.h"
#include "terminal/MacroRunner.h"
#include "tests/support/FileSendHelpers.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/ReceiveScreen.h"

extern "C" void* WriteFileSlot __asm__("__imp__WriteFile@20");

namespace macrorun_test {
namespace {

using namespace std::chrono_literals;

using qv::test::ScreenLines;

// Something the user does while a run waits: a thread timer that fires once inside the run's
// message processing.
std::function<void()> PendingAction;
void CALLBACK RunPendingAction(HWND, UINT, UINT_PTR Id, DWORD)
{
    KillTimer(nullptr, Id);
    auto action = std::move(PendingAction);
    PendingAction = nullptr;
    if (action) action();
}
void DuringRun(int DelayMs, std::function<void()> Action)
{
    PendingAction = std::move(Action);
    SetTimer(nullptr, 0, DelayMs, RunPendingAction);
}

// The main thread's writes to the port: their times, and how many came once a stop was asked for
// (the run's state no longer 2).
struct {
    void* real = nullptr;
    DWORD thread = 0;
    std::vector<double> times;
    int afterStop = 0;
} portWrites;

BOOL WINAPI NotedWriteFile(HANDLE h, LPCVOID buffer, DWORD count, LPDWORD written,
                           LPOVERLAPPED overlapped)
{
    if (GetCurrentThreadId() == portWrites.thread && GetFileType(h) == FILE_TYPE_CHAR) {
        portWrites.times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
                .count());
        if (MacroRun.MacroRunState != 2) ++portWrites.afterStop;
    }
    using Fn = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    return reinterpret_cast<Fn>(portWrites.real)(h, buffer, count, written, overlapped);
}

class MacroRunTest : public qv::test::MainWindowHarness {
protected:
    void TearDown() override
    {
        PendingAction = nullptr;
        if (Form1) FreeAllInfos(*Form1->TreeView->Items());
        MainWindowHarness::TearDown();
    }

    TTreeNodes& Items() { return *Form1->TreeView->Items(); }

    TTreeNode* Folder(const String& Name)
    {
        auto* info = new TInfo;
        info->Kind = mkFolder;
        info->MacroName = info->NodeText = Name;
        info->ID = NewRecordId();
        return Items().AddObject(nullptr, Name, info);
    }
    TTreeNode* Item(TTreeNode* Parent, std::int32_t Kind, const String& Data,
                    const String& Other = "0", const String& Signal = "")
    {
        auto* info = new TInfo;
        static const char* const TypeTexts[] = {"",
                                                "(NONE)",
                                                "",
                                                "File",
                                                "Data String",
                                                "Delay in ms",
                                                "Delay in seconds",
                                                "Delay in minutes",
                                                "Control Signal"};
        info->Kind = Kind;
        info->MacroType = TypeTexts[Kind];
        info->MacroName = info->NodeText = "item";
        info->LevelMark = '-';
        info->MacroData = Data;
        info->OtherValue = Other;
        info->SignalState = Signal;
        info->ID = NewRecordId();
        SetParentInfo(info, NodeInfo(Parent));
        return Items().AddChildObject(Parent, "item", info);
    }
    static void Select(TTreeNode* Node) { Form1->TreeView->SetSelected(Node); }
    // Connected at 115,200 baud, a file of Size random bytes as the first item of folder "F",
    // selected; its bytes.
    std::string StartOnFileItem(size_t Size, const char* FileName, TTreeNode** FolderOut = nullptr)
    {
        Start(0, 70);
        Form1->Comm1->SetBaudRate(115200);
        const std::string bytes = qv::test::RandomBytes(Size);
        const std::string path = InFolder(FileName);
        WriteTextFile(path, bytes);
        TTreeNode* folder = Folder("F");
        Select(Item(folder, mkFile, path));
        if (FolderOut) *FolderOut = folder;
        return bytes;
    }
    static TTreeNode* Selected() { return Form1->TreeView->Selected(); }

    bool PeerGetsNothingMore() { return line.Read(16, 200ms).empty(); }
    static bool RunButtonsEnabled()
    {
        return Form1->Tr_Send_btn->Enabled() && Form1->Tr_SendNext_btn->Enabled() &&
               Form1->Tr_SendScript_btn->Enabled() && Form1->Tr_SendScriptRpt_btn->Enabled() &&
               !Form1->stop_tbtn->Enabled() && !MacroRun.MacroRunActive;
    }
    std::vector<std::string> ShownTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& d : script.Shown()) texts.push_back(d.Text);
        return texts;
    }
};

TEST_F(MacroRunTest, DataStringSendsItsExpandedBytesThroughTheKeyPath)
{
    Start(1, 70);
    TTreeNode* folder = Folder("F");
    Select(Item(folder, mkDataString, "AB\\0d", "5"));
    Form1->Tr_Send_btnClick(Form1);
    EXPECT_EQ(line.ReadExactly(3, 2s), "\x41\x42\x0D");
    EXPECT_TRUE(PeerGetsNothingMore());
    EXPECT_EQ(Display.BytesOut, 3);
    // Echoed like typed keys.
    EXPECT_EQ(ScreenLines(), (std::vector<std::string>{"AB<0D>"}));
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_TRUE(RunButtonsEnabled());

    // Only a hand-edited list holds a string past the runner's buffer: refused, not cut.
    Select(Item(folder, mkDataString, std::string(MacroStringBufferSize, 'x')));
    Form1->Tr_Send_btnClick(Form1);
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{MacroText::DataTooLong});
    EXPECT_TRUE(PeerGetsNothingMore());
}

TEST_F(MacroRunTest, EscapeErrorsOpenTheEditorWithTheBadCharactersSelected)
{
    Start(0, 70);
    TTreeNode* folder = Folder("F");
    const struct {
        const char* Data;
        const char* Message;
        int Start, Length;
    } cases[] = {{"AB\\4G", EscapeText::InvalidHex, 3, 2},
                 {"xyz\\", EscapeText::Incomplete, 3, 1},
                 {"q\\", EscapeText::Incomplete, 1, 1}};
    for (const auto& c : cases) {
        script.Clear();
        Select(Item(folder, mkDataString, c.Data));
        Form1->Tr_edit_tbn->SetDown(false);
        Form1->Tr_Send_btnClick(Form1);
        ASSERT_EQ(ShownTexts(), std::vector<std::string>{c.Message}) << c.Data;
        EXPECT_EQ(script.Last().DlgType, mtError);
        EXPECT_TRUE(Form1->Tr_edit_tbn->Down());
        EXPECT_EQ(Form1->EditData->Text(), c.Data);
        EXPECT_EQ(Form1->EditData->SelStart(), c.Start) << c.Data;
        EXPECT_EQ(Form1->EditData->SelLength(), c.Length) << c.Data;
    }
    EXPECT_TRUE(PeerGetsNothingMore());
    EXPECT_TRUE(RunButtonsEnabled());
}

TEST_F(MacroRunTest, ScriptStopsInFrontOfABreakpointAndGoesOnOnceItIsRemoved)
{
    Start(0, 70);
    TTreeNode* folder = Folder("F");
    TTreeNode* first = Item(folder, mkDataString, "a");
    TTreeNode* third = Item(folder, mkDataString, "b");
    Item(folder, mkDataString, "c");
    Select(third);
    Form1->TR_breakpnt_btnClick(Form1);
    EXPECT_EQ(third->OverlayIndex(), OverlayBreakpoint);

    Select(folder);
    Form1->Tr_SendScript_btnClick(Form1);
    EXPECT_EQ(line.ReadExactly(1, 2s), "a");
    EXPECT_TRUE(PeerGetsNothingMore());
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{MacroText::BreakpointReached});
    EXPECT_EQ(Selected(), third);
    EXPECT_TRUE(RunButtonsEnabled());

    // Marked nodes take no breakpoint.
    script.Clear();
    Select(first);
    NodeInfo(first)->Deleted = 1;
    Form1->TR_breakpnt_btnClick(Form1);
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{MacroText::BreakpointOnMarked});
    EXPECT_EQ(NodeInfo(first)->Breakpoint, 'N');
    NodeInfo(first)->Deleted = 0;

    script.Clear();
    Form1->Tr_RemBreakpointClick(Form1);
    EXPECT_EQ(NodeInfo(third)->Breakpoint, 'N');
    EXPECT_EQ(third->OverlayIndex(), OverlayNone);
    Select(third);
    Form1->Tr_SendScript_btnClick(Form1);
    EXPECT_EQ(line.ReadExactly(2, 2s), "bc");
    EXPECT_EQ(Selected(), nullptr);
    EXPECT_TRUE(script.Shown().empty());
}

TEST_F(MacroRunTest, SendNextOnTheLastNodeRunsItAndThenReportsNoMoreEntries)
{
    Start(0, 70);
    TTreeNode* folder = Folder("F");
    Item(folder, mkDataString, "1");
    TTreeNode* last = Item(folder, mkDataString, "2");
    Select(last);
    Form1->Tr_SendNext_btnClick(Form1);
    EXPECT_EQ(line.ReadExactly(1, 2s), "2");
    EXPECT_EQ(Selected(), nullptr);
    Form1->Tr_SendNext_btnClick(Form1);
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{MacroText::NoMoreEntries});
    EXPECT_TRUE(PeerGetsNothingMore());
    EXPECT_TRUE(RunButtonsEnabled());
}

TEST_F(MacroRunTest, EndlessScriptOverFoldersOnlyStopsAtTheLoopGuard)
{
    Start(0, 70);
    Folder("A");
    Folder("B");
    Select(Folder("C"));
    Form1->Tr_SendScriptRpt_btnClick(Form1);
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{MacroText::LoopGuardStop});
    EXPECT_EQ(MacroRun.MacroRunState, 1);
    EXPECT_EQ(MacroRun.MacroLoopGuard, MacroLoopGuardStart);
    EXPECT_TRUE(RunButtonsEnabled());
}

TEST_F(MacroRunTest, ARealStepBetweenFoldersLetsTheScriptRunPastFiveHundredFolderSteps)
{
    Start(0, 70);
    // 501 folder steps in all, at most 251 in a row: the item between them (a delay in
    // seconds, which waits for nothing) gives the guard its full count again.
    TTreeNode* first = Folder("0");
    for (int i = 1; i < 250; ++i) Folder(IntToStr(i));
    Item(Folder("250"), mkDelaySecs, "", "1");
    for (int i = 251; i < 501; ++i) Folder(IntToStr(i));
    Select(first);
    Form1->Tr_SendScript_btnClick(Form1);
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_EQ(Selected(), nullptr);  // the walk reached the end
    EXPECT_TRUE(RunButtonsEnabled());
}

TEST_F(MacroRunTest, SendNextNeverRunsANodeWithABreakpoint)
{
    Start(0, 70);
    TTreeNode* stops = Item(Folder("F"), mkDataString, "x");
    Select(stops);
    Form1->TR_breakpnt_btnClick(Form1);
    for (int click = 0; click < 2; ++click) {
        script.Clear();
        Form1->Tr_SendNext_btnClick(Form1);
        EXPECT_EQ(ShownTexts(), std::vector<std::string>{MacroText::BreakpointReached});
        EXPECT_EQ(Selected(), stops);
    }
    EXPECT_TRUE(PeerGetsNothingMore());
    EXPECT_TRUE(RunButtonsEnabled());
}

TEST_F(MacroRunTest, StopDuringALongDelayEndsItAtOnceAndKillsItsTimer)
{
    Start(0, 70);
    TTreeNode* folder = Folder("F");
    Select(Item(folder, mkDelayMs, "", "60000"));
    std::uint32_t timer = 0;
    DuringRun(200, [&] {
        timer = MacroRun.MacroTimer;
        Form1->stop_tbtnClick(Form1->stop_tbtn);
    });
    const auto start = std::chrono::steady_clock::now();
    Form1->Tr_Send_btnClick(Form1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    ASSERT_NE(timer, 0u);
    EXPECT_EQ(MacroRun.MacroTimer.load(), 0u);
    EXPECT_EQ(MacroRun.MacroDelayPending.load(), 0);
    // The timer no longer exists.
    EXPECT_NE(timeKillEvent(timer), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_TRUE(RunButtonsEnabled());
}

TEST_F(MacroRunTest, StopClickedWithTheMouseEndsARunStartedWithTheMouse)
{
    Start(0, 70);
    TTreeNode* waits = Item(Folder("F"), mkDelayMs, "", "60000");
    waits->Parent()->Expand(false);
    Select(waits);
    // The user's press and release, posted to the window under the mouse.
    const auto post = [](TWinControl* Window, LPARAM At, bool Double = false) {
        PostMessageA(Window->Handle(), Double ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, At);
        PostMessageA(Window->Handle(), WM_LBUTTONUP, 0, At);
    };
    const auto centre = [](TControl* c) {
        return MAKELPARAM(c->Left() + c->Width() / 2, c->Top() + c->Height() / 2);
    };
    RECT item{};
    *reinterpret_cast<_TREEITEM**>(&item) = waits->ItemId();
    SendMessageA(Form1->TreeView->Handle(), TVM_GETITEMRECT, TRUE, LPARAM(&item));
    const LPARAM onItem = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    for (const bool doubleClick : {false, true}) {
        bool started = false, ranOn = false;
        DuringRun(10, [&] {
            started = true;
            post(Form1->ToolBar4, centre(Form1->stop_tbtn));
            // A timer fires only after the posted messages: by then Stop has asked the run to
            // end (the run itself may not have looked yet), and a second run of the same
            // double click would have started.
            DuringRun(1, [&] {
                ranOn = MacroRun.MacroRunActive && MacroRun.MacroRunState == 2;
                if (ranOn) Form1->stop_tbtnClick(nullptr);
            });
        });
        if (doubleClick) {
            post(Form1->TreeView, onItem);
            post(Form1->TreeView, onItem, true);
        } else {
            post(Form1->ToolBar4, centre(Form1->Tr_Send_btn));
        }
        ASSERT_TRUE(qv::test::WaitUntil([&] { return started && !PendingAction; }, 10s));
        EXPECT_FALSE(ranOn) << doubleClick;
        EXPECT_TRUE(RunButtonsEnabled());
    }
}

TEST_F(MacroRunTest, ADelayThatCannotRunStopsTheRunWithAMessage)
{
    Start(0, 70);
    TTreeNode* folder = Folder("F");
    for (const char* delay : {"abc", "-5"}) {
        script.Clear();
        Select(Item(folder, mkDelayMs, "", delay));
        Item(folder, mkDataString, "x");
        Form1->Tr_SendScript_btnClick(Form1);
        ASSERT_EQ(script.Shown().size(), 1u) << delay;
        EXPECT_EQ(script.Last().DlgType, mtError);
        EXPECT_NE(script.Last().Text.find(delay), std::string::npos) << script.Last().Text;
        EXPECT_EQ(MacroRun.MacroRunState, 1);
        EXPECT_TRUE(PeerGetsNothingMore()) << delay;
        EXPECT_TRUE(RunButtonsEnabled());
    }
}

TEST_F(MacroRunTest, NoRunStartsInsideARunningOne)
{
    Start(0, 70);
    TTreeNode* folder = Folder("F");
    TTreeNode* waits = Item(folder, mkDelayMs, "", "400");
    TTreeNode* sends = Item(folder, mkDataString, "Z");
    Select(waits);
    bool nestedDone = false;
    DuringRun(50, [&] {
        Select(sends);
        Form1->TreeViewDblClick(Form1->TreeView);
        Form1->Tr_SendScript_btnClick(Form1);
        Form1->Tr_SendNext_btnClick(Form1);
        nestedDone = true;
    });
    Form1->Tr_Send_btnClick(Form1);
    EXPECT_TRUE(nestedDone);
    EXPECT_TRUE(PeerGetsNothingMore());
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_TRUE(RunButtonsEnabled());
}

TEST_F(MacroRunTest, ReloadingTheListInsideARunStopsItBeforeItsNodesGo)
{
    Start(0, 70);
    TTreeNode* folder = Folder("F");
    Select(Item(folder, mkDataString, "ab", "300"));
    Item(folder, mkDataString, "c");
    DuringRun(100, [&] { Form1->ActionLoadMacrosExecute(Form1); });
    Form1->Tr_SendScript_btnClick(Form1);
    // Stopped during the first character's delay: the second one is not sent.
    EXPECT_EQ(line.Read(16, 1s), "a");
    EXPECT_TRUE(PeerGetsNothingMore());
    EXPECT_EQ(Items().Count(), 0);
    EXPECT_EQ(MacroRun.MacroRunState, 1);
    EXPECT_TRUE(RunButtonsEnabled());
}

TEST_F(MacroRunTest, SavingInsideARunStopsItOnlyWhenThePurgeTakesANodeTheRunMayWalk)
{
    Start(0, 70);
    TTreeNode* folder = Folder("F");
    TTreeNode* before = Item(folder, mkDelayMs, "", "10");
    TTreeNode* waits = Item(folder, mkDelayMs, "", "300");
    TTreeNode* after = Item(folder, mkDelayMs, "", "10");
    // Nothing marked; then a marked node the script has passed; then one still ahead of it.
    // (The save frees the marked node: only its address is compared afterwards.)
    for (TTreeNode* marked : {static_cast<TTreeNode*>(nullptr), before, after}) {
        script.Clear();
        if (marked) NodeInfo(marked)->Deleted = 1;
        script.Answer(mrYes);
        bool ranOn = false;
        DuringRun(50, [&] {
            // The user's click on Save Macro List, while the run waits.
            TToolButton* save = Form1->Tr_Save_btn;
            const LPARAM at =
                MAKELPARAM(save->Left() + save->Width() / 2, save->Top() + save->Height() / 2);
            PostMessageA(save->Parent()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageA(save->Parent()->Handle(), WM_LBUTTONUP, 0, at);
            qv::test::PumpMessages();
            ranOn = MacroRun.MacroRunActive && MacroRun.MacroRunState == 2;
            Form1->stop_tbtnClick(nullptr);
        });
        Select(waits);
        Form1->Tr_SendScript_btnClick(Form1);
        EXPECT_EQ(ranOn, marked != after) << (marked == before ? "passed" : "ahead or none");
        EXPECT_TRUE(RunButtonsEnabled());
        if (marked == after) {
            EXPECT_EQ(folder->Count(), 1);
        }
    }
}

TEST_F(MacroRunTest, FileItemArrivesByteExactAndCountsAndIsRefusedDuringAMenuSend)
{
    Start(0, 70);
    std::string bytes;
    for (int i = 0; i < 1500; ++i) bytes += static_cast<char>((i * 37 + i / 7) & 0xFF);
    const std::string path = InFolder("macro_send.bin");
    WriteTextFile(path, bytes);
    TTreeNode* folder = Folder("F");
    TTreeNode* file = Item(folder, mkFile, path);
    Select(file);
    {
        // With no delay after each byte, the file goes in blocks, as Send File sends it.
        qv::test::PortWriteWatch watch;
        Form1->Tr_Send_btnClick(Form1);
        EXPECT_LT(watch.Count(), 100);
    }
    EXPECT_EQ(line.ReadExactly(bytes.size(), 5s), bytes);
    EXPECT_EQ(Display.BytesOut, static_cast<std::int64_t>(bytes.size()));
    EXPECT_EQ(Transfer.FileSend, nullptr);
    EXPECT_FALSE(Form1->pnlSend->Visible());
    EXPECT_TRUE(Form1->reScreen->Enabled());
    EXPECT_EQ(Display.StatusMessageText, "File size: 1500 bytes, Completed:100%");
    EXPECT_TRUE(script.Shown().empty());

    // A send from the menu owns the send state: neither a file nor a data item may start.
    {
        TFileSender menuSend(*Form1, {});
        ASSERT_TRUE(menuSend.Open(path));
        for (TTreeNode* node : {file, Item(folder, mkDataString, "d")}) {
            script.Clear();
            Select(node);
            Form1->Tr_Send_btnClick(Form1);
            EXPECT_EQ(ShownTexts(), std::vector<std::string>{MacroText::SendBusy});
        }
    }
    EXPECT_TRUE(PeerGetsNothingMore());
    EXPECT_EQ(Display.BytesOut, static_cast<std::int64_t>(bytes.size()));
}

// The item's delay follows every byte of the file, one byte a write; the Stop button clicked with
// the mouse halfway ends the send, and no byte is written once the click was handled.
TEST_F(MacroRunTest, AFileItemKeepsItsDelayAfterEveryByteAndStopEndsItWithNothingAfter)
{
    Start(0, 70);
    const std::string bytes = qv::test::RandomBytes(400);
    const std::string path = InFolder("paced_item.bin");
    WriteTextFile(path, bytes);
    TTreeNode* folder = Folder("F");
    TTreeNode* file = Item(folder, mkFile, path, "20");
    folder->Expand(false);
    Select(file);
    const HWND toolBar = Form1->ToolBar4->Handle();
    const LPARAM onStop = MAKELPARAM(Form1->stop_tbtn->Left() + Form1->stop_tbtn->Width() / 2,
                                     Form1->stop_tbtn->Top() + Form1->stop_tbtn->Height() / 2);
    qv::test::ApiPatch patch(&WriteFileSlot, reinterpret_cast<void*>(&NotedWriteFile));
    portWrites = {patch.Original(), GetCurrentThreadId(), {}, 0};
    std::string arrived;
    std::thread device([&] {
        while (arrived.size() < 30) arrived += line.Read(64, 5s);
        PostMessageA(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, onStop);
        PostMessageA(toolBar, WM_LBUTTONUP, 0, onStop);
        for (std::string got; !(got = line.Read(64, 500ms)).empty();) arrived += got;
    });
    Form1->Tr_Send_btnClick(Form1);
    device.join();

    EXPECT_EQ(MacroRun.MacroRunState, 1);
    EXPECT_EQ(portWrites.afterStop, 0);
    ASSERT_GE(arrived.size(), 30u);
    EXPECT_LT(arrived.size(), bytes.size());
    EXPECT_TRUE(arrived == bytes.substr(0, arrived.size()));
    EXPECT_EQ(Display.BytesOut, static_cast<std::int64_t>(arrived.size()));
    // One byte a write, each after the item's 20 ms (the timer's tick may come a little early;
    // a slow machine only makes the pauses longer).
    ASSERT_EQ(portWrites.times.size(), arrived.size());
    for (size_t i = 1; i < portWrites.times.size(); ++i)
        EXPECT_GE(portWrites.times[i] - portWrites.times[i - 1], 0.015) << i;
    EXPECT_EQ(Transfer.FileSend, nullptr);
    EXPECT_FALSE(Form1->pnlSend->Visible());
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_TRUE(RunButtonsEnabled());
}

// A menu dropped down or left armed during a file item held its send for as long.
TEST_F(MacroRunTest, TheLineIsFedWhileAMenuIsDroppedDownOrArmedDuringAFileItem)
{
    const std::string bytes = StartOnFileItem(60000, "menu_item.bin");
    const DWORD mainThread = GetCurrentThreadId();
    const HWND form = Form1->Handle();
    qv::test::PeerReader peer(line, bytes.size());
    qv::test::TMenuHold menu;
    std::thread user([&] {
        if (peer.WaitForMore(2880, 20))
            menu = qv::test::HoldMenuWhileFed(peer, form, mainThread, 2880);
    });
    Form1->Tr_Send_btnClick(Form1);
    user.join();
    EXPECT_TRUE(peer.Finish() == bytes);
    EXPECT_TRUE(menu.Dropped && menu.Armed && menu.Left);
    EXPECT_TRUE(menu.FedDropped);
    EXPECT_TRUE(menu.FedArmed);
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_TRUE(RunButtonsEnabled());
}

// A device pulled out during a file item: only the lost device's box, and the script goes no
// further.
TEST_F(MacroRunTest, ADeviceLostDuringAFileItemShowsOnlyTheLostDeviceBoxAndEndsTheRun)
{
    TTreeNode* folder = nullptr;
    StartOnFileItem(200000, "unplugged_item.bin", &folder);
    Item(folder, mkDataString, "after");
    Item(folder, mkFile, InFolder("unplugged_item.bin"));
    std::thread device([&] {
        size_t got = 0;
        while (got < 5000) got += line.Read(1 << 16, 200ms).size();
        line.Unplug();
    });
    Form1->Tr_SendScript_btnClick(Form1);
    device.join();
    ASSERT_TRUE(qv::test::WaitUntil([] { return !Form1->Comm1->Enabled(); }, 10s));
    const std::vector<std::string> texts = ShownTexts();
    ASSERT_EQ(texts.size(), 1u) << texts.back();
    EXPECT_EQ(texts[0].rfind(MainText::DeviceLostHead + line.PortName(), 0), 0u) << texts[0];
    EXPECT_EQ(MacroRun.MacroRunState, 1);
    EXPECT_EQ(Transfer.FileSend, nullptr);
    EXPECT_TRUE(RunButtonsEnabled());
}

TEST_F(MacroRunTest, EachControlSignalReachesThePeerAndTheLamps)
{
    Start(0, 70);
    TTreeNode* folder = Folder("F");
    const struct {
        const char* Text;
        bool Rts, Dtr;
    } steps[] = {{"RTS ON,  DTR ON", true, true},  {"RTS OFF", false, true},
                 {"DTR OFF", false, false},        {"RTS ON", true, false},
                 {"DTR ON", true, true},           {"RTS OFF, DTR OFF", false, false},
                 {"RTS OFF, DTR ON", false, true}, {"RTS ON,  DTR OFF", true, false},
                 {"RTS OFF, DTR ON", false, true}, {"RTS ON, DTR OFF", false, true}};
    for (const auto& s : steps) {
        Select(Item(folder, mkControlSignal, "", "0", s.Text));
        Form1->Tr_Send_btnClick(Form1);
        EXPECT_EQ(line.Rts(), s.Rts) << s.Text;
        EXPECT_EQ(line.Dtr(), s.Dtr) << s.Text;
        EXPECT_EQ(Form1->LED_RTS->Lit(), s.Rts) << s.Text;
        EXPECT_EQ(Form1->LED_DTR->Lit(), s.Dtr) << s.Text;
    }
    EXPECT_TRUE(script.Shown().empty());

    // On a closed port the step says so and stops the run.
    Form1->Comm1->Close();
    Select(Item(folder, mkControlSignal, "", "0", "RTS ON"));
    Form1->Tr_SendScript_btnClick(Form1);
    EXPECT_EQ(ShownTexts(), std::vector<std::string>{MainText::NotConnected});
    EXPECT_EQ(MacroRun.MacroRunState, 1);
}

}  // namespace
}  // namespace macrorun_test
