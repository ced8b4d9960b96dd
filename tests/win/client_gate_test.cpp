// The client gate with the stand-in client program: the semaphore "ZEL", the
// message-411 loop and the close requests.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "apps/client_gate.h"
#include "host/raw_call.h"
#include "message_box_recorder.h"
#include "module_under_test.h"
#include "product_programs_fixture.h"
#include "registry_fixture.h"
#include "standin_process.h"
#include "test_system.h"
#include "test_window.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

const char kSetupCaption[] = "Halcyra Installation";
const char kClientRunning[] = "Setup has determined that an instance of Halcyra application is currently "
                              "running...\nPlease close the application and restart installation.";
const char kSync[] = "Synchronization";
// The DLL finds no edition registered at load (see kLoadTimeProductMutex).
const char kProjectManager[] = "Halcyra - Project Manager";
const char kPreference[] = "AllowRequestUserCloseApp";
constexpr DWORD kStandinWaitMs = 10000;

int CallGate(const HostCallRecord* record)
{
    return Module().Export<ZelHostRecordExport>("JTSetupFindRunningApps", 10)(record);
}

// The stand-in client with the given windows, ready once it has shown them.
struct ClientOptions {
    bool holdsSemaphore = true;
    std::vector<std::string> windows;
    DWORD closeDelayMs = 0;
    const NamedEvent* closeOn = nullptr;
    std::string record;
};

std::string ClientArguments(const ClientOptions& o, const NamedEvent& ready)
{
    std::string args = "--ready " + ready.Name() + " --close-delay " + std::to_string(o.closeDelayMs);
    if (o.holdsSemaphore)
        args += " --semaphore";
    for (const std::string& title : o.windows)
        args += " --window " + Quoted(title);
    if (o.closeOn != nullptr)
        args += " --close-on " + o.closeOn->Name();
    if (!o.record.empty())
        args += " --record " + Quoted(o.record);
    return args;
}

class StartedClient {
public:
    explicit StartedClient(const ClientOptions& options)
        : ready_("ClientReady"), process_("client", ClientArguments(options, ready_))
    {
        EXPECT_TRUE(ready_.Wait(kStandinWaitMs)) << "the stand-in client did not get ready";
    }
    const StandinProcess& process() const { return process_; }

private:
    NamedEvent ready_;
    StandinProcess process_;
};

// The module's product pointed at a product of this test, for the preference.
class GateProduct {
public:
    GateProduct() : product_("Gate"), names_(product_.Company(), product_.Product()) {}
    void SetMachineDword(DWORD value) const
    {
        SetDwordValue(HKEY_LOCAL_MACHINE, product_.Path("Preferences"), kPreference, value);
    }
    void SetUserDword(DWORD value) const
    {
        SetDwordValue(HKEY_CURRENT_USER, product_.Path("Preferences"), kPreference, value);
    }
    void SetMachineText(const char* text) const
    {
        SetTextValue(HKEY_LOCAL_MACHINE, product_.Path("Preferences"), kPreference, text);
    }

private:
    ScopedProduct product_;
    ModuleRegistryNames names_;
};

// Every system: the gate lets each Windows version of Wine through (the 95
// family, NT 4.0 with Service Pack 6a and later), so only the semaphore is
// touched; it runs under the turn like everything else that touches "ZEL".
TEST(ClientGate, NoClientRunningGoesOnWithoutABoxAndLeavesTheSemaphoreFree)
{
    ProductNamesTurn turn;
    zel::KernelHandle ours(CreateSemaphoreA(nullptr, 1, 1, "ZEL"));
    ASSERT_TRUE(ours);
    TestWindow host;
    HostCallRecord record = {};
    record.ownerWindow = host.get();

    MessageBoxRecorder recorder;
    EXPECT_EQ(CallGate(&record), 0) << SystemName();
    EXPECT_EQ(CallGate(nullptr), 0) << SystemName();
    EXPECT_EQ(recorder.Boxes(), std::vector<RecordedBox>()) << SystemName();
    // Given back: its count is 1 again.
    EXPECT_EQ(WaitForSingleObject(ours.get(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
    ReleaseSemaphore(ours.get(), 1, nullptr);
}

TEST(ClientGate, HostRecordExportsRemoveTheirFourBytes)
{
    // Two of the three probe the services: under qemu-user, calls into Wine's
    // service manager from this program have hung it for good.
    ZEL_SKIP_UNLESS_REAL_SERVICES();
    ProductNamesTurn turn; // nothing of the product runs, so nothing is closed
    HostCallRecord record = {};
    const uint32_t args[] = {reinterpret_cast<uint32_t>(&record)};
    const struct {
        const char* name;
        WORD ordinal;
    } exports[] = {
        {"JTSetupFindRunningApps", 10},
        {"JTSetupAreThereAnyRunningServerApps", 90},
        {"JTSetupStopRunningServerApps", 100},
    };
    MessageBoxRecorder recorder;
    for (const auto& e : exports) {
        const zelcall::ProbedCall call =
            zelcall::CallAndMeasureStack(Module().Export<const void*>(e.name, e.ordinal), args, 1);
        EXPECT_EQ(call.bytesRemoved, 4) << e.name;
        EXPECT_EQ(call.result, 0u) << e.name;
    }
}

class ClientGateScenario : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!PlaysProductScenarios())
            GTEST_SKIP() << "the stand-in client scenarios run in the " << kScenarioSystem << " run only";
        turn_.emplace();
    }

    std::optional<ProductNamesTurn> turn_;
    TestWindow host_;
    ScratchFolder folder_{"ClientGate"};
};

TEST_F(ClientGateScenario, WindowsOfAProgramWithoutTheSemaphoreAreLeftAlone)
{
    GateProduct product;
    NamedEvent close("ClientClose");
    ClientOptions options;
    options.holdsSemaphore = false;
    options.windows = {kSync, kProjectManager};
    options.closeOn = &close;
    options.record = folder_.File("client.log");
    StartedClient client(options);

    // A gate that took this for a running client would loop on message 411;
    // the first box ends the program, so that the test fails instead of hanging.
    MessageBoxRecorder recorder([&](const RecordedBox&) { close.Set(); });
    HostCallRecord record = {};
    record.ownerWindow = host_.get();
    EXPECT_EQ(CallGate(&record), 0);
    EXPECT_EQ(recorder.Boxes(), std::vector<RecordedBox>());
    Sleep(200); // a request, had one been posted, would have arrived by now
    close.Set();
    ASSERT_TRUE(client.process().WaitForExit(kStandinWaitMs));
    EXPECT_EQ(RecordLines(options.record),
              (std::vector<std::string>{std::string("closed ") + kSync, std::string("closed ") + kProjectManager}));
}

TEST_F(ClientGateScenario, HeldSemaphoreWithoutWindowsGoesOnAtOnce)
{
    const std::optional<DWORD> preferences[] = {std::nullopt, 1, 0};
    for (const std::optional<DWORD>& preference : preferences) {
        SCOPED_TRACE(preference ? std::to_string(*preference) : "absent");
        GateProduct product;
        if (preference)
            product.SetMachineDword(*preference);
        ClientOptions options;
        StartedClient client(options);
        MessageBoxRecorder recorder;
        HostCallRecord record = {};
        record.ownerWindow = host_.get();
        EXPECT_EQ(CallGate(&record), 0);
        EXPECT_EQ(recorder.Boxes(), std::vector<RecordedBox>());
        EXPECT_FALSE(client.process().WaitForExit(0)); // nothing asked it to end
    }
}

// Message 411 comes back after every OK while a client window exists; after
// the last box of the case the stand-in's user closes the program, then the
// gate goes on.
TEST_F(ClientGateScenario, UserIsAskedAgainUntilTheWindowsAreGone)
{
    enum class Preference { Absent, UserZero, MachineText };
    struct Case {
        const char* name;
        std::vector<std::string> windows;
        Preference preference;
        bool zelIsAMutex; // the name belongs to an object of another kind
        int boxes;        // shown before the user closes the program
    };
    const Case cases[] = {
        {"both windows", {kSync, kProjectManager}, Preference::Absent, false, 3},
        {"Synchronization only", {kSync}, Preference::Absent, false, 2},
        {"Project Manager only", {kProjectManager}, Preference::Absent, false, 2},
        {"the user's 0 alone does not count", {kSync}, Preference::UserZero, false, 1},
        {"a machine value that is no DWORD counts as 1", {kSync}, Preference::MachineText, false, 1},
        {"\"ZEL\" taken by a mutex counts as a running client", {kProjectManager}, Preference::Absent, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GateProduct product;
        if (c.preference == Preference::UserZero)
            product.SetUserDword(0);
        if (c.preference == Preference::MachineText)
            product.SetMachineText("0");
        zel::KernelHandle otherKind(c.zelIsAMutex ? CreateMutexA(nullptr, FALSE, "ZEL") : nullptr);
        NamedEvent close("ClientClose");
        ClientOptions options;
        options.holdsSemaphore = !c.zelIsAMutex;
        options.windows = c.windows;
        options.closeOn = &close;
        options.record = folder_.File("client.log");
        DeleteFileA(options.record.c_str());
        StartedClient client(options);

        std::atomic<int> seen{0};
        MessageBoxRecorder recorder([&](const RecordedBox&) {
            if (++seen == c.boxes) {
                close.Set();
                for (const std::string& title : c.windows)
                    EXPECT_TRUE(WaitUntilNoWindowTitled(title, kStandinWaitMs)) << title;
            }
        });
        HostCallRecord record = {};
        record.ownerWindow = host_.get();
        EXPECT_EQ(CallGate(&record), 0);
        const RecordedBox box{host_.get(), kSetupCaption, kClientRunning};
        EXPECT_EQ(recorder.Boxes(), std::vector<RecordedBox>(static_cast<size_t>(c.boxes), box));
        EXPECT_TRUE(client.process().WaitForExit(kStandinWaitMs));
        for (const std::string& line : RecordLines(options.record))
            EXPECT_EQ(line.rfind("request", 0), std::string::npos) << "no close request is posted: " << line;
    }
}

// With the machine preference 0 the gate asks the Synchronization window to
// close, waits until it is gone, and only then asks the Project Manager window.
TEST_F(ClientGateScenario, CloseRequestsOneWindowAfterTheOther)
{
    const std::string requestSync = std::string("request ") + kSync + " 1 0";
    const std::string closedSync = std::string("closed ") + kSync;
    const std::string requestManager = std::string("request ") + kProjectManager + " 1 0";
    const std::string closedManager = std::string("closed ") + kProjectManager;
    struct Case {
        const char* name;
        std::vector<std::string> windows;
        bool zelIsAMutex;
        std::vector<std::string> record;
    };
    const Case cases[] = {
        {"both windows", {kSync, kProjectManager}, false, {requestSync, closedSync, requestManager, closedManager}},
        {"Synchronization only", {kSync}, false, {requestSync, closedSync}},
        {"Project Manager only", {kProjectManager}, false, {requestManager, closedManager}},
        {"\"ZEL\" taken by a mutex counts as a running client", {kSync}, true, {requestSync, closedSync}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GateProduct product;
        product.SetMachineDword(0);
        zel::KernelHandle otherKind(c.zelIsAMutex ? CreateMutexA(nullptr, FALSE, "ZEL") : nullptr);
        ClientOptions options;
        options.holdsSemaphore = !c.zelIsAMutex;
        options.windows = c.windows;
        options.closeDelayMs = 150;
        options.record = folder_.File("client.log");
        DeleteFileA(options.record.c_str());
        StartedClient client(options);

        MessageBoxRecorder recorder;
        HostCallRecord record = {};
        record.ownerWindow = host_.get();
        EXPECT_EQ(CallGate(&record), 0);
        // It returns only once both titles are gone.
        EXPECT_EQ(FindWindowA(nullptr, kSync), nullptr);
        EXPECT_EQ(FindWindowA(nullptr, kProjectManager), nullptr);
        EXPECT_EQ(recorder.Boxes(), std::vector<RecordedBox>());
        ASSERT_TRUE(client.process().WaitForExit(kStandinWaitMs));
        EXPECT_EQ(RecordLines(options.record), c.record);
    }
}

// The routine linked into this program has the application object of
// test_main.cpp, registered as edition 1.
TEST_F(ClientGateScenario, ProjectManagerTitleFollowsTheEdition)
{
    const std::string tandem = "Halcyra Tandem Edition - Project Manager";
    EXPECT_EQ(zel::ProjectManagerTitle(), tandem);
    ScopedProduct product("GateEdition");
    SetDwordValue(HKEY_LOCAL_MACHINE, product.Path("Preferences"), kPreference, 0);
    ClientOptions options;
    options.windows = {tandem, kProjectManager};
    options.closeDelayMs = 50;
    options.record = folder_.File("client.log");
    StartedClient client(options);

    EXPECT_EQ(zel::RunClientGate(nullptr), 0);
    EXPECT_EQ(FindWindowA(nullptr, tandem.c_str()), nullptr);
    EXPECT_NE(FindWindowA(nullptr, kProjectManager), nullptr); // another edition's window
    EXPECT_EQ(RecordLines(options.record),
              (std::vector<std::string>{"request " + tandem + " 1 0", "closed " + tandem}));
}

} // namespace
} // namespace zeltest
