// Decisions over the Windows version record. Pure functions: the record is read
// from the system by version_checks.cpp, and tests build records of their own.
#pragma once

#include <cstdint>

#include "frame/code_page.h"

namespace zel {

constexpr uint32_t kPlatformWindows9x = 1; // VER_PLATFORM_WIN32_WINDOWS
constexpr uint32_t kPlatformNt = 2;        // VER_PLATFORM_WIN32_NT

struct VersionRecord {
    bool known = false; // false when GetVersionExA failed
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t platformId = 0;
    char servicePack[128] = {}; // always terminated
};

// Orders service-pack texts as texts: byte by byte over whole characters,
// A-Z taken as a-z, unsigned; a leading part of the other text is the smaller.
int CompareServicePackText(const char* csdText, const char* reference, const LeadByteTable& cp);

bool IsWindows2000OrLater(const VersionRecord& v);
bool IsWindowsXP(const VersionRecord& v);
bool IsWindowsNT4OrLater(const VersionRecord& v);
bool IsNT4ServicePack6OrLater(const VersionRecord& v, const LeadByteTable& cp);

// Windows NT 4.0 before Service Pack 3 (checked with the given platform).
bool IsNT4BeforeServicePack3(const VersionRecord& v, const LeadByteTable& cp);

// What the server-setup gate does on a system: the message it shows first
// (0 for none) and the result it gives the script.
struct GateOutcome {
    int messageId;
    int result;
};
GateOutcome EvaluateServerGate(const VersionRecord& v, const LeadByteTable& cp);

// The client setup takes the Windows 95 family too; result 0 means the gate
// goes on to look for running client programs.
GateOutcome EvaluateClientGate(const VersionRecord& v, const LeadByteTable& cp);

} // namespace zel
