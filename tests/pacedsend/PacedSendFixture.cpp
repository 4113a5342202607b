// The options dialog's answers: a thread timer whose procedure runs inside the dialog's modal
// loop.
#include "PacedSendFixture.h"

#include <deque>

namespace pacedsend_test {
namespace {

std::deque<std::function<void(TAdvSendFile_dlg&)>> answers;
UINT_PTR answerTimer = 0;

void CALLBACK AnswerWhenShown(HWND, UINT, UINT_PTR, DWORD)
{
    if (answers.empty() || !AdvSendFile_dlg || !AdvSendFile_dlg->Modal() ||
        !AdvSendFile_dlg->Visible())
        return;
    auto act = std::move(answers.front());
    answers.pop_front();
    if (answers.empty()) {
        KillTimer(nullptr, answerTimer);
        answerTimer = 0;
    }
    act(*AdvSendFile_dlg);
}

}  // namespace

void AnswerOptions(std::function<void(TAdvSendFile_dlg&)> Act)
{
    answers.push_back(std::move(Act));
    if (answerTimer == 0) answerTimer = SetTimer(nullptr, 0, 10, AnswerWhenShown);
}

int UnusedOptionAnswers()
{
    const int unused = static_cast<int>(answers.size());
    answers.clear();
    if (answerTimer != 0) KillTimer(nullptr, answerTimer);
    answerTimer = 0;
    return unused;
}

}  // namespace pacedsend_test
