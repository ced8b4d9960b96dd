// Shutting down, restarting or powering off Windows at the end of setup, with
// each decision traced in the debug ring.
#pragma once

#include <windows.h>

#include "frame/version_rules.h"

namespace zel {

// What a restart asks of the system: the version, which chooses the way,
// and the two calls that end Windows. Tests put a recorder in their place,
// so that they can choose the version and nothing shuts down.
class ShutdownCalls {
public:
    virtual ~ShutdownCalls() = default;
    virtual VersionRecord Version() const;
    // InitiateSystemShutdownA: no machine, no message, no time-out, programs
    // not forced closed.
    virtual void ShutDownBySystemCall(bool restart) const;
    // ExitWindowsEx with reason 0.
    virtual void EndWindows(UINT flags) const;
};

// mode: EWX_SHUTDOWN, EWX_REBOOT, EWX_POWEROFF or any other flags, passed on
// as they are. Returns when the shutdown call has returned.
void RestartWindows(UINT mode);
void RestartWindowsThrough(UINT mode, const ShutdownCalls& calls);

} // namespace zel
