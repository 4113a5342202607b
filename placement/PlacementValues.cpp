// The placement values: default storage names, and the writer and reader of a form's window
// placement (flags, show command, pixel density, positions per screen size).
#include "placement/PlacementValues.h"

#include <memory>

#include "framework/FileNames.h"
#include "framework/IniFile.h"
#include "framework/gui/Application.h"
#include "framework/gui/Canvas.h"
#include "framework/gui/Form.h"
#include "framework/win/RegIniFile.h"
#include "placement/FormPlacement.h"
#include "placement/IniStorage.h"
#include "util/CharSet.h"
#include "util/StrUtils.h"

String DefCompanyName;
bool RegUseAppTitle = false;
String (*OnGetDefaultIniName)() = nullptr;

namespace {

const TCharSet Commas{','};

// Word N of a "%d,%d,%d,%d" text as an integer, or Default.
int PositionWord(int N, const String& Text, int Default)
{
    return StrToIntDef(Trim(ExtractWord(N, Text, Commas)), Default);
}

String FourInts(int A, int B, int C, int D) { return Format("%d,%d,%d,%d", A, B, C, D); }

bool IsMainForm(TForm* Form) { return Application && Application->MainForm() == Form; }

bool NoMainForm() { return !Application || !Application->MainForm(); }

}  // namespace

String GetDefaultSection(const TComponent* Component)
{
    if (!Component) return "";
    if (dynamic_cast<const TForm*>(Component)) return Component->ClassName();
    String result = Component->Name;
    if (auto* control = dynamic_cast<const TControl*>(Component)) {
        TForm* form = GetParentForm(const_cast<TControl*>(control));
        if (form && form != Component)
            result = form->ClassName() + result;
        else if (control->Parent())
            result = control->Parent()->Name + result;
    } else if (auto* owner = dynamic_cast<const TForm*>(Component->Owner())) {
        result = Format("%s.%s", owner->ClassName(), result);
    }
    return result;
}

String GetDefaultIniName()
{
    if (OnGetDefaultIniName) return OnGetDefaultIniName();
    return ChangeFileExt(ExtractFileName(Application->ExeName()), ".INI");
}

String GetDefaultIniRegKey()
{
    String result;
    if (RegUseAppTitle && !Application->Title.empty())
        result = Application->Title;
    else
        result = ChangeFileExt(ExtractFileName(Application->ExeName()), "");
    if (!DefCompanyName.empty()) result = DefCompanyName + "\\" + result;
    return "Software\\" + result;
}

void GetDefaultIniData(TControl* Control, String& IniFileName, String& Section, bool UseRegistry)
{
    IniFileName.clear();
    if (auto* form = dynamic_cast<TForm*>(Control ? Control->Owner() : nullptr)) {
        for (int i = 0; i < form->ComponentCount(); ++i) {
            if (auto* placement = dynamic_cast<TFormPlacement*>(form->Components(i))) {
                IniFileName = placement->IniFileName();
                break;
            }
        }
    }
    Section = GetDefaultSection(Control);
    if (IniFileName.empty())
        IniFileName = UseRegistry ? GetDefaultIniRegKey() : GetDefaultIniName();
}

String ScreenSizeSuffix()
{
    return Format("(%dx%d)", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void WriteFormPlacementValues(TForm* Form, TCustomIniFile* Ini, const String& Section)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Form->Handle(), &placement);
    if (IsMainForm(Form) && IsIconic(Form->Handle())) placement.showCmd = SW_SHOWMINIMIZED;
    // A minimised MDI child comes back to its own minimised place, not the next free one.
    if (Form->FormStyle() == fsMDIChild && Form->WindowState() == wsMinimized)
        placement.flags |= WPF_SETMINPOSITION;
    IniWriteInteger(Ini, Section, "Flags", static_cast<int>(placement.flags));
    IniWriteInteger(Ini, Section, "ShowCmd", static_cast<int>(placement.showCmd));
    IniWriteInteger(Ini, Section, "PixelsPerInch", TFont::PixelsPerInch());
    const String suffix = ScreenSizeSuffix();
    WritePlacementValue(Ini, Section, "MinMaxPos", suffix,
                        FourInts(placement.ptMinPosition.x, placement.ptMinPosition.y,
                                 placement.ptMaxPosition.x, placement.ptMaxPosition.y));
    const RECT& r = placement.rcNormalPosition;
    WritePlacementValue(Ini, Section, "NormPos", suffix,
                        FourInts(r.left, r.top, r.right, r.bottom));
}

void ReadFormPlacementValues(TForm* Form, const TCustomIniFile* Ini, const String& Section,
                             bool LoadState, bool LoadPosition)
{
    if (!LoadState && !LoadPosition) return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Form->Handle(), &placement);
    if (!IsWindowVisible(Form->Handle())) placement.showCmd = SW_HIDE;

    if (LoadPosition) {
        bool dataFound = false;
        placement.flags = static_cast<UINT>(
            IniReadInteger(Ini, Section, "Flags", static_cast<int>(placement.flags)));
        const String suffix = ScreenSizeSuffix();
        const String minMax = ReadPlacementValue(Ini, Section, "MinMaxPos", suffix);
        if (!minMax.empty()) {
            dataFound = true;
            placement.ptMinPosition = {PositionWord(1, minMax, 0), PositionWord(2, minMax, 0)};
            placement.ptMaxPosition = {PositionWord(3, minMax, 0), PositionWord(4, minMax, 0)};
        }
        const String norm = ReadPlacementValue(Ini, Section, "NormPos", suffix);
        if (!norm.empty()) {
            dataFound = true;
            RECT& r = placement.rcNormalPosition;
            r.left = PositionWord(1, norm, Form->Left());
            r.top = PositionWord(2, norm, Form->Top());
            r.right = PositionWord(3, norm, Form->Left() + Form->Width());
            r.bottom = PositionWord(4, norm, Form->Top() + Form->Height());
        }
        // A placement stored at another pixel density would be the wrong size: not applied.
        const int ppi = TFont::PixelsPerInch();
        if (IniReadInteger(Ini, Section, "PixelsPerInch", ppi) != ppi) dataFound = false;
        if (dataFound) {
            RECT& r = placement.rcNormalPosition;
            if (Form->BorderStyle() != bsSizeable && Form->BorderStyle() != bsSizeToolWin) {
                r.right = r.left + Form->Width();
                r.bottom = r.top + Form->Height();
            }
            if (r.right > r.left) {
                // Otherwise the form would be centred again on the next show.
                if (Form->Position == poScreenCenter || Form->Position == poDesktopCenter)
                    Form->Position = poDesigned;
                SetWindowPlacement(Form->Handle(), &placement);
            }
        }
    }

    if (LoadState) {
        TWindowState state = wsNormal;
        if ((IsMainForm(Form) || NoMainForm()) &&
            (Form->FormStyle() == fsMDIForm ||
             (Form->FormStyle() == fsNormal && Form->Position == poDefault)))
            state = wsMaximized;
        switch (IniReadInteger(Ini, Section, "ShowCmd", SW_HIDE)) {
        case SW_SHOWNORMAL:
        case SW_SHOW:
        case SW_RESTORE: state = wsNormal; break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE: state = wsMinimized; break;
        case SW_SHOWMAXIMIZED: state = wsMaximized; break;
        default: break;
        }
        if (state == wsMinimized && (IsMainForm(Form) || NoMainForm())) {
            // Opened normal and then minimised through the program, so its button shows it.
            Form->SetWindowState(wsNormal);
            PostMessageA(Form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        } else if (Form->FormStyle() == fsMDIChild || Form->FormStyle() == fsMDIForm) {
            // MDI windows take their state when they are shown.
            Form->RecordWindowState(state);
        } else {
            Form->SetWindowState(state);
        }
    }
    Form->Update();
}

void WriteFormPlacementReg(TForm* Form, TRegIniFile* IniFile, const String& Section)
{
    WriteFormPlacementValues(Form, IniFile, Section);
}

void WriteFormPlacement(TForm* Form, TIniFile* IniFile, const String& Section)
{
    WriteFormPlacementValues(Form, IniFile, Section);
}

void ReadFormPlacementReg(TForm* Form, const TRegIniFile* IniFile, const String& Section,
                          bool LoadState, bool LoadPosition)
{
    ReadFormPlacementValues(Form, IniFile, Section, LoadState, LoadPosition);
}

void ReadFormPlacement(TForm* Form, const TIniFile* IniFile, const String& Section, bool LoadState,
                       bool LoadPosition)
{
    ReadFormPlacementValues(Form, IniFile, Section, LoadState, LoadPosition);
}

void SaveFormPlacement(TForm* Form, const String& IniFileName, bool UseRegistry)
{
    std::unique_ptr<TCustomIniFile> ini;
    if (UseRegistry)
        ini = std::make_unique<TRegIniFile>(IniFileName);
    else
        ini = std::make_unique<TIniFile>(IniFileName);
    WriteFormPlacementValues(Form, ini.get(), Form->ClassName());
    if (auto* file = dynamic_cast<TIniFile*>(ini.get())) file->UpdateFile();
}

void RestoreFormPlacement(TForm* Form, const String& IniFileName, bool UseRegistry)
{
    std::unique_ptr<TCustomIniFile> ini;
    if (UseRegistry) {
        auto reg = std::make_unique<TRegIniFile>(IniFileName);
        reg->Access = KEY_READ;
        ini = std::move(reg);
    } else {
        ini = std::make_unique<TIniFile>(IniFileName);
    }
    ReadFormPlacementValues(Form, ini.get(), Form->ClassName(), true, true);
}
