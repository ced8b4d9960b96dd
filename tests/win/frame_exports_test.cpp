// The export table, the calling forms and the version exports of the real DLL.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "message_box_recorder.h"
#include "module_under_test.h"
#include "test_system.h"
#include "test_window.h"
#include "host/raw_call.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

const char kSetupCaption[] = "Halcyra Installation";
const char kNotSupported[] = "Halcyra cannot be installed on this operating system.";

struct ExportRow {
    const char* name;
    WORD ordinal;
};

const ExportRow kExportTable[] = {
    {"JTSetupFindRunningApps", 10},
    {"JTGetEncryptedString", 11},
    {"QDVSetupCompressFile", 13},
    {"QDVSetupUncompressFile", 14},
    {"JTServerSetupFindRunningApps", 15},
    {"JTAdd2DependentServices", 16},
    {"JTAddNetworkProvider", 17},
    {"JTConfigureWriteMonitorPaths", 18},
    {"JTDelRegistryEntry", 19},
    {"JTSetupRebootComputer", 20},
    {"JTGetNumberFromString", 24},
    {"JTGetSetupExePath", 25},
    {"JTGetStringFromNumber", 26},
    {"JTIsWindowsXP", 27},
    {"JTPerformPostInstallActions", 28},
    {"JTRemoveNetworkProvider", 29},
    {"JTSetupCleanUpOldFiles", 31},
    {"JTSetupGetCommonDesktopFolderLocation", 32},
    {"JTSetupGetCommonDesktopLocation", 33},
    {"JTSetupGetDefaultInstallLocation", 34},
    {"JTUpdateSetupDateInRegistry", 35},
    {"ZELSetup_SetRegistryInfo", 38},
    {"JTSetupValidateLocalDirectory", 50},
    {"JTIsWindows2000", 60},
    {"JTSetupAreThereAnyRunningServerApps", 90},
    {"JTSetupStopRunningServerApps", 100},
    {"JTSetupAddActionLog", 110},
};

// Name to ordinal, read from the export directory of the loaded image.
std::map<std::string, WORD> ExportDirectory(HMODULE module)
{
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto* dir = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + dir->AddressOfNames);
    const auto* ordinals = reinterpret_cast<const WORD*>(base + dir->AddressOfNameOrdinals);
    std::map<std::string, WORD> table;
    for (DWORD i = 0; i < dir->NumberOfNames; ++i)
        table[reinterpret_cast<const char*>(base + names[i])] = static_cast<WORD>(ordinals[i] + dir->Base);
    return table;
}

int CountedFunctions(HMODULE module)
{
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto* dir = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress);
    const auto* functions = reinterpret_cast<const DWORD*>(base + dir->AddressOfFunctions);
    int count = 0;
    for (DWORD i = 0; i < dir->NumberOfFunctions; ++i)
        count += functions[i] != 0;
    return count;
}

TEST(ExportTable, ExactlyTheTableByUndecoratedNameAndOrdinal)
{
    std::map<std::string, WORD> expected;
    for (const ExportRow& row : kExportTable)
        expected[row.name] = row.ordinal;
    EXPECT_EQ(ExportDirectory(Module().handle()), expected);
    EXPECT_EQ(CountedFunctions(Module().handle()), static_cast<int>(std::size(kExportTable)));
    for (const ExportRow& row : kExportTable)
        EXPECT_NE(Module().Export<FARPROC>(row.name, row.ordinal), nullptr);
}

// Hosts that call by name take the header's table; it is the DLL's export
// directory exactly, and every row names a function the header declares.
#define ZELTEST_ROW_IS_DECLARED(name, ordinal, form, arguments, result) static_cast<void>(sizeof(&name));
TEST(ExportTable, HeaderTableIsTheExportDirectory)
{
    ZELSETUP_EXPORTS(ZELTEST_ROW_IS_DECLARED)
    std::map<std::string, WORD> fromHeader;
#define ZELTEST_ROW_ENTRY(name, ordinal, form, arguments, result) fromHeader[#name] = ordinal;
    ZELSETUP_EXPORTS(ZELTEST_ROW_ENTRY)
#undef ZELTEST_ROW_ENTRY
    EXPECT_EQ(fromHeader, ExportDirectory(Module().handle()));
}
#undef ZELTEST_ROW_IS_DECLARED

TEST(ExportTable, OrdinalsOutsideTheTableYieldNothing)
{
    for (WORD ordinal : {1, 9, 12, 21, 59, 61, 111, 200})
        EXPECT_EQ(GetProcAddress(Module().handle(), MAKEINTRESOURCEA(ordinal)), nullptr) << ordinal;
}

TEST(CallingForms, HostRecordExportRemovesItsFourBytes)
{
    HostCallRecord record = {};
    const uint32_t args[] = {reinterpret_cast<uint32_t>(&record)};
    MessageBoxRecorder recorder; // the gate may warn on this system
    const zelcall::ProbedCall call = zelcall::CallAndMeasureStack(
        Module().Export<const void*>("JTServerSetupFindRunningApps", 15), args, 1);
    EXPECT_EQ(call.bytesRemoved, 4);
}

uint32_t Word(const char* text)
{
    return reinterpret_cast<uint32_t>(text);
}

TEST(CallingForms, PlainExportsRemoveNothing)
{
    // Paths in a folder that does not exist, so that the compression exports
    // fail at their first open and create nothing.
    const char kNoSource[] = "zel-no-such-folder\\source";
    const char kNoDestination[] = "zel-no-such-folder\\destination";
    struct PlainCall {
        ExportRow row;
        std::vector<uint32_t> args; // those a plain export does not take stay where the caller put them
    };
    const PlainCall calls[] = {
        {{"JTIsWindows2000", 60}, {0x11111111, 0x22222222}},
        {{"JTIsWindowsXP", 27}, {0x11111111, 0x22222222}},
        {{"JTGetEncryptedString", 11}, {Word("abc")}},
        {{"QDVSetupCompressFile", 13}, {Word(kNoSource), Word(kNoDestination), 6}},
        {{"QDVSetupUncompressFile", 14}, {Word(kNoSource), Word(kNoDestination)}},
        {{"JTGetNumberFromString", 24}, {Word("DAF")}},
        {{"JTGetSetupExePath", 25}, {0x11111111}},
        {{"JTGetStringFromNumber", 26}, {305}},
        {{"JTSetupGetCommonDesktopLocation", 33}, {0x11111111}},
    };
    for (const PlainCall& c : calls) {
        const zelcall::ProbedCall call = zelcall::CallAndMeasureStack(
            Module().Export<const void*>(c.row.name, c.row.ordinal), c.args.data(), static_cast<uint32_t>(c.args.size()));
        EXPECT_EQ(call.bytesRemoved, 0) << c.row.name;
    }
}

// What each Windows version of Wine reports, and what the version exports
// must answer there.
struct SystemExpectation {
    int windows2000;
    int windowsXP;
    bool gateRefuses; // message 409 and result 1
};

const std::map<std::string, SystemExpectation> kSystems = {
    {"win95", {0, 0, true}},   // 4.0, platform 1
    {"win98", {0, 0, true}},   // 4.10, platform 1
    {"nt40", {0, 0, false}},   // 4.0, platform 2, Service Pack 6a: no warning
    {"win2k", {1, 0, false}},  // 5.0
    {"winxp", {1, 1, false}},  // 5.1
    {"win2003", {1, 0, false}}, // 5.2
    {"win7", {1, 0, false}},   // 6.1, Wine's default
};

const SystemExpectation& ThisSystem()
{
    const auto found = kSystems.find(SystemName());
    if (found == kSystems.end())
        ADD_FAILURE() << "unknown system " << SystemName();
    return found == kSystems.end() ? kSystems.at("win7") : found->second;
}

TEST(VersionExports, AnswerForThisSystem)
{
    const auto isWindows2000 = Module().Export<ZelFlagExport>("JTIsWindows2000", 60);
    const auto isWindowsXP = Module().Export<ZelFlagExport>("JTIsWindowsXP", 27);
    EXPECT_EQ(isWindows2000(), ThisSystem().windows2000) << SystemName();
    EXPECT_EQ(isWindowsXP(), ThisSystem().windowsXP) << SystemName();
}

TEST(ServerGate, MessagesAndResultForThisSystem)
{
    const auto gate = Module().Export<ZelHostRecordExport>("JTServerSetupFindRunningApps", 15);
    TestWindow host;
    HostCallRecord record = {};
    record.ownerWindow = host.get();
    record.parameterText = "not read";

    MessageBoxRecorder recorder;
    const int result = gate(&record);

    std::vector<RecordedBox> expected;
    if (ThisSystem().gateRefuses)
        expected.push_back({host.get(), kSetupCaption, kNotSupported});
    EXPECT_EQ(result, ThisSystem().gateRefuses ? 1 : 0) << SystemName();
    EXPECT_EQ(recorder.Boxes(), expected) << SystemName();
}

TEST(ServerGate, NullRecordShowsAnUnownedBox)
{
    const auto gate = Module().Export<ZelHostRecordExport>("JTServerSetupFindRunningApps", 15);
    MessageBoxRecorder recorder;
    const int result = gate(nullptr);
    std::vector<RecordedBox> expected;
    if (ThisSystem().gateRefuses)
        expected.push_back({nullptr, kSetupCaption, kNotSupported});
    EXPECT_EQ(result, ThisSystem().gateRefuses ? 1 : 0);
    EXPECT_EQ(recorder.Boxes(), expected);
}

TEST(ServerGate, CursorShownBeforeTheCallIsBackAfterIt)
{
    const auto gate = Module().Export<ZelHostRecordExport>("JTServerSetupFindRunningApps", 15);
    HCURSOR before = LoadCursor(nullptr, IDC_CROSS);
    SetCursor(before);
    HostCallRecord record = {};
    MessageBoxRecorder recorder;
    gate(&record);
    gate(&record);
    EXPECT_EQ(GetCursor(), before);
}

} // namespace
} // namespace zeltest
