// One of the product's libraries that the module loads for its component
// hooks: Zeluser.dll or ZelProj.dll (ZEL_COMPONENT_NAME), with both entry
// points or, built with ZEL_COMPONENT_WITHOUT_ENTRIES, with none. Both
// libraries export both entry points, so that a record shows which library
// an entry point was called in.
//
// Environment of the test process, read at each call:
//   ZEL_COMPONENT_LOG     file that gets one line per event: "NAME load",
//                         "NAME JTConfigureDependentServices TEXT INT",
//                         "NAME JTPopulateWriteMonitorPaths"
//   ZEL_COMPONENT_RESULT  the number that the entry points return (0 when unset)
#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/standins/standin_notes.h"

namespace {

using zelstandin::Environment;

void Note(const std::string& event)
{
    zelstandin::NoteLine("ZEL_COMPONENT_LOG", std::string(ZEL_COMPONENT_NAME) + " " + event);
}

#ifndef ZEL_COMPONENT_WITHOUT_ENTRIES
int ChosenResult()
{
    return std::atoi(Environment("ZEL_COMPONENT_RESULT").c_str());
}
#endif

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH)
        Note("load");
    return TRUE;
}

#ifndef ZEL_COMPONENT_WITHOUT_ENTRIES
extern "C" __declspec(dllexport) int __cdecl JTConfigureDependentServices(const char* serviceName, int enable)
{
    Note(std::string("JTConfigureDependentServices ") + (serviceName ? serviceName : "(null)") + " " +
         std::to_string(enable));
    return ChosenResult();
}

extern "C" __declspec(dllexport) int __cdecl JTPopulateWriteMonitorPaths()
{
    Note("JTPopulateWriteMonitorPaths");
    return ChosenResult();
}
#endif
