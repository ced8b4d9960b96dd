// What a process holds: its open handles and its committed private memory,
// for telling whether calls into the library leak.
#pragma once

#include <windows.h>

#include <string>

namespace zelhost {

struct ProcessUsage {
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
};

// Wine answers GetProcessHandleCount and the private bytes of
// GetProcessMemoryInfo with 0, so both are measured directly.
ProcessUsage CurrentProcessUsage();

// Whether the usage grew from first to last by more than the heap's own
// rounding: any handle, or more private bytes than a stray page.
bool UsageGrew(const ProcessUsage& first, const ProcessUsage& last);

std::string UsageText(const ProcessUsage& usage);

} // namespace zelhost
