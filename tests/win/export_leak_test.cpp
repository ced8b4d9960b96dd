// Every export called a thousand times with inputs that take its working
// path, but the restart and the three that call into Wine's service manager
// and device manager: under qemu-user those calls have hung or crashed this
// 32-bit program inside Wine. Those three loop in zelhost processes of their
// own (check-exports-in-own-prefix.sh). A handle or a heap block lost per call
// shows as growth of the process's handle count or private bytes between the
// end of the first round and the end of the last; the first round may
// allocate what lasts by design (result buffers, caches, libraries that stay
// loaded).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "host/process_usage.h"
#include "module_under_test.h"
#include "pending_renames.h"
#include "product_programs_fixture.h"
#include "provider_order_check.h"
#include "registry_fixture.h"
#include "test_system.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

constexpr int kRounds = 1000;

struct LeakCase {
    const char* exportName;
    std::function<void()> call;
};

HostCallRecord RecordWithText(const char* text)
{
    HostCallRecord record{};
    record.parameterText = text;
    return record;
}

TEST(ExportLeaks, AThousandCallsOfEveryExportKeepHandlesAndMemory)
{
    // Leaks do not depend on the Windows version, and the loop is long under
    // Wine: it runs once, in the Windows 7 run.
    if (SystemName() != "win7")
        GTEST_SKIP() << "the leak loop runs in the win7 run only";

    const ModuleUnderTest& module = Module();
    // The prefix-wide names and values that some exports look at or change
    // are taken in turn and put back afterwards.
    ProductNamesTurn productNames;
    ProviderOrderGuard providerOrder;
    PendingRenamesGuard pendingRenames;
    ScopedProduct product("Leaks");
    ScratchFolder folder(UniqueName("Leaks"));
    const std::string setupIni = folder.File("QDVSETUP.INI");
    WritePrivateProfileStringA("Configuration", "InstallActionLog", folder.File("install.log").c_str(),
                               setupIni.c_str());
    const std::string logParameter = setupIni + "|Installing";
    const std::string source = folder.File("payload.txt");
    const std::string packed = folder.File("payload.gz");
    const std::string unpacked = folder.File("payload.copy");
    WriteFileBytes(source, std::string(20000, 'z') + "Halcyra setup payload");
    // The post-install actions copy the initial preferences file; without a
    // registry file they start no editor, which would be a process a call.
    ScratchFolder install(UniqueName("LeaksInstall"));
    WriteFileBytes(folder.File("QDVINIT.INI"), "[Preferences]\r\n");
    const std::string desktopIni = folder.File("desktop.ini");
    const std::string components = ModuleBesideProgram("components\\complete");
    SetEnvironmentVariableA("ZEL_COMPONENT_LOG", folder.File("components.log").c_str());
    const std::string deletedKey = product.Path("Preferences");

    auto digest = module.Export<ZelTextToTextExport>("JTGetEncryptedString", 11);
    auto compress = module.Export<ZelCompressFileExport>("QDVSetupCompressFile", 13);
    auto uncompress = module.Export<ZelUncompressFileExport>("QDVSetupUncompressFile", 14);
    auto serverGate = module.Export<ZelHostRecordExport>("JTServerSetupFindRunningApps", 15);
    auto numberFromText = module.Export<ZelTextToNumberExport>("JTGetNumberFromString", 24);
    auto textFromNumber = module.Export<ZelNumberToTextExport>("JTGetStringFromNumber", 26);
    auto isXp = module.Export<ZelFlagExport>("JTIsWindowsXP", 27);
    auto defaultLocation = module.Export<ZelTextExport>("JTSetupGetDefaultInstallLocation", 34);
    auto setRegistryInfo = module.Export<ZelSetRegistryInfoExport>("ZELSetup_SetRegistryInfo", 38);
    auto is2000 = module.Export<ZelFlagExport>("JTIsWindows2000", 60);
    auto addActionLog = module.Export<ZelHostRecordExport>("JTSetupAddActionLog", 110);
    auto clientGate = module.Export<ZelHostRecordExport>("JTSetupFindRunningApps", 10);
    auto dependentServices = module.Export<ZelHostRecordExport>("JTAdd2DependentServices", 16);
    auto addProvider = module.Export<ZelHostRecordExport>("JTAddNetworkProvider", 17);
    auto writeMonitorPaths = module.Export<ZelHostRecordExport>("JTConfigureWriteMonitorPaths", 18);
    auto deleteEntry = module.Export<ZelDelRegistryEntryExport>("JTDelRegistryEntry", 19);
    auto setupExePath = module.Export<ZelTextExport>("JTGetSetupExePath", 25);
    auto postInstall = module.Export<ZelPostInstallExport>("JTPerformPostInstallActions", 28);
    auto removeProvider = module.Export<ZelHostRecordExport>("JTRemoveNetworkProvider", 29);
    auto cleanUp = module.Export<ZelHostRecordExport>("JTSetupCleanUpOldFiles", 31);
    auto desktopToIni = module.Export<ZelHostRecordExport>("JTSetupGetCommonDesktopFolderLocation", 32);
    auto commonDesktop = module.Export<ZelTextExport>("JTSetupGetCommonDesktopLocation", 33);
    auto setupDate = module.Export<ZelHostRecordExport>("JTUpdateSetupDateInRegistry", 35);

    const std::string company = product.Company();
    const std::vector<LeakCase> cases = {
        {"JTGetEncryptedString", [&] { digest("Halcyra Installation"); }},
        {"QDVSetupCompressFile", [&] { EXPECT_NE(compress(source.c_str(), packed.c_str(), 6), nullptr); }},
        {"QDVSetupUncompressFile", [&] { EXPECT_NE(uncompress(packed.c_str(), unpacked.c_str()), nullptr); }},
        {"JTServerSetupFindRunningApps", [&] {
             const HostCallRecord record{};
             EXPECT_EQ(serverGate(&record), 0);
         }},
        {"JTGetNumberFromString", [&] { EXPECT_EQ(numberFromText("DAF"), 305); }},
        {"JTGetStringFromNumber", [&] { textFromNumber(305); }},
        {"JTIsWindowsXP", [&] { isXp(); }},
        {"JTSetupGetDefaultInstallLocation", [&] { defaultLocation(); }},
        {"ZELSetup_SetRegistryInfo", [&] { setRegistryInfo(company.c_str(), product.Product().c_str()); }},
        {"JTIsWindows2000", [&] { is2000(); }},
        {"JTSetupAddActionLog", [&] {
             const HostCallRecord record = RecordWithText(logParameter.c_str());
             EXPECT_EQ(addActionLog(&record), 0);
         }},
        {"JTSetupFindRunningApps", [&] {
             const HostCallRecord record{};
             EXPECT_EQ(clientGate(&record), 0);
         }},
        {"JTAdd2DependentServices", [&] {
             const HostCallRecord record = RecordWithText(components.c_str());
             EXPECT_EQ(dependentServices(&record), 0);
         }},
        {"JTAddNetworkProvider", [&] { EXPECT_EQ(addProvider(nullptr), 0); }},
        {"JTConfigureWriteMonitorPaths", [&] {
             const HostCallRecord record = RecordWithText(components.c_str());
             EXPECT_EQ(writeMonitorPaths(&record), 0);
         }},
        {"JTDelRegistryEntry", [&] {
             SetTextValue(HKEY_LOCAL_MACHINE, deletedKey, "LeakProbe", "x");
             EXPECT_EQ(deleteEntry(2, deletedKey.c_str(), "LeakProbe"), 1);
         }},
        {"JTGetSetupExePath", [&] { setupExePath(); }},
        {"JTPerformPostInstallActions",
         [&] { EXPECT_EQ(postInstall(folder.Path().c_str(), install.Path().c_str()), 1); }},
        {"JTRemoveNetworkProvider", [&] { EXPECT_EQ(removeProvider(nullptr), 0); }},
        {"JTSetupCleanUpOldFiles", [&] {
             const HostCallRecord record = RecordWithText(install.Path().c_str());
             EXPECT_EQ(cleanUp(&record), 0);
         }},
        {"JTSetupGetCommonDesktopFolderLocation", [&] {
             const HostCallRecord record = RecordWithText(desktopIni.c_str());
             EXPECT_EQ(desktopToIni(&record), 0);
         }},
        {"JTSetupGetCommonDesktopLocation", [&] { commonDesktop(); }},
        {"JTUpdateSetupDateInRegistry", [&] { EXPECT_EQ(setupDate(nullptr), 0); }},
    };

    auto runRound = [&] {
        for (const LeakCase& leakCase : cases)
            leakCase.call();
    };
    runRound();
    const zelhost::ProcessUsage afterFirst = zelhost::CurrentProcessUsage();
    for (int round = 1; round < kRounds; ++round)
        runRound();
    const zelhost::ProcessUsage afterLast = zelhost::CurrentProcessUsage();

    SetEnvironmentVariableA("ZEL_COMPONENT_LOG", nullptr);
    std::printf("[ leaks    ] %zu exports x %d rounds: after the first, %s; after the last, %s\n", cases.size(),
                kRounds, zelhost::UsageText(afterFirst).c_str(), zelhost::UsageText(afterLast).c_str());
    EXPECT_FALSE(zelhost::UsageGrew(afterFirst, afterLast));
}

} // namespace
} // namespace zeltest
