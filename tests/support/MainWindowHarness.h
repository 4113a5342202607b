// The main window in the test's own process, as every window suite starts from it: a private
// folder playing the program's folder (its settings file and profiles), the program's arguments,
// the dialog script, a virtual line for the peer, and the creation and clean-up of the forms.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "framework/FileNames.h"
#include "framework/gui/Application.h"
#include "placement/PlacementValues.h"
#include "settings/Properties.h"
#include "settings/Settings.h"
#include "terminal/Main.h"
#include "terminal/MainGlobals.h"
#include "terminal/MainTexts.h"
#include "tests/support/BenchFonts.h"
#include "tests/support/DialogScript.h"
#include "tests/support/VirtualLine.h"
#include "tests/support/WaitUntil.h"

namespace qv::test {

class MainWindowHarness : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // "Software\" + the private company name: the placement key is below it.
    static std::string PlacementCompanyKey();

    // The program's file name as the forms see it (ParamStr(0)): its settings file is
    // "quorvalink.ini" in the test's folder.
    std::string ExePath() const { return folder_ + "\\quorvalink.exe"; }
    std::string SettingsPath() const { return folder_ + "\\quorvalink.ini"; }
    std::string InFolder(const std::string& name) const { return folder_ + "\\" + name; }

    void SetArguments(std::initializer_list<std::string> args);

    static void WriteTextFile(const std::string& path, const std::string& text);
    // A file of the test's folder holding Bytes; returns its path.
    std::string MakeFile(const std::string& Name, const std::string& Bytes);

    // A settings or profile file with the given baud rate and port and its general section
    // (no automatic connect unless the test asks for one: the file's default is to connect),
    // naming a screen font the bench has.
    static std::string SettingsText(const std::string& baud, const std::string& port = "COM1",
                                    const std::string& general = "AUTO_CONNECT_ON_START=0\r\n");
    static std::string FontSection(const std::string& name = BenchFixedFont);

    // Creates the main window through the application, as the program main does.
    void StartMainWindow() { Application->CreateForm(Form1); }
    // The main window over the settings file's defaults (9600 8N1, no automatic connect), shown.
    void StartDisconnected();
    // The main window in display mode Mode (0 ASCII/Text, 1 Mixed, 2 Hexadecimal) with Columns
    // characters per screen line (0 for the width fitted to the screen), Lines lines and
    // MoreDisplay's lines in its display section, shown and connected to the line; asserts it got
    // there without a box.
    void Start(int Mode, int Columns, int Lines = 100, const std::string& MoreDisplay = "");

    // Chooses the line in the port combo; ConnectToLine also connects and asserts the port open
    // and its lines raised.
    void ChooseLine() { Form1->PortIndex->SetItemIndex(line.PortNumber() - 1); }
    void ConnectToLine();

    // The one box shown (fails the test when there were none or several).
    const TShownDialog* OnlyDialog() const;
    // The boxes shown (the common dialogs left out).
    std::vector<TShownDialog> Boxes() const;
    // The user picks Path in the open (or save) dialog of the next command.
    void ChooseFile(const std::string& Path);

    TDialogScript script;
    VirtualLine line;

private:
    std::string folder_;
};

}  // namespace qv::test
