// Fixtures for the tests that play the product's programs and services with
// the stand-ins: the turn on the prefix-wide names, named events, services
// registered with the service control manager, and the record files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "frame/handles.h"

namespace zeltest {

// The semaphore "ZEL", the client and server window titles and the two server
// service names are the product's own and the same for every program of the
// prefix. The test programs of two Windows versions run at the same time in
// one prefix, so every test that creates, looks for or closes any of them
// holds this turn, taken across processes with a named mutex.
class ProductNamesTurn {
public:
    ProductNamesTurn();
    ~ProductNamesTurn();
    ProductNamesTurn(const ProductNamesTurn&) = delete;
    ProductNamesTurn& operator=(const ProductNamesTurn&) = delete;

private:
    zel::KernelHandle mutex_;
};

// The scenarios with the stand-in programs and services take seconds each and
// do not depend on the Windows version; one system run plays them.
bool PlaysProductScenarios();
constexpr char kScenarioSystem[] = "win2k";

// The scenarios with the stand-in service registered with Wine's service
// control manager run only when the program is given --zel-real-services.
// Where 32-bit Wine runs under qemu-user, CloseServiceHandle in this program
// has been seen to spin for minutes, or to go on with another thread's TEB and
// crash, once it has opened an existing service; the scripted manager covers
// the stop there.
void SetRealServices(bool enabled);
bool RealServices();
// GTEST_SKIP unless this run plays the real-service scenarios.
#define ZEL_SKIP_UNLESS_REAL_SERVICES()                                                                    \
    do {                                                                                                   \
        if (!::zeltest::PlaysProductScenarios() || !::zeltest::RealServices())                             \
            GTEST_SKIP() << "real services run in the " << ::zeltest::kScenarioSystem                     \
                         << " run with --zel-real-services only";                                          \
    } while (false)

// A named manual-reset event of this process, for a stand-in to open.
class NamedEvent {
public:
    explicit NamedEvent(const char* area);
    const std::string& Name() const { return name_; }
    HANDLE get() const { return event_.get(); }
    bool Wait(DWORD timeoutMs) const { return WaitForSingleObject(event_.get(), timeoutMs) == WAIT_OBJECT_0; }
    void Set() const { SetEvent(event_.get()); }

private:
    std::string name_;
    zel::KernelHandle event_;
};

// A command-line word in double quotes.
std::string Quoted(const std::string& text);

// True once no top-level window bears the title, within timeoutMs.
bool WaitUntilNoWindowTitled(const std::string& title, DWORD timeoutMs);

// The lines of a stand-in's record file, without line ends; none when absent.
std::vector<std::string> RecordLines(const std::string& path);

// The stand-in service program registered under name (demand start, its own
// process) for the life of the object, stopped and deleted afterwards.
class StandinService {
public:
    explicit StandinService(const std::string& name);
    ~StandinService();
    StandinService(const StandinService&) = delete;
    StandinService& operator=(const StandinService&) = delete;

    bool registered() const { return static_cast<bool>(service_); }
    // Starts the service and waits until it runs; false when it does not.
    bool Start();
    // The current state, 0 when it cannot be asked.
    DWORD State() const;

private:
    void StopAndWait();

    zel::ServiceHandle manager_;
    zel::ServiceHandle service_;
};

// The real DLL's registry names pointed at a company and product, and back to
// the default names afterwards.
class ModuleRegistryNames {
public:
    ModuleRegistryNames(const std::string& company, const std::string& product);
    ~ModuleRegistryNames();
    ModuleRegistryNames(const ModuleRegistryNames&) = delete;
    ModuleRegistryNames& operator=(const ModuleRegistryNames&) = delete;
};

} // namespace zeltest
