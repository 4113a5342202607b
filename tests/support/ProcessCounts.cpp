// Counts of this process's threads, handles and GDI objects, as Wine answers them.
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

int GdiObjectCount()
{
    // GetGuiResources answers 0 under Wine. The process's GDI handle table is mapped into it
    // (the PEB's GdiSharedHandleTable, at 0x94 in a 32-bit PEB): a used entry has a type.
    struct Entry {
        ULONGLONG object;
        ULONG owner;
        USHORT unique;
        BYTE type;
        BYTE flags;
        ULONGLONG user;
    };
    static_assert(sizeof(Entry) == 24);
    constexpr int TableEntries = 16384;
#if defined(_M_IX86) || defined(__i386__)
    const auto* peb = reinterpret_cast<const BYTE*>(__readfsdword(0x30));
    const auto* table = *reinterpret_cast<const Entry* const*>(peb + 0x94);
#else
    const Entry* table = nullptr;
#endif
    if (!table) return -1;
    int count = 0;
    for (int i = 0; i < TableEntries; ++i)
        if (table[i].type) ++count;
    return count;
}

}  // namespace qv::test
