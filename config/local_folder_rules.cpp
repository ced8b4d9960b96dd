#include "config/local_folder_rules.h"

namespace zel {

bool DriveRootOf(const char* folder, char (&root)[4])
{
    if (folder[0] == '\0') {
        root[0] = '\0';
        return false;
    }
    root[0] = folder[0];
    root[1] = ':';
    root[2] = '\\';
    root[3] = '\0';
    return true;
}

bool IsLocalDriveType(unsigned driveType)
{
    return driveType == kDriveRemovable || driveType == kDriveFixed;
}

FolderVerdict JudgeFolder(const char* folder, unsigned driveType)
{
    if (folder[0] == '\0' || !IsLocalDriveType(driveType))
        return FolderVerdict::NotLocal;
    if (folder[1] == '\0' || folder[2] == '\0')
        return FolderVerdict::DriveRoot;
    return FolderVerdict::Accepted;
}

} // namespace zel
