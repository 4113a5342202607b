// The serial port's value types: line-setting enumerations, option and event sets, the
// event closures its handlers are bound through, and the event-type to event-mask table.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/Events.h"
#include "framework/Sets.h"

enum TParity : std::uint8_t { paNone, paOdd, paEven, paMark, paSpace };
enum TStopBits : std::uint8_t { sb10, sb15, sb20 };
enum TDataBits : std::uint8_t { db4, db5, db6, db7, db8 };
enum TFlowControl : std::uint8_t { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };

enum TCommEventType : std::uint8_t {
    evBreak,
    evCts,
    evDsr,
    evError,
    evRing,
    evRlsd,
    evRxChar,
    evRxFlag,
    evTxEmpty
};
using TCommEventTypes = TSet<TCommEventType>;

enum TCommOption : std::uint8_t {
    coParityCheck,
    coDsrSensitivity,
    coIgnoreXOff,
    coErrorChar,
    coNullStrip
};
using TCommOptions = TSet<TCommOption>;

inline constexpr TCommEventTypes AllCommEvents{evBreak, evCts,    evDsr,    evError,  evRing,
                                               evRlsd,  evRxChar, evRxFlag, evTxEmpty};

// WaitCommEvent mask of each event type, in the order of TCommEventType.
inline constexpr DWORD CommEventMasks[] = {
    EV_BREAK, EV_CTS, EV_DSR, EV_ERR, EV_RING, EV_RLSD, EV_RXCHAR, EV_RXFLAG, EV_TXEMPTY,
};

constexpr DWORD CommEventMask(TCommEventTypes Events)
{
    DWORD mask = 0;
    for (unsigned i = 0; i < sizeof(CommEventMasks) / sizeof(CommEventMasks[0]); ++i)
        if (Events.Contains(static_cast<TCommEventType>(i))) mask |= CommEventMasks[i];
    return mask;
}

using TCommErrorEvent = TClosure<void(TObject* Sender, int Errors)>;
using TCommRxCharEvent = TClosure<void(TObject* Sender, DWORD Count)>;
using TCommStatEvent = TClosure<void(TObject* Sender, DWORD Status, COMSTAT ComStat)>;
// The event thread's hand-over to its port: (the thread, the event mask).
using TCommEventHandler = TClosure<void(TObject* Sender, unsigned long EventMask)>;
