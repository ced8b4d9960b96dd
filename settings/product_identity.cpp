#include "settings/product_identity.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "frame/code_page.h"
#include "frame/handles.h"
#include "frame/version_checks.h"
#include "settings/product_registry.h"
#include "settings/registry_text.h"
#include "zelsetup.h"

namespace zel {
namespace {

const char kDefaultInstallLocation[] = "C:\\Program Files\\Kelvaron\\Vantorell";
const char kCurrentVersion[] = "Current Version";
const char kBaseDisplayName[] = "Halcyra";

const char* const kEditionNames[] = {
    "Halcyra",
    "Halcyra Tandem Edition",
    "Halcyra Relay Edition",
    "Halcyra Summit Edition",
};

char g_defaultLocationResult[kRegistryTextSize] = {};

// A buffer too small for the default gets the empty text, not a cut path.
void CopyDefaultLocation(char* buffer, DWORD bufferSize)
{
    if (bufferSize >= sizeof(kDefaultInstallLocation))
        std::memcpy(buffer, kDefaultInstallLocation, sizeof(kDefaultInstallLocation));
    else if (bufferSize > 0)
        buffer[0] = '\0';
}

// Reads the value whole and ended into buffer, or gives false.
bool ReadInstallLocation(char* buffer, DWORD bufferSize)
{
    char path[kRegistryTextSize];
    if (!ComposeKeyPath(path, sizeof(path), RegistryFirstComponent(), RegistryCompanyName(), RegistryProductName(),
                        kCurrentVersion))
        return false;
    RegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return false;
    DWORD size = bufferSize;
    if (RegQueryValueExA(key.get(), "Install Location", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return false;
    return EndRegistryText(buffer, bufferSize, size);
}

// The name of editions 0 to 3, or "ProductName" for any other.
const char* SelectDisplayName(DWORD edition)
{
    if (edition < std::size(kEditionNames))
        return kEditionNames[edition];
    return ReadProductString(kCurrentVersion, "ProductName", kBaseDisplayName, HKEY_LOCAL_MACHINE);
}

ProductIdentity& ModuleIdentity()
{
    static ProductIdentity identity;
    return identity;
}

} // namespace

void GetInstallLocation(char* buffer, DWORD bufferSize)
{
    if (!ReadInstallLocation(buffer, bufferSize)) {
        CopyDefaultLocation(buffer, bufferSize);
        return;
    }
    RemoveTrailingBackslash(buffer, SystemLeadBytes());
}

std::string GetProductIniPath()
{
    char location[kRegistryTextSize];
    GetInstallLocation(location, sizeof(location));
    return std::string(location) + "\\" + "QDVPRIME.INI";
}

ProductIdentity::ProductIdentity()
{
    displayName_[0] = '\0';
}

DWORD ProductIdentity::Edition()
{
    if (!editionRead_) {
        editionRead_ = true;
        edition_ = ReadProductDword(kCurrentVersion, "ProductId", static_cast<DWORD>(-1), HKEY_LOCAL_MACHINE);
    }
    return edition_;
}

const char* ProductIdentity::DisplayName()
{
    if (displayName_[0] != '\0')
        return displayName_;
    // A longer "ProductName" keeps its first 259 bytes of whole characters.
    const char* name = SelectDisplayName(Edition());
    const size_t kept = CharacterPrefixLength(name, sizeof(displayName_) - 1, SystemLeadBytes());
    std::memcpy(displayName_, name, kept);
    displayName_[kept] = '\0';
    return displayName_;
}

DWORD GetProductEdition()
{
    return ModuleIdentity().Edition();
}

const char* GetProductDisplayName()
{
    return ModuleIdentity().DisplayName();
}

} // namespace zel

extern "C" const char* __cdecl JTSetupGetDefaultInstallLocation(void)
{
    std::snprintf(zel::g_defaultLocationResult, sizeof(zel::g_defaultLocationResult),
                  "%s\\Program Files\\Kelvaron\\Vantorell", "C:");
    return zel::g_defaultLocationResult;
}
