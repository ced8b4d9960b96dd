#include "config/post_install_text.h"

#include <gtest/gtest.h>

#include <string>

namespace zel {
namespace {

TEST(SetupTime, HighHalfFirstEachSigned)
{
    struct Case {
        uint32_t high;
        uint32_t low;
        const char* text;
    };
    const Case cases[] = {
        {0x01D8C3A1u, 0x12345678u, "30983073-305419896"},
        {0x01D8C3A1u, 0x80000000u, "30983073--2147483648"}, // two hyphens in a row
        {0x01D8C3A1u, 0xFFFFFFFFu, "30983073--1"},
        {0u, 0u, "0-0"},
        {0x80000000u, 0x7FFFFFFFu, "-2147483648-2147483647"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatSetupTime(c.high, c.low), c.text);
}

TEST(ImportParameters, SilentImportOfTheShortPathUnquoted)
{
    char out[260];
    ASSERT_TRUE(FormatImportParameters(out, sizeof(out), "C:\\SETUP~1\\QDVCFG.REG"));
    EXPECT_STREQ(out, "/s /i C:\\SETUP~1\\QDVCFG.REG");
}

TEST(ImportParameters, ATextThatDoesNotFitIsRefused)
{
    char out[260];
    const std::string fits(253, 'P'); // 6 + 253 characters and the NUL
    ASSERT_TRUE(FormatImportParameters(out, sizeof(out), fits.c_str()));
    EXPECT_EQ(std::string(out), "/s /i " + fits);
    EXPECT_FALSE(FormatImportParameters(out, sizeof(out), (fits + "P").c_str()));
    EXPECT_STREQ(out, "");
}

} // namespace
} // namespace zel
