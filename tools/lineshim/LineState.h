/* Shared state of one virtual serial line, a small file mapped by the line shim (inside the
 * program's Wine process), by the line helper (qv-line) and by the test's peer (Win32).
 * Every field has exactly one writer, named beside it. Plain C: built by gcc -m32/-m64 and
 * by mingw. All fields are 32-bit so the layout is the same for every reader. */
#ifndef QV_TOOLS_LINESHIM_LINESTATE_H
#define QV_TOOLS_LINESHIM_LINESTATE_H

#include <stdint.h>

#define QV_LINE_MAGIC 0x314e4c51u /* "QLN1" */
#define QV_LINE_STATE_SIZE 4096u

/* outputs (shim) */
#define QV_LINE_DTR 0x01u
#define QV_LINE_RTS 0x02u
#define QV_LINE_BRK 0x04u
/* inputs (peer) */
#define QV_LINE_CTS 0x10u
#define QV_LINE_DSR 0x20u
#define QV_LINE_RI 0x40u
#define QV_LINE_DCD 0x80u

/* shim_features (shim) */
#define QV_SHIM_LINES 0x01u      /* modem-line ioctls are served */
#define QV_SHIM_COMMSTATUS 0x02u /* ClearCommError reports injected line errors */

typedef struct QvLineState {
    /* helper */
    uint32_t magic;
    uint32_t alive; /* 1 while the helper runs; 0 when the line is being removed */
    uint32_t helperPid;
    uint32_t ptyNumber;   /* N of the program side /dev/pts/N */
    uint32_t portNumber;  /* COMn of the program side */
    uint32_t shimGonePid; /* == shimPid once that process has ended: its outputs are down */
    uint32_t reserved0[2];

    /* shim (the program's process) */
    uint32_t outputs;       /* QV_LINE_DTR | QV_LINE_RTS | QV_LINE_BRK */
    uint32_t outputChanges; /* +1 for each change of outputs */
    uint32_t polls;         /* +1 for each line poll (TIOCGICOUNT) Wine makes */
    uint32_t shimFeatures;
    uint32_t shimPid;
    uint32_t cflagSet; /* QV_CFLAG_KEPT bits of the program's last tcsetattr | QV_CFLAG_VALID */
    /* break, frame, parity, overrun counts ClearCommError has reported: like a UART's latched
     * error bits, an error stays pending until reported, even across a reopen */
    uint32_t reportedErrors[4];
    uint32_t reserved1[2];

    /* peer (the test) */
    uint32_t inputs; /* QV_LINE_CTS | QV_LINE_DSR | QV_LINE_RI | QV_LINE_DCD */
    uint32_t ctsCount, dsrCount, riCount, dcdCount;             /* transitions */
    uint32_t breakCount, frameCount, parityCount, overrunCount; /* +1 injects one */
    uint32_t termiosRequest; /* +1 asks the helper for a fresh termios snapshot */
    uint32_t reserved2[6];

    /* helper: the program side's termios, valid once termiosAnswer == termiosRequest */
    uint32_t termiosAnswer;
    uint32_t cIflag, cOflag, cCflag, cLflag;
    uint32_t iSpeed, oSpeed;
    uint32_t reserved3[9];
} QvLineState;

/* A pty forces CS8 and clears PARENB whatever is set; a real UART keeps them. The shim
 * keeps these c_cflag bits (Linux values) as the program set them, for both views. */
#define QV_CFLAG_KEPT 0x40000330u  /* CSIZE | PARENB | PARODD | CMSPAR */
#define QV_CFLAG_VALID 0x00000001u /* not a c_cflag bit used by QV_CFLAG_KEPT */

/* Where a line's state lives: DIR/pts<N>.state, keyed by the program side pty. */
#define QV_LINE_STATE_FMT "%s/pts%u.state"

#endif
