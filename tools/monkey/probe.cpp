// The random-input run's eyes inside Wine: a console program started in the run's prefix that
// reports, once per interval, the program's top-level windows and whether its main window
// answers. It only reads: window lists, classes, texts and states come from the Wine server,
// and the one message it sends (WM_NULL) does nothing in any window.
//   qv_monkey_probe.exe [INTERVAL_MS]
// Each report, on stdout, fields separated by tabs (tabs and line ends in texts escaped):
//   win HWND CLASS VISIBLE ENABLED OWNER LEFT TOP RIGHT BOTTOM KIND TITLE TEXT
//   ping ok|timeout|none MILLISECONDS
//   end
// KIND tells boxes apart for the run: msg (a message box), file (an open or save dialog),
// print (a print or print set-up dialog), dialog (another dialog box), form (anything else).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The main window's class and the longest it may take to answer before the run calls it hung.
constexpr const char* MainWindowClass = "TForm1";
constexpr UINT AnswerTimeoutMs = 5000;

// Control IDs of the common dialogs' templates (the same IDs mean other things in other
// templates): a file dialog has its file and folder lists (old style), or its file name combo
// and shell view (explorer style); a print or print set-up dialog has its printer combo and
// the printer's Properties button, which the font dialog, with a combo of the same ID, lacks.
constexpr int FileListId = 0x460, FolderListId = 0x461, FileNameComboId = 0x47c;
constexpr int PrinterComboId = 0x473, PropertiesButtonId = 0x401;

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

// The server's copy of the text: no message reaches the window, so a hung one cannot hold
// the probe up.
std::string TextOf(HWND h)
{
    wchar_t wide[1024];
    const int n = InternalGetWindowText(h, wide, 1024);
    char narrow[4096];
    const int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, narrow, sizeof narrow, nullptr, nullptr);
    return std::string(narrow, m > 0 ? m : 0);
}

std::string ClassOf(HWND h)
{
    char name[256] = "";
    GetClassNameA(h, name, sizeof name);
    return name;
}

// A message box is a dialog of static texts and buttons alone; its text is the longest static.
struct DialogParts {
    bool fileList = false, folderList = false, fileName = false, shellView = false;
    bool printerCombo = false, propertiesButton = false, input = false;
    std::string text;
    bool File() const { return shellView || fileName || (fileList && folderList); }
    bool Print() const { return printerCombo && propertiesButton; }
};

BOOL CALLBACK NoteChild(HWND h, LPARAM l)
{
    auto* parts = reinterpret_cast<DialogParts*>(l);
    const int id = GetDlgCtrlID(h);
    const std::string cls = ClassOf(h);
    parts->fileList |= id == FileListId;
    parts->folderList |= id == FolderListId;
    parts->fileName |= id == FileNameComboId;
    parts->shellView |= cls == "SHELLDLL_DefView";
    parts->printerCombo |= id == PrinterComboId;
    parts->propertiesButton |= id == PropertiesButtonId;
    if (cls == "Static") {
        const std::string text = TextOf(h);
        if (text.size() > parts->text.size()) parts->text = text;
    } else if (cls != "Button") {
        parts->input = true;
    }
    return TRUE;
}

struct Listing {
    DWORD pid;
    std::vector<std::string> lines;
};

BOOL CALLBACK NoteTopLevel(HWND h, LPARAM l)
{
    auto* listing = reinterpret_cast<Listing*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != listing->pid) return TRUE;
    const std::string cls = ClassOf(h);
    std::string kind = "form", text;
    if (cls == "#32770") {
        DialogParts parts;
        EnumChildWindows(h, NoteChild, reinterpret_cast<LPARAM>(&parts));
        if (parts.Print()) {
            kind = "print";
        } else if (parts.File()) {
            kind = "file";
        } else if (!parts.input && !parts.text.empty()) {
            kind = "msg";
            text = parts.text;
        } else {
            kind = "dialog";
        }
    }
    RECT r{};
    GetWindowRect(h, &r);
    char head[256];
    std::snprintf(head, sizeof head, "win\t%p\t", static_cast<void*>(h));
    char states[256];
    std::snprintf(states, sizeof states, "\t%d\t%d\t%p\t%ld\t%ld\t%ld\t%ld\t", IsWindowVisible(h) ? 1 : 0,
                  IsWindowEnabled(h) ? 1 : 0, static_cast<void*>(GetWindow(h, GW_OWNER)), r.left,
                  r.top, r.right, r.bottom);
    listing->lines.push_back(head + Escaped(cls) + states + kind + "\t" + Escaped(TextOf(h)) + "\t" +
                             Escaped(text));
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    const DWORD interval = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 1000;
    for (;;) {
        HWND main = FindWindowA(MainWindowClass, nullptr);
        if (!main) {
            std::printf("ping\tnone\t0\nend\n");
        } else {
            Listing listing{0, {}};
            GetWindowThreadProcessId(main, &listing.pid);
            // Top-level windows come in their z-order, the topmost first.
            EnumWindows(NoteTopLevel, reinterpret_cast<LPARAM>(&listing));
            const DWORD start = GetTickCount();
            DWORD_PTR result = 0;
            const bool answered = SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL,
                                                      AnswerTimeoutMs, &result) != 0;
            const DWORD took = GetTickCount() - start;
            for (const std::string& line : listing.lines) std::printf("%s\n", line.c_str());
            // A window gone while we waited also fails the send: that is no hang.
            const char* state = answered ? "ok" : IsWindow(main) ? "timeout" : "none";
            std::printf("ping\t%s\t%lu\nend\n", state, static_cast<unsigned long>(took));
        }
        // The run has ended when nobody reads any more.
        if (std::fflush(stdout) != 0) return 0;
        Sleep(interval);
    }
}
