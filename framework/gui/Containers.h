// Controls that hold or frame others: TPanel, TGroupBox, TScrollBox and TTabSheet in a
// TPageControl (windows of our own class), and the graphic TBevel, TSplitter and TPaintBox.
#pragma once

#include <vector>

#include "framework/gui/Control.h"

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel v)
    {
        bevelOuter_ = v;
        Realign();
        Invalidate();
    }
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel v)
    {
        bevelInner_ = v;
        Realign();
        Invalidate();
    }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v)
    {
        bevelWidth_ = v;
        Realign();
        Invalidate();
    }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v)
    {
        borderWidth_ = v;
        Realign();
        Invalidate();
    }
    TAlignment Alignment = taCenter;

protected:
    void Paint() override;
    TRect AlignRect() override;

private:
    TPanelBevel bevelOuter_ = bvRaised, bevelInner_ = bvNone;
    int bevelWidth_ = 1, borderWidth_ = 0;
};

class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    TRect AlignRect() override;
};

// A framed area for controls. Children that do not fit are reached through scroll bars, which show only while something
// lies outside the box (aligned children fill it and never need them).
class TScrollBox : public TCustomControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;
    // Where the view stands: how far the children are scrolled left and up.
    int HorzPosition() const { return pos_[0]; }
    int VertPosition() const { return pos_[1]; }
    void ScrollTo(int Horz, int Vert);
    // The scroll bars again after children were moved or resized.
    void UpdateScrollBars();

protected:
    void CreateParams(TCreateParams& Params) override;
    void AlignControls(TRect& Rect) override;
    void ControlChanged(TControl* Child) override;
    // A field tabbed to in a part the user cannot see is scrolled into view.
    void DescendantFocused(TWinControl* Control) override;

private:
    void Scroll(int Bar, WORD Request);
    int Extent(int Bar);  // how far the children reach, scrolled back to the start
    int pos_[2] = {0, 0};
    bool updating_ = false;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape = bsBox;
    TBevelStyle Style = bsLowered;

protected:
    void Paint() override;
};

// Drag it to resize the aligned control just before it (left of an alLeft splitter, above an
// alTop one, and so on).
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);
    int MinSize = 30;
    TNotifyEvent OnMoved;
    // The control this splitter resizes, or nullptr.
    TControl* ResizedControl();

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    TControl* dragging_ = nullptr;
    int startPos_ = 0, startSize_ = 0;
    int ScreenPos(int X, int Y);
};

class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* AOwner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

class TPageControl;

class TTabSheet : public TCustomControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* v);
    int PageIndex() const;
    void Dispatch(TMessage& Message) override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    void Dispatch(TMessage& Message) override;
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int Index) const { return pages_[static_cast<size_t>(Index)]; }
    TTabSheet* ActivePage() const { return active_; }
    void SetActivePage(TTabSheet* v);  // no OnChange (the user's choice fires it)
    int ActivePageIndex() const;
    void SetActivePageIndex(int v);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    TRect AlignRect() override;
    void AlignControls(TRect& Rect) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void UpdateTabs();
    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
};
