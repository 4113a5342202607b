// The main window TForm1: its components (built in code by BuildFormData), its handlers and
// its life from start-up to shutdown. Handlers are grouped by the feature they serve.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "comm/Comm.h"
#include "macros/TreeFileIo.h"
#include "placement/FormPlacement.h"
#include "settings/OptionsHost.h"
#include "terminal/Formatter.h"
#include "terminal/MacroRunHost.h"
#include "terminal/MainControls.h"
#include "terminal/ReceiveView.h"

class TMemoryStream;

// Posted by the main window to itself when the screen has scrolled: it then rests the view on
// whole lines.
constexpr UINT WM_SCREENSCROLLED = WM_APP + 1;

class TForm1 : public TForm, public TFormatterHost, public TMacroRunHost, public TOptionsHost {
public:
    explicit TForm1(TComponent* AOwner);
    ~TForm1() override;

    // ---- menus ---------------------------------------------------------------------------
    TMainMenu* MainMenu1;
    TMenuItem *FileMenu, *FileNew, *miFileSave, *miFileSaveAs, *miFilePrint, *PageSetup1, *FileExit;
    TMenuItem *EditMenu, *EditCopy, *SelectAll1, *Find1, *Clear1, *ClearStatusBarMessages1;
    TMenuItem *View1, *Mode1, *mi_ASCIIMode, *mi_MixedMode, *mi_HexMode, *miStringEntryPane,
        *miLineNumbers, *mi_showhidemacros, *Fullscreen1, *NotationCon1, *UserNotes, *EditFont,
        *Background1;
    TMenuItem *CommsMenu, *Connect1_mi, *Disconnect1_mi;
    TMenuItem *Transfer1, *miSendFileBinary, *miSpxSendFileBinary, *miStopSending,
        *miReceiveFileBinary, *miStopCapture, *SendCtrlChar00, *SendCtrlChar10;
    // The 32 items of the control-character menu, in code order (NULL_00 .. US_1F).
    TMenuItem* CtrlCharItems[32];
    TMenuItem *SettingsMenu, *Display1, *Save1, *ImportfromProfile1, *ExportProfile;
    TMenuItem *HelpMenu, *HelpAbout, *ASCIITable1;
    // The screen's pop-up menu (it shows the View menu's commands).
    TPopupMenu* PopupMenu1;
    TMenuItem *PopupCopy, *PopupFind, *PopupClear, *PopupClearStatus, *ScreenMaximiseRestore1,
        *PopupStringEntryPane, *PopupLineNumbers;

    // ---- actions (keyboard shortcuts of the commands) ------------------------------------
    TActionList* ActionList1;
    TAction *Connect_F2, *Find_F3, *Clear_F4, *Properties_F5, *Notes_F6, *DTR, *RTS, *Break,
        *Exit_F10, *Send_INS, *Stop_END;
    TActionList* Tr_ActionList;
    TAction *ActionViewMacros, *ActionHideMacros, *ActionNodeModify, *ActionOtherRestore,
        *ActionOtherChange, *ActionAddNewFolder, *ActionNodeMoveUp, *ActionNodeMoveDown,
        *ActionNodeDeleteSoft, *ActionNodeDeleteHard, *ActionEditUndo, *ActionEditRedo,
        *ActionFileClear, *ActionSaveMacros, *ActionLoadMacros, *ActionRefreshIcons,
        *ActionTreeCollapse, *ActionTreeExpand, *Tr_Toggle_Description;

    // ---- tool bar, port combos and lamps ---------------------------------------------------
    TPanel *Panel3, *IconPanel, *ConfigPanel, *LedPanel, *LedPanel2, *Panel7;
    TSpeedButton *Connect_spbtn, *DisConnect_spbtn1, *Connect_spbtn2, *Clear_spbtn, *Find_spbtn,
        *settings_spbtn, *Readme_sbtn, *ScrollDwn_sbtn;
    TComboBox *PortIndex, *Baud, *DataBitsBox, *ParityBox, *StopBitsBox;
    TLEDLabel *LED_DTR, *LED_RTS, *LED_BRK, *LED_RI, *LED_CTS, *LED_DCD, *LED_BRKD, *LED_DSR;

    // ---- string entry pane and send bar --------------------------------------------------
    TPanel *pnlStringEntry, *Panel11;
    TEdit* edtSend;
    TCSpinEdit* SendLoop_sedt;
    TButton *SendData_btn, *Stop_btn;
    TPanel *pnlSend, *Panel5;
    TEdit* edtFile;
    TButton* btnStopFileSend;
    TProgressBar* ProgressBar1;

    // ---- receive screen, gutter, status bar, developer aids ------------------------------
    TPanel *ScreenPanel, *PanelLine;
    TPaintBox* PaintBox1;
    TRichEditP *reScreen, *RichEdit_RTF;
    TStatusBar* StatusBar1;
    TPanel* Panel1;  // hidden developer aids
    TMemo *Memo1, *STR_ENTRY_TEXT_memo, *SpecialStringMemo;
    TLabel *Label1, *Label10;
    TSpeedButton* Paste_sbtn;

    // ---- macro pane ------------------------------------------------------------------------
    TPanel *Main_Panel, *Top_pnl, *MacroTitle_pnl, *treelabel_pnl, *DTviewEdit_pnl, *Apply_panel,
        *UndoRedo_Panel;
    TLabel *MacroTitleLbl, *TreeListLbl;
    TSpeedButton *SpeedButton4, *UpDn_btn;
    TSplitter *Tr_left_right_splitter, *Splitter1;
    TImageList* Tr_ImageListTreeViewIcons;
    TTreeView *TreeView, *TreeViewUndo, *TreeViewRedo;
    TToolBar *ToolBar4, *ToolBar1;
    TToolButton *Tr_Send_btn, *Tr_SendNext_btn, *Tr_SendScript_btn, *Tr_SendScriptRpt_btn,
        *stop_tbtn, *TR_breakpnt_btn, *Tr_RemBreakpoint, *Tr_collapse_btn, *Tr_edit_tbn,
        *Tr_Expand_btn;
    TToolButton *Tr_NewFolder_btn, *Tr_NewFile_btn, *Tr_Up_btn, *Tr_Dn_btn, *Tr_Erase_btn,
        *Tr_Delete_btn, *Tr_Restore_btn, *Tr_OK_btn, *Tr_Save_btn;
    TPopupMenu *Tr_PopupMenu1, *Tr_TEditorPopUp;
    TMenuItem *Restore_mi, *Editor_mi1;
    TScrollBox* ScrollBox;
    TPanel* PanelEditEntry;
    TLabel *MacroNameLbl, *MacroTypeLbl, *DescriptionLbl, *Selection_lbl, *Tr_File_Data_lbl,
        *RecordIDLbl, *PFRecordIDLbl, *ParentFolderLbl;
    TEdit *EditMacroName, *EditDescription, *EditData, *EditID, *EditParentFolderID,
        *EditParentFolder;
    TComboBox *EditMacroType, *EditOther, *EditSignal;
    TButton* Tr_FileOpen_btn;
    TBevel* Bevel14;
    TOpenDialog* Tr_OpenDialog;

    // ---- timers, port, dialogs -------------------------------------------------------------
    TTimer *Timer1, *Timer2, *Timer_BRKD;
    TComm* Comm1;
    TFontDialog* FontDialog;
    TColorDialog* ColorDialog1;
    TFindDialog* FindDialog1;
    TPrintDialog* PrintDialog1;
    TPrinterSetupDialog* PrinterSetupDialog1;
    TSaveDialog *SaveDialog1, *captureSaveDialog, *OutProfileDialog;
    TOpenDialog *sendOpenDialog, *InProfileDialog;
    TFormPlacement* FormPlacement1;

    // ---- life cycle ------------------------------------------------------------------------
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FileExitClick(TObject* Sender);
    void FormResize(TObject* Sender);
    // The application's deactivation event: nothing to do, but the form owns it.
    void AppDeactivate(TObject* Sender);

    // ---- settings ------------------------------------------------------------------------
    void ApplySettings();
    void AdjustColumns() override;
    void ApplyScreenFont(bool ShowDialog) override;
    void EditFontClick(TObject* Sender);
    void Background1Click(TObject* Sender);
    void GatherPortSettings();
    void Save1Click(TObject* Sender);
    void ExportProfileClick(TObject* Sender);
    void ImportfromProfile1Click(TObject* Sender);

    // ---- connection and live port parameters -----------------------------------------------
    void Connect_spbtnClick(TObject* Sender);
    // The port's device went away while connected: disconnects as the Disconnect command does
    // and says which port it was.
    void Comm1DeviceLost(TObject* Sender, int Error);
    void PortIndexChange(TObject* Sender);
    void BaudChange(TObject* Sender);
    void DataBitsBoxChange(TObject* Sender);
    void ParityBoxChange(TObject* Sender);
    void StopBitsBoxChange(TObject* Sender);
    void PortIndexKeyPress(TObject* Sender, char& Key);
    void BaudKeyPress(TObject* Sender, char& Key);
    void DataBitsBoxKeyPress(TObject* Sender, char& Key);
    void ParityBoxKeyPress(TObject* Sender, char& Key);
    void StopBitsBoxKeyPress(TObject* Sender, char& Key);

    // ---- modem lines, lamps, line errors, status tick --------------------------------------
    void RefreshModemLeds();
    void Comm1Break(TObject* Sender);
    void Comm1Cts(TObject* Sender);
    void Comm1Dsr(TObject* Sender);
    void Comm1Ring(TObject* Sender);
    void Comm1Rlsd(TObject* Sender);
    void Comm1Error(TObject* Sender, int Errors);
    void Comm1RxFlag(TObject* Sender);
    void Comm1TxEmpty(TObject* Sender);
    void LED_RTSMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void LED_DTRMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void LED_BRKMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void RTSExecute(TObject* Sender);
    void DTRExecute(TObject* Sender);
    void BreakExecute(TObject* Sender);
    void Timer_BRKDTimer(TObject* Sender);
    void Timer2Timer(TObject* Sender);

    // ---- receive path, gutter, session and screen commands ---------------------------------
    void Comm1RxChar(TObject* Sender, DWORD Count);
    void Timer1Timer(TObject* Sender);
    // Line count of the pending text: overload stop at 64,000, shortened rebuild at the line
    // limit (never a whole reload). Also run after each echoed byte. Without LoadScreen only
    // the pending text and the records are shortened; the display tick shows them.
    void CheckReceiveBacklog(bool LoadScreen = true);
    // The whole screen from RtfHeader and all of PendingRtf.
    void ReloadScreenFromPending();
    // The screen from RtfHeader and the last lines only (Lines: the count just taken by
    // BuildLineOffsets); PendingRtf shortened to them, display records trimmed. Without
    // LoadScreen the screen is left to the display tick. With CutInHold the caller holds the
    // screen's drawing: a screen cut in place is not held again, and the characters cut from its
    // top are added there (-1 when the screen was loaded anew instead).
    void RebuildScreenFromPending(std::uint32_t Lines, bool LoadScreen = true,
                                  int* CutInHold = nullptr);
    // Inside a paste that holds the screen's drawing: the line limit kept there when the screen
    // only loses its top lines, so that the paste and the cut are drawn once. The characters cut
    // from the screen's top; 0 when nothing was cut there (CheckReceiveBacklog does the rest).
    int CutScreenTopWithPaste();
    void LoadScreenFromWorkRtf(bool PlainRtf);
    // One formatted byte, or a short reply, pasted at once at the end of the screen, in a group
    // that starts with one of the four colour prefixes; a failure says "Error Updating Screen"
    // and leaves it to the display tick.
    // Always at the end, whatever the caret or selection the user left there.
    void PasteAtScreenEnd(const String& Prefix, const char* Formatted, std::uint32_t Length);
    // A byte sent by hand formatted into the pending text in the sent colours and pasted at
    // the screen's end, Prefix starting its group.
    void EchoSentByte(TObject* Sender, std::uint8_t Byte, const String& Prefix);
    // The overload stop at 64,000 pending lines; returns the lines counted again after it.
    std::uint32_t StopForDelays();
    // The formatter's overflow stop (TFormatterHost).
    void StopForOverflow(TObject* Sender, const String& Message) override;
    // The receive path's buffers and what its screen waits for.
    TReceiveView Receive;
    // The line-number gutter: numbers of the visible screen lines, as many as fit; the first
    // step of the three handlers below.
    void RepaintGutter();
    void PaintBox1Paint(TObject* Sender);
    void reScreenVertScroll(TObject* Sender);
    // The screen's view moved to the start of its first visible line, after a scroll, unless
    // the last line would leave the view (WM_SCREENSCROLLED).
    void RestScreenOnWholeLines();
    // The cursor inspector: CaretInfoText and ByteInfoText for the selection.
    void reScreenSelectionChange(TObject* Sender);
    void FileNewClick(TObject* Sender);
    void Clear_spbtnClick(TObject* Sender);
    // The status bar's panels 1 to 4; Keep false zeroes the counters and the record count.
    void UpdateStatusCounters(bool Keep);
    // The display mode commands' work: 0 ASCII/Text, 1 Mixed, 2 Hexadecimal.
    void SwitchDisplayMode(std::int32_t Mode) override;
    void ClearStatusBarMessages1Click(TObject* Sender);
    void mi_ASCIIModeClick(TObject* Sender);
    void mi_MixedModeClick(TObject* Sender);
    void mi_HexModeClick(TObject* Sender);
    void Mode1Click(TObject* Sender);
    void Find_spbtnClick(TObject* Sender);
    void FindDialog1Find(TObject* Sender);
    void SelectAll1Click(TObject* Sender);
    void miFilePrintClick(TObject* Sender);
    void PageSetup1Click(TObject* Sender);
    void miFileSaveClick(TObject* Sender);
    void miFileSaveAsClick(TObject* Sender);
    void EditCopyClick(TObject* Sender);
    // Writes the screen's rich text to FileName (safely replaced); an error box on failure.
    void SaveScreenTo(const String& FileName);
    void Paste_sbtnClick(TObject* Sender);

    // ---- keyboard send path, string entry pane, file transfers -----------------------------
    void reScreenKeyPress(TObject* Sender, char& Key);
    void reScreenKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void NULL_00Click(TObject* Sender);
    void SendData_btnClick(TObject* Sender);
    void Stop_btnClick(TObject* Sender);
    void edtSendChange(TObject* Sender);
    void edtSendClick(TObject* Sender);
    void edtSendDblClick(TObject* Sender);
    void SendLoop_sedtKeyPress(TObject* Sender, char& Key);
    void SendLoop_sedtClick(TObject* Sender);
    // Expands Source's escapes into Destination (room for Source's length and a NUL) and
    // returns the byte count; on an error, its message, the offending characters selected in
    // the entry field, and 0.
    std::uint32_t ParseEscapes(std::uint8_t* Destination, const String& Source);
    // The repeated send of the N bytes in EntrySendBuffer; Count 0: until stopped.
    void SendEntryString(std::uint32_t N, int Count);
    void miSendFileBinaryClick(TObject* Sender);
    void miSpxSendFileBinaryClick(TObject* Sender);
    void miReceiveFileBinaryClick(TObject* Sender);
    void miStopSendingClick(TObject* Sender);
    void miStopCaptureClick(TObject* Sender);
    // Every capture write goes through CaptureBytes: a write the system refuses ends the
    // capture with a message naming the file. The receive handler captures what it reads, the
    // key path each typed byte just before it goes to the port.
    void CaptureBytes(const void* Bytes, int Count);
    void CaptureTypedByte(std::uint8_t Byte) { CaptureBytes(&Byte, 1); }
    // Hands the capture's buffered bytes to the system, checked like a write; the status tick
    // calls it, so a crash loses at most one tick of capture.
    void FlushCapture();

    // ---- view, panes and menu state ------------------------------------------------------
    void HelpAboutClick(TObject* Sender);
    void Readme_sbtnClick(TObject* Sender);
    void settings_spbtnClick(TObject* Sender);
    // The rest of what the options dialog asks of the window (TOptionsHost), besides the
    // display mode, the font, the line width and PortEnabled above (MainOptionsDialog.cpp).
    std::int32_t CurrentDisplayMode() const override;
    void SetCharsPerLine(std::uint32_t Columns) override;
    void ShowStringEntryPane(bool Visible) override;
    void SaveSettingsFiles() override;
    void ASCIITable1Click(TObject* Sender);
    void NotationCon1Click(TObject* Sender);
    void miStringEntryPaneClick(TObject* Sender);
    // "Line Numbers" in the View menu and the screen's pop-up: shows or hides the gutter.
    void miLineNumbersClick(TObject* Sender);
    void Fullscreen1Click(TObject* Sender);
    void FileMenuClick(TObject* Sender);
    void View1Click(TObject* Sender);
    void Transfer1Click(TObject* Sender);
    void pnlStringEntryResize(TObject* Sender);
    void pnlSendResize(TObject* Sender);
    void Panel5Resize(TObject* Sender);
    void ScrollDwn_sbtnClick(TObject* Sender);

    // ---- macro pane: editor, run commands, tree commands -----------------------------------
    void HideMacroEditor();
    void ShowMacroEditor();
    // The upper part's height for the editor's next showing, from where the splitter is.
    void KeepUpperPartHeightAtSplitter();
    void TreeViewClick(TObject* Sender);
    void TreeViewDblClick(TObject* Sender);
    void ActionOtherChangeExecute(TObject* Sender);
    void ActionOtherRestoreExecute(TObject* Sender);
    void ActionNodeModifyExecute(TObject* Sender);
    void EditMacroTypeChange(TObject* Sender);
    void EditMacroTypeKeyPress(TObject* Sender, char& Key);
    void EditMacroNameKeyPress(TObject* Sender, char& Key);
    void ActionViewMacrosExecute(TObject* Sender);
    void ActionHideMacrosExecute(TObject* Sender);
    // Item labels show descriptions; kept in the macro list file's header.
    bool ShowMacroDescriptions = true;
    void CloseTree_btnClick(TObject* Sender);
    void Tr_edit_tbnClick(TObject* Sender);
    void UpDn_btnMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Tr_left_right_splitterMoved(TObject* Sender);
    void Tr_FileOpen_btnClick(TObject* Sender);
    void EditDataDblClick(TObject* Sender);
    void Tr_Erase_btnClick(TObject* Sender);
    void Tr_Send_btnClick(TObject* Sender);
    void Tr_SendNext_btnClick(TObject* Sender);
    void Tr_SendScript_btnClick(TObject* Sender);
    void Tr_SendScriptRpt_btnClick(TObject* Sender);
    void stop_tbtnClick(TObject* Sender);
    void TR_breakpnt_btnClick(TObject* Sender);
    void Tr_RemBreakpointClick(TObject* Sender);
    // A script's walk moving the selection (not while the editor is shown), and a run's steps.
    void SelectAsRun(TTreeNode* Node);
    std::int32_t RunStep(TTreeNode* Node);
    // Which nodes the run going on may still walk (none without a run).
    enum class TRunScope { None, StepOnly, ToEnd, Everything };
    TRunScope RunScope = TRunScope::None;
    bool RunMayWalk(TTreeNode* Node);
    void Add1Click(TObject* Sender);
    void ActionAddNewFolderExecute(TObject* Sender);
    void ActionNodeMoveUpExecute(TObject* Sender);
    void ActionNodeMoveDownExecute(TObject* Sender);
    void ActionNodeDeleteSoftExecute(TObject* Sender);
    void miUnDeleteClick(TObject* Sender);
    void ActionEditUndoExecute(TObject* Sender);
    void ActionEditRedoExecute(TObject* Sender);
    void ActionFileClearExecute(TObject* Sender);
    void Tr_ClearAll_miClick(TObject* Sender);
    void ActionSaveMacrosExecute(TObject* Sender);
    void ActionLoadMacrosExecute(TObject* Sender);
    void ActionRefreshIconsExecute(TObject* Sender);
    void ActionTreeCollapseExecute(TObject* Sender);
    void ActionTreeExpandExecute(TObject* Sender);
    void Tr_Toggle_DescriptionExecute(TObject* Sender);
    void Tr_PopupMenu1Popup(TObject* Sender);
    void Main_PanelResize(TObject* Sender);
    // The macro editor's transfer between a node's record and the fields, and the tree's
    // keys, drag and drop and in-place editing.
    void ClearEntryPanel();
    void LayoutEditorForMacroType(const String& Type);
    void LayoutMacroEditor();
    void TransferPersonalInfoToEditEntry(TInfo* Info);
    void TransferPersonalInfoFromEditEntry(std::uint32_t ID, const String& Label, TInfo* Info);
    // What an apply writes into its node: the fields' texts, and which stored list values
    // the lists could not show.
    struct TEditorTexts {
        String Name, Type, Description, Other, Signal, Data;
        bool KeepType = false, KeepOther = false, KeepSignal = false;
    };
    TEditorTexts TakeEditorTexts();
    void WriteEditorTexts(std::uint32_t ID, const String& Label, TInfo* Info,
                          const TEditorTexts& Texts);
    void ReflectNodeLabel(TTreeNode* Node);
    // Fills the editor from the node (empties it for none) and makes it the editor's node.
    void ShowNodeInEditor(TTreeNode* Node);
    // No edit pending: apply and restore disabled.
    void ForgetPendingEdit();
    std::int32_t PM_AddNewChild(const String& Name);
    void TreeViewKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void TreeViewKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    void TreeViewDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                          bool& Accept);
    void TreeViewDragDrop(TObject* Sender, TObject* Source, int X, int Y);
    void TreeViewEditing(TObject* Sender, TTreeNode* Node, bool& AllowEdit);
    void TreeViewEdited(TObject* Sender, TTreeNode* Node, String& S);
    void TreeViewChange(TObject* Sender, TTreeNode* Node);
    void TreeViewDeletion(TObject* Sender, TTreeNode* Node);
    // What a macro run asks of the window (TMacroRunHost): the Stop button, the key path,
    // the editor, the port and its lamps (MainMacroRunHost.cpp) and the send bar
    // (MainFileSend.cpp).
    bool StopEnabled() const override;
    void SetStopEnabled(bool Enabled) override;
    void StopMacroRun() override;
    void SendKeyPress(char& Key) override;
    void SelectInMacroData(int Start, int Length) override;
    void StepFailedWithBox() override;
    bool PortEnabled() const override;
    int WriteToPort(std::uint8_t Byte) override;
    void SetControlLines(int Rts, int Dtr) override;
    // What a file send asks of the window (TFileSendHost), every send's (MainFileSend.cpp).
    std::uint32_t LineBaud() const override;
    int WriteBlock(const char* Bytes, int Count) override;
    bool PortDeviceGone() override;
    void LockForFileSend(int ProgressRange) override;
    void ShowSendBar(const String& FileName) override;
    void SetSendProgress(int Position) override;
    void EndFileSend() override;
    // The node whose fields were changed in the editor and not applied yet, or nullptr.
    TTreeNode* PendingEditNode = nullptr;
    // Where a drop point lies: the node there and how the point hits it. The tree's own hit
    // test unless a test puts another in.
    struct TMacroDropPoint {
        TTreeNode* Target = nullptr;
        THitTests Hits;
    };
    std::function<TMacroDropPoint(int X, int Y)> MacroDropHitTest;

    // The gutter's canvas (PaintBox1's), also used to measure text in the screen's font.
    TCanvas* GutterCanvas = nullptr;

    // The special file send's timer; 0 from the constructor on.
    UINT SendTimerId = 0;
    // When the running pause's timer is overdue (GetTickCount64).
    unsigned long long SendPauseDeadline = 0;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    // The form data: every component with its properties and events, in creation order.
    void BuildFormData();
    void BuildMenus();
    void BuildActions();
    void BuildToolBar();
    void BuildStringEntryPane();
    void BuildSendBar();
    void BuildScreen();
    void BuildMacroPane();
    void BuildMacroTitleBar();
    void BuildMacroRunBar();
    void BuildMacroTreeLabel();
    void BuildMacroTree();
    void BuildMacroEditBar();
    void BuildMacroEditor();
    void BuildNonVisual();
    void FillPortDefaults();

    // The constructor's command-line step; true when a profile was taken (no fallback).
    bool LoadProfileFromCommandLine();
    void LoadSettingsFile();
    // LoadSettings and ApplySettings for a profile, as the command line and a drop do it.
    void LoadProfile(const String& Path);
    void DropFiles(HDROP Drop);
    void DisconnectIfOpen();
    // The two halves of Connect_spbtnClick, and the disconnected look of the window (lamps
    // dark, "Connect", port choice enabled, Connection.PortOpen 0).
    void ConnectPort();
    void DisconnectPort();
    void ShowDisconnected();
    // The check marks of the View menu's and the screen pop-up's "String Entry Pane" from the
    // pane's visibility.
    void CheckStringEntryPaneItems();
    // The check marks of both "Line Numbers" items from the gutter's visibility.
    void CheckLineNumbersItems();

    // The window exists (and can be found) from early in the constructor, and message boxes
    // of the start-up run message loops: a close asked for before the window is built is
    // kept and asked again once it is.
    bool constructing_ = true;
    bool closeRequestedEarly_ = false;

    // Set by an overload stop of the display path: the next connect starts on a cleared screen.
    bool displayNeedsReset_ = false;

    // The gutter's nudge of the screen to whole lines scrolls it, which reports it again: one
    // nudge at a time, and one posted at a time.
    bool nudgingToWholeLines_ = false;
    bool wholeLinesPosted_ = false;

    // The file the screen was last saved to ("&Save (RTF)" writes there again).
    String screenFileName_;

    // The macro list file "qvmacros.ini" beside the program, over the tree and this pane.
    TMacroListFile& MacroListFile();
    std::unique_ptr<TMacroPaneLayout> macroPane_;
    std::unique_ptr<TMacroListFile> macroListFile_;

    // A list value of the shown record the editor's list cannot show (a delay in seconds,
    // an unlisted delay): kept as stored until the user changes that list.
    bool keepStoredType_ = false, keepStoredOther_ = false, keepStoredSignal_ = false;
    // The node the editor's fields show, always the tree's selection, and the only node they
    // are applied to; nullptr while they show none.
    TTreeNode* editorNode_ = nullptr;
    // The node an apply writes while its box is up, or nullptr: no second apply starts then.
    TTreeNode* applyingNode_ = nullptr;
    // The node a run's walk stands on (nullptr when none, or when it was freed meanwhile).
    TTreeNode* runStepNode_ = nullptr;

    // Sizes kept while the macro editor is hidden, given back when it is shown.
    int topPnlHeight_ = 280;
    int editorLabelWidth_ = 120;
    int treeLabelHeight_ = 18;

    // ---- what Send File and Special Send File share (MainFileSend.cpp) ------------------
    // The end of the send going on gives the screen the focus (not a macro's file item that
    // found the focus elsewhere).
    bool focusScreenAtSendEnd_ = true;
    // The open dialog's file for Sender, opened (with its error box); false: nothing opened.
    bool OpenSendFile(TFileSender& Sender);

    // ---- special send's pause after each byte (MainPacedSend.cpp) -----------------------
    // The pause of Delay ms after a byte, on the multimedia timer: started (false when the
    // system gives no timer for it), looked at by the send's steps (Refused once the tick is
    // long overdue), ended.
    bool StartPauseAfterByte(int Delay);
    TFileSendPause PauseAfterByteState() const;
    void EndPauseAfterByte();
    bool StartSendTimer(UINT Period, UINT Resolution);
    void StopSendTimer();
};

extern TForm1* Form1;

// Appends a formatted piece (Length bytes and the NUL after them) to the pending screen text,
// over the NUL that ended it.
void AppendToPendingRtf(const char* Piece, std::uint32_t Length);

// The options dialog's "ShowCommEvent" check box: the port's diagnostic events are noted in the
// diagnostics memo, which the display tick then keeps. False while the dialog does not exist
// (MainOptionsDialog.cpp).
bool ShowCommEventTicked();
