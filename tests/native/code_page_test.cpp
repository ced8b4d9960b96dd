#include "frame/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace zel {
namespace {

const LeadByteTable kSingleByte;
const LeadByteTable kShiftJis = LeadByteTable::ShiftJis();

// 0x95 0x5C is a double-byte character of code page 932 whose second byte is
// a backslash; 0x83 0x7C one whose second byte is a bar.
const std::string kEndsInDbcsBackslash = "C:\\Data\\\x95\x5C";
const std::string kDbcsBar = "a\x83\x7C" "b|c";

TEST(CodePageScan, LastBackslashSkipsTrailBytes)
{
    const char* text = kEndsInDbcsBackslash.c_str();
    EXPECT_EQ(FindLastChar(text, '\\', kShiftJis), text + 7);
    EXPECT_EQ(FindLastChar(text, '\\', kSingleByte), text + 9);
}

TEST(CodePageScan, FirstBarSkipsTrailBytes)
{
    const char* text = kDbcsBar.c_str();
    EXPECT_EQ(FindFirstChar(text, '|', kShiftJis), text + 4);
    EXPECT_EQ(FindFirstChar(text, '|', kSingleByte), text + 2);
}

TEST(CodePageScan, LoneLeadByteAtTheEndEndsTheScan)
{
    const std::string text = "ab\x81";
    EXPECT_EQ(NextChar(text.c_str() + 2, kShiftJis), text.c_str() + 3);
    EXPECT_EQ(FindFirstChar(text.c_str(), '|', kShiftJis), nullptr);
    EXPECT_EQ(FindLastChar(text.c_str(), '\\', kShiftJis), nullptr);
    EXPECT_EQ(FindText(text.c_str(), "QDVNET", kShiftJis), nullptr);
}

TEST(CodePageScan, FindTextMatchesOnCharacterBoundariesOnly)
{
    // "\x83QDVNET": the Q is the trail byte of 0x83 0x51, so the name found is
    // the second one.
    const std::string text = "\x83QDVNET,QDVNET";
    EXPECT_EQ(FindText(text.c_str(), "QDVNET", kShiftJis), text.c_str() + 8);
    EXPECT_EQ(FindText(text.c_str(), "QDVNET", kSingleByte), text.c_str() + 1);
}

TEST(CodePageScan, FindTextCases)
{
    struct Case {
        const char* text;
        const char* needle;
        int offset; // -1: not found
    };
    const Case cases[] = {
        {"", "QDVNET", -1},   {"QDVNET", "QDVNET", 0}, {"A,QDVNET", "QDVNET", 2},
        {"QDVNE", "QDVNET", -1}, {"qdvnet", "QDVNET", -1}, {"abc", "", 0},
    };
    for (const Case& c : cases) {
        const char* found = FindText(c.text, c.needle, kSingleByte);
        if (c.offset < 0)
            EXPECT_EQ(found, nullptr) << c.text;
        else
            EXPECT_EQ(found, c.text + c.offset) << c.text;
    }
}

TEST(CodePageScan, LengthWithoutTrailingBackslash)
{
    EXPECT_EQ(LengthWithoutTrailingBackslash("", kSingleByte), 0u);
    EXPECT_EQ(LengthWithoutTrailingBackslash("\\", kSingleByte), 0u);
    EXPECT_EQ(LengthWithoutTrailingBackslash("a\\b", kSingleByte), 3u);
    EXPECT_EQ(LengthWithoutTrailingBackslash("a\\\\", kSingleByte), 2u);
    EXPECT_EQ(LengthWithoutTrailingBackslash(kEndsInDbcsBackslash.c_str(), kShiftJis), kEndsInDbcsBackslash.size());
    EXPECT_EQ(LengthWithoutTrailingBackslash(kEndsInDbcsBackslash.c_str(), kSingleByte), kEndsInDbcsBackslash.size() - 1);
}

TEST(CodePageScan, CharacterPrefixNeverCutsADoubleByteCharacter)
{
    struct Case {
        std::string text;
        size_t maxBytes;
        size_t single; // kept in a single-byte code page
        size_t shiftJis;
    };
    const Case cases[] = {
        {"abcdef", 4, 4, 4},
        {"abc", 10, 3, 3},
        {"ab\x95\x5C", 3, 3, 2}, // the limit falls inside the last character
        {"ab\x95\x5C", 4, 4, 4},
        {"ab\x81", 3, 3, 3},      // a lone lead byte is a character of its own
        {"", 5, 0, 0},
        {"abc", 0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CharacterPrefixLength(c.text.c_str(), c.maxBytes, kSingleByte), c.single) << c.text;
        EXPECT_EQ(CharacterPrefixLength(c.text.c_str(), c.maxBytes, kShiftJis), c.shiftJis) << c.text;
    }
}

} // namespace
} // namespace zel
