// The About box from the Help menu: modal (checked from inside its own loop), naming the
// product, centred, "About" again after closing; its links and the system information tool
// reach the shell seam with their exact targets, and a failing shell shows nothing.
#include <vector>

#include "DialogsFixture.h"
#include "dialogs/AboutBox.h"
#include "dialogs/ShellCalls.h"
#include "framework/gui/Screen.h"

namespace dialogs_test {
namespace {

class AboutBoxTest : public DialogsTest {
protected:
    void SetUp() override
    {
        DialogsTest::SetUp();
        Application->CreateForm(AboutBox);
        previous_ = SetShellExecutor([this](const TShellRequest& Request) {
            requests.push_back(Request);
            return INT_PTR{SE_ERR_FNF};
        });
    }
    void TearDown() override
    {
        SetShellExecutor(previous_);
        DialogsTest::TearDown();
    }
    std::vector<TShellRequest> requests;

private:
    TShellExecutor previous_;
};

TEST_F(AboutBoxTest, ShowsModallyCentredWithTheProductAndComesBackAsAbout)
{
    bool modal = false, mainDisabled = false;
    String version, description;
    TPoint place;
    FromTheMessageLoop([&] {
        modal = AboutBox->Modal() && AboutBox->Visible();
        mainDisabled = !IsWindowEnabled(Form1->Handle());
        version = AboutBox->Version_lbl->Caption();
        description = AboutBox->desc_lbl->Caption();
        place = Point(AboutBox->Left(), AboutBox->Top());
        AboutBox->SetCaption("changed while shown");
        ClickOn(AboutBox->sbtnOK);
    });
    Form1->HelpAboutClick(Form1->HelpAbout);

    EXPECT_TRUE(modal);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));
    EXPECT_FALSE(AboutBox->Visible());
    EXPECT_EQ(version, "Quorvalink Cobalt v4.0");
    EXPECT_EQ(description, "RS232 Data Analyser / Scripter");
    EXPECT_EQ(place.x, Screen->Width() / 2 - AboutBox->Width() / 2);
    EXPECT_EQ(place.y, Screen->Height() / 2 - AboutBox->Height() / 2);
    EXPECT_EQ(AboutBox->Caption(), "About");
    EXPECT_EQ(AboutBox->ClientWidth(), 373);
    EXPECT_EQ(AboutBox->ClientHeight(), 292);
}

TEST_F(AboutBoxTest, LinksAndSystemInfoGoToTheShellWithTheirTargetsAndAFailureShowsNothing)
{
    AboutBox->Show();
    ClickOn(AboutBox->Label10);
    ClickOn(AboutBox->Label5);
    ClickOn(AboutBox->sbtnSysInfo);

    ASSERT_EQ(requests.size(), 3u);
    const HWND box = AboutBox->Handle();
    EXPECT_EQ(requests[0].Owner, box);
    EXPECT_EQ(requests[0].Verb, "");
    EXPECT_EQ(requests[0].File, "http://quorvalink.example.com");
    EXPECT_EQ(requests[0].ShowCmd, SW_SHOWNORMAL);
    EXPECT_EQ(requests[1].Verb, "");
    EXPECT_EQ(requests[1].File, "mailto:support@quorvalink.example.com");
    EXPECT_EQ(requests[1].ShowCmd, SW_SHOWNORMAL);
    EXPECT_EQ(requests[2].Verb, "open");
    EXPECT_EQ(requests[2].File, "msinfo32.exe");
    EXPECT_EQ(requests[2].ShowCmd, SW_SHOWDEFAULT);
    EXPECT_TRUE(script.Shown().empty());
    EXPECT_TRUE(AboutBox->Visible());
}

TEST_F(AboutBoxTest, TheLinksShowTheHandCursor)
{
    AboutBox->Show();
    const TRect link = AboutBox->Label10->BoundsRect();
    const TPoint over = AboutBox->ClientToScreen(Point(link.Left + 2, link.Top + 2));
    ASSERT_TRUE(SetCursorPos(over.x, over.y));
    SendMessageA(AboutBox->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(AboutBox->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), Screen->Cursors(crHandPoint));
}

}  // namespace
}  // namespace dialogs_test
