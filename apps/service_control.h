// The service control manager, for the product's server services: whether a
// service runs, and stopping one with its active dependents within one time
// budget.
#pragma once

#include <windows.h>

namespace zel {

// The calls through which a service stop reaches the service control manager,
// the clock, the sleeps and the process heap, each named as the Win32 function
// it stands for. The system's binding passes each straight to that function;
// a failing call leaves its code in GetLastError, as the function does.
class ServiceStopCalls {
public:
    virtual ~ServiceStopCalls() = default;
    virtual SC_HANDLE OpenServiceA(SC_HANDLE manager, const char* serviceName, DWORD access) = 0;
    virtual BOOL ControlService(SC_HANDLE service, DWORD control, SERVICE_STATUS* status) = 0;
    virtual BOOL QueryServiceStatus(SC_HANDLE service, SERVICE_STATUS* status) = 0;
    virtual BOOL EnumDependentServicesA(SC_HANDLE service, DWORD serviceState, ENUM_SERVICE_STATUSA* entries,
                                        DWORD bufferSize, DWORD* bytesNeeded, DWORD* entriesReturned) = 0;
    virtual BOOL CloseServiceHandle(SC_HANDLE handle) = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
    virtual DWORD GetTickCount() = 0;
    // A zero-filled block of the process heap, or null.
    virtual void* AllocateZeroed(DWORD bytes) = 0;
    virtual void FreeBlock(void* block) = 0;
};

// The binding to the system's own functions.
ServiceStopCalls& SystemServiceStopCalls();

// True when the service answers an interrogation and does not report itself
// stopped. Every failure reads as not running.
bool IsServiceRunning(const char* serviceName);

// Stops service, first its active dependents one after another when
// stopDependents is true, within timeoutMs counted from the call. 0 when the
// service is stopped, ERROR_TIMEOUT when the budget was spent first, else the
// code of the call that failed. Neither handle given is closed.
DWORD StopServiceAndDependents(SC_HANDLE scManager, SC_HANDLE service, bool stopDependents, DWORD timeoutMs);
DWORD StopServiceAndDependents(ServiceStopCalls& calls, SC_HANDLE scManager, SC_HANDLE service,
                               bool stopDependents, DWORD timeoutMs);

// Stops the named service with its dependents within 60 seconds, showing the
// wait cursor; a failure is told in a system-error box. Always 0.
int StopServiceByName(const char* serviceName);

} // namespace zel
