#include "config/path_join.h"

#include <cstring>

namespace zel {

bool JoinFolderAndName(char* out, size_t size, const char* folder, const char* name, const LeadByteTable& cp)
{
    if (size == 0)
        return false;
    out[0] = '\0';
    const size_t folderLength = LengthWithoutTrailingBackslash(folder, cp);
    const size_t nameLength = std::strlen(name);
    // The folder, the backslash, the name and the terminator.
    if (folderLength >= size || nameLength >= size - folderLength - 1)
        return false;
    std::memcpy(out, folder, folderLength);
    out[folderLength] = '\\';
    std::memcpy(out + folderLength + 1, name, nameLength + 1);
    return true;
}

} // namespace zel
