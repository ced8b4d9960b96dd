#include "util/number_codec.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace zel {
namespace {

std::string Formatted(int n)
{
    char out[kLetterNumberSize];
    FormatLetterNumber(n, out);
    return out;
}

struct FormatCase {
    int n;
    const char* text;
};

TEST(FormatLetterNumber, DigitsBecomeLettersAndTheSignStays)
{
    const FormatCase cases[] = {
        {0, "A"},
        {9, "J"},
        {305, "DAF"},
        {1234567890, "BCDEFGHIJA"},
        {-42, "-EC"},
        {INT_MAX, "CBEHEIDGEH"},
        {INT_MIN, "-CBEHEIDGEI"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(Formatted(c.n), c.text);
    }
}

TEST(FormatLetterNumber, WritesNothingPastTheTerminator)
{
    char out[kLetterNumberSize];
    std::memset(out, '#', sizeof(out));
    FormatLetterNumber(INT_MIN, out);
    EXPECT_EQ(out[11], '\0');
    EXPECT_EQ(out[12], '#');
}

struct ParseCase {
    const char* text;
    int value;
};

TEST(ParseLetterNumber, LettersAToJAreDigits)
{
    const ParseCase cases[] = {
        {"", 0},
        {"A", 0},
        {"J", 9},
        {"DAF", 305},
        {"AAAB", 1},
        {"BAAAAAAAAA", 1000000000},
        {"CBEHEIDGEH", INT_MAX},
        // 2^31, 2^32, 2^32 + 1 and 4394967296: the value wraps round modulo 2^32.
        {"CBEHEIDGEI", INT_MIN},
        {"ECJEJGHCJG", 0},
        {"ECJEJGHCJH", 1},
        {"EDJEJGHCJG", 100000000},
        // Nineteen letters, the longest text taken: 10^19 - 1 modulo 2^32.
        {"JJJJJJJJJJJJJJJJJJJ", -1981284353},
        {"AAAAAAAAAAAAAAAAAAJ", 9},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseLetterNumber(c.text), c.value);
    }
}

TEST(ParseLetterNumber, AnyOtherCharacterRefusesTheText)
{
    const char* const refused[] = {
        "-EC", "+DAF", " DAF", "DAF ", "daf", "305", "DAK", "K",
        // The bytes next to the letters: '@' would give '/', 'K' ':'.
        "@", "DA@",
        // High and control bytes wrap round in 8-bit arithmetic.
        "\xC1", "\x01", "D\xFF",
    };
    for (const char* text : refused) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseLetterNumber(text), 0);
    }
}

TEST(ParseLetterNumber, TwentyCharactersOrMoreAreRefused)
{
    EXPECT_EQ(ParseLetterNumber("AAAAAAAAAAAAAAAAAAAB"), 0);
    EXPECT_EQ(ParseLetterNumber("AAAAAAAAAAAAAAAAAAAAB"), 0);
    EXPECT_EQ(ParseLetterNumber("AAAAAAAAAAAAAAAAAAB"), 1);
}

TEST(ParseLetterNumber, NullIsZero)
{
    EXPECT_EQ(ParseLetterNumber(nullptr), 0);
}

TEST(ParseLetterNumber, ReadsNoFurtherThanTwentyCharacters)
{
    // No terminator in the allocation: AddressSanitizer reports any read past it.
    const std::unique_ptr<char[]> letters(new char[kLetterNumberSize]);
    std::memset(letters.get(), 'B', kLetterNumberSize);
    EXPECT_EQ(ParseLetterNumber(letters.get()), 0);

    // Nineteen ones modulo 2^32.
    letters[kLetterNumberSize - 1] = '\0';
    EXPECT_EQ(ParseLetterNumber(letters.get()), 734294471);
}

TEST(LetterNumber, NonNegativeNumbersComeBackNegativeOnesGiveZero)
{
    const int edges[] = {0, 1, 9, 10, 99, 100, INT_MAX - 1, INT_MAX, -1, -10, INT_MIN + 1, INT_MIN};
    for (int n : edges) {
        SCOPED_TRACE(n);
        EXPECT_EQ(ParseLetterNumber(Formatted(n).c_str()), n >= 0 ? n : 0);
    }
    // A stride prime to ten gives numbers of every length and every last digit.
    for (int64_t n = INT_MIN; n <= INT_MAX; n += 104729 * 7) {
        const int value = static_cast<int>(n);
        SCOPED_TRACE(value);
        ASSERT_EQ(ParseLetterNumber(Formatted(value).c_str()), value >= 0 ? value : 0);
    }
}

} // namespace
} // namespace zel
