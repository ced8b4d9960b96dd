// What a process holds: its open handles and its committed private memory,
// for telling whether calls into the library leak.
#pragma once

#include <windows.h>

#include <string>

namespace zelhost {

struct ProcessUsage {
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
    SIZE_T heapBytes = 0; // in the busy blocks of every heap of the process
};

// Wine answers GetProcessHandleCount and the private bytes of
// GetProcessMemoryInfo with 0, so both are measured directly.
ProcessUsage CurrentProcessUsage();

// Whether the usage grew from first to last: any handle, any byte in the
// heaps' blocks, or private memory by more than the chunk a heap grows by
// when its free space is split up differently.
bool UsageGrew(const ProcessUsage& first, const ProcessUsage& last);

std::string UsageText(const ProcessUsage& usage);

} // namespace zelhost
