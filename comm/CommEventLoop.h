// Which loop a port's event thread runs: the system's wait for communication events, or a read
// that keeps the received bytes ahead of the port's Read, where each wait for received bytes
// that has to wait leaves blocks in the process heap for good (Wine 8).
#pragma once

#include <windows.h>

enum TCommEventLoop {
    elChoose,         // the read-ahead loop where a probe wait leaves blocks behind, else the wait
    elWaitCommEvent,  // always the wait (the loop the system's serial driver is made for)
    elReadAhead       // always the read-ahead
};

// For tests: every port opened afterwards runs this loop (elChoose: back to the probe's choice).
void SetCommEventLoop(TCommEventLoop Loop);
TCommEventLoop CommEventLoopSetting();

// The loop for a port that is opening, its device handle Port (main thread, before its event
// thread exists). The first call of the process that has to choose probes the device with one
// wait, a few ms; its answer holds for the process.
TCommEventLoop ChooseCommEventLoop(HANDLE Port);
