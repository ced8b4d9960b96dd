#include "config/setup_program.h"

#include "settings/registry_text.h"
#include "zelsetup.h"

namespace zel {
namespace {

char g_setupProgramPath[kRegistryTextSize] = {};

} // namespace

bool GetModulePath(HMODULE module, char* buffer, DWORD size)
{
    // A cut path comes back as long as the buffer, and older systems then
    // leave it without its terminator.
    const DWORD length = GetModuleFileNameA(module, buffer, size);
    if (length == 0 || length >= size) {
        if (size > 0)
            buffer[0] = '\0';
        return false;
    }
    return true;
}

} // namespace zel

extern "C" const char* __cdecl JTGetSetupExePath(void)
{
    zel::GetModulePath(nullptr, zel::g_setupProgramPath, sizeof(zel::g_setupProgramPath));
    return zel::g_setupProgramPath;
}
