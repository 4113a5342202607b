// Embedded objects in the editor control: the callback the rich edit window asks for storage
// and in-place context. The control owns it; the window only borrows it.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <richole.h>

class TQvCustomRichEdit;

class TRichEditOleCallback : public IRichEditOleCallback {
public:
    explicit TRichEditOleCallback(TQvCustomRichEdit* RichEdit) : richEdit_(RichEdit) {}
    virtual ~TRichEditOleCallback() = default;

    STDMETHODIMP QueryInterface(REFIID Iid, void** Object) override;
    // The count follows the window's references but never frees the object: the control
    // frees it after its window is gone.
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // A compound-file storage on a memory block, freed with its last reference.
    STDMETHODIMP GetNewStorage(LPSTORAGE* Storage) override;
    // The framework has no in-place frame for an object to take over: not offered.
    STDMETHODIMP GetInPlaceContext(LPOLEINPLACEFRAME* Frame, LPOLEINPLACEUIWINDOW* Document,
                                   LPOLEINPLACEFRAMEINFO FrameInfo) override;
    STDMETHODIMP ShowContainerUI(BOOL Show) override;
    STDMETHODIMP QueryInsertObject(LPCLSID Clsid, LPSTORAGE Storage, LONG Position) override;
    STDMETHODIMP DeleteObject(LPOLEOBJECT Object) override;
    STDMETHODIMP QueryAcceptData(LPDATAOBJECT Data, CLIPFORMAT* Format, DWORD Operation,
                                 BOOL Really, HGLOBAL Picture) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL EnterMode) override;
    STDMETHODIMP GetClipboardData(CHARRANGE* Range, DWORD Operation, LPDATAOBJECT* Data) override;
    STDMETHODIMP GetDragDropEffect(BOOL Drag, DWORD KeyState, LPDWORD Effect) override;
    STDMETHODIMP GetContextMenu(WORD SelectionType, LPOLEOBJECT Object, CHARRANGE* Selection,
                                HMENU* Menu) override;

    ULONG RefCount() const { return refCount_; }

private:
    TQvCustomRichEdit* richEdit_;
    ULONG refCount_ = 0;
};
