// Special Send File on the real main window: repeated passes at the peer, the pause timer's
// life, and the ends of a send (the last repeat, Stop, a disconnect, a timer the system
// refuses).
#include "PacedSendFixture.h"

#include <thread>
// After windows.h, whose types it uses.
#include <mmsystem.h>

extern "C" void* TimeSetEventSlot __asm__("__imp__timeSetEvent@20");
extern "C" void* TimeKillEventSlot __asm__("__imp__timeKillEvent@4");

namespace pacedsend_test {
namespace {

// Counts the timers started and killed while it lives; with Refuse, the system gives none.
struct TimerWatch {
    static inline int started = 0, killed = 0;
    static inline bool refuse = false;
    static inline void* realSet = nullptr;
    static inline void* realKill = nullptr;

    static MMRESULT WINAPI Set(UINT Delay, UINT Resolution, LPTIMECALLBACK Callback, DWORD_PTR User,
                               UINT Flags)
    {
        if (refuse) return 0;
        ++started;
        using Fn = MMRESULT(WINAPI*)(UINT, UINT, LPTIMECALLBACK, DWORD_PTR, UINT);
        return reinterpret_cast<Fn>(realSet)(Delay, Resolution, Callback, User, Flags);
    }
    static MMRESULT WINAPI Kill(UINT Id)
    {
        ++killed;
        return reinterpret_cast<MMRESULT(WINAPI*)(UINT)>(realKill)(Id);
    }

    explicit TimerWatch(bool Refuse = false)
        : set_(&TimeSetEventSlot, reinterpret_cast<void*>(&Set)),
          kill_(&TimeKillEventSlot, reinterpret_cast<void*>(&Kill))
    {
        started = killed = 0;
        refuse = Refuse;
        realSet = set_.Original();
        realKill = kill_.Original();
    }

private:
    qv::test::ApiPatch set_, kill_;
};

std::string Repeated(const std::string& Bytes, size_t Length)
{
    std::string s;
    while (s.size() < Length) s += Bytes;
    return s.substr(0, Length);
}

TEST_F(PacedSendTest, ThreeRepeatsArriveAsThreeCopiesEachFromZeroPercentWithoutASuccessBox)
{
    const std::string bytes = RandomBytes(40);
    const std::string path = MakeFile("three.bin", bytes);
    TimerWatch timers;
    PortWriteWatch watch;
    PeerReader peer(line, 3 * bytes.size());
    PacedSendThroughMenu(path, "10", 3);

    EXPECT_TRUE(peer.Finish() == bytes + bytes + bytes);
    EXPECT_EQ(BytesSent(), 120);
    // One timer per byte, each killed after its tick.
    EXPECT_EQ(TimerWatch::started, 120);
    EXPECT_EQ(TimerWatch::killed, 120);
    EXPECT_EQ(Form1->SendTimerId, 0u);
    // Every pass starts at 0 % and climbs in twentieths.
    const std::vector<std::string> texts = watch.StatusTexts();
    ASSERT_EQ(texts.size(), 60u);
    for (size_t pass = 0; pass < 3; ++pass) {
        EXPECT_EQ(texts[20 * pass], "File size: 40 bytes, Completed: 0%");
        EXPECT_EQ(texts[20 * pass + 19], "File size: 40 bytes, Completed:95%");
    }
    EXPECT_EQ(Display.StatusMessageText, "File size: 40 bytes, Completed:100%");
    EXPECT_EQ(Form1->edtFile->Text(), "Sending file, " + path);
    EXPECT_TRUE(Boxes().empty());
    ExpectIdleWindow();
}

// A menu dropped down or left armed during the send held it for as long, with and without the
// pause after each byte.
TEST_F(PacedSendTest, TheLineIsFedWhileAMenuIsDroppedDownOrArmedWithAndWithoutADelay)
{
    Form1->Comm1->SetBaudRate(115200);
    const DWORD mainThread = GetCurrentThreadId();
    const HWND form = Form1->Handle();
    for (const char* delay : {"10", "0"}) {
        script.Clear();
        const bool paced = std::string(delay) != "0";
        // About a second of each: 100 bytes paced, 11,520 at the line's rate.
        const size_t more = paced ? 10 : 2880;
        const std::string bytes = RandomBytes(paced ? 200 : 60000);
        const std::string path = MakeFile("menu.bin", bytes);
        qv::test::PeerReader peer(line, bytes.size());
        qv::test::TMenuHold menu;
        std::thread user([&] {
            if (peer.WaitForMore(more, 20))
                menu = qv::test::HoldMenuWhileFed(peer, form, mainThread, more);
        });
        PacedSendThroughMenu(path, delay, 1);
        user.join();
        EXPECT_TRUE(peer.Finish() == bytes) << delay;
        EXPECT_TRUE(menu.Dropped && menu.Armed && menu.Left) << delay;
        EXPECT_TRUE(menu.FedDropped) << delay;
        EXPECT_TRUE(menu.FedArmed) << delay;
        EXPECT_TRUE(Boxes().empty()) << delay;
        ExpectIdleWindow();
    }
}

TEST_F(PacedSendTest, NoRepeatCountSendsAgainAndAgainUntilStop)
{
    const std::string bytes = RandomBytes(50);
    const std::string path = MakeFile("loop.bin", bytes);
    PeerReader peer(line, 1 << 20, 10 * bytes.size(), Form1->miStopSending->Command());
    PacedSendThroughMenu(path, "0", 0);
    const std::string arrived = peer.Finish();

    EXPECT_GE(arrived.size(), 10 * bytes.size());
    EXPECT_TRUE(arrived == Repeated(bytes, arrived.size()));
    EXPECT_EQ(BytesSent(), std::int64_t(arrived.size()));
    EXPECT_TRUE(Boxes().empty());
    ExpectIdleWindow();
}

TEST_F(PacedSendTest, DisconnectDuringEndlessTimedPassesEndsTheSendAndKillsItsTimer)
{
    const std::string bytes = RandomBytes(100);
    const std::string path = MakeFile("cut.bin", bytes);
    TimerWatch timers;
    PeerReader peer(line, 1 << 20, 30, Form1->Disconnect1_mi->Command());
    PacedSendThroughMenu(path, "20", 0);
    const std::string arrived = peer.Finish();

    EXPECT_FALSE(Connection.PortOpen);
    EXPECT_GE(arrived.size(), 30u);
    EXPECT_LT(arrived.size(), bytes.size());
    EXPECT_TRUE(arrived == bytes.substr(0, arrived.size()));
    EXPECT_EQ(TimerWatch::started, TimerWatch::killed);
    EXPECT_EQ(Form1->SendTimerId, 0u);
    EXPECT_TRUE(Boxes().empty());
    ExpectIdleWindow();
}

TEST_F(PacedSendTest, ClosingTheWindowDuringEndlessTimedPassesEndsTheSendAndItsTimer)
{
    const std::string bytes = RandomBytes(100);
    const std::string path = MakeFile("closed.bin", bytes);
    TimerWatch timers;
    script.Answer(mrYes);  // "You are currently connected ... disconnect now?"
    PeerReader peer(line, 1 << 20, 30, Form1->FileExit->Command());
    PacedSendThroughMenu(path, "20", 0);
    const std::string arrived = peer.Finish();

    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(Connection.PortOpen);
    EXPECT_LT(arrived.size(), bytes.size());
    EXPECT_TRUE(arrived == bytes.substr(0, arrived.size()));
    EXPECT_EQ(TimerWatch::started, TimerWatch::killed);
    EXPECT_EQ(Form1->SendTimerId, 0u);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].Text, MainText::DisconnectQuestion);
    EXPECT_EQ(Transfer.FileSend, nullptr);
}

std::int64_t OutBeforeLoss = 0;

// Drops the mark only once a few bytes of the send went out, however slowly the send started.
void CALLBACK LoseThePortMark(HWND, UINT, UINT_PTR, DWORD)
{
    if (Transfer.FileSend && Display.BytesOut - OutBeforeLoss >= 5) Connection.PortOpen = 0;
}

// With the port marked closed but the send not ended, every pass sent nothing and the next
// began at once: a loop that never ended and never slept.
TEST_F(PacedSendTest, APortMarkedClosedWithoutTheDisconnectEndsEndlessPasses)
{
    const std::string bytes = RandomBytes(100);
    const std::string path = MakeFile("lost.bin", bytes);
    OutBeforeLoss = Display.BytesOut;
    const UINT_PTR lose = SetTimer(nullptr, 0, 20, LoseThePortMark);
    PeerReader peer(line, 1 << 20);
    PacedSendThroughMenu(path, "10", 0);
    KillTimer(nullptr, lose);
    const std::string arrived = peer.Finish();
    Connection.PortOpen = 1;

    EXPECT_GE(arrived.size(), 5u);
    EXPECT_TRUE(arrived == Repeated(bytes, arrived.size()));
    EXPECT_TRUE(Boxes().empty());
    ExpectIdleWindow();
}

// A pause with no timer used to wait for a tick that never came, and Stop could not end it.
TEST_F(PacedSendTest, APauseWithNoTimerEndsTheSendWithAMessage)
{
    const std::string bytes = RandomBytes(40);
    const std::string path = MakeFile("notimer.bin", bytes);
    for (const bool refused : {true, false}) {
        script.Clear();
        TimerWatch timers(refused);
        PeerReader peer(line, bytes.size());
        if (refused) {
            PacedSendThroughMenu(path, "10", 1);
        } else {
            // A delay of 1 ms asks for a timer period of 0.
            AnswerOptions([](TAdvSendFile_dlg& Dialog) {
                Dialog.InterchDly_index->Items()->Add("1");
                Dialog.InterchDly_index->SetItemIndex(Dialog.InterchDly_index->Items()->Count() -
                                                      1);
                Dialog.sbtnOK->Click();
            });
            ChooseFile(path);
            Form1->miSpxSendFileBinaryClick(Form1);
        }
        EXPECT_EQ(peer.Finish(), bytes.substr(0, 1));
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].Text, "Sending stopped: the system gave no timer for a pause of " +
                                     std::string(refused ? "10" : "1") +
                                     " ms after each character.\n1 of 40 bytes sent from file:\n" +
                                     path);
        EXPECT_EQ(boxes[0].DlgType, mtError);
        EXPECT_EQ(TimerWatch::started, TimerWatch::killed);
        ExpectIdleWindow();
    }
}

TEST_F(PacedSendTest, AnEmptyFileSentEndlesslyWarnsOnceAndEnds)
{
    const std::string path = MakeFile("empty.bin", "");
    PacedSendThroughMenu(path, "0", 0);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "File: " + path + " is empty\n0 bytes sent.");
    EXPECT_EQ(boxes[0].DlgType, mtWarning);
    EXPECT_EQ(BytesSent(), 0);
    ExpectIdleWindow();
}

TEST_F(PacedSendTest, WithThePortClosedItSaysNotConnectedAndAsksNothing)
{
    Form1->Connect_spbtnClick(Form1);
    script.Clear();
    Form1->miSpxSendFileBinaryClick(Form1);
    ASSERT_EQ(script.Shown().size(), 1u);
    EXPECT_EQ(script.Last().Text, MainText::NotConnected);
    EXPECT_FALSE(AdvSendFile_dlg->Visible());
    EXPECT_EQ(Transfer.FileSend, nullptr);
}

}  // namespace
}  // namespace pacedsend_test
