// A service control manager played from a script, with its own clock, for
// the service stop: dependents, stop-pending states, wait hints, refusals and
// failures of every call, which the real manager of Wine does not offer.
//
// Every call is written down in order ("tick", "sleep 100", "query Main",
// "control Main stop", "enum Main active 0", "alloc 120", "open DepA 0x24",
// "close DepA", "free"), the clock moves only by the sleeps, and the handles
// and the block handed out are checked for release.
#pragma once

#include <windows.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "apps/service_control.h"

namespace zeltest {

// What one call reports: a state and a wait hint, or a failure code.
struct ServiceAnswer {
    DWORD state = SERVICE_RUNNING;
    DWORD waitHint = 0;
    DWORD error = 0;              // non-zero: the call fails with this code
    bool writesOnFailure = false; // a failing control still fills in the record
};

ServiceAnswer State(DWORD state, DWORD waitHint = 0);
ServiceAnswer Failure(DWORD error);

struct ScriptedService {
    // Answers to the status queries in turn; the last one repeats.
    std::deque<ServiceAnswer> queries{State(SERVICE_RUNNING)};
    ServiceAnswer stopAnswer = State(SERVICE_STOP_PENDING);
    std::vector<std::string> activeDependents;
    DWORD openError = 0;
};

class ScriptedServiceManager : public zel::ServiceStopCalls {
public:
    explicit ScriptedServiceManager(DWORD startTick = 1000) : tick_(startTick) {}
    ~ScriptedServiceManager() override;

    // The service's script; the reference stays valid.
    ScriptedService& Service(const std::string& name) { return services_[name]; }

    // Handles the caller holds: the manager and a service opened beforehand.
    SC_HANDLE Manager() const;
    SC_HANDLE CallerHandle(const std::string& name);

    // Failures of the enumeration and of the heap.
    DWORD sizingEnumError = 0;  // the first enumeration fails with this instead of ERROR_MORE_DATA
    DWORD secondEnumError = 0;
    bool allocationFails = false;

    const std::vector<std::string>& Calls() const { return calls_; }
    DWORD Now() const { return tick_; }

    // Every handle the routine opened closed once, the caller's handles never,
    // every block freed once; a test failure otherwise.
    void ExpectEverythingReleased() const;

    SC_HANDLE OpenServiceA(SC_HANDLE manager, const char* serviceName, DWORD access) override;
    BOOL ControlService(SC_HANDLE service, DWORD control, SERVICE_STATUS* status) override;
    BOOL QueryServiceStatus(SC_HANDLE service, SERVICE_STATUS* status) override;
    BOOL EnumDependentServicesA(SC_HANDLE service, DWORD serviceState, ENUM_SERVICE_STATUSA* entries,
                                DWORD bufferSize, DWORD* bytesNeeded, DWORD* entriesReturned) override;
    BOOL CloseServiceHandle(SC_HANDLE handle) override;
    void Sleep(DWORD milliseconds) override;
    DWORD GetTickCount() override;
    void* AllocateZeroed(DWORD bytes) override;
    void FreeBlock(void* block) override;

private:
    struct HandleRecord {
        std::string name;
        bool callers;
        int closes;
    };
    SC_HANDLE NewHandle(const std::string& name, bool callers);
    const HandleRecord* Find(SC_HANDLE handle) const;
    std::string NameOf(SC_HANDLE handle) const;
    DWORD BytesForDependents(const ScriptedService& service) const;

    DWORD tick_;
    std::map<std::string, ScriptedService> services_;
    std::map<SC_HANDLE, HandleRecord> handles_;
    UINT_PTR nextHandle_ = 0x3000;
    std::map<void*, int> blocks_; // block -> times freed
    std::vector<std::string> calls_;
};

} // namespace zeltest
