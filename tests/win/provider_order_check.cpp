#include "provider_order_check.h"

#include <gtest/gtest.h>

#include "module_under_test.h"
#include "zelsetup.h"

namespace zeltest {

const char kProviderOrderKey[] = "System\\CurrentControlSet\\Control\\NetworkProvider\\Order";

ProviderOrderGuard::ProviderOrderGuard()
    : SharedValueGuard("ZelTestProviderOrder", HKEY_LOCAL_MACHINE, kProviderOrderKey, "ProviderOrder")
{
}

namespace {

// A list is stored with a byte after its terminator: the module's read does
// not see it, and any write of the module leaves it out, so a value that
// still has it was not written.
const char kUnseenTail[] = "#";

void Store(const ProviderOrderGuard& order, const std::optional<std::string>& list)
{
    if (list)
        order.SetText(*list + '\0' + kUnseenTail);
    else
        order.Delete();
}

void ExpectLeft(const ProviderOrderGuard& order, const ProviderCase& c, const std::optional<std::string>& expected,
                const char* exportName)
{
    const SharedValueGuard::Stored stored = order.Read();
    const std::string label = std::string(exportName) + " on \"" + c.stored.value_or("(no value)") + "\"";
    if (expected) {
        // Written without the terminator; RegSetValueExA stores it all the
        // same when the byte after the data is a NUL.
        ASSERT_TRUE(stored.present) << label;
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ)) << label;
        const std::string text = stored.bytes.substr(0, stored.bytes.find('\0'));
        EXPECT_EQ(text, *expected) << label;
        EXPECT_LE(stored.bytes.size(), text.size() + 1) << label << ": not written";
    } else if (c.stored) {
        ASSERT_TRUE(stored.present) << label;
        EXPECT_EQ(stored.bytes, *c.stored + '\0' + kUnseenTail + '\0') << label << ": rewritten";
    } else {
        EXPECT_FALSE(stored.present) << label;
    }
}

} // namespace

void CheckProviderCase(const ProviderOrderGuard& order, const ProviderCase& c)
{
    HostCallRecord record = {};
    Store(order, c.stored);
    EXPECT_EQ(Module().Export<ZelHostRecordExport>("JTAddNetworkProvider", 17)(&record), 0);
    ExpectLeft(order, c, c.afterAdd, "JTAddNetworkProvider");
    Store(order, c.stored);
    EXPECT_EQ(Module().Export<ZelHostRecordExport>("JTRemoveNetworkProvider", 29)(nullptr), 0);
    ExpectLeft(order, c, c.afterRemove, "JTRemoveNetworkProvider");
}

} // namespace zeltest
