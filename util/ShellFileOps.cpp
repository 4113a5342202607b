// The shell's folder browser and file operation. Both run modal shell UI: the program's other
// windows are disabled meanwhile, as a modal form disables them, and the focus returns after.
#include "util/ShellFileOps.h"

#include "framework/Exceptions.h"
#include "framework/gui/Application.h"
#include "framework/gui/DialogOwner.h"
#include "framework/gui/Form.h"
#include "util/FileUtils.h"
#include "util/ShellFileOpsTexts.h"
#include "util/WindowUtils.h"

bool NewStyleControls = true;

namespace {

const char* const DialogProp = "QvBrowseFolderDlg";

HWND ApplicationWindow()
{
    TForm* main = Application->MainForm();
    return main && main->HandleAllocated() ? main->Handle() : nullptr;
}

String PathOf(LPCITEMIDLIST Item)
{
    char path[MAX_PATH] = "";
    if (!Item || !SHGetPathFromIDListA(Item, path)) return String();
    return String(path);
}

String DisplayNameOf(LPCITEMIDLIST Item)
{
    SHFILEINFOA info{};
    if (!Item || !SHGetFileInfoA(reinterpret_cast<LPCSTR>(Item), 0, &info, sizeof info,
                                 SHGFI_PIDL | SHGFI_DISPLAYNAME))
        return String();
    return String(info.szDisplayName);
}

}  // namespace

// ---- TBrowseFolderDlg --------------------------------------------------------------------

TBrowseFolderDlg::TBrowseFolderDlg(TComponent* AOwner) : TComponent(AOwner) {}

bool TBrowseFolderDlg::Execute()
{
    LPITEMIDLIST root = nullptr;
    if (BrowseKind == bfComputers || !DesktopRoot) {
        const int folder = BrowseKind == bfComputers ? CSIDL_NETWORK : CSIDL_DRIVES;
        if (FAILED(SHGetSpecialFolderLocation(ApplicationWindow(), folder, &root)) || !root)
            throw Exception(ShellFileOpsText::NoRoot, folder);
    }
    BROWSEINFOA info{};
    info.hwndOwner = ApplicationWindow();
    info.pidlRoot = root;
    info.pszDisplayName = displayName_;
    info.lpszTitle = DialogText.empty() ? nullptr : DialogText.c_str();
    info.ulFlags = BrowseKind == bfComputers ? BIF_BROWSEFORCOMPUTER
                                             : BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    LPITEMIDLIST chosen = nullptr;
    {
        TModalScope modal;
        chosen = SHBrowseForFolderA(&info);
    }
    handle_ = nullptr;
    bool result = false;
    if (chosen) {
        if (BrowseKind == bfComputers) {
            FolderName = displayName_;
            result = true;
        } else {
            char path[MAX_PATH] = "";
            result = SHGetPathFromIDListA(chosen, path) != FALSE;
            if (result) FolderName = RemoveBackSlash(path);
        }
        imageIndex_ = info.iImage;
        CoTaskMemFree(chosen);
    }
    if (root) CoTaskMemFree(root);
    return result;
}

int CALLBACK TBrowseFolderDlg::BrowseCallback(HWND Wnd, UINT Msg, LPARAM LParam, LPARAM Data)
{
    auto* self = reinterpret_cast<TBrowseFolderDlg*>(Data);
    try {
        if (Msg == BFFM_INITIALIZED)
            self->Initialized(Wnd);
        else if (Msg == BFFM_SELCHANGED)
            self->SelectionChanged(Wnd, reinterpret_cast<LPCITEMIDLIST>(LParam));
    } catch (...) {
        Application->HandleException(self);
    }
    return 0;
}

void TBrowseFolderDlg::Initialized(HWND Wnd)
{
    if (Position == dpScreenCenter) CenterWindow(Wnd);
    handle_ = Wnd;
    SetPropA(Wnd, DialogProp, this);
    defWndProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DialogProc)));
    if (BrowseKind == bfComputers || Fileutil::DirExists(FolderName))
        SendMessageA(Wnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(FolderName.c_str()));
    if (HelpContext != 0) AddHelpButton();
    if (OnInitialized) OnInitialized(this);
}

void TBrowseFolderDlg::AddHelpButton()
{
    HWND first = FindWindowExA(handle_, nullptr, "Button", nullptr);
    if (!first) return;
    RECT r;
    GetWindowRect(first, &r);
    MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&r), 2);
    HWND help = CreateWindowExA(0, "Button", ShellFileOpsText::Help,
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 12, r.top,
                                r.right - r.left, r.bottom - r.top, handle_,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(BrowseHelpButtonId)),
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(help, WM_SETFONT, SendMessageA(first, WM_GETFONT, 0, 0), FALSE);
}

void TBrowseFolderDlg::SelectionChanged(HWND Wnd, LPCITEMIDLIST Item)
{
    handle_ = Wnd;
    if (BrowseKind == bfFolders) {
        selectedName_ = PathOf(Item);
        SendMessageA(Wnd, BFFM_ENABLEOK, 0, Fileutil::DirExists(selectedName_) ? 1 : 0);
    } else {
        selectedName_ = DisplayNameOf(Item);
    }
    if (OnSelChanged) OnSelChanged(this);
}

LRESULT CALLBACK TBrowseFolderDlg::DialogProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    auto* self = static_cast<TBrowseFolderDlg*>(GetPropA(Wnd, DialogProp));
    if (!self) return DefWindowProcA(Wnd, Msg, WParam, LParam);
    const WNDPROC previous = self->defWndProc_;
    if (Msg == WM_COMMAND && LOWORD(WParam) == BrowseHelpButtonId) {
        try {
            if (self->OnHelp) self->OnHelp(self);
        } catch (...) {
            Application->HandleException(self);
        }
        return 0;
    }
    if (Msg == WM_NCDESTROY) {
        RemovePropA(Wnd, DialogProp);
        SetWindowLongPtrA(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        self->handle_ = nullptr;
    }
    return CallWindowProcA(previous, Wnd, Msg, WParam, LParam);
}

// ---- TQvFileOperator ---------------------------------------------------------------------

TQvFileOperator::TQvFileOperator(TComponent* AOwner) : TComponent(AOwner) {}

FILEOP_FLAGS TQvFileOperator::ShellFlags(TFileOperFlags Options)
{
    static const FILEOP_FLAGS bits[] = {
        FOF_ALLOWUNDO,      FOF_CONFIRMMOUSE,   FOF_FILESONLY,         FOF_MULTIDESTFILES,
        FOF_NOCONFIRMATION, FOF_NOCONFIRMMKDIR, FOF_RENAMEONCOLLISION, FOF_SILENT,
        FOF_SIMPLEPROGRESS, FOF_NOERRORUI};
    FILEOP_FLAGS flags = 0;
    for (int f = flAllowUndo; f <= flNoErrorUI; ++f)
        if (Options.Contains(static_cast<TFileOperFlag>(f))) flags |= bits[f];
    return flags;
}

bool TQvFileOperator::Execute()
{
    static const UINT functions[] = {FO_COPY, FO_DELETE, FO_MOVE, FO_RENAME};
    Aborted = false;
    const std::string from = ShellNameList(Source, !SingleNames);
    const std::string to = ShellNameList(Destination, !SingleNames);
    SHFILEOPSTRUCTA op{};
    op.hwnd = ApplicationWindow();
    op.wFunc = functions[Operation];
    op.pFrom = from.empty() ? nullptr : from.c_str();
    op.pTo = to.empty() ? nullptr : to.c_str();
    op.fFlags = ShellFlags(Options);
    op.lpszProgressTitle = ProgressTitle.c_str();
    int result;
    {
        TModalScope modal;
        result = SHFileOperationA(&op);
    }
    Aborted = op.fAnyOperationsAborted != FALSE;
    return result == 0;
}

// ---- the browse functions ----------------------------------------------------------------

namespace {

bool Browse(TBrowseKind Kind, String& Name, const String& DialogText, int HelpContext)
{
    TBrowseFolderDlg dialog(Application);
    dialog.BrowseKind = Kind;
    dialog.DialogText = DialogText;
    dialog.FolderName = Name;
    dialog.HelpContext = HelpContext;
    if (!dialog.Execute()) return false;
    Name = dialog.FolderName;
    return true;
}

}  // namespace

// The framework has no select-directory dialog of its own: the shell's browser always runs.
bool BrowseDirectory(String& Directory, const String& DialogText, int HelpContext)
{
    return Browse(bfFolders, Directory, DialogText, HelpContext);
}

bool BrowseComputer(String& ComputerName, const String& DialogText, int HelpContext)
{
    return Browse(bfComputers, ComputerName, DialogText, HelpContext);
}
