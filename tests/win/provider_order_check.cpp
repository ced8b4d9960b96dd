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
// still has it was not written. On the 95 family RegSetValueExA takes the
// length of REG_SZ data from the text, so there the list is stored as
// REG_EXPAND_SZ, which the module reads alike and never writes.
const char kUnseenTail[] = "#";

SharedValueGuard::Stored Store(const ProviderOrderGuard& order, const std::optional<std::string>& list)
{
    if (!list) {
        order.Delete();
        return order.Read();
    }
    const std::string bytes = *list + '\0' + kUnseenTail + '\0';
    order.SetRaw(REG_SZ, bytes);
    if (order.Read().bytes != bytes)
        order.SetRaw(REG_EXPAND_SZ, bytes);
    const SharedValueGuard::Stored stored = order.Read();
    EXPECT_EQ(stored.bytes, bytes) << "the list cannot be stored with a tail";
    return stored;
}

void ExpectLeft(const ProviderOrderGuard& order, const ProviderCase& c, const SharedValueGuard::Stored& before,
                const std::optional<std::string>& expected, const char* exportName)
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
    } else {
        EXPECT_EQ(stored.present, before.present) << label;
        EXPECT_EQ(stored.type, before.type) << label << ": rewritten";
        EXPECT_EQ(stored.bytes, before.bytes) << label << ": rewritten";
    }
}

} // namespace

void CheckProviderCase(const ProviderOrderGuard& order, const ProviderCase& c)
{
    HostCallRecord record = {};
    SharedValueGuard::Stored before = Store(order, c.stored);
    EXPECT_EQ(Module().Export<ZelHostRecordExport>("JTAddNetworkProvider", 17)(&record), 0);
    ExpectLeft(order, c, before, c.afterAdd, "JTAddNetworkProvider");
    before = Store(order, c.stored);
    EXPECT_EQ(Module().Export<ZelHostRecordExport>("JTRemoveNetworkProvider", 29)(nullptr), 0);
    ExpectLeft(order, c, before, c.afterRemove, "JTRemoveNetworkProvider");
}

} // namespace zeltest
