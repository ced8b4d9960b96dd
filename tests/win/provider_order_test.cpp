// The network provider order through the two exports, on the prefix's real
// registry. The value is prefix-wide: every test takes it under a mutex and
// puts it back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "host/raw_call.h"
#include "module_under_test.h"
#include "provider_order_check.h"
#include "registry_fixture.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

const std::nullopt_t kUnchanged = std::nullopt;

TEST(ProviderOrder, EditsOfTheList)
{
    ProviderOrderGuard order;
    const ProviderCase cases[] = {
        {"QDVNET,A,B", kUnchanged, "A,B"},
        {"A,B", "QDVNET,A,B", kUnchanged},
        {"A,QDVNET,B", "QDVNET,A,B", "A,B"},
        {"", "QDVNET", kUnchanged},
        {std::nullopt, "QDVNET", kUnchanged},
        {"QDVNET", kUnchanged, ""},
        {"QDVNETX,A", "QDVNET,QDVNETX,A", "A"},
        {"QDVNET,QDVNET", kUnchanged, "QDVNET"},
        {"A,B,QDVNET", "QDVNET,A,B", "A,B"},
        {"A,QDVNET,QDVNET,B", "QDVNET,A,B", "A,QDVNET,B"},
        {"A,XQDVNET,B", "QDVNET,A,XQDVNET,B", kUnchanged},
        {"RDPNP,LanmanWorkstation,webclient", "QDVNET,RDPNP,LanmanWorkstation,webclient", kUnchanged},
    };
    for (const ProviderCase& c : cases)
        CheckProviderCase(order, c);
}

// Lists beyond 260 bytes, which a fixed buffer would cut, are edited whole.
TEST(ProviderOrder, LongListsAreEditedWhole)
{
    ProviderOrderGuard order;
    for (size_t length : {300u, 5000u}) {
        std::string others;
        for (int i = 0; others.size() + 6 < length; ++i)
            others += (others.empty() ? "P" : ",P") + std::to_string(10000 + i);
        const size_t cut = others.rfind(',', others.size() / 2);
        CheckProviderCase(order, {others.substr(0, cut) + ",QDVNET" + others.substr(cut), "QDVNET," + others, others});
        CheckProviderCase(order, {others + ",QDVNET", "QDVNET," + others, others});
        CheckProviderCase(order, {others, "QDVNET," + others, kUnchanged});
    }
}

TEST(ProviderOrder, SecondAddLeavesTheFirstAddsList)
{
    ProviderOrderGuard order;
    order.SetText("A,QDVNET,B");
    const auto add = Module().Export<ZelHostRecordExport>("JTAddNetworkProvider", 17);
    add(nullptr);
    add(nullptr);
    const std::string stored = order.Read().bytes;
    EXPECT_EQ(stored.substr(0, stored.find('\0')), "QDVNET,A,B");
}

TEST(ProviderOrder, MissingKeyIsNotCreated)
{
    ProviderOrderGuard order;
    if (!order.CreatedKey())
        GTEST_SKIP() << "the system has the key; it is not taken away from it";
    ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, kProviderOrderKey), ERROR_SUCCESS);
    EXPECT_EQ(Module().Export<ZelHostRecordExport>("JTAddNetworkProvider", 17)(nullptr), 0);
    EXPECT_EQ(Module().Export<ZelHostRecordExport>("JTRemoveNetworkProvider", 29)(nullptr), 0);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProviderOrderKey));
}

TEST(ProviderOrder, ExportsRemoveTheirFourBytesAndReturn0)
{
    ProviderOrderGuard order;
    order.SetText("A,QDVNET");
    const uint32_t args[] = {0x12345678}; // the record is not read
    for (const auto& [name, ordinal] : {std::pair<const char*, WORD>{"JTAddNetworkProvider", 17},
                                        std::pair<const char*, WORD>{"JTRemoveNetworkProvider", 29}}) {
        const zelcall::ProbedCall call =
            zelcall::CallAndMeasureStack(Module().Export<const void*>(name, ordinal), args, 1);
        EXPECT_EQ(call.bytesRemoved, 4) << name;
        EXPECT_EQ(call.result, 0u) << name;
    }
}

TEST(ProviderOrder, CursorShownBeforeTheCallIsBackAfterIt)
{
    ProviderOrderGuard order;
    order.SetText("A,QDVNET");
    HCURSOR before = LoadCursor(nullptr, IDC_CROSS);
    SetCursor(before);
    Module().Export<ZelHostRecordExport>("JTAddNetworkProvider", 17)(nullptr);
    EXPECT_EQ(GetCursor(), before);
    Module().Export<ZelHostRecordExport>("JTRemoveNetworkProvider", 29)(nullptr);
    EXPECT_EQ(GetCursor(), before);
}

} // namespace
} // namespace zeltest
