// The macro record TInfo that every node of the macro tree carries, and the operations on the
// tree's node collection shared by the pane's commands, the run commands and the list file.
// Platform-free: the question, the beep, the record IDs and the label compare come through
// MacroTreeServices, which the program's build fills and a test replaces.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/Strings.h"
#include "framework/TreeNodes.h"

enum TMacroKind : std::int32_t {
    mkNone = 1,
    mkFolder = 2,
    mkFile = 3,
    mkDataString = 4,
    mkDelayMs = 5,
    mkDelaySecs = 6,
    mkDelayMins = 7,
    mkControlSignal = 8
};

struct TInfo;
void InitInfoBase(TInfo& Info);

// One node's record. The main tree's node owns it (its Data); the undo and redo trees only
// refer to it. Kind stays 0 until an icon refresh reaches the node.
struct TInfo {
    TInfo();
    std::int32_t Kind;
    std::uint32_t ID;
    String NodeText;  // the label without the folder count suffix
    std::uint8_t Deleted;
    char Breakpoint;  // 'Y' or 'N'
    char LevelMark;   // '+' folder, '-' item: the first character of its line in the list file
    String Description;
    String MacroName;
    String MacroType;
    String OtherValue;
    String SignalState;
    String MacroData;
    TInfo* ParentFolder;  // an item's folder record, not owned
    std::uint8_t Reserved;
};

// Image indexes of the tree's image list (the tool buttons and menus use the same list).
namespace MacroImage {
inline constexpr int AddFolder = 0;
inline constexpr int AddItem = 1;
inline constexpr int MoveUp = 2;
inline constexpr int MoveDown = 3;
inline constexpr int Erase = 4;
inline constexpr int MarkForDeletion = 5;
inline constexpr int Restore = 6;
inline constexpr int MarkedOverlay = 7;
inline constexpr int Apply = 8;
inline constexpr int Save = 9;
inline constexpr int EditorShown = 13;
inline constexpr int EditorHidden = 14;
inline constexpr int FolderClosed = 16;
inline constexpr int BreakpointOverlay = 20;
inline constexpr int FolderOpen = 25;
inline constexpr int File = 30;
inline constexpr int ControlSignal = 31;
inline constexpr int None = 33;
inline constexpr int DataString = 34;
inline constexpr int Delay = 35;
}  // namespace MacroImage
// Overlay numbers of a node (the main window registers the two overlay images).
inline constexpr int OverlayMarked = 0;
inline constexpr int OverlayBreakpoint = 1;
inline constexpr int OverlayNone = -1;

// The "|" separates the fields of the list file, which cannot escape it: text holding it
// never enters a record.
inline constexpr char FieldDelimiter = '|';
bool HasFieldDelimiter(const String& Text);
bool HasFieldDelimiter(const TInfo& Info);

// Where the tree operations meet the user and the platform.
struct TMacroTreeServices {
    std::function<std::uint32_t()> NewGuidFirstField;  // the first 32 bits of a new GUID
    // Locale-aware and case-sensitive; 0 when the two texts are equal.
    std::function<int(const String& A, const String& B)> CompareLabels;
    std::function<bool(const String& Text, const String& Caption)> AskYesNo;  // true on Yes
    std::function<void(const String& Text)> ShowMessage;
    std::function<void()> Beep;
};
// The services in use: the window-free default (a question answered No, a message dropped)
// until a caller assigns others; the main window assigns the Windows program's.
TMacroTreeServices& MacroTreeServices();

// A node's record, or nullptr; a node without one reads as kind 0 with no breakpoint.
TInfo* NodeInfo(const TTreeNode* Node);
std::int32_t NodeKind(const TTreeNode* Node);
bool NodeHasBreakpoint(const TTreeNode* Node);
bool NodeMarkedForDeletion(const TTreeNode* Node);

// Empty without a name; the name alone without a description or when descriptions are off.
String CreateLabel(const String& Description, const String& Name, bool ShowDescriptions);

void MoveNodeAmongSiblings(TTreeNode* Node);
std::int32_t FindNodeByLabel(TTreeNodes& Items, const String& Label);
std::int32_t FindNodeById(TTreeNodes& Items, std::uint32_t ID);
void RelabelAllNodes(TTreeNodes& Items);
bool StripCountSuffix(String& Text);
void SetParentInfo(TInfo* Info, TInfo* Folder);
bool ReinsertFromUndo(TTreeNodes& Items, std::uint32_t ID, TInfo* Info, std::uint8_t Deleted,
                      int ImageIndex);
std::uint32_t NewRecordId();
void FreeAllInfos(TTreeNodes& Items);
void PurgeDeletedNodes(TTreeNodes& Items);
TTreeNode* DeleteNode(TTreeNode* Node, bool Confirm, bool Soft, TTreeNodes* UndoItems);
void UndeleteNode(TTreeNode* Node);
void SetNodeIcon(TTreeNode* Node);
