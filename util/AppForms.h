// Application form services: finding, creating and showing forms by class, modal dialogs by
// class, broadcasting to every form, the taskbar button, and the library's own cursors. (The
// open MDI children and a grid's column widths are saved by placement/LayoutStorage.h.)
#pragma once

#include <functional>

#include <windows.h>

#include "framework/gui/Form.h"
#include "framework/gui/Screen.h"
#include "util/ClassRefs.h"

// A form class: its class reference and how to make one owned by a given owner. Name must be
// the class's name as TObject::ClassName gives it, since the MDI list stores that.
struct TFormClass {
    TClassRef Class;
    std::function<TForm*(TComponent* Owner)> Create;
};

template <class F>
TFormClass FormClassOf(const String& Name)
{
    return {ClassOf<F>(Name), [](TComponent* owner) -> TForm* { return new F(owner); }};
}

// The registered form classes, which the MDI restore finds by name. Registering a name again
// replaces the earlier class.
void RegisterFormClass(const TFormClass& FormClass);
void UnRegisterFormClass(const String& Name);
const TFormClass* FindFormClass(const String& Name);

// The screen's form list: the forms the application owns, in the order they were created.
std::vector<TForm*> ScreenForms();

// The first form of the list that is of FormClass (or derived from it), else nullptr.
TForm* FindForm(const TFormClass& FormClass);
// The first form of the class (with this exact caption unless Caption is empty), else a new
// one owned by the application with that caption; restored from minimised when Restore is
// set; shown and returned.
TForm* FindOrCreateShowForm(const TFormClass& FormClass, const String& Caption, bool Restore);
TForm* FindShowForm(const TFormClass& FormClass, const String& Caption);
// Creates the form, shows it modally and frees it: true when it closed with OK or Yes.
bool ShowDialog(const TFormClass& FormClass);
// Creates a form into Reference only when Reference is empty; returns Reference.
TForm* InstantiateForm(const TFormClass& FormClass, TForm*& Reference);

// Sends the message to the window of every form of the list, in list order, creating windows
// where missing.
void AppBroadcast(UINT Msg, WPARAM WParam, LPARAM LParam);
// True gives the application window (the main form's) its caption style bits back and
// switches to it; false takes them away.
void AppTaskbarIcons(bool Show);
void AppTaskbarIcons(bool Show, HWND AppWindow);

// The library's cursors, under these screen cursor numbers once installed.
constexpr TCursor LibHandCursor = 14000, LibDragCursor = 14001;
// Loads "QV_HANDCUR" and "QV_DRAGCUR" from the program's module and installs them; only the
// first call does anything.
void InstallLibraryCursors();
