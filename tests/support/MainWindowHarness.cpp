// The main window harness: the test's folder and registry key made and removed, the forms
// freed and the shared state put back after each test.
#include "tests/support/MainWindowHarness.h"

#include <cstdint>

#include "terminal/MacroRunner.h"

namespace qv::test {
namespace {

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name != "." && name != "..") DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

void MainWindowHarness::SetUp()
{
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "qv_mainwin_" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(++counter);
    CreateDirectoryA(folder_.c_str(), nullptr);
    // The main window's placement goes to a private key, never the program's own.
    DefCompanyName =
        "QvMainWindowTest" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter);
    RegDeleteTreeA(HKEY_CURRENT_USER, PlacementCompanyKey().c_str());
    SetArguments({});
}

void MainWindowHarness::TearDown()
{
    // A capture or send file a test left open is closed.
    Transfer.Reset();
    // Close the port the way the program does before the window goes, then free the forms.
    if (Form1 && Form1->Comm1->Enabled()) Form1->Comm1->Close();
    while (Application->ComponentCount() > 0)
        delete Application->Components(Application->ComponentCount() - 1);
    Application->ClearTerminated();
    PumpMessages();
    Application->ClearTerminated();
    Settings = TSettings{};
    Connection.Reset();
    MacroRun.Reset();
    RemoveFolder(folder_);
    RegDeleteTreeA(HKEY_CURRENT_USER, PlacementCompanyKey().c_str());
    DefCompanyName.clear();
}

std::string MainWindowHarness::PlacementCompanyKey() { return "Software\\" + DefCompanyName; }

void MainWindowHarness::SetArguments(std::initializer_list<std::string> args)
{
    std::vector<String> all{ExePath()};
    for (const auto& a : args) all.push_back(a);
    SetProgramArguments(all);
}

void MainWindowHarness::WriteTextFile(const std::string& path, const std::string& text)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

std::string MainWindowHarness::MakeFile(const std::string& Name, const std::string& Bytes)
{
    const std::string path = InFolder(Name);
    WriteTextFile(path, Bytes);
    return path;
}

std::string MainWindowHarness::SettingsText(const std::string& baud, const std::string& port,
                                            const std::string& general)
{
    return FontSection() + "[Serial Port Section]\r\nPORT=" + port + "\r\nBAUD=" + baud +
           "\r\nDATA_BITS=8\r\nPARITY=NONE\r\nSTOP_BITS=1\r\n[General Section]\r\n" + general;
}

std::string MainWindowHarness::FontSection(const std::string& name)
{
    return "[Font Section]\r\nFONT_NAME=" + name + "\r\n";
}

void MainWindowHarness::StartDisconnected()
{
    WriteTextFile(SettingsPath(), SettingsText("9600"));
    StartMainWindow();
    Form1->Show();
}

void MainWindowHarness::Start(int Mode, int Columns, int Lines, const std::string& MoreDisplay)
{
    const std::string width =
        Columns > 0 ? "\r\nCOLUMNS=" + std::to_string(Columns) + "\r\nAUTO_ADJUST_COLS=0"
                    : std::string("\r\nAUTO_ADJUST_COLS=1");
    WriteTextFile(SettingsPath(), SettingsText("115200") + "[Display Section]\r\nDISPLAY_MODE=" +
                                      std::to_string(Mode) + "\r\nLINES=" + std::to_string(Lines) +
                                      width + "\r\n" + MoreDisplay);
    // One test process may run several tests: the display state starts afresh.
    Display.Reset(TDisplayReset::NewSession);
    StartMainWindow();
    Form1->Show();
    ASSERT_TRUE(script.Shown().empty());
    if (Columns > 0) {
        ASSERT_EQ(Display.CharsPerLine, static_cast<std::uint32_t>(Columns));
    }
    ASSERT_EQ(Display.DisplayMode, Mode);
    ChooseLine();
    Form1->Connect_spbtnClick(Form1);
    ASSERT_TRUE(Form1->Comm1->Enabled());
    Form1->Receive.Reset();
}

void MainWindowHarness::ConnectToLine()
{
    ChooseLine();
    Form1->Connect_spbtnClick(Form1);
    ASSERT_TRUE(Form1->Comm1->Enabled());
    ASSERT_TRUE(WaitUntil([&] { return line.Dtr() && line.Rts(); }));
}

const TShownDialog* MainWindowHarness::OnlyDialog() const
{
    EXPECT_EQ(script.Shown().size(), 1u);
    return script.Shown().empty() ? nullptr : &script.Shown().front();
}

std::vector<TShownDialog> MainWindowHarness::Boxes() const
{
    std::vector<TShownDialog> boxes;
    for (const auto& shown : script.Shown())
        if (shown.Kind != TDialogKind::Common) boxes.push_back(shown);
    return boxes;
}

void MainWindowHarness::ChooseFile(const std::string& Path)
{
    script.AnswerDialog([Path](TCommonDialog& Dialog) {
        static_cast<TOpenDialog&>(Dialog).FileName = Path;
        return true;
    });
}

}  // namespace qv::test
