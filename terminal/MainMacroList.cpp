// The main window's side of the macro list file: the pane as the file's header line sees it,
// the load at start-up and the icon refresh that follows it, the save, and showing and hiding
// the pane.
#include <memory>

#include "framework/FileNames.h"
#include "macros/TreeFileIo.h"
#include "macros/TreeTexts.h"
#include "terminal/MacroRunner.h"
#include "terminal/Main.h"

namespace {
class TMainMacroPane : public TMacroPaneLayout {
public:
    explicit TMainMacroPane(TForm1& form) : form_(form) {}
    bool PaneVisible() override { return form_.Main_Panel->Visible(); }
    bool SideSplitterVisible() override { return form_.Tr_left_right_splitter->Visible(); }
    void ShowPane() override
    {
        // The view command toggles, so the pane is hidden first to make it show.
        form_.Main_Panel->SetVisible(false);
        form_.ActionViewMacrosExecute(&form_);
    }
    void HidePane() override { form_.ActionHideMacrosExecute(&form_); }
    bool ShowDescriptions() override { return form_.ShowMacroDescriptions; }
    void SetShowDescriptions(bool Show) override { form_.ShowMacroDescriptions = Show; }
    int SplitterTop() override { return form_.Splitter1->Top(); }
    void SetSplitterTop(int Top) override { form_.Splitter1->SetTop(Top); }
    int PaneWidth() override { return form_.Main_Panel->Width(); }
    void SetPaneWidth(int Width) override { form_.Main_Panel->SetWidth(Width); }

private:
    TForm1& form_;
};
}  // namespace

TMacroListFile& TForm1::MacroListFile()
{
    if (!macroListFile_) {
        macroPane_ = std::make_unique<TMainMacroPane>(*this);
        macroListFile_ = std::make_unique<TMacroListFile>(*TreeView->Items(), *macroPane_,
                                                          ExtractFilePath(Application->ExeName()) +
                                                              MacroListFileName);
    }
    return *macroListFile_;
}

void TForm1::ActionViewMacrosExecute(TObject* Sender)
{
    if (Main_Panel->Visible()) {
        ActionHideMacrosExecute(Sender);
        return;
    }
    Main_Panel->SetVisible(true);
    Tr_left_right_splitter->SetVisible(true);
    // Both are aligned left: the splitter goes back to the pane's right edge.
    Tr_left_right_splitter->SetLeft(Main_Panel->Left() + Main_Panel->Width());
}

void TForm1::ActionHideMacrosExecute(TObject* Sender)
{
    Tr_left_right_splitter->SetVisible(false);
    Main_Panel->SetVisible(false);
}

void TForm1::ActionLoadMacrosExecute(TObject* Sender)
{
    // The form as sender: cleared without the question.
    ActionFileClearExecute(this);
    MacroListFile().LoadMacroList();
    ActionRefreshIconsExecute(Sender);
}

void TForm1::ActionSaveMacrosExecute(TObject* Sender)
{
    ActionNodeModifyExecute(Sender);
    TTreeNodes& items = *TreeView->Items();
    bool marked = false, walked = false;
    for (TTreeNode* node = items.GetFirstNode(); node; node = node->GetNext()) {
        if (!NodeMarkedForDeletion(node)) continue;
        marked = true;
        walked = walked || RunMayWalk(node);
    }
    // Saving removes what is marked for deletion for good, so the user is asked first.
    if (marked && !MacroTreeServices().AskYesNo(TreeText::SaveMarkedItems,
                                                TreeText::SaveMarkedItemsCaption)) {
        MacroTreeServices().Beep();
        return;
    }
    // The purge frees nodes that a run inside a wait may walk next: that run ends here. A
    // save that purges nothing it walks leaves it running.
    if (MacroRun.MacroRunActive && walked) stop_tbtnClick(this);
    // The undo and redo trees only refer to the records that the purge frees.
    TreeViewUndo->Items()->Clear();
    TreeViewRedo->Items()->Clear();
    PurgeDeletedNodes(items);
    TreeViewClick(Sender);
    RelabelAllNodes(items);
    MacroListFile().SaveMacroList();
}

void TForm1::ActionRefreshIconsExecute(TObject* Sender)
{
    TTreeNodes& items = *TreeView->Items();
    items.BeginUpdate();
    for (TTreeNode* node = items.GetFirstNode(); node; node = node->GetNext()) SetNodeIcon(node);
    RelabelAllNodes(items);
    items.EndUpdate();
}
