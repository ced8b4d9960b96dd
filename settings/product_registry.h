// The product key Software\{Company}\{Product} under HKEY_LOCAL_MACHINE or
// HKEY_CURRENT_USER, and the few operations through which the module reaches
// it. No operation shows or logs anything: reads fall back to the caller's
// default, writes return 0.
#pragma once

#include <windows.h>

namespace zel {

// The registry names every key path is built from, as they are now.
const char* RegistryFirstComponent();
const char* RegistryCompanyName();
const char* RegistryProductName();

// Replaces both names; a null name or one longer than 259 characters changes
// nothing, because a cut name would send every later operation to another key.
void SetRegistryNames(const char* company, const char* product);

// root\Software\{Company}\{Product}; create non-zero creates the company and
// product keys when missing, never "Software". The caller closes the handle.
HKEY OpenProductRootKey(HKEY root, int create);

// A direct child of the product root key. The caller closes the handle.
HKEY OpenProductKey(const char* subkey, HKEY root, int create);

// A REG_DWORD value of exactly four bytes, else the default.
DWORD ReadProductDword(const char* subkey, const char* valueName, DWORD defaultValue, HKEY root);

// The value's data as text, always ended, or the default pointer itself. The
// text lives in a module-wide store until the next read through that store.
const char* ReadProductString(const char* subkey, const char* valueName, const char* defaultText, HKEY root);

int WriteProductDword(const char* subkey, const char* valueName, DWORD value, HKEY root);

// valueName null: deletes the subkey; text null: deletes the value; else
// stores the text as REG_SZ with its terminator.
int WriteProductString(const char* subkey, const char* valueName, const char* text, HKEY root);

// A value of any key into the caller's buffer, ended; 1 on success, 0 when
// the key or value cannot be read or the text does not fit with its NUL.
int ReadSystemString(HKEY root, const char* keyPath, const char* valueName, char* buffer, DWORD bufferSize);

// The user's DWORD under "Preferences", else the machine's, else the default.
DWORD ReadPreference(const char* valueName, DWORD defaultValue);

} // namespace zel
