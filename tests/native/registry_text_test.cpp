#include "settings/registry_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace zel {
namespace {

TEST(RegistryName, StorableUpTo259Characters)
{
    EXPECT_TRUE(IsStorableRegistryName(""));
    EXPECT_TRUE(IsStorableRegistryName(std::string(259, 'n').c_str()));
    EXPECT_FALSE(IsStorableRegistryName(std::string(260, 'n').c_str()));
    EXPECT_FALSE(IsStorableRegistryName(nullptr));
}

TEST(EndRegistryText, EndsTheDataThatWasWritten)
{
    struct Case {
        std::string data; // bytes the query wrote, then stale bytes of an earlier read
        size_t capacity;
        size_t dataSize;
        bool ended;
        const char* text;
    };
    const Case cases[] = {
        {std::string("abc\0stale", 9), 10, 4, true, "abc"}, // stored with its NUL
        {"abcstale!", 10, 3, true, "abc"},  // stored without it
        {"stale!!!!", 10, 0, true, ""},     // no data at all
        {"abcd", 4, 4, false, nullptr},     // fills the buffer, no NUL
        {"abc", 4, 4, true, "abc"},         // fills it with its NUL
        {"abcd", 4, 5, false, nullptr},     // more than the buffer
    };
    for (const Case& c : cases) {
        char buffer[16] = {};
        std::memcpy(buffer, c.data.data(), c.data.size());
        EXPECT_EQ(EndRegistryText(buffer, c.capacity, c.dataSize), c.ended) << c.capacity << " " << c.dataSize;
        if (c.ended)
            EXPECT_STREQ(buffer, c.text) << c.capacity << " " << c.dataSize;
    }
}

TEST(ComposeKeyPath, RefusesAPathThatDoesNotFit)
{
    char path[20] = {};
    ASSERT_TRUE(ComposeKeyPath(path, sizeof(path), "Software", "K", "V", "CV"));
    EXPECT_STREQ(path, "Software\\K\\V\\CV");
    EXPECT_TRUE(ComposeKeyPath(path, sizeof(path), "Software", "Co", "Prod", "CV"));   // 19 characters
    EXPECT_FALSE(ComposeKeyPath(path, sizeof(path), "Software", "Co", "Prod", "CVX")); // 20
}

TEST(RemoveTrailingBackslash, OneAtMostAndNeverATrailByte)
{
    struct Case {
        std::string stored;
        std::string single;   // in a single-byte code page
        std::string shiftJis; // in code page 932
    };
    const Case cases[] = {
        {"C:\\Data\\", "C:\\Data", "C:\\Data"},
        {"C:\\Data\\\\", "C:\\Data\\", "C:\\Data\\"},
        {"C:\\", "C:", "C:"},
        {"C:\\Data", "C:\\Data", "C:\\Data"},
        {"", "", ""},
        {"C:\\\x95\x5C", "C:\\\x95", "C:\\\x95\x5C"},
    };
    for (const Case& c : cases) {
        std::string single = c.stored;
        RemoveTrailingBackslash(single.data(), LeadByteTable());
        EXPECT_STREQ(single.c_str(), c.single.c_str()) << c.stored;
        std::string shiftJis = c.stored;
        RemoveTrailingBackslash(shiftJis.data(), LeadByteTable::ShiftJis());
        EXPECT_STREQ(shiftJis.c_str(), c.shiftJis.c_str()) << c.stored;
    }
}

} // namespace
} // namespace zel
