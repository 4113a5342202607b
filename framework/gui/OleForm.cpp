// A form's frame and document window for embedded objects active in place, and the form's
// active OLE control.
#include "framework/gui/OleForm.h"

#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"

TOleForm* TOleForm::Of(TForm* Form, bool Create)
{
    if (!Form) return nullptr;
    for (int i = 0; i < Form->ComponentCount(); ++i)
        if (auto* ole = dynamic_cast<TOleForm*>(Form->Components(i))) return ole;
    return Create ? new TOleForm(Form) : nullptr;
}

void TOleForm::DocWindowActivated(TForm* Form, bool Active)
{
    if (TOleForm* ole = Of(Form, false); ole && ole->activeOleControl_)
        ole->activeOleControl_->Perform(CM_DOCWINDOWACTIVATE, Active ? 1 : 0);
}

TOleForm::TOleForm(TForm* Form) : TComponent(Form), form_(Form) {}

TOleForm::~TOleForm()
{
    if (activeObject_) activeObject_->Release();
}

void TOleForm::SetActiveOleControl(TWinControl* Control)
{
    if (Control == activeOleControl_) return;
    if (activeOleControl_) RemoveFreeNotification(activeOleControl_);
    activeOleControl_ = Control;
    if (Control) FreeNotification(Control);
}

void TOleForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == activeOleControl_) activeOleControl_ = nullptr;
}

STDMETHODIMP TOleForm::QueryInterface(REFIID Iid, void** Object)
{
    if (!Object) return E_POINTER;
    if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IID_IOleWindow) ||
        IsEqualIID(Iid, IID_IOleInPlaceUIWindow) || IsEqualIID(Iid, IID_IOleInPlaceFrame)) {
        *Object = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TOleForm::AddRef() { return ++refCount_; }

STDMETHODIMP_(ULONG) TOleForm::Release()
{
    if (refCount_ > 0) --refCount_;
    return refCount_;
}

STDMETHODIMP TOleForm::GetWindow(HWND* Window)
{
    if (!Window) return E_POINTER;
    *Window = form_->Handle();
    return S_OK;
}

STDMETHODIMP TOleForm::ContextSensitiveHelp(BOOL) { return S_OK; }

STDMETHODIMP TOleForm::GetBorder(LPRECT Border)
{
    if (!Border) return E_POINTER;
    return ::GetClientRect(form_->Handle(), Border) ? S_OK : E_FAIL;
}

STDMETHODIMP TOleForm::RequestBorderSpace(LPCBORDERWIDTHS Widths)
{
    if (!Widths ||
        (Widths->left == 0 && Widths->top == 0 && Widths->right == 0 && Widths->bottom == 0))
        return S_OK;
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP TOleForm::SetBorderSpace(LPCBORDERWIDTHS Widths) { return RequestBorderSpace(Widths); }

STDMETHODIMP TOleForm::SetActiveObject(IOleInPlaceActiveObject* Object, LPCOLESTR)
{
    if (Object) Object->AddRef();
    if (activeObject_) activeObject_->Release();
    activeObject_ = Object;
    return S_OK;
}

STDMETHODIMP TOleForm::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS Widths)
{
    if (!Widths) return E_POINTER;
    // The container's groups (0, 2, 4) stay empty: the object's menus stand alone.
    Widths->width[0] = Widths->width[2] = Widths->width[4] = 0;
    return S_OK;
}

STDMETHODIMP TOleForm::SetMenu(HMENU Shared, HOLEMENU Descriptor, HWND ActiveObject)
{
    HWND h = form_->Handle();
    if (Shared) {
        OleSetMenuDescriptor(Descriptor, h, ActiveObject, nullptr, nullptr);
        ::SetMenu(h, Shared);
    } else {
        OleSetMenuDescriptor(nullptr, h, nullptr, nullptr, nullptr);
        ::SetMenu(h, form_->Menu() ? form_->Menu()->Handle() : nullptr);
    }
    DrawMenuBar(h);
    return S_OK;
}

STDMETHODIMP TOleForm::RemoveMenus(HMENU) { return S_OK; }
STDMETHODIMP TOleForm::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP TOleForm::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP TOleForm::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }
