// The path of the installer host's program.
#pragma once

#include <windows.h>

namespace zel {

// The full path of module's file (null: the process's program) into buffer
// (size bytes). A path that does not fit whole gives the empty text and
// false: a cut path would name another file.
bool GetModulePath(HMODULE module, char* buffer, DWORD size);

} // namespace zel
