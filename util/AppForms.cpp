// Application form services. Forms made here are owned by the application, like the ones it
// creates itself, so they are in the screen's form list.
#include "util/AppForms.h"

#include <memory>
#include <vector>

#include "framework/gui/Application.h"
#include "placement/IniStorage.h"
#include "placement/PlacementValues.h"
#include "util/AppFormsTexts.h"
#include "util/CursorUtils.h"
#include "util/WindowUtils.h"

namespace {

std::vector<TFormClass>& FormClasses()
{
    static std::vector<TFormClass> classes;
    return classes;
}

TForm* CreateAppForm(const TFormClass& FormClass)
{
    TForm* form = FormClass.Create(Application);
    form->DoCreate();
    return form;
}

IMdiParent* MdiParentOf(TForm* MainForm)
{
    auto* parent = dynamic_cast<IMdiParent*>(MainForm);
    if (!parent) throw EInvalidOperation(AppFormsText::NoMdiForms);
    return parent;
}

String GridSection(const IGridColumns& Grid)
{
    return GetDefaultSection(dynamic_cast<const TComponent*>(&Grid));
}

}  // namespace

void RegisterFormClass(const TFormClass& FormClass)
{
    UnRegisterFormClass(FormClass.Class.Name);
    FormClasses().push_back(FormClass);
}

void UnRegisterFormClass(const String& Name)
{
    std::erase_if(FormClasses(), [&](const TFormClass& c) { return c.Class.Name == Name; });
}

const TFormClass* FindFormClass(const String& Name)
{
    for (const TFormClass& c : FormClasses())
        if (c.Class.Name == Name) return &c;
    return nullptr;
}

std::vector<TForm*> ScreenForms()
{
    std::vector<TForm*> forms;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (auto* form = dynamic_cast<TForm*>(Application->Components(i))) forms.push_back(form);
    return forms;
}

TForm* FindForm(const TFormClass& FormClass)
{
    for (TForm* form : ScreenForms())
        if (FormClass.Class.IsInstance(form)) return form;
    return nullptr;
}

TForm* FindOrCreateShowForm(const TFormClass& FormClass, const String& Caption, bool Restore)
{
    TForm* found = nullptr;
    for (TForm* form : ScreenForms()) {
        if (!FormClass.Class.IsInstance(form)) continue;
        if (Caption.empty() || form->Caption() == Caption) {
            found = form;
            break;
        }
    }
    if (!found) {
        found = CreateAppForm(FormClass);
        if (!Caption.empty()) found->SetCaption(Caption);
    }
    if (Restore && found->WindowState() == wsMinimized) found->SetWindowState(wsNormal);
    found->Show();
    return found;
}

TForm* FindShowForm(const TFormClass& FormClass, const String& Caption)
{
    return FindOrCreateShowForm(FormClass, Caption, true);
}

bool ShowDialog(const TFormClass& FormClass)
{
    std::unique_ptr<TForm> form(CreateAppForm(FormClass));
    const TModalResult result = form->ShowModal();
    return result == mrOk || result == mrYes;
}

TForm* InstantiateForm(const TFormClass& FormClass, TForm*& Reference)
{
    if (!Reference) Reference = CreateAppForm(FormClass);
    return Reference;
}

void InternalSaveMDIChildren(TForm* MainForm, TCustomIniFile* Ini)
{
    IMdiParent* parent = MdiParentOf(MainForm);
    IniEraseSection(Ini, AppFormsText::MdiSection);
    const int count = parent->MDIChildCount();
    if (count <= 0) return;
    IniWriteInteger(Ini, AppFormsText::MdiSection, AppFormsText::CountKey, count);
    for (int i = 0; i < count; ++i)
        IniWriteString(Ini, AppFormsText::MdiSection, Format(AppFormsText::ItemKey, i),
                       parent->MDIChildren(i)->ClassName());
}

void InternalRestoreMDIChildren(TForm* MainForm, const TCustomIniFile* Ini)
{
    MdiParentOf(MainForm);
    StartWait();
    struct EndWait {
        ~EndWait() { StopWait(); }
    } endWait;
    const int count = IniReadInteger(Ini, AppFormsText::MdiSection, AppFormsText::CountKey, 0);
    for (int i = 0; i < count; ++i) {
        const String name = IniReadString(Ini, AppFormsText::MdiSection,
                                          Format(AppFormsText::ItemKey, count - 1 - i), "");
        if (const TFormClass* formClass = FindFormClass(name))
            FindOrCreateShowForm(*formClass, "", false);
    }
}

void SaveMDIChildren(TForm* MainForm, TIniFile* Ini) { InternalSaveMDIChildren(MainForm, Ini); }
void SaveMDIChildrenReg(TForm* MainForm, TRegIniFile* Ini)
{
    InternalSaveMDIChildren(MainForm, Ini);
}
void RestoreMDIChildren(TForm* MainForm, const TIniFile* Ini)
{
    InternalRestoreMDIChildren(MainForm, Ini);
}
void RestoreMDIChildrenReg(TForm* MainForm, const TRegIniFile* Ini)
{
    InternalRestoreMDIChildren(MainForm, Ini);
}

void InternalSaveGridLayout(const IGridColumns& Grid, TCustomIniFile* Ini, const String& Section)
{
    for (int i = 0; i < Grid.ColCount(); ++i)
        IniWriteInteger(Ini, Section, Format(AppFormsText::ItemKey, i), Grid.ColWidths(i));
}

void InternalRestoreGridLayout(IGridColumns& Grid, const TCustomIniFile* Ini, const String& Section)
{
    for (int i = 0; i < Grid.ColCount(); ++i)
        Grid.SetColWidths(
            i, IniReadInteger(Ini, Section, Format(AppFormsText::ItemKey, i), Grid.ColWidths(i)));
}

void SaveGridLayout(const IGridColumns& Grid, TIniFile* Ini)
{
    InternalSaveGridLayout(Grid, Ini, GridSection(Grid));
}
void SaveGridLayoutReg(const IGridColumns& Grid, TRegIniFile* Ini)
{
    InternalSaveGridLayout(Grid, Ini, GridSection(Grid));
}
void RestoreGridLayout(IGridColumns& Grid, const TIniFile* Ini)
{
    InternalRestoreGridLayout(Grid, Ini, GridSection(Grid));
}
void RestoreGridLayoutReg(IGridColumns& Grid, const TRegIniFile* Ini)
{
    InternalRestoreGridLayout(Grid, Ini, GridSection(Grid));
}

void AppBroadcast(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    for (TForm* form : ScreenForms()) SendMessageA(form->Handle(), Msg, WParam, LParam);
}

void AppTaskbarIcons(bool Show, HWND AppWindow)
{
    if (!AppWindow) return;
    LONG style = GetWindowLongA(AppWindow, GWL_STYLE);
    style = Show ? (style | WS_CAPTION) : (style & ~WS_CAPTION);
    SetWindowLongA(AppWindow, GWL_STYLE, style);
    if (Show) SwitchToWindow(AppWindow, false);
}

void AppTaskbarIcons(bool Show)
{
    TForm* main = Application->MainForm();
    AppTaskbarIcons(Show, main ? main->Handle() : nullptr);
}

void InstallLibraryCursors()
{
    static bool installed = false;
    if (installed) return;
    installed = true;
    // A program built without the cursor resources simply has no such cursors: the screen
    // shows its default cursor for an unregistered number.
    HINSTANCE module = GetModuleHandleA(nullptr);
    if (HCURSOR hand = LoadCursorA(module, "QV_HANDCUR")) Screen->SetCursors(LibHandCursor, hand);
    if (HCURSOR drag = LoadCursorA(module, "QV_DRAGCUR")) Screen->SetCursors(LibDragCursor, drag);
}
