#include "util/md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace zel {
namespace {

std::string HexOf(const Md5Digest& digest)
{
    char hex[kMd5HexSize];
    Md5DigestHex(digest, hex);
    return hex;
}

// The first length bytes of the alphabet repeated: every byte of a block differs
// from its neighbours, so words read in the wrong order change the digest.
std::string AlphabetRun(size_t length)
{
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

struct TextCase {
    const char* text;
    const char* hex;
};

TEST(Md5, SuiteOfRfc1321)
{
    const TextCase cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"1234567890123456789012345678901234567890"
         "1234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.text);
        char hex[kMd5HexSize];
        Md5Hex(c.text, hex);
        EXPECT_STREQ(hex, c.hex);
        EXPECT_EQ(HexOf(Md5(c.text, std::strlen(c.text))), c.hex);
    }
}

TEST(Md5, MillionLetters)
{
    const std::string million(1000000, 'a');
    EXPECT_EQ(HexOf(Md5(million.data(), million.size())), "7707d6ae4e027c70eea2a935c2296f21");

    // Pieces of 999 bytes leave a different remainder pending at every block.
    Md5Hasher hasher;
    for (size_t at = 0; at < million.size(); at += 999)
        hasher.Update(million.data() + at, std::min<size_t>(999, million.size() - at));
    EXPECT_EQ(HexOf(hasher.Digest()), "7707d6ae4e027c70eea2a935c2296f21");
}

struct LengthCase {
    size_t length;
    const char* hex;
};

// Around 56 bytes the length field moves into a block of its own; around 64 a
// whole block is processed before the padding.
const LengthCase kPaddingBoundaries[] = {
    {55, "0d7ae056b2f015cd7dc67494efd658f1"},  {56, "31fcfb5165169eb55898e7e4cf34d19a"},
    {57, "fd62afaf3aa1e2a52882cb464f5ccc4d"},  {63, "1b30c0670c15e7da3c2ba7bce77ebe99"},
    {64, "a2eaf6295c32adc403865fd96a2f182b"},  {65, "eba2cce0ca8df47e62414a736b3105a2"},
    {119, "b05187e08da41fa3ef16bd56afaafd99"}, {120, "62af9b597a9f55e16ab2b897387fc052"},
    {121, "ac6fa3571578e922ab77f3d08a1ed8c0"}, {127, "f41f37f8b5a7782d5cfeafc43e3d3c1c"},
    {128, "3e8c1ccbd71838ef3df4b72e57fb9bf6"}, {129, "a9ca66cd8dd6b0f6d8cbb6a21bbf5206"},
};

TEST(Md5, LengthsAroundThePadding)
{
    for (const LengthCase& c : kPaddingBoundaries) {
        SCOPED_TRACE(c.length);
        const std::string text = AlphabetRun(c.length);
        EXPECT_EQ(HexOf(Md5(text.data(), text.size())), c.hex);
    }
}

TEST(Md5, EverySplitGivesTheOneShotDigest)
{
    for (const LengthCase& c : kPaddingBoundaries) {
        const std::string text = AlphabetRun(c.length);
        for (size_t split = 0; split <= text.size(); ++split) {
            SCOPED_TRACE(testing::Message() << c.length << " split at " << split);
            Md5Hasher hasher;
            hasher.Update(text.data(), split);
            hasher.Update(text.data() + split, text.size() - split);
            EXPECT_EQ(HexOf(hasher.Digest()), c.hex);
        }
    }
}

TEST(Md5, ByteByByteGivesTheOneShotDigest)
{
    for (const LengthCase& c : kPaddingBoundaries) {
        SCOPED_TRACE(c.length);
        const std::string text = AlphabetRun(c.length);
        Md5Hasher hasher;
        for (char byte : text)
            hasher.Update(&byte, 1);
        EXPECT_EQ(HexOf(hasher.Digest()), c.hex);
    }
}

TEST(Md5, DigestLeavesTheHasherGoingOn)
{
    Md5Hasher hasher;
    hasher.Update("abc", 3);
    EXPECT_EQ(HexOf(hasher.Digest()), "900150983cd24fb0d6963f7d28e17f72");
    hasher.Update("defghijklmnopqrstuvwxyz", 23);
    EXPECT_EQ(HexOf(hasher.Digest()), "c3fcd3d76192e4007dfb496cca67e13b");
}

TEST(Md5, EmptyPiecesChangeNothing)
{
    Md5Hasher hasher;
    hasher.Update(nullptr, 0);
    hasher.Update("a", 1);
    hasher.Update(nullptr, 0);
    EXPECT_EQ(HexOf(hasher.Digest()), "0cc175b9c0f1b6a831c399e269772661");
}

TEST(Md5, HexIsDigestOrderLowercaseAndTerminated)
{
    Md5Digest digest;
    for (size_t i = 0; i < digest.size(); ++i)
        digest[i] = static_cast<uint8_t>(i * 0x11);
    char hex[kMd5HexSize + 1];
    std::memset(hex, '#', sizeof(hex));
    Md5DigestHex(digest, hex);
    EXPECT_STREQ(hex, "00112233445566778899aabbccddeeff");
    EXPECT_EQ(hex[kMd5HexSize], '#');
}

} // namespace
} // namespace zel
