// Embedded objects in the editor control: the callback the rich edit window asks for storage
// and in-place context. The control owns it; the window only borrows it.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <richole.h>

class TQvCustomRichEdit;
class TOleForm;

class TRichEditOleCallback : public IRichEditOleCallback {
public:
    explicit TRichEditOleCallback(TQvCustomRichEdit* RichEdit) : richEdit_(RichEdit) {}
    virtual ~TRichEditOleCallback();

    STDMETHODIMP QueryInterface(REFIID Iid, void** Object) override;
    // The count follows the window's references but never frees the object: the control
    // frees it after its window is gone.
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // A compound-file storage on a memory block, freed with its last reference.
    STDMETHODIMP GetNewStorage(LPSTORAGE* Storage) override;
    // The parent form as frame and document (an MDI child's frame is the main form), with
    // the accelerators of the frame's main menu; E_NOTIMPL without AllowInPlace or a form.
    STDMETHODIMP GetInPlaceContext(LPOLEINPLACEFRAME* Frame, LPOLEINPLACEUIWINDOW* Document,
                                   LPOLEINPLACEFRAMEINFO FrameInfo) override;
    // Show False: the object's user interface takes over and the control becomes the form's
    // active OLE control; Show True: the frame gets its own menu back and the forms go.
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
    TOleForm* DocForm() const { return docForm_; }
    TOleForm* FrameForm() const { return frameForm_; }

private:
    void PrepareFrameForms();
    void ReleaseForms();
    TOleForm* docForm_ = nullptr;
    TOleForm* frameForm_ = nullptr;
    HACCEL accelTable_ = nullptr;
    int accelCount_ = 0;
    TQvCustomRichEdit* richEdit_;
    ULONG refCount_ = 0;
};
