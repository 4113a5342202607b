// The macro editor's visibility inside the macro pane (shown and hidden with its tool bar and
// title).
#include "terminal/Main.h"

void TForm1::HideMacroEditor()
{
    Editor_mi1->SetCaption("Show Editor");
    Tr_ImageListTreeViewIcons->GetBitmap(MacroImage::EditorHidden, UpDn_btn->Glyph());
    UpDn_btn->Invalidate();
    // Hidden again (a clear, a load): the sizes kept from the shown editor stay.
    if (!ScrollBox->Visible()) return;
    topPnlHeight_ = Top_pnl->Height();
    ScrollBox->SetVisible(false);
    Splitter1->SetVisible(false);
    Top_pnl->SetAlign(alClient);
    Application->ProcessMessages();
    ToolBar1->SetVisible(false);
    Application->ProcessMessages();
    editorLabelWidth_ = DTviewEdit_pnl->Width();
    DTviewEdit_pnl->SetWidth(ToolBar1->Width());
    TreeListLbl->SetVisible(false);
    treeLabelHeight_ = treelabel_pnl->Height();
    treelabel_pnl->SetHeight(17);
    Apply_panel->SetVisible(false);
}

void TForm1::KeepUpperPartHeightAtSplitter()
{
    // The upper part ends where the splitter begins, and the list file stores the splitter's
    // top: the next showing puts the splitter back exactly there. A pixel taken off here moved
    // it up by one on every clear, and the next save stored that.
    topPnlHeight_ = Splitter1->Top() - Top_pnl->Top();
}

void TForm1::ShowMacroEditor()
{
    Editor_mi1->SetCaption("Hide Editor");
    Tr_ImageListTreeViewIcons->GetBitmap(MacroImage::EditorShown, UpDn_btn->Glyph());
    UpDn_btn->Invalidate();
    Top_pnl->SetAlign(alTop);
    Top_pnl->SetHeight(topPnlHeight_);
    Splitter1->SetVisible(true);
    ScrollBox->SetVisible(true);
    ToolBar1->SetVisible(true);
    TreeListLbl->SetVisible(true);
    DTviewEdit_pnl->SetWidth(TreeListLbl->Width() + 8);
    treelabel_pnl->SetHeight(treeLabelHeight_);
    Apply_panel->SetVisible(true);
    PanelEditEntry->SetVisible(TreeView->Selected() != nullptr);
    // The fields take the pane's width here as after a splitter move: the pane may have
    // come from the list file wider than the form data's editor.
    LayoutMacroEditor();
}
