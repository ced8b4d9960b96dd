#include "config/path_join.h"

#include <cstring>

namespace zel {

bool JoinFolderAndName(char* out, size_t size, const char* folder, const char* name, const LeadByteTable& cp)
{
    size_t folderLength = std::strlen(folder);
    const char* last = FindLastChar(folder, '\\', cp);
    if (last != nullptr && last[1] == '\0')
        --folderLength;
    const size_t nameLength = std::strlen(name);
    if (folderLength + 1 + nameLength >= size) {
        if (size > 0)
            out[0] = '\0';
        return false;
    }
    std::memcpy(out, folder, folderLength);
    out[folderLength] = '\\';
    std::memcpy(out + folderLength + 1, name, nameLength + 1);
    return true;
}

} // namespace zel
