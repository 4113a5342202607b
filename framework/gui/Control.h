// The control base: TControl (bounds, alignment, visibility, colour, font, mouse), TWinControl
// (a window of its own: creation, subclassing, keyboard, focus, reflected notifications),
// TGraphicControl (drawn on its parent, canvas usable outside painting), TCustomControl.
#pragma once

// Messages: every window of the framework runs one procedure that finds the control and calls
// its Dispatch(TMessage&); each class handles its messages in its own Dispatch (one switch)
// and hands the rest to the inherited Dispatch, which ends in the window's original procedure.
// No exception leaves the procedure: it goes to the application's exception display.

#include <vector>

#include <windows.h>

#include "framework/Component.h"
#include "framework/Events.h"
#include "framework/Sets.h"
#include "framework/gui/Canvas.h"
#include "framework/gui/Messages.h"
#include "framework/win/Ownership.h"

class TWinControl;
class TPopupMenu;
class TForm;
class TBasicAction;
class TControlCanvas;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
// Reading direction: right-to-left text, with the scroll bar on the left and the alignment
// mirrored, or without the alignment, or only the text's direction.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoStdEvents,
    csReplicatable
};
using TControlStyle = TSet<TControlStyleItem>;

// A keyboard shortcut: the virtual key in the low byte, modifiers in the high bits.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(WORD Key, TShiftState Shift);
// "F2", "Ctrl+S", "Shift+Ins": the text a menu shows beside its caption.
String ShortCutToText(TShortCut ShortCut);
TShiftState KeyboardShift();  // modifier keys held now
// Whether Caption underlines the character Key ("&O" in "&OK"; "&&" is an ampersand shown).
bool IsAccel(WORD Key, const String& Caption);
TShiftState MouseShift(WPARAM keyFlags);  // from a mouse message's MK_ flags

using TMouseEvent =
    TClosure<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TClosure<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TClosure<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = TClosure<void(TObject* Sender, char& Key)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // Runs a message through this control's Dispatch and gives its result.
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void Dispatch(TMessage& Message);

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* AParent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    virtual TRect ClientRect();
    int ClientWidth() { return ClientRect().Width(); }
    int ClientHeight() { return ClientRect().Height(); }
    TPoint ClientToScreen(TPoint p);
    TPoint ScreenToClient(TPoint p);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign v);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to the form visible too.
    virtual bool Showing() const;

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);

    TColor Color() const { return color_; }
    void SetColor(TColor v);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont* Font() { return &font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    // A change is announced with CM_BIDIMODECHANGED; children that follow their parent's
    // (ParentBiDiMode, the default) take it through CM_PARENTBIDIMODECHANGED.
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode v);
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool v);

    // Caption and Text are the same string: a window's text, or the control's own.
    String Caption() { return GetText(); }
    void SetCaption(const String& v) { SetText(v); }
    String Text() { return GetText(); }
    void SetText(const String& v);

    String Hint;
    bool ShowHint = false;
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* v);
    // The menu a right click shows: PopupMenu, unless the control builds its own.
    virtual TPopupMenu* GetPopupMenu() { return popupMenu_; }

    // The action this control shows and runs on click (caption, enabled, hint follow it).
    TBasicAction* Action() const { return action_; }
    void SetAction(TBasicAction* v);
    // Called by the linked action when one of its shared properties changes.
    virtual void ActionChanged();

    TControlStyle ControlStyle;

    virtual void Invalidate();
    void Repaint();
    void Update();
    void BringToFront();

    virtual void Click();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

protected:
    virtual String GetText();
    virtual void SetTextValue(const String& v);  // stores it (window text or the field)
    virtual void Resize();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void DblClick();
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Mouse messages with client coordinates (used by both kinds of control).
    bool HandleMouse(TMessage& m);

    void FontChanged(TObject* Sender);
    // The window text of a control without a window.
    String text_;

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;

private:
    friend class TWinControl;
    friend class TForm;
    TWinControl* parent_ = nullptr;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    bool parentFont_ = true;
    TBiDiMode biDiMode_ = bdLeftToRight;
    bool parentBiDiMode_ = true;
    TFont font_;
    TPopupMenu* popupMenu_ = nullptr;
    TBasicAction* action_ = nullptr;
    bool mousePressed_ = false;
};

// The parameters a window is created with; a control's CreateParams fills them in.
struct TCreateParams {
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    // A platform class (EDIT, BUTTON, RICHEDIT, ...) to subclass, or empty for our own class.
    String WinClassName;
    // Our own class under a name of its own ("TForm1"), for windows other programs find by
    // class; empty: the framework's common class.
    String OwnClassName;
    UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window, created on first use (the parent's window first). A hidden control's window
    // waits until the control is shown or its handle is asked for.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys and creates the window again, keeping the control's state.
    void RecreateWnd();
    // The control that owns this window, or nullptr.
    static TWinControl* FromHandle(HWND Window);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int Index) const { return controls_[static_cast<size_t>(Index)]; }

    bool Focused();
    virtual bool CanFocus();
    virtual void SetFocus();
    bool TabStop = false;

    // Lays out the aligned children again.
    void Realign();
    // Between the two, showing, hiding and resizing aligned children lays nothing out; the
    // last EnableAlign lays them out once. A swap of two panels of one height then leaves the
    // rest where it was, instead of moving it twice.
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();

    void Dispatch(TMessage& Message) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetVisible(bool v) override;
    void SetEnabled(bool v) override;
    void Invalidate() override;
    TRect ClientRect() override;
    void SetParent(TWinControl* AParent) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // The window procedure the window had before the framework took it over (the platform
    // class's own, or DefWindowProc for ours). Messages not handled go there.
    WNDPROC DefWndProc() const { return defWndProc_; }

protected:
    virtual void CreateParams(TCreateParams& Params);
    // Makes the window from CreateParams and takes it over; then creates the visible
    // children's.
    virtual void CreateWnd();
    // The window itself (CreateWnd's first step): made and taken over, or no handle.
    virtual void CreateWindowHandle(const TCreateParams& Params);
    // Keeps what the window holds (text) and destroys it; the children's go with it.
    virtual void DestroyWnd();
    // Hands the message to the window's original procedure.
    virtual void DefaultHandler(TMessage& Message);
    // Paints our own class's window (TCustomControl); standard classes paint themselves.
    virtual void PaintWindow(HDC DC);
    // Paints the graphic children on DC (in the window's client coordinates).
    void PaintControls(HDC DC);
    virtual void AlignControls(TRect& Rect);
    // A child came, went, or was shown or hidden: aligned children are laid out again.
    virtual void ControlChanged(TControl* Child);
    // A control inside this one (at any depth) took the focus.
    virtual void DescendantFocused(TWinControl* Control) {}
    // The rectangle the aligned children share (a panel's border is taken off).
    virtual TRect AlignRect() { return ClientRect(); }

    String GetText() override;
    void SetTextValue(const String& v) override;

    // Keyboard, with the order the framework promises: the form's shortcuts (actions and
    // menus) first, then the form's key preview, then this control's event.
    virtual bool DoKeyDown(WORD& Key, TShiftState Shift);
    virtual bool DoKeyUp(WORD& Key, TShiftState Shift);
    virtual bool DoKeyPress(char& Key);
    // The colours a standard control paints with (WM_CTLCOLOR*): our Color and Font.
    virtual LRESULT CtlColor(HDC DC);

private:
    friend class TControl;
    friend class TForm;  // a form shows and hides itself, and tells its parent as TControl does
    friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK InitWndProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void CreateHandle();
    // A window made after some of its later siblings goes to its place among them.
    void TakeSiblingOrder();
    void AttachHandle(HWND h);
    void DetachHandle();
    TControl* GraphicControlAt(int x, int y);
    // Our own window class (as against a subclassed platform class).
    bool HasOwnClass() const { return defWndProc_ == DefWindowProcA; }

    // The handlers Dispatch calls. Those giving bool return true when the message is done
    // with, false when the window's original procedure is to have it too.
    bool WMCommand(TMessage& m);
    // A child's notification to its parent goes back to that child as CN_BASE + the message.
    bool ReflectNotification(TMessage& m, HWND Sender);
    void WMWindowPosChanged(TMessage& m);
    void WMSize(TMessage& m);
    void WMPaint(TMessage& m);
    bool WMPrintClient(TMessage& m);
    bool WMEraseBkgnd(TMessage& m);
    void WMSetFocus(TMessage& m);
    void WMKillFocus(TMessage& m);
    bool WMKeyDown(TMessage& m);
    bool WMKeyUp(TMessage& m);
    bool WMChar(TMessage& m);
    bool WMSysChar(TMessage& m);
    bool WMContextMenu(TMessage& m);
    void BiDiModeChanged();
    bool RouteMouseToGraphicChild(TMessage& m);

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    std::vector<TControl*> controls_;
    bool aligning_ = false;
    int alignDisabled_ = 0;
    TOwnedGdiObject<HBRUSH> ctlBrush_;
    TColor ctlBrushColor_ = clNone;
    TControl* mouseControl_ = nullptr;  // graphic child holding the mouse
    TControl* hoverControl_ = nullptr;  // graphic child under the mouse
    bool destroyingHandle_ = false;
};

// A canvas on a control: the parent's window DC moved to the control's place and clipped to
// it, acquired on first use and given back when the message loop goes idle.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : control_(control) {}
    ~TControlCanvas() override;
    // Gives the DC back now (the idle loop does this for all canvases).
    void FreeHandle() override;
    static void FreeAllHandles();
    // Borrows DC for one paint; the previous state comes back after.
    void BeginPaint(HDC dc);
    void EndPaint();

protected:
    void CreateHandle() override;

private:
    TControl* control_;
    HWND window_ = nullptr;
    bool painting_ = false;
};

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return &canvas_; }
    void Dispatch(TMessage& Message) override;
    // Paints on DC (the parent's, already moved to this control's origin).
    void PaintOn(HDC DC);

protected:
    virtual void Paint() {}

private:
    TControlCanvas canvas_;
};

// A window of our own class that paints itself on its canvas (panels, tool bars, forms).
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return &canvas_; }

protected:
    void PaintWindow(HDC DC) override;
    virtual void Paint();

private:
    TCanvas canvas_;
};

// The form a control sits on, or nullptr.
TForm* GetParentForm(TControl* Control);
