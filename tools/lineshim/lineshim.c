/* The line shim: an LD_PRELOAD library for the program's Wine process that gives a virtual
 * line (a pty) modem lines. It serves the line ioctls Wine issues on a pty that has a line
 * state file (see LineState.h); every other fd and request passes through untouched. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include "LineState.h"
#include "commstatus.h"

_Static_assert(QV_CFLAG_KEPT == (CSIZE | PARENB | PARODD | CMSPAR), "LineState.h's c_cflag bits");

#define MAX_LINES 64
#define MAX_FDS 4096

typedef struct {
    unsigned pty; /* pts number */
    ino_t ino;    /* of the state file, to notice a new line on a reused pty */
    QvLineState* st;
} Line;

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static Line lines[MAX_LINES];
/* fd -> pts number + 1 for fds that touched a line, so close() can drop the outputs */
static unsigned fdLine[MAX_FDS];
static char stateDir[512];

typedef int (*ioctl_fn)(int, unsigned long, ...);
typedef int (*close_fn)(int);
typedef int (*tcget_fn)(int, struct termios*);
typedef int (*tcset_fn)(int, int, const struct termios*);
static tcget_fn nextTcgetattr;
static tcset_fn nextTcsetattr;
static ioctl_fn nextIoctl, nextIoctl64;
static close_fn nextClose;

__attribute__((constructor)) static void init(void)
{
    const char* dir = getenv("QV_LINE_DIR");
    if (dir && strlen(dir) < sizeof stateDir) strcpy(stateDir, dir);
    nextIoctl = (ioctl_fn)dlsym(RTLD_NEXT, "ioctl");
    nextIoctl64 = (ioctl_fn)dlsym(RTLD_NEXT, "__ioctl_time64");
    nextClose = (close_fn)dlsym(RTLD_NEXT, "close");
    nextTcgetattr = (tcget_fn)dlsym(RTLD_NEXT, "tcgetattr");
    nextTcsetattr = (tcset_fn)dlsym(RTLD_NEXT, "tcsetattr");
}

static int ptyNumberOf(int fd, unsigned* pty)
{
    struct stat sb;
    if (fstat(fd, &sb) != 0 || !S_ISCHR(sb.st_mode)) return 0;
    unsigned maj = major(sb.st_rdev);
    if (maj < 136 || maj > 143) return 0; /* Unix98 pty slaves */
    *pty = (maj - 136) * 256 + minor(sb.st_rdev);
    return 1;
}

static void setOutputs(QvLineState* st, uint32_t outputs);

static void unmapLine(Line* l)
{
    munmap(l->st, QV_LINE_STATE_SIZE);
    memset(l, 0, sizeof *l);
}

/* Called with lock held. The state file is looked up on each use (one stat), so a line
 * removed and made again on the same pty number is noticed. */
static Line* findLine(unsigned pty)
{
    if (!stateDir[0]) return NULL;
    char path[600];
    snprintf(path, sizeof path, QV_LINE_STATE_FMT, stateDir, pty);
    Line* slot = NULL;
    for (int i = 0; i < MAX_LINES; i++) {
        if (lines[i].st && lines[i].pty == pty) {
            struct stat sb;
            if (__atomic_load_n(&lines[i].st->alive, __ATOMIC_ACQUIRE) && stat(path, &sb) == 0 &&
                sb.st_ino == lines[i].ino)
                return &lines[i];
            unmapLine(&lines[i]);
        }
    }
    for (int i = 0; i < MAX_LINES && !slot; i++)
        if (!lines[i].st) slot = &lines[i];
    if (!slot) return NULL;
    int fd = open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0) return NULL;
    struct stat sb;
    void* p = MAP_FAILED;
    if (fstat(fd, &sb) == 0 && sb.st_size >= (off_t)sizeof(QvLineState))
        p = mmap(NULL, QV_LINE_STATE_SIZE, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    nextClose(fd);
    if (p == MAP_FAILED) return NULL;
    QvLineState* st = p;
    if (st->magic != QV_LINE_MAGIC || !st->alive) {
        munmap(p, QV_LINE_STATE_SIZE);
        return NULL;
    }
    slot->pty = pty;
    slot->ino = sb.st_ino;
    slot->st = st;
    /* A previous program that ended without closing the port left its outputs up. */
    uint32_t previous = __atomic_load_n(&st->shimPid, __ATOMIC_ACQUIRE);
    if (previous && previous != (uint32_t)getpid() && kill((pid_t)previous, 0) != 0 &&
        errno == ESRCH)
        setOutputs(st, 0);
    uint32_t features = QV_SHIM_LINES | (qv_commstatus_install() ? QV_SHIM_COMMSTATUS : 0);
    __atomic_store_n(&st->shimPid, (uint32_t)getpid(), __ATOMIC_RELEASE);
    __atomic_store_n(&st->shimFeatures, features, __ATOMIC_RELEASE);
    return slot;
}

static Line* lineForFd(int fd)
{
    unsigned pty;
    if (!ptyNumberOf(fd, &pty)) return NULL;
    Line* l = findLine(pty);
    if (l && fd >= 0 && fd < MAX_FDS) fdLine[fd] = pty + 1;
    return l;
}

static void setOutputs(QvLineState* st, uint32_t outputs)
{
    if (__atomic_load_n(&st->outputs, __ATOMIC_ACQUIRE) == outputs) return;
    __atomic_store_n(&st->outputs, outputs, __ATOMIC_RELEASE);
    __atomic_add_fetch(&st->outputChanges, 1, __ATOMIC_ACQ_REL);
}

static int modemBits(QvLineState* st)
{
    uint32_t o = __atomic_load_n(&st->outputs, __ATOMIC_ACQUIRE);
    uint32_t i = __atomic_load_n(&st->inputs, __ATOMIC_ACQUIRE);
    int bits = 0;
    if (o & QV_LINE_DTR) bits |= TIOCM_DTR;
    if (o & QV_LINE_RTS) bits |= TIOCM_RTS;
    if (i & QV_LINE_CTS) bits |= TIOCM_CTS;
    if (i & QV_LINE_DSR) bits |= TIOCM_DSR;
    if (i & QV_LINE_RI) bits |= TIOCM_RNG;
    if (i & QV_LINE_DCD) bits |= TIOCM_CAR;
    return bits;
}

static uint32_t outputsFromBits(uint32_t old, int bits)
{
    uint32_t o = old & ~(QV_LINE_DTR | QV_LINE_RTS);
    if (bits & TIOCM_DTR) o |= QV_LINE_DTR;
    if (bits & TIOCM_RTS) o |= QV_LINE_RTS;
    return o;
}

/* Serves one line request; returns 1 when handled (result in *rc). */
static int serve(int fd, unsigned long req, void* arg, int* rc)
{
    switch (req) {
    case TIOCMGET:
    case TIOCMSET:
    case TIOCMBIS:
    case TIOCMBIC:
    case TIOCSBRK:
    case TIOCCBRK:
    case TIOCGICOUNT:
    case TIOCSERGETLSR:
    case TIOCINQ:
    case TIOCOUTQ: break;
    default: return 0;
    }
    if ((req == TIOCINQ || req == TIOCOUTQ) && !qv_commstatus_capturing()) return 0;
    pthread_mutex_lock(&lock);
    Line* l = lineForFd(fd);
    if (!l) {
        pthread_mutex_unlock(&lock);
        return 0;
    }
    QvLineState* st = l->st;
    *rc = 0;
    uint32_t out = __atomic_load_n(&st->outputs, __ATOMIC_ACQUIRE);
    switch (req) {
    case TIOCMGET: *(int*)arg = modemBits(st); break;
    case TIOCMSET: setOutputs(st, outputsFromBits(out, *(int*)arg)); break;
    case TIOCMBIS: setOutputs(st, outputsFromBits(out, modemBits(st) | *(int*)arg)); break;
    case TIOCMBIC: setOutputs(st, outputsFromBits(out, modemBits(st) & ~*(int*)arg)); break;
    case TIOCSBRK: setOutputs(st, out | QV_LINE_BRK); break;
    case TIOCCBRK: setOutputs(st, out & ~QV_LINE_BRK); break;
    case TIOCGICOUNT: {
        struct serial_icounter_struct* c = arg;
        memset(c, 0, sizeof *c);
        c->cts = (int)__atomic_load_n(&st->ctsCount, __ATOMIC_ACQUIRE);
        c->dsr = (int)__atomic_load_n(&st->dsrCount, __ATOMIC_ACQUIRE);
        c->rng = (int)__atomic_load_n(&st->riCount, __ATOMIC_ACQUIRE);
        c->dcd = (int)__atomic_load_n(&st->dcdCount, __ATOMIC_ACQUIRE);
        c->brk = (int)__atomic_load_n(&st->breakCount, __ATOMIC_ACQUIRE);
        c->frame = (int)__atomic_load_n(&st->frameCount, __ATOMIC_ACQUIRE);
        c->parity = (int)__atomic_load_n(&st->parityCount, __ATOMIC_ACQUIRE);
        c->overrun = (int)__atomic_load_n(&st->overrunCount, __ATOMIC_ACQUIRE);
        __atomic_add_fetch(&st->polls, 1, __ATOMIC_ACQ_REL);
        break;
    }
    case TIOCSERGETLSR: {
        /* A pty has no transmitter: report it empty once the output queue is. */
        int queued = 0;
        nextIoctl(fd, TIOCOUTQ, &queued);
        *(unsigned*)arg = queued == 0 ? TIOCSER_TEMT : 0;
        break;
    }
    case TIOCINQ:
    case TIOCOUTQ:
        /* ClearCommError's queue counts: the real answer, and note which line it was for. */
        qv_commstatus_capture(l);
        pthread_mutex_unlock(&lock);
        return 0;
    }
    pthread_mutex_unlock(&lock);
    return 1;
}

/* Called by the ClearCommError step with lock NOT held: the errors since the last call. */
uint32_t qv_line_take_errors(void* line)
{
    pthread_mutex_lock(&lock);
    Line* l = line;
    uint32_t errors = 0;
    if (l->st) {
        uint32_t now[4] = {__atomic_load_n(&l->st->breakCount, __ATOMIC_ACQUIRE),
                           __atomic_load_n(&l->st->frameCount, __ATOMIC_ACQUIRE),
                           __atomic_load_n(&l->st->parityCount, __ATOMIC_ACQUIRE),
                           __atomic_load_n(&l->st->overrunCount, __ATOMIC_ACQUIRE)};
        static const uint32_t flags[4] = {QV_ERROR_BREAK, QV_ERROR_FRAME, QV_ERROR_PARITY,
                                          QV_ERROR_OVERRUN};
        for (int i = 0; i < 4; i++) {
            if (now[i] != __atomic_load_n(&l->st->reportedErrors[i], __ATOMIC_ACQUIRE))
                errors |= flags[i];
            __atomic_store_n(&l->st->reportedErrors[i], now[i], __ATOMIC_RELEASE);
        }
    }
    pthread_mutex_unlock(&lock);
    return errors;
}

static int dispatch(ioctl_fn next, int fd, unsigned long req, void* arg)
{
    int rc;
    qv_commstatus_install();
    if (serve(fd, req, arg, &rc)) return rc;
    return next(fd, req, arg);
}

int ioctl(int fd, unsigned long req, ...)
{
    va_list ap;
    va_start(ap, req);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    return dispatch(nextIoctl, fd, req, arg);
}

/* Wine's ntdll (32-bit, 64-bit time) calls this one, not ioctl. */
int __ioctl_time64(int fd, unsigned long req, ...)
{
    va_list ap;
    va_start(ap, req);
    void* arg = va_arg(ap, void*);
    va_end(ap);
    return dispatch(nextIoctl64 ? nextIoctl64 : nextIoctl, fd, req, arg);
}

/* Data bits and parity are kept here, as a UART would keep them: a pty refuses anything but
 * CS8 without parity (EINVAL on this kernel; older ones silently force 8N). */
int tcsetattr(int fd, int action, const struct termios* t)
{
    pthread_mutex_lock(&lock);
    Line* l = lineForFd(fd);
    if (l)
        __atomic_store_n(&l->st->cflagSet, (t->c_cflag & QV_CFLAG_KEPT) | QV_CFLAG_VALID,
                         __ATOMIC_RELEASE);
    pthread_mutex_unlock(&lock);
    if (!l) return nextTcsetattr(fd, action, t);
    struct termios eightNone = *t;
    eightNone.c_cflag = (eightNone.c_cflag & ~QV_CFLAG_KEPT) | CS8;
    return nextTcsetattr(fd, action, &eightNone);
}

int tcgetattr(int fd, struct termios* t)
{
    int rc = nextTcgetattr(fd, t);
    if (rc != 0) return rc;
    pthread_mutex_lock(&lock);
    Line* l = lineForFd(fd);
    uint32_t kept = l ? __atomic_load_n(&l->st->cflagSet, __ATOMIC_ACQUIRE) : 0;
    pthread_mutex_unlock(&lock);
    if (kept & QV_CFLAG_VALID) t->c_cflag = (t->c_cflag & ~QV_CFLAG_KEPT) | (kept & QV_CFLAG_KEPT);
    return rc;
}

/* Closing the port drops DTR, RTS and BREAK, as closing a real port does. */
int close(int fd)
{
    /* The ClearCommError step must be in place before the program's first ClearCommError,
     * which may be its first request on the port: Wine closes fds early and often. */
    qv_commstatus_install();
    if (fd >= 0 && fd < MAX_FDS && __atomic_load_n(&fdLine[fd], __ATOMIC_ACQUIRE)) {
        pthread_mutex_lock(&lock);
        unsigned pty;
        if (fdLine[fd] && ptyNumberOf(fd, &pty) && pty + 1 == fdLine[fd]) {
            Line* l = findLine(pty);
            if (l) setOutputs(l->st, 0);
        }
        fdLine[fd] = 0;
        pthread_mutex_unlock(&lock);
    }
    return nextClose(fd);
}
