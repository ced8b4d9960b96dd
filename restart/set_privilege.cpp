#include "restart/set_privilege.h"

#include "frame/handles.h"

namespace zel {
namespace {

DWORD StatusOfLastError()
{
    const DWORD code = GetLastError();
    return code == 0 ? 0 : 0x80070000u | (code & 0xFFFFu);
}

} // namespace

DWORD SetPrivilege(const char* privilegeName, BOOL enable, HANDLE token)
{
    KernelHandle opened;
    if (token == nullptr) {
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, opened.put()))
            return StatusOfLastError();
        token = opened.get();
    }
    LUID privilege = {};
    if (!LookupPrivilegeValueA(nullptr, privilegeName, &privilege))
        return StatusOfLastError();

    // The first adjustment disables the privilege and reports the state
    // before it; the second sets the wanted bit in that state, so that the
    // other attribute bits stay as they were.
    TOKEN_PRIVILEGES disabled = {};
    disabled.PrivilegeCount = 1;
    disabled.Privileges[0].Luid = privilege;
    disabled.Privileges[0].Attributes = 0;
    TOKEN_PRIVILEGES previous = {};
    static_assert(sizeof(previous) == 16, "one privilege entry");
    DWORD length = sizeof(previous);
    if (!AdjustTokenPrivileges(token, FALSE, &disabled, sizeof(previous), &previous, &length))
        return StatusOfLastError();

    // A privilege that was already disabled is reported with a count of 0.
    previous.PrivilegeCount = 1;
    previous.Privileges[0].Luid = privilege;
    if (enable)
        previous.Privileges[0].Attributes |= SE_PRIVILEGE_ENABLED;
    else
        previous.Privileges[0].Attributes &= ~static_cast<DWORD>(SE_PRIVILEGE_ENABLED);
    if (!AdjustTokenPrivileges(token, FALSE, &previous, length, nullptr, nullptr))
        return StatusOfLastError();
    return 0;
}

} // namespace zel
