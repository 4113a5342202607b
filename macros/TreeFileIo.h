// The macro list file "qvmacros.ini": the macro tree, one line per node in tree order, after
// a header line with the macro pane's layout. Platform-free: the pane is reached through
// TMacroPaneLayout, which the main window provides and a test fakes.
#pragma once

#include <cstdio>
#include <string>

#include "framework/Strings.h"
#include "framework/TreeNodes.h"
#include "macros/TreeUtil.h"

inline constexpr const char* MacroListFileName = "qvmacros.ini";
// Lines longer than this are skipped whole when the file is read.
inline constexpr size_t MacroListLineLimit = 3999;

// The pane sizes the header keeps, with the values that stand in for ones out of bounds.
inline constexpr int SplitterTopLow = 100, SplitterTopHigh = 500, SplitterTopDefault = 251;
inline constexpr int PaneWidthLow = 170, PaneWidthHigh = 1000, PaneWidthDefault = 200;
int BoundedSplitterTop(int Top);  // strictly between the bounds, else the default
int BoundedPaneWidth(int Width);

// The macro pane as the header line sees it.
class TMacroPaneLayout {
public:
    virtual ~TMacroPaneLayout() = default;
    virtual bool PaneVisible() = 0;          // Main_Panel
    virtual bool SideSplitterVisible() = 0;  // Tr_left_right_splitter, beside the pane
    virtual void ShowPane() = 0;             // with the splitter beside it
    virtual void HidePane() = 0;
    virtual bool ShowDescriptions() = 0;  // ShowMacroDescriptions: item labels show descriptions
    virtual void SetShowDescriptions(bool Show) = 0;
    virtual int SplitterTop() = 0;  // Splitter1: the height of the pane's upper part
    virtual void SetSplitterTop(int Top) = 0;
    virtual int PaneWidth() = 0;
    virtual void SetPaneWidth(int Width) = 0;
};

// The token without its first character (the "_" that guards every field).
String UnwrapField(const String& Token);

class TMacroListFile {
public:
    // Items: the macro tree's nodes; FileName: the list file's full name.
    TMacroListFile(TTreeNodes& Items, TMacroPaneLayout& Pane, String FileName);

    // Writes the whole tree; false (and the message shown) when the file could not be
    // written, in which case the file on disk is the one from before.
    bool SaveMacroList();
    // Adds the file's folders and items to the tree; no file: nothing, and no message.
    void LoadMacroList();
    // The same from a file already open for reading (binary); the caller closes it.
    void ReadMacroList(std::FILE* File);
    // One line without its line end: applies a header, or adds one folder or one item.
    void ParseMacroLine(const std::string& Line);
    // A root folder, labelled from the name and description; nullptr when refused.
    TTreeNode* AddMacroFolder(const String& Name, const String& Description);
    // An item under the folder (at the root when Folder is nullptr), copied from Parsed.
    void AddMacroItem(TTreeNode* Folder, TInfo Parsed);

    // The folder the last folder line made: the parent of the item lines that follow.
    TTreeNode* CurrentMacroFolder = nullptr;
    const String& FileName() const { return fileName_; }

private:
    TTreeNodes& items_;
    TMacroPaneLayout& pane_;
    String fileName_;
};
