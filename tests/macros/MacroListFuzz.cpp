// Fuzz target for the macro list reader: any bytes load without a fault, every node comes
// from exactly one node line within the length limit (never from a piece of a longer line),
// and the header leaves the pane sizes inside their bounds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "macros/TreeFileIo.h"

namespace {
struct Pane : TMacroPaneLayout {
    bool shown = true, descriptions = true;
    int top = 260, width = 320;
    bool PaneVisible() override { return shown; }
    bool SideSplitterVisible() override { return shown; }
    void ShowPane() override { shown = true; }
    void HidePane() override { shown = false; }
    bool ShowDescriptions() override { return descriptions; }
    void SetShowDescriptions(bool v) override { descriptions = v; }
    int SplitterTop() override { return top; }
    void SetSplitterTop(int v) override { top = v; }
    int PaneWidth() override { return width; }
    void SetPaneWidth(int v) override { width = v; }
};

int NodeLines(const std::string& text)
{
    int count = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() <= MacroListLineLimit && !line.empty() &&
            (line[0] == '+' || line[0] == '-'))
            ++count;
        start = end + 1;
    }
    return count;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MacroTreeServices().ShowMessage = [](const String&) { std::abort(); };  // no refusals
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::FILE* in = fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
    if (!in) return 0;
    Pane pane;
    TTreeNodes items;
    TMacroListFile file(items, pane, "/nonexistent/qvmacros.ini");
    file.ReadMacroList(in);
    std::fclose(in);
    if (items.Count() != NodeLines(text)) std::abort();
    if (pane.top <= 100 || pane.top >= 500 || pane.width <= 170 || pane.width >= 1000) std::abort();
    FreeAllInfos(items);
    return 0;
}
