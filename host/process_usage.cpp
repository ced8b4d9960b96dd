#include "process_usage.h"

namespace zelhost {
namespace {

// A heap under Wine grows by chunks of 64 KiB, and the same blocks in use
// may need one more when the free space between them falls differently; a
// leak of heap blocks shows in the busy bytes whatever their placement.
constexpr SIZE_T kPrivateBytesSlack = 64 * 1024;

// Asks after every handle value in the range a process uses.
DWORD CountOpenHandles()
{
    DWORD count = 0;
    DWORD flags = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

// Adds up the committed private regions of the address space.
SIZE_T CommittedPrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
    }
    return total;
}

// Adds up the busy blocks of every heap, each walked under its lock.
SIZE_T HeapBusyBytes()
{
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(ARRAYSIZE(heaps), heaps);
    SIZE_T total = 0;
    for (DWORD i = 0; i < count && i < ARRAYSIZE(heaps); ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry)) {
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0)
                total += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return total;
}

} // namespace

ProcessUsage CurrentProcessUsage()
{
    return {CountOpenHandles(), CommittedPrivateBytes(), HeapBusyBytes()};
}

bool UsageGrew(const ProcessUsage& first, const ProcessUsage& last)
{
    return last.handles > first.handles || last.heapBytes > first.heapBytes ||
           last.privateBytes > first.privateBytes + kPrivateBytesSlack;
}

std::string UsageText(const ProcessUsage& usage)
{
    return "handles " + std::to_string(usage.handles) + ", private bytes " + std::to_string(usage.privateBytes) +
           ", heap bytes in use " + std::to_string(usage.heapBytes);
}

} // namespace zelhost
