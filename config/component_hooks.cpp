// The two configuration steps that other libraries of the product carry out:
// this module loads them from the folder the script names, calls their entry
// points and hands their results back. The libraries stay loaded.
#include <windows.h>

#include <string>

#include "zelsetup.h"

namespace zel {
namespace {

// Both entry points use the C calling convention.
using ConfigureDependentServicesFn = int(__cdecl*)(char* serviceName, int enable);
using PopulateWriteMonitorPathsFn = int(__cdecl*)();

// The backslash is always put in, even after one that ends the folder.
HMODULE LoadComponent(const char* folder, const char* fileName)
{
    const std::string path = std::string(folder) + "\\" + fileName;
    return LoadLibraryA(path.c_str());
}

template <typename Fn>
Fn EntryPoint(HMODULE library, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

} // namespace
} // namespace zel

extern "C" int __stdcall JTAdd2DependentServices(const HostCallRecord* record)
{
    using namespace zel;
    if (record == nullptr || record->parameterText == nullptr)
        return 1;
    const HMODULE user = LoadComponent(record->parameterText, "Zeluser.dll");
    if (user == nullptr)
        return 0;
    const auto configure = EntryPoint<ConfigureDependentServicesFn>(user, "JTConfigureDependentServices");
    if (configure == nullptr)
        return 0;
    // The library's own copy of the name, since its prototype does not
    // promise to leave the text alone.
    char serviceName[] = "QDVSvc40";
    return configure(serviceName, 1);
}

extern "C" int __stdcall JTConfigureWriteMonitorPaths(const HostCallRecord* record)
{
    using namespace zel;
    if (record == nullptr || record->parameterText == nullptr)
        return 1;
    // Zeluser.dll comes first and only stays in the process; its entry point
    // is not called here.
    if (LoadComponent(record->parameterText, "Zeluser.dll") == nullptr)
        return 0;
    const HMODULE project = LoadComponent(record->parameterText, "ZelProj.dll");
    if (project == nullptr)
        return 0;
    const auto populate = EntryPoint<PopulateWriteMonitorPathsFn>(project, "JTPopulateWriteMonitorPaths");
    if (populate == nullptr)
        return 0;
    return populate();
}
