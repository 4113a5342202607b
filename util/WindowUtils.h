// Window utilities: polygon hit tests, dialog units, centring, showing and activating
// windows, finding an earlier running copy of a program, message boxes and the work area.
#pragma once

#include <span>

#include <windows.h>

#include "framework/gui/Canvas.h"
#include "framework/gui/Control.h"
#include "framework/gui/DialogService.h"
#include "util/Geometry.h"

class TControl;
class TForm;
class TWinControl;

// Whether Point lies in the polygon of Points (winding fill).
bool PointInPolyRgn(TPoint Point, std::span<const TPoint> Points);

// Dialog units of the system font to pixels and back.
int DialogUnitsToPixelsX(WORD DlgUnits);
int DialogUnitsToPixelsY(WORD DlgUnits);
int PixelsToDialogUnitsX(WORD PixUnits);
int PixelsToDialogUnitsY(WORD PixUnits);

// A form in the middle of the screen (an MDI child in the middle of the main form's client
// area), any other control in the middle of its parent; never left or above the origin.
void CenterControl(TControl* Control);
// The window in the middle of the screen, keeping its size, z-order and activation.
void CenterWindow(HWND Window);
// Places Form inside Container as a borderless child window, with Align (alNone: at its own
// place, counted from the container's client origin), visible when Show is set.
void MergeForm(TWinControl* Container, TForm* Form, TAlign Align, bool Show);
// Adds or removes the sunken client edge of an MDI client window.
void ShowMDIClientEdge(HWND ClientHandle, bool ShowEdge);
// The desktop's work area (the screen without the task bar), or the whole screen.
TRect ScreenWorkArea();
String WindowClassName(HWND Window);

// ShowWindow without the system's minimise/restore animation.
void ShowWinNoAnimate(HWND Window, int CmdShow);
void ActivateWindow(HWND Window);
void SwitchToWindow(HWND Window, bool Restore);

// The main window of an earlier running copy, by class name and title (an empty one is not
// compared); nullptr when both are empty or none is found.
HWND FindPrevInstance(const String& MainFormClass, const String& ATitle);
// Brings the earlier copy's window (or its last pop-up) to the front; false when there is none.
bool ActivatePrevInstance(const String& MainFormClass, const String& ATitle);
// Whether the active window belongs to the calling thread.
bool IsForegroundTask();

int MsgBox(const String& Caption, const String& Text, UINT Flags);
int MsgDlg(const String& Msg, TMsgDlgType AType, TMsgDlgButtons AButtons, int HelpCtx = 0);
