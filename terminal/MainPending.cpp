// The main window's handlers whose features are not built yet: each is wired to its control
// and does nothing until its feature is built (and moves to that feature's file).
#include "terminal/Main.h"

// ---- Special send ------------------------------------------------------------------------
void TForm1::miSpxSendFileBinaryClick(TObject* Sender) {}

// ---- View, panes and menu state -------------------------------------------------------
void TForm1::HelpAboutClick(TObject* Sender) {}
void TForm1::Readme_sbtnClick(TObject* Sender) {}
void TForm1::ASCIITable1Click(TObject* Sender) {}
void TForm1::NotationCon1Click(TObject* Sender) {}
void TForm1::miStringEntryPaneClick(TObject* Sender) {}
void TForm1::Fullscreen1Click(TObject* Sender) {}
void TForm1::FileMenuClick(TObject* Sender) {}
void TForm1::View1Click(TObject* Sender) {}
void TForm1::Transfer1Click(TObject* Sender) {}
void TForm1::pnlStringEntryResize(TObject* Sender) {}
void TForm1::pnlSendResize(TObject* Sender) {}
void TForm1::Panel5Resize(TObject* Sender) {}
void TForm1::ScrollDwn_sbtnClick(TObject* Sender) {}

// ---- Macro pane: tree, editor and tree commands -------------------------
void TForm1::TreeViewClick(TObject* Sender) {}
void TForm1::ActionOtherChangeExecute(TObject* Sender) {}
void TForm1::ActionOtherRestoreExecute(TObject* Sender) {}
void TForm1::ActionNodeModifyExecute(TObject* Sender) {}
void TForm1::EditMacroTypeChange(TObject* Sender) {}
void TForm1::EditMacroTypeKeyPress(TObject* Sender, char& Key) {}
void TForm1::EditMacroNameKeyPress(TObject* Sender, char& Key) {}
void TForm1::CloseTree_btnClick(TObject* Sender) {}
void TForm1::Tr_edit_tbnClick(TObject* Sender) {}
void TForm1::UpDn_btnMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
}
void TForm1::Tr_left_right_splitterMoved(TObject* Sender) {}
void TForm1::Tr_FileOpen_btnClick(TObject* Sender) {}
void TForm1::EditDataDblClick(TObject* Sender) {}
void TForm1::Tr_Erase_btnClick(TObject* Sender) {}
void TForm1::Add1Click(TObject* Sender) {}
void TForm1::ActionAddNewFolderExecute(TObject* Sender) {}
void TForm1::ActionNodeMoveUpExecute(TObject* Sender) {}
void TForm1::ActionNodeMoveDownExecute(TObject* Sender) {}
void TForm1::ActionNodeDeleteSoftExecute(TObject* Sender) {}
void TForm1::miUnDeleteClick(TObject* Sender) {}
void TForm1::ActionEditUndoExecute(TObject* Sender) {}
void TForm1::ActionEditRedoExecute(TObject* Sender) {}
void TForm1::ActionFileClearExecute(TObject* Sender) {}
void TForm1::Tr_ClearAll_miClick(TObject* Sender) {}
void TForm1::ActionTreeCollapseExecute(TObject* Sender) {}
void TForm1::ActionTreeExpandExecute(TObject* Sender) {}
void TForm1::Tr_Toggle_DescriptionExecute(TObject* Sender) {}
void TForm1::Tr_PopupMenu1Popup(TObject* Sender) {}
void TForm1::Main_PanelResize(TObject* Sender) {}
