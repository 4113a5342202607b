// Shared by the macro tests: tree services that record what the user would have seen and
// answer from a queue, and a pane layout held in plain fields.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "macros/TreeFileIo.h"
#include "macros/TreeUtil.h"

class ScriptedTreeServices {
public:
    ScriptedTreeServices() : saved_(MacroTreeServices())
    {
        auto& s = MacroTreeServices();
        s.NewGuidFirstField = [this] { return ++LastId; };
        s.CompareLabels = [](const String& a, const String& b) { return a.compare(b); };
        s.AskYesNo = [this](const String& text, const String& caption) {
            Questions.push_back(caption + ": " + text);
            if (Answers.empty()) return false;
            const bool yes = Answers.front();
            Answers.pop_front();
            return yes;
        };
        s.ShowMessage = [this](const String& text) { Messages.push_back(text); };
        s.Beep = [this] { ++Beeps; };
    }
    ~ScriptedTreeServices() { MacroTreeServices() = saved_; }

    std::uint32_t LastId = 1000;
    std::deque<bool> Answers;
    std::vector<std::string> Questions, Messages;
    int Beeps = 0;

private:
    TMacroTreeServices saved_;
};

struct FakePane : TMacroPaneLayout {
    bool Shown = true, SideSplitter = true, Descriptions = true;
    int Top = 260, Width = 320;
    std::vector<std::string> Calls;
    bool PaneVisible() override { return Shown; }
    bool SideSplitterVisible() override { return SideSplitter; }
    void ShowPane() override
    {
        Shown = SideSplitter = true;
        Calls.push_back("show");
    }
    void HidePane() override
    {
        Shown = SideSplitter = false;
        Calls.push_back("hide");
    }
    bool ShowDescriptions() override { return Descriptions; }
    void SetShowDescriptions(bool v) override { Descriptions = v; }
    int SplitterTop() override { return Top; }
    void SetSplitterTop(int v) override { Top = v; }
    int PaneWidth() override { return Width; }
    void SetPaneWidth(int v) override { Width = v; }
};

// A tree that frees its records when the test ends (the main window's clear does this).
struct MacroTree {
    TTreeNodes Items;
    ~MacroTree() { FreeAllInfos(Items); }
    TTreeNode* Folder(const String& name)
    {
        auto* info = new TInfo;
        info->MacroName = info->NodeText = name;
        info->ID = NewRecordId();
        return Items.AddObject(nullptr, name, info);
    }
    TTreeNode* Item(TTreeNode* folder, const String& name, const String& type = "")
    {
        auto* info = new TInfo;
        info->MacroName = info->NodeText = name;
        info->MacroType = type;
        info->LevelMark = '-';
        info->ID = NewRecordId();
        info->ParentFolder = NodeInfo(folder);
        return Items.AddChildObject(folder, name, info);
    }
};
