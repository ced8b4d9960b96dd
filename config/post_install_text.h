// The texts that the post-install actions compose, free of <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zel {

// The registry editor's parameters for a silent import of the file at
// shortPath: "/s /i " and the path, without quotes (a short path has no
// blank). False, with out empty, when the text does not fit in size bytes.
bool FormatImportParameters(char* out, size_t size, const char* shortPath);

// "%d-%d" of the two halves of a FILETIME, high half first, each read as a
// signed 32-bit number; a low half of 2^31 or more prints with its own minus.
std::string FormatSetupTime(uint32_t highHalf, uint32_t lowHalf);

} // namespace zel
