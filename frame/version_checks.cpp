#include "frame/version_checks.h"

#include <windows.h>

#include <cstring>

#include "frame/module_app.h"
#include "frame/setup_messages.h"
#include "zelsetup.h"

namespace zel {

VersionRecord QueryVersion()
{
    OSVERSIONINFOA info = {};
    static_assert(sizeof(info) == 148, "the plain ANSI version record");
    info.dwOSVersionInfoSize = sizeof(info);
    VersionRecord v;
    if (!GetVersionExA(&info))
        return v;
    v.known = true;
    v.major = info.dwMajorVersion;
    v.minor = info.dwMinorVersion;
    v.platformId = info.dwPlatformId;
    static_assert(sizeof(v.servicePack) == sizeof(info.szCSDVersion), "same size");
    std::memcpy(v.servicePack, info.szCSDVersion, sizeof(v.servicePack));
    v.servicePack[sizeof(v.servicePack) - 1] = '\0';
    return v;
}

const LeadByteTable& SystemLeadBytes()
{
    // The ANSI code page does not change while a process runs.
    static const LeadByteTable table = [] {
        LeadByteTable t;
        CPINFO info = {};
        if (GetCPInfo(CP_ACP, &info)) {
            for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2)
                t.AddRange(info.LeadByte[i], info.LeadByte[i + 1]);
        }
        return t;
    }();
    return table;
}

bool IsWindowsNT4OrLater()
{
    return IsWindowsNT4OrLater(QueryVersion());
}

bool IsNT4ServicePack6OrLater()
{
    return IsNT4ServicePack6OrLater(QueryVersion(), SystemLeadBytes());
}

} // namespace zel

extern "C" int __cdecl JTIsWindows2000(void)
{
    return zel::IsWindows2000OrLater(zel::QueryVersion()) ? 1 : 0;
}

extern "C" int __cdecl JTIsWindowsXP(void)
{
    return zel::IsWindowsXP(zel::QueryVersion()) ? 1 : 0;
}

extern "C" int __stdcall JTServerSetupFindRunningApps(const HostCallRecord* record)
{
    zel::WaitCursorScope waitCursor;
    const zel::GateOutcome outcome = zel::EvaluateServerGate(zel::QueryVersion(), zel::SystemLeadBytes());
    if (outcome.messageId != 0)
        zel::ShowSetupMessage(record != nullptr ? record->ownerWindow : nullptr, outcome.messageId);
    return outcome.result;
}
