// Every export called a thousand times with inputs that take its working
// path. A handle or a heap block lost per call shows as growth of the
// process's handle count or private bytes between the end of the first round
// and the end of the last; the first round may allocate what lasts by design
// (result buffers, caches, libraries that stay loaded).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "module_under_test.h"
#include "registry_fixture.h"
#include "test_system.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

constexpr int kRounds = 1000;
// The heap grows by chunks of 64 KiB under Wine: a steady leak that makes it
// grow at all over the loop fails, a stray page does not.
constexpr SIZE_T kPrivateBytesSlack = 32 * 1024;

struct Usage {
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
};

// Wine answers GetProcessHandleCount and the private bytes of
// GetProcessMemoryInfo with 0, so both are measured directly: the handles by
// asking after every handle value in the range a process uses, the private
// bytes by adding up the committed private regions of the address space.
DWORD CountOpenHandles()
{
    DWORD count = 0;
    DWORD flags = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

SIZE_T CommittedPrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
    }
    return total;
}

Usage CurrentUsage()
{
    return {CountOpenHandles(), CommittedPrivateBytes()};
}

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
        {"ZELSetup_SetRegistryInfo", [&] { setRegistryInfo(company.c_str(), "Vantorell"); }},
        {"JTIsWindows2000", [&] { is2000(); }},
        {"JTSetupAddActionLog", [&] {
             const HostCallRecord record = RecordWithText(logParameter.c_str());
             EXPECT_EQ(addActionLog(&record), 0);
         }},
    };

    auto runRound = [&] {
        for (const LeakCase& leakCase : cases)
            leakCase.call();
    };
    runRound();
    const Usage afterFirst = CurrentUsage();
    for (int round = 1; round < kRounds; ++round)
        runRound();
    const Usage afterLast = CurrentUsage();

    std::printf("[ leaks    ] %zu exports x %d rounds: handles %lu -> %lu, private bytes %lu -> %lu\n",
                cases.size(), kRounds, static_cast<unsigned long>(afterFirst.handles),
                static_cast<unsigned long>(afterLast.handles), static_cast<unsigned long>(afterFirst.privateBytes),
                static_cast<unsigned long>(afterLast.privateBytes));
    EXPECT_LE(afterLast.handles, afterFirst.handles);
    EXPECT_LE(afterLast.privateBytes, afterFirst.privateBytes + kPrivateBytesSlack);
}

} // namespace
} // namespace zeltest
