#include "export_catalog.h"

#include <cstring>
#include <iterator>

namespace zelhost {
namespace {

const ExportInfo kExports[] = {
    {"JTSetupFindRunningApps", 10, Form::HostRecord, "", 'i'},
    {"JTGetEncryptedString", 11, Form::Plain, "s", 's'},
    {"QDVSetupCompressFile", 13, Form::Plain, "ssi", 's'},
    {"QDVSetupUncompressFile", 14, Form::Plain, "ss", 's'},
    {"JTServerSetupFindRunningApps", 15, Form::HostRecord, "", 'i'},
    {"JTGetNumberFromString", 24, Form::Plain, "s", 'i'},
    {"JTGetStringFromNumber", 26, Form::Plain, "i", 's'},
    {"JTIsWindowsXP", 27, Form::Plain, "", 'i'},
    {"JTSetupGetDefaultInstallLocation", 34, Form::Plain, "", 's'},
    {"ZELSetup_SetRegistryInfo", 38, Form::Plain, "ss", 'v'},
    {"JTIsWindows2000", 60, Form::Plain, "", 'i'},
    {"JTSetupAreThereAnyRunningServerApps", 90, Form::HostRecord, "", 'i'},
    {"JTSetupStopRunningServerApps", 100, Form::HostRecord, "", 'i'},
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
