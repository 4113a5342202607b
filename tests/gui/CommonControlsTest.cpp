// Tool bars and tool buttons, up-down, track bar, progress bar and image lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/gui/Action.h"
#include "framework/gui/CommonControls.h"
#include "framework/gui/Form.h"
#include "framework/gui/TextControls.h"
#include "tests/support/GuiTestSupport.h"

namespace {
struct Log {
    std::vector<std::string> seen;
    void Click(TObject* s) { seen.push_back("click " + static_cast<TComponent*>(s)->Name); }
    void Change(TObject* s) { seen.push_back("change " + static_cast<TComponent*>(s)->Name); }
    void UpDown(TObject*, TUDBtnType b) { seen.push_back(b == btNext ? "next" : "prev"); }
};

class CommonControlsTest : public ::testing::Test {
protected:
    CommonControlsTest() : form(new TForm(nullptr))
    {
        form->SetClientSize(300, 200);
        form->Show();
    }
    ~CommonControlsTest() override { delete form; }
    TForm* form;
    Log log;
};
}  // namespace

TEST_F(CommonControlsTest, ToolBarLaysButtonsOutInRowsAndWrapsWhenNarrow)
{
    auto* bar = new TToolBar(form);
    bar->SetParent(form);
    bar->SetAlign(alLeft);
    bar->SetWidth(50);  // two buttons a row
    std::vector<TToolButton*> buttons;
    for (int i = 0; i < 5; ++i) {
        auto* b = new TToolButton(form);
        b->SetParent(bar);
        buttons.push_back(b);
    }
    EXPECT_EQ(buttons[0]->BoundsRect(), Bounds(0, 0, 23, 22));
    EXPECT_EQ(buttons[1]->BoundsRect(), Bounds(23, 0, 23, 22));
    EXPECT_EQ(buttons[2]->BoundsRect(), Bounds(0, 22, 23, 22));
    buttons[1]->SetVisible(false);
    EXPECT_EQ(buttons[2]->BoundsRect(), Bounds(23, 0, 23, 22));
}

TEST_F(CommonControlsTest, CheckToolButtonTogglesBeforeItsClickAndFollowsItsAction)
{
    auto* bar = new TToolBar(form);
    bar->SetParent(form);
    auto* edit = new TToolButton(form);
    edit->Name = "Tr_edit_tbn";
    edit->SetParent(bar);
    edit->Style = tbsCheck;
    struct Seen {
        TToolButton* b;
        std::vector<bool> down;
        void Click(TObject*) { down.push_back(b->Down()); }
    } seen{edit};
    edit->OnClick = Closure(&seen, &Seen::Click);
    ClickAt(bar->Handle(), 5, 5);
    ClickAt(bar->Handle(), 5, 5);
    EXPECT_EQ(seen.down, (std::vector<bool>{true, false}));

    auto* run = new TToolButton(form);
    run->SetParent(bar);
    auto* list = new TActionList(form);
    TAction* action = NewAction(form, list, "Run", Closure(&log, &Log::Click));
    action->Name = "ActionRun";
    run->SetAction(action);
    action->SetEnabled(false);
    EXPECT_FALSE(run->Enabled());
    ClickAt(bar->Handle(), 30, 5);
    EXPECT_TRUE(log.seen.empty());  // disabled: no mouse, no run
    action->SetEnabled(true);
    ClickAt(bar->Handle(), 30, 5);
    EXPECT_EQ(log.seen, std::vector<std::string>{"click ActionRun"});
}

TEST_F(CommonControlsTest, UpDownStepsWithinItsRangeAndUpdatesItsEdit)
{
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    auto* ud = new TUpDown(form);
    ud->SetParent(form);
    ud->Min = 0;
    ud->Max = 3;
    ud->SetAssociate(edit);
    ud->OnClick = Closure(&log, &Log::UpDown);
    NMUPDOWN nm{};
    nm.hdr = {ud->Handle(), 0, static_cast<UINT>(UDN_DELTAPOS)};
    nm.iDelta = 1;
    for (int i = 0; i < 5; ++i)
        SendMessageA(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(ud->Position(), 3);
    EXPECT_EQ(edit->Text(), "3");
    nm.iDelta = -1;
    SendMessageA(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(edit->Text(), "2");
    EXPECT_EQ(log.seen.size(), 6u);
    EXPECT_EQ(log.seen.back(), "prev");
}

TEST_F(CommonControlsTest, TrackBarAndProgressBarKeepTheirPositionsInRange)
{
    auto* track = new TTrackBar(form);
    track->Name = "TrackBar1";
    track->SetParent(form);
    track->SetMax(20);
    track->OnChange = Closure(&log, &Log::Change);
    track->SetPosition(15);
    track->SetPosition(15);
    track->SetPosition(99);
    EXPECT_EQ(track->Position(), 20);
    EXPECT_EQ(SendMessageA(track->Handle(), TBM_GETPOS, 0, 0), 20);
    EXPECT_EQ(log.seen.size(), 2u);
    // The user drags the thumb: the control moves and tells its parent.
    SendMessageA(track->Handle(), TBM_SETPOS, TRUE, 4);
    SendMessageA(form->Handle(), WM_HSCROLL, TB_THUMBTRACK,
                 reinterpret_cast<LPARAM>(track->Handle()));
    EXPECT_EQ(track->Position(), 4);
    EXPECT_EQ(log.seen.size(), 3u);

    auto* progress = new TProgressBar(form);
    progress->SetParent(form);
    progress->SetRange(0, 50);
    progress->SetPosition(70);
    EXPECT_EQ(progress->Position(), 50);
    EXPECT_EQ(SendMessageA(progress->Handle(), PBM_GETPOS, 0, 0), 50);
}

TEST_F(CommonControlsTest, ImageListCutsAStripAndDrawsWithOverlays)
{
    TImageList images(nullptr);
    TBitmap strip;
    strip.SetSize(16 * 21, 16);
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Rect(16 * 7, 0, 16 * 8, 16));
    EXPECT_EQ(images.AddMasked(&strip, clWhite), 0);
    EXPECT_EQ(images.Count(), 21);
    EXPECT_TRUE(images.Overlay(7, 0));
    EXPECT_TRUE(images.Overlay(20, 1));
    TBitmap target;
    target.SetSize(16, 16);
    images.Draw(target.Canvas(), 0, 0, 7);
    EXPECT_EQ(GetPixel(target.Canvas()->Handle(), 8, 8), RGB(255, 0, 0));
}
