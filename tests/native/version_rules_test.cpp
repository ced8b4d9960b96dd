#include "frame/version_rules.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zel {
namespace {

const LeadByteTable kSingleByte;

VersionRecord Record(uint32_t platform, uint32_t major, uint32_t minor, const char* servicePack)
{
    VersionRecord v;
    v.known = true;
    v.platformId = platform;
    v.major = major;
    v.minor = minor;
    std::strncpy(v.servicePack, servicePack, sizeof(v.servicePack) - 1);
    return v;
}

struct SystemCase {
    const char* name;
    VersionRecord record;
    bool windows2000;
    bool windowsXP;
    bool nt4OrLater;
    bool nt4Sp6OrLater;
    int gateMessage;
    int gateResult;
};

TEST(VersionRules, SystemsTable)
{
    const SystemCase cases[] = {
        {"Windows 98", Record(1, 4, 10, " A "), false, false, false, false, 409, 1},
        {"NT 3.51", Record(2, 3, 51, ""), false, false, false, false, 409, 1},
        {"NT 4.0, no service pack", Record(2, 4, 0, ""), false, false, true, false, 453, 0},
        {"NT 4.0 SP2", Record(2, 4, 0, "Service Pack 2"), false, false, true, false, 453, 0},
        {"NT 4.0 SP3", Record(2, 4, 0, "Service Pack 3"), false, false, true, false, 0, 0},
        {"NT 4.0 sp3 lower case", Record(2, 4, 0, "service pack 3"), false, false, true, false, 0, 0},
        {"NT 4.0 SP6", Record(2, 4, 0, "Service Pack 6"), false, false, true, true, 0, 0},
        {"NT 4.0 SP6a", Record(2, 4, 0, "Service Pack 6a"), false, false, true, true, 0, 0},
        {"NT 4.0 SP10", Record(2, 4, 0, "Service Pack 10"), false, false, true, false, 453, 0},
        {"Windows 2000", Record(2, 5, 0, "Service Pack 4"), true, false, true, false, 0, 0},
        {"Windows XP", Record(2, 5, 1, "Service Pack 3"), true, true, true, false, 0, 0},
        {"Windows Server 2003", Record(2, 5, 2, ""), true, false, true, false, 0, 0},
        {"Windows Vista", Record(2, 6, 0, ""), true, false, true, false, 0, 0},
        {"platform 0", Record(0, 5, 1, ""), false, false, false, false, 409, 1},
        {"query failed", VersionRecord{}, false, false, false, false, 409, 1},
        // Version 5.x and later never look at the service-pack text.
        {"Windows 2000, odd text", Record(2, 5, 0, "Service Pack 1"), true, false, true, false, 0, 0},
        {"Windows 95 family, NT 4 text", Record(1, 4, 0, "Service Pack 6"), false, false, false, false, 409, 1},
    };
    for (const SystemCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsWindows2000OrLater(c.record), c.windows2000);
        EXPECT_EQ(IsWindowsXP(c.record), c.windowsXP);
        EXPECT_EQ(IsWindowsNT4OrLater(c.record), c.nt4OrLater);
        EXPECT_EQ(IsNT4ServicePack6OrLater(c.record, kSingleByte), c.nt4Sp6OrLater);
        const GateOutcome gate = EvaluateServerGate(c.record, kSingleByte);
        EXPECT_EQ(gate.messageId, c.gateMessage);
        EXPECT_EQ(gate.result, c.gateResult);
    }
}

TEST(VersionRules, FailedQueryWithLeftoverFieldsStaysUnsupported)
{
    VersionRecord v = Record(2, 5, 1, "");
    v.known = false;
    EXPECT_FALSE(IsWindows2000OrLater(v));
    EXPECT_FALSE(IsWindowsXP(v));
    EXPECT_FALSE(IsWindowsNT4OrLater(v));
    EXPECT_EQ(EvaluateServerGate(v, kSingleByte).result, 1);
}

// The client gate also lets the Windows 95 family through, whatever its
// service-pack text says.
TEST(VersionRules, ClientGateTable)
{
    struct Case {
        const char* name;
        VersionRecord record;
        int message;
        int result;
    };
    const Case cases[] = {
        {"Windows 95", Record(1, 4, 0, ""), 0, 0},
        {"Windows 98", Record(1, 4, 10, " A "), 0, 0},
        {"Windows 95 family, NT 4 text", Record(1, 4, 0, "Service Pack 1"), 0, 0},
        {"Windows 95 family below 4", Record(1, 3, 95, ""), 409, 1},
        {"NT 3.51", Record(2, 3, 51, ""), 409, 1},
        {"NT 4.0, empty service-pack text", Record(2, 4, 0, ""), 453, 0},
        {"NT 4.0 SP2", Record(2, 4, 0, "Service Pack 2"), 453, 0},
        {"NT 4.0 SP3", Record(2, 4, 0, "Service Pack 3"), 0, 0},
        {"NT 4.0 SP6a", Record(2, 4, 0, "Service Pack 6a"), 0, 0},
        {"Windows 2000 with an old text", Record(2, 5, 0, "Service Pack 1"), 0, 0},
        {"Windows 7", Record(2, 6, 1, "Service Pack 1"), 0, 0},
        {"platform 0", Record(0, 5, 1, ""), 409, 1},
        {"platform 3", Record(3, 6, 0, ""), 409, 1},
        {"query failed", VersionRecord{}, 409, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GateOutcome gate = EvaluateClientGate(c.record, kSingleByte);
        EXPECT_EQ(gate.messageId, c.message);
        EXPECT_EQ(gate.result, c.result);
    }
}

int Sign(int x)
{
    return (x > 0) - (x < 0);
}

TEST(CompareServicePackText, OrdersAsFoldedTexts)
{
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"Service Pack 3", "Service Pack 3", 0},
        {"SERVICE PACK 3", "Service Pack 3", 0},
        {"", "Service Pack 3", -1},
        {"Service Pack", "Service Pack 3", -1},
        {"Service Pack 3a", "Service Pack 3", 1},
        {"Service Pack 10", "Service Pack 3", -1},
        {"Service Pack 2", "Service Pack 3", -1},
        {"Service Pack 6a", "Service Pack 6", 1},
        // Bytes compare unsigned: 0xE9 sorts after every ASCII letter.
        {"Service Pack \xE9", "Service Pack 6", 1},
        // '[' (0x5B) lies between 'Z' and 'a': folding decides the order.
        {"Service Pack [", "Service Pack Z", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(Sign(CompareServicePackText(c.a, c.b, kSingleByte)), c.sign);
        EXPECT_EQ(Sign(CompareServicePackText(c.b, c.a, kSingleByte)), -c.sign);
    }
}

TEST(CompareServicePackText, TrailBytesAreNotFolded)
{
    const LeadByteTable sjis = LeadByteTable::ShiftJis();
    // 0x82 0x41 is one character; its trail byte 'A' must not fold to 'a'.
    EXPECT_GT(CompareServicePackText("Service Pack \x82" "a", "Service Pack \x82" "A", sjis), 0);
    EXPECT_EQ(CompareServicePackText("Service Pack \x82" "a", "Service Pack \x82" "A", kSingleByte), 0);
    // A lone lead byte at the end is compared as a byte of its own.
    EXPECT_GT(CompareServicePackText("Service Pack \x82", "Service Pack 6", sjis), 0);
}

} // namespace
} // namespace zel
