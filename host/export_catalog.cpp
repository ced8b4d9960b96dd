#include "export_catalog.h"

#include "zelsetup.h"

#include <cstring>
#include <iterator>

namespace zelhost {
namespace {

#define ZELHOST_EXPORT_ROW(name, ordinal, form, arguments, result) {#name, ordinal, Form::form, arguments, result},
const ExportInfo kExports[] = {ZELSETUP_EXPORTS(ZELHOST_EXPORT_ROW)};
#undef ZELHOST_EXPORT_ROW

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
