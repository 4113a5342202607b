// The tree node model on its own, without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/TreeNodes.h"

namespace {

std::vector<std::string> Walk(TTreeNodes& nodes)
{
    std::vector<std::string> out;
    for (TTreeNode* n = nodes.GetFirstNode(); n; n = n->GetNext())
        out.push_back(std::string(static_cast<size_t>(n->Level()), '-') + n->Text());
    return out;
}

}  // namespace

TEST(TreeModel, PreOrderWalkLevelsParentsAndData)
{
    TTreeNodes nodes;
    int record = 7;
    TTreeNode* f1 = nodes.Add(nullptr, "Folder 1");
    nodes.AddChildObject(f1, "item a", &record);
    TTreeNode* b = nodes.AddChild(f1, "item b");
    TTreeNode* f2 = nodes.Add(f1, "Folder 2");
    nodes.AddChild(f2, "item c");
    EXPECT_EQ(Walk(nodes),
              (std::vector<std::string>{"Folder 1", "-item a", "-item b", "Folder 2", "-item c"}));
    EXPECT_EQ(nodes.Count(), 5);
    EXPECT_EQ(nodes.Item(1)->Data, &record);
    EXPECT_EQ(b->Parent(), f1);
    EXPECT_EQ(b->Index(), 1);
    EXPECT_EQ(f2->AbsoluteIndex(), 3);
    EXPECT_EQ(nodes.Item(4)->GetPrev(), f2);
    EXPECT_EQ(f2->GetPrev(), b);
}

TEST(TreeModel, MoveKeepsChildrenAndRefusesAMoveIntoItself)
{
    TTreeNodes nodes;
    TTreeNode* f1 = nodes.Add(nullptr, "F1");
    TTreeNode* a = nodes.AddChild(f1, "a");
    TTreeNode* f2 = nodes.Add(nullptr, "F2");
    nodes.AddChild(f2, "c");
    f2->MoveTo(f1, naInsert);  // F2 (with c) before F1
    EXPECT_EQ(Walk(nodes), (std::vector<std::string>{"F2", "-c", "F1", "-a"}));
    a->MoveTo(f2, naAddChildFirst);
    EXPECT_EQ(Walk(nodes), (std::vector<std::string>{"F2", "-a", "-c", "F1"}));
    f2->MoveTo(a, naAddChild);  // into its own child: nothing happens
    EXPECT_EQ(Walk(nodes), (std::vector<std::string>{"F2", "-a", "-c", "F1"}));
    a->MoveTo(f1, naAdd);
    EXPECT_EQ(Walk(nodes), (std::vector<std::string>{"F2", "-c", "F1", "a"}));
}

TEST(TreeModel, DeleteFreesTheSubtree)
{
    TTreeNodes nodes;
    TTreeNode* f1 = nodes.Add(nullptr, "F1");
    nodes.AddChild(f1, "a");
    nodes.Add(nullptr, "F2");
    f1->Delete();
    EXPECT_EQ(Walk(nodes), std::vector<std::string>{"F2"});
    nodes.Clear();
    EXPECT_EQ(nodes.Count(), 0);
}
