// The macro pane's run commands: execute the selected node, execute and move on, the script
// from the selection to the end (once or endlessly), Stop, the breakpoints and the tree's
// double click. One run at a time; each walks the tree in its depth-first order.
#include "macros/TreeUtil.h"
#include "terminal/MacroRunner.h"
#include "terminal/Main.h"

namespace {

void DisableRunButtons(TForm1& Form)
{
    Form.Tr_Send_btn->SetEnabled(false);
    Form.Tr_SendNext_btn->SetEnabled(false);
    Form.Tr_SendScript_btn->SetEnabled(false);
    Form.Tr_SendScriptRpt_btn->SetEnabled(false);
}

void EnableRunButtons(TForm1& Form)
{
    Form.Tr_Send_btn->SetEnabled(true);
    Form.Tr_SendNext_btn->SetEnabled(true);
    Form.Tr_SendScript_btn->SetEnabled(true);
    Form.Tr_SendScriptRpt_btn->SetEnabled(true);
    Form.Tr_edit_tbn->SetEnabled(true);
}

// A run from its start to its end, however it ends: the buttons come back and the next run
// may start. The buttons alone do not keep a second run out: a double click, a menu or a
// shortcut reach the commands while a step runs the message queue.
class TMacroRun {
public:
    TMacroRun(TForm1& Form, TForm1::TRunScope Scope) : form_(Form)
    {
        form_.RunScope = Scope;
        MacroRun.MacroRunActive = true;
        MacroRun.MacroRunState = 2;
        DisableRunButtons(form_);
        MacroRun.MacroLoopGuard = MacroLoopGuardStart;
    }
    ~TMacroRun()
    {
        MacroRun.MacroRunActive = false;
        form_.RunScope = TForm1::TRunScope::None;
        EnableRunButtons(form_);
    }
    TMacroRun(const TMacroRun&) = delete;
    TMacroRun& operator=(const TMacroRun&) = delete;

private:
    TForm1& form_;
};

// A node the walk holds across a step: a command run inside a wait may have freed it (and a
// new node may have its address), so it is found again in the live tree, by its address and
// its record's ID, or by the ID alone.
struct TWalkPosition {
    TTreeNode* Node = nullptr;
    std::uint32_t ID = 0;
    bool HasRecord = false;
};

TWalkPosition PositionOf(TTreeNode* Node)
{
    const TInfo* info = NodeInfo(Node);
    return {Node, info ? info->ID : 0, info != nullptr};
}

TTreeNode* FindAgain(TTreeNodes& Items, const TWalkPosition& Position)
{
    if (!Position.Node) return nullptr;
    TTreeNode* byId = nullptr;
    for (TTreeNode* node = Items.GetFirstNode(); node; node = node->GetNext()) {
        const TInfo* info = NodeInfo(node);
        if (node == Position.Node && (info ? info->ID : 0) == Position.ID &&
            (info != nullptr) == Position.HasRecord)
            return node;
        if (!byId && Position.HasRecord && info && info->ID == Position.ID) byId = node;
    }
    return byId;
}

void ShowInformation(const char* Text) { MessageDlg(Text, mtInformation, TMsgDlgButtons{mbOK}); }

}  // namespace

void TForm1::Tr_Send_btnClick(TObject* Sender)
{
    if (MacroRun.MacroRunActive) return;
    TTreeNode* node = TreeView->Selected();
    if (!node) {
        ShowInformation(MacroText::BadSelection);
        EnableRunButtons(*this);
        return;
    }
    TMacroRun run(*this, TRunScope::StepOnly);
    RunStep(node);
}

void TForm1::Tr_SendNext_btnClick(TObject* Sender)
{
    if (MacroRun.MacroRunActive) return;
    TTreeNode* node = TreeView->Selected();
    if (!node) {
        ShowInformation(MacroText::NoMoreEntries);
        EnableRunButtons(*this);
        return;
    }
    TMacroRun run(*this, TRunScope::StepOnly);
    if (NodeHasBreakpoint(node)) {
        ShowInformation(MacroText::BreakpointReached);
        return;
    }
    const TWalkPosition position = PositionOf(node);
    const std::int32_t result = RunStep(node);
    if (result != 1 || MacroRun.MacroRunState == 1) return;
    // The command's own outcome, after its one step: the editor follows like any selection.
    if (TTreeNode* done = FindAgain(*TreeView->Items(), position))
        TreeView->SetSelected(done->GetNext());
}

namespace {

void RunScript(TForm1& Form, bool Endless)
{
    TTreeView& tree = *Form.TreeView;
    TTreeNodes& items = *tree.Items();
    TMacroRun run(Form, Endless ? TForm1::TRunScope::Everything : TForm1::TRunScope::ToEnd);
    TWalkPosition position = PositionOf(tree.Selected());
    while (MacroRun.MacroRunState == 2) {
        TTreeNode* node = FindAgain(items, position);
        if (!node) break;
        if (NodeHasBreakpoint(node)) {
            ShowInformation(MacroText::BreakpointReached);
            return;
        }
        Form.RunStep(node);
        if (MacroRun.MacroRunState != 2) break;
        node = FindAgain(items, position);
        if (!node) break;
        TTreeNode* next = node->GetNext();
        if (!Endless) {
            Form.SelectAsRun(next);
        } else {
            // Past the end the walk starts again at the top; the selection stays on the last
            // node until the first one has run.
            if (next)
                Form.SelectAsRun(next);
            else
                next = items.GetFirstNode();
            Application->ProcessMessages();
        }
        position = PositionOf(next);
    }
}

}  // namespace

void TForm1::Tr_SendScript_btnClick(TObject* Sender)
{
    if (MacroRun.MacroRunActive) return;
    if (!TreeView->Selected()) {
        EnableRunButtons(*this);
        return;
    }
    RunScript(*this, false);
}

void TForm1::Tr_SendScriptRpt_btnClick(TObject* Sender)
{
    if (MacroRun.MacroRunActive) return;
    if (!TreeView->Selected()) {
        EnableRunButtons(*this);
        return;
    }
    RunScript(*this, true);
}

void TForm1::SelectAsRun(TTreeNode* Node)
{
    // With the editor shown the user works in it while the script goes on (after a bad data
    // string, say): the walk leaves the selection, which the editor shows and the pane's
    // commands act on, where the user put it. The walk keeps its own place.
    if (ScrollBox->Visible()) return;
    TreeView->SetSelected(Node);
}

std::int32_t TForm1::RunStep(TTreeNode* Node)
{
    runStepNode_ = Node;
    return ExecuteMacroStep(*this, NodeInfo(Node));
}

bool TForm1::RunMayWalk(TTreeNode* Node)
{
    switch (RunScope) {
    case TRunScope::Everything: return true;
    case TRunScope::StepOnly: return Node == runStepNode_;
    case TRunScope::ToEnd:
        for (TTreeNode* n = runStepNode_; n; n = n->GetNext())
            if (n == Node) return true;
        return false;
    default: return false;
    }
}

void TForm1::stop_tbtnClick(TObject* Sender)
{
    MacroRun.MacroRunState = 1;
    stop_tbtn->SetEnabled(false);
    EnableRunButtons(*this);
    Application->ProcessMessages();
}

void TForm1::TR_breakpnt_btnClick(TObject* Sender)
{
    TTreeNode* node = TreeView->Selected();
    if (!node) return;
    if (NodeMarkedForDeletion(node)) {
        MessageDlg(MacroText::BreakpointOnMarked, mtError, TMsgDlgButtons{mbOK});
        return;
    }
    TInfo* info = NodeInfo(node);
    if (!info) return;
    const bool set = info->Breakpoint != 'Y';
    info->Breakpoint = set ? 'Y' : 'N';
    node->SetOverlayIndex(set ? OverlayBreakpoint : OverlayNone);
}

void TForm1::Tr_RemBreakpointClick(TObject* Sender)
{
    TTreeNodes& items = *TreeView->Items();
    for (TTreeNode* node = items.GetFirstNode(); node; node = node->GetNext()) {
        if (node != items.GetFirstNode()) TreeView->SetSelected(node);
        TInfo* info = NodeInfo(node);
        if (!info || info->Breakpoint != 'Y') continue;
        info->Breakpoint = 'N';
        // A node marked for deletion keeps showing its mark.
        node->SetOverlayIndex(info->Deleted ? OverlayMarked : OverlayNone);
    }
}

void TForm1::TreeViewDblClick(TObject* Sender)
{
    if (!Tr_edit_tbn->Down()) Tr_Send_btnClick(Sender);
}
