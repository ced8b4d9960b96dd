#include "settings/registry_text.h"

#include <cstdio>
#include <cstring>

namespace zel {

bool IsStorableRegistryName(const char* name)
{
    return name != nullptr && strnlen(name, kRegistryTextSize) < kRegistryTextSize;
}

bool EndRegistryText(char* buffer, size_t capacity, size_t dataSize)
{
    if (dataSize > capacity)
        return false;
    if (dataSize == capacity)
        return capacity > 0 && buffer[capacity - 1] == '\0';
    buffer[dataSize] = '\0';
    return true;
}

bool ComposeKeyPath(char* out, size_t size, const char* a, const char* b, const char* c, const char* d)
{
    const int length = std::snprintf(out, size, "%s\\%s\\%s\\%s", a, b, c, d);
    return length >= 0 && static_cast<size_t>(length) < size;
}

void RemoveTrailingBackslash(char* text, const LeadByteTable& cp)
{
    text[LengthWithoutTrailingBackslash(text, cp)] = '\0';
}

} // namespace zel
