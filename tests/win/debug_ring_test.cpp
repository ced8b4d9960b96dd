// The debug ring in the product INI file of a scratch install folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "diag/debug_ring.h"
#include "registry_fixture.h"
#include "ring_lines.h"

namespace zeltest {
namespace {

int Message(zel::DebugRing& ring, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = ring.Message(format, args);
    va_end(args);
    return result;
}

// A product installed in a scratch folder, its INI file QDVPRIME.INI there.
class DebugRingTest : public testing::Test {
protected:
    DebugRingTest() : product_("Ring"), folder_("Ring")
    {
        SetTextValue(HKEY_LOCAL_MACHINE, product_.Path("Current Version"), "Install Location", folder_.Path() + "\\");
    }

    void Set(const char* key, const std::string& value)
    {
        WritePrivateProfileStringA("DebugIniMsgs", key, value.c_str(), Ini().c_str());
    }

    std::string Get(const std::string& key)
    {
        char value[4096];
        GetPrivateProfileStringA("DebugIniMsgs", key.c_str(), "(absent)", value, sizeof(value), Ini().c_str());
        return value;
    }

    std::string LineText(const std::string& key) { return RingLineText(Ini(), key); }

    std::string Ini() const { return folder_.File("QDVPRIME.INI"); }

    ScopedProduct product_;
    ScratchFolder folder_;
};

TEST_F(DebugRingTest, OffStaysOffForTheLifeOfTheRing)
{
    zel::DebugRing ring;
    EXPECT_EQ(Message(ring, "first"), 0);
    EXPECT_FALSE(FileExists(Ini()));
    Set("EnableDebugIniMessages", "1");
    EXPECT_EQ(Message(ring, "second"), 0);
    EXPECT_EQ(Get("LastLine"), "(absent)");
    EXPECT_EQ(Get("001"), "(absent)");

    Set("EnableDebugIniMessages", "0");
    zel::DebugRing another;
    EXPECT_EQ(Message(another, "third"), 0);
    EXPECT_EQ(Get("001"), "(absent)");
}

TEST_F(DebugRingTest, FirstLineWithTheDefaults)
{
    Set("EnableDebugIniMessages", "7");
    zel::DebugRing ring;
    EXPECT_EQ(Message(ring, "%s\\%s == TRUE", "Preferences", "EnablePowerdownAfterShutdown"), 7);
    EXPECT_EQ(Get("LastLine"), "1");
    EXPECT_EQ(LineText("001"), "Preferences\\EnablePowerdownAfterShutdown == TRUE");
}

TEST_F(DebugRingTest, WrapsAfterMaxLine)
{
    struct Case {
        const char* maxLine;  // null: absent
        const char* lastLine;
        int messages;
        std::string keyOfLast;
        std::string lastLineAfter;
    };
    const Case cases[] = {
        {"100", "99", 1, "100", "100"},
        {"100", "99", 2, "001", "1"},
        {"100", "250", 1, "001", "1"},
        {nullptr, "100", 1, "001", "1"},
        {"0", "0", 2, "001", "1"},
        {"0", "5", 1, "001", "1"},
        {"5000", "999", 1, "1000", "1000"},
        {"-1", "1000", 2, "1002", "1002"}, // read as negative: larger than any line
    };
    for (const Case& c : cases) {
        WritePrivateProfileStringA("DebugIniMsgs", nullptr, nullptr, Ini().c_str());
        Set("EnableDebugIniMessages", "1");
        if (c.maxLine != nullptr)
            Set("MaxLine", c.maxLine);
        Set("LastLine", c.lastLine);
        zel::DebugRing ring;
        for (int i = 1; i <= c.messages; ++i)
            Message(ring, "message %d", i);
        const std::string label = std::string(c.maxLine ? c.maxLine : "absent") + "/" + c.lastLine;
        EXPECT_EQ(Get("LastLine"), c.lastLineAfter) << label;
        EXPECT_EQ(LineText(c.keyOfLast), "message " + std::to_string(c.messages)) << label;
    }
}

TEST_F(DebugRingTest, MaxLineIsReadOnceLastLineEveryTime)
{
    Set("EnableDebugIniMessages", "1");
    Set("MaxLine", "2");
    zel::DebugRing ring;
    Message(ring, "a");
    Set("MaxLine", "100"); // not read again
    Set("LastLine", "1");  // read again: another writer moved the ring on
    Message(ring, "b");
    Message(ring, "c");
    EXPECT_EQ(LineText("001"), "c");
    EXPECT_EQ(LineText("002"), "b");
    EXPECT_EQ(Get("LastLine"), "1");
}

TEST_F(DebugRingTest, LongMessageIsCutTo1023Bytes)
{
    Set("EnableDebugIniMessages", "1");
    zel::DebugRing ring;
    Message(ring, "%s", std::string(1500, 'x').c_str());
    EXPECT_EQ(LineText("001"), std::string(1023, 'x'));
    Message(ring, "%s", std::string(1023, 'y').c_str());
    EXPECT_EQ(LineText("002"), std::string(1023, 'y'));
}

TEST_F(DebugRingTest, FollowsTheInstallLocationOfTheMoment)
{
    Set("EnableDebugIniMessages", "1");
    zel::DebugRing ring;
    Message(ring, "here");
    ScratchFolder elsewhere("RingMoved");
    SetTextValue(HKEY_LOCAL_MACHINE, product_.Path("Current Version"), "Install Location", elsewhere.Path());
    Message(ring, "there");
    const std::string moved = elsewhere.File("QDVPRIME.INI");
    char value[64];
    GetPrivateProfileStringA("DebugIniMsgs", "LastLine", "", value, sizeof(value), moved.c_str());
    EXPECT_STREQ(value, "1");
    EXPECT_EQ(Get("LastLine"), "1");
}

} // namespace
} // namespace zeltest
