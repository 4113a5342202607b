// The OLE side of the editor control: the callback object with the in-place frame, the
// window's OLE interface with the host names, closing the objects, the selected object's verb
// menu, user-interface activation, and the insert-object and paste-special dialogs.
#include "richedit/RichEditOle.h"

#include <oledlg.h>

#include "framework/FileNames.h"
#include "framework/Strings.h"
#include "framework/gui/Application.h"
#include "framework/gui/DialogOwner.h"
#include "framework/gui/Form.h"
#include "framework/gui/Menu.h"
#include "framework/gui/OleForm.h"
#include "richedit/QvRichEdit.h"
#include "richedit/RichEditLibrary.h"
#include "richedit/RichEditOleObject.h"
#include "richedit/RichEditTexts.h"

namespace {
// The platform's interface identifier of IRichEditOleCallback.
constexpr IID IidRichEditOleCallback = {
    0x00020D03, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID IidOleObject = {
    0x00000112, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

HRESULT NewStorage(LPSTORAGE* storage)
{
    *storage = nullptr;
    ILockBytes* bytes = nullptr;
    if (FAILED(CreateILockBytesOnHGlobal(nullptr, TRUE, &bytes))) return E_OUTOFMEMORY;
    const HRESULT hr = StgCreateDocfileOnILockBytes(
        bytes, STGM_SHARE_EXCLUSIVE | STGM_READWRITE | STGM_CREATE, 0, storage);
    bytes->Release();
    return FAILED(hr) ? E_OUTOFMEMORY : S_OK;
}
// The icon picture the OLE dialogs hand back: a metafile inside a global block.
void FreeIconPicture(HGLOBAL picture)
{
    if (auto* p = static_cast<METAFILEPICT*>(GlobalLock(picture))) {
        if (p->hMF) DeleteMetaFile(p->hMF);
        GlobalUnlock(picture);
    }
    GlobalFree(picture);
}
}  // namespace

STDMETHODIMP TRichEditOleCallback::QueryInterface(REFIID Iid, void** Object)
{
    if (!Object) return E_POINTER;
    if (IsEqualIID(Iid, IID_IUnknown) || IsEqualIID(Iid, IidRichEditOleCallback)) {
        *Object = static_cast<IRichEditOleCallback*>(this);
        AddRef();
        return S_OK;
    }
    *Object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TRichEditOleCallback::AddRef() { return ++refCount_; }

STDMETHODIMP_(ULONG) TRichEditOleCallback::Release()
{
    if (refCount_ > 0) --refCount_;
    return refCount_;
}

STDMETHODIMP TRichEditOleCallback::GetNewStorage(LPSTORAGE* Storage)
{
    if (!Storage) return E_INVALIDARG;
    return NewStorage(Storage);
}

TRichEditOleCallback::~TRichEditOleCallback()
{
    if (accelTable_) DestroyAcceleratorTable(accelTable_);
}

static bool IsMDIChild(TForm* Form)
{
    return Form && Form->HandleAllocated() &&
           (GetWindowLongA(Form->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
}

void TRichEditOleCallback::PrepareFrameForms()
{
    TForm* form = GetParentForm(richEdit_);
    if (!form || frameForm_ || !richEdit_->AllowInPlace) return;
    docForm_ = TOleForm::Of(form);
    docForm_->AddRef();
    TForm* main = Application->MainForm();
    frameForm_ = IsMDIChild(form) && main ? TOleForm::Of(main) : docForm_;
    frameForm_->AddRef();
}

void TRichEditOleCallback::ReleaseForms()
{
    if (docForm_) docForm_->Release();
    if (frameForm_) frameForm_->Release();
    docForm_ = frameForm_ = nullptr;
}

STDMETHODIMP TRichEditOleCallback::GetInPlaceContext(LPOLEINPLACEFRAME* Frame,
                                                     LPOLEINPLACEUIWINDOW* Document,
                                                     LPOLEINPLACEFRAMEINFO FrameInfo)
{
    if (!Frame || !Document || !FrameInfo) return E_POINTER;
    *Frame = nullptr;
    *Document = nullptr;
    PrepareFrameForms();
    if (!frameForm_ || !richEdit_->AllowInPlace) return E_NOTIMPL;
    *Frame = frameForm_;
    frameForm_->AddRef();
    *Document = docForm_;
    docForm_->AddRef();
    if (accelTable_) DestroyAcceleratorTable(accelTable_);
    accelTable_ = nullptr;
    accelCount_ = 0;
    if (TMainMenu* menu = frameForm_->Form()->Menu())
        accelTable_ = menu->CreateAccelerators(accelCount_);
    FrameInfo->fMDIApp = FALSE;
    FrameInfo->hwndFrame = frameForm_->Form()->Handle();
    FrameInfo->haccel = accelTable_;
    FrameInfo->cAccelEntries = static_cast<UINT>(accelCount_);
    return S_OK;
}

STDMETHODIMP TRichEditOleCallback::ShowContainerUI(BOOL Show)
{
    if (!Show) PrepareFrameForms();
    if (!frameForm_) return E_NOTIMPL;
    // The framework's forms do not scroll, so there is no auto-scroll to hold off while the
    // object's user interface is up.
    if (!Show) {
        richEdit_->SetUIActive(true);
        return S_OK;
    }
    frameForm_->SetMenu(nullptr, nullptr, nullptr);
    frameForm_->SetBorderSpace(nullptr);
    richEdit_->SetUIActive(false);
    if (accelTable_) DestroyAcceleratorTable(accelTable_);
    accelTable_ = nullptr;
    accelCount_ = 0;
    ReleaseForms();
    return S_OK;
}

STDMETHODIMP TRichEditOleCallback::QueryInsertObject(LPCLSID, LPSTORAGE, LONG) { return S_OK; }

STDMETHODIMP TRichEditOleCallback::DeleteObject(LPOLEOBJECT Object)
{
    if (Object) Object->Close(OLECLOSE_NOSAVE);
    return S_OK;
}

STDMETHODIMP TRichEditOleCallback::QueryAcceptData(LPDATAOBJECT, CLIPFORMAT*, DWORD, BOOL, HGLOBAL)
{
    return S_OK;
}

STDMETHODIMP TRichEditOleCallback::ContextSensitiveHelp(BOOL) { return S_OK; }

STDMETHODIMP TRichEditOleCallback::GetClipboardData(CHARRANGE*, DWORD, LPDATAOBJECT* Data)
{
    if (Data) *Data = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP TRichEditOleCallback::GetDragDropEffect(BOOL, DWORD, LPDWORD) { return E_NOTIMPL; }

STDMETHODIMP TRichEditOleCallback::GetContextMenu(WORD, LPOLEOBJECT, CHARRANGE*, HMENU*)
{
    return E_NOTIMPL;
}

// ---- the control's side ------------------------------------------------------------------

void TQvCustomRichEdit::UpdateHostNames()
{
    if (!HandleAllocated() || !oleInterface_) return;
    String application = Trim(Application->Title);
    if (application.empty()) application = ExtractFileName(Application->ExeName());
    const String document = Trim(title_);
    oleInterface_->SetHostNames(application.c_str(),
                                document.empty() ? application.c_str() : document.c_str());
}

void TQvCustomRichEdit::SetTitle(const String& v)
{
    if (v == title_) return;
    title_ = v;
    UpdateHostNames();
}

void TQvCustomRichEdit::ReleaseOle()
{
    if (oleInterface_) oleInterface_->Release();
    oleInterface_ = nullptr;
}

void TQvCustomRichEdit::CloseObjects()
{
    if (!oleInterface_) return;
    for (LONG i = oleInterface_->GetObjectCount() - 1; i >= 0; --i) {
        REOBJECT object{};
        object.cbStruct = sizeof object;
        if (FAILED(oleInterface_->GetObject(i, &object, REO_GETOBJ_POLEOBJ))) continue;
        if (object.dwFlags & REO_INPLACEACTIVE) oleInterface_->InPlaceDeactivate();
        if (object.poleobj) {
            object.poleobj->Close(OLECLOSE_NOSAVE);
            object.poleobj->Release();
        }
    }
}

bool TQvCustomRichEdit::InsertObjectDialog()
{
    if (!oleInterface_) return false;
    LPSTORAGE storage = nullptr;
    if (FAILED(NewStorage(&storage))) return false;
    LPOLECLIENTSITE site = nullptr;
    oleInterface_->GetClientSite(&site);
    char fileName[256] = {};
    LPOLEOBJECT object = nullptr;
    OLEUIINSERTOBJECTA dialog{};
    dialog.cbStruct = sizeof dialog;
    dialog.dwFlags = IOF_SELECTCREATENEW | IOF_CREATENEWOBJECT | IOF_CREATEFILEOBJECT |
                     IOF_CREATELINKOBJECT | IOF_VERIFYSERVERSEXIST;
    dialog.hWndOwner = Handle();
    dialog.lpszFile = fileName;
    dialog.cchFile = sizeof fileName;
    dialog.iid = IidOleObject;
    dialog.oleRender = OLERENDER_DRAW;
    dialog.lpIOleClientSite = site;
    dialog.lpIStorage = storage;
    dialog.ppvObj = reinterpret_cast<void**>(&object);
    bool result = false;
    TModalScope modal;
    if (OleUIInsertObjectA(&dialog) == OLEUI_SUCCESS && object) {
        result = true;
        const bool created = (dialog.dwFlags & IOF_SELECTCREATENEW) != 0;
        REOBJECT insert{};
        insert.cbStruct = sizeof insert;
        insert.cp = REO_CP_SELECTION;
        insert.clsid = dialog.clsid;
        insert.poleobj = object;
        insert.pstg = storage;
        insert.polesite = site;
        insert.dvaspect =
            (dialog.dwFlags & IOF_CHECKDISPLAYASICON) ? DVASPECT_ICON : DVASPECT_CONTENT;
        insert.dwFlags = REO_RESIZABLE | (created ? REO_BLANK : 0);
        const CHARRANGE sel = GetSelection();
        SetSelection(sel.cpMin, sel.cpMin + 1, false);
        oleInterface_->InsertObject(&insert);
        SetSelection(sel.cpMin, sel.cpMax, true);
        if (created) {
            RECT client{};
            GetClientRect(Handle(), &client);
            object->DoVerb(OLEIVERB_SHOW, nullptr, site, 0, Handle(), &client);
        }
        object->Release();
    }
    if (dialog.hMetaPict) FreeIconPicture(dialog.hMetaPict);
    if (site) site->Release();
    storage->Release();
    return result;
}

bool TQvCustomRichEdit::PasteSpecialDialog()
{
    if (!CanPaste() || !oleInterface_) return false;
    OLEUIPASTEENTRYA entries[6] = {};
    auto entry = [](OLEUIPASTEENTRYA& e, UINT format, DWORD medium, const char* name,
                    const char* result, DWORD options) {
        e.fmtetc =
            FORMATETC{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, medium};
        e.lpstrFormatName = name;
        e.lpstrResultText = result;
        e.dwFlags = options;
    };
    const auto& formats = RichEditClipboardFormats;
    entry(entries[0], formats.EmbeddedObject, TYMED_ISTORAGE, "%s", "%s",
          OLEUIPASTE_PASTE | OLEUIPASTE_ENABLEICON);
    entry(entries[1], formats.LinkSource, TYMED_ISTREAM, "%s", "%s",
          OLEUIPASTE_LINKTYPE1 | OLEUIPASTE_ENABLEICON);
    entry(entries[2], formats.RichText, TYMED_ISTORAGE, "Rich Text Format", "Rich Text Format",
          OLEUIPASTE_PASTE);
    entry(entries[3], formats.RichTextNoObjects, TYMED_ISTORAGE, "Rich Text Format Without Objects",
          "Rich Text Format Without Objects", OLEUIPASTE_PASTE);
    entry(entries[4], CF_TEXT, TYMED_HGLOBAL, "Unformatted text", "text without any formatting",
          OLEUIPASTE_PASTE);
    entry(entries[5], CF_BITMAP, TYMED_GDI, "Windows Bitmap", "bitmap image", OLEUIPASTE_PASTE);
    UINT linkTypes[1] = {formats.LinkSource};
    OLEUIPASTESPECIALA dialog{};
    dialog.cbStruct = sizeof dialog;
    dialog.dwFlags = PSF_SELECTPASTE;
    dialog.hWndOwner = Handle();
    dialog.arrPasteEntries = entries;
    dialog.cPasteEntries = 6;
    dialog.arrLinkTypes = linkTypes;
    dialog.cLinkTypes = 1;
    bool result = false;
    TModalScope modal;
    if (OleUIPasteSpecialA(&dialog) == OLEUI_OK) {
        result = true;
        const int chosen = dialog.nSelectedIndex;
        if (chosen == 0 || chosen == 1) {
            LPSTORAGE storage = nullptr;
            LPOLECLIENTSITE site = nullptr;
            LPOLEOBJECT object = nullptr;
            if (SUCCEEDED(NewStorage(&storage))) {
                oleInterface_->GetClientSite(&site);
                const HRESULT made =
                    chosen == 0 || !dialog.fLink
                        ? OleCreateFromData(dialog.lpSrcDataObj, IidOleObject, OLERENDER_DRAW,
                                            nullptr, site, storage,
                                            reinterpret_cast<void**>(&object))
                        : OleCreateLinkFromData(dialog.lpSrcDataObj, IidOleObject, OLERENDER_DRAW,
                                                nullptr, site, storage,
                                                reinterpret_cast<void**>(&object));
                if (SUCCEEDED(made) && object) {
                    REOBJECT insert{};
                    insert.cbStruct = sizeof insert;
                    insert.cp = REO_CP_SELECTION;
                    object->GetUserClassID(&insert.clsid);
                    insert.poleobj = object;
                    insert.pstg = storage;
                    insert.polesite = site;
                    insert.dvaspect = (dialog.dwFlags & PSF_CHECKDISPLAYASICON) ? DVASPECT_ICON
                                                                                : DVASPECT_CONTENT;
                    insert.dwFlags = REO_RESIZABLE;
                    const CHARRANGE sel = GetSelection();
                    SetSelection(sel.cpMin, sel.cpMin + 1, false);
                    oleInterface_->InsertObject(&insert);
                    SetSelection(sel.cpMin, sel.cpMax, true);
                    object->Release();
                }
                if (site) site->Release();
                storage->Release();
            }
        } else {
            oleInterface_->ImportDataObject(dialog.lpSrcDataObj, entries[chosen].fmtetc.cfFormat,
                                            nullptr);
            SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
        }
        if (dialog.lpSrcDataObj) dialog.lpSrcDataObj->Release();
    }
    if (dialog.hMetaPict) FreeIconPicture(dialog.hMetaPict);
    return result;
}

// ---- the selected object's menu and user interface ---------------------------------------

TPopupMenu* TQvCustomRichEdit::GetPopupMenu()
{
    delete verbMenu_;
    verbMenu_ = nullptr;
    TPopupMenu* result = TCustomEdit::GetPopupMenu();
    if (!AutoVerbMenu || GetSelectionType() != TRichSelectionType{stObject} || !oleInterface_)
        return result;
    TSelectedObject selected(oleInterface_);
    if (!selected.Valid() || selected.InPlaceActive()) return result;
    IOleObject* object = selected.Record.poleobj;
    // Every item made here is owned by the verb menu, so freeing it takes back what was
    // added to the control's own popup menu too.
    verbMenu_ = new TPopupMenu(this);
    IEnumOLEVERB* verbs = nullptr;
    if (SUCCEEDED(object->EnumVerbs(&verbs)) && verbs) {
        OLEVERB verb{};
        ULONG got = 0;
        while (verbs->Next(1, &verb, &got) == S_OK && got == 1) {
            const String name = NarrowOleText(verb.lpszVerbName);
            CoTaskMemFree(verb.lpszVerbName);
            if (verb.lVerb < 0 || !(verb.grfAttribs & OLEVERBATTRIB_ONCONTAINERMENU)) break;
            auto* item = new TMenuItem(verbMenu_);
            item->SetCaption(name);
            item->Tag = verb.lVerb;
            item->SetDefault(verb.lVerb == 0);
            item->OnClick = TNotifyEvent(this, &TQvCustomRichEdit::VerbClick);
            verbMenu_->Items()->Add(item);
        }
        verbs->Release();
    }
    const String typeName = UserTypeName(object, USERCLASSTYPE_FULL);
    auto* properties = new TMenuItem(verbMenu_);
    properties->SetCaption(Format(RichEditText::ObjectProperties, typeName));
    properties->OnClick = TNotifyEvent(this, &TQvCustomRichEdit::PropertiesClick);
    if (result && result->Items()->Count() > 0) {
        auto* separator = new TMenuItem(verbMenu_);
        separator->SetCaption("-");
        result->Items()->Add(separator);
        result->Items()->Add(properties);
        if (verbMenu_->Items()->Count() > 0) {
            auto* submenu = new TMenuItem(verbMenu_);
            submenu->SetCaption(typeName);
            while (verbMenu_->Items()->Count() > 0) {
                TMenuItem* verbItem = verbMenu_->Items()->Items(0);
                verbMenu_->Items()->Remove(verbItem);
                submenu->Add(verbItem);
            }
            result->Items()->Add(submenu);
        }
    } else if (verbMenu_->Items()->Count() > 0) {
        verbMenu_->Items()->Insert(0, properties);
        result = verbMenu_;
    }
    return result;
}

void TQvCustomRichEdit::VerbClick(TObject* Sender)
{
    if (!oleInterface_) return;
    TSelectedObject selected(oleInterface_);
    if (!selected.Valid() || selected.InPlaceActive()) return;
    RECT client{};
    GetClientRect(Handle(), &client);
    selected.Record.poleobj->DoVerb(static_cast<TMenuItem*>(Sender)->Tag, nullptr,
                                    selected.Record.polesite, 0, Handle(), &client);
}

void TQvCustomRichEdit::PropertiesClick(TObject*) { ObjectPropertiesDialog(); }

void TQvCustomRichEdit::SetUIActive(bool Active)
{
    TForm* form = GetParentForm(this);
    if (!form) return;
    try {
        if (Active) {
            TOleForm* ole = TOleForm::Of(form);
            if (TWinControl* other = ole->ActiveOleControl(); other && other != this)
                other->Perform(CM_UIDEACTIVATE);
            ole->SetActiveOleControl(this);
            if (AllowInPlace && CanFocus()) SetFocus();
        } else {
            if (TOleForm* ole = TOleForm::Of(form, false); ole && ole->ActiveOleControl() == this)
                ole->SetActiveOleControl(nullptr);
            if (form->ActiveControl() == this && AllowInPlace) {
                ::SetFocus(Handle());
                SelectionChange();
            }
        }
    } catch (...) {
        Application->HandleException(this);
    }
}

void TQvCustomRichEdit::DocWindowActivate(TMessage& m)
{
    // An MDI child's object shares the main form's menu bar and border: a deactivated child
    // gives them back.
    TOleForm* document = oleCallback_->DocForm();
    if (!document || !IsMDIChild(document->Form()) || m.WParam != 0) return;
    if (TOleForm* frame = oleCallback_->FrameForm()) {
        frame->SetMenu(nullptr, nullptr, nullptr);
        frame->SetBorderSpace(nullptr);
    }
}
