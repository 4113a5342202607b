// The main window's form data, built in code: menus, actions, the tool bar with the port
// combos and lamps, the string entry pane, the send bar, the screen with its gutter, the
// status bar, the macro pane, timers, the port and the dialogs, with their events.
#include "macros/TreeUtil.h"
#include "terminal/DataStringHelpText.h"
#include "terminal/EntryHelpText.h"
#include "terminal/Main.h"

namespace {

template <class T>
T* Make(TComponent* owner, const char* name)
{
    T* c = new T(owner);
    c->Name = name;
    return c;
}

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, TAlign align = alNone)
{
    T* c = Make<T>(owner, name);
    c->SetParent(parent);
    if (align != alNone) c->SetAlign(align);
    return c;
}

TMenuItem* Item(TComponent* owner, TMenuItem* parent, const char* name, const char* caption,
                TNotifyEvent onClick = nullptr, TShortCut shortCut = 0)
{
    TMenuItem* item = NewMenuItem(owner, parent, caption, onClick, shortCut);
    item->Name = name;
    return item;
}

void Separator(TComponent* owner, TMenuItem* parent) { NewMenuItem(owner, parent, "-"); }

TAction* Act(TComponent* owner, TActionList* list, const char* name, const char* caption,
             TNotifyEvent onExecute, TShortCut shortCut = 0)
{
    TAction* a = NewAction(owner, list, caption, onExecute, shortCut);
    a->Name = name;
    return a;
}

void Hinted(TControl* c, const char* hint)
{
    c->Hint = hint;
    c->ShowHint = true;
}

// The control-character menu: item names and captions in code order.
struct CtrlCharEntry {
    const char* name;
    const char* caption;
};
constexpr CtrlCharEntry CtrlChars[32] = {
    {"NULL_00", "NULL (0&0h)"}, {"SOH_01", "SOH (0&1h)"}, {"STX_02", "STX (0&2h)"},
    {"ETX_03", "ETX (0&3h)"},   {"EOT_04", "EOT (0&4h)"}, {"ENQ_05", "ENQ (0&5h)"},
    {"ACK_06", "ACK (0&6h)"},   {"BEL_07", "BEL (0&7h)"}, {"BS_08", "BS (0&8h)"},
    {"HT_09", "HT (0&9h)"},     {"LF_0A", "LF (0Ah)"},    {"VT_0B", "VT (0&Bh)"},
    {"FF_0C", "FF (0Ch)"},      {"CR_0D", "CR (0Dh)"},    {"S0_0E", "S0 (0Eh)"},
    {"SI_0F", "SI (0Fh"},       {"DLE_10", "DLE (1&0h)"}, {"DC1_11", "DC1(1&1h)"},
    {"DC2_12", "DC2 (1&2h)"},   {"DC3_13", "DC3 (1&3h)"}, {"DC4_14", "DC4 (1&4h)"},
    {"NAK_15", "NAK (1&5h)"},   {"SYN_16", "SYN (1&6h)"}, {"ETB_17", "ETB (1&7h)"},
    {"CAN_18", "CAN (1&8h)"},   {"EM_19", "EM (1&9h)"},   {"SUB_1A", "SUB (1Ah)"},
    {"ESC_1B", "ESC (1&Bh)"},   {"FS_1C", "FS (1Ch)"},    {"GS_1D", "GS (1Dh)"},
    {"RS_1E", "RS (1Eh)"},      {"US_1F", "US (1Fh)"},
};

const char* const FileFilter =
    "All (*.*)|*.*|Dat file (*.dat)|*.dat|Text file (*.txt)|*.txt|Hex file (*.hex)|*.hex|"
    "Application (*.exe)|*.exe|Bin file (*.bin)|*.bin";
const char* const ProfileFilter = "Quorvalink Profile (*.qvp)|*.qvp";

}  // namespace

void TForm1::BuildFormData()
{
    SetCaption("Quorvalink - RS232 Data Analyser / Visual Scripter");
    SetBounds(60, 40, 960, 640);
    Position = poDefault;
    KeyPreview = false;
    BuildNonVisual();
    BuildActions();
    BuildMenus();
    // Aligned children take their places in creation order: tool bar rows first, then the
    // status bar, the macro pane on the left and the screen in what is left.
    BuildToolBar();
    BuildStringEntryPane();
    BuildSendBar();
    StatusBar1 = Place<TStatusBar>(this, this, "StatusBar1", alBottom);
    static const int widths[] = {128, 190, 280, 240, 300};
    for (int w : widths) StatusBar1->AddPanel()->SetWidth(w);
    BuildMacroPane();
    BuildScreen();

    OnCreate = Closure(this, &TForm1::FormCreate);
    OnShow = Closure(this, &TForm1::FormShow);
    OnCloseQuery = Closure(this, &TForm1::FormCloseQuery);
    OnClose = Closure(this, &TForm1::FormClose);
    OnResize = Closure(this, &TForm1::FormResize);

    // Built after the handlers above, in front of which it chains its restore and save.
    FormPlacement1 = NewRegistryPlacement(this);
}

void TForm1::BuildNonVisual()
{
    Comm1 = Make<TComm>(this, "Comm1");
    Comm1->SetDeviceName("Com1");
    Comm1->ReadTimeout = 0;
    Comm1->WriteTimeout = 0;
    Comm1->SetReadBufSize(5000);
    Comm1->SetWriteBufSize(4096);
    // Every event but the transmitter-empty one: it comes after each write, only the hidden
    // "Show events" box would note it, and under Wine each wait that ends with it leaves four
    // blocks in the process heap for good (a file send writes hundreds of blocks).
    Comm1->SetMonitorEvents(AllCommEvents - TCommEventTypes{evTxEmpty});
    Comm1->OnRxChar = Closure(this, &TForm1::Comm1RxChar);
    Comm1->OnBreak = Closure(this, &TForm1::Comm1Break);
    Comm1->OnCts = Closure(this, &TForm1::Comm1Cts);
    Comm1->OnDsr = Closure(this, &TForm1::Comm1Dsr);
    Comm1->OnRing = Closure(this, &TForm1::Comm1Ring);
    Comm1->OnRlsd = Closure(this, &TForm1::Comm1Rlsd);
    Comm1->OnError = Closure(this, &TForm1::Comm1Error);
    Comm1->OnRxFlag = Closure(this, &TForm1::Comm1RxFlag);
    Comm1->OnTxEmpty = Closure(this, &TForm1::Comm1TxEmpty);
    Comm1->OnDeviceLost = Closure(this, &TForm1::Comm1DeviceLost);

    auto timer = [this](const char* name, unsigned interval, TNotifyEvent onTimer) {
        TTimer* t = Make<TTimer>(this, name);
        t->SetEnabled(false);
        t->SetInterval(interval);
        t->OnTimer = onTimer;
        return t;
    };
    Timer1 = timer("Timer1", 100, Closure(this, &TForm1::Timer1Timer));
    Timer2 = timer("Timer2", 250, Closure(this, &TForm1::Timer2Timer));
    Timer_BRKD = timer("Timer_BRKD", 2000, Closure(this, &TForm1::Timer_BRKDTimer));

    FontDialog = Make<TFontDialog>(this, "FontDialog");
    FontDialog->MinFontSize = 7;
    FontDialog->MaxFontSize = 48;
    ColorDialog1 = Make<TColorDialog>(this, "ColorDialog1");
    FindDialog1 = Make<TFindDialog>(this, "FindDialog1");
    // The search always runs forward: the direction choice is hidden and disabled.
    FindDialog1->Options = TFindOptions{frDown, frHideUpDown, frDisableUpDown};
    FindDialog1->OnFind = Closure(this, &TForm1::FindDialog1Find);
    PrintDialog1 = Make<TPrintDialog>(this, "PrintDialog1");
    PrinterSetupDialog1 = Make<TPrinterSetupDialog>(this, "PrinterSetupDialog1");

    SaveDialog1 = Make<TSaveDialog>(this, "SaveDialog1");
    SaveDialog1->DefaultExt = "rtf";
    SaveDialog1->Filter = "Rich text files (*.rtf)|*.rtf|RTF Document|*.doc|All files|*.*";
    SaveDialog1->Options << ofOverwritePrompt;
    sendOpenDialog = Make<TOpenDialog>(this, "sendOpenDialog");
    sendOpenDialog->Filter = FileFilter;
    sendOpenDialog->Options << ofFileMustExist;
    captureSaveDialog = Make<TSaveDialog>(this, "captureSaveDialog");
    captureSaveDialog->Filter = "Bin file (*.bin)|*.bin|Dat file (*.dat)|*.dat|Text file "
                                "(*.txt)|*.txt|Hex file (*.hex)|*.hex|"
                                "Application (*.exe)|*.exe|All (*.*)|*.*";
    captureSaveDialog->DefaultExt = "*.bin";
    captureSaveDialog->Options << ofOverwritePrompt;
    OutProfileDialog = Make<TSaveDialog>(this, "OutProfileDialog");
    OutProfileDialog->DefaultExt = "qvp";
    OutProfileDialog->Filter = ProfileFilter;
    OutProfileDialog->Options = TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofEnableSizing};
    InProfileDialog = Make<TOpenDialog>(this, "InProfileDialog");
    InProfileDialog->DefaultExt = "*.qvp";
    InProfileDialog->Filter = ProfileFilter;
    InProfileDialog->Options = TOpenOptions{ofHideReadOnly, ofFileMustExist, ofEnableSizing};
    Tr_OpenDialog = Make<TOpenDialog>(this, "Tr_OpenDialog");
    Tr_OpenDialog->Filter = FileFilter;
    Tr_OpenDialog->Options << ofFileMustExist;
}

void TForm1::BuildActions()
{
    ActionList1 = Make<TActionList>(this, "ActionList1");
    Connect_F2 = Act(this, ActionList1, "Connect_F2", "Connect",
                     Closure(this, &TForm1::Connect_spbtnClick), VK_F2);
    Find_F3 = Act(this, ActionList1, "Find_F3", "Find...", Closure(this, &TForm1::Find_spbtnClick),
                  VK_F3);
    Clear_F4 = Act(this, ActionList1, "Clear_F4", "Clear Screen",
                   Closure(this, &TForm1::Clear_spbtnClick), VK_F4);
    Properties_F5 = Act(this, ActionList1, "Properties_F5", "&Display...",
                        Closure(this, &TForm1::settings_spbtnClick), VK_F5);
    Notes_F6 = Act(this, ActionList1, "Notes_F6", "User Notes...",
                   Closure(this, &TForm1::Readme_sbtnClick), VK_F6);
    DTR = Act(this, ActionList1, "DTR", "DTR", Closure(this, &TForm1::DTRExecute), VK_F7);
    RTS = Act(this, ActionList1, "RTS", "RTS", Closure(this, &TForm1::RTSExecute), VK_F8);
    Break = Act(this, ActionList1, "Break", "Break", Closure(this, &TForm1::BreakExecute), VK_F9);
    Exit_F10 =
        Act(this, ActionList1, "Exit_F10", "E&xit", Closure(this, &TForm1::FileExitClick), VK_F10);
    Send_INS = Act(this, ActionList1, "Send_INS", "Send", Closure(this, &TForm1::SendData_btnClick),
                   VK_INSERT);
    Stop_END =
        Act(this, ActionList1, "Stop_END", "Stop", Closure(this, &TForm1::Stop_btnClick), VK_END);

    Tr_ActionList = Make<TActionList>(this, "Tr_ActionList");
    ActionViewMacros = Act(this, Tr_ActionList, "ActionViewMacros", "Macro List Pane",
                           Closure(this, &TForm1::ActionViewMacrosExecute));
    ActionHideMacros = Act(this, Tr_ActionList, "ActionHideMacros", "Hide Macro List",
                           Closure(this, &TForm1::ActionHideMacrosExecute));
    ActionNodeModify = Act(this, Tr_ActionList, "ActionNodeModify", "Apply Changes",
                           Closure(this, &TForm1::ActionNodeModifyExecute));
    ActionNodeModify->Hint = "Apply Changes to Existing Macro";
    ActionNodeModify->SetEnabled(false);
    ActionOtherRestore = Act(this, Tr_ActionList, "ActionOtherRestore", "Cancel / Restore",
                             Closure(this, &TForm1::ActionOtherRestoreExecute));
    ActionOtherRestore->Hint = "Cancel / Restore Changes To Existing Macro";
    ActionOtherRestore->SetEnabled(false);
    ActionOtherChange = Act(this, Tr_ActionList, "ActionOtherChange", "Change",
                            Closure(this, &TForm1::ActionOtherChangeExecute));
    ActionAddNewFolder = Act(this, Tr_ActionList, "ActionAddNewFolder", "Add New Folder",
                             Closure(this, &TForm1::ActionAddNewFolderExecute));
    ActionNodeMoveUp = Act(this, Tr_ActionList, "ActionNodeMoveUp", "Move &Up",
                           Closure(this, &TForm1::ActionNodeMoveUpExecute));
    ActionNodeMoveDown = Act(this, Tr_ActionList, "ActionNodeMoveDown", "Move &Down",
                             Closure(this, &TForm1::ActionNodeMoveDownExecute));
    ActionNodeDeleteSoft = Act(this, Tr_ActionList, "ActionNodeDeleteSoft", "&Mark For Deletion",
                               Closure(this, &TForm1::ActionNodeDeleteSoftExecute));
    ActionNodeDeleteHard = Act(this, Tr_ActionList, "ActionNodeDeleteHard", "Delete", nullptr);
    ActionEditUndo = Act(this, Tr_ActionList, "ActionEditUndo", "Undo Deletion",
                         Closure(this, &TForm1::ActionEditUndoExecute));
    ActionEditRedo = Act(this, Tr_ActionList, "ActionEditRedo", "Redo Deletion",
                         Closure(this, &TForm1::ActionEditRedoExecute));
    ActionFileClear = Act(this, Tr_ActionList, "ActionFileClear", "Clear All",
                          Closure(this, &TForm1::ActionFileClearExecute));
    ActionSaveMacros = Act(this, Tr_ActionList, "ActionSaveMacros", "Save Macro List",
                           Closure(this, &TForm1::ActionSaveMacrosExecute));
    ActionLoadMacros = Act(this, Tr_ActionList, "ActionLoadMacros", "Load Macro List",
                           Closure(this, &TForm1::ActionLoadMacrosExecute));
    ActionRefreshIcons = Act(this, Tr_ActionList, "ActionRefreshIcons", "Refresh Icons",
                             Closure(this, &TForm1::ActionRefreshIconsExecute));
    ActionTreeCollapse = Act(this, Tr_ActionList, "ActionTreeCollapse", "Collapse All Folders",
                             Closure(this, &TForm1::ActionTreeCollapseExecute));
    ActionTreeExpand = Act(this, Tr_ActionList, "ActionTreeExpand", "Expand All Folders",
                           Closure(this, &TForm1::ActionTreeExpandExecute));
    Tr_Toggle_Description = Act(this, Tr_ActionList, "Tr_Toggle_Description", "Show Description",
                                Closure(this, &TForm1::Tr_Toggle_DescriptionExecute));
}

void TForm1::BuildMenus()
{
    MainMenu1 = Make<TMainMenu>(this, "MainMenu1");
    TMenuItem* root = MainMenu1->Items();

    FileMenu = Item(this, root, "FileMenu", "&File", Closure(this, &TForm1::FileMenuClick));
    FileNew = Item(this, FileMenu, "FileNew", "&New Session", Closure(this, &TForm1::FileNewClick));
    Separator(this, FileMenu);
    miFileSave =
        Item(this, FileMenu, "miFileSave", "&Save (RTF)", Closure(this, &TForm1::miFileSaveClick));
    miFileSaveAs = Item(this, FileMenu, "miFileSaveAs", "Save &As (RTF)...",
                        Closure(this, &TForm1::miFileSaveAsClick));
    Separator(this, FileMenu);
    miFilePrint =
        Item(this, FileMenu, "miFilePrint", "&Print...", Closure(this, &TForm1::miFilePrintClick));
    PageSetup1 = Item(this, FileMenu, "PageSetup1", "Print Set&up...",
                      Closure(this, &TForm1::PageSetup1Click));
    Separator(this, FileMenu);
    FileExit = Item(this, FileMenu, "FileExit", "E&xit");
    FileExit->SetAction(Exit_F10);

    EditMenu = Item(this, root, "EditMenu", "&Edit");
    EditCopy = Item(this, EditMenu, "EditCopy", "&Copy to Clipboard",
                    Closure(this, &TForm1::EditCopyClick));
    SelectAll1 =
        Item(this, EditMenu, "SelectAll1", "Select &All", Closure(this, &TForm1::SelectAll1Click));
    Separator(this, EditMenu);
    Find1 = Item(this, EditMenu, "Find1", "&Find...");
    Find1->SetAction(Find_F3);
    Find1->SetCaption("&Find...");
    Clear1 = Item(this, EditMenu, "Clear1", "C&lear Screen");
    Clear1->SetAction(Clear_F4);
    Clear1->SetCaption("C&lear Screen");
    ClearStatusBarMessages1 =
        Item(this, EditMenu, "ClearStatusBarMessages1", "Clear Status Bar Messages",
             Closure(this, &TForm1::ClearStatusBarMessages1Click));

    View1 = Item(this, root, "View1", "View", Closure(this, &TForm1::View1Click));
    Mode1 = Item(this, View1, "Mode1", "Display Mode", Closure(this, &TForm1::Mode1Click));
    mi_ASCIIMode =
        Item(this, Mode1, "mi_ASCIIMode", "ASCII/Text", Closure(this, &TForm1::mi_ASCIIModeClick));
    mi_MixedMode = Item(this, Mode1, "mi_MixedMode", "Mixed (ASCII, hexadecimal)",
                        Closure(this, &TForm1::mi_MixedModeClick));
    mi_HexMode =
        Item(this, Mode1, "mi_HexMode", "Hexadecimal", Closure(this, &TForm1::mi_HexModeClick));
    for (TMenuItem* m : {mi_ASCIIMode, mi_MixedMode, mi_HexMode}) m->RadioItem = true;
    Separator(this, View1);
    miStringEntryPane = Item(this, View1, "miStringEntryPane", "String Entry Pane",
                             Closure(this, &TForm1::miStringEntryPaneClick));
    miLineNumbers = Item(this, View1, "miLineNumbers", "Line Numbers",
                         Closure(this, &TForm1::miLineNumbersClick));
    mi_showhidemacros = Item(this, View1, "mi_showhidemacros", "Macro List Pane");
    mi_showhidemacros->SetAction(ActionViewMacros);
    Fullscreen1 =
        Item(this, View1, "Fullscreen1", "F&ull Screen", Closure(this, &TForm1::Fullscreen1Click));
    Separator(this, View1);
    EditFont =
        Item(this, View1, "EditFont", "Screen &Font...", Closure(this, &TForm1::EditFontClick));
    Background1 = Item(this, View1, "Background1", "&Background Colour...",
                       Closure(this, &TForm1::Background1Click));
    Separator(this, View1);
    NotationCon1 = Item(this, View1, "NotationCon1", "Notation Converter...",
                        Closure(this, &TForm1::NotationCon1Click));
    UserNotes = Item(this, View1, "UserNotes", "User Notes...");
    UserNotes->SetAction(Notes_F6);
    UserNotes->SetCaption("User Notes...");

    CommsMenu = Item(this, root, "CommsMenu", "&Comms");
    Connect1_mi = Item(this, CommsMenu, "Connect1_mi", "&Connect",
                       Closure(this, &TForm1::Connect_spbtnClick), VK_F2);
    Disconnect1_mi = Item(this, CommsMenu, "Disconnect1_mi", "&Disconnect",
                          Closure(this, &TForm1::Connect_spbtnClick));
    Disconnect1_mi->SetEnabled(false);

    Transfer1 = Item(this, root, "Transfer1", "Transfer", Closure(this, &TForm1::Transfer1Click));
    miSendFileBinary = Item(this, Transfer1, "miSendFileBinary", "Send File... ",
                            Closure(this, &TForm1::miSendFileBinaryClick));
    miSpxSendFileBinary = Item(this, Transfer1, "miSpxSendFileBinary", "Special Send File...",
                               Closure(this, &TForm1::miSpxSendFileBinaryClick));
    miStopSending = Item(this, Transfer1, "miStopSending", "Stop Sending",
                         Closure(this, &TForm1::miStopSendingClick));
    miStopSending->SetVisible(false);
    Separator(this, Transfer1);
    miReceiveFileBinary = Item(this, Transfer1, "miReceiveFileBinary", "Capture To File...",
                               Closure(this, &TForm1::miReceiveFileBinaryClick));
    miStopCapture = Item(this, Transfer1, "miStopCapture", "Stop Capture",
                         Closure(this, &TForm1::miStopCaptureClick));
    miStopCapture->SetVisible(false);
    Separator(this, Transfer1);
    SendCtrlChar00 = Item(this, Transfer1, "SendCtrlChar00", "Send Ctrl Char (00...0F hex)");
    SendCtrlChar10 = Item(this, Transfer1, "SendCtrlChar10", "Send Ctrl Char (10...1F hex)");
    for (int i = 0; i < 32; ++i)
        CtrlCharItems[i] = Item(this, i < 16 ? SendCtrlChar00 : SendCtrlChar10, CtrlChars[i].name,
                                CtrlChars[i].caption, Closure(this, &TForm1::NULL_00Click));

    SettingsMenu = Item(this, root, "SettingsMenu", "&Settings");
    Display1 = Item(this, SettingsMenu, "Display1", "&Display...");
    Display1->SetAction(Properties_F5);
    Separator(this, SettingsMenu);
    Save1 =
        Item(this, SettingsMenu, "Save1", "&Save All Settings", Closure(this, &TForm1::Save1Click));
    ImportfromProfile1 = Item(this, SettingsMenu, "ImportfromProfile1", "Import from Profile...",
                              Closure(this, &TForm1::ImportfromProfile1Click));
    ExportProfile = Item(this, SettingsMenu, "ExportProfile", "Export as a Profile...",
                         Closure(this, &TForm1::ExportProfileClick));

    HelpMenu = Item(this, root, "HelpMenu", "&Help");
    ASCIITable1 = Item(this, HelpMenu, "ASCIITable1", "ASCII Table...",
                       Closure(this, &TForm1::ASCIITable1Click));
    Separator(this, HelpMenu);
    HelpAbout = Item(this, HelpMenu, "HelpAbout", "&About Quorvalink...",
                     Closure(this, &TForm1::HelpAboutClick));

    SetMenu(MainMenu1);

    // The screen's pop-up shows the View menu's state (View1Click runs when it opens).
    PopupMenu1 = Make<TPopupMenu>(this, "PopupMenu1");
    PopupMenu1->OnPopup = Closure(this, &TForm1::View1Click);
    TMenuItem* pop = PopupMenu1->Items();
    PopupCopy =
        Item(this, pop, "PopupCopy", "Copy to Clipboard", Closure(this, &TForm1::EditCopyClick));
    PopupFind = Item(this, pop, "PopupFind", "Find...");
    PopupFind->SetAction(Find_F3);
    PopupFind->SetCaption("Find...");
    PopupClear = Item(this, pop, "PopupClear", "Clear Screen");
    PopupClear->SetAction(Clear_F4);
    PopupClear->SetCaption("Clear Screen");
    PopupClearStatus = Item(this, pop, "PopupClearStatus", "Clear Status Bar Messages",
                            Closure(this, &TForm1::ClearStatusBarMessages1Click));
    Separator(this, pop);
    PopupStringEntryPane = Item(this, pop, "PopupStringEntryPane", "String Entry Pane",
                                Closure(this, &TForm1::miStringEntryPaneClick));
    PopupLineNumbers = Item(this, pop, "PopupLineNumbers", "Line Numbers",
                            Closure(this, &TForm1::miLineNumbersClick));
    ScreenMaximiseRestore1 = Item(this, pop, "ScreenMaximiseRestore1", "F&ull Screen",
                                  Closure(this, &TForm1::Fullscreen1Click));
}

void TForm1::BuildToolBar()
{
    Panel3 = Place<TPanel>(this, this, "Panel3", alTop);
    Panel3->SetHeight(34);

    IconPanel = Place<TPanel>(this, Panel3, "IconPanel", alLeft);
    IconPanel->SetWidth(190);
    IconPanel->SetBevelOuter(bvNone);
    // Each button shows its picture (a bitmap resource) and names itself in its hint.
    auto button = [this](const char* name, const char* glyph, const char* hint, int left,
                         TNotifyEvent onClick) {
        TSpeedButton* b = Place<TSpeedButton>(this, IconPanel, name);
        b->SetBounds(left, 4, 30, 26);
        b->Glyph()->LoadFromResourceName(nullptr, glyph);
        b->Flat = true;
        Hinted(b, hint);
        b->OnClick = onClick;
        return b;
    };
    Connect_spbtn = button("Connect_spbtn", "ToolConnect", "Connect", 4,
                           Closure(this, &TForm1::Connect_spbtnClick));
    // Glyph holders: the connect button copies its look from these two.
    DisConnect_spbtn1 = button("DisConnect_spbtn1", "ToolConnect", "Connect", 4, nullptr);
    DisConnect_spbtn1->SetVisible(false);
    Connect_spbtn2 = button("Connect_spbtn2", "ToolDisconnect", "Disconnect", 4,
                            Closure(this, &TForm1::Connect_spbtnClick));
    Connect_spbtn2->SetVisible(false);
    Clear_spbtn = button("Clear_spbtn", "ToolClear", "Clear Screen", 38,
                         Closure(this, &TForm1::Clear_spbtnClick));
    Find_spbtn =
        button("Find_spbtn", "ToolFind", "Find", 72, Closure(this, &TForm1::Find_spbtnClick));
    settings_spbtn = button("settings_spbtn", "ToolSettings", "Settings", 106,
                            Closure(this, &TForm1::settings_spbtnClick));
    Readme_sbtn = button("Readme_sbtn", "ToolNotes", "User Notes", 140,
                         Closure(this, &TForm1::Readme_sbtnClick));
    ScrollDwn_sbtn = button("ScrollDwn_sbtn", "ToolScrollDown", "Scroll Down", 174,
                            Closure(this, &TForm1::ScrollDwn_sbtnClick));
    ScrollDwn_sbtn->SetVisible(false);

    ConfigPanel = Place<TPanel>(this, Panel3, "ConfigPanel", alLeft);
    ConfigPanel->SetWidth(390);
    ConfigPanel->SetBevelOuter(bvNone);
    auto combo = [this](const char* name, int left, int width,
                        std::initializer_list<const char*> items, TNotifyEvent onChange,
                        TKeyPressEvent onKey) {
        TComboBox* c = Place<TComboBox>(this, ConfigPanel, name);
        c->SetStyle(csDropDownList);
        c->SetBounds(left, 6, width, 200);
        c->DropDownCount = 16;
        for (const char* item : items) c->Items()->Add(item);
        c->OnChange = onChange;
        c->OnKeyPress = onKey;
        c->TabStop = true;
        return c;
    };
    PortIndex = combo("PortIndex", 4, 80, {}, Closure(this, &TForm1::PortIndexChange),
                      Closure(this, &TForm1::PortIndexKeyPress));
    Baud = combo("Baud", 88, 80,
                 {"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400",
                  "56000", "57600", "115200"},
                 Closure(this, &TForm1::BaudChange), Closure(this, &TForm1::BaudKeyPress));
    DataBitsBox =
        combo("DataBitsBox", 172, 50, {"6", "7", "8"}, Closure(this, &TForm1::DataBitsBoxChange),
              Closure(this, &TForm1::DataBitsBoxKeyPress));
    ParityBox =
        combo("ParityBox", 226, 80, {"NONE", "ODD", "EVEN", "MARK", "SPACE"},
              Closure(this, &TForm1::ParityBoxChange), Closure(this, &TForm1::ParityBoxKeyPress));
    StopBitsBox =
        combo("StopBitsBox", 310, 50, {"1", "2"}, Closure(this, &TForm1::StopBitsBoxChange),
              Closure(this, &TForm1::StopBitsBoxKeyPress));

    // Two lamp groups: the first is dropped before the second as the window narrows.
    LedPanel = Place<TPanel>(this, Panel3, "LedPanel", alLeft);
    LedPanel->SetWidth(180);
    LedPanel->SetBevelOuter(bvNone);
    LedPanel2 = Place<TPanel>(this, Panel3, "LedPanel2", alLeft);
    LedPanel2->SetWidth(200);
    LedPanel2->SetBevelOuter(bvNone);
    // Each lamp reaches to the next one: the second group's are wider, for "BRKD".
    auto lamp = [this](TPanel* parent, const char* name, const char* caption, int left,
                       TLEDColor colour) {
        TLEDLabel* l = Place<TLEDLabel>(this, parent, name);
        l->SetBounds(left, 8, parent == LedPanel2 ? 48 : 44, 17);
        l->SetCaption(caption);
        l->SetColor(colour);
        return l;
    };
    LED_DTR = lamp(LedPanel, "LED_DTR", "DTR", 4, lcGreen);
    LED_RTS = lamp(LedPanel, "LED_RTS", "RTS", 48, lcGreen);
    LED_BRK = lamp(LedPanel, "LED_BRK", "BRK", 92, lcRed);
    LED_RI = lamp(LedPanel, "LED_RI", "RI", 136, lcYellow);
    LED_CTS = lamp(LedPanel2, "LED_CTS", "CTS", 4, lcYellow);
    LED_DCD = lamp(LedPanel2, "LED_DCD", "DCD", 52, lcYellow);
    LED_BRKD = lamp(LedPanel2, "LED_BRKD", "BRKD", 100, lcRed);
    LED_DSR = lamp(LedPanel2, "LED_DSR", "DSR", 150, lcYellow);
    LED_DTR->OnMouseDown = Closure(this, &TForm1::LED_DTRMouseDown);
    LED_RTS->OnMouseDown = Closure(this, &TForm1::LED_RTSMouseDown);
    LED_BRK->OnMouseDown = Closure(this, &TForm1::LED_BRKMouseDown);
    Hinted(LED_DTR, "Click to toggle DTR (F7)");
    Hinted(LED_RTS, "Click to toggle RTS (F8)");
    Hinted(LED_BRK, "Click to toggle BREAK (F9)");

    // The thin grey line under the tool bar, shown while the string entry pane is hidden.
    Panel7 = Place<TPanel>(this, this, "Panel7", alTop);
    Panel7->SetHeight(2);
    Panel7->SetBevelOuter(bvNone);
    Panel7->SetColor(clGray);
    Panel7->SetVisible(false);
}

void TForm1::BuildStringEntryPane()
{
    pnlStringEntry = Place<TPanel>(this, this, "pnlStringEntry", alTop);
    pnlStringEntry->SetHeight(30);
    pnlStringEntry->OnResize = Closure(this, &TForm1::pnlStringEntryResize);
    edtSend = Place<TEdit>(this, pnlStringEntry, "edtSend");
    edtSend->SetBounds(4, 4, 600, 22);
    edtSend->SetMaxLength(300);
    edtSend->SetEnabled(false);
    Hinted(edtSend, "String Entry Pane");
    edtSend->OnChange = Closure(this, &TForm1::edtSendChange);
    edtSend->OnClick = Closure(this, &TForm1::edtSendClick);
    edtSend->OnDblClick = Closure(this, &TForm1::edtSendDblClick);

    Panel11 = Place<TPanel>(this, pnlStringEntry, "Panel11", alRight);
    Panel11->SetWidth(200);
    Panel11->SetBevelOuter(bvNone);
    SendLoop_sedt = Place<TCSpinEdit>(this, Panel11, "SendLoop_sedt");
    SendLoop_sedt->SetBounds(4, 4, 50, 22);
    SendLoop_sedt->MaxValue = 99;
    SendLoop_sedt->SetMaxLength(2);  // no typing past 99
    SendLoop_sedt->SetValue(1);
    Hinted(SendLoop_sedt, "Repeat send counter.\r\nUse a value of 0 to loop continuously.");
    SendLoop_sedt->OnKeyPress = Closure(this, &TForm1::SendLoop_sedtKeyPress);
    SendLoop_sedt->OnClick = Closure(this, &TForm1::SendLoop_sedtClick);
    SendData_btn = Place<TButton>(this, Panel11, "SendData_btn");
    SendData_btn->SetBounds(60, 3, 64, 24);
    SendData_btn->SetCaption("Send");
    SendData_btn->SetEnabled(false);
    Hinted(SendData_btn, "Send data (in the String Entry Pane) \r\nto the serial port.");
    SendData_btn->OnClick = Closure(this, &TForm1::SendData_btnClick);
    Stop_btn = Place<TButton>(this, Panel11, "Stop_btn");
    Stop_btn->SetBounds(130, 3, 64, 24);
    Stop_btn->SetCaption("Stop");
    Stop_btn->SetEnabled(false);
    Hinted(Stop_btn, "Stop sending data \r\nto the serial port.");
    Stop_btn->OnClick = Closure(this, &TForm1::Stop_btnClick);
}

void TForm1::BuildSendBar()
{
    pnlSend = Place<TPanel>(this, this, "pnlSend", alTop);
    pnlSend->SetHeight(30);
    pnlSend->SetVisible(false);
    pnlSend->OnResize = Closure(this, &TForm1::pnlSendResize);
    edtFile = Place<TEdit>(this, pnlSend, "edtFile");
    edtFile->SetBounds(4, 4, 500, 22);
    edtFile->SetReadOnly(true);
    Panel5 = Place<TPanel>(this, pnlSend, "Panel5", alRight);
    Panel5->SetWidth(300);
    Panel5->SetBevelOuter(bvNone);
    Panel5->OnResize = Closure(this, &TForm1::Panel5Resize);
    btnStopFileSend = Place<TButton>(this, Panel5, "btnStopFileSend");
    btnStopFileSend->SetBounds(4, 3, 64, 24);
    btnStopFileSend->SetCaption("Stop");
    Hinted(btnStopFileSend, "Stop sending data \r\nto the serial port.");
    btnStopFileSend->OnClick = Closure(this, &TForm1::miStopSendingClick);
    ProgressBar1 = Place<TProgressBar>(this, Panel5, "ProgressBar1");
    ProgressBar1->SetBounds(74, 6, 220, 18);
    ProgressBar1->SetRange(0, 100);
}

void TForm1::BuildScreen()
{
    ScreenPanel = Place<TPanel>(this, this, "ScreenPanel", alClient);
    ScreenPanel->SetBevelOuter(bvNone);

    // The line-number gutter, hidden until the View menu shows it.
    PanelLine = Place<TPanel>(this, ScreenPanel, "PanelLine", alLeft);
    PanelLine->SetWidth(30);
    PanelLine->SetBevelOuter(bvNone);
    PanelLine->SetColor(clBtnFace);
    PanelLine->SetVisible(false);
    PaintBox1 = Place<TPaintBox>(this, PanelLine, "PaintBox1", alClient);
    PaintBox1->OnPaint = Closure(this, &TForm1::PaintBox1Paint);

    reScreen = Place<TRichEditP>(this, ScreenPanel, "reScreen", alClient);
    reScreen->SetWordWrap(false);
    reScreen->SetScrollBars(ssBoth);
    reScreen->Font()->SetName("Courier New");
    reScreen->Font()->SetSize(10);
    reScreen->SetColor(clWindow);
    reScreen->SetPopupMenu(PopupMenu1);
    reScreen->TabStop = true;
    reScreen->OnKeyPress = Closure(this, &TForm1::reScreenKeyPress);
    reScreen->OnKeyDown = Closure(this, &TForm1::reScreenKeyDown);
    reScreen->OnVertScroll = Closure(this, &TForm1::reScreenVertScroll);
    reScreen->OnSelectionChange = Closure(this, &TForm1::reScreenSelectionChange);

    // A second screen for RTF work, never shown.
    RichEdit_RTF = Place<TRichEditP>(this, ScreenPanel, "RichEdit_RTF");
    RichEdit_RTF->SetBounds(0, 0, 200, 100);
    RichEdit_RTF->SetVisible(false);

    // Developer aids, never shown: the diagnostics memo, the help texts, test buttons.
    Panel1 = Place<TPanel>(this, ScreenPanel, "Panel1");
    Panel1->SetBounds(0, 0, 300, 200);
    Panel1->SetVisible(false);
    Memo1 = Place<TMemo>(this, Panel1, "Memo1");
    Memo1->SetBounds(0, 0, 200, 100);
    // The help texts are one long line each: wrapped to these hidden memos' 100 pixels, they
    // cost Wine's edit control 110-140 ms each when the memo is made, for a layout nobody sees.
    STR_ENTRY_TEXT_memo = Place<TMemo>(this, Panel1, "STR_ENTRY_TEXT_memo");
    STR_ENTRY_TEXT_memo->WordWrap = false;
    STR_ENTRY_TEXT_memo->SetBounds(0, 100, 100, 50);
    STR_ENTRY_TEXT_memo->SetText(StringEntryHelpRtf);
    SpecialStringMemo = Place<TMemo>(this, Panel1, "SpecialStringMemo");
    SpecialStringMemo->WordWrap = false;
    SpecialStringMemo->SetBounds(100, 100, 100, 50);
    SpecialStringMemo->SetText(DataStringHelpRtf);
    Label1 = Place<TLabel>(this, Panel1, "Label1");
    // The inspector writes it twice at every caret move: measuring each text for a size nobody
    // sees cost 0.8 ms of every typed key.
    Label1->SetAutoSize(false);
    Label1->SetBounds(210, 0, 80, 16);
    Label10 = Place<TLabel>(this, Panel1, "Label10");
    Label10->SetBounds(210, 20, 80, 16);
    Paste_sbtn = Place<TSpeedButton>(this, Panel1, "Paste_sbtn");
    Paste_sbtn->SetBounds(210, 40, 60, 22);
    Paste_sbtn->SetCaption("Paste");
    Paste_sbtn->OnClick = Closure(this, &TForm1::Paste_sbtnClick);
}

// The macro pane, top to bottom: the title bar, the run tool bar beside the tree, the tree's
// label bar, the tree with its pop-up menu; under the splitter the edit tool bar beside the
// macro editor, with the hidden trees that keep deleted nodes for undo and redo.
void TForm1::BuildMacroPane()
{
    Main_Panel = Place<TPanel>(this, this, "Main_Panel", alLeft);
    Main_Panel->SetWidth(320);
    Main_Panel->SetBevelOuter(bvNone);
    Main_Panel->OnResize = Closure(this, &TForm1::Main_PanelResize);
    Tr_left_right_splitter = Place<TSplitter>(this, this, "Tr_left_right_splitter", alLeft);
    Tr_left_right_splitter->SetWidth(4);
    Tr_left_right_splitter->MinSize = 170;
    Tr_left_right_splitter->OnMoved = Closure(this, &TForm1::Tr_left_right_splitterMoved);

    Tr_ImageListTreeViewIcons = Make<TImageList>(this, "Tr_ImageListTreeViewIcons");
    {
        TBitmap pictures;  // 16 x 16 cells, fuchsia transparent
        pictures.LoadFromResourceName(nullptr, "QV_TREE_PICS");
        Tr_ImageListTreeViewIcons->AddMasked(&pictures, clFuchsia);
    }

    Top_pnl = Place<TPanel>(this, Main_Panel, "Top_pnl", alTop);
    Top_pnl->SetHeight(280);
    Top_pnl->SetBevelOuter(bvNone);

    BuildMacroTitleBar();
    BuildMacroRunBar();
    BuildMacroTreeLabel();
    BuildMacroTree();

    Splitter1 = Place<TSplitter>(this, Main_Panel, "Splitter1", alTop);
    Splitter1->SetHeight(4);
    Splitter1->MinSize = 100;

    BuildMacroEditBar();

    Apply_panel = Place<TPanel>(this, Main_Panel, "Apply_panel", alBottom);
    Apply_panel->SetHeight(4);
    Apply_panel->SetBevelOuter(bvNone);

    BuildMacroEditor();
}

void TForm1::BuildMacroTitleBar()
{
    MacroTitle_pnl = Place<TPanel>(this, Top_pnl, "MacroTitle_pnl", alTop);
    MacroTitle_pnl->SetHeight(20);
    MacroTitleLbl = Place<TLabel>(this, MacroTitle_pnl, "MacroTitleLbl");
    MacroTitleLbl->SetBounds(6, 3, 200, 14);
    MacroTitleLbl->SetCaption("Macro List / Visual Script");
    MacroTitleLbl->Font()->SetStyle(TFontStyles{fsBold});
    MacroTitleLbl->Font()->SetColor(clTeal);
    SpeedButton4 = Place<TSpeedButton>(this, MacroTitle_pnl, "SpeedButton4", alRight);
    SpeedButton4->SetWidth(18);
    SpeedButton4->SetCaption("x");
    SpeedButton4->Flat = true;
    SpeedButton4->OnClick = Closure(this, &TForm1::CloseTree_btnClick);
}

void TForm1::BuildMacroRunBar()
{
    ToolBar4 = Place<TToolBar>(this, Top_pnl, "ToolBar4", alLeft);
    ToolBar4->SetWidth(27);
    ToolBar4->SetImages(Tr_ImageListTreeViewIcons);
    auto runButton = [this](const char* name, const char* hint, int image, TNotifyEvent onClick) {
        TToolButton* b = Place<TToolButton>(this, ToolBar4, name);
        Hinted(b, hint);
        b->SetImageIndex(image);
        b->OnClick = onClick;
        return b;
    };
    Tr_Send_btn = runButton("Tr_Send_btn", "Execute line and stop.", 22,
                            Closure(this, &TForm1::Tr_Send_btnClick));
    Tr_SendNext_btn = runButton("Tr_SendNext_btn", "Execute line and move to next.", 23,
                                Closure(this, &TForm1::Tr_SendNext_btnClick));
    Tr_SendScript_btn = runButton(
        "Tr_SendScript_btn", "Execute all lines in sequence starting\r\nfrom current selection.",
        24, Closure(this, &TForm1::Tr_SendScript_btnClick));
    Tr_SendScriptRpt_btn =
        runButton("Tr_SendScriptRpt_btn",
                  "Continuously execute all lines in sequence starting\r\nfrom current selection.",
                  37, Closure(this, &TForm1::Tr_SendScriptRpt_btnClick));
    stop_tbtn =
        runButton("stop_tbtn", "Stop Execution", 36, Closure(this, &TForm1::stop_tbtnClick));
    stop_tbtn->SetEnabled(false);
    TR_breakpnt_btn = runButton("TR_breakpnt_btn", "Toggle Breakpoint", 20,
                                Closure(this, &TForm1::TR_breakpnt_btnClick));
    Tr_RemBreakpoint = runButton("Tr_RemBreakpoint", "Remove All Breakpoints", 19,
                                 Closure(this, &TForm1::Tr_RemBreakpointClick));
    Tr_collapse_btn = runButton("Tr_collapse_btn", "Collapse All Folders", 26, nullptr);
    Tr_collapse_btn->SetAction(ActionTreeCollapse);
    Tr_collapse_btn->SetVisible(false);
    Tr_edit_tbn = runButton("Tr_edit_tbn", "Show/Hide Macro Editor", 21,
                            Closure(this, &TForm1::Tr_edit_tbnClick));
    Tr_Expand_btn = runButton("Tr_Expand_btn", "Expand All Folders", 27, nullptr);
    Tr_Expand_btn->SetAction(ActionTreeExpand);
    Tr_Expand_btn->SetVisible(false);
}

void TForm1::BuildMacroTreeLabel()
{
    treelabel_pnl = Place<TPanel>(this, Top_pnl, "treelabel_pnl", alBottom);
    treelabel_pnl->SetHeight(18);
    treelabel_pnl->SetBevelOuter(bvNone);
    DTviewEdit_pnl = Place<TPanel>(this, treelabel_pnl, "DTviewEdit_pnl", alLeft);
    DTviewEdit_pnl->SetWidth(120);
    DTviewEdit_pnl->SetBevelOuter(bvNone);
    TreeListLbl = Place<TLabel>(this, DTviewEdit_pnl, "TreeListLbl");
    TreeListLbl->SetBounds(4, 2, 110, 14);
    TreeListLbl->SetCaption("Macro List Editor");
    TreeListLbl->Font()->SetStyle(TFontStyles{fsBold});
    TreeListLbl->Font()->SetColor(clTeal);
    UpDn_btn = Place<TSpeedButton>(this, treelabel_pnl, "UpDn_btn", alRight);
    UpDn_btn->SetWidth(18);
    UpDn_btn->Flat = true;
    UpDn_btn->OnMouseUp = Closure(this, &TForm1::UpDn_btnMouseUp);
    Tr_TEditorPopUp = Make<TPopupMenu>(this, "Tr_TEditorPopUp");
    Editor_mi1 = Item(this, Tr_TEditorPopUp->Items(), "Editor_mi1", "Show Editor",
                      Closure(this, &TForm1::Tr_edit_tbnClick));
}

void TForm1::BuildMacroTree()
{
    TreeView = Place<TTreeView>(this, Top_pnl, "TreeView", alClient);
    TreeView->ReadOnly = true;
    TreeView->HideSelection = false;
    TreeView->HotTrack = true;
    TreeView->Indent = 19;
    TreeView->SetImages(Tr_ImageListTreeViewIcons);
    TreeView->SetStateImages(Tr_ImageListTreeViewIcons);
    TreeView->OnClick = Closure(this, &TForm1::TreeViewClick);
    TreeView->OnDblClick = Closure(this, &TForm1::TreeViewDblClick);
    TreeView->OnKeyDown = Closure(this, &TForm1::TreeViewKeyDown);
    TreeView->OnKeyUp = Closure(this, &TForm1::TreeViewKeyUp);
    TreeView->DragMode = dmAutomatic;
    TreeView->OnDragOver = Closure(this, &TForm1::TreeViewDragOver);
    TreeView->OnDragDrop = Closure(this, &TForm1::TreeViewDragDrop);
    TreeView->OnEditing = Closure(this, &TForm1::TreeViewEditing);
    TreeView->OnEdited = Closure(this, &TForm1::TreeViewEdited);
    TreeView->OnChange = Closure(this, &TForm1::TreeViewChange);
    TreeView->OnDeletion = Closure(this, &TForm1::TreeViewDeletion);

    Tr_PopupMenu1 = Make<TPopupMenu>(this, "Tr_PopupMenu1");
    Tr_PopupMenu1->OnPopup = Closure(this, &TForm1::Tr_PopupMenu1Popup);
    TMenuItem* trPop = Tr_PopupMenu1->Items();
    Item(this, trPop, "MoveUp_mi", "Move &Up")->SetAction(ActionNodeMoveUp);
    Item(this, trPop, "MoveDown_mi", "Move &Down")->SetAction(ActionNodeMoveDown);
    Item(this, trPop, "MarkDeletion_mi", "&Mark For Deletion")->SetAction(ActionNodeDeleteSoft);
    Item(this, trPop, "UnDelete_mi", "&Unmark For Deletion",
         Closure(this, &TForm1::miUnDeleteClick));
    Item(this, trPop, "Tr_ClearAll_mi", "Clear All", Closure(this, &TForm1::Tr_ClearAll_miClick));
    Item(this, trPop, "ShowDescription_mi", "Show Description")->SetAction(Tr_Toggle_Description);
    Item(this, trPop, "Collapse_mi", "Collapse All Folders")->SetAction(ActionTreeCollapse);
    Item(this, trPop, "Expand_mi", "Expand All Folders")->SetAction(ActionTreeExpand);
    Restore_mi = Item(this, trPop, "Restore_mi", "Cancel / Restore",
                      Closure(this, &TForm1::ActionOtherRestoreExecute));
    Restore_mi->SetEnabled(false);
    Item(this, trPop, "SaveMacros_mi", "Save Macro List")->SetAction(ActionSaveMacros);
    TreeView->SetPopupMenu(Tr_PopupMenu1);
}

void TForm1::BuildMacroEditBar()
{
    ToolBar1 = Place<TToolBar>(this, Main_Panel, "ToolBar1", alLeft);
    ToolBar1->SetWidth(27);
    ToolBar1->SetImages(Tr_ImageListTreeViewIcons);
    auto editButton = [this](const char* name, const char* hint, int image, TAction* action,
                             TNotifyEvent onClick) {
        TToolButton* b = Place<TToolButton>(this, ToolBar1, name);
        if (action) b->SetAction(action);
        Hinted(b, hint);
        b->SetImageIndex(image);
        if (onClick) b->OnClick = onClick;
        return b;
    };
    Tr_NewFolder_btn = editButton("Tr_NewFolder_btn", "Add New Folder", MacroImage::AddFolder,
                                  ActionAddNewFolder, nullptr);
    Tr_NewFile_btn = editButton("Tr_NewFile_btn", "Add New Macro Item", MacroImage::AddItem,
                                nullptr, Closure(this, &TForm1::Add1Click));
    Tr_Up_btn =
        editButton("Tr_Up_btn", "Move Item Up", MacroImage::MoveUp, ActionNodeMoveUp, nullptr);
    Tr_Dn_btn = editButton("Tr_Dn_btn", "Move Item Down", MacroImage::MoveDown, ActionNodeMoveDown,
                           nullptr);
    Tr_Erase_btn = editButton("Tr_Erase_btn", "Erase", MacroImage::Erase, nullptr,
                              Closure(this, &TForm1::Tr_Erase_btnClick));
    Tr_Erase_btn->SetVisible(false);
    Tr_Delete_btn = editButton("Tr_Delete_btn", "Mark Macro For Deletion",
                               MacroImage::MarkForDeletion, ActionNodeDeleteSoft, nullptr);
    Tr_Restore_btn = editButton("Tr_Restore_btn", "Cancel / Restore Changes To Existing Macro",
                                MacroImage::Restore, ActionOtherRestore, nullptr);
    Tr_OK_btn = editButton("Tr_OK_btn", "Apply Changes to Existing Macro", MacroImage::Apply,
                           ActionNodeModify, nullptr);
    Tr_Save_btn =
        editButton("Tr_Save_btn", "Save Macro List", MacroImage::Save, ActionSaveMacros, nullptr);
}

void TForm1::BuildMacroEditor()
{
    ScrollBox = Place<TScrollBox>(this, Main_Panel, "ScrollBox", alClient);
    PanelEditEntry = Place<TPanel>(this, ScrollBox, "PanelEditEntry");
    PanelEditEntry->SetBounds(0, 0, 278, 200);
    PanelEditEntry->SetBevelOuter(bvNone);
    PanelEditEntry->SetVisible(false);
    auto label = [this](const char* name, const char* caption, int top) {
        TLabel* l = Place<TLabel>(this, PanelEditEntry, name);
        l->SetBounds(4, top + 3, 80, 14);
        l->SetCaption(caption);
        return l;
    };
    auto edit = [this](const char* name, int top, int maxLength) {
        TEdit* e = Place<TEdit>(this, PanelEditEntry, name);
        e->SetBounds(88, top, 180, 21);
        e->SetMaxLength(maxLength);
        e->TabStop = true;
        e->OnChange = Closure(this, &TForm1::ActionOtherChangeExecute);
        e->OnKeyPress = Closure(this, &TForm1::EditMacroNameKeyPress);
        return e;
    };
    auto list = [this](const char* name, int top, std::initializer_list<const char*> items) {
        TComboBox* c = Place<TComboBox>(this, PanelEditEntry, name);
        c->SetStyle(csDropDownList);
        c->SetBounds(88, top, 180, 200);
        c->DropDownCount = 16;
        for (const char* item : items) c->Items()->Add(item);
        c->TabStop = true;
        c->OnChange = Closure(this, &TForm1::ActionOtherChangeExecute);
        c->OnKeyPress = Closure(this, &TForm1::EditMacroTypeKeyPress);
        return c;
    };
    MacroNameLbl = label("MacroNameLbl", "Macro Name:", 4);
    EditMacroName = edit("EditMacroName", 4, 30);
    MacroTypeLbl = label("MacroTypeLbl", "Macro Type:", 30);
    EditMacroType = list("EditMacroType", 30,
                         {"File", "Data String", "Control Signal", "Delay in ms", "(NONE)"});
    EditMacroType->OnChange = Closure(this, &TForm1::EditMacroTypeChange);
    DescriptionLbl = label("DescriptionLbl", "Description:", 56);
    EditDescription = edit("EditDescription", 56, 60);
    Selection_lbl = label("Selection_lbl", "", 82);
    EditOther = list("EditOther", 82,
                     {"0",   "10",   "20",   "30",   "40",    "50",    "60",    "70",   "80",
                      "90",  "100",  "200",  "300",  "400",   "500",   "600",   "700",  "800",
                      "900", "1000", "2000", "5000", "10000", "20000", "30000", "60000"});
    EditSignal = list("EditSignal", 82,
                      {"RTS OFF", "RTS ON", "DTR OFF", "DTR ON", "RTS OFF, DTR OFF",
                       "RTS OFF, DTR ON", "RTS ON,  DTR OFF", "RTS ON,  DTR ON"});
    Tr_File_Data_lbl = label("Tr_File_Data_lbl", "Data:", 108);
    EditData = edit("EditData", 108, 3000);
    EditData->OnDblClick = Closure(this, &TForm1::EditDataDblClick);
    Tr_FileOpen_btn = Place<TButton>(this, PanelEditEntry, "Tr_FileOpen_btn");
    Tr_FileOpen_btn->SetBounds(270, 108, 22, 21);
    Tr_FileOpen_btn->SetCaption("...");
    Tr_FileOpen_btn->OnClick = Closure(this, &TForm1::Tr_FileOpen_btnClick);
    Bevel14 = Place<TBevel>(this, PanelEditEntry, "Bevel14");
    Bevel14->SetBounds(88, 134, 180, 2);
    Bevel14->Shape = bsTopLine;
    RecordIDLbl = label("RecordIDLbl", "Record ID:", 140);
    EditID = edit("EditID", 140, 0);
    PFRecordIDLbl = label("PFRecordIDLbl", "PFRecord ID:", 164);
    EditParentFolderID = edit("EditParentFolderID", 164, 0);
    ParentFolderLbl = label("ParentFolderLbl", "Parent Folder:", 188);
    EditParentFolder = edit("EditParentFolder", 188, 0);
    for (TControl* c :
         std::initializer_list<TControl*>{RecordIDLbl, EditID, PFRecordIDLbl, EditParentFolderID,
                                          ParentFolderLbl, EditParentFolder})
        c->SetVisible(false);
    for (TEdit* e : {EditID, EditParentFolderID, EditParentFolder}) e->SetReadOnly(true);

    // Deleted nodes wait here for undo and redo.
    UndoRedo_Panel = Place<TPanel>(this, ScrollBox, "UndoRedo_Panel");
    UndoRedo_Panel->SetBounds(0, 210, 200, 80);
    UndoRedo_Panel->SetVisible(false);
    TreeViewUndo = Place<TTreeView>(this, UndoRedo_Panel, "TreeViewUndo");
    TreeViewUndo->SetBounds(0, 0, 100, 80);
    TreeViewRedo = Place<TTreeView>(this, UndoRedo_Panel, "TreeViewRedo");
    TreeViewRedo->SetBounds(100, 0, 100, 80);
}

void TForm1::FillPortDefaults()
{
    for (int i = 1; i <= 32; ++i) PortIndex->Items()->Add("COM" + IntToStr(i));
    PortIndex->SetItemIndex(0);
    Baud->SetItemIndex(6);
    DataBitsBox->SetItemIndex(2);
    ParityBox->SetItemIndex(0);
    StopBitsBox->SetItemIndex(0);
}
