/* qv-line: makes one virtual null-modem line for a test process and keeps it while that
 * process lives. Two ptys joined by a forwarding loop: the program's end is mapped as COMn
 * in the Wine prefix (n taken atomically from a range), the peer's end is reached by path.
 * Started by the test (a Linux program run from Win32); reports through a ready file.
 *   qv-line --dosdevices DIR --lines DIR --ready FILE (--owner FILE | --watch PID)
 *           [--first N --last N] [--echo]
 * --echo sends what the program writes straight back to it (a loop-back plug), for running
 * the program by hand with no peer. The ready file holds one line:
 *   ok COMn PROGRAM_PTY PEER_PTY STATE_FILE      or      error MESSAGE
 * Ends, removing its mapping and files, when its owner process ends (even by a crash), when
 * the ready file is deleted, or on SIGTERM/SIGINT. The owner is PID, or the process (not the
 * wineserver) that holds FILE open: a Win32 test cannot know its own Linux pid. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <dirent.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <termios.h>
#include <unistd.h>

#include "LineState.h"

/* The kernel's termios2 (TCGETS2 gives the real speed in numbers even for odd rates);
 * <asm/termbits.h> clashes with <termios.h>, so the struct is spelled out here. */
struct termios2 {
    tcflag_t c_iflag, c_oflag, c_cflag, c_lflag;
    cc_t c_line;
    cc_t c_cc[19];
    speed_t c_ispeed, c_ospeed;
};

typedef struct {
    char buf[65536];
    size_t head, tail; /* bytes [head, tail) wait to be written */
} Pipe;

static volatile sig_atomic_t stopRequested;
static void onSignal(int sig)
{
    (void)sig;
    stopRequested = 1;
}

static const char* readyPath;
static const char* ownerPath;
static char portLink[PATH_MAX], statePath[PATH_MAX - 16];
static char ptsA[64];

static void reportError(const char* fmt, ...)
{
    char msg[512], tmp[PATH_MAX];
    va_list ap;
    va_start(ap, fmt);
    vsnprintf(msg, sizeof msg, fmt, ap);
    va_end(ap);
    if (!readyPath) return;
    snprintf(tmp, sizeof tmp, "%s.tmp", readyPath);
    FILE* f = fopen(tmp, "w");
    if (!f) return;
    fprintf(f, "error %s (%s)\n", msg, strerror(errno));
    fclose(f);
    rename(tmp, readyPath);
}

/* The Wine process that has FILE open: the Win32 test wrote to it, so its own process holds
 * an fd (the wineserver holds one too and is skipped). */
static long findOwner(const char* file)
{
    char want[PATH_MAX];
    if (!realpath(file, want)) return 0;
    DIR* proc = opendir("/proc");
    if (!proc) return 0;
    long found = 0;
    struct dirent* e;
    while (!found && (e = readdir(proc))) {
        long pid = atol(e->d_name);
        if (pid <= 0 || pid == getpid()) continue;
        char path[PATH_MAX], target[PATH_MAX];
        snprintf(path, sizeof path, "/proc/%ld/exe", pid);
        ssize_t n = readlink(path, target, sizeof target - 1);
        if (n <= 0) continue;
        target[n] = 0;
        const char* base = strrchr(target, '/');
        base = base ? base + 1 : target;
        if (strncmp(base, "wine", 4) != 0 || strncmp(base, "wineserver", 10) == 0) continue;
        snprintf(path, sizeof path, "/proc/%ld/fd", pid);
        DIR* fds = opendir(path);
        if (!fds) continue;
        struct dirent* f;
        while (!found && (f = readdir(fds))) {
            if (f->d_name[0] == '.') continue;
            char link[PATH_MAX + 300];
            snprintf(link, sizeof link, "%s/%s", path, f->d_name);
            n = readlink(link, target, sizeof target - 1);
            if (n <= 0) continue;
            target[n] = 0;
            if (strcmp(target, want) == 0) found = pid;
        }
        closedir(fds);
    }
    closedir(proc);
    return found;
}

static int openPty(int* master, int* slave, char* name, size_t nameSize)
{
    *master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (*master < 0 || grantpt(*master) || unlockpt(*master)) return -1;
    if (ptsname_r(*master, name, nameSize)) return -1;
    /* The helper keeps the slave open, so the master never sees EIO while nobody else has it
     * open and bytes sent before the program opens its port are kept, as on a cable. */
    *slave = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (*slave < 0) return -1;
    struct termios t;
    if (tcgetattr(*slave, &t)) return -1;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(*slave, TCSANOW, &t)) return -1;
    fcntl(*master, F_SETFL, fcntl(*master, F_GETFL) | O_NONBLOCK);
    return 0;
}

/* Moves bytes from one master to the other; returns -1 on a hard error. */
static int pump(int from, int to, Pipe* p, short revents, short wevents)
{
    (void)wevents;
    if ((revents & POLLIN) && p->tail < sizeof p->buf) {
        ssize_t n = read(from, p->buf + p->tail, sizeof p->buf - p->tail);
        if (n > 0)
            p->tail += (size_t)n;
        else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO)
            return -1;
    }
    if (p->head < p->tail) {
        ssize_t n = write(to, p->buf + p->head, p->tail - p->head);
        if (n > 0)
            p->head += (size_t)n;
        else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO)
            return -1;
        if (p->head == p->tail) p->head = p->tail = 0;
    }
    return 0;
}

static void answerTermios(QvLineState* st, int masterA)
{
    uint32_t req = __atomic_load_n(&st->termiosRequest, __ATOMIC_ACQUIRE);
    if (req == __atomic_load_n(&st->termiosAnswer, __ATOMIC_ACQUIRE)) return;
    /* On a pty master the termios requests act on the slave: the program's side. */
    struct termios2 t;
    if (ioctl(masterA, TCGETS2, &t) != 0) return;
    st->cIflag = t.c_iflag;
    st->cOflag = t.c_oflag;
    st->cCflag = t.c_cflag;
    st->cLflag = t.c_lflag;
    st->iSpeed = t.c_ispeed;
    st->oSpeed = t.c_ospeed;
    __atomic_store_n(&st->termiosAnswer, req, __ATOMIC_RELEASE);
}

/* A program that ended without closing its port (a crash) has dropped its lines, as the
 * OS closing a real port does: the peer's view must say so. */
static void noticeProgramGone(QvLineState* st)
{
    uint32_t pid = __atomic_load_n(&st->shimPid, __ATOMIC_ACQUIRE);
    if (pid == 0 || pid == __atomic_load_n(&st->shimGonePid, __ATOMIC_ACQUIRE)) return;
    if (kill((pid_t)pid, 0) != 0 && errno == ESRCH)
        __atomic_store_n(&st->shimGonePid, pid, __ATOMIC_RELEASE);
}

/* Removes our COM link only if it still points at our pty (a later line may own it). */
static void cleanup(QvLineState* st)
{
    if (st) __atomic_store_n(&st->alive, 0, __ATOMIC_RELEASE);
    char target[PATH_MAX];
    ssize_t n = portLink[0] ? readlink(portLink, target, sizeof target - 1) : -1;
    if (n > 0) {
        target[n] = 0;
        if (strcmp(target, ptsA) == 0) unlink(portLink);
    }
    if (statePath[0]) unlink(statePath);
    if (readyPath) unlink(readyPath);
    if (ownerPath) unlink(ownerPath);
}

int main(int argc, char** argv)
{
    const char *dosdevices = NULL, *linesDir = NULL, *ownerFile = NULL;
    long watchPid = 0, first = 10, last = 32;
    int echo = 0;
    for (int i = 1; i < argc; i++) {
        const char* value = i + 1 < argc ? argv[i + 1] : NULL;
        if (!strcmp(argv[i], "--echo"))
            echo = 1;
        else if (!value)
            break;
        else if (!strcmp(argv[i], "--dosdevices"))
            dosdevices = value, i++;
        else if (!strcmp(argv[i], "--lines"))
            linesDir = value, i++;
        else if (!strcmp(argv[i], "--ready"))
            readyPath = value, i++;
        else if (!strcmp(argv[i], "--watch"))
            watchPid = atol(value), i++;
        else if (!strcmp(argv[i], "--owner"))
            ownerPath = ownerFile = value, i++;
        else if (!strcmp(argv[i], "--first"))
            first = atol(value), i++;
        else if (!strcmp(argv[i], "--last"))
            last = atol(value), i++;
    }
    if (!dosdevices || !linesDir || !readyPath || (!ownerFile && watchPid <= 0)) {
        fprintf(stderr, "usage: qv-line --dosdevices DIR --lines DIR --ready FILE (--owner FILE | "
                        "--watch PID)\n");
        return 2;
    }
    /* Detach: no terminal, no inherited output (ctest would wait on it), own session. */
    int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, 0), dup2(null, 1), dup2(null, 2);
        if (null > 2) close(null);
    }
    setsid();
    signal(SIGPIPE, SIG_IGN);
    signal(SIGHUP, SIG_IGN);
    struct sigaction sa = {0};
    sa.sa_handler = onSignal;
    sigaction(SIGTERM, &sa, NULL);
    sigaction(SIGINT, &sa, NULL);

    if (watchPid <= 0 && (watchPid = findOwner(ownerFile)) <= 0) {
        errno = ESRCH;
        reportError("no Wine process holds %s", ownerFile);
        return 1;
    }
    int pidfd = (int)syscall(SYS_pidfd_open, (pid_t)watchPid, 0);
    if (pidfd < 0 && kill((pid_t)watchPid, 0) != 0) {
        reportError("process %ld is not running", watchPid);
        return 1;
    }

    int masterA, slaveA, masterB, slaveB;
    char ptsB[64];
    if (openPty(&masterA, &slaveA, ptsA, sizeof ptsA) ||
        openPty(&masterB, &slaveB, ptsB, sizeof ptsB)) {
        reportError("cannot make a pty pair");
        return 1;
    }
    unsigned ptyNumber = (unsigned)atoi(ptsA + strlen("/dev/pts/"));

    /* A COM number is ours while we hold its lock; the kernel frees it if we die. */
    mkdir(linesDir, 0777);
    int port = -1, lockFd = -1;
    for (long n = first; n <= last && port < 0; n++) {
        char lockPath[PATH_MAX];
        snprintf(lockPath, sizeof lockPath, "%s/com%ld.lock", linesDir, n);
        lockFd = open(lockPath, O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (lockFd < 0) continue;
        if (flock(lockFd, LOCK_EX | LOCK_NB) == 0)
            port = (int)n;
        else
            close(lockFd);
    }
    if (port < 0) {
        errno = EBUSY;
        reportError("no free COM number in COM%ld..COM%ld", first, last);
        return 1;
    }

    snprintf(statePath, sizeof statePath, QV_LINE_STATE_FMT, linesDir, ptyNumber);
    char tmp[PATH_MAX];
    snprintf(tmp, sizeof tmp, "%s.tmp", statePath);
    int sfd = open(tmp, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    QvLineState* st = MAP_FAILED;
    if (sfd >= 0 && ftruncate(sfd, QV_LINE_STATE_SIZE) == 0)
        st = mmap(NULL, QV_LINE_STATE_SIZE, PROT_READ | PROT_WRITE, MAP_SHARED, sfd, 0);
    if (st == MAP_FAILED) {
        statePath[0] = 0;
        reportError("cannot make the state file %s", tmp);
        return 1;
    }
    close(sfd);
    st->helperPid = (uint32_t)getpid();
    st->ptyNumber = ptyNumber;
    st->portNumber = (uint32_t)port;
    st->alive = 1;
    __atomic_store_n(&st->magic, QV_LINE_MAGIC, __ATOMIC_RELEASE);
    if (rename(tmp, statePath)) {
        statePath[0] = 0;
        reportError("cannot publish the state file");
        return 1;
    }

    /* Map the port last, atomically replacing whatever a dead line left behind. */
    snprintf(portLink, sizeof portLink, "%s/com%d", dosdevices, port);
    snprintf(tmp, sizeof tmp, "%s/.com%d.tmp", dosdevices, port);
    unlink(tmp);
    if (symlink(ptsA, tmp) || rename(tmp, portLink)) {
        portLink[0] = 0;
        reportError("cannot map COM%d in %s", port, dosdevices);
        cleanup(st);
        return 1;
    }

    int inot = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    snprintf(tmp, sizeof tmp, "%s.tmp", readyPath);
    FILE* f = fopen(tmp, "w");
    if (!f) {
        reportError("cannot write %s", tmp);
        cleanup(st);
        return 1;
    }
    fprintf(f, "ok COM%d %s %s %s\n", port, ptsA, ptsB, statePath);
    fclose(f);
    if (rename(tmp, readyPath)) {
        cleanup(st);
        return 1;
    }
    /* Deleting the ready file is the test's request to remove the line. */
    if (inot >= 0) inotify_add_watch(inot, readyPath, IN_DELETE_SELF | IN_MOVE_SELF | IN_ATTRIB);

    static Pipe toPeer, toProgram;
    const int peerSide = echo ? masterA : masterB;
    while (!stopRequested) {
        const int toPeerWaits = toPeer.head < toPeer.tail,
                  toProgramWaits = toProgram.head < toProgram.tail;
        struct pollfd fds[4] = {
            {masterA,
             (short)((toPeer.tail < sizeof toPeer.buf ? POLLIN : 0) |
                     (toProgramWaits || (echo && toPeerWaits) ? POLLOUT : 0)),
             0},
            {masterB,
             (short)((toProgram.tail < sizeof toProgram.buf ? POLLIN : 0) |
                     (!echo && toPeerWaits ? POLLOUT : 0)),
             0},
            {pidfd, POLLIN, 0},
            {inot, POLLIN, 0},
        };
        /* The short tick answers termios requests and, without a pidfd, checks the process. */
        int n = poll(fds, 4, 5);
        if (n < 0 && errno != EINTR) break;
        if (pump(masterA, peerSide, &toPeer, fds[0].revents, fds[1].revents) ||
            pump(masterB, masterA, &toProgram, fds[1].revents, fds[0].revents))
            break;
        if (pidfd >= 0 ? (fds[2].revents & POLLIN) != 0 : kill((pid_t)watchPid, 0) != 0) break;
        if (fds[3].revents & POLLIN) {
            if (access(readyPath, F_OK) != 0) break;
            char ev[4096];
            while (read(inot, ev, sizeof ev) > 0) {}
        }
        answerTermios(st, masterA);
        noticeProgramGone(st);
    }
    cleanup(st);
    (void)slaveA, (void)slaveB, (void)lockFd;
    return 0;
}
