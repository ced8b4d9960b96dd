#include "config/common_desktop.h"

#include <shlobj.h>

#include "frame/handles.h"
#include "frame/module_app.h"
#include "settings/product_registry.h"
#include "settings/registry_text.h"
#include "zelsetup.h"

namespace zel {
namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";
const char kCommonDesktopValue[] = "Common Desktop";

char g_commonDesktop[kRegistryTextSize] = {};

void SystemShellFolder(int csidl, char* buffer)
{
    buffer[0] = '\0';
    LPITEMIDLIST raw = nullptr;
    const HRESULT status = SHGetSpecialFolderLocation(nullptr, csidl, &raw);
    CoTaskMemory list(raw);
    if (status != S_OK)
        return;
    // A conversion that fails may leave any bytes in the buffer; they must
    // not pass for a path.
    if (!SHGetPathFromIDListA(raw, buffer))
        buffer[0] = '\0';
}

const DesktopSources kSystemSources = {SystemShellFolder, ReadSystemString};

void ReadShellFoldersValue(const DesktopSources& sources, char* buffer)
{
    // A value too long for the buffer leaves part of it there; a cut path
    // is no path.
    if (!sources.readSystemString(HKEY_LOCAL_MACHINE, kShellFoldersKey, kCommonDesktopValue, buffer,
                                  kRegistryTextSize))
        buffer[0] = '\0';
}

} // namespace

const DesktopSources& SystemDesktopSources()
{
    return kSystemSources;
}

const char* CommonDesktopLocation(const DesktopSources& sources)
{
    g_commonDesktop[0] = '\0';
    sources.shellFolder(CSIDL_COMMON_DESKTOPDIRECTORY, g_commonDesktop);
    if (g_commonDesktop[0] == '\0')
        ReadShellFoldersValue(sources, g_commonDesktop);
    if (g_commonDesktop[0] == '\0')
        sources.shellFolder(CSIDL_DESKTOP, g_commonDesktop);
    return g_commonDesktop;
}

void WriteCommonDesktopKey(const char* iniPath, const DesktopSources& sources)
{
    WritePrivateProfileStringA("SECTION", "Common Desktop", CommonDesktopLocation(sources), iniPath);
}

} // namespace zel

extern "C" const char* __cdecl JTSetupGetCommonDesktopLocation(void)
{
    return zel::CommonDesktopLocation(zel::SystemDesktopSources());
}

extern "C" int __stdcall JTSetupGetCommonDesktopFolderLocation(const HostCallRecord* record)
{
    zel::WaitCursorScope wait;
    if (record == nullptr || record->parameterText == nullptr)
        return 1;
    zel::WriteCommonDesktopKey(record->parameterText, zel::SystemDesktopSources());
    return 0;
}
