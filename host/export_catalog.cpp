#include "export_catalog.h"

#include <cstring>
#include <iterator>

namespace zelhost {
namespace {

const ExportInfo kExports[] = {
    {"JTGetEncryptedString", 11, Form::Plain, "s", 's'},
    {"QDVSetupCompressFile", 13, Form::Plain, "ssi", 's'},
    {"QDVSetupUncompressFile", 14, Form::Plain, "ss", 's'},
    {"JTServerSetupFindRunningApps", 15, Form::HostRecord, "", 'i'},
    {"JTAdd2DependentServices", 16, Form::HostRecord, "s", 'i'},
    {"JTAddNetworkProvider", 17, Form::HostRecord, "", 'i'},
    {"JTConfigureWriteMonitorPaths", 18, Form::HostRecord, "s", 'i'},
    {"JTDelRegistryEntry", 19, Form::Argument, "iss", 'i'},
    {"JTSetupRebootComputer", 20, Form::HostRecord, "", 'i'},
    {"JTGetNumberFromString", 24, Form::Plain, "s", 'i'},
    {"JTGetSetupExePath", 25, Form::Plain, "", 's'},
    {"JTGetStringFromNumber", 26, Form::Plain, "i", 's'},
    {"JTIsWindowsXP", 27, Form::Plain, "", 'i'},
    {"JTPerformPostInstallActions", 28, Form::Argument, "ss", 'i'},
    {"JTRemoveNetworkProvider", 29, Form::HostRecord, "", 'i'},
    {"JTSetupCleanUpOldFiles", 31, Form::HostRecord, "s", 'i'},
    {"JTSetupGetCommonDesktopFolderLocation", 32, Form::HostRecord, "s", 'i'},
    {"JTSetupGetCommonDesktopLocation", 33, Form::Plain, "", 's'},
    {"JTSetupGetDefaultInstallLocation", 34, Form::Plain, "", 's'},
    {"JTUpdateSetupDateInRegistry", 35, Form::HostRecord, "", 'i'},
    {"ZELSetup_SetRegistryInfo", 38, Form::Plain, "ss", 'v'},
    {"JTSetupValidateLocalDirectory", 50, Form::HostRecord, "s", 'i'},
    {"JTIsWindows2000", 60, Form::Plain, "", 'i'},
    {"JTSetupAddActionLog", 110, Form::HostRecord, "s", 'i'},
};

} // namespace

const ExportInfo* FindExport(const char* name)
{
    for (const ExportInfo& e : kExports) {
        if (std::strcmp(e.name, name) == 0)
            return &e;
    }
    return nullptr;
}

const ExportInfo* ExportsBegin()
{
    return std::begin(kExports);
}

const ExportInfo* ExportsEnd()
{
    return std::end(kExports);
}

const char* FormName(Form form)
{
    switch (form) {
    case Form::HostRecord:
        return "host record";
    case Form::Argument:
        return "argument";
    case Form::Plain:
        return "plain";
    }
    return "?";
}

} // namespace zelhost
