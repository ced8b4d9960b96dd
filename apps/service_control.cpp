#include "apps/service_control.h"

#include "apps/service_budget.h"
#include "frame/handles.h"
#include "frame/module_app.h"
#include "frame/setup_messages.h"

namespace zel {
namespace {

constexpr DWORD kStopByNameTimeoutMs = 60000;
constexpr DWORD kServiceStopAccess = SERVICE_STOP | SERVICE_ENUMERATE_DEPENDENTS | SERVICE_QUERY_STATUS;
constexpr DWORD kDependentAccess = SERVICE_STOP | SERVICE_QUERY_STATUS;

class SystemCalls final : public ServiceStopCalls {
public:
    SC_HANDLE OpenServiceA(SC_HANDLE manager, const char* serviceName, DWORD access) override
    {
        return ::OpenServiceA(manager, serviceName, access);
    }
    BOOL ControlService(SC_HANDLE service, DWORD control, SERVICE_STATUS* status) override
    {
        return ::ControlService(service, control, status);
    }
    BOOL QueryServiceStatus(SC_HANDLE service, SERVICE_STATUS* status) override
    {
        return ::QueryServiceStatus(service, status);
    }
    BOOL EnumDependentServicesA(SC_HANDLE service, DWORD serviceState, ENUM_SERVICE_STATUSA* entries,
                                DWORD bufferSize, DWORD* bytesNeeded, DWORD* entriesReturned) override
    {
        return ::EnumDependentServicesA(service, serviceState, entries, bufferSize, bytesNeeded, entriesReturned);
    }
    BOOL CloseServiceHandle(SC_HANDLE handle) override { return ::CloseServiceHandle(handle); }
    void Sleep(DWORD milliseconds) override { ::Sleep(milliseconds); }
    DWORD GetTickCount() override { return ::GetTickCount(); }
    void* AllocateZeroed(DWORD bytes) override { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes); }
    void FreeBlock(void* block) override { HeapFree(GetProcessHeap(), 0, block); }
};

// Runs release on every way out of a scope, keeping GetLastError as it was so
// that the code of a failed call survives the cleanup.
template <typename Release>
class ReleasedOnExit {
public:
    explicit ReleasedOnExit(Release release) : release_(release) {}
    ~ReleasedOnExit()
    {
        const DWORD lastError = GetLastError();
        release_();
        SetLastError(lastError);
    }
    ReleasedOnExit(const ReleasedOnExit&) = delete;
    ReleasedOnExit& operator=(const ReleasedOnExit&) = delete;

private:
    Release release_;
};

// One stop in progress: the calls, the budget, and the one status record that
// every query and control writes and every test of the state reads.
struct StopRun {
    ServiceStopCalls& calls;
    StopBudget budget;
    SERVICE_STATUS status;

    DWORD State() const { return status.dwCurrentState; }

    // Sleep for the wait hint and query again, while the state is
    // stop-pending or, for WaitUntilStopped, while it is not stopped. 0 once
    // the loop ends (the state reads stopped, or left stop-pending),
    // ERROR_TIMEOUT when the budget is spent first, or the failed query's code.
    DWORD WaitWhileStopPending(SC_HANDLE service) { return Wait(service, false); }
    DWORD WaitUntilStopped(SC_HANDLE service) { return Wait(service, true); }

private:
    DWORD Wait(SC_HANDLE service, bool untilStopped)
    {
        while (untilStopped ? State() != SERVICE_STOPPED : State() == SERVICE_STOP_PENDING) {
            calls.Sleep(budget.SleepFor(status.dwWaitHint, calls.GetTickCount()));
            if (!calls.QueryServiceStatus(service, &status))
                return GetLastError();
            if (State() == SERVICE_STOPPED)
                return ERROR_SUCCESS;
            if (budget.Spent(calls.GetTickCount()))
                return ERROR_TIMEOUT;
        }
        return ERROR_SUCCESS;
    }
};

DWORD StopDependent(StopRun& run, SC_HANDLE scManager, const char* serviceName)
{
    const SC_HANDLE dependent = run.calls.OpenServiceA(scManager, serviceName, kDependentAccess);
    if (dependent == nullptr)
        return GetLastError();
    const ReleasedOnExit closeDependent([&] { run.calls.CloseServiceHandle(dependent); });
    if (!run.calls.ControlService(dependent, SERVICE_CONTROL_STOP, &run.status))
        return GetLastError();
    return run.WaitUntilStopped(dependent);
}

// Stops the service's active dependents in the order the manager lists them,
// each to the stopped state before the next is opened.
DWORD StopActiveDependents(StopRun& run, SC_HANDLE scManager, SC_HANDLE service)
{
    DWORD bytesNeeded = 0;
    DWORD count = 0;
    if (run.calls.EnumDependentServicesA(service, SERVICE_ACTIVE, nullptr, 0, &bytesNeeded, &count))
        return ERROR_SUCCESS; // no active dependents
    if (GetLastError() != ERROR_MORE_DATA)
        return GetLastError();

    void* const block = run.calls.AllocateZeroed(bytesNeeded);
    if (block == nullptr)
        return GetLastError();
    const ReleasedOnExit freeBlock([&] { run.calls.FreeBlock(block); });
    auto* const entries = static_cast<ENUM_SERVICE_STATUSA*>(block);
    if (!run.calls.EnumDependentServicesA(service, SERVICE_ACTIVE, entries, bytesNeeded, &bytesNeeded, &count))
        return GetLastError();

    for (DWORD i = 0; i < count; ++i) {
        const ENUM_SERVICE_STATUSA entry = entries[i];
        const DWORD result = StopDependent(run, scManager, entry.lpServiceName);
        if (result != ERROR_SUCCESS)
            return result;
    }
    return ERROR_SUCCESS;
}

} // namespace

ServiceStopCalls& SystemServiceStopCalls()
{
    static SystemCalls calls;
    return calls;
}

bool IsServiceRunning(const char* serviceName)
{
    const ServiceHandle manager(OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA, GENERIC_READ));
    if (!manager)
        return false;
    const ServiceHandle service(OpenServiceA(manager.get(), serviceName, SERVICE_INTERROGATE));
    if (!service)
        return false;
    // A stopped service refuses the interrogation.
    SERVICE_STATUS status = {};
    return ControlService(service.get(), SERVICE_CONTROL_INTERROGATE, &status) &&
           status.dwCurrentState != SERVICE_STOPPED;
}

DWORD StopServiceAndDependents(SC_HANDLE scManager, SC_HANDLE service, bool stopDependents, DWORD timeoutMs)
{
    return StopServiceAndDependents(SystemServiceStopCalls(), scManager, service, stopDependents, timeoutMs);
}

DWORD StopServiceAndDependents(ServiceStopCalls& calls, SC_HANDLE scManager, SC_HANDLE service,
                               bool stopDependents, DWORD timeoutMs)
{
    StopRun run{calls, StopBudget(calls.GetTickCount(), timeoutMs), {}};
    if (!calls.QueryServiceStatus(service, &run.status))
        return GetLastError();
    const DWORD pending = run.WaitWhileStopPending(service);
    if (pending != ERROR_SUCCESS)
        return pending;
    if (run.State() == SERVICE_STOPPED)
        return ERROR_SUCCESS;

    if (stopDependents) {
        const DWORD dependents = StopActiveDependents(run, scManager, service);
        if (dependents != ERROR_SUCCESS)
            return dependents;
    }
    // Whether the service takes the request or not, its state decides.
    calls.ControlService(service, SERVICE_CONTROL_STOP, &run.status);
    return run.WaitUntilStopped(service);
}

int StopServiceByName(const char* serviceName)
{
    WaitCursorScope waitCursor;
    const ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) {
        ShowSystemError(GetLastError(), nullptr);
        return 0;
    }
    const ServiceHandle service(OpenServiceA(manager.get(), serviceName, kServiceStopAccess));
    if (!service) {
        ShowSystemError(GetLastError(), nullptr);
        return 0;
    }
    const DWORD result = StopServiceAndDependents(manager.get(), service.get(), true, kStopByNameTimeoutMs);
    if (result != ERROR_SUCCESS)
        ShowSystemError(result, nullptr);
    return 0;
}

} // namespace zel
