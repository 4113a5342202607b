// The object properties dialog of the editor control: the platform's property sheet, with
// the object and link information it asks this control for.
#include <oledlg.h>

#include "framework/Strings.h"
#include "framework/gui/Application.h"
#include "framework/gui/DialogOwner.h"
#include "framework/gui/DialogService.h"
#include "richedit/QvRichEdit.h"
#include "richedit/RichEditOleObject.h"
#include "richedit/RichEditTexts.h"

namespace {

// A copy in the OLE task allocator's memory: the dialog frees what it is given.
LPSTR TaskString(const String& Text)
{
    auto* s = static_cast<LPSTR>(CoTaskMemAlloc(Text.size() + 1));
    if (s) std::memcpy(s, Text.c_str(), Text.size() + 1);
    return s;
}

void LinkError(const char* Text)
{
    DialogService().MessageBox(Text, RichEditText::LinkProperties, MB_OK | MB_ICONERROR);
}

// Both objects live on the stack for the one dialog: the counts never free them.
class TRichObjectInfo : public IOleUIObjInfoA {
public:
    TRichObjectInfo(TQvCustomRichEdit* RichEdit, const REOBJECT& Record)
        : richEdit_(RichEdit),
          record_(Record)
    {
    }
    STDMETHODIMP QueryInterface(REFIID Iid, void** Object) override
    {
        if (!Object) return E_POINTER;
        *Object = IsEqualIID(Iid, IID_IUnknown) ? this : nullptr;
        return *Object ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetObjectInfo(DWORD, DWORD* Size, LPSTR* Label, LPSTR* Type, LPSTR* ShortType,
                               LPSTR* Location) override
    {
        const String full = UserTypeName(record_.poleobj, USERCLASSTYPE_FULL);
        const String application = Trim(Application->Title);
        const String title = Trim(richEdit_->Title());
        if (Size) *Size = static_cast<DWORD>(-1);  // no size given
        if (Label) *Label = TaskString(full);
        if (Type) *Type = TaskString(full);
        if (ShortType) *ShortType = TaskString(UserTypeName(record_.poleobj, USERCLASSTYPE_SHORT));
        if (Location)
            *Location = TaskString(title.empty()
                                       ? application
                                       : Format(RichEditText::ObjectLocation, title, application));
        return S_OK;
    }
    STDMETHODIMP GetConvertInfo(DWORD, CLSID*, WORD*, CLSID*, LPCLSID*, UINT*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP ConvertObject(DWORD, REFCLSID) override { return E_NOTIMPL; }
    STDMETHODIMP GetViewInfo(DWORD, HGLOBAL* MetaPict, DWORD* Aspect, int* Scale) override
    {
        if (MetaPict) *MetaPict = nullptr;
        if (Aspect) *Aspect = record_.dvaspect;
        if (Scale) *Scale = 100;
        return S_OK;
    }
    STDMETHODIMP SetViewInfo(DWORD, HGLOBAL, DWORD Aspect, int, BOOL) override
    {
        if (richEdit_->OleInterface())
            richEdit_->OleInterface()->SetDvaspect(REO_IOB_SELECTION, Aspect);
        return S_OK;
    }

private:
    TQvCustomRichEdit* richEdit_;
    REOBJECT record_;
};

class TRichLinkInfo : public IOleUILinkInfoA {
public:
    TRichLinkInfo(TQvCustomRichEdit* RichEdit, const REOBJECT& Record, IOleLink* Link)
        : richEdit_(RichEdit),
          record_(Record),
          link_(Link)
    {
    }
    STDMETHODIMP QueryInterface(REFIID Iid, void** Object) override
    {
        if (!Object) return E_POINTER;
        *Object = IsEqualIID(Iid, IID_IUnknown) ? this : nullptr;
        return *Object ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    // The one link is number 1.
    STDMETHODIMP_(DWORD) GetNextLink(DWORD Link) override { return Link == 0 ? 1 : 0; }
    STDMETHODIMP SetLinkUpdateOptions(DWORD, DWORD Options) override
    {
        return link_->SetUpdateOptions(Options);
    }
    STDMETHODIMP GetLinkUpdateOptions(DWORD, DWORD* Options) override
    {
        return link_->GetUpdateOptions(Options);
    }
    STDMETHODIMP SetLinkSource(DWORD, LPSTR DisplayName, ULONG, ULONG* Eaten, BOOL) override
    {
        const int size = MultiByteToWideChar(CP_ACP, 0, DisplayName, -1, nullptr, 0);
        std::wstring name(static_cast<size_t>(size > 0 ? size : 1), L'\0');
        MultiByteToWideChar(CP_ACP, 0, DisplayName, -1, name.data(), size);
        IBindCtx* context = nullptr;
        IMoniker* source = nullptr;
        ULONG eaten = 0;
        HRESULT hr = CreateBindCtx(0, &context);
        if (SUCCEEDED(hr)) hr = MkParseDisplayName(context, name.c_str(), &eaten, &source);
        if (SUCCEEDED(hr)) hr = link_->SetSourceMoniker(source, record_.clsid);
        if (Eaten) *Eaten = eaten;
        if (source) source->Release();
        if (context) context->Release();
        if (FAILED(hr)) LinkError(RichEditText::InvalidLinkSource);
        return hr;
    }
    STDMETHODIMP GetLinkSource(DWORD, LPSTR* DisplayName, ULONG* FileNameLength, LPSTR* FullType,
                               LPSTR* ShortType, BOOL* SourceAvailable, BOOL* Selected) override
    {
        LPOLESTR wide = nullptr;
        const HRESULT hr = link_->GetSourceDisplayName(&wide);
        const String name = NarrowOleText(wide);
        if (wide) CoTaskMemFree(wide);
        if (DisplayName) *DisplayName = TaskString(name);
        if (FileNameLength) *FileNameLength = static_cast<ULONG>(name.size());
        if (FullType) *FullType = TaskString(UserTypeName(record_.poleobj, USERCLASSTYPE_FULL));
        if (ShortType) *ShortType = TaskString(UserTypeName(record_.poleobj, USERCLASSTYPE_SHORT));
        if (SourceAvailable) *SourceAvailable = SUCCEEDED(hr);
        if (Selected) *Selected = TRUE;
        return S_OK;
    }
    STDMETHODIMP OpenLinkSource(DWORD) override
    {
        RECT client{};
        GetClientRect(richEdit_->Handle(), &client);
        return record_.poleobj->DoVerb(OLEIVERB_SHOW, nullptr, record_.polesite, 0,
                                       richEdit_->Handle(), &client);
    }
    STDMETHODIMP UpdateLink(DWORD, BOOL, BOOL) override { return link_->Update(nullptr); }
    STDMETHODIMP CancelLink(DWORD) override
    {
        LinkError(RichEditText::BreakLinkUnsupported);
        return E_NOTIMPL;
    }
    STDMETHODIMP GetLastUpdate(DWORD, FILETIME*) override { return E_NOTIMPL; }

private:
    TQvCustomRichEdit* richEdit_;
    REOBJECT record_;
    IOleLink* link_;
};

}  // namespace

bool TQvCustomRichEdit::ObjectPropertiesDialog()
{
    if (!oleInterface_ || GetSelectionType() != TRichSelectionType{stObject}) return false;
    bool result = false;
    DWORD error = 0;
    {
        TSelectedObject selected(oleInterface_);
        if (!selected.Valid() || selected.InPlaceActive()) return false;
        IOleObject* object = selected.Record.poleobj;
        IOleLink* link = nullptr;
        if (FAILED(object->QueryInterface(IID_IOleLink, reinterpret_cast<void**>(&link))))
            link = nullptr;
        TRichObjectInfo objectInfo(this, selected.Record);
        TRichLinkInfo linkInfo(this, selected.Record, link);
        OLEUIGNRLPROPSA general{};
        general.cbStruct = sizeof general;
        OLEUIVIEWPROPSA view{};
        view.cbStruct = sizeof view;
        OLEUILINKPROPSA linkPage{};
        linkPage.cbStruct = sizeof linkPage;
        const String caption =
            Format(RichEditText::ObjectProperties, UserTypeName(object, USERCLASSTYPE_FULL));
        PROPSHEETHEADERA sheet{};
        sheet.dwSize = sizeof sheet;
        sheet.hwndParent = Handle();
        sheet.pszCaption = caption.c_str();
        OLEUIOBJECTPROPSA properties{};
        properties.cbStruct = sizeof properties;
        properties.dwFlags = OPF_DISABLECONVERT | (link ? OPF_OBJECTISLINK : 0);
        properties.lpPS = &sheet;
        properties.dwObject = 1;
        properties.lpObjInfo = &objectInfo;
        properties.dwLink = link ? 1 : 0;
        properties.lpLinkInfo = link ? &linkInfo : nullptr;
        properties.lpGP = &general;
        properties.lpVP = &view;
        properties.lpLP = link ? &linkPage : nullptr;
        TModalScope modal;
        SetLastError(0);
        result = OleUIObjectPropertiesA(&properties) == OLEUI_OK;
        error = GetLastError();
        if (link) link->Release();
    }
    // What the dialog left (ERROR_CALL_NOT_IMPLEMENTED where the system has none) survives
    // the releases above.
    SetLastError(error);
    return result;
}
