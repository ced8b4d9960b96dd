// The configuration that follows the copying of the product's files: the
// initial preferences file, the initial registry file, the setup time, and
// the deletion of one value under HKEY_LOCAL_MACHINE.
#include <windows.h>

#include <cstring>
#include <string>

#include "config/path_join.h"
#include "config/post_install_text.h"
#include "config/run_program.h"
#include "frame/handles.h"
#include "frame/version_checks.h"
#include "settings/product_registry.h"
#include "zelsetup.h"

namespace zel {
namespace {

constexpr size_t kPathSize = MAX_PATH;
const char kConfiguration[] = "Configuration";
const char kPreferencesFileName[] = "QDVINIT.INI";
const int kLocalMachineCode = 2;

// The setup folder's own files, composed whole or not at all.
struct SetupFolderFiles {
    char setupIni[kPathSize];
    char defaultPreferences[kPathSize];
    char defaultRegistryFile[kPathSize];
};

bool ComposeSetupFolderFiles(const char* folder, SetupFolderFiles* files)
{
    const LeadByteTable& cp = SystemLeadBytes();
    return JoinFolderAndName(files->setupIni, kPathSize, folder, "QDVSETUP.INI", cp) &&
           JoinFolderAndName(files->defaultPreferences, kPathSize, folder, kPreferencesFileName, cp) &&
           JoinFolderAndName(files->defaultRegistryFile, kPathSize, folder, "QDVCFG.REG", cp);
}

// A path that the setup INI file names, or the default. A value too long for
// a path gives false instead of its first 259 characters, which could name
// another file.
bool ReadSetupPath(const char* setupIni, const char* key, const char* defaultPath, char (&path)[kPathSize])
{
    char value[kPathSize + 1];
    const DWORD length = GetPrivateProfileStringA(kConfiguration, key, defaultPath, value, sizeof(value), setupIni);
    if (length >= kPathSize)
        return false;
    std::memcpy(path, value, length + 1);
    return true;
}

bool FileExists(const char* path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Whatever the preferences file is called, the install folder gets it as
// QDVINIT.INI, replacing an older one; a failed copy goes unnoticed.
void CopyPreferencesFile(const char* preferencesFile, const char* installFolder)
{
    char target[kPathSize];
    if (!JoinFolderAndName(target, sizeof(target), installFolder, kPreferencesFileName, SystemLeadBytes()))
        return;
    CopyFileA(preferencesFile, target, FALSE);
}

// The editor of the Windows folder, by its full path: started by its bare
// name, the shell would run a REGEDIT.EXE of the current folder first.
bool RegistryEditorPath(char (&path)[kPathSize])
{
    char windowsFolder[kPathSize];
    const UINT length = GetWindowsDirectoryA(windowsFolder, sizeof(windowsFolder));
    if (length == 0 || length >= sizeof(windowsFolder))
        return false;
    return JoinFolderAndName(path, kPathSize, windowsFolder, "REGEDIT.EXE", SystemLeadBytes());
}

// Imports the file silently and waits for the editor to end. The editor takes
// the path unquoted, so without its short form, which has no blank, the file
// is not imported at all.
void ImportRegistryFile(const char* registryFile)
{
    char shortPath[kPathSize];
    const DWORD length = GetShortPathNameA(registryFile, shortPath, sizeof(shortPath));
    if (length == 0 || length >= sizeof(shortPath))
        return;
    char parameters[kPathSize];
    char editor[kPathSize];
    if (!FormatImportParameters(parameters, sizeof(parameters), shortPath) || !RegistryEditorPath(editor))
        return;
    RunProgram(editor, 1, nullptr, parameters);
}

} // namespace
} // namespace zel

extern "C" int __stdcall JTPerformPostInstallActions(const char* setupFolder, const char* installFolder)
{
    using namespace zel;
    if (setupFolder == nullptr || installFolder == nullptr)
        return 0;
    // A setup folder too long for its files' paths leaves the setup INI file
    // unread, so neither step can know its file.
    SetupFolderFiles files;
    if (!ComposeSetupFolderFiles(setupFolder, &files))
        return 1;
    char preferencesFile[kPathSize];
    if (ReadSetupPath(files.setupIni, "InitialPreferencesFile", files.defaultPreferences, preferencesFile) &&
        FileExists(preferencesFile))
        CopyPreferencesFile(preferencesFile, installFolder);
    char registryFile[kPathSize];
    if (ReadSetupPath(files.setupIni, "InitialRegFile", files.defaultRegistryFile, registryFile) &&
        FileExists(registryFile))
        ImportRegistryFile(registryFile);
    return 1;
}

extern "C" int __stdcall JTUpdateSetupDateInRegistry(const HostCallRecord*)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const std::string text = zel::FormatSetupTime(now.dwHighDateTime, now.dwLowDateTime);
    zel::WriteProductString("Preferences", "LastSetupTime", text.c_str(), HKEY_LOCAL_MACHINE);
    return 0;
}

extern "C" int __stdcall JTDelRegistryEntry(int rootCode, const char* subkey, const char* valueName)
{
    if (subkey == nullptr || valueName == nullptr || rootCode != zel::kLocalMachineCode)
        return 0;
    zel::RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_ALL_ACCESS, key.put()) != ERROR_SUCCESS)
        return 0;
    return RegDeleteValueA(key.get(), valueName) == ERROR_SUCCESS ? 1 : 0;
}
