// Counts of this process's threads and handles, as Wine answers them.
#include "tests/support/ProcessCounts.h"

#include <windows.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <vector>

namespace qv::test {

int ThreadCount()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    DWORD self = GetCurrentProcessId();
    if (Thread32First(snapshot, &entry)) {
        do {
            if (entry.th32OwnerProcessID == self) ++count;
        } while (Thread32Next(snapshot, &entry));
    }
    CloseHandle(snapshot);
    return count;
}

int HandleCount()
{
    // GetProcessHandleCount answers 0 under Wine; the system handle list is complete.
    struct Entry {
        ULONG pid;
        BYTE type;
        BYTE flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    struct Info {
        ULONG count;
        Entry entries[1];
    };
    std::vector<char> buffer(1 << 22);
    ULONG length = 0;
    using QueryFn = NTSTATUS(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query || query(16 /* SystemHandleInformation */, buffer.data(),
                        static_cast<ULONG>(buffer.size()), &length) != 0)
        return -1;
    auto* info = reinterpret_cast<Info*>(buffer.data());
    int count = 0;
    DWORD self = GetCurrentProcessId();
    for (ULONG i = 0; i < info->count; ++i)
        if (info->entries[i].pid == self) ++count;
    return count;
}

}  // namespace qv::test
