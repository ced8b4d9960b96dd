// Inputs that the native and the Windows tests both feed to the code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace testdata {

using Bytes = std::vector<uint8_t>;

// The same bytes for the same seed, on every platform.
inline Bytes RandomBytes(size_t length, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(length);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}

// CRLF lines like a setup log's, cut at length: long repeats for a
// compressor to find.
inline Bytes SetupLogText(size_t length)
{
    std::string text;
    for (int line = 0; text.size() < length; ++line)
        text += "Setup copies file " + std::to_string(line % 977) + " into the product folder.\r\n";
    text.resize(length);
    return Bytes(text.begin(), text.end());
}

} // namespace testdata
