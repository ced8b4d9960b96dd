#include "settings/product_registry.h"

#include <cstring>
#include <string>

#include "frame/handles.h"
#include "settings/registry_text.h"
#include "zelsetup.h"

namespace zel {
namespace {

constexpr REGSAM kReadMask = KEY_READ;
constexpr REGSAM kReadWriteMask = KEY_READ | KEY_WRITE;

char g_firstComponent[kRegistryTextSize] = "Software";
char g_companyName[kRegistryTextSize] = "Kelvaron";
char g_productName[kRegistryTextSize] = "Vantorell";

// Data shorter than this goes through the short store. Its last byte only
// ever holds a NUL, so its text always ends within it.
char g_shortStore[kRegistryTextSize] = {};

// The long store: created at its first use, released at unload.
std::string& LongStore()
{
    static std::string store;
    return store;
}

REGSAM MaskFor(int create)
{
    return create != 0 ? kReadWriteMask : kReadMask;
}

// Opens, or with create set creates, one key below parent.
RegKey OpenChild(HKEY parent, const char* name, int create)
{
    RegKey key;
    if (create != 0)
        RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, MaskFor(create), nullptr, key.put(),
                        nullptr);
    else
        RegOpenKeyExA(parent, name, 0, MaskFor(create), key.put());
    return key;
}

// The size of a value's data, or false when it cannot be asked.
bool QueryDataSize(HKEY key, const char* valueName, DWORD& size)
{
    size = 0;
    return RegQueryValueExA(key, valueName, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
}

// Reads a value into buffer (capacity bytes, of which at most size are
// offered) and ends its text.
bool ReadText(HKEY key, const char* valueName, char* buffer, DWORD capacity, DWORD size)
{
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return false;
    return EndRegistryText(buffer, capacity, size);
}

const char* ReadLongString(const char* subkey, const char* valueName, const char* defaultText, HKEY root)
{
    RegKey key(OpenProductKey(subkey, root, 0));
    if (!key)
        return defaultText;
    std::string& store = LongStore();
    DWORD size = 0;
    const bool sized = QueryDataSize(key.get(), valueName, size);
    store.assign(static_cast<size_t>(size) + 1, '\0');
    const bool read = sized && ReadText(key.get(), valueName, store.data(), size + 1, size);
    store.resize(std::strlen(store.c_str()));
    return read ? store.c_str() : defaultText;
}

} // namespace

const char* RegistryFirstComponent()
{
    return g_firstComponent;
}

const char* RegistryCompanyName()
{
    return g_companyName;
}

const char* RegistryProductName()
{
    return g_productName;
}

void SetRegistryNames(const char* company, const char* product)
{
    if (!IsStorableRegistryName(company) || !IsStorableRegistryName(product))
        return;
    std::memcpy(g_companyName, company, std::strlen(company) + 1);
    std::memcpy(g_productName, product, std::strlen(product) + 1);
}

HKEY OpenProductRootKey(HKEY root, int create)
{
    // The first component is opened, never created, whatever create says.
    RegKey software;
    if (RegOpenKeyExA(root, g_firstComponent, 0, MaskFor(create), software.put()) != ERROR_SUCCESS)
        return nullptr;
    RegKey company = OpenChild(software.get(), g_companyName, create);
    if (!company)
        return nullptr;
    return OpenChild(company.get(), g_productName, create).release();
}

HKEY OpenProductKey(const char* subkey, HKEY root, int create)
{
    RegKey product(OpenProductRootKey(root, create));
    if (!product)
        return nullptr;
    return OpenChild(product.get(), subkey, create).release();
}

DWORD ReadProductDword(const char* subkey, const char* valueName, DWORD defaultValue, HKEY root)
{
    RegKey key(OpenProductKey(subkey, root, 0));
    if (!key)
        return defaultValue;
    DWORD value = 0;
    DWORD type = REG_NONE;
    DWORD size = sizeof(value);
    const LONG status = RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    // A value shorter than four bytes would leave part of the number unset.
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value))
        return defaultValue;
    return value;
}

const char* ReadProductString(const char* subkey, const char* valueName, const char* defaultText, HKEY root)
{
    RegKey key(OpenProductKey(subkey, root, 0));
    if (!key)
        return defaultText;
    DWORD size = 0;
    const bool sized = QueryDataSize(key.get(), valueName, size);
    if (size >= kRegistryTextSize) {
        key.reset();
        return ReadLongString(subkey, valueName, defaultText, root);
    }
    const bool read = sized && ReadText(key.get(), valueName, g_shortStore, kRegistryTextSize, size);
    return read ? g_shortStore : defaultText;
}

int WriteProductDword(const char* subkey, const char* valueName, DWORD value, HKEY root)
{
    RegKey key(OpenProductKey(subkey, root, 1));
    if (!key)
        return 0;
    const LONG status =
        RegSetValueExA(key.get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    return status == ERROR_SUCCESS ? 1 : 0;
}

int WriteProductString(const char* subkey, const char* valueName, const char* text, HKEY root)
{
    if (valueName == nullptr) {
        RegKey product(OpenProductRootKey(root, 0));
        return product && RegDeleteKeyA(product.get(), subkey) == ERROR_SUCCESS ? 1 : 0;
    }
    RegKey key(OpenProductKey(subkey, root, 1));
    if (!key)
        return 0;
    LONG status;
    if (text == nullptr)
        status = RegDeleteValueA(key.get(), valueName);
    else
        status = RegSetValueExA(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                static_cast<DWORD>(std::strlen(text) + 1));
    return status == ERROR_SUCCESS ? 1 : 0;
}

int ReadSystemString(HKEY root, const char* keyPath, const char* valueName, char* buffer, DWORD bufferSize)
{
    RegKey key;
    if (RegOpenKeyExA(root, keyPath, 0, kReadMask, key.put()) != ERROR_SUCCESS)
        return 0;
    return ReadText(key.get(), valueName, buffer, bufferSize, bufferSize) ? 1 : 0;
}

DWORD ReadPreference(const char* valueName, DWORD defaultValue)
{
    const DWORD machine = ReadProductDword("Preferences", valueName, defaultValue, HKEY_LOCAL_MACHINE);
    return ReadProductDword("Preferences", valueName, machine, HKEY_CURRENT_USER);
}

} // namespace zel

extern "C" void __cdecl ZELSetup_SetRegistryInfo(const char* company, const char* product)
{
    zel::SetRegistryNames(company, product);
}
