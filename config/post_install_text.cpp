#include "config/post_install_text.h"

#include <cstring>

namespace zel {

bool FormatImportParameters(char* out, size_t size, const char* shortPath)
{
    static const char kSilentImport[] = "/s /i ";
    const size_t prefixLength = sizeof(kSilentImport) - 1;
    const size_t pathLength = std::strlen(shortPath);
    if (prefixLength + pathLength >= size) {
        if (size > 0)
            out[0] = '\0';
        return false;
    }
    std::memcpy(out, kSilentImport, prefixLength);
    std::memcpy(out + prefixLength, shortPath, pathLength + 1);
    return true;
}

std::string FormatSetupTime(uint32_t highHalf, uint32_t lowHalf)
{
    return std::to_string(static_cast<int32_t>(highHalf)) + "-" + std::to_string(static_cast<int32_t>(lowHalf));
}

} // namespace zel
