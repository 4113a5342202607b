// The serial port component: TComm publishes what TThreadComm implements. Include this
// header to use the port; it brings the value types, the DCB characters and the errors.
#pragma once

#include "comm/CommErrors.h"
#include "comm/CommEventChars.h"
#include "comm/CommTypes.h"
#include "comm/ThreadComm.h"

class TComm : public TThreadComm {
public:
    explicit TComm(TComponent* AOwner);
    ~TComm() override;
};
