// The macro record and the tree operations on the node collection.
#include "macros/TreeUtil.h"

#include "macros/TreeTexts.h"

void InitInfoBase(TInfo& Info)
{
    Info.Kind = 0;
    Info.ID = 0;
    Info.NodeText.clear();
    Info.Deleted = 0;
    Info.Breakpoint = 'N';
}

TInfo::TInfo()
{
    InitInfoBase(*this);
    LevelMark = '+';
    ParentFolder = nullptr;
    Reserved = 0;
}

bool HasFieldDelimiter(const String& Text) { return Text.find(FieldDelimiter) != String::npos; }

bool HasFieldDelimiter(const TInfo& Info)
{
    for (const String* field : {&Info.MacroName, &Info.MacroType, &Info.Description,
                                &Info.OtherValue, &Info.SignalState, &Info.MacroData})
        if (HasFieldDelimiter(*field)) return true;
    return false;
}

TInfo* NodeInfo(const TTreeNode* Node) { return Node ? static_cast<TInfo*>(Node->Data) : nullptr; }

std::int32_t NodeKind(const TTreeNode* Node)
{
    const TInfo* info = NodeInfo(Node);
    return info ? info->Kind : 0;
}

bool NodeHasBreakpoint(const TTreeNode* Node)
{
    const TInfo* info = NodeInfo(Node);
    return info && info->Breakpoint == 'Y';
}

bool NodeMarkedForDeletion(const TTreeNode* Node)
{
    const TInfo* info = NodeInfo(Node);
    return info && info->Deleted;
}

String CreateLabel(const String& Description, const String& Name, bool ShowDescriptions)
{
    if (Name.empty()) return {};
    if (Description.empty() || !ShowDescriptions) return Name;
    return Name + ", " + Description;
}

void MoveNodeAmongSiblings(TTreeNode* Node)
{
    TTreeNode* previous = Node ? Node->GetPrevSibling() : nullptr;
    if (!previous) {
        MacroTreeServices().Beep();
        return;
    }
    // A move loses the overlay in the control, so it is set again.
    const int overlay = Node->OverlayIndex();
    Node->MoveTo(previous, naInsert);
    Node->SetOverlayIndex(OverlayNone);
    Node->SetOverlayIndex(overlay);
}

std::int32_t FindNodeByLabel(TTreeNodes& Items, const String& Label)
{
    std::int32_t index = 0;
    for (TTreeNode* node = Items.GetFirstNode(); node; node = node->GetNext(), ++index) {
        String text = node->Text();
        StripCountSuffix(text);
        if (MacroTreeServices().CompareLabels(text, Label) == 0) return index;
    }
    return -1;
}

std::int32_t FindNodeById(TTreeNodes& Items, std::uint32_t ID)
{
    std::int32_t index = 0;
    for (TTreeNode* node = Items.GetFirstNode(); node; node = node->GetNext(), ++index)
        if (const TInfo* info = NodeInfo(node); info && info->ID == ID) return index;
    return -1;
}

void RelabelAllNodes(TTreeNodes& Items)
{
    Items.BeginUpdate();
    for (TTreeNode* node = Items.GetFirstNode(); node; node = node->GetNext()) {
        String text = node->Text();
        StripCountSuffix(text);
        if (node->HasChildren()) text += "  (" + IntToStr(node->Count()) + ")";
        if (text != node->Text()) node->SetText(text);
    }
    Items.EndUpdate();
}

bool StripCountSuffix(String& Text)
{
    const size_t at = Text.find("  (");
    if (at == String::npos) return false;
    Text.erase(at);
    return true;
}

void SetParentInfo(TInfo* Info, TInfo* Folder)
{
    if (Info && Folder) Info->ParentFolder = Folder;
}

bool ReinsertFromUndo(TTreeNodes& Items, std::uint32_t ID, TInfo* Info, std::uint8_t Deleted,
                      int ImageIndex)
{
    // Deleting a node takes its children along, so the search starts over after each one.
    for (bool found = true; found;) {
        found = false;
        for (TTreeNode* node = Items.GetFirstNode(); node; node = node->GetNext())
            if (const TInfo* info = NodeInfo(node); info && info->ID == ID) {
                Items.Delete(node);
                found = true;
                break;
            }
    }
    TTreeNode* node = Items.AddFirst(nullptr, Info->NodeText);
    node->Data = Info;
    node->SetStateIndex(ImageIndex);
    node->SetImageIndex(ImageIndex);
    Info->Deleted = Deleted;
    return Items.GetFirstNode() != nullptr;
}

std::uint32_t NewRecordId() { return MacroTreeServices().NewGuidFirstField(); }

void FreeAllInfos(TTreeNodes& Items)
{
    for (TTreeNode* node = Items.GetFirstNode(); node; node = node->GetNext()) {
        delete NodeInfo(node);
        node->Data = nullptr;
    }
    Items.Clear();
}

void PurgeDeletedNodes(TTreeNodes& Items)
{
    Items.BeginUpdate();
    for (TTreeNode* node = Items.GetFirstNode(); node;) {
        TTreeNode* next = node->GetNext();
        node = NodeMarkedForDeletion(node) ? DeleteNode(node, false, false, nullptr) : next;
    }
    Items.EndUpdate();
}

TTreeNode* DeleteNode(TTreeNode* Node, bool Confirm, bool Soft, TTreeNodes* UndoItems)
{
    if (!Node) return nullptr;
    const int children = Node->Count();
    for (int k = 0; k < children; ++k) {
        if (Confirm) {
            if (!MacroTreeServices().AskYesNo(TreeText::DeleteAllItems,
                                              TreeText::DeleteAllItemsCaption)) {
                MacroTreeServices().Beep();
                return nullptr;
            }
        }
        Confirm = false;
        // A hard delete removes the last child each time; a soft one walks back through them.
        TTreeNode* child = Soft ? Node->Item(children - 1 - k) : Node->GetLastChild();
        DeleteNode(child, false, Soft, nullptr);
    }
    if (!Soft) {
        TTreeNode* following = Node->GetNext();
        delete NodeInfo(Node);
        Node->Data = nullptr;
        Node->Delete();
        return following;
    }
    TInfo* info = NodeInfo(Node);
    if (!info) {
        info = new TInfo;
        info->ID = NewRecordId();
        info->NodeText = Node->Text();
        Node->Data = info;
    }
    info->Deleted = 1;
    if (UndoItems) ReinsertFromUndo(*UndoItems, info->ID, info, 1, Node->ImageIndex());
    Node->SetOverlayIndex(OverlayMarked);
    return Node->GetNext();
}

namespace {
int OverlayFromBreakpoint(const TTreeNode* node)
{
    return NodeHasBreakpoint(node) ? OverlayBreakpoint : OverlayNone;
}
}  // namespace

void UndeleteNode(TTreeNode* Node)
{
    if (!Node) return;
    for (int i = 0; i < Node->Count(); ++i) UndeleteNode(Node->Item(i));
    Node->SetOverlayIndex(OverlayFromBreakpoint(Node));
    if (Node->Level() == 1) {
        TTreeNode* folder = Node->Parent();
        if (TInfo* folderInfo = NodeInfo(folder); folderInfo && folderInfo->Deleted) {
            folderInfo->Deleted = 0;
            folder->SetOverlayIndex(OverlayFromBreakpoint(folder));
        }
    }
    if (TInfo* info = NodeInfo(Node); info && info->Deleted) info->Deleted = 0;
}

void SetNodeIcon(TTreeNode* Node)
{
    if (!Node) return;
    TInfo* info = NodeInfo(Node);
    int image = -1, selected = -1;
    std::int32_t kind = 0;
    if (Node->Level() == 0) {
        image = MacroImage::FolderClosed;
        selected = MacroImage::FolderOpen;
        kind = mkFolder;
    } else {
        static const struct {
            const char* type;
            int image;
            std::int32_t kind;
        } Types[] = {{"File", MacroImage::File, mkFile},
                     {"Data String", MacroImage::DataString, mkDataString},
                     {"Control Signal", MacroImage::ControlSignal, mkControlSignal},
                     {"Delay in ms", MacroImage::Delay, mkDelayMs},
                     {"Delay in seconds", MacroImage::Delay, mkDelaySecs},
                     {"Delay in minutes", MacroImage::Delay, mkDelayMins},
                     {"(NONE)", MacroImage::None, mkNone},
                     {"", MacroImage::None, mkNone}};
        const String type = info ? info->MacroType : String();
        for (const auto& t : Types)
            if (type == t.type) {
                image = selected = t.image;
                kind = t.kind;
            }
        if (kind == 0) return;  // a type this program does not know keeps its icon
    }
    Node->SetImageIndex(image);
    Node->SetSelectedIndex(selected);
    if (info) info->Kind = kind;
}
