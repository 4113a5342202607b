// TOleForm: a form's side of an embedded object that is active in place: the frame and
// document window the object's server talks to, and which control's object is active.
#pragma once

// A form gets its TOleForm on first use (TOleForm::Of); the form owns it. The object's server
// may merge its menus and tools into the frame: this frame offers none of its own and no
// tool space, so the server keeps its own windows for them.

#include <windows.h>
#include <ole2.h>

#include "framework/Component.h"

class TForm;
class TWinControl;

class TOleForm : public TComponent, public IOleInPlaceFrame {
public:
    // The form's TOleForm, made (and owned by the form) when it has none and Create is set.
    static TOleForm* Of(TForm* Form, bool Create = true);
    // The form's window was activated or deactivated: its active OLE control is told with
    // CM_DOCWINDOWACTIVATE. The form calls this.
    static void DocWindowActivated(TForm* Form, bool Active);
    ~TOleForm() override;

    TForm* Form() const { return form_; }
    // The control whose object has its user interface up, or nullptr.
    TWinControl* ActiveOleControl() const { return activeOleControl_; }
    void SetActiveOleControl(TWinControl* Control);

    // The count follows the servers' references but never frees the object: the form does.
    STDMETHODIMP QueryInterface(REFIID Iid, void** Object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetWindow(HWND* Window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL EnterMode) override;
    STDMETHODIMP GetBorder(LPRECT Border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS Widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS Widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* Object, LPCOLESTR Name) override;
    STDMETHODIMP InsertMenus(HMENU Shared, LPOLEMENUGROUPWIDTHS Widths) override;
    // A shared menu replaces the form's menu bar; nullptr puts the form's own menu back.
    STDMETHODIMP SetMenu(HMENU Shared, HOLEMENU Descriptor, HWND ActiveObject) override;
    STDMETHODIMP RemoveMenus(HMENU Shared) override;
    STDMETHODIMP SetStatusText(LPCOLESTR Text) override;
    STDMETHODIMP EnableModeless(BOOL Enable) override;
    STDMETHODIMP TranslateAccelerator(LPMSG Message, WORD Id) override;

    ULONG RefCount() const { return refCount_; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    explicit TOleForm(TForm* Form);
    TForm* form_;
    TWinControl* activeOleControl_ = nullptr;
    IOleInPlaceActiveObject* activeObject_ = nullptr;
    ULONG refCount_ = 0;
};
