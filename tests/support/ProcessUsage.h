#pragma once
// What a test or benchmark counts of its own process to find leaks: live GDI
// objects where the system gives no count (Wine), open kernel handles, and
// committed private memory.

#include <windows.h>

#include <winternl.h>

// One entry of the process's GDI handle table (the PEB's
// GdiSharedHandleTable), the same layout for 32- and 64-bit processes.
struct GdiHandleEntry {
    ULONG64 Object;
    USHORT OwnerProcessId; // 0 under Wine, whose table is the process's own
    USHORT Count;
    USHORT Unique;
    UCHAR Type; // 0 for a free entry
    UCHAR Flags;
    ULONG64 UserPointer;
};
const int GdiHandleTableSize = 0x10000;

// The live GDI objects of this process counted in the handle table: the
// figure where GetGuiResources gives none (Wine).
inline int CountGdiHandles()
{
#ifdef _WIN64
    const size_t tableOffset = 0xF8;
#else
    const size_t tableOffset = 0x94;
#endif
    PROCESS_BASIC_INFORMATION basic = {};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0 ||
        !basic.PebBaseAddress)
        return -1;
    const char* peb = reinterpret_cast<const char*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + tableOffset);
    if (!table)
        return -1;
    const USHORT self = static_cast<USHORT>(GetCurrentProcessId());
    int live = 0;
    for (int i = 0; i < GdiHandleTableSize; ++i)
        live += table[i].Type != 0 && (table[i].OwnerProcessId == self || table[i].OwnerProcessId == 0);
    return live;
}

inline SIZE_T CommittedPrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info;
    const char* address = nullptr;
    while (VirtualQuery(address, &info, sizeof(info)) == sizeof(info)) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += info.RegionSize;
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return total;
}

// Open kernel handles, found by probing the handle values (Wine reports
// none through GetProcessHandleCount).
inline int CountKernelHandles()
{
    int count = 0;
    DWORD flags;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4)
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return count;
}
