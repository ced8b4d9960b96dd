#include "config/provider_order.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "config/provider_list.h"
#include "frame/handles.h"
#include "frame/module_app.h"
#include "frame/version_checks.h"
#include "zelsetup.h"

namespace zel {
namespace {

const char kOrderKey[] = "System\\CurrentControlSet\\Control\\NetworkProvider\\Order";
const char kOrderValue[] = "ProviderOrder";

RegKey OpenOrderKey()
{
    RegKey key;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kOrderKey, 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, key.put());
    return key;
}

// The text up to its first NUL, read into a buffer sized to the value.
std::optional<std::string> ReadProviderOrder(HKEY key)
{
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, kOrderValue, nullptr, nullptr, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return std::string();
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    // One byte more than the data, cleared, so that the text always ends.
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    DWORD offered = size;
    status = RegQueryValueExA(key, kOrderValue, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &offered);
    if (status == ERROR_FILE_NOT_FOUND)
        return std::string();
    if (status != ERROR_SUCCESS) // grown since it was sized, for one
        return std::nullopt;
    return std::string(buffer.data());
}

// The value "ProviderOrder", the key opened for each access and closed after
// it. A key that cannot be opened reads as no list at all.
class RegistryProviderOrder : public ProviderOrderStore {
public:
    std::optional<std::string> Read() const override
    {
        RegKey key = OpenOrderKey();
        if (!key)
            return std::nullopt;
        return ReadProviderOrder(key.get());
    }

    // REG_SZ without the terminator. A failed write leaves the list as it
    // was, which the move to the front notices by the list's length.
    void Write(const std::string& list) const override
    {
        RegKey key = OpenOrderKey();
        if (key)
            RegSetValueExA(key.get(), kOrderValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(list.data()),
                           static_cast<DWORD>(list.size()));
    }
};

} // namespace

int AddProviderFirst()
{
    WaitCursorScope waitCursor;
    PutProviderFirst(RegistryProviderOrder(), SystemLeadBytes());
    return 1;
}

int RemoveProvider()
{
    WaitCursorScope waitCursor;
    RemoveProviderFrom(RegistryProviderOrder(), SystemLeadBytes());
    return 1;
}

} // namespace zel

extern "C" int __stdcall JTAddNetworkProvider(const HostCallRecord*)
{
    zel::AddProviderFirst();
    return 0;
}

extern "C" int __stdcall JTRemoveNetworkProvider(const HostCallRecord*)
{
    zel::RemoveProvider();
    return 0;
}
