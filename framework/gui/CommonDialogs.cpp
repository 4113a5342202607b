// The common dialogs over comdlg32. Find and replace are modeless: their notifications reach
// a small hidden window that hands them to the dialog component.
#include "framework/gui/CommonDialogs.h"

#include <vector>

#include "framework/Exceptions.h"
#include "framework/win/HelperWindow.h"
#include "framework/gui/Application.h"
#include "framework/gui/DialogOwner.h"
#include "framework/gui/DialogService.h"
#include "framework/gui/Printer.h"

bool TCommonDialog::Execute()
{
    if (Application->OnModalBegin) Application->OnModalBegin(this);
    struct Ended {
        TCommonDialog* dialog;
        ~Ended()
        {
            if (Application->OnModalEnd) Application->OnModalEnd(dialog);
        }
    } ended{this};
    return DialogService().Execute(*this);
}

namespace {

// "Text (*.txt)|*.txt|All|*.*" -> the platform's double-NUL-terminated pairs.
std::vector<char> FilterPairs(const String& filter)
{
    std::vector<char> out(filter.begin(), filter.end());
    for (char& c : out)
        if (c == '|') c = '\0';
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

}  // namespace

bool TOpenDialog::Run(bool save)
{
    std::vector<char> filter = FilterPairs(Filter);
    std::vector<char> file(MAX_PATH * 4, '\0');
    lstrcpynA(file.data(), FileName.c_str(), static_cast<int>(file.size()));
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    TModalScope modal;
    ofn.hwndOwner = modal.Owner();
    TDialogOnTop onTop(ofn.hwndOwner);
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.data();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.Flags = OFN_EXPLORER;
    if (Options.Contains(ofOverwritePrompt)) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (Options.Contains(ofHideReadOnly)) ofn.Flags |= OFN_HIDEREADONLY;
    if (Options.Contains(ofNoChangeDir)) ofn.Flags |= OFN_NOCHANGEDIR;
    if (Options.Contains(ofPathMustExist)) ofn.Flags |= OFN_PATHMUSTEXIST;
    if (Options.Contains(ofFileMustExist)) ofn.Flags |= OFN_FILEMUSTEXIST;
    if (Options.Contains(ofCreatePrompt)) ofn.Flags |= OFN_CREATEPROMPT;
    if (Options.Contains(ofEnableSizing)) ofn.Flags |= OFN_ENABLESIZING;
    BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok) return false;
    FileName = file.data();
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

bool TOpenDialog::ExecutePlatform() { return Run(false); }
bool TSaveDialog::ExecutePlatform() { return Run(true); }

bool TFontDialog::ExecutePlatform()
{
    LOGFONTA lf{};
    GetObjectA(font_.Handle(), sizeof(lf), &lf);
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof(cf);
    TModalScope modal;
    cf.hwndOwner = modal.Owner();
    TDialogOnTop onTop(cf.hwndOwner);
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    cf.rgbColors = ColorToRGB(font_.Color());
    if (MaxFontSize > 0) {
        cf.Flags |= CF_LIMITSIZE;
        cf.nSizeMin = MinFontSize;
        cf.nSizeMax = MaxFontSize;
    }
    if (!ChooseFontA(&cf)) return false;
    font_.SetName(lf.lfFaceName);
    font_.SetHeight(lf.lfHeight);
    font_.SetCharset(lf.lfCharSet);
    TFontStyles style;
    if (lf.lfWeight >= FW_BOLD) style << fsBold;
    if (lf.lfItalic) style << fsItalic;
    if (lf.lfUnderline) style << fsUnderline;
    if (lf.lfStrikeOut) style << fsStrikeOut;
    font_.SetStyle(style);
    font_.SetColor(static_cast<TColor>(cf.rgbColors));
    return true;
}

bool TColorDialog::ExecutePlatform()
{
    static COLORREF custom[16] = {};
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof(cc);
    TModalScope modal;
    cc.hwndOwner = modal.Owner();
    TDialogOnTop onTop(cc.hwndOwner);
    cc.rgbResult = ColorToRGB(Color);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT;
    if (!ChooseColorA(&cc)) return false;
    Color = static_cast<TColor>(cc.rgbResult);
    return true;
}

// ---- find and replace --------------------------------------------------------------------
struct TFindDialog::Buffers {
    FINDREPLACEA fr{};
    char find[256] = {};
    char replace[256] = {};
    HWND owner = nullptr;
};

struct FindDialogHook {
    static LRESULT CALLBACK OwnerProc(HWND h, UINT msg, WPARAM w, LPARAM l)
    {
        static const UINT findMsg = RegisterWindowMessageA(FINDMSGSTRINGA);
        if (msg == findMsg) {
            auto* fr = reinterpret_cast<FINDREPLACEA*>(l);
            auto* dialog = reinterpret_cast<TFindDialog*>(fr->lCustData);
            try {
                dialog->Notify(fr->Flags);
            } catch (...) {
                HandleCallbackException(dialog);
            }
            return 0;
        }
        return DefWindowProcA(h, msg, w, l);
    }
};

TFindDialog::~TFindDialog()
{
    CloseDialog();
    if (buffers_ && buffers_->owner && IsWindow(buffers_->owner)) DestroyWindow(buffers_->owner);
    delete buffers_;
}

void TFindDialog::CloseDialog()
{
    if (window_) {
        Application->RemoveModelessDialog(window_);
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

bool TFindDialog::Show(bool replace)
{
    if (window_) {
        SetForegroundWindow(window_);
        return true;
    }
    if (!buffers_) buffers_ = new Buffers;
    // Owned by the window it is opened from, the dialog stays above it; owned by a hidden window
    // of its own, a click on the main window put it behind that for good.
    const HWND from = DialogOwner();
    HWND& helper = buffers_->owner;
    if (helper && (!IsWindow(helper) || GetParent(helper) != from)) {
        if (IsWindow(helper)) DestroyWindow(helper);
        helper = nullptr;
    }
    if (!helper)
        helper = CreateHelperWindow("QvFindOwner", &FindDialogHook::OwnerProc, false, from);
    Buffers& b = *buffers_;
    lstrcpynA(b.find, FindText.c_str(), sizeof(b.find));
    if (auto* r = dynamic_cast<TReplaceDialog*>(this))
        lstrcpynA(b.replace, r->ReplaceText.c_str(), sizeof(b.replace));
    b.fr = FINDREPLACEA{};
    b.fr.lStructSize = sizeof(b.fr);
    b.fr.hwndOwner = b.owner;
    b.fr.lpstrFindWhat = b.find;
    b.fr.wFindWhatLen = sizeof(b.find);
    b.fr.lpstrReplaceWith = b.replace;
    b.fr.wReplaceWithLen = sizeof(b.replace);
    b.fr.lCustData = reinterpret_cast<LPARAM>(this);
    DWORD flags = 0;
    if (Options.Contains(frDown)) flags |= FR_DOWN;
    if (Options.Contains(frMatchCase)) flags |= FR_MATCHCASE;
    if (Options.Contains(frWholeWord)) flags |= FR_WHOLEWORD;
    if (Options.Contains(frHideMatchCase)) flags |= FR_HIDEMATCHCASE;
    if (Options.Contains(frHideWholeWord)) flags |= FR_HIDEWHOLEWORD;
    if (Options.Contains(frHideUpDown)) flags |= FR_HIDEUPDOWN;
    if (Options.Contains(frDisableMatchCase)) flags |= FR_NOMATCHCASE;
    if (Options.Contains(frDisableUpDown)) flags |= FR_NOUPDOWN;
    if (Options.Contains(frDisableWholeWord)) flags |= FR_NOWHOLEWORD;
    b.fr.Flags = flags;
    window_ = replace ? ReplaceTextA(&b.fr) : FindTextA(&b.fr);
    if (!window_) return false;
    if (placed_) SetWindowPos(window_, nullptr, left_, top_, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Application->AddModelessDialog(window_);
    return true;
}

bool TFindDialog::ExecutePlatform() { return Show(false); }
bool TReplaceDialog::ExecutePlatform() { return Show(true); }

void TFindDialog::Notify(DWORD Flags)
{
    if (Flags & FR_DIALOGTERM) {
        Application->RemoveModelessDialog(window_);
        window_ = nullptr;
        if (OnClose) OnClose(this);
        return;
    }
    FindText = buffers_->find;
    TFindOptions o = Options;
    auto set = [&](TFindOption opt, bool on) {
        if (on)
            o << opt;
        else
            o >> opt;
    };
    set(frDown, Flags & FR_DOWN);
    set(frMatchCase, Flags & FR_MATCHCASE);
    set(frWholeWord, Flags & FR_WHOLEWORD);
    set(frFindNext, Flags & FR_FINDNEXT);
    set(frReplace, Flags & FR_REPLACE);
    set(frReplaceAll, Flags & FR_REPLACEALL);
    Options = o;
    if (auto* r = dynamic_cast<TReplaceDialog*>(this)) {
        r->ReplaceText = buffers_->replace;
        if (Flags & (FR_REPLACE | FR_REPLACEALL)) {
            r->DoReplace();
            return;
        }
    }
    if (Flags & FR_FINDNEXT) DoFind();
}

// ---- printing ----------------------------------------------------------------------------
bool TPrintDialog::ExecutePlatform()
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof(pd);
    TModalScope modal;
    pd.hwndOwner = modal.Owner();
    TDialogOnTop onTop(pd.hwndOwner);
    pd.Flags = PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nCopies = static_cast<WORD>(Copies);
    Printer()->GetDeviceHandles(pd.hDevMode, pd.hDevNames);
    if (!PrintDlgA(&pd)) return false;
    Printer()->SetDeviceHandles(pd.hDevMode, pd.hDevNames);
    Copies = pd.nCopies;
    return true;
}

bool TPrinterSetupDialog::ExecutePlatform()
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof(pd);
    TModalScope modal;
    pd.hwndOwner = modal.Owner();
    TDialogOnTop onTop(pd.hwndOwner);
    pd.Flags = PD_PRINTSETUP;
    Printer()->GetDeviceHandles(pd.hDevMode, pd.hDevNames);
    if (!PrintDlgA(&pd)) return false;
    Printer()->SetDeviceHandles(pd.hDevMode, pd.hDevNames);
    return true;
}
