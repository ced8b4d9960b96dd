// 32-bit words in little-endian byte order, whatever the machine's own order,
// as MD5 and the gzip trailer lay them out.
#pragma once

#include <cstdint>

namespace zel {

inline uint32_t LoadLittleEndian32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void StoreLittleEndian32(uint32_t x, uint8_t* p)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(x >> (8 * i));
}

} // namespace zel
