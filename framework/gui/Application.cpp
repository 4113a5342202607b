// The application object: form creation, the message loop, exception display.
#include "framework/gui/Application.h"
#include "framework/gui/GuiTexts.h"

#include <algorithm>
#include <exception>

#include "framework/FileNames.h"
#include "framework/gui/DialogService.h"
#include "framework/gui/Form.h"

TApplication* Application = new TApplication(nullptr);  // lives as long as the process

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    // Exceptions that reach a callback of the lower layers (threads, timers, windows) are shown
    // here from the start, before and without Initialize.
    SetCallbackExceptionSink([](TObject* Sender) { Application->HandleException(Sender); });
}

void TApplication::Initialize() { InitSynchronize(); }

TApplication::~TApplication()
{
    for (int i = ComponentCount(); i-- > 0;)
        if (auto* f = dynamic_cast<TForm*>(Components(i))) f->DoDestroy();
    DestroyComponents();
}

void TApplication::FormCreated(TForm* Form)
{
    Form->DoCreate();
    if (!mainForm_) mainForm_ = Form;
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run()
{
    try {
        if (mainForm_ && ShowMainForm) mainForm_->Show();
    } catch (...) {
        HandleException(this);
    }
    while (!terminated_) HandleMessage();
    // The forms go now, newest first, each hearing OnDestroy while it is still whole.
    while (ComponentCount() > 0) {
        TComponent* c = Components(ComponentCount() - 1);
        try {
            if (auto* f = dynamic_cast<TForm*>(c)) f->DoDestroy();
        } catch (...) {
            HandleException(c);
        }
        delete c;
    }
}

void TApplication::Terminate()
{
    terminated_ = true;
    PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& msg)
{
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    try {
        // Shortcuts of the form's actions and menus come before the focused control sees
        // the key (and before the key becomes a character).
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            TWinControl* target = nullptr;
            for (HWND h = msg.hwnd; h && !target; h = GetParent(h))
                target = TWinControl::FromHandle(h);
            if (TForm* form = GetParentForm(target)) {
                if (form->IsShortCut(static_cast<WORD>(msg.wParam), KeyboardShift())) return true;
                const bool dialogKey =
                    msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE || msg.wParam == VK_TAB;
                // Asked without the message: a rich edit or multi-line edit shown the message
                // takes itself for a dialog's control from then on, and closes its parent on
                // Esc (the receive screen vanished). These forms are not dialogs.
                const LRESULT wants =
                    dialogKey ? SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, 0) : 0;
                if (msg.message == WM_KEYDOWN &&
                    (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
                    !(wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) &&
                    form->DialogKey(static_cast<WORD>(msg.wParam)))
                    return true;
                // Tab moves the focus, unless the control takes tabs itself.
                if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB &&
                    !(GetKeyState(VK_CONTROL) < 0) &&
                    !(wants & (DLGC_WANTTAB | DLGC_WANTMESSAGE))) {
                    if (HWND next =
                            GetNextDlgTabItem(form->Handle(), msg.hwnd, GetKeyState(VK_SHIFT) < 0))
                        SetFocus(next);
                    return true;
                }
            }
        }
        for (HWND dlg : modeless_)
            if (IsWindow(dlg) && IsDialogMessageA(dlg, &msg)) return true;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    } catch (...) {
        HandleException(this);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {}
}

void TApplication::ProcessMessagesWhile(const std::function<bool()>& More)
{
    MSG msg;
    while (More() && ProcessMessage(msg)) {}
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg)) {
        Idle();
        if (!terminated_) WaitMessage();
    }
}

void TApplication::Idle() { TControlCanvas::FreeAllHandles(); }

void TApplication::HandleException(TObject* Sender)
{
    if (!std::current_exception()) return;
    auto deliver = [&](Exception& e) {
        try {
            if (OnException)
                OnException(Sender, e);
            else
                ShowException(e);
        } catch (...) {
            // An exception display that itself fails must not take the program with it.
            try {
                ShowException(e);
            } catch (...) {
            }
        }
    };
    try {
        throw;
    } catch (EAbort&) {
    } catch (Exception& e) {
        deliver(e);
    } catch (std::exception& e) {
        Exception wrapped{String(e.what())};
        deliver(wrapped);
    } catch (...) {
        Exception wrapped{String(GuiText::UnknownException)};
        deliver(wrapped);
    }
}

void TApplication::ShowException(Exception& E)
{
    String text = E.Message;
    if (!text.empty() && text.back() > '.') text += '.';
    DialogService().MessageBox(text, Title, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags)
{
    return DialogService().MessageBox(Text, Caption.empty() ? Title : Caption, Flags);
}

String TApplication::ExeName() const { return ParamStr(0); }

void TApplication::AddModelessDialog(HWND Dialog)
{
    if (std::find(modeless_.begin(), modeless_.end(), Dialog) == modeless_.end())
        modeless_.push_back(Dialog);
}

void TApplication::RemoveModelessDialog(HWND Dialog)
{
    modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), Dialog), modeless_.end());
}
