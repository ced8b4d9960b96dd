// The server programs and services with the stand-ins: closing a program by
// its process or its window, and the two exports over the product's titles
// and service names.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "apps/server_apps.h"
#include "apps/service_control.h"
#include "message_box_recorder.h"
#include "module_under_test.h"
#include "product_programs_fixture.h"
#include "registry_fixture.h"
#include "standin_process.h"
#include "test_window.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

const char kConsole[] = "Halcyra Synchronization Server Console 4.0";
const char kAgent[] = "Halcyra Synchronization Server Agent 4.0";
const char kSyncService[] = "QDVSyncServer40";
const char kAlertService[] = "QDVAlert40";
constexpr DWORD kEndedByItself = 7; // the stand-in server's exit code after WM_CLOSE
constexpr DWORD kStandinWaitMs = 10000;

// The stand-in server with one titled window and `extra` more, ready once it
// has shown them.
class StartedServer {
public:
    StartedServer(const std::string& title, bool ignoresClose, const std::string& record, int extra = 0)
        : ready_("ServerReady"),
          process_("server", "--ready " + ready_.Name() + " --window " + Quoted(title) + " --extra " +
                                 std::to_string(extra) + (ignoresClose ? " --ignore-close" : "") +
                                 (record.empty() ? "" : " --record " + Quoted(record)))
    {
        EXPECT_TRUE(ready_.Wait(kStandinWaitMs)) << "the stand-in server did not get ready";
    }
    const StandinProcess& process() const { return process_; }

private:
    NamedEvent ready_;
    StandinProcess process_;
};

std::vector<std::string> Sorted(std::vector<std::string> lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

DWORD ExitCodeOf(const StandinProcess& process)
{
    DWORD code = STILL_ACTIVE;
    EXPECT_TRUE(process.WaitForExit(kStandinWaitMs));
    GetExitCodeProcess(process.handle(), &code);
    return code;
}

// The routines themselves, over windows with titles of this process.
class CloseProgram : public ::testing::Test {
protected:
    const std::string title_ = UniqueName("Server");
    ScratchFolder folder_{"CloseProgram"};
};

TEST_F(CloseProgram, AProgramThatEndsOnTheCloseIsNotTerminated)
{
    StartedServer server(title_, false, "");
    EXPECT_EQ(zel::CloseProcessWindows(server.process().id(), kStandinWaitMs), zel::kProcessEnded);
    EXPECT_EQ(ExitCodeOf(server.process()), kEndedByItself);
}

TEST_F(CloseProgram, AProgramThatIgnoresTheCloseIsTerminatedAfterEveryWindowGotIt)
{
    const std::string record = folder_.File("server.log");
    StartedServer server(title_, true, record, 2);
    // A second long enough for the stand-in to write down what it received.
    EXPECT_EQ(zel::CloseProcessWindows(server.process().id(), 1000), zel::kProcessTerminated);
    EXPECT_EQ(ExitCodeOf(server.process()), 0u);
    const std::vector<std::string> expected = {"close  posted", "close  posted", "close " + title_ + " posted"};
    EXPECT_EQ(Sorted(RecordLines(record)), expected);
}

TEST_F(CloseProgram, ByWindowClosesTheOwningProcess)
{
    StartedServer server(title_, false, "");
    const HWND window = FindWindowA(nullptr, title_.c_str());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(zel::CloseWindowProcess(window, kStandinWaitMs), zel::kProcessEnded);
    EXPECT_EQ(ExitCodeOf(server.process()), kEndedByItself);
}

TEST_F(CloseProgram, NothingToOpenGivesZero)
{
    // No process has these identifiers (0 is the idle process, never opened).
    for (DWORD processId : {0x0u, 0x7FFFFFF0u})
        EXPECT_EQ(zel::CloseProcessWindows(processId, 100), zel::kProcessNotClosed) << processId;
    EXPECT_EQ(zel::CloseWindowProcess(nullptr, 100), zel::kProcessNotClosed);
    HWND gone;
    {
        TestWindow window("zeltest window about to go");
        gone = window.get();
    }
    // No owner can be found for a destroyed window.
    EXPECT_EQ(zel::CloseWindowProcess(gone, 100), zel::kProcessNotClosed);
}

int AnyRunning()
{
    return Module().Export<ZelHostRecordExport>("JTSetupAreThereAnyRunningServerApps", 90)(nullptr);
}

int StopRunning()
{
    HostCallRecord record = {};
    return Module().Export<ZelHostRecordExport>("JTSetupStopRunningServerApps", 100)(&record);
}

// The exports over the product's own titles and service names.
class ServerSide : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Both exports probe the services: under qemu-user, this program's
        // calls into Wine's service manager have hung it for good, so these
        // run with the real-service scenarios only.
        ZEL_SKIP_UNLESS_REAL_SERVICES();
        turn_.emplace();
        ASSERT_EQ(FindWindowA(nullptr, kConsole), nullptr);
        ASSERT_EQ(FindWindowA(nullptr, kAgent), nullptr);
    }

    std::optional<ProductNamesTurn> turn_;
    ScratchFolder folder_{"ServerSide"};
};

TEST_F(ServerSide, NothingRunningGivesZeroAndTheStopDoesNothing)
{
    MessageBoxRecorder recorder;
    EXPECT_EQ(AnyRunning(), 0);
    EXPECT_EQ(StopRunning(), 0);
    EXPECT_EQ(recorder.Boxes(), std::vector<RecordedBox>());
}

TEST_F(ServerSide, EitherProgramRunningAloneCounts)
{
    for (const char* title : {kConsole, kAgent}) {
        SCOPED_TRACE(title);
        StartedServer server(title, false, "");
        EXPECT_EQ(AnyRunning(), 1);
    }
}

TEST_F(ServerSide, EitherServiceRunningAloneCounts)
{
    ZEL_SKIP_UNLESS_REAL_SERVICES();
    for (const char* name : {kSyncService, kAlertService}) {
        SCOPED_TRACE(name);
        StandinService service(name);
        ASSERT_TRUE(service.registered());
        EXPECT_EQ(AnyRunning(), 0); // registered but stopped
        ASSERT_TRUE(service.Start());
        EXPECT_EQ(AnyRunning(), 1);
    }
}

TEST_F(ServerSide, StopClosesOrTerminatesThePrograms)
{
    const std::string consoleRecord = folder_.File("console.log");
    const std::string agentRecord = folder_.File("agent.log");
    StartedServer console(kConsole, true, consoleRecord, 2);
    StartedServer agent(kAgent, false, agentRecord);

    MessageBoxRecorder recorder;
    EXPECT_EQ(StopRunning(), 0);
    EXPECT_EQ(recorder.Boxes(), std::vector<RecordedBox>());
    EXPECT_EQ(ExitCodeOf(console.process()), 0u); // terminated
    EXPECT_EQ(ExitCodeOf(agent.process()), kEndedByItself);
    // Every window of the console's process got the posted close; nothing
    // was sent, since its title was gone after the termination.
    const std::vector<std::string> console3 = {"close  posted", "close  posted",
                                               std::string("close ") + kConsole + " posted"};
    EXPECT_EQ(Sorted(RecordLines(consoleRecord)), console3);
    EXPECT_EQ(RecordLines(agentRecord), std::vector<std::string>{std::string("close ") + kAgent + " posted"});
    EXPECT_EQ(AnyRunning(), 0);
}

TEST_F(ServerSide, StopStopsTheServicesFoundRunning)
{
    ZEL_SKIP_UNLESS_REAL_SERVICES();
    StandinService sync(kSyncService);
    StandinService alert(kAlertService);
    ASSERT_TRUE(sync.Start());
    ASSERT_TRUE(alert.Start());

    MessageBoxRecorder recorder;
    EXPECT_EQ(StopRunning(), 0);
    EXPECT_EQ(recorder.Boxes(), std::vector<RecordedBox>());
    EXPECT_EQ(sync.State(), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(alert.State(), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(AnyRunning(), 0);
}

// Two programs bear the console title: the one found first is closed by its
// process, the other's window then still bears the title and gets the
// synchronous close.
TEST_F(ServerSide, AWindowBearingTheTitleAfterTheProcessCloseGetsTheSentClose)
{
    const std::string records[] = {folder_.File("first.log"), folder_.File("second.log")};
    StartedServer first(kConsole, true, records[0]);
    StartedServer second(kConsole, true, records[1]);
    const HWND foundFirst = FindWindowA(nullptr, kConsole);
    DWORD foundId = 0;
    GetWindowThreadProcessId(foundFirst, &foundId);
    ASSERT_TRUE(foundId == first.process().id() || foundId == second.process().id());
    const bool firstFound = foundId == first.process().id();
    const StartedServer& closedByProcess = firstFound ? first : second;
    const StartedServer& sentTo = firstFound ? second : first;

    EXPECT_EQ(StopRunning(), 0);
    EXPECT_EQ(ExitCodeOf(closedByProcess.process()), 0u);
    EXPECT_FALSE(sentTo.process().WaitForExit(0)); // it ignores WM_CLOSE
    const std::string console = kConsole;
    EXPECT_EQ(RecordLines(records[firstFound ? 0 : 1]), std::vector<std::string>{"close " + console + " posted"});
    EXPECT_EQ(RecordLines(records[firstFound ? 1 : 0]), std::vector<std::string>{"close " + console + " sent"});
}

} // namespace
} // namespace zeltest
