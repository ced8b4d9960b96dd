// The component hooks of the real DLL with stand-in product libraries, which
// note their loads and calls and return the number the test chooses. Every
// scenario has its own folder under components\ beside the test program: a
// library stays in the process once it is loaded, and a load of a folder's
// library is seen only the first time.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/raw_call.h"
#include "module_under_test.h"
#include "registry_fixture.h"
#include "scoped_environment.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

using Lines = std::vector<std::string>;

const char kConfigureCall[] = "Zeluser JTConfigureDependentServices QDVSvc40 1";
const char kPopulateCall[] = "ZelProj JTPopulateWriteMonitorPaths";

std::string ComponentFolder(const char* scenario)
{
    return ModuleBesideProgram("components\\") + scenario;
}

bool IsLoaded(const std::string& path)
{
    return GetModuleHandleA(path.c_str()) != nullptr;
}

class ComponentHooks : public testing::Test {
protected:
    ComponentHooks()
        : folder_("Components"), log_(folder_.File("calls.log")), logVariable_("ZEL_COMPONENT_LOG", log_),
          result_("ZEL_COMPONENT_RESULT", "0")
    {
    }

    int Add2DependentServices(const std::string& folder) const
    {
        return Call("JTAdd2DependentServices", 16, folder);
    }
    int ConfigureWriteMonitorPaths(const std::string& folder) const
    {
        return Call("JTConfigureWriteMonitorPaths", 18, folder);
    }
    int Call(const char* name, WORD ordinal, const std::string& folder) const
    {
        HostCallRecord record = {};
        record.parameterText = folder.c_str();
        return Module().Export<ZelHostRecordExport>(name, ordinal)(&record);
    }

    Lines Calls() const { return ReadLines(log_); }
    void ChooseResult(int result) const { result_.Set(std::to_string(result)); }

    ScratchFolder folder_;
    std::string log_;
    ScopedEnvironment logVariable_;
    ScopedEnvironment result_;
};

TEST_F(ComponentHooks, EachCallCallsTheEntryPointAndHandsItsResultOn)
{
    const std::string folder = ComponentFolder("complete");
    Lines configured;
    Lines populated;
    for (int result : {0, 1, 42, -7}) {
        ChooseResult(result);
        EXPECT_EQ(Add2DependentServices(folder), result);
        EXPECT_EQ(ConfigureWriteMonitorPaths(folder), result);
        configured.push_back(kConfigureCall);
        populated.push_back(kPopulateCall);
    }
    Lines calls;
    for (const std::string& line : Calls()) {
        if (line.find(" load") == std::string::npos)
            calls.push_back(line);
    }
    Lines expected;
    for (size_t i = 0; i < configured.size(); ++i) {
        expected.push_back(configured[i]);
        expected.push_back(populated[i]);
    }
    EXPECT_EQ(calls, expected);
}

TEST_F(ComponentHooks, ZeluserIsLoadedBeforeZelProjAndBothStay)
{
    const std::string folder = ComponentFolder("load-order");
    ASSERT_FALSE(IsLoaded(folder + "\\Zeluser.dll")) << "loaded by an earlier test";
    ChooseResult(5);
    EXPECT_EQ(ConfigureWriteMonitorPaths(folder), 5);
    EXPECT_EQ(Calls(), (Lines{"Zeluser load", "ZelProj load", kPopulateCall}));
    EXPECT_TRUE(IsLoaded(folder + "\\Zeluser.dll"));
    EXPECT_TRUE(IsLoaded(folder + "\\ZelProj.dll"));
    // The second call finds both in the process and loads nothing anew.
    EXPECT_EQ(ConfigureWriteMonitorPaths(folder), 5);
    EXPECT_EQ(Calls(), (Lines{"Zeluser load", "ZelProj load", kPopulateCall, kPopulateCall}));
}

TEST_F(ComponentHooks, WithoutZeluserZelProjIsNotTouched)
{
    const std::string folder = ComponentFolder("project-only");
    ChooseResult(1);
    EXPECT_EQ(ConfigureWriteMonitorPaths(folder), 0);
    EXPECT_EQ(Add2DependentServices(folder), 0);
    EXPECT_EQ(Calls(), Lines{});
    EXPECT_FALSE(IsLoaded(folder + "\\ZelProj.dll"));
}

TEST_F(ComponentHooks, WithoutZelProjZeluserStaysLoaded)
{
    const std::string folder = ComponentFolder("user-only");
    ChooseResult(1);
    EXPECT_EQ(ConfigureWriteMonitorPaths(folder), 0);
    EXPECT_TRUE(IsLoaded(folder + "\\Zeluser.dll"));
    EXPECT_EQ(Add2DependentServices(folder), 1);
    EXPECT_EQ(Calls(), (Lines{"Zeluser load", kConfigureCall}));
}

TEST_F(ComponentHooks, LibrariesWithoutTheEntryPointsGiveZero)
{
    // Libraries of the same names are loaded from other folders by now; these
    // are others all the same.
    const std::string folder = ComponentFolder("no-entries");
    ChooseResult(1);
    EXPECT_EQ(Add2DependentServices(ComponentFolder("complete")), 1);
    EXPECT_EQ(ConfigureWriteMonitorPaths(ComponentFolder("complete")), 1);
    const size_t before = Calls().size();
    EXPECT_EQ(Add2DependentServices(folder), 0);
    EXPECT_EQ(ConfigureWriteMonitorPaths(folder), 0);
    EXPECT_TRUE(IsLoaded(folder + "\\Zeluser.dll"));
    EXPECT_TRUE(IsLoaded(folder + "\\ZelProj.dll"));
    const Lines calls = Calls();
    for (const std::string& line : Lines(calls.begin() + before, calls.end()))
        EXPECT_NE(line.find(" load"), std::string::npos) << line; // loads, no calls
}

TEST_F(ComponentHooks, MissingFolderOrEmptyTextGivesZero)
{
    ChooseResult(1);
    for (const std::string& folder : {ComponentFolder("no-such-scenario"), std::string()}) {
        EXPECT_EQ(Add2DependentServices(folder), 0) << folder;
        EXPECT_EQ(ConfigureWriteMonitorPaths(folder), 0) << folder;
    }
    EXPECT_EQ(Calls(), Lines{});
}

TEST_F(ComponentHooks, AFolderEndingInABackslashStillLeadsToTheLibraries)
{
    // The path then holds two backslashes before the file name.
    ChooseResult(3);
    EXPECT_EQ(Add2DependentServices(ComponentFolder("complete") + "\\"), 3);
    EXPECT_EQ(ConfigureWriteMonitorPaths(ComponentFolder("complete") + "\\"), 3);
}

TEST_F(ComponentHooks, MissingRecordOrTextGivesOneAndCallsNothing)
{
    for (const auto& hook : {std::make_pair("JTAdd2DependentServices", 16),
                             std::make_pair("JTConfigureWriteMonitorPaths", 18)}) {
        const auto fn = Module().Export<ZelHostRecordExport>(hook.first, static_cast<WORD>(hook.second));
        HostCallRecord noText = {};
        EXPECT_EQ(fn(&noText), 1) << hook.first;
        EXPECT_EQ(fn(nullptr), 1) << hook.first;
    }
    EXPECT_EQ(Calls(), Lines{});
}

TEST(CallingForms, ComponentHooksRemoveTheirFourBytes)
{
    // The C calling convention of the entry points leaves their arguments to
    // the export, which must still remove exactly its own.
    const std::string folder = ComponentFolder("complete");
    HostCallRecord record = {};
    record.parameterText = folder.c_str();
    const uint32_t args[] = {reinterpret_cast<uint32_t>(&record)};
    for (const auto& hook : {std::make_pair("JTAdd2DependentServices", 16),
                             std::make_pair("JTConfigureWriteMonitorPaths", 18)}) {
        const zelcall::ProbedCall call = zelcall::CallAndMeasureStack(
            Module().Export<const void*>(hook.first, static_cast<WORD>(hook.second)), args, 1);
        EXPECT_EQ(call.bytesRemoved, 4) << hook.first;
    }
}

} // namespace
} // namespace zeltest
