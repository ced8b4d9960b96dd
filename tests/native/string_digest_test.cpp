#include "util/string_digest.h"

#include <gtest/gtest.h>

#include <string>

namespace zel {
namespace {

TEST(StringDigest, NoTextBeforeTheFirstCompute)
{
    const StringDigest digest;
    EXPECT_EQ(digest.GetText(), nullptr);
}

TEST(StringDigest, EachComputeOverwritesTheSameText)
{
    StringDigest digest;
    digest.Compute("");
    const char* first = digest.GetText();
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, "d41d8cd98f00b204e9800998ecf8427e");
    digest.Compute("abc");
    EXPECT_EQ(digest.GetText(), first);
    EXPECT_STREQ(first, "900150983cd24fb0d6963f7d28e17f72");
}

} // namespace
} // namespace zel
