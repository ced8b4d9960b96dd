// MD5 digests (RFC 1321) for checking that a copied file is the one the setup
// was built with. MD5 is no defence against a forger; it only catches damage.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zel {

using Md5Digest = std::array<uint8_t, 16>;

// Room for 32 hex digits and the terminator.
constexpr size_t kMd5HexSize = 33;

// Takes the message in pieces of any size, so that a file can be digested
// without reading it whole.
class Md5Hasher {
public:
    Md5Hasher();

    void Update(const void* data, size_t length);

    // The digest of all bytes given so far. The hasher itself is left as it
    // is, so more bytes may follow.
    Md5Digest Digest() const;

private:
    void ProcessBlock(const uint8_t* block);

    std::array<uint32_t, 4> state_;
    std::array<uint8_t, 64> pending_;
    size_t pendingLength_ = 0;
    uint64_t totalLength_ = 0;
};

Md5Digest Md5(const void* data, size_t length);

// The digest as 32 lowercase hex digits in digest byte order ("%02x" a byte).
void Md5DigestHex(const Md5Digest& digest, char out[kMd5HexSize]);

// The hex digest of the bytes of text, its terminator not included.
void Md5Hex(const char* text, char out[kMd5HexSize]);

} // namespace zel
