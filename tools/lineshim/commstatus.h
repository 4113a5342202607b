/* The Wine-version-specific part of the line shim: makes ClearCommError report injected
 * line errors, which Wine 8 never fills in itself. Kept apart so a Wine upgrade that breaks
 * it costs only this file (tests/bench tells when it stops working). */
#ifndef QV_TOOLS_LINESHIM_COMMSTATUS_H
#define QV_TOOLS_LINESHIM_COMMSTATUS_H

#include <stdint.h>

/* SERIAL_STATUS.Errors bits (Windows' SERIAL_ERROR_*), turned into CE_* by ClearCommError */
#define QV_ERROR_BREAK 0x01u
#define QV_ERROR_FRAME 0x02u
#define QV_ERROR_OVERRUN 0x04u
#define QV_ERROR_PARITY 0x10u

/* Installs the step once; returns 1 when it is active in this process. */
int qv_commstatus_install(void);
/* True on a thread that is inside Wine's comm-status request. */
int qv_commstatus_capturing(void);
/* Notes the line the comm-status request is working on (called from the ioctl hook). */
void qv_commstatus_capture(void* line);

/* Provided by lineshim.c: the error bits of the line since the last report. */
uint32_t qv_line_take_errors(void* line);

#endif
