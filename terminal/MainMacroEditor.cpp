// The macro editor: filling its fields from the selected node's record, the layout per macro
// type, applying and cancelling edits, the data field's file pick and help, and the pane's
// and editor's visibility commands.
#include <algorithm>
#include <cstdio>

#include "dialogs/StringEntryHelp.h"
#include "framework/gui/Canvas.h"
#include "framework/gui/DialogService.h"
#include "macros/TreeUtil.h"
#include "terminal/MacroPaneTexts.h"
#include "terminal/Main.h"

namespace {
String WithoutFieldDelimiters(const String& Text)
{
    String result;
    for (char c : Text)
        if (c != FieldDelimiter) result += c;
    return result;
}

String Decimal(std::uint32_t Value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u", Value);
    return text;
}
}  // namespace

void TForm1::LayoutEditorForMacroType(const String& Type)
{
    bool other = false, signal = false, data = false, fileButton = false;
    String dataCaption, selectionCaption;
    if (Type == "File") {
        other = data = fileButton = true;
        dataCaption = MacroPaneText::FileNameCaption;
        selectionCaption = MacroPaneText::CharDelayCaption;
    } else if (Type == "Data String") {
        other = data = true;
        dataCaption = MacroPaneText::DataCaption;
        selectionCaption = MacroPaneText::CharDelayCaption;
    } else if (Type == "Control Signal") {
        signal = true;
        selectionCaption = MacroPaneText::SignalStateCaption;
    } else if (Type == "Delay in ms") {
        other = true;
        selectionCaption = MacroPaneText::DelayMsCaption;
    } else if (Type == "Delay in seconds") {
        other = true;
        selectionCaption = MacroPaneText::DelaySecsCaption;
    } else if (Type == "Delay in minutes") {
        other = true;
        selectionCaption = MacroPaneText::DelayMinsCaption;
    } else if (!(Type == "(NONE)" || Type.empty())) {
        return;  // a type this program does not know: the layout stays as it is
    }
    EditOther->SetVisible(other);
    EditSignal->SetVisible(signal);
    EditData->SetVisible(data);
    Tr_File_Data_lbl->SetVisible(data);
    if (data) Tr_File_Data_lbl->SetCaption(dataCaption);
    Tr_FileOpen_btn->SetVisible(fileButton);
    if (fileButton)
        Tr_FileOpen_btn->SetBounds(EditData->Left() + EditData->Width(), EditData->Top(),
                                   Tr_FileOpen_btn->Width(), Tr_FileOpen_btn->Height());
    Selection_lbl->SetCaption(selectionCaption);
    Selection_lbl->SetVisible(!selectionCaption.empty());
}

void TForm1::ClearEntryPanel()
{
    for (TEdit* e :
         {EditMacroName, EditDescription, EditParentFolder, EditParentFolderID, EditData})
        e->SetText("");
    for (TComboBox* c : {EditMacroType, EditOther, EditSignal}) c->SetItemIndex(-1);
    keepStoredType_ = keepStoredOther_ = keepStoredSignal_ = false;
    EditMacroTypeChange(this);
}

void TForm1::TransferPersonalInfoToEditEntry(TInfo* Info)
{
    ClearEntryPanel();
    if (!Info) return;
    EditMacroName->SetText(Info->MacroName);
    // A value the list cannot show (a delay in seconds or minutes from the list file, an
    // unlisted delay) shows as no selection and stays stored until the user picks one.
    auto choose = [](TComboBox* list, const String& value, bool& keep) {
        int index = list->Items()->IndexOf(value);
        list->SetItemIndex(index);
        keep = index < 0 && !value.empty();
    };
    choose(EditMacroType, Info->MacroType, keepStoredType_);
    LayoutEditorForMacroType(Info->MacroType);
    EditDescription->SetText(Info->Description);
    choose(EditOther, Info->OtherValue, keepStoredOther_);
    choose(EditSignal, Info->SignalState, keepStoredSignal_);
    EditData->SetText(Info->MacroData);
    if (Info->ParentFolder) {
        EditParentFolder->SetText(Info->ParentFolder->NodeText);
        EditParentFolderID->SetText(Decimal(Info->ParentFolder->ID));
    }
    EditID->SetText(Decimal(Info->ID));
}

TForm1::TEditorTexts TForm1::TakeEditorTexts()
{
    TEditorTexts t;
    t.Name = EditMacroName->Text();
    t.Type = EditMacroType->Text();
    t.Description = EditDescription->Text();
    t.Other = EditOther->Text();
    t.Signal = EditSignal->Text();
    t.Data = EditData->Text();
    t.KeepType = keepStoredType_;
    t.KeepOther = keepStoredOther_;
    t.KeepSignal = keepStoredSignal_;
    return t;
}

void TForm1::WriteEditorTexts(std::uint32_t ID, const String& Label, TInfo* Info,
                              const TEditorTexts& Texts)
{
    Info->ID = ID;
    Info->NodeText = Label;
    Info->Description = Texts.Description;
    Info->MacroName = Texts.Name;
    if (!Texts.KeepType) Info->MacroType = Texts.Type;
    if (!Texts.KeepOther) Info->OtherValue = Texts.Other;
    if (!Texts.KeepSignal) Info->SignalState = Texts.Signal;
    Info->MacroData = Texts.Data;
}

void TForm1::TransferPersonalInfoFromEditEntry(std::uint32_t ID, const String& Label, TInfo* Info)
{
    WriteEditorTexts(ID, Label, Info, TakeEditorTexts());
    LayoutEditorForMacroType(Info->MacroType);
}

void TForm1::ReflectNodeLabel(TTreeNode* Node)
{
    if (!Node) return;
    editorNode_ = Node;
    String name = Node->Text();
    StripCountSuffix(name);
    if (size_t comma = name.find(','); comma != String::npos) name.resize(comma);
    EditMacroName->SetText(name);
    ActionNodeDeleteHard->SetEnabled(true);
    ActionNodeDeleteSoft->SetEnabled(true);
    if (TInfo* info = NodeInfo(Node)) {
        info->ParentFolder = Node->Parent() ? NodeInfo(Node->Parent()) : nullptr;
        // The fields come from the record itself: a name holding a comma is not cut.
        TransferPersonalInfoToEditEntry(info);
    }
}

void TForm1::ShowNodeInEditor(TTreeNode* Node)
{
    if (!Node) {
        // Nothing selected: the editor shows nothing, and so has nothing to apply.
        editorNode_ = nullptr;
        ClearEntryPanel();
        PanelEditEntry->SetVisible(false);
        return;
    }
    if (Node->Level() > 0) {
        EditMacroType->SetEnabled(true);
    } else {
        EditMacroType->SetItemIndex(-1);
        EditMacroType->SetEnabled(false);
    }
    ReflectNodeLabel(Node);
}

void TForm1::TreeViewChange(TObject* Sender, TTreeNode* Node)
{
    // Not only clicks and keys move the selection: the run commands, Remove All Breakpoints,
    // and the control itself (its first node when it takes the focus with none selected, the
    // folder when a collapse hides the selected item). Whatever moved it, the editor follows,
    // after the edit pending on the node it showed has gone to that node. (A script's walk
    // does not move it while the editor is shown.)
    if (Node == editorNode_) return;
    ActionNodeModifyExecute(Sender);
    // The apply's box runs the queue: the selection may have moved again meanwhile.
    ShowNodeInEditor(TreeView->Selected());
}

void TForm1::TreeViewDeletion(TObject* Sender, TTreeNode* Node)
{
    // A node about to be freed (by a purge, a clear, a load) is no longer the editor's to show
    // or to write; a new node may later have its address.
    if (Node == PendingEditNode) ForgetPendingEdit();
    if (Node == applyingNode_) applyingNode_ = nullptr;
    if (Node == runStepNode_) runStepNode_ = nullptr;
    if (Node == editorNode_) ShowNodeInEditor(nullptr);
}

void TForm1::TreeViewClick(TObject* Sender)
{
    ActionNodeModifyExecute(Sender);
    TTreeNode* node = TreeView->Selected();
    if (!node) {
        node = TreeView->Items()->GetFirstNode();
        if (!node) return;
        TreeView->SetSelected(node);
    }
    for (TToolButton* b : {Tr_Delete_btn, Tr_Up_btn, Tr_Dn_btn}) b->SetEnabled(true);
    ShowNodeInEditor(node);
    if (Tr_edit_tbn->Down()) {
        PanelEditEntry->SetVisible(true);
        PanelEditEntry->SetEnabled(true);
    }
}

void TForm1::TreeViewKeyUp(TObject* Sender, WORD& Key, TShiftState Shift)
{
    if (Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN) TreeViewClick(Sender);
}

void TForm1::TreeViewEditing(TObject* Sender, TTreeNode* Node, bool& AllowEdit)
{
    AllowEdit = Node && Node->OverlayIndex() < 0;
    if (!AllowEdit) Beep();
}

void TForm1::TreeViewEdited(TObject* Sender, TTreeNode* Node, String& S)
{
    if (!Node || S.empty()) return;
    Node->SetText(S);
    ReflectNodeLabel(Node);
}

void TForm1::ActionOtherChangeExecute(TObject* Sender)
{
    if (auto* edit = dynamic_cast<TCustomEdit*>(Sender)) {
        if (!edit->Modified()) return;
        // The "|" separates the list file's fields: refused when pasted as when typed.
        if (HasFieldDelimiter(edit->Text())) {
            int caret = edit->SelStart();
            String text = edit->Text();
            String clean = WithoutFieldDelimiters(text);
            edit->SetText(clean);
            edit->SetModified(true);
            edit->SetSelStart(caret - static_cast<int>(text.size() - clean.size()));
            Beep();
        }
    } else if (auto* list = dynamic_cast<TComboBox*>(Sender)) {
        if (list == EditMacroType) keepStoredType_ = false;
        if (list == EditOther) keepStoredOther_ = false;
        if (list == EditSignal) keepStoredSignal_ = false;
    } else {
        return;
    }
    ActionNodeModify->SetEnabled(true);
    ActionOtherRestore->SetEnabled(true);
    Restore_mi->SetEnabled(true);
    PendingEditNode = editorNode_;
}

void TForm1::EditMacroTypeChange(TObject* Sender)
{
    LayoutEditorForMacroType(EditMacroType->Text());
    ActionOtherChangeExecute(Sender);
}

void TForm1::ActionOtherRestoreExecute(TObject* Sender)
{
    if (!PendingEditNode) return;
    ReflectNodeLabel(PendingEditNode);
    ForgetPendingEdit();
}

void TForm1::ForgetPendingEdit()
{
    ActionNodeModify->SetEnabled(false);
    ActionOtherRestore->SetEnabled(false);
    Restore_mi->SetEnabled(false);
    PendingEditNode = nullptr;
}

void TForm1::ActionNodeModifyExecute(TObject* Sender)
{
    // The empty-name box below runs the thread's queue until the user answers: the tree's
    // posted click, a selection change or a run's step may call here again, and the editor
    // may be refilled from another node meanwhile. So one apply at a time, and it takes its
    // node and the texts before it shows anything.
    if (applyingNode_) return;
    if (!PendingEditNode) {
        ActionNodeModify->SetEnabled(false);
        return;
    }
    TTreeNode* node = PendingEditNode;
    TEditorTexts texts = TakeEditorTexts();
    ForgetPendingEdit();
    String label = CreateLabel(texts.Description, texts.Name, ShowMacroDescriptions);
    if (label.empty()) {
        texts.Name = "?";
        label = CreateLabel(texts.Description, texts.Name, ShowMacroDescriptions);
        applyingNode_ = node;
        struct TEndApply {
            TTreeNode*& Node;
            ~TEndApply() { Node = nullptr; }
        } endApply{applyingNode_};
        ShowMessage(MacroPaneText::EmptyName);
        // Freed while the box was up (TreeViewDeletion forgot it): nothing left to write.
        if (!applyingNode_) return;
        if (editorNode_ == node) EditMacroName->SetText(texts.Name);
    }
    node->SetText(label);
    TInfo* info = NodeInfo(node);
    if (info) {
        WriteEditorTexts(info->ID, label, info, texts);
    } else {
        info = new TInfo;
        if (node->Level() > 0) info->LevelMark = '-';
        WriteEditorTexts(NewRecordId(), label, info, texts);
        node->Data = info;
    }
    if (editorNode_ == node) LayoutEditorForMacroType(info->MacroType);
    SetNodeIcon(node);
    RelabelAllNodes(*TreeView->Items());
}

void TForm1::EditMacroNameKeyPress(TObject* Sender, char& Key)
{
    if (Key == FieldDelimiter) Key = 0;
}

void TForm1::EditMacroTypeKeyPress(TObject* Sender, char& Key)
{
    auto* list = dynamic_cast<TComboBox*>(Sender);
    if (!list || Key != ' ') return;
    list->SetDroppedDown(!list->DroppedDown());
    Key = 0;
}

void TForm1::Tr_FileOpen_btnClick(TObject* Sender)
{
    if (!Tr_OpenDialog->Execute()) return;
    String name = Tr_OpenDialog->FileName;
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) {
        MessageDlg(MacroPaneText::CouldNotOpen + name, mtError, TMsgDlgButtons{mbOK});
        return;
    }
    EditData->SetText(name);
    ActionNodeModify->SetEnabled(true);
    ActionOtherRestore->SetEnabled(true);
    Restore_mi->SetEnabled(true);
    PendingEditNode = editorNode_;
    std::fclose(file);
}

void TForm1::EditDataDblClick(TObject* Sender)
{
    if (Tr_File_Data_lbl->Caption() == MacroPaneText::FileNameCaption) {
        Tr_FileOpen_btnClick(Sender);
    } else if (Tr_File_Data_lbl->Caption() == MacroPaneText::DataCaption) {
        frmStringEntryHelp->ShowPage(SpecialStringMemo->Text());
    }
}

void TForm1::Tr_Erase_btnClick(TObject* Sender)
{
    for (TEdit* e : {EditMacroName, EditDescription, EditData}) e->SetText("");
    for (TComboBox* c : {EditMacroType, EditOther, EditSignal}) c->SetItemIndex(-1);
    keepStoredType_ = keepStoredOther_ = keepStoredSignal_ = false;
    ActionNodeModify->SetEnabled(true);
    ActionOtherRestore->SetEnabled(true);
    PendingEditNode = editorNode_;
}

// ---- pane and editor visibility -----------------------------------------------------------

void TForm1::CloseTree_btnClick(TObject* Sender) { ActionHideMacrosExecute(Sender); }

void TForm1::Tr_edit_tbnClick(TObject* Sender)
{
    if (!ScrollBox->Visible()) {
        stop_tbtnClick(Sender);
        ShowMacroEditor();
        Tr_edit_tbn->SetDown(true);
    } else {
        HideMacroEditor();
        Tr_edit_tbn->SetDown(false);
    }
    // Running and editing exclude each other.
    for (TToolButton* b : {Tr_Send_btn, Tr_SendNext_btn, Tr_SendScript_btn, Tr_SendScriptRpt_btn})
        b->SetEnabled(!Tr_edit_tbn->Down());
}

void TForm1::UpDn_btnMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TPoint at = UpDn_btn->ClientToScreen(TPoint{0, 0});
    Tr_TEditorPopUp->Popup(at.x - 95, at.y);
}

void TForm1::Tr_left_right_splitterMoved(TObject* Sender)
{
    LayoutMacroEditor();
    FormResize(Sender);
}

void TForm1::LayoutMacroEditor()
{
    // The fields stand right of the widest caption the labels can show, whatever the font,
    // and the short ones leave room for the "..." button even in the narrowest pane.
    TBitmap scratch;
    TCanvas* canvas = scratch.Canvas();
    canvas->Font()->Assign(MacroNameLbl->Font());
    int widestCaption = 0;
    for (const char* caption : {MacroPaneText::CharDelayCaption, MacroPaneText::SignalStateCaption,
                                MacroPaneText::DelayMsCaption, MacroPaneText::DelaySecsCaption,
                                MacroPaneText::DelayMinsCaption, MacroPaneText::FileNameCaption,
                                MacroPaneText::DataCaption})
        widestCaption = std::max(widestCaption, canvas->TextWidth(caption));
    for (TLabel* l :
         {MacroNameLbl, MacroTypeLbl, DescriptionLbl, RecordIDLbl, PFRecordIDLbl, ParentFolderLbl})
        widestCaption = std::max(widestCaption, l->Width());
    constexpr int MinPanelWidth = 276, CaptionGap = 6;
    const int fieldLeft = MacroNameLbl->Left() + widestCaption + CaptionGap;
    const int buttonSpace = Tr_FileOpen_btn->Width() + 2;
    const int shortWidth = MinPanelWidth - fieldLeft - buttonSpace;

    PanelEditEntry->SetWidth(std::max(Main_Panel->Width() - 42, MinPanelWidth));
    const int longWidth = std::max(PanelEditEntry->Width() - fieldLeft - buttonSpace, shortWidth);
    for (TControl* c :
         std::initializer_list<TControl*>{EditMacroName, EditMacroType, EditOther, EditSignal,
                                          EditID, EditParentFolderID, EditParentFolder})
        c->SetBounds(fieldLeft, c->Top(), shortWidth, c->Height());
    for (TControl* c : std::initializer_list<TControl*>{EditDescription, EditData, Bevel14})
        c->SetBounds(fieldLeft, c->Top(), longWidth, c->Height());
    Tr_FileOpen_btn->SetLeft(EditData->Left() + EditData->Width());
    // Narrower than the fields (the pane's least width, or the width it comes back at from
    // the list file), the editor is reached through the scroll box's bars.
    ScrollBox->UpdateScrollBars();
}
