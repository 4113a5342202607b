// TForm: a top-level window with its components, its events in the framework's order, modal
// showing, closing with a close query, key preview and the shortcuts of its actions and menus.
#pragma once

#include <vector>

#include "framework/gui/Control.h"

// A form is written as a class derived from TForm whose constructor builds the components
// (the form data), then calls DoCreate() (OnCreate runs there), then does its own work:
//
//   TForm1::TForm1(TComponent* Owner) : TForm(Owner)
//   {
//       Button1 = new TButton(this);            // owned by the form
//       Button1->SetParent(this);
//       Button1->OnClick = Closure(this, &TForm1::Button1Click);
//       OnCreate = Closure(this, &TForm1::FormCreate);
//       DoCreate();                             // end of the form data: OnCreate
//       ...                                     // the constructor body
//   }

class TMainMenu;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// An MDI frame (fsMDIForm) holds the platform's MDI client window, inside which its MDI
// children (fsMDIChild) live; a child needs the application's main form to be such a frame.
enum TFormStyle { fsNormal, fsStayOnTop, fsMDIChild, fsMDIForm };
enum TPosition {
    poDesigned,
    poDefault,
    poScreenCenter,
    poMainFormCenter,
    poOwnerFormCenter,
    poDesktopCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize };
using TBorderIcons = TSet<TBorderIcon>;

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT,
                       mrRetry = IDRETRY, mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO,
                       mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = TClosure<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TClosure<void(TObject* Sender, bool& CanClose)>;

class TForm : public TCustomControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    // End of the form data: fires OnCreate (once). The application calls it for a form whose
    // constructor did not.
    void DoCreate();
    // Fires OnDestroy (once); the application calls it before freeing the form, so that the
    // handler still sees a whole form; the destructor calls it when nobody did.
    void DoDestroy();

    void Show();               // makes the form visible and brings it to the front
    TModalResult ShowModal();  // runs until ModalResult is set (or the form is closed)
    // Asks OnCloseQuery, then OnClose decides: hide (default), free, minimise or nothing.
    // Closing the main form ends the application.
    void Close();
    bool CloseQuery();
    // Frees the form once the messages being handled are done.
    void Release();

    TModalResult ModalResult = mrNone;
    bool KeyPreview = false;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle v);
    TPosition Position = poDesigned;
    // The caption's buttons, as far as the border style has them.
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons v);
    TWindowState WindowState();
    void SetWindowState(TWindowState v);
    // Notes the state without applying it: the window takes it when it is next shown.
    void RecordWindowState(TWindowState v) { windowState_ = v; }
    // Sets the client area's size (the window grows by its frame).
    void SetClientSize(int w, int h);
    // An inner border: aligned controls keep this many pixels from the client area's edges.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);
    // The MDI client window of an MDI frame (created with the frame's window), else nullptr.
    // It fills what the frame's aligned controls (tool bars, status bars) leave free.
    HWND ClientHandle() const { return clientHandle_; }
    // An MDI frame's children, in the order of its MDI client's list (the one on top first);
    // none for any other form.
    int MDIChildCount() const;
    TForm* MDIChildren(int Index) const;

    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* v);
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* v);
    bool Active() const { return active_; }
    bool Modal() const { return modal_; }

    // Whether Key+Shift is the shortcut of one of the form's enabled actions or menu items;
    // when it is, that action or item has been run.
    virtual bool IsShortCut(WORD Key, TShiftState Shift);
    // Enter and Escape press the form's default and cancel buttons (when the focused control
    // has no use for the key); true when one was pressed.
    bool DialogKey(WORD Key);
    // Alt+letter (Key, the character) presses the shown, enabled control whose caption
    // underlines the letter, as a dialog's buttons answer their mnemonics; true when one did.
    bool DialogChar(WORD Key);

    void Dispatch(TMessage& Message) override;
    void SetVisible(bool v) override;
    bool Showing() const override;
    // A form given a parent becomes a child window of it (its window is made again).
    void SetParent(TWinControl* AParent) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;  // on every activation
    TNotifyEvent OnDeactivate;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    TRect AlignRect() override;
    void AlignControls(TRect& Rect) override;
    // An MDI frame's and an MDI child's messages go on to the platform's MDI procedures.
    void DefaultHandler(TMessage& Message) override;

private:
    friend class TWinControl;
    void PlaceOnFirstShow();
    std::vector<TForm*> MDIChildList() const;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TFormStyle formStyle_ = fsNormal;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TWindowState windowState_ = wsNormal;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    bool created_ = false;
    bool destroyed_ = false;
    bool active_ = false;
    bool modal_ = false;
    bool placed_ = false;
    int borderWidth_ = 0;
    HWND clientHandle_ = nullptr;
};
