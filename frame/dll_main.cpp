// Module entry of ZELSETUP.dll. The C run-time has constructed the static
// objects, the application object among them, before DllMain runs.
#include <windows.h>

#include "frame/setup_app.h"

namespace {

zel::SetupApp theApp;

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        DisableThreadLibraryCalls(instance);
        return zel::ModuleApp::Attach(instance) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
        zel::ModuleApp::Detach();
        return TRUE;
    default:
        return TRUE;
    }
}
