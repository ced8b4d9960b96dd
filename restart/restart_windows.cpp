#include "restart/restart_windows.h"

#include "diag/debug_ring.h"
#include "frame/module_app.h"
#include "frame/version_checks.h"
#include "restart/set_privilege.h"
#include "settings/product_registry.h"
#include "zelsetup.h"

namespace zel {
namespace {

const char kWinlogonKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// The line a mode is announced with; null for a mode without one.
const char* EntryLine(UINT mode)
{
    switch (mode) {
    case EWX_SHUTDOWN:
        return "EWX_SHUTDOWN";
    case EWX_REBOOT:
        return "EWX_REBOOT";
    case EWX_POWEROFF:
        return "EWX_POWEROFF";
    default:
        return nullptr;
    }
}

const char* ClosingLine(UINT mode)
{
    switch (mode) {
    case EWX_SHUTDOWN:
        return "ExitWindowsEx(WX_SHUTDOWN)";
    case EWX_REBOOT:
        return "ExitWindowsEx(EWX_REBOOT)";
    case EWX_POWEROFF:
        return "ExitWindowsEx(EWX_POWEROFF)";
    default:
        return "ExitWindowsEx(Other)";
    }
}

// From Service Pack 6 of Windows NT 4.0 on, a shutdown or restart goes
// through the system shutdown call instead of ExitWindowsEx, unless a
// preference turns that work-around off. True when it went that way.
bool ShutDownAroundServicePack6(UINT mode, const VersionRecord& version, const ShutdownCalls& calls)
{
    if (!IsNT4ServicePack6OrLater(version, SystemLeadBytes()))
        return false;
    if (ReadPreference("DisableSp6ShutdownWorkaround", 0) != 0)
        return false;
    if (mode == EWX_SHUTDOWN) {
        DebugIniMessage("NT4ServicePack6OrGreater InitiateSystemShutdown SHUTDOWN");
        calls.ShutDownBySystemCall(false);
        return true;
    }
    if (mode == EWX_REBOOT) {
        DebugIniMessage("NT4ServicePack6OrGreater InitiateSystemShutdown REBOOT");
        calls.ShutDownBySystemCall(true);
        return true;
    }
    return false;
}

// Whether a shutdown is to power the machine off: a preference of the
// product, or on the NT family Winlogon's own setting.
bool ShutdownPowersOff(const VersionRecord& version)
{
    if (ReadPreference("EnablePowerdownAfterShutdown", 0) != 0) {
        DebugIniMessage("%s\\%s == TRUE", "Preferences", "EnablePowerdownAfterShutdown");
        return true;
    }
    if (!IsWindowsNT4OrLater(version) || ReadPreference("EnablePowerOffSupport", 1) == 0)
        return false;
    char setting[260] = {};
    // A value that cannot be read whole may leave anything in the buffer.
    if (!ReadSystemString(HKEY_LOCAL_MACHINE, kWinlogonKey, "PowerdownAfterShutdown", setting, sizeof(setting)))
        setting[0] = '\0';
    DebugIniMessage("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\"
                    "PowerdownAfterShutdown == %s",
                    setting);
    return setting[0] == '1';
}

} // namespace

VersionRecord ShutdownCalls::Version() const
{
    return QueryVersion();
}

void ShutdownCalls::ShutDownBySystemCall(bool restart) const
{
    ::InitiateSystemShutdownA(nullptr, nullptr, 0, FALSE, restart ? TRUE : FALSE);
}

void ShutdownCalls::EndWindows(UINT flags) const
{
    ::ExitWindowsEx(flags, 0);
}

void RestartWindowsThrough(UINT mode, const ShutdownCalls& calls)
{
    const VersionRecord version = calls.Version();
    // The privilege follows the mode given: a shutdown turned into a
    // power-off below runs with the privilege enabled for the shutdown.
    if (const char* entry = EntryLine(mode)) {
        DebugIniMessage("%s", entry);
        if (IsWindowsNT4OrLater(version))
            SetPrivilege("SeShutdownPrivilege", TRUE, nullptr);
    }
    WriteProductDword("Reserved", "ExitWindows", 1, HKEY_CURRENT_USER);
    if (ShutDownAroundServicePack6(mode, version, calls))
        return;
    if (mode == EWX_SHUTDOWN && ShutdownPowersOff(version))
        mode = EWX_POWEROFF;
    DebugIniMessage("%s", ClosingLine(mode));
    calls.EndWindows(mode);
}

void RestartWindows(UINT mode)
{
    RestartWindowsThrough(mode, ShutdownCalls());
}

} // namespace zel

extern "C" int __stdcall JTSetupRebootComputer(const HostCallRecord*)
{
    zel::WaitCursorScope waitCursor;
    // The agent is asked first, and has handled the request when SendMessageA
    // returns.
    if (HWND agent = FindWindowA(nullptr, "Halcyra Agent"))
        SendMessageA(agent, WM_CLOSE, 0, 0);
    zel::RestartWindows(EWX_REBOOT);
    return 0;
}
