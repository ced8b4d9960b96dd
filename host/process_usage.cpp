#include "process_usage.h"

namespace zelhost {
namespace {

// The heap grows by chunks of 64 KiB under Wine: a steady leak that makes it
// grow at all over a loop counts, a stray page does not.
constexpr SIZE_T kPrivateBytesSlack = 32 * 1024;

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

} // namespace

ProcessUsage CurrentProcessUsage()
{
    return {CountOpenHandles(), CommittedPrivateBytes()};
}

bool UsageGrew(const ProcessUsage& first, const ProcessUsage& last)
{
    return last.handles > first.handles || last.privateBytes > first.privateBytes + kPrivateBytesSlack;
}

std::string UsageText(const ProcessUsage& usage)
{
    return "handles " + std::to_string(usage.handles) + ", private bytes " + std::to_string(usage.privateBytes);
}

} // namespace zelhost
