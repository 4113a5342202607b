// Writing and reading the macro list file. Every field is written as "|_" and its text: the
// tokenizer merges runs of "|", so the "_" keeps an empty field from vanishing.
#include "macros/TreeFileIo.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

#include "framework/Exceptions.h"
#include "framework/FileReplace.h"
#include "macros/StringTokenizer.h"
#include "macros/TreeFileTexts.h"

namespace {
// The program is a Windows program: its file ends lines with CR LF in every build, so a file
// written by a test is the file the program writes.
constexpr const char* LineEnd = "\r\n";

int BoundedOr(int value, int low, int high, int fallback)
{
    return value <= low || value >= high ? fallback : value;
}

// A decimal header number; empty or anything else counts as 0 (which the bounds replace).
int HeaderNumber(const String& text)
{
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

// Closes the file however the save ends; Close reports whether the close succeeded.
class TUpdateBracket {
public:
    explicit TUpdateBracket(TTreeNodes& items) : items_(items) { items_.BeginUpdate(); }
    ~TUpdateBracket() { items_.EndUpdate(); }

private:
    TTreeNodes& items_;
};

// A field's text as the format can hold it: a "|" would shift every later field, so one that
// slipped past the entry checks is left out rather than written.
String Field(const String& text)
{
    String out = "|_";
    for (char c : text)
        if (c != FieldDelimiter) out += c;
    return out;
}
}  // namespace

int BoundedSplitterTop(int Top)
{
    return BoundedOr(Top, SplitterTopLow, SplitterTopHigh, SplitterTopDefault);
}

int BoundedPaneWidth(int Width)
{
    return BoundedOr(Width, PaneWidthLow, PaneWidthHigh, PaneWidthDefault);
}

String UnwrapField(const String& Token) { return Token.empty() ? String() : Token.substr(1); }

TMacroListFile::TMacroListFile(TTreeNodes& Items, TMacroPaneLayout& Pane, String FileName)
    : items_(Items),
      pane_(Pane),
      fileName_(std::move(FileName))
{
}

bool TMacroListFile::SaveMacroList()
{
    String text;
    {
        TUpdateBracket bracket(items_);
        text += "[MACRO_LIST]";
        text += LineEnd;
        const bool paneShown = pane_.PaneVisible();
        text += "!";
        text += Field(paneShown ? "1" : "0");
        text += Field(pane_.ShowDescriptions() ? "1" : "0");
        text +=
            Field(pane_.SideSplitterVisible() ? IntToStr(BoundedSplitterTop(pane_.SplitterTop()))
                                              : String("0"));
        text += Field(paneShown ? IntToStr(BoundedPaneWidth(pane_.PaneWidth())) : "0");
        text += LineEnd;
        for (TTreeNode* node = items_.GetFirstNode(); node; node = node->GetNext()) {
            TInfo* info = NodeInfo(node);
            if (!info) continue;
            info->LevelMark = node->Level() == 0 ? '+' : '-';
            text += String(1, info->LevelMark);
            text += Field(info->MacroName);
            text += Field(info->MacroType);
            text += Field(info->Description);
            text += Field(info->OtherValue);
            text += Field(info->SignalState);
            text += Field(info->MacroData);
            text += LineEnd;
        }
    }
    // The list is written beside the old one and replaces it only when every byte is out, so
    // a full disk or a failing device leaves the old list as it was.
    try {
        WriteFileReplacing(fileName_, text.data(), text.size());
    } catch (const Exception&) {
        MacroTreeServices().ShowMessage(TreeFileText::SaveFailed);
        return false;
    }
    return true;
}

void TMacroListFile::LoadMacroList()
{
    TUpdateBracket bracket(items_);
    CurrentMacroFolder = nullptr;
    if (std::FILE* file = std::fopen(fileName_.c_str(), "rb")) {
        ReadMacroList(file);
        std::fclose(file);
    }
}

void TMacroListFile::ReadMacroList(std::FILE* file)
{
    TUpdateBracket bracket(items_);
    CurrentMacroFolder = nullptr;
    // A line longer than the limit is skipped whole: read in pieces, its tail would start
    // new lines of its own, and any of them could pass for a header or a node.
    std::string line;
    bool tooLong = false;
    auto endOfLine = [&] {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > MacroListLineLimit) tooLong = true;
        if (!tooLong && !line.empty() && (line[0] == '!' || line[0] == '+' || line[0] == '-'))
            ParseMacroLine(line);
        line.clear();
        tooLong = false;
    };
    for (int c; (c = std::fgetc(file)) != EOF;) {
        if (c == '\n') {
            endOfLine();
        } else if (!tooLong) {
            line += static_cast<char>(c);
            // One more than the limit leaves room for the CR of a CR LF line end.
            if (line.size() > MacroListLineLimit + 1) {
                tooLong = true;
                line.clear();
            }
        }
    }
    if (!line.empty() || tooLong) endOfLine();
}

void TMacroListFile::ParseMacroLine(const std::string& Line)
{
    TInfo parsed;
    StringTokenizer tokens(Line, "|");
    if (tokens.countTokens() < 1) return;
    const std::string first = tokens.nextToken();
    parsed.LevelMark = first[0];
    switch (parsed.LevelMark) {
    case '!': {
        String fields[4];
        for (String& field : fields) field = UnwrapField(tokens.nextToken());
        if (fields[0] == "1")
            pane_.ShowPane();
        else
            pane_.HidePane();
        pane_.SetShowDescriptions(fields[1] == "1");
        const int top = HeaderNumber(fields[2]), width = HeaderNumber(fields[3]);
        pane_.SetSplitterTop(BoundedSplitterTop(top));  // 0 (empty or not a number) included
        pane_.SetPaneWidth(BoundedPaneWidth(width));
        break;
    }
    case '+': {
        const String name = UnwrapField(tokens.nextToken());
        UnwrapField(tokens.nextToken());  // a folder keeps no type
        const String description = UnwrapField(tokens.nextToken());
        CurrentMacroFolder = AddMacroFolder(name, description);
        break;
    }
    case '-':
        parsed.MacroName = UnwrapField(tokens.nextToken());
        parsed.MacroType = UnwrapField(tokens.nextToken());
        parsed.Description = UnwrapField(tokens.nextToken());
        parsed.OtherValue = UnwrapField(tokens.nextToken());
        parsed.SignalState = UnwrapField(tokens.nextToken());
        parsed.MacroData = UnwrapField(tokens.nextToken());
        AddMacroItem(CurrentMacroFolder, std::move(parsed));
        break;
    default: break;
    }
}

TTreeNode* TMacroListFile::AddMacroFolder(const String& Name, const String& Description)
{
    if (HasFieldDelimiter(Name) || HasFieldDelimiter(Description)) {
        MacroTreeServices().ShowMessage(TreeFileText::FieldDelimiterRefused);
        return nullptr;
    }
    auto* info = new TInfo;
    info->LevelMark = '+';
    info->MacroName = Name;
    info->Description = Description;
    info->Kind = mkFolder;
    info->ID = NewRecordId();
    info->NodeText = CreateLabel(Description, Name, pane_.ShowDescriptions());
    TTreeNode* node = items_.AddObject(nullptr, info->NodeText, info);
    node->SetImageIndex(MacroImage::FolderClosed);
    node->SetSelectedIndex(MacroImage::FolderOpen);
    RelabelAllNodes(items_);
    return node;
}

void TMacroListFile::AddMacroItem(TTreeNode* Folder, TInfo Parsed)
{
    if (HasFieldDelimiter(Parsed)) {
        MacroTreeServices().ShowMessage(TreeFileText::FieldDelimiterRefused);
        return;
    }
    // The folder is checked before the record is made, so a refused item leaves nothing behind.
    TInfo* folderInfo = NodeInfo(Folder);
    if (folderInfo && folderInfo->Deleted) {
        MacroTreeServices().ShowMessage(TreeFileText::DeletedFolder);
        return;
    }
    TInfo* info = new (std::nothrow) TInfo;
    if (!info) {
        MacroTreeServices().ShowMessage(TreeFileText::OutOfMemory);
        return;
    }
    info->ID = NewRecordId();
    info->MacroName = std::move(Parsed.MacroName);
    info->Description = std::move(Parsed.Description);
    info->OtherValue = std::move(Parsed.OtherValue);
    info->SignalState = std::move(Parsed.SignalState);
    info->MacroType = std::move(Parsed.MacroType);
    info->MacroData = std::move(Parsed.MacroData);
    info->Reserved = Parsed.Reserved;
    SetParentInfo(info, folderInfo);
    info->NodeText = CreateLabel(info->Description, info->MacroName, pane_.ShowDescriptions());
    items_.AddChildObject(Folder, info->NodeText, info);
    RelabelAllNodes(items_);
}
