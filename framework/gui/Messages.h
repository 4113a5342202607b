// The message record every control's Dispatch receives, and the framework's own messages:
// CM_ (a control told about a change of its own state) and CN_ (a notification the parent
// window received, reflected back to the child control it is about).
#pragma once

#include <windows.h>

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Sent only through Perform, never through the platform, so they only need to stay clear of
// the messages that really reach a window procedure.
constexpr UINT CM_BASE = 0xA000;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 1;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 2;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 3;
constexpr UINT CM_COLORCHANGED = CM_BASE + 4;
constexpr UINT CM_FONTCHANGED = CM_BASE + 5;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 6;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 7;
constexpr UINT CM_MOUSEENTER = CM_BASE + 8;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 9;
// Posted to a form that closed with caFree: it is freed once its own messages are done.
constexpr UINT CM_RELEASE = CM_BASE + 10;
// Posted by a tree view to itself on a click: by the time it arrives the control has moved its
// selection to the clicked item.
constexpr UINT CM_TREECLICK = CM_BASE + 11;
// Sent by a form to its shown, enabled controls for an Alt+letter (WParam, the character): a
// control whose caption underlines that letter acts as if clicked and answers 1.
constexpr UINT CM_DIALOGCHAR = CM_BASE + 12;
// Posted by a window whose menu loop has ended to itself when something waits for that end
// (TMenu::AfterMenuLoop).
constexpr UINT CM_AFTERMENULOOP = CM_BASE + 13;
// Reading direction (a block of their own, clear of the numbers above as they grow).
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 32;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 33;
// Embedded objects: the form tells its active object's control that the document window
// was activated (WParam 1) or deactivated (0); a control is told its object's user interface
// is to go because another control's object takes over.
constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 34;
constexpr UINT CM_UIDEACTIVATE = CM_BASE + 35;

constexpr UINT CN_BASE = 0xA800;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
