// Enabling or disabling one privilege of an access token.
#pragma once

#include <windows.h>

namespace zel {

// Sets or clears SE_PRIVILEGE_ENABLED of the named privilege in token (null:
// the current process's token, opened and closed here; a token given by the
// caller stays open). 0 on success, else 0x80070000 | the low 16 bits of the
// last-error code, 0 also when a failing call left that code at 0.
DWORD SetPrivilege(const char* privilegeName, BOOL enable, HANDLE token);

} // namespace zel
