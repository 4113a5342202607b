// The windows' own layout with the fonts this platform has: every control inside its parent's
// client area, every caption within its control, no two controls on top of each other.
#include <initializer_list>
#include <string>
#include <vector>

#include "DialogsFixture.h"
#include "framework/gui/Canvas.h"
#include "dialogs/PacedSendOptions.h"
#include "dialogs/StringEntryHelp.h"
#include "dialogs/ReadmeForm.h"
#include "settings/PropertiesForm.h"

namespace dialogs_test {
namespace {

// The width of a control's caption in its font, ampersands taken as the control draws them.
int CaptionWidth(TControl* Control)
{
    TBitmap scratch;
    scratch.Canvas()->Font()->Assign(Control->Font());
    return scratch.Canvas()->DrawTextExtent(Control->Caption(), DT_SINGLELINE).Width();
}

// The room a caption has: a label's whole width, a check box's beside its box (-1: none).
int CaptionRoom(TControl* Control)
{
    if (dynamic_cast<TLabel*>(Control)) return Control->Width();
    if (dynamic_cast<TCheckBox*>(Control)) return Control->Width() - 18;
    return -1;
}

// What the user would see cut or covered among the visible controls below Parent.
void CollectLayoutFaults(TWinControl* Parent, std::vector<std::string>& Faults)
{
    const TRect area = Parent->ClientRect();
    std::vector<TControl*> shown;
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TControl* c = Parent->Controls(i);
        // Every page of a page control counts, the one on top or not.
        if (!c->Visible() && !dynamic_cast<TTabSheet*>(c)) continue;
        shown.push_back(c);
        const TRect r = c->BoundsRect();
        if (r.Left < area.Left || r.Top < area.Top || r.Right > area.Right ||
            r.Bottom > area.Bottom)
            Faults.push_back(c->Name + " reaches out of " + Parent->Name);
        const int room = CaptionRoom(c);
        if (room >= 0 && CaptionWidth(c) > room) Faults.push_back(c->Name + " cuts its caption");
        if (auto* w = dynamic_cast<TWinControl*>(c)) CollectLayoutFaults(w, Faults);
    }
    // Aligned controls and the pages of a page control share their space by design.
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j) {
            TControl *a = shown[i], *b = shown[j];
            if (a->Align() != alNone || b->Align() != alNone || dynamic_cast<TTabSheet*>(a))
                continue;
            RECT overlap;
            const TRect ra = a->BoundsRect(), rb = b->BoundsRect();
            if (IntersectRect(&overlap, ra.Win(), rb.Win()))
                Faults.push_back(a->Name + " and " + b->Name + " overlap");
        }
}

std::vector<std::string> LayoutFaults(TForm* Form)
{
    std::vector<std::string> faults;
    CollectLayoutFaults(Form, faults);
    return faults;
}

class LayoutTest : public DialogsTest {};

TEST_F(LayoutTest, TheOptionsNotesAndSpecialSendWindowsShowAllOfTheirControls)
{
    Application->CreateForm(frmProp);
    Application->CreateForm(ReadmeForm);
    Application->CreateForm(AdvSendFile_dlg);
    Form1->settings_spbtnClick(Form1->settings_spbtn);
    Form1->Readme_sbtnClick(Form1->Readme_sbtn);  // before any notes file exists
    AdvSendFile_dlg->HandleNeeded();
    for (TForm* form : std::initializer_list<TForm*>{frmProp, ReadmeForm, AdvSendFile_dlg})
        EXPECT_EQ(LayoutFaults(form), std::vector<std::string>{}) << form->Name;
}

TEST_F(LayoutTest, EveryLampCaptionFitsBesideItsLamp)
{
    for (TLEDLabel* lamp : {Form1->LED_DTR, Form1->LED_RTS, Form1->LED_BRK, Form1->LED_RI,
                            Form1->LED_CTS, Form1->LED_DCD, Form1->LED_BRKD, Form1->LED_DSR})
        EXPECT_LE(CaptionWidth(lamp), lamp->CaptionRect().Width()) << lamp->Caption();
}

// Where each line of the rich edit ends, against the width its text is shown in.
std::vector<std::string> LinesPastTheRightEdge(TRichEditP* Edit)
{
    HWND h = Edit->Handle();
    RECT shown{};
    SendMessageA(h, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&shown));
    std::vector<std::string> cut;
    const auto lines = static_cast<int>(SendMessageA(h, EM_GETLINECOUNT, 0, 0));
    for (int i = 0; i < lines; ++i) {
        const auto start = static_cast<int>(SendMessageA(h, EM_LINEINDEX, i, 0));
        const auto length = static_cast<int>(SendMessageA(h, EM_LINELENGTH, start, 0));
        POINTL end{};
        SendMessageA(h, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&end), start + length);
        if (end.x > shown.right)
            cut.push_back(std::to_string(i) + ": " + std::to_string(end.x) + " > " +
                          std::to_string(shown.right));
    }
    return cut;
}

TEST_F(LayoutTest, TheEntryAndDataStringHelpPagesFitTheirWindowLineByLine)
{
    Application->CreateForm(frmStringEntryHelp);
    for (TMemo* page : {Form1->STR_ENTRY_TEXT_memo, Form1->SpecialStringMemo}) {
        frmStringEntryHelp->ShowPage(page->Text());
        EXPECT_EQ(LinesPastTheRightEdge(frmStringEntryHelp->STRING_ENTRY_HELP_re),
                  std::vector<std::string>{})
            << page->Name;
        frmStringEntryHelp->Close();
    }
}

}  // namespace
}  // namespace dialogs_test
