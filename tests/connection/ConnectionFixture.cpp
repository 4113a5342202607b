// The connection tests' main window and line, and the import-table patches.
#include "ConnectionFixture.h"

#include <cstring>

#include "framework/Streams.h"

extern "C" void* CreateFileASlot __asm__("__imp__CreateFileA@28");
extern "C" void* SetCommStateSlot __asm__("__imp__SetCommState@8");
extern "C" void* EscapeCommFunctionSlot __asm__("__imp__EscapeCommFunction@8");

namespace connection_test {
namespace {

// The patches' state: one patch of each kind at a time, on the main thread.
std::string failingPath;
DWORD failingError = 0;
void* realCreateFileA = nullptr;
void* realSetCommState = nullptr;
void* realEscape = nullptr;
DWORD refusedFunction = 0;
int dcbWrites = 0;
DCB lastDcb = {};

HANDLE WINAPI FakeCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                              DWORD disposition, DWORD flags, HANDLE tmpl)
{
    if (name && _stricmp(name, failingPath.c_str()) == 0) {
        SetLastError(failingError);
        return INVALID_HANDLE_VALUE;
    }
    using Fn = HANDLE(WINAPI*)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    return reinterpret_cast<Fn>(realCreateFileA)(name, access, share, sa, disposition, flags, tmpl);
}

BOOL WINAPI RefusedSetCommState(HANDLE, LPDCB)
{
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL WINAPI RefusedEscape(HANDLE h, DWORD function)
{
    if (refusedFunction != 0 && function != refusedFunction) {
        using Fn = BOOL(WINAPI*)(HANDLE, DWORD);
        return reinterpret_cast<Fn>(realEscape)(h, function);
    }
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL WINAPI RecordingSetCommState(HANDLE h, LPDCB dcb)
{
    ++dcbWrites;
    lastDcb = *dcb;
    using Fn = BOOL(WINAPI*)(HANDLE, LPDCB);
    return reinterpret_cast<Fn>(realSetCommState)(h, dcb);
}

}  // namespace

OpenFailure::OpenFailure(const std::string& Path, DWORD Error)
{
    failingPath = Path;
    failingError = Error;
    patch_ =
        std::make_unique<ApiPatch>(&CreateFileASlot, reinterpret_cast<void*>(&FakeCreateFileA));
    realCreateFileA = patch_->Original();
}
OpenFailure::~OpenFailure() = default;

RefuseDcb::RefuseDcb()
    : patch_(std::make_unique<ApiPatch>(&SetCommStateSlot,
                                        reinterpret_cast<void*>(&RefusedSetCommState)))
{
}
RefuseDcb::~RefuseDcb() = default;

RefuseEscape::RefuseEscape(DWORD Function)
{
    refusedFunction = Function;
    patch_ = std::make_unique<ApiPatch>(&EscapeCommFunctionSlot,
                                        reinterpret_cast<void*>(&RefusedEscape));
    realEscape = patch_->Original();
}
RefuseEscape::~RefuseEscape() = default;

DcbRecorder::DcbRecorder()
{
    dcbWrites = 0;
    lastDcb = {};
    patch_ = std::make_unique<ApiPatch>(&SetCommStateSlot,
                                        reinterpret_cast<void*>(&RecordingSetCommState));
    realSetCommState = patch_->Original();
}
DcbRecorder::~DcbRecorder() = default;
int DcbRecorder::Writes() const { return dcbWrites; }
DCB DcbRecorder::Last() const { return lastDcb; }

void ConnectionTest::SetUp()
{
    MainWindowTest::SetUp();
    WriteTextFile(SettingsPath(), SettingsText("9600"));
    StartMainWindow();
    Form1->Show();
    ASSERT_TRUE(script.Shown().empty());
    line = std::make_unique<qv::test::VirtualLine>();
}

void ConnectionTest::TearDown()
{
    delete CaptureFile;
    CaptureFile = nullptr;
    MainWindowTest::TearDown();
    line.reset();
}

void ConnectionTest::ConnectToLine()
{
    ChooseLine();
    Form1->Connect_spbtnClick(Form1);
    ASSERT_TRUE(Form1->Comm1->Enabled());
    ASSERT_TRUE(qv::test::WaitUntil([&] { return line->Dtr() && line->Rts(); }));
}

void ConnectionTest::Choose(TComboBox* Combo, const char* Item)
{
    Combo->SetItemIndex(Combo->Items()->IndexOf(Item));
    ASSERT_EQ(Combo->Text(), Item);
    Combo->OnChange(Combo);
}

bool ConnectionTest::MemoHas(const std::string& Line) const
{
    const String text = "\r\n" + Form1->Memo1->Text() + "\r\n";
    return text.find("\r\n" + Line + "\r\n") != String::npos;
}

void ConnectionTest::ExpectConnectedWindow() const
{
    EXPECT_TRUE(PortOpen);
    EXPECT_EQ(ConnectToggle, 1);
    EXPECT_EQ(Form1->Connect_spbtn->Hint, "Disconnect");
    EXPECT_FALSE(Form1->Connect1_mi->Enabled());
    EXPECT_TRUE(Form1->Disconnect1_mi->Enabled());
    EXPECT_FALSE(Form1->PortIndex->Enabled());
    EXPECT_TRUE(Form1->edtSend->Enabled());
    EXPECT_TRUE(Form1->LED_RTS->Lit());
    EXPECT_TRUE(Form1->LED_DTR->Lit());
}

void ConnectionTest::ExpectDisconnectedWindow() const
{
    EXPECT_FALSE(Form1->Comm1->Enabled());
    EXPECT_FALSE(PortOpen);
    EXPECT_EQ(ConnectToggle, 0);
    EXPECT_EQ(Form1->Connect_spbtn->Hint, "Connect");
    EXPECT_TRUE(Form1->Connect1_mi->Enabled());
    EXPECT_FALSE(Form1->Disconnect1_mi->Enabled());
    EXPECT_TRUE(Form1->PortIndex->Enabled());
    EXPECT_FALSE(Form1->edtSend->Enabled());
    EXPECT_FALSE(Form1->SendData_btn->Enabled());
    EXPECT_EQ(Form1->StatusBar1->Panels(0)->Text(), "Disconnected");
    for (TLEDLabel* lamp : {Form1->LED_RTS, Form1->LED_DTR, Form1->LED_BRK, Form1->LED_CTS,
                            Form1->LED_DSR, Form1->LED_RI, Form1->LED_DCD, Form1->LED_BRKD})
        EXPECT_FALSE(lamp->Lit()) << lamp->Name;
}

}  // namespace connection_test
