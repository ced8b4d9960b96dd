#include "process_usage.h"

#include <vector>

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

// Holds a heap's lock while it is walked, so that no other thread changes
// its blocks meanwhile.
class HeapWalkLock {
public:
    explicit HeapWalkLock(HANDLE heap) : heap_(heap), locked_(HeapLock(heap) != FALSE) {}
    ~HeapWalkLock()
    {
        if (locked_)
            HeapUnlock(heap_);
    }
    HeapWalkLock(const HeapWalkLock&) = delete;
    HeapWalkLock& operator=(const HeapWalkLock&) = delete;

    explicit operator bool() const { return locked_; }

private:
    HANDLE heap_;
    bool locked_;
};

// Every heap of the process; asked again while heaps come into being
// between the count and the list.
std::vector<HANDLE> ProcessHeaps()
{
    std::vector<HANDLE> heaps;
    DWORD count = GetProcessHeaps(0, nullptr);
    do {
        heaps.resize(count);
        count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    } while (count > heaps.size());
    heaps.resize(count);
    return heaps;
}

SIZE_T BusyBytesOf(HANDLE heap)
{
    const HeapWalkLock lock(heap);
    if (!lock)
        return 0;
    SIZE_T total = 0;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry)) {
        if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0)
            total += entry.cbData;
    }
    return total;
}

// Adds up the busy blocks of every heap.
SIZE_T HeapBusyBytes()
{
    SIZE_T total = 0;
    for (HANDLE heap : ProcessHeaps())
        total += BusyBytesOf(heap);
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
