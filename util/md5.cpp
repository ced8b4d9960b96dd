#include "util/md5.h"

#include "util/little_endian.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace zel {
namespace {

constexpr size_t kBlockSize = 64;

// Byte 56 of the last block is where the 64-bit message length begins.
constexpr size_t kLengthOffset = 56;

// floor(abs(sin(i + 1)) * 2^32), one constant for each of the 64 steps.
constexpr uint32_t kSineTable[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

// Left rotations: four per round, repeated for the four steps of a group.
constexpr int kRotations[4][4] = {
    {7, 12, 17, 22},
    {5, 9, 14, 20},
    {4, 11, 16, 23},
    {6, 10, 15, 21},
};

constexpr uint32_t RotateLeft(uint32_t x, int bits)
{
    return (x << bits) | (x >> (32 - bits));
}

// The four auxiliary functions of RFC 1321 in forms with one operation
// fewer: F(b, c, d) = (b & c) | (~b & d) and G(b, c, d) = (b & d) | (c & ~d).
template <int Round>
constexpr uint32_t RoundFunction(uint32_t b, uint32_t c, uint32_t d)
{
    if constexpr (Round == 0)
        return d ^ (b & (c ^ d));
    else if constexpr (Round == 1)
        return c ^ (d & (b ^ c));
    else if constexpr (Round == 2)
        return b ^ c ^ d;
    else
        return c ^ (b | ~d);
}

// Each round walks the sixteen message words in an order of its own.
constexpr int MessageWordIndex(int step)
{
    switch (step / 16) {
    case 0:
        return step;
    case 1:
        return (5 * step + 1) % 16;
    case 2:
        return (3 * step + 5) % 16;
    default:
        return (7 * step) % 16;
    }
}

// x as it is, behind an empty statement that the compiler must take for a
// change of x, so that the sum before it is made before it. Left to itself,
// clang adds the constant and the message word after the round function,
// on the chain of dependent operations that every step waits for, which
// costs a fifth of the speed.
inline uint32_t Settled(uint32_t x)
{
    __asm__("" : "+r"(x));
    return x;
}

// One step. The four state words take turns in the part of a (a, d, c, b,
// a, ...), as in the RFC's listing, so that no word moves between steps and
// all four stay in registers.
template <int Step>
void RunStep(uint32_t (&state)[4], const uint32_t (&words)[16])
{
    constexpr int a = (4 - Step % 4) % 4;
    const uint32_t b = state[(a + 1) % 4], c = state[(a + 2) % 4], d = state[(a + 3) % 4];
    // The function of b, c and d last: b comes from the step just before, so
    // the rest of the sum can be ready when it arrives.
    const uint32_t sum = Settled(state[a] + kSineTable[Step] + words[MessageWordIndex(Step)]) +
                         RoundFunction<Step / 16>(b, c, d);
    state[a] = b + RotateLeft(sum, kRotations[Step / 16][Step % 4]);
}

template <int... Steps>
void RunSteps(uint32_t (&state)[4], const uint32_t (&words)[16], std::integer_sequence<int, Steps...>)
{
    (RunStep<Steps>(state, words), ...);
}

} // namespace

Md5Hasher::Md5Hasher() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476}
{
    pending_.fill(0);
}

void Md5Hasher::ProcessBlock(const uint8_t* block)
{
    uint32_t words[16];
    for (int i = 0; i < 16; ++i)
        words[i] = LoadLittleEndian32(block + 4 * i);

    uint32_t working[4] = {state_[0], state_[1], state_[2], state_[3]};
    RunSteps(working, words, std::make_integer_sequence<int, 64>());
    for (int i = 0; i < 4; ++i)
        state_[i] += working[i];
}

void Md5Hasher::Update(const void* data, size_t length)
{
    if (length == 0)
        return;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    totalLength_ += length;

    if (pendingLength_ > 0) {
        const size_t taken = std::min(length, kBlockSize - pendingLength_);
        std::memcpy(pending_.data() + pendingLength_, bytes, taken);
        pendingLength_ += taken;
        bytes += taken;
        length -= taken;
        if (pendingLength_ < kBlockSize)
            return;
        ProcessBlock(pending_.data());
        pendingLength_ = 0;
    }
    for (; length >= kBlockSize; bytes += kBlockSize, length -= kBlockSize)
        ProcessBlock(bytes);
    if (length > 0) {
        std::memcpy(pending_.data(), bytes, length);
        pendingLength_ = length;
    }
}

Md5Digest Md5Hasher::Digest() const
{
    // The padding goes into a copy so that the caller may go on updating.
    Md5Hasher last = *this;
    const uint64_t bitLength = totalLength_ * 8;

    // A 0x80 byte, then zeros up to the length field; when the length does not
    // fit behind the message (56 or more bytes pending) it takes a block more.
    const uint8_t padding[kBlockSize] = {0x80};
    const size_t paddingLength = pendingLength_ < kLengthOffset
                                     ? kLengthOffset - pendingLength_
                                     : kBlockSize + kLengthOffset - pendingLength_;
    uint8_t lengthField[8];
    for (int i = 0; i < 8; ++i)
        lengthField[i] = static_cast<uint8_t>(bitLength >> (8 * i));
    last.Update(padding, paddingLength);
    last.Update(lengthField, sizeof(lengthField));

    Md5Digest digest;
    for (int i = 0; i < 4; ++i)
        StoreLittleEndian32(last.state_[i], digest.data() + 4 * i);
    return digest;
}

Md5Digest Md5(const void* data, size_t length)
{
    Md5Hasher hasher;
    hasher.Update(data, length);
    return hasher.Digest();
}

void Md5DigestHex(const Md5Digest& digest, char out[kMd5HexSize])
{
    for (size_t i = 0; i < digest.size(); ++i)
        std::snprintf(out + 2 * i, kMd5HexSize - 2 * i, "%02x", digest[i]);
}

void Md5Hex(const char* text, char out[kMd5HexSize])
{
    Md5DigestHex(Md5(text, std::strlen(text)), out);
}

} // namespace zel
