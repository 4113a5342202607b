// Application form services. Forms made here are owned by the application, like the ones it
// creates itself, so they are in the screen's form list.
#include "util/AppForms.h"

#include <memory>
#include <vector>

#include "framework/gui/Application.h"
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
