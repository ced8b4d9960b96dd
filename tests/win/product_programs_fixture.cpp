#include "product_programs_fixture.h"

#include <gtest/gtest.h>

#include <fstream>

#include "module_under_test.h"
#include "registry_fixture.h"
#include "standin_process.h"
#include "test_system.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

constexpr DWORD kPollMs = 20;
// A freshly booted prefix keeps the service database locked for about 40 s.
constexpr DWORD kDatabaseLockedBoundMs = 120000;
constexpr DWORD kServiceStateChangeMs = 20000;

bool WaitForState(SC_HANDLE service, DWORD state, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        SERVICE_STATUS status = {};
        if (QueryServiceStatus(service, &status) && status.dwCurrentState == state)
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(kPollMs);
    }
}

} // namespace

ProductNamesTurn::ProductNamesTurn() : mutex_(CreateMutexA(nullptr, FALSE, "ZelTestProductNames"))
{
    // An abandoned turn (a run that crashed) is a turn all the same.
    const DWORD waited = WaitForSingleObject(mutex_.get(), INFINITE);
    EXPECT_TRUE(waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) << waited;
}

ProductNamesTurn::~ProductNamesTurn()
{
    ReleaseMutex(mutex_.get());
}

namespace {

bool g_realServices = false;

} // namespace

void SetRealServices(bool enabled)
{
    g_realServices = enabled;
}

bool RealServices()
{
    return g_realServices;
}

bool PlaysProductScenarios()
{
    return SystemName() == kScenarioSystem;
}

NamedEvent::NamedEvent(const char* area)
{
    static int serial = 0;
    name_ = UniqueName(area) + "-" + std::to_string(++serial);
    event_.reset(CreateEventA(nullptr, TRUE, FALSE, name_.c_str()));
    EXPECT_TRUE(event_) << name_;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

bool WaitUntilNoWindowTitled(const std::string& title, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (FindWindowA(nullptr, title.c_str()) != nullptr) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}

std::vector<std::string> RecordLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

StandinService::StandinService(const std::string& name)
    : manager_(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS))
{
    if (!manager_) {
        ADD_FAILURE() << "no service control manager: error " << GetLastError();
        return;
    }
    const std::string binary = "\"" + StandinPath("service") + "\"";
    service_.reset(CreateServiceA(manager_.get(), name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                  SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                  binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
    if (!service_ && GetLastError() == ERROR_SERVICE_EXISTS) {
        // Left by a run that did not finish: take it over.
        service_.reset(OpenServiceA(manager_.get(), name.c_str(), SERVICE_ALL_ACCESS));
        if (service_) {
            StopAndWait();
            ChangeServiceConfigA(service_.get(), SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                 SERVICE_ERROR_IGNORE, binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr);
        }
    }
    EXPECT_TRUE(service_) << "cannot register " << name << ": error " << GetLastError();
}

StandinService::~StandinService()
{
    if (!service_)
        return;
    StopAndWait();
    DeleteService(service_.get());
}

bool StandinService::Start()
{
    const DWORD start = GetTickCount();
    while (!StartServiceA(service_.get(), 0, nullptr)) {
        const DWORD error = GetLastError();
        if (error != ERROR_SERVICE_DATABASE_LOCKED || GetTickCount() - start > kDatabaseLockedBoundMs) {
            ADD_FAILURE() << "StartServiceA: error " << error;
            return false;
        }
        Sleep(500);
    }
    return WaitForState(service_.get(), SERVICE_RUNNING, kServiceStateChangeMs);
}

DWORD StandinService::State() const
{
    SERVICE_STATUS status = {};
    return QueryServiceStatus(service_.get(), &status) ? status.dwCurrentState : 0;
}

void StandinService::StopAndWait()
{
    if (State() == SERVICE_STOPPED)
        return;
    SERVICE_STATUS status = {};
    ControlService(service_.get(), SERVICE_CONTROL_STOP, &status);
    WaitForState(service_.get(), SERVICE_STOPPED, kServiceStateChangeMs);
}

ModuleRegistryNames::ModuleRegistryNames(const std::string& company, const std::string& product)
{
    Module().Export<ZelSetRegistryInfoExport>("ZELSetup_SetRegistryInfo", 38)(company.c_str(), product.c_str());
}

ModuleRegistryNames::~ModuleRegistryNames()
{
    Module().Export<ZelSetRegistryInfoExport>("ZELSetup_SetRegistryInfo", 38)("Kelvaron", "Vantorell");
}

} // namespace zeltest
