#include "frame/message_text.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

TEST(MessageTag, OnlyIdsStrictlyInsideTheBandAreTagged)
{
    EXPECT_EQ(MessageTag(408), "");
    EXPECT_EQ(MessageTag(2000), "");
    EXPECT_EQ(MessageTag(2001), " [MSG-2001]");
    EXPECT_EQ(MessageTag(2500), " [MSG-2500]");
    EXPECT_EQ(MessageTag(3999), " [MSG-3999]");
    EXPECT_EQ(MessageTag(4000), "");
    EXPECT_EQ(MessageTag(-2500), "");
}

TEST(SystemErrorText, SystemLineEndIsCut)
{
    EXPECT_EQ(WithoutSystemLineEnd("Access is denied.\r\n"), "Access is denied.");
    EXPECT_EQ(WithoutSystemLineEnd(""), "");
    EXPECT_EQ(WithoutSystemLineEnd("x"), "x");
    EXPECT_EQ(WithoutSystemLineEnd("xy"), "");
}

TEST(SystemErrorText, Composition)
{
    EXPECT_EQ(ComposeSystemErrorText(nullptr, "Access is denied.", 5), "Access is denied.(5)");
    EXPECT_EQ(ComposeSystemErrorText("QDVAlert40", "Access is denied.", 5),
              "QDVAlert40\nAccess is denied.(5)");
    EXPECT_EQ(ComposeSystemErrorText(nullptr, "", 1460), "(1460)");
    EXPECT_EQ(ComposeSystemErrorText("", "", 1), "\n(1)");
    EXPECT_EQ(ComposeSystemErrorText(nullptr, "", 0x80070005u), "(-2147024891)");
}

TEST(SystemErrorText, LongSubjectIsKeptWhole)
{
    const std::string subject(5000, 's');
    EXPECT_EQ(ComposeSystemErrorText(subject.c_str(), "t", 2), subject + "\nt(2)");
}

} // namespace
} // namespace zel
