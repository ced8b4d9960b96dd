// Every export of zelhost's catalog swept with the odd inputs of the host's
// sweep, in this process. The prefix-wide values that exports change are
// taken in turn and restored around it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "double_byte_sweep.h"
#include "host/export_catalog.h"
#include "host/export_sweep.h"
#include "message_box_recorder.h"
#include "module_under_test.h"
#include "pending_renames.h"
#include "product_programs_fixture.h"
#include "provider_order_check.h"
#include "registry_fixture.h"
#include "test_system.h"

namespace zeltest {
namespace {

using zelhost::ExportInfo;
using zelhost::SweepText;

// The exports this program leaves out, and why.
const std::set<std::string> kNotSwept = {
    // Restarts Windows; under Wine it would end the other programs of the prefix.
    "JTSetupRebootComputer",
    // These call into Wine's service manager and device manager, which under
    // qemu-user have hung or crashed this 32-bit program inside Wine. They are
    // swept by zelhost processes of their own (check-exports-in-own-prefix.sh).
    "JTSetupAreThereAnyRunningServerApps",
    "JTSetupStopRunningServerApps",
    "JTSetupValidateLocalDirectory",
};

void PrintSweepLine(const std::string& text)
{
    std::printf("[ sweep    ] %s\n", text.c_str());
    std::fflush(stdout);
}

void SweepEveryExport(const std::vector<SweepText>& texts)
{
    // The sweep's files land in a folder of its own (its texts are relative
    // paths), its registry writes go to a product key of its own, and the
    // prefix-wide values that exports change are taken in turn and restored.
    ProductNamesTurn productNames;
    ProviderOrderGuard providerOrder;
    PendingRenamesGuard pendingRenames;
    ScopedProduct product("Sweep");
    ScratchFolder folder(UniqueName("Sweep"));
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    MessageBoxRecorder boxes;
    int swept = 0;
    for (const ExportInfo* info = zelhost::ExportsBegin(); info != zelhost::ExportsEnd(); ++info) {
        if (kNotSwept.count(info->name) != 0)
            continue;
        for (const std::string& fault : zelhost::SweepExport(Module().handle(), *info, texts, PrintSweepLine))
            ADD_FAILURE() << fault;
        ++swept;
    }
    SetCurrentDirectoryA(previous);
    PrintSweepLine(std::to_string(swept) + " exports, " + std::to_string(texts.size()) + " texts each, " +
                   std::to_string(boxes.Take().size()) + " message boxes answered");
}

TEST(ExportSweep, EveryExportHoldsAgainstOddTexts)
{
    // What the exports do with odd texts does not depend on the Windows
    // version, and under qemu-user every call into Wine's device manager
    // (drive types) is a chance of a crash in Wine: the sweep runs once.
    if (SystemName() != "win7")
        GTEST_SKIP() << "the sweep runs in the win7 run";
    SweepEveryExport(zelhost::SingleByteSweepTexts());
}

} // namespace

void SweepEveryExportWithDoubleByteTexts()
{
    SweepEveryExport(zelhost::DoubleByteSweepTexts());
}

} // namespace zeltest
