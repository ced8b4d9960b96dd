#include "config/local_folder.h"

#include <windows.h>

#include "config/local_folder_rules.h"
#include "frame/module_app.h"
#include "frame/setup_message_ids.h"
#include "frame/setup_messages.h"

namespace zel {
namespace {

// The empty text names no drive and is not asked about: GetDriveTypeA would
// answer for the current folder's drive instead.
unsigned DriveTypeOf(const char* folder)
{
    char root[4];
    if (!DriveRootOf(folder, root))
        return kDriveNoRootDir;
    return GetDriveTypeA(root);
}

} // namespace

int ValidateLocalDirectory(const HostCallRecord* record)
{
    WaitCursorScope wait;
    if (record == nullptr || record->parameterText == nullptr)
        return 1;
    const char* folder = record->parameterText;
    switch (JudgeFolder(folder, DriveTypeOf(folder))) {
    case FolderVerdict::Accepted:
        return 0;
    case FolderVerdict::NotLocal:
        ShowSetupMessage(record->ownerWindow, kMsgSelectLocalFolder);
        return 1;
    case FolderVerdict::DriveRoot:
        ShowSetupMessage(record->ownerWindow, kMsgNoDriveRoot);
        return 1;
    }
    return 1;
}

} // namespace zel

extern "C" int __stdcall JTSetupValidateLocalDirectory(const HostCallRecord* record)
{
    return zel::ValidateLocalDirectory(record);
}
