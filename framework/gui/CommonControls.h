// The platform's common controls: status bar with panels, progress bar, track bar, up-down,
// image lists with overlays; and the tool bar with tool buttons (ours, drawn with the
// tool bar's image list).
#pragma once

#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "framework/gui/Control.h"

void InitCommonControlsOnce();

class TStatusBar;

class TStatusPanel {
public:
    String Text() const { return text_; }
    void SetText(const String& v);
    int Width() const { return width_; }
    void SetWidth(int v);
    TAlignment Alignment = taLeftJustify;
    int Index() const { return index_; }

private:
    friend class TStatusBar;
    TStatusBar* bar_ = nullptr;
    String text_;
    int width_ = 50;
    int index_ = 0;
};

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;
    TStatusPanel* AddPanel();
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    TStatusPanel* Panels(int Index) const { return panels_[static_cast<size_t>(Index)]; }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    String SimpleText() const { return simpleText_; }
    void SetSimpleText(const String& v);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;

private:
    friend class TStatusPanel;
    void UpdatePanels();
    void UpdatePanelText(int Index);
    std::vector<TStatusPanel*> panels_;
    bool simplePanel_ = false;
    String simpleText_;
};

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int Min, int Max);
    void SetMin(int v) { SetRange(v, max_); }
    void SetMax(int v) { SetRange(min_, v); }
    int Position() const { return position_; }
    void SetPosition(int v);
    int Step = 10;
    void StepIt() { SetPosition(position_ + Step); }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    int min_ = 0, max_ = 100, position_ = 0;
};

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetMin(int v)
    {
        min_ = v;
        Apply();
    }
    void SetMax(int v)
    {
        max_ = v;
        Apply();
    }
    int Position();
    void SetPosition(int v);  // fires OnChange when it changes, as the user's moves do
    int Frequency = 1;
    TTrackBarOrientation Orientation = trHorizontal;
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    void Apply();
    int min_ = 0, max_ = 10, position_ = 0;
};

enum TUDBtnType { btNext, btPrev };
enum TUDOrientation { udVertical, udHorizontal };
using TUDClickEvent = TClosure<void(TObject* Sender, TUDBtnType Button)>;

class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;
    int Min = 0;
    int Max = 100;
    int Increment = 1;
    bool Wrap = false;
    // The arrow keys step the position while the up-down has the focus (set before its
    // window is made).
    bool ArrowKeys = true;
    TUDOrientation Orientation = udVertical;
    // With an associate showing a number, that number (within Min..Max): the user may have
    // typed it, or the program set it, since the last step.
    int Position();
    void SetPosition(int v);
    // The edit (or other control) whose text follows the position.
    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* v);
    TUDClickEvent OnClick;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    int position_ = 0;
    TWinControl* associate_ = nullptr;
};

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* AOwner);
    ~TImageList() override;
    int Width = 16;
    int Height = 16;
    HIMAGELIST Handle();
    int Count();
    // Adds the image(s) of Image (several when it is wider than Width); Mask may be nullptr.
    int Add(TBitmap* Image, TBitmap* Mask);
    // Adds with the pixels of MaskColor transparent.
    int AddMasked(TBitmap* Image, TColor MaskColor);
    // Makes image ImageIndex overlay number Overlay (0 to 3).
    bool Overlay(int ImageIndex, int Overlay);
    // The image that overlay number Overlay shows, or -1.
    int OverlayImage(int Overlay) const
    {
        return Overlay >= 0 && Overlay < 4 ? overlayImages_[Overlay] : -1;
    }
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
    // Image Index as a glyph: drawn on a fuchsia ground, which its bottom-left pixel then
    // names as the see-through colour.
    void GetBitmap(int Index, TBitmap* Image);
    void Clear();

private:
    HIMAGELIST handle_ = nullptr;
    int overlayImages_[4] = {-1, -1, -1, -1};
};

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v)
    {
        imageIndex_ = v;
        Invalidate();
    }
    TToolButtonStyle Style = tbsButton;
    bool Down() const { return down_; }
    void SetDown(bool v);
    bool Grouped = false;
    void Click() override;  // a check button toggles Down first
protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void ActionChanged() override;

private:
    int imageIndex_ = -1;
    bool down_ = false, pressed_ = false, hot_ = false;
};

// Lays its tool buttons out in rows, wrapping when a row is full (a narrow bar is vertical).
class TToolBar : public TCustomControl {
public:
    explicit TToolBar(TComponent* AOwner);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* v);
    int ButtonWidth = 23;
    int ButtonHeight = 22;
    bool Flat = true;
    bool ShowCaptions = false;
    int Indent = 0;

protected:
    void AlignControls(TRect& Rect) override;
    void ControlChanged(TControl* Child) override { Realign(); }
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TImageList* images_ = nullptr;
};
