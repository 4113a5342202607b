// TCommEventChars: storing the DCB characters and handing changes to the owning port.
#include "comm/CommEventChars.h"

#include "comm/ThreadComm.h"

TCommEventChars::TCommEventChars(TThreadComm* Owner) : owner_(Owner) {}

void TCommEventChars::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TCommEventChars*>(Source)) {
        for (int i = 0; i < 5; ++i) chars_[i] = other->chars_[i];
        return;
    }
    TPersistent::Assign(Source);
}

void TCommEventChars::SetEventChar(int Index, char Value)
{
    if (Index < 1 || Index > 5) return;
    chars_[Index - 1] = Value;
    if (owner_) owner_->UpdateDataControlBlock();
}
