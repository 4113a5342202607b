// The macro tree operations: labels and their count suffix, soft and hard deletes with their
// question and undo entries, undelete, purge, moves and icons.
#include <gtest/gtest.h>

#include "MacroTestSupport.h"
#include "macros/TreeTexts.h"

namespace {
class TreeUtil : public ::testing::Test {
protected:
    ScriptedTreeServices services;
    MacroTree tree;
    TTreeNodes undo;
    TTreeNodes& items = tree.Items;
};

std::vector<std::string> Labels(TTreeNodes& items)
{
    std::vector<std::string> out;
    for (TTreeNode* n = items.GetFirstNode(); n; n = n->GetNext())
        out.push_back(std::string(static_cast<size_t>(n->Level()), '-') + n->Text());
    return out;
}
}  // namespace

TEST_F(TreeUtil, LabelsCompareWithoutTheirCountSuffixAndNeverShowZero)
{
    TTreeNode* tests = tree.Folder("Tests");
    tree.Item(tests, "one");
    TTreeNode* two = tree.Item(tests, "two");
    TTreeNode* other = tree.Folder("Odd  (name");
    RelabelAllNodes(items);
    EXPECT_EQ(tests->Text(), "Tests  (2)");
    EXPECT_EQ(FindNodeByLabel(items, "Tests"), 0);
    EXPECT_EQ(FindNodeByLabel(items, "Odd"), 3);  // a name holding "  (" is cut there too
    EXPECT_EQ(FindNodeByLabel(items, "missing"), -1);

    two->MoveTo(other, naAddChild);
    tests->GetFirstChild()->MoveTo(other, naAddChild);
    RelabelAllNodes(items);
    EXPECT_EQ(Labels(items), (std::vector<std::string>{"Tests", "Odd  (2)", "-two", "-one"}));

    items.AddChild(other, "no record");
    EXPECT_EQ(FindNodeById(items, NodeInfo(two)->ID), 2);
    EXPECT_EQ(FindNodeById(items, 4242), -1);
}

TEST_F(TreeUtil, SoftDeletingAFolderAsksOnceNoChangesNothingYesMarksAllWithOneUndoEntry)
{
    TTreeNode* folder = tree.Folder("F");
    for (const char* name : {"a", "b", "c"}) tree.Item(folder, name);
    TTreeNode* after = tree.Folder("G");

    services.Answers = {false};
    EXPECT_EQ(DeleteNode(folder, true, true, &undo), nullptr);
    EXPECT_EQ(services.Questions,
              std::vector<std::string>{std::string(TreeText::DeleteAllItemsCaption) + ": " +
                                       TreeText::DeleteAllItems});
    EXPECT_EQ(services.Beeps, 1);
    for (TTreeNode* n = items.GetFirstNode(); n; n = n->GetNext()) {
        EXPECT_FALSE(NodeMarkedForDeletion(n));
        EXPECT_EQ(n->OverlayIndex(), OverlayNone);
    }
    EXPECT_EQ(undo.Count(), 0);

    services.Questions.clear();
    services.Answers = {true};
    folder->SetImageIndex(MacroImage::FolderClosed);
    EXPECT_EQ(DeleteNode(folder, true, true, &undo), folder->GetFirstChild());
    EXPECT_EQ(services.Questions.size(), 1u);
    for (TTreeNode* n = folder; n != after; n = n->GetNext()) {
        EXPECT_TRUE(NodeMarkedForDeletion(n)) << n->Text();
        EXPECT_EQ(n->OverlayIndex(), OverlayMarked);
    }
    ASSERT_EQ(undo.Count(), 1);
    EXPECT_EQ(undo.GetFirstNode()->Data, folder->Data);
    EXPECT_EQ(undo.GetFirstNode()->ImageIndex(), MacroImage::FolderClosed);
    EXPECT_EQ(undo.GetFirstNode()->StateIndex(), MacroImage::FolderClosed);
}

TEST_F(TreeUtil, HardDeletingAFolderRemovesItAndEveryItemAndReturnsTheFollowingNode)
{
    TTreeNode* folder = tree.Folder("F");
    for (const char* name : {"a", "b", "c"}) tree.Item(folder, name);
    TTreeNode* after = tree.Folder("G");
    services.Answers = {true};
    EXPECT_EQ(DeleteNode(folder, true, false, nullptr), after);
    EXPECT_EQ(services.Questions.size(), 1u);
    EXPECT_EQ(Labels(items), std::vector<std::string>{"G"});  // the sanitizer checks the records
}

TEST_F(TreeUtil, UndeletingOneItemClearsItsFolderButNotItsSiblingsAndBringsBackItsBreakpoint)
{
    TTreeNode* folder = tree.Folder("F");
    TTreeNode* a = tree.Item(folder, "a");
    TTreeNode* b = tree.Item(folder, "b");
    TTreeNode* c = tree.Item(folder, "c");
    NodeInfo(b)->Breakpoint = 'Y';
    services.Answers = {true};
    DeleteNode(folder, true, true, &undo);
    EXPECT_EQ(b->OverlayIndex(), OverlayMarked);  // the mark wins over the breakpoint

    UndeleteNode(b);
    EXPECT_FALSE(NodeMarkedForDeletion(b));
    EXPECT_EQ(b->OverlayIndex(), OverlayBreakpoint);
    EXPECT_FALSE(NodeMarkedForDeletion(folder));
    EXPECT_EQ(folder->OverlayIndex(), OverlayNone);
    EXPECT_TRUE(NodeMarkedForDeletion(a));
    EXPECT_TRUE(NodeMarkedForDeletion(c));
    UndeleteNode(nullptr);
}

TEST_F(TreeUtil, PurgeRemovesAMarkedFolderWithItsItemsAndGoesOnAfterIt)
{
    TTreeNode* marked = tree.Folder("Marked");
    tree.Item(marked, "x");
    tree.Item(marked, "y");
    TTreeNode* kept = tree.Folder("Kept");
    tree.Item(kept, "k1");
    TTreeNode* gone = tree.Item(kept, "k2");
    tree.Item(kept, "k3");
    DeleteNode(marked, false, true, nullptr);
    DeleteNode(gone, false, true, nullptr);
    PurgeDeletedNodes(items);
    EXPECT_EQ(Labels(items), (std::vector<std::string>{"Kept", "-k1", "-k3"}));
    EXPECT_TRUE(services.Questions.empty());
}

TEST_F(TreeUtil, ANodeWithoutARecordReadsAsKindZeroWithoutBreakpointAndGetsOneWhenMarked)
{
    TTreeNode* bare = items.Add(nullptr, "bare");
    EXPECT_EQ(NodeKind(bare), 0);
    EXPECT_FALSE(NodeHasBreakpoint(bare));
    UndeleteNode(bare);
    EXPECT_EQ(bare->OverlayIndex(), OverlayNone);

    DeleteNode(bare, true, true, &undo);
    ASSERT_NE(NodeInfo(bare), nullptr);
    EXPECT_EQ(NodeInfo(bare)->NodeText, "bare");
    EXPECT_EQ(NodeInfo(bare)->ID, services.LastId);
    EXPECT_TRUE(NodeMarkedForDeletion(bare));
    EXPECT_EQ(undo.GetFirstNode()->Text(), "bare");
}

TEST_F(TreeUtil, ReinsertFromUndoReplacesTheEntryOfTheSameRecordAtTheTop)
{
    TTreeNode* folder = tree.Folder("F");
    TInfo* info = NodeInfo(folder);
    EXPECT_TRUE(ReinsertFromUndo(undo, info->ID, info, 1, 16));  // into an empty collection
    TTreeNode* other = tree.Folder("G");
    ReinsertFromUndo(undo, NodeInfo(other)->ID, NodeInfo(other), 1, 16);
    ReinsertFromUndo(undo, info->ID, info, 0, 25);
    EXPECT_EQ(Labels(undo), (std::vector<std::string>{"F", "G"}));
    EXPECT_EQ(undo.GetFirstNode()->ImageIndex(), 25);
    EXPECT_EQ(info->Deleted, 0);
}

TEST_F(TreeUtil, MovingUpKeepsTheOverlayAndBeepsWithNothingAbove)
{
    TTreeNode* folder = tree.Folder("F");
    tree.Item(folder, "a");
    TTreeNode* b = tree.Item(folder, "b");
    b->SetOverlayIndex(OverlayBreakpoint);
    MoveNodeAmongSiblings(b);
    EXPECT_EQ(Labels(items), (std::vector<std::string>{"F", "-b", "-a"}));
    EXPECT_EQ(b->OverlayIndex(), OverlayBreakpoint);
    MoveNodeAmongSiblings(b);
    MoveNodeAmongSiblings(nullptr);
    EXPECT_EQ(services.Beeps, 2);
}

TEST_F(TreeUtil, IconsFollowTheLevelAndTheExactTypeText)
{
    TTreeNode* folder = tree.Folder("F");
    // Two types that share a picture still give different kinds.
    const struct {
        const char* type;
        int image;
        int kind;
    } cases[] = {{"Delay in ms", 35, mkDelayMs},
                 {"Delay in minutes", 35, mkDelayMins},
                 {"(NONE)", 33, mkNone},
                 {"", 33, mkNone}};
    for (const auto& c : cases) {
        TTreeNode* item = tree.Item(folder, "i", c.type);
        SetNodeIcon(item);
        EXPECT_EQ(item->ImageIndex(), c.image) << c.type;
        EXPECT_EQ(item->SelectedIndex(), c.image) << c.type;
        EXPECT_EQ(NodeKind(item), c.kind) << c.type;
    }
    TTreeNode* odd = tree.Item(folder, "i", "file");  // case matters: nothing changes
    SetNodeIcon(odd);
    EXPECT_EQ(odd->ImageIndex(), -1);
    EXPECT_EQ(NodeKind(odd), 0);
    SetNodeIcon(folder);
    EXPECT_EQ(folder->ImageIndex(), 16);
    EXPECT_EQ(folder->SelectedIndex(), 25);
    EXPECT_EQ(NodeKind(folder), mkFolder);
}
