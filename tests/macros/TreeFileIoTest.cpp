// The macro list file: the bytes it writes, what a load builds from them, the header bounds,
// and the lines a reader must not turn into nodes; a failed save keeps the old list.
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "MacroTestSupport.h"
#include "macros/TreeFileTexts.h"
#include "tests/support/TempFolder.h"

namespace {
class TreeFile : public ::testing::Test {
protected:
    ScriptedTreeServices services;
    TTempFolder folder;
    FakePane pane;
    MacroTree tree;
    TMacroListFile file{tree.Items, pane, folder.File(MacroListFileName)};

    std::string Saved()
    {
        EXPECT_TRUE(file.SaveMacroList());
        return ReadFileBytes(file.FileName());
    }
    void Load(const std::string& bytes)
    {
        WriteFileBytes(file.FileName(), bytes);
        file.LoadMacroList();
    }
    std::vector<std::string> Labels()
    {
        std::vector<std::string> out;
        for (TTreeNode* n = tree.Items.GetFirstNode(); n; n = n->GetNext())
            out.push_back(std::string(static_cast<size_t>(n->Level()), '-') + n->Text());
        return out;
    }
};

TInfo Item(const char* name, const char* type, const char* description, const char* other,
           const char* signal, const char* data)
{
    TInfo info;
    info.MacroName = name;
    info.MacroType = type;
    info.Description = description;
    info.OtherValue = other;
    info.SignalState = signal;
    info.MacroData = data;
    return info;
}

const std::string ModemList = "[MACRO_LIST]\r\n"
                              "!|_1|_1|_260|_320\r\n"
                              "+|_Modem|_|_AT commands|_|_|_\r\n"
                              "-|_Reset|_Data String|_Send ATZ|_100|_|_ATZ\\r\r\n"
                              "-|_Raise RTS|_Control Signal|_|_|_RTS ON|_\r\n";
}  // namespace

TEST_F(TreeFile, TheModemListIsWrittenByteForByte)
{
    TTreeNode* modem = file.AddMacroFolder("Modem", "AT commands");
    file.AddMacroItem(modem, Item("Reset", "Data String", "Send ATZ", "100", "", "ATZ\\r"));
    file.AddMacroItem(modem, Item("Raise RTS", "Control Signal", "", "", "RTS ON", ""));
    tree.Items.AddChild(modem, "a node without a record is not written");
    EXPECT_EQ(Saved(), ModemList);
}

TEST_F(TreeFile, LoadingTheModemListBuildsTheFolderItsItemsAndThePane)
{
    pane = FakePane{};
    pane.Shown = pane.SideSplitter = pane.Descriptions = false;
    Load(ModemList);
    EXPECT_EQ(pane.Calls, std::vector<std::string>{"show"});
    EXPECT_TRUE(pane.Descriptions);
    EXPECT_EQ(pane.Top, 260);
    EXPECT_EQ(pane.Width, 320);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Modem, AT commands  (2)", "-Reset, Send ATZ",
                                                  "-Raise RTS"}));
    TTreeNode* modem = tree.Items.GetFirstNode();
    TInfo* reset = NodeInfo(modem->Item(0));
    EXPECT_EQ(NodeInfo(modem)->Kind, mkFolder);
    EXPECT_EQ(NodeInfo(modem)->ParentFolder, nullptr);
    EXPECT_EQ(reset->ParentFolder, NodeInfo(modem));
    EXPECT_EQ(reset->MacroData, "ATZ\\r");
    EXPECT_EQ(reset->OtherValue, "100");
    EXPECT_EQ(reset->Breakpoint, 'N');
    EXPECT_EQ(reset->Kind, 0);  // set by the icon refresh that follows a load
    EXPECT_EQ(reset->NodeText, "Reset, Send ATZ");
    EXPECT_EQ(NodeInfo(modem->Item(1))->SignalState, "RTS ON");
    EXPECT_NE(NodeInfo(modem)->ID, reset->ID);
}

TEST_F(TreeFile, HeaderSizesOutsideTheirBoundsTakeTheDefaultsBothWays)
{
    const struct {
        int value, top, width;
    } cases[] = {{0, 251, 200},    {100, 251, 200}, {101, 101, 200}, {170, 170, 200},
                 {171, 171, 171},  {499, 499, 499}, {500, 251, 500}, {999, 251, 999},
                 {1000, 251, 200}, {-5, 251, 200}};
    for (const auto& c : cases) {
        const std::string n = std::to_string(c.value);
        Load("!|_1|_0|_" + n + "|_" + n + "\r\n");
        EXPECT_EQ(pane.Top, c.top) << c.value;
        EXPECT_EQ(pane.Width, c.width) << c.value;
        pane.Top = pane.Width = c.value;
        EXPECT_EQ(Saved(), "[MACRO_LIST]\r\n!|_1|_0|_" + std::to_string(c.top) + "|_" +
                               std::to_string(c.width) + "\r\n")
            << c.value;
    }
}

TEST_F(TreeFile, AHeaderWithoutValuesHidesThePaneAndNoHeaderChangesNothing)
{
    Load("[MACRO_LIST]\r\n");
    EXPECT_TRUE(pane.Calls.empty());
    EXPECT_EQ(pane.Top, 260);
    Load("!\r\n");
    EXPECT_EQ(pane.Calls, std::vector<std::string>{"hide"});
    EXPECT_FALSE(pane.Descriptions);
    EXPECT_EQ(pane.Top, 251);
    EXPECT_EQ(pane.Width, 200);
    EXPECT_EQ(Saved(), "[MACRO_LIST]\r\n!|_0|_0|_0|_0\r\n");  // hidden: no sizes
    Load("!|_1|_1|_0x1F0|_ 300\r\n");                         // not decimal numbers
    EXPECT_EQ(pane.Top, 251);
    EXPECT_EQ(pane.Width, 200);
}

TEST_F(TreeFile, ItemsBeforeAnyFolderAreRootsAndDeeperNodesComeBackFlattened)
{
    Load("-|_Loose|_File|_|_|_|_c:\\a.bin\n+|_F\n-|_a\n");
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Loose", "F  (1)", "-a"}));
    EXPECT_EQ(NodeInfo(tree.Items.GetFirstNode())->ParentFolder, nullptr);

    TTreeNode* a = tree.Items.Item(2);
    file.AddMacroItem(a, Item("deep", "", "", "", "", ""));  // level 2
    const std::string saved = Saved();
    FreeAllInfos(tree.Items);
    Load(saved);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"Loose", "F  (2)", "-a", "-deep"}));
}

TEST_F(TreeFile, OverLongLinesAreSkippedWholeAndLineEndsFromElsewhereAreRead)
{
    const std::string longest = "-|_" + std::string(MacroListLineLimit - 3, 'x');
    const std::string tooLong = "-|_" + std::string(MacroListLineLimit - 2, 'y');
    // The tail of the over-long line would read as a node line of its own.
    const std::string sneaky = "+|_" + std::string(MacroListLineLimit, 'z') + "-|_tail\r\n";
    Load("+|_F\r\n" + longest + "\r\n" + tooLong + "\n" + tooLong + "\r\n" + sneaky + "-|_b\r" +
         "\n-|_c\n\n" + tooLong);
    ASSERT_EQ(tree.Items.Count(), 4);
    EXPECT_EQ(NodeInfo(tree.Items.Item(1))->MacroName.size(), MacroListLineLimit - 3);
    EXPECT_EQ(NodeInfo(tree.Items.Item(2))->MacroName, "b");  // no CR left in the last field
    EXPECT_EQ(NodeInfo(tree.Items.Item(3))->MacroName, "c");
}

TEST_F(TreeFile, ASaveThatCannotReplaceTheListShowsTheMessageAndLeavesNothingBehind)
{
    file.AddMacroFolder("New", "");
    std::filesystem::create_directories(file.FileName() + "/keep");  // the name is taken
    EXPECT_FALSE(file.SaveMacroList());
    EXPECT_EQ(services.Messages, std::vector<std::string>{TreeFileText::SaveFailed});
    EXPECT_TRUE(std::filesystem::is_directory(file.FileName() + "/keep"));
    EXPECT_EQ(folder.EntryCount(), 1u);  // no temporary file left

    TMacroListFile nowhere(tree.Items, pane, folder.File("missing/qvmacros.ini"));
    EXPECT_FALSE(nowhere.SaveMacroList());
    EXPECT_EQ(services.Messages.size(), 2u);
}

#ifndef _WIN32
// The disk fills up while the new list is written: the old list stays as it was.
TEST_F(TreeFile, AWriteThatFailsHalfwayKeepsTheOldList)
{
    Load(ModemList);
    TTreeNode* big = file.AddMacroFolder("Big", "");
    for (int i = 0; i < 40; ++i)
        file.AddMacroItem(big,
                          Item("x", "Data String", "", "", "", std::string(2000, 'd').c_str()));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool savedOk = file.SaveMacroList();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(savedOk);
    EXPECT_EQ(services.Messages, std::vector<std::string>{TreeFileText::SaveFailed});
    EXPECT_EQ(ReadFileBytes(file.FileName()), ModemList);
    EXPECT_EQ(folder.EntryCount(), 1u);
}
#endif

TEST_F(TreeFile, TextWithTheFieldSeparatorNeverEntersARecord)
{
    TTreeNode* f = file.AddMacroFolder("F", "");
    EXPECT_EQ(file.AddMacroFolder("a|b", ""), nullptr);
    file.AddMacroItem(f, Item("x", "Data String", "", "", "", "AT|Z"));
    EXPECT_EQ(tree.Items.Count(), 1);
    EXPECT_EQ(services.Messages, std::vector<std::string>(2, TreeFileText::FieldDelimiterRefused));

    // A record changed behind the checks still writes six fields: the "|" is left out.
    file.AddMacroItem(f, Item("x", "", "", "", "", ""));
    NodeInfo(f->Item(0))->MacroName = "x|y";
    EXPECT_EQ(Saved(), "[MACRO_LIST]\r\n!|_1|_1|_260|_320\r\n+|_F|_|_|_|_|_\r\n"
                       "-|_xy|_|_|_|_|_\r\n");
}

TEST_F(TreeFile, AnItemForAMarkedFolderIsRefusedBeforeARecordIsMade)
{
    TTreeNode* f = file.AddMacroFolder("F", "");
    DeleteNode(f, false, true, nullptr);
    const std::uint32_t idsBefore = services.LastId;
    file.AddMacroItem(f, Item("x", "", "", "", "", ""));
    EXPECT_EQ(services.Messages, std::vector<std::string>{TreeFileText::DeletedFolder});
    EXPECT_EQ(tree.Items.Count(), 1);
    EXPECT_EQ(services.LastId, idsBefore);  // the sanitizer would also report a lost record
}

TEST_F(TreeFile, SaveLoadSaveOfRandomTreesIsByteIdentical)
{
    std::mt19937 random(23);
    auto text = [&](size_t most) {
        std::string s(random() % (most + 1), ' ');
        for (char& c : s) {
            do c = static_cast<char>(random() % 256);
            while (c == '|' || c == '\n' || c == '\r');
        }
        return s;
    };
    for (int round = 0; round < 40; ++round) {
        FreeAllInfos(tree.Items);
        pane.Descriptions = random() % 2;
        for (int f = random() % 6; f > 0; --f) {
            TTreeNode* folderNode = file.AddMacroFolder(text(30), text(60));
            for (int i = random() % 5; i > 0; --i)
                file.AddMacroItem(folderNode,
                                  Item(text(30).c_str(), text(16).c_str(), text(60).c_str(),
                                       text(5).c_str(), text(10).c_str(), text(300).c_str()));
        }
        std::vector<std::string> before = Labels();
        const std::string first = Saved();
        FreeAllInfos(tree.Items);
        WriteFileBytes(file.FileName(), first);
        file.LoadMacroList();
        EXPECT_EQ(Labels(), before) << round;
        EXPECT_EQ(Saved(), first) << round;
    }
}
