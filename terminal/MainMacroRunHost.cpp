// The main window's side of a macro run (TMacroRunHost): the Stop button, the key path, the
// macro editor and the port with its lamps, each onto the control or handler it stands for.
// The send bar's part is with the file send.
#include "terminal/Main.h"
#include "terminal/MacroRunner.h"

bool TForm1::StopEnabled() const { return stop_tbtn->Enabled(); }

void TForm1::SetStopEnabled(bool Enabled) { stop_tbtn->SetEnabled(Enabled); }

void TForm1::StopMacroRun() { stop_tbtnClick(nullptr); }

void TForm1::SendKeyPress(char& Key) { reScreenKeyPress(nullptr, Key); }

void TForm1::SelectInMacroData(int Start, int Length)
{
    ShowMacroEditor();
    Tr_edit_tbn->SetDown(true);
    // The node whose data string failed, even if the selection moved while its box was up,
    // or the editor showed another: the box the user answered says where the editor goes.
    // The run goes on with the next node, and the editor stays (SelectAsRun).
    if (runStepNode_ && TreeView->Selected() != runStepNode_) TreeView->SetSelected(runStepNode_);
    TreeViewClick(nullptr);
    if (!EditData->Visible() || !EditData->Enabled()) return;
    if (EditData->CanFocus()) EditData->SetFocus();
    EditData->SetSelStart(Start);
    EditData->SetSelLength(Length);
}

void TForm1::StepFailedWithBox()
{
    // The endless command would meet the same step again at once, its box back after every
    // OK with no moment between for Stop: it ends here, as on a closed port. A script once to
    // the end goes on with the next node.
    if (RunScope == TRunScope::Everything) StopMacroRun();
}

bool TForm1::PortEnabled() const { return Comm1->Enabled(); }

int TForm1::WriteToPort(std::uint8_t Byte)
{
    return Comm1->Write(reinterpret_cast<char*>(&Byte), 1);
}

void TForm1::SetControlLines(int Rts, int Dtr)
{
    // The lines first: a refusal raises before a lamp shows a state the line does not have.
    if (Rts >= 0) Comm1->SetRTSState(Rts == 1);
    if (Dtr >= 0) Comm1->SetDTRState(Dtr == 1);
    if (Rts >= 0) LED_RTS->SetState(Rts == 1);
    if (Dtr >= 0) LED_DTR->SetState(Dtr == 1);
}
