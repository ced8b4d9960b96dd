#include "config/old_files.h"

#include <windows.h>

#include "config/path_join.h"
#include "frame/module_app.h"
#include "frame/version_checks.h"
#include "settings/registry_text.h"
#include "zelsetup.h"

namespace zel {

void CleanUpOldFiles(const char* installFolder)
{
    char path[kRegistryTextSize];
    if (!JoinFolderAndName(path, sizeof(path), installFolder, "BIN\\MFC42.DLL", SystemLeadBytes()))
        return;
    if (!DeleteFileA(path))
        MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

} // namespace zel

extern "C" int __stdcall JTSetupCleanUpOldFiles(const HostCallRecord* record)
{
    zel::WaitCursorScope wait;
    if (record != nullptr && record->parameterText != nullptr)
        zel::CleanUpOldFiles(record->parameterText);
    return 0;
}
