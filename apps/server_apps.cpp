#include "apps/server_apps.h"

#include "apps/service_control.h"
#include "frame/handles.h"
#include "zelsetup.h"

namespace zel {
namespace {

constexpr DWORD kProgramEndWaitMs = 100;
constexpr DWORD kCloseProcessAccess = SYNCHRONIZE | PROCESS_TERMINATE;

BOOL CALLBACK PostCloseToWindowOfProcess(HWND window, LPARAM processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(processId))
        PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// Closes the program that owns the window found at first, then whatever
// window bears the title now: another program's, or one that appeared since.
void CloseServerProgram(HWND foundAtFirst, const char* title)
{
    if (foundAtFirst != nullptr)
        CloseWindowProcess(foundAtFirst, kProgramEndWaitMs);
    const HWND now = FindWindowA(nullptr, title);
    if (now != nullptr)
        SendMessageA(now, WM_CLOSE, 0, 0);
}

} // namespace

int CloseProcessWindows(DWORD processId, DWORD waitMs)
{
    const KernelHandle process(OpenProcess(kCloseProcessAccess, FALSE, processId));
    if (!process)
        return kProcessNotClosed;
    EnumWindows(PostCloseToWindowOfProcess, static_cast<LPARAM>(processId));
    if (WaitForSingleObject(process.get(), waitMs) == WAIT_OBJECT_0)
        return kProcessEnded;
    return TerminateProcess(process.get(), 0) ? kProcessTerminated : kProcessNotClosed;
}

int CloseWindowProcess(HWND window, DWORD waitMs)
{
    if (window == nullptr)
        return kProcessNotClosed;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0)
        return kProcessNotClosed;
    return CloseProcessWindows(processId, waitMs);
}

bool ServerSide::AnyRunning() const
{
    return console != nullptr || agent != nullptr || syncServiceRunning || alertServiceRunning;
}

ServerSide LookForServerSide()
{
    ServerSide found;
    found.console = FindWindowA(nullptr, kServerConsoleTitle);
    found.agent = FindWindowA(nullptr, kServerAgentTitle);
    found.syncServiceRunning = IsServiceRunning(kSyncServiceName);
    found.alertServiceRunning = IsServiceRunning(kAlertServiceName);
    return found;
}

void StopServerSide(const ServerSide& found)
{
    CloseServerProgram(found.console, kServerConsoleTitle);
    CloseServerProgram(found.agent, kServerAgentTitle);
    if (found.syncServiceRunning)
        StopServiceByName(kSyncServiceName);
    if (found.alertServiceRunning)
        StopServiceByName(kAlertServiceName);
}

} // namespace zel

extern "C" int __stdcall JTSetupAreThereAnyRunningServerApps(const HostCallRecord*)
{
    return zel::LookForServerSide().AnyRunning() ? 1 : 0;
}

extern "C" int __stdcall JTSetupStopRunningServerApps(const HostCallRecord*)
{
    zel::StopServerSide(zel::LookForServerSide());
    return 0;
}
