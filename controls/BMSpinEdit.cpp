// The spin edit with its up-down, drop button, pop-up track bar and gauge.
#include "controls/BMSpinEdit.h"

#include <algorithm>
#include <cmath>

#include "controls/SpinGaugeMath.h"
#include "framework/Exceptions.h"
#include "framework/FloatText.h"
#include "framework/gui/DialogService.h"

namespace {

// The control's own messages to the user.
constexpr const char* NotAFiniteValue = "Invalid value for a spin edit: %s";

// Posted after an up-down click: the up-down's own position goes back to the middle of its
// range, so that it never stands at an end where a click in that direction does nothing.
constexpr UINT ResetUpDownMessage = 3328;
constexpr int UpDownMiddle = 50;

constexpr int ButtonWidth = 13;
constexpr int UpDownLeft = 1, DropButtonLeft = 15;
constexpr int PanelWidthWithDrop = DropButtonLeft + ButtonWidth + 1;
constexpr int PanelWidthWithoutDrop = UpDownLeft + ButtonWidth + 1;
constexpr int PopupBorderWidth = 4;
// How thick the pop-up is across its track bar.
constexpr int TrackBarThickness = 45;
constexpr int ThumbLength = 15;
constexpr int TickFrequency = 50;
constexpr int MinTrackBarWidth = 50, MaxTrackBarWidth = 300;
constexpr int MaxPrecision = 6;

// The pop-up's track bar: ticks on both sides and a thumb of fixed length.
class TDropTrackBar : public TTrackBar {
public:
    using TTrackBar::TTrackBar;

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TTrackBar::CreateParams(Params);
        Params.Style |= TBS_BOTH | TBS_FIXEDLENGTH;
    }
    void CreateWnd() override
    {
        TTrackBar::CreateWnd();
        SendMessageA(Handle(), TBM_SETTHUMBLENGTH, ThumbLength, 0);
    }
};

}  // namespace

// The panel of the two buttons. It holds the mouse while the drop button is pressed; when
// something else takes the mouse from it, the drop ends as if the button had been released.
class TBMSpinEdit::TButtonPanel : public TPanel {
public:
    explicit TButtonPanel(TBMSpinEdit* SpinEdit) : TPanel(SpinEdit), spinEdit_(SpinEdit) {}
    void Dispatch(TMessage& m) override
    {
        // The mouse is let go before the release reaches the drop button, whose release
        // handler ends the drop (and selects the text) itself.
        if (m.Msg == WM_LBUTTONUP) {
            releasing_ = true;
            TPanel::Dispatch(m);
            releasing_ = false;
            return;
        }
        TPanel::Dispatch(m);
        if (m.Msg == WM_CAPTURECHANGED && !releasing_) spinEdit_->EndDrop();
    }

private:
    TBMSpinEdit* spinEdit_;
    bool releasing_ = false;
};

// ---- TBMPopupForm ------------------------------------------------------------------------
TBMPopupForm::TBMPopupForm(TComponent* AOwner) : TForm(AOwner)
{
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
}

void TBMPopupForm::CreateParams(TCreateParams& p)
{
    TForm::CreateParams(p);
    // A child window of the desktop: shown without taking the activation (the spin edit keeps
    // the focus) yet free of the form's bounds.
    p.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;
    p.WndParent = GetDesktopWindow();
}

// ---- TBMSpinEdit -------------------------------------------------------------------------
TBMSpinEdit::TBMSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner)
{
    panel_ = new TButtonPanel(this);
    panel_->SetBevelOuter(bvNone);
    panel_->SetColor(clBtnFace);
    panel_->SetParent(this);

    gauge_ = new TAGauge(this, this);
    gauge_->SetParent(this);

    upDown_ = new TUpDown(this);
    upDown_->ArrowKeys = true;
    upDown_->Wrap = true;
    upDown_->Min = 0;
    upDown_->Max = 100;
    upDown_->Increment = 1;
    upDown_->SetPosition(1);
    upDown_->SetBounds(UpDownLeft, 1, ButtonWidth, 17);
    upDown_->OnClick = TUDClickEvent(this, &TBMSpinEdit::UpDownClick);
    upDown_->SetParent(panel_);

    dropButton_ = new TSpeedButton(this);
    dropButton_->SetBounds(DropButtonLeft, 1, ButtonWidth, 17);
    dropButton_->NumGlyphs = 1;
    // Held down while its pop-up shows (only a button of a group stays down).
    dropButton_->GroupIndex = 1;
    dropButton_->AllowAllUp = true;
    dropButton_->OnMouseDown = TMouseEvent(this, &TBMSpinEdit::DropMouseDown);
    dropButton_->OnMouseMove = TMouseMoveEvent(this, &TBMSpinEdit::DropMouseMove);
    dropButton_->OnMouseUp = TMouseEvent(this, &TBMSpinEdit::DropMouseUp);
    dropButton_->SetParent(panel_);

    popup_ = new TBMPopupForm(this);
    popup_->OnShow = TNotifyEvent(this, &TBMSpinEdit::OnFormShow);
    popupPanel_ = new TPanel(popup_);
    popupPanel_->SetBorderWidth(PopupBorderWidth);
    popupPanel_->SetParent(popup_);
    popupPanel_->SetAlign(alClient);
    trackBar_ = new TDropTrackBar(popup_);
    trackBar_->TabStop = false;
    trackBar_->SetMin(0);
    trackBar_->SetMax(TrackSteps);
    trackBar_->Frequency = TickFrequency;
    trackBar_->SetParent(popupPanel_);
    trackBar_->SetAlign(alClient);

    SetButtonHandle();
    SetTextValue("0");
    SetBounds(Left(), Top(), Width(), Height());
}

TBMSpinEdit::~TBMSpinEdit()
{
    // The pop-up is a window of its own (not a child of ours): it goes first, while the
    // handlers it calls still have a whole spin edit.
    EndDrop();
    delete popup_;
}

void TBMSpinEdit::CreateParams(TCreateParams& p)
{
    TCustomEdit::CreateParams(p);
    // The buttons and the gauge are child windows of the edit.
    p.Style |= WS_CLIPCHILDREN;
}

void TBMSpinEdit::CreateWnd()
{
    TCustomEdit::CreateWnd();
    LayoutParts();
}

void TBMSpinEdit::DestroyWnd()
{
    EndDrop();
    TCustomEdit::DestroyWnd();
}

// ---- value -------------------------------------------------------------------------------
double TBMSpinEdit::GetValue()
{
    const String text = Trim(Text());
    if (text.empty() || text == "-") {
        SetText("0");
        return 0;
    }
    return StrToFloat(text);
}

bool TBMSpinEdit::TryShownValue(double& Value)
{
    const String text = Trim(Text());
    if (text.empty() || text == "-") {
        Value = 0;
        return true;
    }
    return TryStrToFloat(text, Value);
}

double TBMSpinEdit::CheckValue(double Value) const
{
    return CheckSpinValue(Value, minValue_, maxValue_);
}

void TBMSpinEdit::SetValue(double Value)
{
    if (!std::isfinite(Value)) throw EConvertError(NotAFiniteValue, FormatFixed(Value, 0));
    // Text that is no number (typed by the user) is simply replaced.
    double shown;
    if (TryShownValue(shown) && shown == Value) return;
    ShowValue(CheckValue(Value));
}

void TBMSpinEdit::ShowValue(double Value)
{
    showingValue_ = true;
    try {
        SetText(FormatFixed(Value, precision_));
    } catch (...) {
        showingValue_ = false;
        throw;
    }
    showingValue_ = false;
    gauge_->Invalidate();
    if (popup_->Visible()) UpdateFormView();
    if (!ComponentState().Contains(csLoading)) TCustomEdit::Change();
}

void TBMSpinEdit::Change()
{
    // SetValue reports its own change once the text, gauge and track bar all show it.
    if (showingValue_) return;
    gauge_->Invalidate();
    TCustomEdit::Change();
}

// ---- properties --------------------------------------------------------------------------
void TBMSpinEdit::SetMinValue(double Value)
{
    minValue_ = Value;
    double shown;
    if (TryShownValue(shown) && CheckValue(shown) != shown) ShowValue(CheckValue(shown));
    gauge_->Invalidate();
}

void TBMSpinEdit::SetMaxValue(double Value)
{
    maxValue_ = Value;
    double shown;
    if (TryShownValue(shown) && CheckValue(shown) != shown) ShowValue(CheckValue(shown));
    gauge_->Invalidate();
}

void TBMSpinEdit::SetPrecision(int Value)
{
    precision_ = std::clamp(Value, 0, MaxPrecision);
    double shown;
    if (TryShownValue(shown)) ShowValue(shown);
}

void TBMSpinEdit::SetGaugeMinValue(double Value)
{
    gaugeMinValue_ = Value;
    gauge_->Invalidate();
}

void TBMSpinEdit::SetGaugeMaxValue(double Value)
{
    gaugeMaxValue_ = Value;
    gauge_->Invalidate();
}

void TBMSpinEdit::SetGaugeAroundCenter(double Value)
{
    gauge_->Centre = Value;
    gauge_->Invalidate();
}

void TBMSpinEdit::SetGuageBeginColor(TColor Value)
{
    gauge_->BeginColor = Value;
    gauge_->Invalidate();
}

void TBMSpinEdit::SetGuageEndColor(TColor Value)
{
    gauge_->EndColor = Value;
    gauge_->Invalidate();
}

void TBMSpinEdit::SetGuageHeight(int Value)
{
    guageHeight_ = std::max(Value, 0);
    SetBounds(Left(), Top(), Width(), Height());
}

void TBMSpinEdit::SetTrackBarWidth(int Value)
{
    trackBarWidth_ = std::clamp(Value, MinTrackBarWidth, MaxTrackBarWidth);
}

void TBMSpinEdit::SetTrackBarOrientation(TTrackBarOrientation Value)
{
    trackBarOrientation_ = Value;
    SetButtonHandle();
}

void TBMSpinEdit::SetTrackBarEnabled(bool Value)
{
    trackBarEnabled_ = Value;
    if (!Value) EndDrop();
    dropButton_->SetVisible(Value);
    SetBounds(Left(), Top(), Width(), Height());
    Invalidate();
}

void TBMSpinEdit::SetButtonHandle()
{
    const bool vertical = trackBarOrientation_ == trVertical;
    if (trackBar_->Orientation != trackBarOrientation_) {
        trackBar_->Orientation = trackBarOrientation_;
        if (trackBar_->HandleAllocated()) trackBar_->RecreateWnd();
    }
    TBitmap glyph;
    glyph.LoadFromResourceName(nullptr, vertical ? "DropLeft" : "DropDown");
    dropButton_->SetGlyph(&glyph);
    SizePopup();
}

void TBMSpinEdit::SizePopup()
{
    const bool vertical = trackBarOrientation_ == trVertical;
    popup_->SetBounds(popup_->Left(), popup_->Top(), vertical ? TrackBarThickness : trackBarWidth_,
                      vertical ? trackBarWidth_ : TrackBarThickness);
}

// ---- layout ------------------------------------------------------------------------------
int TBMSpinEdit::MinimumHeight()
{
    HDC dc = GetDC(nullptr);
    TEXTMETRICA metrics{};
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    GetTextMetricsA(dc, &metrics);
    const int systemHeight = metrics.tmHeight;
    SelectObject(dc, Font()->Handle());
    GetTextMetricsA(dc, &metrics);
    const int fontHeight = metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return guageHeight_ + 4 * GetSystemMetrics(SM_CYBORDER) +
           std::min(systemHeight, fontHeight) / 4 + fontHeight + 3;
}

void TBMSpinEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, std::max(AHeight, MinimumHeight()));
    LayoutParts();
}

void TBMSpinEdit::LayoutParts()
{
    TRect client = ClientRect();
    if (!HandleAllocated()) {
        // Until the window exists, its client area is the bounds less the sunken edge.
        const int edgeX = GetSystemMetrics(SM_CXEDGE), edgeY = GetSystemMetrics(SM_CYEDGE);
        client = Rect(0, 0, std::max(Width() - 2 * edgeX, 0), std::max(Height() - 2 * edgeY, 0));
    }
    const int gaugeTop = std::max(client.Height() - guageHeight_, 0);
    const int panelWidth = trackBarEnabled_ ? PanelWidthWithDrop : PanelWidthWithoutDrop;
    const int buttonHeight = std::max(gaugeTop - 2, 0);
    panel_->SetBounds(client.Width() - panelWidth, 0, panelWidth, gaugeTop);
    upDown_->SetBounds(UpDownLeft, 1, ButtonWidth, buttonHeight);
    dropButton_->SetBounds(DropButtonLeft, 1, ButtonWidth, buttonHeight);
    gauge_->SetBounds(0, gaugeTop, client.Width(), guageHeight_);
    SetEditRect();
}

void TBMSpinEdit::SetEditRect()
{
    if (!HandleAllocated()) return;
    // A single-line edit has no formatting rectangle to set (that message is for multi-line
    // edits): its right margin keeps the typed text clear of the buttons instead, and the
    // gauge lies below the line of text.
    SendMessageA(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, panel_->Width() + 1));
}

// ---- up-down and keys --------------------------------------------------------------------
void TBMSpinEdit::UpDownClick(TObject*, TUDBtnType Button)
{
    if (CanFocus()) SetFocus();
    const double value = GetValue();
    SetValue(Button == btNext ? SpinUp(value, increment_, minValue_, maxValue_)
                              : SpinDown(value, increment_, minValue_, maxValue_));
    if (HandleAllocated()) PostMessageA(Handle(), ResetUpDownMessage, 0, 0);
}

bool TBMSpinEdit::DoKeyDown(WORD& Key, TShiftState Shift)
{
    if (Key == VK_UP || Key == VK_DOWN) {
        UpDownClick(this, Key == VK_UP ? btNext : btPrev);
        // Consumed; the inherited handling still runs (OnKeyDown hears of it, with key 0).
        Key = 0;
        TCustomEdit::DoKeyDown(Key, Shift);
        return true;
    }
    if (Key == VK_DELETE && !EditorEnabled) {
        Key = 0;
        Beep();
        return true;
    }
    return TCustomEdit::DoKeyDown(Key, Shift);
}

bool TBMSpinEdit::DoKeyPress(char& Key)
{
    if (TCustomEdit::DoKeyPress(Key)) return true;
    // With the editor off, only the keys that do not edit pass: Tab, Enter, Escape, copy.
    const bool edits = Key != '\t' && Key != '\r' && Key != '\x1B' && Key != '\x03';
    if (!EditorEnabled && edits) {
        Key = 0;
        Beep();
        return true;
    }
    return false;
}

void TBMSpinEdit::SelectOnEntry()
{
    if (AutoSelect && HandleAllocated() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
}

// ---- drop button and pop-up --------------------------------------------------------------
void TBMSpinEdit::UpdateFormView()
{
    double value;
    if (!TryShownValue(value)) return;
    trackBar_->SetPosition(
        TrackPosition(value, TrackSpan(minValue_, maxValue_), trackBarOrientation_ == trVertical));
}

void TBMSpinEdit::DropMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y)
{
    if (Button != mbLeft || dropped_) return;
    if (CanFocus()) SetFocus();
    pressPoint_ = dropButton_->ClientToScreen(Point(X, Y));
    SizePopup();
    // Below the button, or beside it for a vertical bar; OnFormShow then slides it along the
    // bar so that the thumb lies under the mouse.
    const TPoint corner = trackBarOrientation_ == trVertical
                              ? dropButton_->ClientToScreen(Point(-popup_->Width(), 0))
                              : dropButton_->ClientToScreen(Point(0, dropButton_->Height()));
    popup_->SetBounds(corner.x, corner.y, popup_->Width(), popup_->Height());
    UpdateFormView();
    dropped_ = true;
    dropButton_->SetDown(true);
    popup_->Show();
}

void TBMSpinEdit::OnFormShow(TObject*)
{
    RECT thumb{};
    SendMessageA(trackBar_->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT centre{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    MapWindowPoints(trackBar_->Handle(), HWND_DESKTOP, &centre, 1);
    if (trackBarOrientation_ == trVertical)
        popup_->SetTop(popup_->Top() + pressPoint_.y - centre.y);
    else
        popup_->SetLeft(popup_->Left() + pressPoint_.x - centre.x);
}

void TBMSpinEdit::DropMouseMove(TObject*, TShiftState, int X, int Y)
{
    if (dropped_) TrackFromScreen(dropButton_->ClientToScreen(Point(X, Y)));
}

void TBMSpinEdit::TrackFromScreen(TPoint Screen)
{
    HWND bar = trackBar_->Handle();
    RECT channel{}, thumb{};
    SendMessageA(bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageA(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    POINT at{Screen.x, Screen.y};
    ::ScreenToClient(bar, &at);
    const bool vertical = trackBarOrientation_ == trVertical;
    int start, length, mouse, thumbLength;
    if (vertical) {
        // Some versions of the control report a vertical bar's channel as if it lay flat.
        const bool flat = channel.right - channel.left > channel.bottom - channel.top;
        start = flat ? channel.left : channel.top;
        length = flat ? channel.right - channel.left : channel.bottom - channel.top;
        mouse = at.y;
        thumbLength = thumb.bottom - thumb.top;
    } else {
        start = channel.left;
        length = channel.right - channel.left;
        mouse = at.x;
        thumbLength = thumb.right - thumb.left;
    }
    // The thumb's centre travels from half a thumb inside one end of the channel to half a
    // thumb inside the other.
    const double travel = std::max(length - thumbLength, 1);
    const double fraction = (mouse - start - thumbLength / 2.0) / travel;
    const double value = TrackValueAt(fraction, TrackSpan(minValue_, maxValue_), vertical);
    SetValue(SnapValue(value, gauge_->SnapStep));
}

void TBMSpinEdit::DropMouseUp(TObject*, TMouseButton Button, TShiftState, int, int)
{
    if (Button != mbLeft || !dropped_) return;
    EndDrop(true);
    SelectOnEntry();
}

void TBMSpinEdit::EndDrop(bool ButtonReleased)
{
    if (!dropped_) return;
    dropped_ = false;
    popup_->Hide();
    dropButton_->SetDown(false);
    if (panel_->HandleAllocated() && GetCapture() == panel_->Handle()) ReleaseCapture();
    // The button would otherwise stay drawn pressed until the mouse next comes up over it.
    if (!ButtonReleased) dropButton_->Perform(WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
}

// ---- messages ----------------------------------------------------------------------------
void TBMSpinEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case ResetUpDownMessage:
        upDown_->SetPosition(UpDownMiddle);
        SelectOnEntry();
        gauge_->Invalidate();
        return;
    case WM_SETFOCUS:
        TCustomEdit::Dispatch(m);
        SelectOnEntry();
        return;
    case WM_KILLFOCUS: {
        TCustomEdit::Dispatch(m);
        // A pop-up left open would stay on the screen with nothing to close it.
        EndDrop();
        const double value = GetValue();
        if (CheckValue(value) != value) SetValue(CheckValue(value));
        return;
    }
    case WM_PASTE:
    case WM_CUT: m.Result = 0; return;
    case CM_FONTCHANGED:
        TCustomEdit::Dispatch(m);
        SetBounds(Left(), Top(), Width(), Height());
        return;
    case CM_COLORCHANGED:
        // The gauge paints its background in the edit's colour.
        TCustomEdit::Dispatch(m);
        gauge_->Invalidate();
        return;
    default: break;
    }
    TCustomEdit::Dispatch(m);
}
