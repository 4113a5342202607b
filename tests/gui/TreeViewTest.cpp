// The tree node model mirrored into a real tree control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gui/CommonControls.h"
#include "framework/gui/Form.h"
#include "framework/gui/TreeView.h"
#include "tests/support/GuiTestSupport.h"

namespace {
struct TreeEvents {
    std::vector<std::string> seen;
    void Change(TObject*, TTreeNode* n)
    {
        seen.push_back("change " + (n ? n->Text() : std::string("-")));
    }
    void Deletion(TObject*, TTreeNode* n) { seen.push_back("delete " + n->Text()); }
};

std::string ItemText(HWND tree, HTREEITEM item)
{
    char text[64] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof(text);
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}
}  // namespace

TEST(TreeView, ModelIsMirroredIntoTheControlAndRebuiltWithANewWindow)
{
    TForm form(nullptr);
    auto* tree = new TTreeView(&form);
    tree->SetParent(&form);
    form.Show();
    TreeEvents events;
    tree->OnChange = Closure(&events, &TreeEvents::Change);
    tree->OnDeletion = Closure(&events, &TreeEvents::Deletion);
    TTreeNodes* items = tree->Items();
    TTreeNode* f1 = items->Add(nullptr, "Folder");
    TTreeNode* a = items->AddChild(f1, "Item A");
    TTreeNode* b = items->AddChild(f1, "Item B");
    HWND h = tree->Handle();
    EXPECT_EQ(SendMessageA(h, TVM_GETCOUNT, 0, 0), 3);
    b->MoveTo(a, naInsert);
    HTREEITEM first = reinterpret_cast<HTREEITEM>(
        SendMessageA(h, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(f1->ItemId())));
    EXPECT_EQ(ItemText(h, first), "Item B");
    a->SetText("Item A, described");
    EXPECT_EQ(ItemText(h, a->ItemId()), "Item A, described");

    tree->SetSelected(a);
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_GETNEXTITEM, TVGN_CARET, 0)),
              a->ItemId());
    EXPECT_EQ(events.seen, std::vector<std::string>{"change Item A, described"});

    // A user's selection in the control comes back to the model.
    events.seen.clear();
    SendMessageA(h, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b->ItemId()));
    EXPECT_EQ(tree->Selected(), b);
    EXPECT_EQ(events.seen, std::vector<std::string>{"change Item B"});

    tree->RecreateWnd();
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(tree->Selected(), b);

    events.seen.clear();
    f1->Delete();
    EXPECT_EQ(SendMessageA(tree->Handle(), TVM_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(tree->Selected(), nullptr);
    EXPECT_EQ(events.seen, (std::vector<std::string>{"delete Item B", "delete Item A, described",
                                                     "delete Folder"}));
}

TEST(TreeView, OverlayAndImagesReachTheControl)
{
    TForm form(nullptr);
    auto* images = new TImageList(&form);
    TBitmap strip;
    strip.SetSize(16 * 3, 16);
    images->AddMasked(&strip, clWhite);
    images->Overlay(2, 1);
    auto* tree = new TTreeView(&form);
    tree->SetParent(&form);
    tree->SetImages(images);
    TTreeNode* n = tree->Items()->Add(nullptr, "x");
    n->SetImageIndex(1);
    n->SetOverlayIndex(1);
    HWND h = tree->Handle();  // the window is made now, from the model
    TVITEMA tv{};
    tv.mask = TVIF_IMAGE | TVIF_STATE;
    tv.stateMask = TVIS_OVERLAYMASK;
    tv.hItem = n->ItemId();
    SendMessageA(h, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    EXPECT_EQ(tv.iImage, 1);
    EXPECT_EQ(tv.state & TVIS_OVERLAYMASK, static_cast<UINT>(INDEXTOOVERLAYMASK(2)));
    EXPECT_EQ(images->Count(), 3);
}

TEST(TreeView, AutomaticDragAsksOverEveryPointAndDropsWhereAccepted)
{
    TForm form(nullptr);
    form.SetClientSize(200, 200);
    auto* tree = new TTreeView(&form);
    tree->SetParent(&form);
    tree->SetBounds(0, 0, 200, 200);
    tree->DragMode = dmAutomatic;
    form.Show();
    TTreeNode* folder = tree->Items()->Add(nullptr, "Folder");
    TTreeNode* a = tree->Items()->AddChild(folder, "a");
    TTreeNode* b = tree->Items()->AddChild(folder, "b");
    folder->Expand(false);
    struct Drag {
        TTreeView* tree;
        std::vector<std::string> seen;
        void Over(TObject*, TObject* Source, int X, int Y, TDragState, bool& Accept)
        {
            Accept = Source == tree;
            seen.push_back("over");
        }
        void Drop(TObject*, TObject*, int X, int Y)
        {
            TTreeNode* target = tree->GetNodeAt(X, Y);
            seen.push_back("drop on " + (target ? target->Text() : std::string("nothing")));
            if (tree->GetHitTestInfoAt(X, Y).Contains(htOnLabel))
                tree->DragNode()->MoveTo(target, naInsert);
        }
    } drag{tree};
    tree->OnDragOver = Closure(&drag, &Drag::Over);
    tree->OnDragDrop = Closure(&drag, &Drag::Drop);

    RECT r{};
    *reinterpret_cast<HTREEITEM*>(&r) = a->ItemId();
    ASSERT_TRUE(SendMessageA(tree->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
    const int x = r.left + 2, y = (r.top + r.bottom) / 2;

    NMTREEVIEWA nm{};
    nm.hdr = {tree->Handle(), 0, static_cast<UINT>(TVN_BEGINDRAGA)};
    nm.itemNew.hItem = b->ItemId();
    nm.itemNew.lParam = reinterpret_cast<LPARAM>(b);
    SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_TRUE(tree->Dragging());
    SendMessageA(tree->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(tree->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    EXPECT_FALSE(tree->Dragging());
    EXPECT_EQ(drag.seen, (std::vector<std::string>{"over", "drop on a"}));
    EXPECT_EQ(folder->Item(0), b);  // b now stands in front of a
}
