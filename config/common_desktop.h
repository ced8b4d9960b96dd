// The desktop folder shared by all users, as the setup script asks for it.
#pragma once

#include <windows.h>

namespace zel {

// Where the path may come from; the system's own sources in the module, and
// sources of the tests' choosing in the tests.
struct DesktopSources {
    // The file system path of a shell folder into buffer (260 bytes), or the
    // empty text when the shell has none.
    void (*shellFolder)(int csidl, char* buffer);
    // As ReadSystemString: 1 when the value was read whole and ended.
    int (*readSystemString)(HKEY root, const char* keyPath, const char* valueName, char* buffer, DWORD size);
};

const DesktopSources& SystemDesktopSources();

// The first non-empty path of the shell's shared desktop, the "Common
// Desktop" shell folder value, the shell's desktop of the current user; the
// empty text when all three fail. Written into the module's result buffer,
// which the pointer points into until the next call.
const char* CommonDesktopLocation(const DesktopSources& sources);

// Key "Common Desktop" of section "SECTION" of iniPath, set to that path,
// also when it is empty.
void WriteCommonDesktopKey(const char* iniPath, const DesktopSources& sources);

} // namespace zel
