// Window utilities.
#include "util/WindowUtils.h"

#include <algorithm>
#include <vector>

#include "framework/gui/Application.h"
#include "framework/gui/Form.h"

bool PointInPolyRgn(TPoint Point, std::span<const TPoint> Points)
{
    if (Points.size() < 3) return false;
    std::vector<POINT> corners;
    corners.reserve(Points.size());
    for (const TPoint& p : Points) corners.push_back(POINT{p.x, p.y});
    HRGN region = CreatePolygonRgn(corners.data(), static_cast<int>(corners.size()), WINDING);
    if (!region) return false;
    const bool inside = PtInRegion(region, Point.x, Point.y) != 0;
    DeleteObject(region);
    return inside;
}

int DialogUnitsToPixelsX(WORD DlgUnits) { return DlgUnits * LOWORD(GetDialogBaseUnits()) / 4; }
int DialogUnitsToPixelsY(WORD DlgUnits) { return DlgUnits * HIWORD(GetDialogBaseUnits()) / 8; }
int PixelsToDialogUnitsX(WORD PixUnits) { return PixUnits * 4 / LOWORD(GetDialogBaseUnits()); }
int PixelsToDialogUnitsY(WORD PixUnits) { return PixUnits * 8 / HIWORD(GetDialogBaseUnits()); }

void CenterControl(TControl* Control)
{
    if (!Control) return;
    int x = 0, y = 0;
    auto* form = dynamic_cast<TForm*>(Control);
    TForm* frame = Application->MainForm();
    if (form && !form->Parent() && form->FormStyle() == fsMDIChild && frame) {
        x = (frame->ClientWidth() - Control->Width()) / 2;
        y = (frame->ClientHeight() - Control->Height()) / 2;
    } else if (form && !form->Parent()) {
        x = (GetSystemMetrics(SM_CXSCREEN) - Control->Width()) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - Control->Height()) / 2;
    } else if (TWinControl* parent = Control->Parent()) {
        parent->HandleNeeded();
        const TRect client = parent->ClientRect();
        x = (client.Width() - Control->Width()) / 2;
        y = (client.Height() - Control->Height()) / 2;
    } else {
        return;
    }
    Control->SetBounds(std::max(x, 0), std::max(y, 0), Control->Width(), Control->Height());
}

void CenterWindow(HWND Window)
{
    RECT r;
    if (!GetWindowRect(Window, &r)) return;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    SetWindowPos(Window, nullptr, std::max(x, 0), std::max(y, 0), 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

void MergeForm(TWinControl* Container, TForm* Form, TAlign Align, bool Show)
{
    const TRect client = Container->ClientRect();
    Form->SetVisible(false);
    Form->SetBorderStyle(bsNone);
    Form->SetBorderIcons({});
    // The form's window goes with its new parent; the next one is a child of the container.
    Form->SetParent(Container);
    if (Align != alNone)
        Form->SetAlign(Align);
    else
        Form->SetBounds(Form->Left() + client.Left, Form->Top() + client.Top, Form->Width(),
                        Form->Height());
    Form->SetVisible(Show);
}

void ShowMDIClientEdge(HWND ClientHandle, bool ShowEdge)
{
    const LONG style = GetWindowLongA(ClientHandle, GWL_EXSTYLE);
    const LONG wanted = ShowEdge ? (style | WS_EX_CLIENTEDGE) : (style & ~WS_EX_CLIENTEDGE);
    if (wanted == style) return;
    SetWindowLongA(ClientHandle, GWL_EXSTYLE, wanted);
    SetWindowPos(ClientHandle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

TRect ScreenWorkArea()
{
    TRect r;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, r.Win(), 0))
        r = Bounds(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return r;
}

String WindowClassName(HWND Window)
{
    char name[256];
    const int n = GetClassNameA(Window, name, sizeof name);
    return String(name, static_cast<size_t>(std::max(n, 0)));
}

void ShowWinNoAnimate(HWND Window, int CmdShow)
{
    ANIMATIONINFO animation{};
    animation.cbSize = sizeof animation;
    const bool animated =
        SystemParametersInfoA(SPI_GETANIMATION, sizeof animation, &animation, 0) &&
        animation.iMinAnimate != 0;
    if (animated) {
        animation.iMinAnimate = 0;
        SystemParametersInfoA(SPI_SETANIMATION, sizeof animation, &animation, 0);
    }
    ShowWindow(Window, CmdShow);
    if (animated) {
        animation.iMinAnimate = 1;
        SystemParametersInfoA(SPI_SETANIMATION, sizeof animation, &animation, 0);
    }
}

void ActivateWindow(HWND Window)
{
    if (!Window || !IsWindow(Window)) return;
    ShowWinNoAnimate(Window, IsIconic(Window) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(Window);
}

void SwitchToWindow(HWND Window, bool Restore)
{
    if (!IsWindowEnabled(Window)) return;
    SetForegroundWindow(Window);
    if (Restore && IsWindowVisible(Window)) {
        if (!IsZoomed(Window)) SendMessageA(Window, WM_SYSCOMMAND, SC_RESTORE, 0);
        SetFocus(Window);
    }
}

HWND FindPrevInstance(const String& MainFormClass, const String& ATitle)
{
    if (MainFormClass.empty() && ATitle.empty()) return nullptr;
    return FindWindowA(MainFormClass.empty() ? nullptr : MainFormClass.c_str(),
                       ATitle.empty() ? nullptr : ATitle.c_str());
}

namespace {

struct TThreadWindowSearch {
    const char* ClassName;
    HWND Found = nullptr;
};

BOOL CALLBACK FindClassInThread(HWND Window, LPARAM Param)
{
    auto* search = reinterpret_cast<TThreadWindowSearch*>(Param);
    if (WindowClassName(Window) == search->ClassName) {
        search->Found = Window;
        return FALSE;
    }
    return TRUE;
}

// Programs built on this framework keep a hidden window of this class as the owner of their
// forms; activating the earlier copy means restoring that window.
constexpr const char* HiddenApplicationClass = "TApplication";
// A copy running inside the framework's development environment: leave it alone.
constexpr const char* DevelopmentEnvironmentClass = "TAppBuilder";

}  // namespace

bool ActivatePrevInstance(const String& MainFormClass, const String& ATitle)
{
    HWND window = FindPrevInstance(MainFormClass, ATitle);
    if (!window) return false;
    HWND desktop = GetDesktopWindow();
    for (HWND owner = GetWindow(window, GW_OWNER); owner && owner != desktop;
         owner = GetWindow(owner, GW_OWNER))
        window = owner;

    if (WindowClassName(window) == HiddenApplicationClass) {
        TThreadWindowSearch search{DevelopmentEnvironmentClass};
        EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), FindClassInThread,
                          reinterpret_cast<LPARAM>(&search));
        if (search.Found) return false;
        if (IsIconic(window)) {
            SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
            return true;
        }
        ShowWinNoAnimate(window, SW_SHOWNOACTIVATE);
    } else {
        ActivateWindow(window);
    }
    HWND popup = GetLastActivePopup(window);
    if (popup && popup != window && IsWindowVisible(popup) && IsWindowEnabled(popup))
        SetForegroundWindow(popup);
    else
        ActivateWindow(window);
    return true;
}

namespace {

BOOL CALLBACK IsActiveWindow(HWND Window, LPARAM Param)
{
    auto* found = reinterpret_cast<bool*>(Param);
    if (Window == GetActiveWindow()) {
        *found = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool IsForegroundTask()
{
    bool found = false;
    EnumThreadWindows(GetCurrentThreadId(), IsActiveWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

int MsgBox(const String& Caption, const String& Text, UINT Flags)
{
    return Application->MessageBox(Text, Caption, Flags);
}

int MsgDlg(const String& Msg, TMsgDlgType AType, TMsgDlgButtons AButtons, int HelpCtx)
{
    return MessageDlg(Msg, AType, AButtons, HelpCtx);
}
