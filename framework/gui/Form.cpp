// TForm: showing, activation, closing, modal loops, shortcuts.
#include "framework/gui/Form.h"
#include "framework/gui/GuiTexts.h"

#include <algorithm>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/gui/Action.h"
#include "framework/gui/Application.h"
#include "framework/gui/ButtonControls.h"
#include "framework/gui/DialogOwner.h"
#include "framework/gui/Menu.h"
#include "framework/gui/OleForm.h"

namespace {
// The command id of the first MDI child in a window menu (none is given here).
constexpr UINT FirstMDIChildId = 0xFF00;
}  // namespace

TForm::TForm(TComponent* AOwner) : TCustomControl(AOwner)
{
    visible_ = false;
    left_ = 100;
    top_ = 100;
    width_ = 400;
    height_ = 300;
}

TForm::~TForm()
{
    DoDestroy();
    Destroying();
    if (menu_ && HandleAllocated()) {
        // The platform would destroy an attached menu with the window; the menu is ours.
        ::SetMenu(Handle(), nullptr);
        menu_->Window = nullptr;
    }
    // The children go before our window (TWinControl), while the form is still a form.
    while (ControlCount() > 0) delete Controls(ControlCount() - 1);
    // An MDI child leaves through its MDI client, which keeps the list of its children.
    if (formStyle_ == fsMDIChild && HandleAllocated() && !Parent())
        SendMessageA(GetParent(Handle()), WM_MDIDESTROY, reinterpret_cast<WPARAM>(Handle()), 0);
}

void TForm::DoCreate()
{
    if (created_) return;
    created_ = true;
    if (OnCreate) OnCreate(this);
}

void TForm::DoDestroy()
{
    if (destroyed_) return;
    destroyed_ = true;
    if (OnDestroy) OnDestroy(this);
}

void TForm::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = 0;
    switch (borderStyle_) {
    case bsNone: p.Style |= WS_POPUP; break;
    case bsSingle: p.Style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; break;
    case bsSizeable: p.Style |= WS_OVERLAPPEDWINDOW; break;
    case bsDialog:
        p.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
        p.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsToolWindow:
        p.Style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        p.Style |= WS_OVERLAPPEDWINDOW;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (!borderIcons_.Contains(biMaximize)) p.Style &= ~WS_MAXIMIZEBOX;
    if (!borderIcons_.Contains(biMinimize)) p.Style &= ~WS_MINIMIZEBOX;
    if (!borderIcons_.Contains(biSystemMenu)) p.Style &= ~WS_SYSMENU;
    if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    if (!Enabled()) p.Style |= WS_DISABLED;
    p.WndParent = nullptr;
    if (Parent()) {
        // Placed inside another control: a child window there, at its place in the parent.
        p.Style = (p.Style & ~WS_POPUP) | WS_CHILD;
        p.ExStyle &= ~WS_EX_TOPMOST;
        p.WndParent = Parent()->Handle();
        return;
    }
    if (Position == poDefault) p.X = p.Y = static_cast<int>(CW_USEDEFAULT);
    if (formStyle_ == fsMDIChild) {
        TForm* frame = Application->MainForm();
        if (!frame || frame == this || frame->FormStyle() != fsMDIForm)
            throw EInvalidOperation(String(GuiText::NoMDIForm));
        frame->HandleNeeded();
        p.Style = (p.Style & ~WS_POPUP) | WS_CHILD;
        p.ExStyle |= WS_EX_MDICHILD;
        p.WndParent = frame->ClientHandle();
    }
}

void TForm::CreateWnd()
{
    TWinControl::CreateWnd();
    if (formStyle_ == fsMDIForm && !Parent()) {
        CLIENTCREATESTRUCT client{nullptr, FirstMDIChildId};
        RECT r;
        GetClientRect(Handle(), &r);
        clientHandle_ = CreateWindowExA(
            WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL, 0,
            0, r.right, r.bottom, Handle(), nullptr, GetModuleHandleA(nullptr), &client);
        if (!clientHandle_) throw EOutOfResources(GuiText::WindowCreate, "MDICLIENT");
        // Below the frame's own controls (tool bars, status bars).
        SetWindowPos(clientHandle_, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        // The children were laid out before the client existed: now it takes what they leave.
        Realign();
    }
    if (menu_) {
        ::SetMenu(Handle(), menu_->Handle());
        menu_->Window = Handle();
    }
}

void TForm::SetMenu(TMainMenu* v)
{
    if (menu_ == v) return;
    if (menu_) {
        RemoveFreeNotification(menu_);
        menu_->Window = nullptr;
    }
    menu_ = v;
    if (v) FreeNotification(v);
    if (HandleAllocated()) {
        ::SetMenu(Handle(), v ? v->Handle() : nullptr);
        if (v) v->Window = Handle();
    }
}

void TForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == menu_) {
        if (HandleAllocated()) ::SetMenu(Handle(), nullptr);
        menu_ = nullptr;
    }
    if (AComponent == activeControl_) activeControl_ = nullptr;
}

void TForm::SetActiveControl(TWinControl* v)
{
    activeControl_ = v;
    if (v && active_ && v->CanFocus()) v->SetFocus();
}

void TForm::SetBorderStyle(TFormBorderStyle v)
{
    if (v == borderStyle_) return;
    borderStyle_ = v;
    if (HandleAllocated()) {
        RecreateWnd();
        if (Visible()) ShowWindow(Handle(), SW_SHOWNORMAL);
    }
}

void TForm::SetBorderIcons(TBorderIcons v)
{
    if (v == borderIcons_) return;
    borderIcons_ = v;
    if (!HandleAllocated()) return;
    // The style changes in place: a new window would lose what others attached to this one.
    const DWORD buttons = WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_SYSMENU;
    TCreateParams p;
    CreateParams(p);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE));
    SetWindowLongPtrA(Handle(), GWL_STYLE, (style & ~buttons) | (p.Style & buttons));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetFormStyle(TFormStyle v)
{
    if (v == formStyle_) return;
    const auto isMdi = [](TFormStyle s) { return s == fsMDIChild || s == fsMDIForm; };
    const bool newWindow = isMdi(v) || isMdi(formStyle_);
    formStyle_ = v;
    if (HandleAllocated() && newWindow) {
        RecreateWnd();
        if (Visible()) ShowWindow(Handle(), SW_SHOWNORMAL);
    } else if (HandleAllocated()) {
        SetWindowPos(Handle(), v == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TForm::SetBorderWidth(int v)
{
    if (v == borderWidth_) return;
    borderWidth_ = v;
    Realign();
    Invalidate();
}

TRect TForm::AlignRect()
{
    const TRect r = ClientRect();
    return Rect(r.Left + borderWidth_, r.Top + borderWidth_, r.Right - borderWidth_,
                r.Bottom - borderWidth_);
}

void TForm::AlignControls(TRect& r)
{
    TCustomControl::AlignControls(r);
    // The platform sizes the MDI client to the whole client area (DefFrameProc on WM_SIZE,
    // which runs before this): it goes back to what the aligned controls leave.
    if (clientHandle_)
        SetWindowPos(clientHandle_, nullptr, r.Left, r.Top, std::max(r.Width(), 0),
                     std::max(r.Height(), 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<TForm*> TForm::MDIChildList() const
{
    std::vector<TForm*> children;
    if (!clientHandle_) return children;
    for (HWND h = GetWindow(clientHandle_, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(h));
            form && form->formStyle_ == fsMDIChild)
            children.push_back(form);
    return children;
}

int TForm::MDIChildCount() const { return static_cast<int>(MDIChildList().size()); }

TForm* TForm::MDIChildren(int Index) const
{
    const std::vector<TForm*> children = MDIChildList();
    if (Index < 0 || Index >= static_cast<int>(children.size()))
        throw EListError(GuiText::ListIndex, Index);
    return children[static_cast<size_t>(Index)];
}

void TForm::SetParent(TWinControl* AParent)
{
    if (AParent == Parent()) return;
    // A top-level window does not become a child (nor a child a top-level window) in place:
    // the window is made again, as CreateParams then says.
    if (HandleAllocated()) DestroyWnd();
    TCustomControl::SetParent(AParent);
}

void TForm::DefaultHandler(TMessage& m)
{
    if (HandleAllocated() && !Parent()) {
        if (formStyle_ == fsMDIForm) {
            m.Result = DefFrameProcA(Handle(), clientHandle_, m.Msg, m.WParam, m.LParam);
            return;
        }
        if (formStyle_ == fsMDIChild) {
            m.Result = DefMDIChildProcA(Handle(), m.Msg, m.WParam, m.LParam);
            return;
        }
    }
    TCustomControl::DefaultHandler(m);
}

TWindowState TForm::WindowState()
{
    if (HandleAllocated() && Visible()) {
        if (IsZoomed(Handle())) return wsMaximized;
        if (IsIconic(Handle())) return wsMinimized;
        return wsNormal;
    }
    return windowState_;
}

void TForm::SetWindowState(TWindowState v)
{
    windowState_ = v;
    if (HandleAllocated() && Visible()) {
        static const int show[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
        ShowWindow(Handle(), show[v]);
    }
}

void TForm::SetClientSize(int w, int h)
{
    RECT r{0, 0, w, h};
    TCreateParams p;
    CreateParams(p);
    AdjustWindowRectEx(&r, p.Style, menu_ != nullptr, p.ExStyle);
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void TForm::PlaceOnFirstShow()
{
    if (placed_) return;
    placed_ = true;
    // A child window (placed in a control, or an MDI child) keeps the place it was given.
    if (Parent() || formStyle_ == fsMDIChild) return;
    if (Position == poDesktopCenter) {
        const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
        const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN),
                  h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        SetBounds(x + (w - Width()) / 2, y + (h - Height()) / 2, Width(), Height());
        return;
    }
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    TForm* main = Application->MainForm();
    if (Position == poScreenCenter || (Position == poMainFormCenter && (!main || main == this))) {
        SetBounds(area.left + (area.right - area.left - Width()) / 2,
                  area.top + (area.bottom - area.top - Height()) / 2, Width(), Height());
    } else if (Position == poMainFormCenter || Position == poOwnerFormCenter) {
        TForm* over = main;
        if (Position == poOwnerFormCenter)
            over = dynamic_cast<TForm*>(Owner()) ? dynamic_cast<TForm*>(Owner()) : main;
        if (over)
            SetBounds(over->Left() + (over->Width() - Width()) / 2,
                      over->Top() + (over->Height() - Height()) / 2, Width(), Height());
    }
}

void TForm::SetVisible(bool v)
{
    if (v == Visible()) {
        if (v && HandleAllocated())
            SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return;
    }
    if (v) {
        HandleNeeded();
        PlaceOnFirstShow();
        visible_ = true;
        // OnShow runs before the window appears, as the form's own first look at itself.
        if (OnShow) OnShow(this);
        if (!Visible()) return;  // the handler hid it again
        static const int show[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
        ShowWindow(Handle(), show[windowState_]);
        if (formStyle_ == fsStayOnTop)
            SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    } else {
        if (OnHide) OnHide(this);
        visible_ = false;
        if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    }
    Perform(CM_VISIBLECHANGED, v);
    // A form placed in a control takes its alignment there (or gives its place up) now.
    if (TWinControl* parent = Parent()) parent->ControlChanged(this);
}

bool TForm::Showing() const { return Visible(); }

void TForm::Show() { SetVisible(true); }

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close()
{
    if (modal_) {
        ModalResult = mrCancel;  // the modal loop asks the close query
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (OnClose) OnClose(this, action);
    if (action == caNone) return;
    if (Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TForm::Release() { PostMessageA(Handle(), CM_RELEASE, 0, 0); }

TModalResult TForm::ShowModal()
{
    if (Visible() || modal_) throw EInvalidOperation(String(GuiText::VisibleModal));
    HandleNeeded();
    TModalScope modalScope(Handle());
    // Owned by the window it is opened from, it cannot be put behind it: unowned, a click on the
    // disabled main window raised that over the dialog, which then looked dead.
    // The owner is given back afterwards: a form shown later from elsewhere, or modeless, is not
    // hidden and destroyed with the window it was once opened from.
    const LONG_PTR ownerBefore = GetWindowLongPtrA(Handle(), GWLP_HWNDPARENT);
    const bool owned = !Parent() && modalScope.Owner() && modalScope.Owner() != Handle();
    if (owned)
        SetWindowLongPtrA(Handle(), GWLP_HWNDPARENT,
                          reinterpret_cast<LONG_PTR>(modalScope.Owner()));
    modal_ = true;
    ModalResult = mrNone;
    // Above the program's stay-on-top windows while it is up, as a box is (TDialogOnTop): under
    // the options dialog its buttons were hidden while everything else was disabled.
    const bool onTop = formStyle_ != fsStayOnTop && ProgramWindowOnTop(Handle());
    struct Restore {
        TForm* form;
        bool onTop;
        bool owned;
        LONG_PTR ownerBefore;
        ~Restore()
        {
            if (onTop && form->HandleAllocated())
                SetWindowPos(form->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            if (owned && form->HandleAllocated())
                SetWindowLongPtrA(form->Handle(), GWLP_HWNDPARENT, ownerBefore);
            form->modal_ = false;
        }
    } restore{this, onTop, owned, ownerBefore};
    if (onTop) SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Show();
    for (;;) {
        Application->HandleMessage();
        if (Application->Terminated() && ModalResult == mrNone) ModalResult = mrCancel;
        if (ModalResult == mrNone) continue;
        // Closing a modal form still asks the close query and the close handler.
        if (!CloseQuery()) {
            ModalResult = mrNone;
            if (Application->Terminated()) break;
            continue;
        }
        TCloseAction action = caHide;
        if (OnClose) OnClose(this, action);
        if (action == caNone) {
            ModalResult = mrNone;
            if (Application->Terminated()) break;
            continue;
        }
        break;
    }
    TModalResult result = ModalResult;
    Hide();
    return result;
}

bool TForm::IsShortCut(WORD Key, TShiftState Shift)
{
    if (Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU) return false;
    const TShortCut sc = ShortCut(Key, Shift);
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (auto* list = dynamic_cast<TActionList*>(c)) {
            if (list->IsShortCut(sc)) return true;
        } else if (auto* a = dynamic_cast<TAction*>(c);
                   a && !a->ActionList() && a->ShortCut() == sc) {
            if (a->Execute()) return true;
        }
    }
    if (menu_) {
        if (TMenuItem* item = menu_->Items()->FindShortCut(sc)) {
            item->Click();
            return true;
        }
    }
    return false;
}

namespace {
TButton* FindButton(TWinControl* parent, bool wantDefault)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible() || !c->Enabled()) continue;
        if (auto* b = dynamic_cast<TButton*>(c); b && (wantDefault ? b->Default : b->Cancel))
            return b;
        if (auto* w = dynamic_cast<TWinControl*>(c))
            if (TButton* found = FindButton(w, wantDefault)) return found;
    }
    return nullptr;
}
}  // namespace

bool TForm::DialogKey(WORD Key)
{
    if (Key != VK_RETURN && Key != VK_ESCAPE) return false;
    TButton* button = FindButton(this, Key == VK_RETURN);
    if (!button) return false;
    button->Click();
    return true;
}

namespace {
bool PressMnemonic(TWinControl* parent, WORD key)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible() || !c->Enabled()) continue;
        if (c->Perform(CM_DIALOGCHAR, key)) return true;
        if (auto* w = dynamic_cast<TWinControl*>(c))
            if (PressMnemonic(w, key)) return true;
    }
    return false;
}
}  // namespace

bool TForm::DialogChar(WORD Key) { return PressMnemonic(this, Key); }

void TForm::Paint()
{
    if (OnPaint) OnPaint(this);
}

void TForm::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        m.Result = 0;
        return;
    case WM_ACTIVATE:
        TOleForm::DocWindowActivated(this, LOWORD(m.WParam) != WA_INACTIVE);
        if (LOWORD(m.WParam) != WA_INACTIVE) {
            active_ = true;
            if (OnActivate) OnActivate(this);
            // Focus goes back to the control that had it, not to the form's window.
            if (activeControl_ && activeControl_->HandleAllocated() &&
                IsWindowVisible(activeControl_->Handle()) &&
                IsWindowEnabled(activeControl_->Handle())) {
                ::SetFocus(activeControl_->Handle());
                m.Result = 0;
                return;
            }
        } else {
            active_ = false;
            if (OnDeactivate) OnDeactivate(this);
        }
        break;
    case WM_MDIACTIVATE:
        // An MDI child hears of its activation here instead of WM_ACTIVATE.
        TOleForm::DocWindowActivated(this, reinterpret_cast<HWND>(m.LParam) == Handle());
        break;
    case WM_NCDESTROY:
        TCustomControl::Dispatch(m);
        clientHandle_ = nullptr;  // went with the frame's window
        return;
    case WM_ACTIVATEAPP:
        // The program as a whole gains or loses the user's attention.
        if (m.WParam) {
            if (Application->OnActivate) Application->OnActivate(Application);
        } else if (Application->OnDeactivate) {
            Application->OnDeactivate(Application);
        }
        break;
    default: break;
    }
    TCustomControl::Dispatch(m);
}
