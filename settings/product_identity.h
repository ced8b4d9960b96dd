// Where the product is installed, where its INI file lies, which edition it is
// and what it is called.
#pragma once

#include <windows.h>

#include <string>

namespace zel {

// "Install Location" of HKLM\Software\{Company}\{Product}\Current Version under
// the registry names of the moment, without one trailing backslash; the
// default location when it cannot be read whole. Callers pass 260 bytes; a
// buffer shorter than the default's 36 bytes gets the empty text instead.
void GetInstallLocation(char* buffer, DWORD bufferSize);

// The install location followed by \QDVPRIME.INI, read anew on every call.
std::string GetProductIniPath();

// The edition and the display name, each determined once and then kept.
class ProductIdentity {
public:
    ProductIdentity();

    // "ProductId", or -1 when absent or not a REG_DWORD; read at the first call.
    DWORD Edition();

    // The edition's name, else "ProductName", else "Halcyra". An empty text
    // leaves the name undetermined, so the next call looks again.
    const char* DisplayName();

private:
    bool editionRead_ = false;
    DWORD edition_ = 0;
    char displayName_[260];
};

// The module's own identity, determined at load.
DWORD GetProductEdition();
const char* GetProductDisplayName();

} // namespace zel
