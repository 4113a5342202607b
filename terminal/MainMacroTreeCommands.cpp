// The macro tree's commands: adding items and folders, moving them with the buttons and by
// drag and drop, marking for deletion with undo and redo, clearing, the description toggle
// and folding. Saving and loading the list are in MainMacroList.cpp.
#include <memory>

#include "framework/gui/DialogService.h"
#include "macros/TreeUtil.h"
#include "terminal/MacroPaneTexts.h"
#include "terminal/MacroRunner.h"
#include "terminal/Main.h"

namespace {
void EnablePaneDeletes(TForm1& form, bool Enabled)
{
    form.ActionNodeDeleteHard->SetEnabled(Enabled);
    form.ActionNodeDeleteSoft->SetEnabled(Enabled);
}

// The last node a user can see: where a point below all nodes belongs.
TTreeNode* LastShownNode(TTreeNodes& Items)
{
    if (Items.RootCount() == 0) return nullptr;
    TTreeNode* node = Items.Root(Items.RootCount() - 1);
    while (node->Expanded() && node->HasChildren()) node = node->GetLastChild();
    return node;
}
}  // namespace

std::int32_t TForm1::PM_AddNewChild(const String& Name)
{
    TTreeNode* selected = TreeView->Selected();
    if (!selected) {
        MessageDlg(MacroPaneText::CreateFolderFirst, mtInformation, TMsgDlgButtons{mbOK});
        return 0;
    }
    ActionNodeModifyExecute(this);
    PanelEditEntry->SetVisible(true);
    PanelEditEntry->SetEnabled(true);
    Tr_edit_tbn->SetDown(true);

    TTreeNode* folder = selected->Level() == 0 ? selected : selected->Parent();
    auto info = std::make_unique<TInfo>();
    info->LevelMark = '-';
    info->ID = NewRecordId();
    info->MacroName = Name;
    if (TInfo* selectedInfo = NodeInfo(selected)) info->ParentFolder = selectedInfo;
    // An item added to a marked folder would go with the folder's purge unseen.
    if (NodeMarkedForDeletion(selected) || NodeMarkedForDeletion(folder)) {
        ShowMessage(MacroPaneText::DeletedFolder);
        return 0;
    }
    String label = CreateLabel("", Name, ShowMacroDescriptions);
    info->NodeText = label;
    TTreeNode* node = TreeView->Items()->AddChildObject(folder, label, info.release());
    folder->Expand(false);
    TreeView->SetSelected(node);
    SetNodeIcon(node);
    RelabelAllNodes(*TreeView->Items());
    EnablePaneDeletes(*this, true);
    TreeViewClick(this);
    return 1;
}

void TForm1::Add1Click(TObject* Sender) { PM_AddNewChild(MacroPaneText::NewItemName); }

void TForm1::ActionAddNewFolderExecute(TObject* Sender)
{
    ActionNodeModifyExecute(Sender);
    PanelEditEntry->SetVisible(true);
    PanelEditEntry->SetEnabled(true);
    if (!TreeView->Selected()) ClearEntryPanel();
    TTreeNode* folder = MacroListFile().AddMacroFolder(MacroPaneText::NewFolderName, "");
    if (!folder) return;
    TreeView->SetSelected(folder);
    EditMacroType->SetEnabled(false);
    Tr_edit_tbn->SetDown(true);
    EnablePaneDeletes(*this, true);
    TreeViewClick(Sender);
}

void TForm1::ActionNodeMoveUpExecute(TObject* Sender)
{
    MoveNodeAmongSiblings(TreeView->Selected());
}

void TForm1::ActionNodeMoveDownExecute(TObject* Sender)
{
    TTreeNode* selected = TreeView->Selected();
    TTreeNode* next = selected ? selected->GetNextSibling() : nullptr;
    if (!next) {
        MacroTreeServices().Beep();
        return;
    }
    MoveNodeAmongSiblings(next);
}

void TForm1::TreeViewDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                              bool& Accept)
{
    Accept = dynamic_cast<TTreeView*>(Source) != nullptr;
}

void TForm1::TreeViewDragDrop(TObject* Sender, TObject* Source, int X, int Y)
{
    TMacroDropPoint point;
    if (MacroDropHitTest) {
        point = MacroDropHitTest(X, Y);
    } else {
        point.Hits = TreeView->GetHitTestInfoAt(X, Y);
        point.Target = TreeView->GetNodeAt(X, Y);
        if (!point.Target && (point.Hits.Contains(htNowhere) || point.Hits.Contains(htBelow)))
            point.Target = LastShownNode(*TreeView->Items());
    }
    TTreeNode* target = point.Target;
    // The node the user dragged, which the control does not select: moving the selection
    // instead would move a node the user never touched.
    TTreeNode* dragged = TreeView->DragNode() ? TreeView->DragNode() : TreeView->Selected();
    if (!target || !dragged || target == dragged) return;
    // A marked node stays where it is, so its undo entry still finds it in its folder.
    if (NodeMarkedForDeletion(dragged)) {
        MessageDlg(MacroPaneText::ItemMarked, mtError, TMsgDlgButtons{mbOK});
        return;
    }
    if (dragged->Level() == 0) return;

    const bool onItem = point.Hits.Contains(htOnLabel) || point.Hits.Contains(htOnIcon);
    TTreeNode* destination = target;
    TNodeAttachMode mode;
    if (onItem && target->Level() == 0) {
        mode = naAddChild;
    } else if ((onItem || point.Hits.Contains(htOnIndent)) && target->Level() > 0) {
        mode = naInsert;
    } else if (point.Hits.Contains(htNowhere) && target->Level() > 0) {
        destination = target->Parent();
        mode = naAddChild;
    } else {
        return;
    }
    TTreeNode* folder = mode == naAddChild ? destination : destination->Parent();
    // A marked folder's purge would take the item with it unseen.
    if (NodeMarkedForDeletion(folder)) {
        ShowMessage(MacroPaneText::DeletedFolder);
        return;
    }
    // The editor is refilled from the moved node: an edit pending on another node goes first.
    ActionNodeModifyExecute(Sender);
    int overlay = dragged->OverlayIndex();
    dragged->MoveTo(destination, mode);
    dragged->SetOverlayIndex(OverlayNone);
    dragged->SetOverlayIndex(overlay);
    // The editor shows the moved node, so later changes must go to it.
    TreeView->SetSelected(dragged);
    ReflectNodeLabel(dragged);
    RelabelAllNodes(*TreeView->Items());
}

void TForm1::ActionNodeDeleteSoftExecute(TObject* Sender)
{
    TTreeNode* selected = TreeView->Selected();
    bool nothingLeft = false;
    if (selected) {
        TTreeNode* parent = selected->Parent();
        TTreeNode* next = selected->GetNextSibling();
        DeleteNode(selected, true, true, TreeViewUndo->Items());
        if (next)
            TreeView->SetSelected(next);
        else if (parent)
            TreeView->SetSelected(parent);
        else
            nothingLeft = true;
    }
    TreeViewClick(Sender);
    // After the click, which enables them for the node it shows.
    if (nothingLeft) EnablePaneDeletes(*this, false);
}

void TForm1::TreeViewKeyDown(TObject* Sender, WORD& Key, TShiftState Shift)
{
    if (Key != VK_DELETE) return;
    ActionNodeDeleteSoftExecute(Sender);
    Key = 0;
}

void TForm1::miUnDeleteClick(TObject* Sender)
{
    UndeleteNode(TreeView->Selected());
    TreeViewClick(Sender);
}

void TForm1::ActionEditUndoExecute(TObject* Sender)
{
    TTreeNodes& undo = *TreeViewUndo->Items();
    TTreeNode* entry = undo.GetFirstNode();
    if (!entry) {
        MacroTreeServices().Beep();
        return;
    }
    TInfo* info = NodeInfo(entry);
    TTreeNodes& items = *TreeView->Items();
    TTreeNode* node = info ? items.Item(FindNodeById(items, info->ID)) : nullptr;
    if (!node) return;
    if (ReinsertFromUndo(*TreeViewRedo->Items(), info->ID, info, 0, node->ImageIndex()))
        ActionEditRedo->SetEnabled(true);
    UndeleteNode(node);
    undo.Delete(entry);
    TreeViewClick(Sender);
}

void TForm1::ActionEditRedoExecute(TObject* Sender)
{
    TTreeNodes& redo = *TreeViewRedo->Items();
    TTreeNode* entry = redo.GetFirstNode();
    if (!entry) {
        MacroTreeServices().Beep();
        return;
    }
    TInfo* info = NodeInfo(entry);
    TTreeNodes& items = *TreeView->Items();
    TTreeNode* node = info ? items.Item(FindNodeById(items, info->ID)) : nullptr;
    ActionEditRedo->SetEnabled(DeleteNode(node, true, true, TreeViewUndo->Items()) != nullptr);
    redo.Delete(entry);
    TreeViewClick(Sender);
}

void TForm1::ActionFileClearExecute(TObject* Sender)
{
    if (dynamic_cast<TMenuItem*>(Sender) &&
        MessageDlg(MacroPaneText::ClearQuestion, mtWarning, TMsgDlgButtons{mbYes, mbNo}) != mrYes)
        return;
    // A run inside a wait walks the nodes this frees.
    if (MacroRun.MacroRunActive) stop_tbtnClick(this);
    // The undo and redo trees only refer to the records, which go with the main tree.
    TreeViewUndo->Items()->Clear();
    TreeViewRedo->Items()->Clear();
    FreeAllInfos(*TreeView->Items());
    ClearEntryPanel();
    HideMacroEditor();
    KeepUpperPartHeightAtSplitter();
    Tr_edit_tbn->SetDown(false);
}

void TForm1::Tr_ClearAll_miClick(TObject* Sender)
{
    stop_tbtnClick(Sender);
    ActionFileClearExecute(Sender);
}

void TForm1::Tr_Toggle_DescriptionExecute(TObject* Sender)
{
    ShowMacroDescriptions = !ShowMacroDescriptions;
    TTreeNodes& items = *TreeView->Items();
    items.BeginUpdate();
    for (TTreeNode* node = items.GetFirstNode(); node; node = node->GetNext())
        if (TInfo* info = NodeInfo(node))
            node->SetText(CreateLabel(info->Description, info->MacroName, ShowMacroDescriptions));
    RelabelAllNodes(items);
    items.EndUpdate();
}

void TForm1::Tr_PopupMenu1Popup(TObject* Sender)
{
    Tr_Toggle_Description->SetChecked(ShowMacroDescriptions);
}

void TForm1::ActionTreeExpandExecute(TObject* Sender)
{
    TTreeNodes& items = *TreeView->Items();
    for (int i = 0; i < items.RootCount(); ++i) items.Root(i)->Expand(true);
}

void TForm1::ActionTreeCollapseExecute(TObject* Sender)
{
    TTreeNodes& items = *TreeView->Items();
    for (int i = 0; i < items.RootCount(); ++i) items.Root(i)->Collapse(true);
}

// The pane's children follow it by their alignment: nothing to do.
void TForm1::Main_PanelResize(TObject* Sender) {}
