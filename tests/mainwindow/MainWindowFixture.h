// What the main window's tests share: a private folder playing the program's folder (its
// settings file and profiles), the program's arguments, the dialog script, and the creation
// and clean-up of the forms in the test's own process.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "framework/FileNames.h"
#include "framework/gui/Application.h"
#include "framework/gui/DialogService.h"
#include "placement/PlacementValues.h"
#include "settings/Properties.h"
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "terminal/MainTexts.h"
#include "terminal/WindowGlobals.h"
#include "tests/support/BenchFonts.h"
#include "tests/support/WaitUntil.h"

namespace mainwindow_test {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int counter = 0;
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "qv_mainwin_" + std::to_string(GetCurrentProcessId()) + "_" +
                  std::to_string(++counter);
        CreateDirectoryA(folder_.c_str(), nullptr);
        // The main window's placement goes to a private key, never the program's own.
        DefCompanyName = "QvMainWindowTest" + std::to_string(GetCurrentProcessId()) + "_" +
                         std::to_string(counter);
        RegDeleteTreeA(HKEY_CURRENT_USER, PlacementCompanyKey().c_str());
        InitMainGlobals();
        SetArguments({});
    }

    void TearDown() override
    {
        // Close the port the way the program does before the window goes, then free the forms.
        if (Form1 && Form1->Comm1->Enabled()) Form1->Comm1->Close();
        while (Application->ComponentCount() > 0)
            delete Application->Components(Application->ComponentCount() - 1);
        Application->ClearTerminated();
        qv::test::PumpMessages();
        Application->ClearTerminated();
        Settings = TSettings{};
        ConnectToggle = 0;
        PortOpen = false;
        RemoveFolder(folder_);
        RegDeleteTreeA(HKEY_CURRENT_USER, PlacementCompanyKey().c_str());
        DefCompanyName.clear();
    }

    // "Software\" + the private company name: the placement key is below it.
    static std::string PlacementCompanyKey() { return "Software\\" + DefCompanyName; }

    // The program's file name as the forms see it (ParamStr(0)): its settings file is
    // "quorvalink.ini" in the test's folder.
    std::string ExePath() const { return folder_ + "\\quorvalink.exe"; }
    std::string SettingsPath() const { return folder_ + "\\quorvalink.ini"; }
    std::string InFolder(const std::string& name) const { return folder_ + "\\" + name; }

    void SetArguments(std::initializer_list<std::string> args)
    {
        std::vector<String> all{ExePath()};
        for (const auto& a : args) all.push_back(a);
        SetProgramArguments(all);
    }

    static void WriteTextFile(const std::string& path, const std::string& text)
    {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
        DWORD written = 0;
        WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(h);
    }

    // A settings or profile file with the given baud rate and port and its general section
    // (no automatic connect unless the test asks for one: the file's default is to connect),
    // naming a screen font the bench has.
    static std::string SettingsText(const std::string& baud, const std::string& port = "COM1",
                                    const std::string& general = "AUTO_CONNECT_ON_START=0\r\n")
    {
        return FontSection() + "[Serial Port Section]\r\nPORT=" + port + "\r\nBAUD=" + baud +
               "\r\nDATA_BITS=8\r\nPARITY=NONE\r\nSTOP_BITS=1\r\n[General Section]\r\n" + general;
    }

    static std::string FontSection(const std::string& name = qv::test::BenchFixedFont)
    {
        return "[Font Section]\r\nFONT_NAME=" + name + "\r\n";
    }

    // Creates the main window through the application, as the program main does.
    void StartMainWindow() { Application->CreateForm(Form1); }

    const TShownDialog* OnlyDialog() const
    {
        EXPECT_EQ(script.Shown().size(), 1u);
        return script.Shown().empty() ? nullptr : &script.Shown().front();
    }

    // A real WM_DROPFILES through the screen's window procedure, with a drop handle built as
    // the shell builds one; returns the handle (freed by the receiver).
    HGLOBAL DropOnScreen(const std::vector<std::string>& files)
    {
        size_t size = sizeof(DROPFILES) + 1;
        for (const auto& f : files) size += f.size() + 1;
        HGLOBAL drop = GlobalAlloc(GHND, size);
        auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = FALSE;
        char* p = reinterpret_cast<char*>(header) + sizeof(DROPFILES);
        for (const auto& f : files) {
            memcpy(p, f.c_str(), f.size() + 1);
            p += f.size() + 1;
        }
        *p = 0;
        GlobalUnlock(drop);
        SendMessageA(Form1->reScreen->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        return drop;
    }

    TDialogScript script;

private:
    static void RemoveFolder(const std::string& folder)
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

    std::string folder_;
};

}  // namespace mainwindow_test
