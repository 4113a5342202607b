// The settings file: defaults, clamps, value forms, the layout written, and failure messages.
#include <gtest/gtest.h>

#include <vector>

#include "settings/Properties.h"
#include "tests/support/TempFolder.h"

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { Settings = TSettings{}; }

    TShowSettingsMessage Recorder()
    {
        return [this](const String& text) { Messages.push_back(text); };
    }
    void Load(const String& text)
    {
        WriteFileBytes(File, text);
        LoadSettings(File, Recorder());
    }
    String Save()
    {
        SaveSettings(File, Recorder());
        return ReadFileBytes(File);
    }

    TTempFolder Dir;
    String File = Dir.File("quorvalink.ini");
    std::vector<String> Messages;
};

const char* const NewFileLayout =
    "[Serial Port "
    "Section]\r\nPORT=COM1\r\nBAUD=9600\r\nDATA_BITS=8\r\nPARITY=NONE\r\nSTOP_BITS=1\r\n"
    "[Display Section]\r\nLINES=100\r\nCOLUMNS=70\r\nSPACES_FOR_TAB=4\r\nDISPLAY_MODE=0\r\n"
    "SHOW_INPUT_ONLY=0\r\nNEW_LINE_ON_CR=1\r\nNEW_LINE_ON_LF=1\r\nAUTO_ADJUST_COLS=1\r\n"
    "[Error Section]\r\nCHECK_PARITY=0\r\n"
    "[General "
    "Section]\r\nAUTO_CONNECT_ON_KEYPRESS=1\r\nAUTO_CONNECT_ON_START=1\r\nSTRING_ENTRY_PANE_"
    "VISIBLE=1\r\n"
    "[String Entry Section]\r\nSTRING_ENTRY_PANE=\r\n"
    "[Font Section]\r\nFONT_NAME=Terminal\r\nFONT_SIZE=14\r\nFONT_CHARSET=1\r\nFONT_STYLE=0\r\n";

}  // namespace

TEST_F(SettingsFile, MissingFileLoadsEveryDefaultSilently)
{
    Settings.ConfigFileName = "kept";
    Settings.Accepted = true;
    LoadSettings(Dir.File("missing.ini"), Recorder());
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(Settings.Port, "COM1");
    EXPECT_EQ(Settings.Baud, "9600");
    EXPECT_EQ(Settings.DataBits, "8");
    EXPECT_EQ(Settings.Parity, "NONE");
    EXPECT_EQ(Settings.StopBits, "1");
    EXPECT_EQ(Settings.Lines, 100);
    EXPECT_EQ(Settings.Columns, 70);
    EXPECT_EQ(Settings.SpacesForTab, 4);
    EXPECT_EQ(Settings.DisplayMode, 0);
    EXPECT_FALSE(Settings.ShowInputOnly);
    EXPECT_TRUE(Settings.NewLineOnCR);
    EXPECT_TRUE(Settings.NewLineOnLF);
    EXPECT_TRUE(Settings.AutoAdjustCols);
    EXPECT_FALSE(Settings.CheckParity);
    EXPECT_EQ(Settings.ParityReplaceCh, '?');
    EXPECT_TRUE(Settings.AutoConnectOnKeypress);
    EXPECT_TRUE(Settings.AutoConnectOnStart);
    EXPECT_TRUE(Settings.StringEntryPaneVisible);
    EXPECT_EQ(Settings.StringEntryPane, "");
    EXPECT_EQ(Settings.FontName, "Terminal");
    EXPECT_EQ(Settings.FontSize, 14);
    EXPECT_EQ(Settings.FontCharset, 1);
    EXPECT_TRUE(Settings.FontStyle.Empty());
    EXPECT_EQ(Settings.ConfigFileName, "kept");
    EXPECT_TRUE(Settings.Accepted);
    EXPECT_FALSE(std::filesystem::exists(Dir.File("missing.ini")));
}

TEST_F(SettingsFile, EmptyAndBinaryFilesLoadDefaultsSilently)
{
    TSettings expected = DefaultSettings();
    Load("");
    EXPECT_EQ(Settings, expected);
    String bytes;
    for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 97 + 5) & 0xFF);
    Load(bytes);
    EXPECT_EQ(Settings, expected);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(SettingsFile, EveryClampHoldsAtAndBeyondItsBounds)
{
    struct Case {
        const char* key;
        const char* section;
        std::int32_t TSettings::*field;
        int in;
        int out;
    };
    const Case cases[] = {
        {"LINES", "Display Section", &TSettings::Lines, 1, 2},
        {"LINES", "Display Section", &TSettings::Lines, 2, 2},
        {"LINES", "Display Section", &TSettings::Lines, 200, 200},
        {"LINES", "Display Section", &TSettings::Lines, 500, 200},
        {"LINES", "Display Section", &TSettings::Lines, -2147483647 - 1, 2},
        {"COLUMNS", "Display Section", &TSettings::Columns, 3, 4},
        {"COLUMNS", "Display Section", &TSettings::Columns, 4, 4},
        {"COLUMNS", "Display Section", &TSettings::Columns, 90, 90},
        {"COLUMNS", "Display Section", &TSettings::Columns, 91, 90},
        {"FONT_SIZE", "Font Section", &TSettings::FontSize, 7, 8},
        {"FONT_SIZE", "Font Section", &TSettings::FontSize, 8, 8},
        {"FONT_SIZE", "Font Section", &TSettings::FontSize, 48, 48},
        {"FONT_SIZE", "Font Section", &TSettings::FontSize, 49, 48},
    };
    for (const Case& c : cases) {
        Load(String("[") + c.section + "]\n" + c.key + "=" + std::to_string(c.in) + "\n");
        EXPECT_EQ(Settings.*c.field, c.out) << c.key << "=" << c.in;
    }
}

TEST_F(SettingsFile, IntegersAreDecimalOrHexAndJunkGivesTheDefault)
{
    Load("[Display Section]\nLINES=0x10\nCOLUMNS=0X1e\nSPACES_FOR_TAB=abc\n[Font "
         "Section]\nFONT_SIZE=12pt\n");
    EXPECT_EQ(Settings.Lines, 16);
    EXPECT_EQ(Settings.Columns, 30);
    EXPECT_EQ(Settings.SpacesForTab, 4);
    EXPECT_EQ(Settings.FontSize, 14);
    Load("[Display Section]\nLINES=abc\n");
    EXPECT_EQ(Settings.Lines, 100);
}

TEST_F(SettingsFile, DisplayModeAndSpacesForTabAreTakenAndStoredUnchanged)
{
    Load("[Display Section]\nDISPLAY_MODE=7\nSPACES_FOR_TAB=0\n");
    EXPECT_EQ(Settings.DisplayMode, 7);
    EXPECT_EQ(Settings.SpacesForTab, 0);
    Settings.SpacesForTab = 1000;
    String text = Save();
    EXPECT_NE(text.find("SPACES_FOR_TAB=1000\r\n"), String::npos);
    EXPECT_NE(text.find("DISPLAY_MODE=7\r\n"), String::npos);
    EXPECT_EQ(ClampSpacesForTab(0), 1);
    EXPECT_EQ(ClampSpacesForTab(1000), 40);
    EXPECT_EQ(ClampSpacesForTab(8), 8);
}

TEST_F(SettingsFile, BooleansAreNonZeroIntegersAndSaveAsOneOrZero)
{
    Load("[Display Section]\nSHOW_INPUT_ONLY=2\nNEW_LINE_ON_CR=0\nNEW_LINE_ON_LF=0x0\n[Error "
         "Section]\nCHECK_PARITY=-1\n");
    EXPECT_TRUE(Settings.ShowInputOnly);
    EXPECT_FALSE(Settings.NewLineOnCR);
    EXPECT_FALSE(Settings.NewLineOnLF);
    EXPECT_TRUE(Settings.CheckParity);
    String text = Save();
    EXPECT_NE(text.find("SHOW_INPUT_ONLY=1\r\n"), String::npos);
    EXPECT_NE(text.find("CHECK_PARITY=1\r\n"), String::npos);
}

TEST_F(SettingsFile, FontStyleKeepsOnlyBoldAndItalic)
{
    Load("[Font Section]\nFONT_STYLE=3\nFONT_CHARSET=258\n");
    EXPECT_EQ(Settings.FontStyle, (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(Settings.FontCharset, 2);
    Load("[Font Section]\nFONT_STYLE=4\n");
    EXPECT_TRUE(Settings.FontStyle.Empty());
    Settings.FontStyle = TFontStyles{fsBold, fsUnderline};
    EXPECT_NE(Save().find("FONT_STYLE=1\r\n"), String::npos);
}

TEST_F(SettingsFile, ParityReplacementIsReadButNeverWritten)
{
    Load("[Error Section]\nPARITY_REPLACE_CH=291\n");
    EXPECT_EQ(Settings.ParityReplaceCh, '#');
    Settings.ParityReplaceCh = '*';
    EXPECT_NE(Save().find("PARITY_REPLACE_CH=291\r\n"), String::npos);
    std::filesystem::remove(File);
    EXPECT_EQ(Save().find("PARITY_REPLACE_CH"), String::npos);
}

TEST_F(SettingsFile, NewFileHoldsTheSixSectionsInOrder)
{
    Settings = DefaultSettings();
    EXPECT_EQ(Save(), NewFileLayout);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(SettingsFile, AProfileTextIsTheNewFileLayoutWithTheClampsOfASave)
{
    Settings = DefaultSettings();
    EXPECT_EQ(SettingsFileText(), NewFileLayout);
    Settings.Lines = 1;
    EXPECT_NE(SettingsFileText().find("LINES=2\r\n"), String::npos);
    EXPECT_EQ(Settings.Lines, 2);
}

TEST_F(SettingsFile, SavingClampsTheRecordItself)
{
    Settings = DefaultSettings();
    Settings.Lines = 300;
    Settings.Columns = 1;
    Settings.FontSize = 100;
    String text = Save();
    EXPECT_NE(text.find("LINES=200\r\nCOLUMNS=4\r\n"), String::npos);
    EXPECT_NE(text.find("FONT_SIZE=48\r\n"), String::npos);
    EXPECT_EQ(Settings.Lines, 200);
    EXPECT_EQ(Settings.Columns, 4);
    EXPECT_EQ(Settings.FontSize, 48);
}

TEST_F(SettingsFile, SavingIntoAnExistingFileKeepsItsOtherLines)
{
    WriteFileBytes(File,
                   "; my settings\n[Serial Port Section]\nPORT=COM9\nEXTRA=keep\n\n[Mine]\nx=1\n");
    Settings = DefaultSettings();
    Settings.Port = "COM4";
    String text = Save();
    EXPECT_EQ(text.substr(0, text.find("[Mine]")),
              "; my settings\r\n[Serial Port "
              "Section]\r\nPORT=COM4\r\nEXTRA=keep\r\nBAUD=9600\r\nDATA_BITS=8\r\n"
              "PARITY=NONE\r\nSTOP_BITS=1\r\n\r\n");
    EXPECT_EQ(text.substr(text.find("[Mine]"), 15), "[Mine]\r\nx=1\r\n[D");
}

TEST_F(SettingsFile, TextValuesRoundTripWithBlanksAndQuotes)
{
    const String texts[] = {"  spaced  ", "\"quoted\"",     "'single'",       "a=b;c",
                            "\"",         String(300, '#'), String(2047, 'z')};
    for (const String& t : texts) {
        Settings = DefaultSettings();
        Settings.StringEntryPane = t;
        Settings.FontName = t;
        Save();
        Settings = TSettings{};
        LoadSettings(File, Recorder());
        EXPECT_EQ(Settings.StringEntryPane, t);
        EXPECT_EQ(Settings.FontName, t);
    }
    Load("[String Entry Section]\nSTRING_ENTRY_PANE=" + String(3000, 'q') + "\n");
    EXPECT_EQ(Settings.StringEntryPane, String(2047, 'q'));
}

TEST_F(SettingsFile, PartialDuplicateAndMixedLineEndFilesLoadLikeTheProfileReader)
{
    Load("[Display Section]\r\nLINES=50\r\nLINES=60\n[Serial Port Section]\rBAUD=19200\r\n[display "
         "section]\nCOLUMNS=20\n");
    EXPECT_EQ(Settings.Lines, 50);
    EXPECT_EQ(Settings.Baud, "19200");
    EXPECT_EQ(Settings.Columns, 70);  // only the first of duplicate sections counts
    EXPECT_EQ(Settings.Port, "COM1");
    EXPECT_TRUE(Messages.empty());
}

TEST_F(SettingsFile, ExportThenImportGivesAnIdenticalRecord)
{
    TSettings s = DefaultSettings();
    s.StringEntryPane = " send me \"now\" ";
    s.Port = "COM17";
    s.Baud = "115200";
    s.Parity = "EVEN";
    s.DataBits = "7";
    s.StopBits = "2";
    s.ConfigFileName = "C:\\last.qvp";
    s.Lines = 2;
    s.Columns = 90;
    s.SpacesForTab = 40;
    s.DisplayMode = 2;
    s.ShowInputOnly = true;
    s.NewLineOnCR = false;
    s.NewLineOnLF = false;
    s.AutoAdjustCols = false;
    s.CheckParity = true;
    s.AutoConnectOnKeypress = false;
    s.AutoConnectOnStart = false;
    s.StringEntryPaneVisible = false;
    s.FontName = "Courier New";
    s.FontCharset = 255;
    s.FontSize = 48;
    s.FontStyle = TFontStyles{fsBold, fsItalic};
    s.Accepted = true;
    Settings = s;
    Save();
    Settings = s;
    Settings.Port = "changed";
    LoadSettings(File, Recorder());
    s.ParityReplaceCh = '?';  // never written, so a fresh profile gives the default
    EXPECT_EQ(Settings, s);
    EXPECT_TRUE(Messages.empty());
}

TEST_F(SettingsFile, UnreadableFileShowsTheMessageAndLoadsDefaults)
{
    std::filesystem::create_directory(File);
    Settings.Port = "COM5";
    Settings.FontStyle = TFontStyles{fsBold};
    Settings.ConfigFileName = "named";
    Settings.Accepted = true;
    LoadSettings(File, Recorder());
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0],
              "Warning - Defaults loaded. Failed to read configuration file:\n" + File);
    TSettings expected = DefaultSettings();
    expected.ConfigFileName = "named";
    expected.Accepted = true;
    EXPECT_EQ(Settings, expected);
}

TEST_F(SettingsFile, ReadOnlyFileShowsTheMessageAndStaysUntouched)
{
    WriteFileBytes(File, "[Display Section]\nLINES=50\n");
    SetReadOnly(File, true);
    Settings = DefaultSettings();
    Settings.Lines = 300;
    SaveSettings(File, Recorder());
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], "Failed to write to configuration file:\n" + File);
    EXPECT_EQ(ReadFileBytes(File), "[Display Section]\nLINES=50\n");
    EXPECT_EQ(Settings.Lines, 300);  // the first key failed, before the clamps
    EXPECT_EQ(Dir.EntryCount(), 1u);
}

TEST_F(SettingsFile, MissingFolderShowsTheMessageAndCreatesNothing)
{
    String name = Dir.File("gone/profile.qvp");
    Settings = DefaultSettings();
    SaveSettings(name, Recorder());
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], "Failed to write to configuration file:\n" + name);
    EXPECT_EQ(Dir.EntryCount(), 0u);
}

TEST(SettingsTexts, BadSettingsWarningNamesTheFile)
{
    EXPECT_EQ(BadSettingsMessage("C:\\q.ini"),
              "Incorrect settings found for some options in configuration file:\nC:\\q.ini\n\n"
              "These options will be set to use defaults.");
}
