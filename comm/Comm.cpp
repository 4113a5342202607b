// TComm: the published form of the serial port; all behaviour is TThreadComm's.
#include "comm/Comm.h"

TComm::TComm(TComponent* AOwner) : TThreadComm(AOwner) {}

TComm::~TComm() = default;
