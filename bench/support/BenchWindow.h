// The program's main window for a Win32 benchmark: a private folder plays the program's folder,
// its settings file names the virtual line and the installed fixed-pitch font the program's
// start script gives a first run (Wine has no "Terminal": without a font the screen would show a
// stand-in no user runs with), plus whatever else the benchmark needs; the forms start up as the
// program's do, and the window connects.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/FileNames.h"
#include "framework/Streams.h"
#include "framework/gui/Application.h"
#include "terminal/Main.h"
#include "tests/support/BenchFonts.h"
#include "tests/support/VirtualLine.h"

namespace qv::bench {

// Name tells the folder apart; MoreSettings is appended to the settings file; Folder, when
// given, receives the folder (for the benchmark's own files). False (after saying why) when the
// port could not be opened.
inline bool StartConnectedMainWindow(qv::test::VirtualLine& Line, const std::string& Name,
                                     const std::string& MoreSettings = "",
                                     std::string* Folder = nullptr)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string folder =
        std::string(temp) + "qv_" + Name + "_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    if (Folder) *Folder = folder;
    {
        TFileStream file(folder + "\\quorvalink.ini", fmCreate);
        file.WriteString("[Serial Port Section]\r\nPORT=" + Line.PortName() +
                         "\r\nBAUD=115200\r\nDATA_BITS=8\r\nPARITY=NONE\r\nSTOP_BITS=1\r\n"
                         "[General Section]\r\nAUTO_CONNECT_ON_START=0\r\n"
                         "[Font Section]\r\nFONT_NAME=" +
                         qv::test::BenchFixedFont + "\r\n" + MoreSettings);
    }
    const std::vector<String> arguments{folder + "\\quorvalink.exe"};
    SetProgramArguments(arguments);
    Application->CreateForm(Form1);
    Form1->Show();
    Form1->PortIndex->SetItemIndex(Line.PortNumber() - 1);
    Form1->Connect_spbtnClick(Form1);
    if (Form1->Comm1->Enabled()) return true;
    std::printf("could not open %s\n", Line.PortName().c_str());
    return false;
}

}  // namespace qv::bench
