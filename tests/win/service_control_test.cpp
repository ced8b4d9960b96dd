// Service control: the stop with its dependents against the scripted manager,
// the probe and the stop by name against Wine's service control manager.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "apps/service_control.h"
#include "message_box_recorder.h"
#include "product_programs_fixture.h"
#include "registry_fixture.h"
#include "scripted_service_manager.h"
#include "test_system.h"

namespace zeltest {
namespace {

using Calls = std::vector<std::string>;

const ServiceAnswer kRunning = State(SERVICE_RUNNING);
const ServiceAnswer kStopped = State(SERVICE_STOPPED);

ServiceAnswer StopPending(DWORD waitHint)
{
    return State(SERVICE_STOP_PENDING, waitHint);
}

// The bytes the scripted manager asks for: the records, then both names of
// each dependent ("<name> display" is its display name).
std::string BlockSize(const std::vector<std::string>& names)
{
    size_t bytes = 0;
    for (const std::string& name : names)
        bytes += sizeof(ENUM_SERVICE_STATUSA) + name.size() + 1 + name.size() + 9;
    return std::to_string(bytes);
}

bool Contains(const Calls& calls, const std::string& call)
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

Calls Tail(const Calls& calls, size_t n)
{
    return Calls(calls.end() - static_cast<std::ptrdiff_t>(std::min(n, calls.size())), calls.end());
}

DWORD StopMain(ScriptedServiceManager& scm, bool stopDependents, DWORD timeoutMs = 60000)
{
    const SC_HANDLE service = scm.CallerHandle("Main");
    return zel::StopServiceAndDependents(scm, scm.Manager(), service, stopDependents, timeoutMs);
}

TEST(StopServiceAndDependents, AlreadyStoppedSendsNothingAndListsNoDependents)
{
    ScriptedServiceManager scm;
    scm.Service("Main").queries = {kStopped};
    scm.Service("Main").activeDependents = {"DepA"};
    EXPECT_EQ(StopMain(scm, true), 0u);
    EXPECT_EQ(scm.Calls(), (Calls{"tick", "query Main"}));
    scm.ExpectEverythingReleased();
}

TEST(StopServiceAndDependents, StopPendingThatEndsStoppedIsWaitedForWithoutARequest)
{
    ScriptedServiceManager scm;
    scm.Service("Main").queries = {StopPending(100), StopPending(100), kStopped};
    scm.Service("Main").activeDependents = {"DepA"};
    EXPECT_EQ(StopMain(scm, true), 0u);
    EXPECT_EQ(scm.Calls(), (Calls{"tick", "query Main",                    //
                                  "tick", "sleep 100", "query Main", "tick", //
                                  "tick", "sleep 100", "query Main"}));
    scm.ExpectEverythingReleased();
}

TEST(StopServiceAndDependents, StopPendingBackToRunningStopsDependentsThenTheService)
{
    ScriptedServiceManager scm;
    ScriptedService& main = scm.Service("Main");
    main.queries = {StopPending(20), kRunning, kStopped};
    main.stopAnswer = StopPending(30);
    main.activeDependents = {"DepA"};
    scm.Service("DepA").stopAnswer = StopPending(10);
    scm.Service("DepA").queries = {kStopped};

    EXPECT_EQ(StopMain(scm, true), 0u);
    const std::string block = BlockSize({"DepA"});
    EXPECT_EQ(scm.Calls(), (Calls{"tick", "query Main",                                           //
                                  "tick", "sleep 20", "query Main", "tick",                         //
                                  "enum Main active 0", "alloc " + block, "enum Main active " + block, //
                                  "open DepA 0x24", "control DepA stop",                            //
                                  "tick", "sleep 10", "query DepA", "close DepA", "free",           //
                                  "control Main stop", "tick", "sleep 30", "query Main"}));
    scm.ExpectEverythingReleased();
}

TEST(StopServiceAndDependents, NoActiveDependentsAllocatesNothing)
{
    ScriptedServiceManager scm;
    scm.Service("Main").queries = {kRunning, kStopped};
    scm.Service("Main").stopAnswer = StopPending(50);
    EXPECT_EQ(StopMain(scm, true), 0u);
    EXPECT_EQ(scm.Calls(), (Calls{"tick", "query Main", "enum Main active 0", "control Main stop", "tick",
                                  "sleep 50", "query Main"}));
    scm.ExpectEverythingReleased();
}

TEST(StopServiceAndDependents, TwoDependentsStopInTheOrderListedBeforeTheService)
{
    ScriptedServiceManager scm;
    ScriptedService& main = scm.Service("Main");
    main.queries = {kRunning, kStopped};
    main.stopAnswer = StopPending(40);
    main.activeDependents = {"DepB", "DepA"};
    scm.Service("DepB").stopAnswer = StopPending(10);
    scm.Service("DepB").queries = {StopPending(10), kStopped};
    scm.Service("DepA").stopAnswer = kStopped; // stops at once: no wait

    EXPECT_EQ(StopMain(scm, true), 0u);
    const std::string block = BlockSize({"DepB", "DepA"});
    EXPECT_EQ(scm.Calls(), (Calls{"tick", "query Main",                                          //
                                  "enum Main active 0", "alloc " + block, "enum Main active " + block, //
                                  "open DepB 0x24", "control DepB stop",                           //
                                  "tick", "sleep 10", "query DepB", "tick",                        //
                                  "tick", "sleep 10", "query DepB", "close DepB",                  //
                                  "open DepA 0x24", "control DepA stop", "close DepA", "free",     //
                                  "control Main stop", "tick", "sleep 40", "query Main"}));
    scm.ExpectEverythingReleased();
}

TEST(StopServiceAndDependents, ADependentThatNeverStopsSpendsTheBudgetAndSparesTheService)
{
    ScriptedServiceManager scm(1000);
    scm.Service("Main").activeDependents = {"DepA"};
    scm.Service("DepA").stopAnswer = StopPending(300);
    scm.Service("DepA").queries = {StopPending(300)};

    EXPECT_EQ(StopMain(scm, true, 1000), static_cast<DWORD>(ERROR_TIMEOUT));
    EXPECT_FALSE(Contains(scm.Calls(), "control Main stop"));
    // Three hints fit in the budget; the fourth is cut to what carries the
    // wait just past it.
    EXPECT_EQ(std::count(scm.Calls().begin(), scm.Calls().end(), "sleep 300"), 3);
    EXPECT_EQ(Tail(scm.Calls(), 6), (Calls{"tick", "sleep 101", "query DepA", "tick", "close DepA", "free"}));
    EXPECT_EQ(scm.Now(), 2001u);
    scm.ExpectEverythingReleased();
}

TEST(StopServiceAndDependents, ElapsedTimeEqualToTheTimeoutDoesNotEndTheWait)
{
    struct Case {
        DWORD startTick;
        DWORD timeoutMs;
        DWORD result;
    };
    const Case cases[] = {
        {1000, 300, 0},
        {1000, 299, ERROR_TIMEOUT},
        {0xFFFFFF9Cu, 300, 0}, // the tick counter wraps during the stop
        {0xFFFFFF9Cu, 299, ERROR_TIMEOUT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.startTick) + ", timeout " + std::to_string(c.timeoutMs));
        ScriptedServiceManager scm(c.startTick);
        // Still stop-pending 300 ms after the start, stopped a moment later.
        scm.Service("Main").queries = {kRunning, StopPending(100), StopPending(100), StopPending(100), kStopped};
        scm.Service("Main").stopAnswer = StopPending(100);
        EXPECT_EQ(StopMain(scm, false, c.timeoutMs), c.result);
        scm.ExpectEverythingReleased();
    }
}

TEST(StopServiceAndDependents, WithoutStopDependentsNoneAreListed)
{
    ScriptedServiceManager scm;
    scm.Service("Main").queries = {kRunning, kStopped};
    scm.Service("Main").stopAnswer = StopPending(5);
    scm.Service("Main").activeDependents = {"DepA"};
    EXPECT_EQ(StopMain(scm, false), 0u);
    EXPECT_EQ(scm.Calls(), (Calls{"tick", "query Main", "control Main stop", "tick", "sleep 5", "query Main"}));
}

TEST(StopServiceAndDependents, FailuresGiveTheirCodeAndReleaseEverything)
{
    struct Case {
        const char* name;
        std::function<void(ScriptedServiceManager&)> script;
        DWORD result;
        Calls tail;
    };
    const std::string block = BlockSize({"DepA", "DepB"});
    const Case cases[] = {
        {"the first status query", [](ScriptedServiceManager& m) { m.Service("Main").queries = {Failure(5)}; }, 5,
         {"tick", "query Main"}},
        {"a query while stop-pending",
         [](ScriptedServiceManager& m) { m.Service("Main").queries = {StopPending(10), Failure(6)}; }, 6,
         {"sleep 10", "query Main"}},
        {"a stop-pending wait past the budget",
         [](ScriptedServiceManager& m) { m.Service("Main").queries = {StopPending(700)}; }, ERROR_TIMEOUT,
         {"sleep 301", "query Main", "tick"}},
        {"the sizing enumeration", [](ScriptedServiceManager& m) { m.sizingEnumError = ERROR_ACCESS_DENIED; },
         ERROR_ACCESS_DENIED, {"query Main", "enum Main active 0"}},
        {"the allocation", [](ScriptedServiceManager& m) { m.allocationFails = true; }, ERROR_NOT_ENOUGH_MEMORY,
         {"enum Main active 0", "alloc " + block}},
        {"the second enumeration", [](ScriptedServiceManager& m) { m.secondEnumError = ERROR_MORE_DATA; },
         ERROR_MORE_DATA, {"alloc " + block, "enum Main active " + block, "free"}},
        {"opening a dependent",
         [](ScriptedServiceManager& m) { m.Service("DepA").openError = ERROR_SERVICE_DOES_NOT_EXIST; },
         ERROR_SERVICE_DOES_NOT_EXIST, {"enum Main active " + block, "open DepA 0x24", "free"}},
        {"a dependent refusing the stop",
         [](ScriptedServiceManager& m) { m.Service("DepA").stopAnswer = Failure(ERROR_INVALID_SERVICE_CONTROL); },
         ERROR_INVALID_SERVICE_CONTROL, {"open DepA 0x24", "control DepA stop", "close DepA", "free"}},
        {"a dependent's status query",
         [](ScriptedServiceManager& m) { m.Service("DepA").queries = {Failure(ERROR_INVALID_HANDLE)}; },
         ERROR_INVALID_HANDLE, {"sleep 10", "query DepA", "close DepA", "free"}},
        {"the second dependent, after the first stopped",
         [](ScriptedServiceManager& m) { m.Service("DepB").openError = ERROR_ACCESS_DENIED; }, ERROR_ACCESS_DENIED,
         {"close DepA", "open DepB 0x24", "free"}},
        {"the service's query after its stop request",
         [](ScriptedServiceManager& m) { m.Service("Main").queries = {kRunning, Failure(ERROR_INVALID_HANDLE)}; },
         ERROR_INVALID_HANDLE, {"control Main stop", "tick", "sleep 10", "query Main"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServiceManager scm;
        ScriptedService& main = scm.Service("Main");
        main.queries = {kRunning, kStopped};
        main.stopAnswer = StopPending(10);
        main.activeDependents = {"DepA", "DepB"};
        scm.Service("DepA").stopAnswer = StopPending(10);
        scm.Service("DepA").queries = {kStopped};
        scm.Service("DepB").stopAnswer = kStopped;
        c.script(scm);

        EXPECT_EQ(StopMain(scm, true, 1000), c.result);
        EXPECT_EQ(Tail(scm.Calls(), c.tail.size()), c.tail);
        // Only the last failure comes after the stop request to the service.
        EXPECT_EQ(Contains(scm.Calls(), "control Main stop"), c.tail.front() == "control Main stop");
        scm.ExpectEverythingReleased();
    }
}

TEST(StopServiceAndDependents, ARefusedStopOfTheServiceGoesOnWithTheRecordAsLeft)
{
    struct Case {
        const char* name;
        bool refusalWrites;
        const char* sleep; // the wait hint the record holds after the refusal
    };
    const Case cases[] = {
        {"the refusal reports the state", true, "sleep 40"},
        {"the refusal writes nothing: the first query's record", false, "sleep 25"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServiceManager scm;
        ScriptedService& main = scm.Service("Main");
        main.queries = {State(SERVICE_RUNNING, 25), kStopped};
        main.stopAnswer = State(SERVICE_RUNNING, 40);
        main.stopAnswer.error = ERROR_SERVICE_CANNOT_ACCEPT_CTRL;
        main.stopAnswer.writesOnFailure = c.refusalWrites;
        EXPECT_EQ(StopMain(scm, true), 0u);
        EXPECT_EQ(Tail(scm.Calls(), 4), (Calls{"control Main stop", "tick", c.sleep, "query Main"}));
    }
}

TEST(StopServiceAndDependents, AnEnormousWaitHintIsNotSleptPastTheBudget)
{
    ScriptedServiceManager scm(5000);
    scm.Service("Main").queries = {kRunning, StopPending(INFINITE)};
    scm.Service("Main").stopAnswer = StopPending(INFINITE);
    EXPECT_EQ(StopMain(scm, false, 60000), static_cast<DWORD>(ERROR_TIMEOUT));
    EXPECT_EQ(scm.Calls(), (Calls{"tick", "query Main", "control Main stop", "tick", "sleep 60001", "query Main",
                                  "tick"}));
    EXPECT_EQ(scm.Now(), 5000u + 60001u);
}

TEST(StopServiceAndDependents, ZeroWaitHintPollsWithoutPause)
{
    ScriptedServiceManager scm;
    scm.Service("Main").queries = {kRunning, StopPending(0), kStopped};
    scm.Service("Main").stopAnswer = StopPending(0);
    EXPECT_EQ(StopMain(scm, false), 0u);
    EXPECT_EQ(scm.Calls(), (Calls{"tick", "query Main", "control Main stop", "tick", "sleep 0", "query Main",
                                  "tick", "tick", "sleep 0", "query Main"}));
}

// Against Wine's own service control manager, with the stand-in service
// under a name of this process.
class RealServiceManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        ZEL_SKIP_UNLESS_REAL_SERVICES();
    }
    const std::string name_ = UniqueName("Service");
};

TEST_F(RealServiceManager, IsServiceRunningFollowsTheService)
{
    EXPECT_FALSE(zel::IsServiceRunning(name_.c_str())); // not registered
    StandinService service(name_);
    ASSERT_TRUE(service.registered());
    EXPECT_FALSE(zel::IsServiceRunning(name_.c_str())); // registered, stopped
    ASSERT_TRUE(service.Start());
    EXPECT_TRUE(zel::IsServiceRunning(name_.c_str()));

    MessageBoxRecorder recorder;
    EXPECT_EQ(zel::StopServiceByName(name_.c_str()), 0);
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_FALSE(zel::IsServiceRunning(name_.c_str()));
    EXPECT_EQ(recorder.Boxes(), std::vector<RecordedBox>());
}

TEST_F(RealServiceManager, StoppingAStoppedServiceShowsNothing)
{
    StandinService service(name_);
    ASSERT_TRUE(service.registered());
    MessageBoxRecorder recorder;
    EXPECT_EQ(zel::StopServiceByName(name_.c_str()), 0);
    EXPECT_EQ(recorder.Boxes(), std::vector<RecordedBox>());
}

// Opens no service, so it does not meet the trouble above.
TEST(StopServiceByName, AMissingServiceGivesOneSystemErrorBox)
{
    // Under qemu-user, this program's calls into Wine's service manager have
    // hung it for good: run with the real-service scenarios only.
    ZEL_SKIP_UNLESS_REAL_SERVICES();
    const std::string name = UniqueName("MissingService");
    const std::string text = SystemText(ERROR_SERVICE_DOES_NOT_EXIST);
    ASSERT_GE(text.size(), 2u);
    MessageBoxRecorder recorder;
    EXPECT_EQ(zel::StopServiceByName(name.c_str()), 0);
    const std::vector<RecordedBox> expected = {
        {nullptr, "Kelvaron", text.substr(0, text.size() - 2) + "(1060)"}};
    EXPECT_EQ(recorder.Boxes(), expected);
}

} // namespace
} // namespace zeltest
