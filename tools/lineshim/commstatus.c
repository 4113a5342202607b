/* ClearCommError's line errors under Wine 8 (i386). Wine answers IOCTL_SERIAL_GET_COMMSTATUS
 * in ntdll.so with Errors always 0. ntdll.so is linked -Bsymbolic, so LD_PRELOAD cannot
 * replace NtDeviceIoControlFile; instead its entry in ntdll.so's syscall table is pointed at
 * a wrapper that ORs in the errors injected since the last call. Guarded: the entry is
 * patched only when exactly one table of code pointers holds the function. */
#define _GNU_SOURCE
#include "commstatus.h"

#include <dlfcn.h>
#include <link.h>
#include <pthread.h>
#include <stddef.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

static __thread int capturing;
static __thread void* captured;

int qv_commstatus_capturing(void) { return capturing; }
void qv_commstatus_capture(void* line) { captured = line; }

#if defined(__i386__)

#define IOCTL_SERIAL_GET_COMMSTATUS 0x001b006cu

typedef long NTSTATUS;
typedef NTSTATUS(__attribute__((stdcall)) * DeviceIoControlFn)(void*, void*, void*, void*, void*,
                                                               unsigned long, void*, unsigned long,
                                                               void*, unsigned long);
static DeviceIoControlFn realDeviceIoControl;
static int active, settled;
static pthread_mutex_t installLock = PTHREAD_MUTEX_INITIALIZER;

static NTSTATUS __attribute__((stdcall))
hookedDeviceIoControl(void* handle, void* event, void* apc, void* apcContext, void* io,
                      unsigned long code, void* in, unsigned long inSize, void* out,
                      unsigned long outSize)
{
    if (code != IOCTL_SERIAL_GET_COMMSTATUS)
        return realDeviceIoControl(handle, event, apc, apcContext, io, code, in, inSize, out,
                                   outSize);
    capturing = 1;
    captured = NULL;
    NTSTATUS status =
        realDeviceIoControl(handle, event, apc, apcContext, io, code, in, inSize, out, outSize);
    capturing = 0;
    if (status == 0 && captured && out && outSize >= sizeof(uint32_t)) {
        uint32_t errors;
        memcpy(&errors, out, sizeof errors);
        errors |= qv_line_take_errors(captured);
        memcpy(out, &errors, sizeof errors);
    }
    captured = NULL;
    return status;
}

typedef struct {
    const char* path;
    ElfW(Addr) base;
    const ElfW(Phdr) * phdr;
    int phnum;
} Module;

static int findNtdll(struct dl_phdr_info* info, size_t size, void* data)
{
    (void)size;
    const char* name = info->dlpi_name;
    size_t n = strlen(name);
    if (n >= 9 && strcmp(name + n - 9, "/ntdll.so") == 0) {
        Module* m = data;
        m->path = name;
        m->base = info->dlpi_addr;
        m->phdr = info->dlpi_phdr;
        m->phnum = info->dlpi_phnum;
        return 1;
    }
    return 0;
}

static int isCode(const Module* m, uintptr_t v)
{
    for (int i = 0; i < m->phnum; i++) {
        const ElfW(Phdr)* p = &m->phdr[i];
        if (p->p_type == PT_LOAD && (p->p_flags & PF_X) && v >= m->base + p->p_vaddr &&
            v < m->base + p->p_vaddr + p->p_memsz)
            return 1;
    }
    return 0;
}

static int inRelro(const Module* m, uintptr_t a)
{
    for (int i = 0; i < m->phnum; i++) {
        const ElfW(Phdr)* p = &m->phdr[i];
        if (p->p_type == PT_GNU_RELRO && a >= m->base + p->p_vaddr &&
            a < m->base + p->p_vaddr + p->p_memsz)
            return 1;
    }
    return 0;
}

/* Returns 0 while ntdll.so is not loaded yet (try again later), 1 once decided. */
static int install(void)
{
    Module m = {0};
    if (!dl_iterate_phdr(findNtdll, &m)) return 0;
    void* h = dlopen(m.path, RTLD_NOW | RTLD_NOLOAD);
    if (!h) return 1;
    uintptr_t fn = (uintptr_t)dlsym(h, "NtDeviceIoControlFile");
    dlclose(h);
    if (!fn || !isCode(&m, fn)) return 1;

    /* The syscall table is an array of code pointers in a data segment: find the one slot. */
    uintptr_t* slot = NULL;
    int found = 0;
    for (int i = 0; i < m.phnum; i++) {
        const ElfW(Phdr)* p = &m.phdr[i];
        if (p->p_type != PT_LOAD || (p->p_flags & PF_X)) continue;
        uintptr_t* w = (uintptr_t*)(m.base + p->p_vaddr);
        size_t words = p->p_filesz / sizeof *w;
        for (size_t k = 8; k + 8 < words; k++) {
            if (w[k] != fn) continue;
            int codeNeighbours = 0;
            for (size_t j = k - 8; j <= k + 8; j++) codeNeighbours += isCode(&m, w[j]);
            if (codeNeighbours == 17) {
                slot = &w[k];
                found++;
            }
        }
    }
    if (found != 1) return 1;

    long page = sysconf(_SC_PAGESIZE);
    void* pageStart = (void*)((uintptr_t)slot & ~(uintptr_t)(page - 1));
    int restore = inRelro(&m, (uintptr_t)slot) ? PROT_READ : PROT_READ | PROT_WRITE;
    if (mprotect(pageStart, (size_t)page, PROT_READ | PROT_WRITE) != 0) return 1;
    realDeviceIoControl = (DeviceIoControlFn)fn;
    __atomic_store_n(slot, (uintptr_t)hookedDeviceIoControl, __ATOMIC_RELEASE);
    mprotect(pageStart, (size_t)page, restore);
    active = 1;
    return 1;
}

int qv_commstatus_install(void)
{
    if (__atomic_load_n(&settled, __ATOMIC_ACQUIRE)) return active;
    pthread_mutex_lock(&installLock);
    if (!settled && install()) __atomic_store_n(&settled, 1, __ATOMIC_RELEASE);
    pthread_mutex_unlock(&installLock);
    return active;
}

#else

/* 64-bit copies serve helper processes only; the program's Wine process is i386. */
int qv_commstatus_install(void) { return 0; }

#endif
